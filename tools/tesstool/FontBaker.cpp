#include "tools/tesstool/FontBaker.h"

#include "platform/Tga.h"
#include "tools/tesstool/ToolFiles.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace
{
constexpr uint32_t CURSOR_CODE = 1;

// A glyph's cell before packing: coverage rows of width x lineHeight.
struct SCell
{
    uint32_t code = 0;
    int width = 0;
    int advance = 0;
    std::vector<uint8_t> coverage;
};

int RoundUp26Dot6(FT_Pos value)
{
    return int((value + 63) >> 6);
}

class CFreeType
{
public:
    ~CFreeType()
    {
        if (m_face)
            FT_Done_Face(m_face);
        if (m_library)
            FT_Done_FreeType(m_library);
    }
    bool Open(const std::string& file, int pixels, std::string& reason)
    {
        if (FT_Init_FreeType(&m_library) != 0)
        {
            reason = "FreeType could not start";
            return false;
        }
        if (FT_New_Face(m_library, file.c_str(), 0, &m_face) != 0)
        {
            reason = "cannot read the font " + file;
            return false;
        }
        if (FT_Set_Pixel_Sizes(m_face, 0, FT_UInt(pixels)) != 0)
        {
            reason = "the font has no size of " + std::to_string(pixels) + " pixels";
            return false;
        }
        return true;
    }
    FT_Face GetFace() const { return m_face; }

private:
    FT_Library m_library = nullptr;
    FT_Face m_face = nullptr;
};

// The glyph on the baseline of a cell of the line height: shifted right when it
// reaches left of its origin, rows outside the line cut off.
bool RenderCell(FT_Face face, uint32_t code, int ascent, int lineHeight, SCell& cell)
{
    FT_UInt index = FT_Get_Char_Index(face, code);
    if (index == 0 && code != ' ')
        return false;
    if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0)
        return false;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    const int shift = slot->bitmap_left < 0 ? -slot->bitmap_left : 0;
    const int left = slot->bitmap_left + shift;
    cell.code = code;
    cell.advance = int((slot->advance.x + 32) >> 6);
    cell.width = std::max(cell.advance, left + int(bitmap.width));
    cell.coverage.assign(size_t(cell.width) * size_t(lineHeight), 0);
    const int top = ascent - slot->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row)
    {
        const int y = top + int(row);
        if (y < 0 || y >= lineHeight)
            continue;
        const unsigned char* source = bitmap.buffer + ptrdiff_t(row) * bitmap.pitch;
        for (unsigned column = 0; column < bitmap.width; ++column)
        {
            uint8_t value = bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? ((source[column / 8] >> (7 - column % 8)) & 1) * 255
                                                                    : source[column];
            cell.coverage[size_t(y) * size_t(cell.width) + size_t(left) + column] = value;
        }
    }
    return true;
}

// The cursor: a block as wide as a digit's advance less a pixel each side, from the
// height of the capitals down to the baseline.
SCell MakeCursorCell(int digitAdvance, int ascent, int lineHeight)
{
    SCell cell;
    cell.code = CURSOR_CODE;
    cell.advance = std::max(digitAdvance, 3);
    cell.width = cell.advance;
    cell.coverage.assign(size_t(cell.width) * size_t(lineHeight), 0);
    const int top = std::max(0, ascent - (ascent * 3 + 3) / 4);
    for (int y = top; y < ascent; ++y)
        for (int x = 1; x < cell.width - 1; ++x)
            cell.coverage[size_t(y) * size_t(cell.width) + size_t(x)] = 255;
    return cell;
}
} // namespace

std::vector<uint32_t> DefaultFontCodes()
{
    std::vector<uint32_t> codes{CURSOR_CODE};
    for (uint32_t c = 32; c <= 126; ++c)
        codes.push_back(c);
    for (uint32_t c = 160; c <= 255; ++c)
        codes.push_back(c);
    return codes;
}

bool ParseCodeList(const std::string& text, std::vector<uint32_t>& codes)
{
    size_t at = 0;
    while (at < text.size())
    {
        size_t end = text.find(',', at);
        std::string item = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? text.size() : end + 1;
        char* stop = nullptr;
        unsigned long first = std::strtoul(item.c_str(), &stop, 10);
        unsigned long last = first;
        if (stop == item.c_str())
            return false;
        if (*stop == '-')
        {
            const char* from = stop + 1;
            last = std::strtoul(from, &stop, 10);
            if (stop == from)
                return false;
        }
        if (*stop != '\0' || first > 0xFFFF || last > 0xFFFF || last < first)
            return false;
        for (unsigned long c = first; c <= last; ++c)
            codes.push_back(uint32_t(c));
    }
    return !codes.empty();
}

