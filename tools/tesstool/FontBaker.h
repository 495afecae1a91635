#pragma once
// Bakes a bitmap font of the game from a TrueType or OpenType font through FreeType:
// every glyph in a cell of the whole line height (ascent + descent) with the glyph on
// the common baseline, its left bearing inside the cell, white with the coverage as
// alpha; the cells packed in rows onto square pages with a pixel between them.
// Code 1 is the console's cursor: a solid block as wide as the digits.

#include <cstdint>
#include <string>
#include <vector>

struct SFontBakeOptions
{
    std::string fontFile;
    int pixelSize = 12;
    int pageSide = 256;
    std::vector<uint32_t> codes; // in any order; duplicates are baked once
};

struct SBakedGlyph
{
    uint32_t code = 0;
    int page = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int advance = 0;
};

struct SBakedFont
{
    int lineHeight = 0;
    int ascent = 0;
    std::vector<SBakedGlyph> glyphs;           // by code
    std::vector<std::vector<uint8_t>> pages;   // pageSide x pageSide, blue-green-red-alpha rows from the top
};

// The codes the game's texts need: the cursor (1), printable ASCII and Latin-1.
std::vector<uint32_t> DefaultFontCodes();
// Parses "32-126,160-255,8364" into codes; false on anything else.
bool ParseCodeList(const std::string& text, std::vector<uint32_t>& codes);

// False with a reason when the font cannot be read or a cell does not fit a page.
// Codes the font has no glyph for are left out (the game draws them as spaces).
bool BakeFont(const SFontBakeOptions& options, SBakedFont& font, std::string& reason);

// Writes "<folder>/<name>000.tga", ... and "<folder>/<name>.txt".
bool WriteBakedFont(const SBakedFont& font, int pageSide, const std::string& folder, const std::string& name,
                    std::string& reason);
