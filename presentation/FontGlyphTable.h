#pragma once
// The glyph table of a bitmap font ("data/gui/<name>.txt"): a decimal glyph count N,
// then N records of seven decimal integers separated by white space: character code,
// page index, x, y, width and height in pixels on that page, and the advance.
// Parsing is separate from the font so the reader can be checked on any bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct SFontGlyphRecord
{
    int32_t code = 0;
    int32_t page = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t advance = 0;
};

// The most records a table may announce: one per 16-bit code.
constexpr uint32_t FONT_MAX_GLYPHS = 65536;

// Reads the count and the records. Records whose code lies outside 0..65535 are
// skipped (16-bit text cannot name them). Fails, with a reason, when the count is
// missing, larger than FONT_MAX_GLYPHS or than the bytes could hold, or a record is
// cut short or holds something other than a number, or a negative page, size or
// position. Page indexes are checked against the loaded pages by the font.
bool ParseGlyphTable(const uint8_t* data, size_t size, std::vector<SFontGlyphRecord>& records, std::string& reason);