bool BakeFont(const SFontBakeOptions& options, SBakedFont& font, std::string& reason)
{
    font = SBakedFont();
    if (options.pixelSize < 4 || options.pixelSize > 128 || options.pageSide < 16 || options.pageSide > 4096)
    {
        reason = "pixel size or page side out of range";
        return false;
    }
    CFreeType freeType;
    if (!freeType.Open(options.fontFile, options.pixelSize, reason))
        return false;
    FT_Face face = freeType.GetFace();
    font.ascent = RoundUp26Dot6(face->size->metrics.ascender);
    font.lineHeight = font.ascent + RoundUp26Dot6(-face->size->metrics.descender);
    if (font.lineHeight + 2 > options.pageSide)
    {
        reason = "the line height does not fit a page";
        return false;
    }

    std::vector<uint32_t> codes = options.codes;
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    std::vector<SCell> cells;
    for (uint32_t code : codes)
    {
        SCell cell;
        if (code == CURSOR_CODE)
        {
            SCell digit;
            int advance = RenderCell(face, '0', font.ascent, font.lineHeight, digit) ? digit.advance
                                                                                    : options.pixelSize / 2;
            cells.push_back(MakeCursorCell(advance, font.ascent, font.lineHeight));
        }
        else if (RenderCell(face, code, font.ascent, font.lineHeight, cell))
            cells.push_back(std::move(cell));
    }

    // Rows of cells with a pixel around each; a new page when a row would not fit.
    const int side = options.pageSide;
    int x = 1, y = 1;
    for (const SCell& cell : cells)
    {
        if (cell.width + 2 > side)
        {
            reason = "a glyph is wider than a page";
            return false;
        }
        if (x + cell.width + 1 > side)
        {
            x = 1;
            y += font.lineHeight + 1;
        }
        if (font.pages.empty() || y + font.lineHeight + 1 > side)
        {
            // White everywhere, transparent between the glyphs, so filtering at the
            // edge of a glyph never darkens it.
            font.pages.emplace_back(size_t(side) * size_t(side) * 4, 255);
            for (size_t p = 3; p < font.pages.back().size(); p += 4)
                font.pages.back()[p] = 0;
            x = 1;
            y = 1;
        }
        std::vector<uint8_t>& page = font.pages.back();
        for (int row = 0; row < font.lineHeight; ++row)
            for (int column = 0; column < cell.width; ++column)
            {
                uint8_t* pixel = &page[(size_t(y + row) * size_t(side) + size_t(x + column)) * 4];
                pixel[3] = cell.coverage[size_t(row) * size_t(cell.width) + size_t(column)];
            }
        SBakedGlyph glyph{cell.code, int(font.pages.size()) - 1, x, y, cell.width, font.lineHeight, cell.advance};
        font.glyphs.push_back(glyph);
        x += cell.width + 1;
    }
    if (font.glyphs.empty())
    {
        reason = "the font has none of the glyphs asked for";
        return false;
    }
    return true;
}

bool WriteBakedFont(const SBakedFont& font, int pageSide, const std::string& folder, const std::string& name,
                    std::string& reason)
{
    for (size_t i = 0; i < font.pages.size(); ++i)
    {
        char number[8];
        std::snprintf(number, sizeof(number), "%03u", unsigned(i));
        std::string path = folder + "/" + name + number + ".tga";
        if (!WriteToolFile(path, EncodeTga32(pageSide, pageSide, font.pages[i].data())))
        {
            reason = "cannot write " + path;
            return false;
        }
    }
    std::string table = std::to_string(font.glyphs.size()) + "\n";
    for (const SBakedGlyph& g : font.glyphs)
    {
        char line[96];
        std::snprintf(line, sizeof(line), "%u %d %d %d %d %d %d\n", g.code, g.page, g.x, g.y, g.width, g.height,
                      g.advance);
        table += line;
    }
    std::string path = folder + "/" + name + ".txt";
    if (!WriteToolFile(path, std::vector<uint8_t>(table.begin(), table.end())))
    {
        reason = "cannot write " + path;
        return false;
    }
    return true;
}
