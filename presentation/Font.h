#pragma once
// Bitmap fonts: 16-bit text drawn from glyphs on one or more texture pages.
//
// Files, under "data/gui/": the pages "<name>000.tga", "<name>001.tga", ... loaded in
// turn until one is missing (or, when there is no "<name>000.tga", the single page
// "<name>.tga"), and the glyph table "<name>.txt" (FontGlyphTable.h). A glyph has no
// bearing of its own: its quad is drawn with its top-left corner at the pen, so the
// pages hold every glyph in a cell of the whole line height on a common baseline.
//
// Positions are in the 640 x 480 GUI space and scaled to the back buffer by the
// renderer's screen scale. Texts taken from data or typed by the player are drawn
// through DrawDataText / DrawDataTextWide, never used as a format.

#include <cstdint>
#include <string>
#include <vector>

class CRenderer;

struct SFontGlyph
{
    int32_t code = 0;
    int32_t page = 0;
    float u0 = 0.0f, v0 = 0.0f, u1 = 0.0f, v1 = 0.0f; // left, top, right, bottom
    int32_t width = 0;
    int32_t height = 0;
    int32_t advance = 0;
};

// A run of consecutive character codes.
struct SFontRange
{
    uint16_t first = 0;
    uint16_t count = 0;
    std::vector<SFontGlyph> glyphs;
};

struct SFontPage
{
    int32_t width = 0;
    int32_t height = 0;
    int texture = -1;
    float invWidth = 0.0f;
    float invHeight = 0.0f;
};

class CFont
{
public:
    static constexpr int FORMAT_BUFFER = 512; // units of DrawFormatted's output, terminator included

    CFont() = default;
    ~CFont();
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    // Loads the pages through the renderer and the glyph table; false (and an empty
    // font) when no page loads, the table is missing or damaged, or a glyph names a
    // page that did not load. The fix-ups: extra advance after a letter followed by a
    // digit; the vertical step kept for the text users; a y offset of drawn text.
    bool Load(CRenderer& renderer, const char* name, int numberSpaceFixup, int verticalSpaceFixup,
              int defaultVerticalFudge);
    // Releases the page textures and empties the font; drawing then does nothing.
    void Release();

    bool IsLoaded() const { return !m_pages.empty(); }
    const std::string& GetName() const { return m_name; }
    const std::vector<SFontRange>& GetRanges() const { return m_ranges; }
    const std::vector<SFontPage>& GetPages() const { return m_pages; }
    int GetNumberSpaceFixup() const { return m_numberSpaceFixup; }
    int GetVerticalSpaceFixup() const { return m_verticalSpaceFixup; }
    int GetDefaultVerticalFudge() const { return m_defaultVerticalFudge; }

    // The glyph drawn for a code: line feed and carriage return are looked up as a
    // space, and so is a code without a glyph; null when there is no space either.
    const SFontGlyph* FindGlyph(char16_t code) const;
    // The code's own glyph (no space in its place), or null.
    const SFontGlyph* FindExactGlyph(char16_t code) const;
    // Pixels; 0 when the code has no glyph of its own.
    int GetGlyphAdvance(char16_t code) const;
    int GetGlyphWidth(char16_t code) const;
    int GetGlyphHeight(char16_t code) const;

    // Sum of the advances, plus the number-space fix-up after every letter (A-Z, a-z)
    // directly followed by a digit. A null text measures 0.
    int MeasureTextWide(const char16_t* text) const;
    // The same, but the last character counts its width instead of its advance; an
    // empty text measures 0.
    int MeasureTextExact(const char16_t* text) const;

    // At most maxChars characters (-1 for all), at GUI position x, y (plus the default
    // vertical fudge), depth z, in an ARGB colour. Advances by the glyphs' advances alone.
    void DrawTextWide(float x, float y, float z, const char16_t* text, uint32_t colour, int maxChars = -1) const;
    // 8-bit text: each byte is a character code.
    void DrawText(float x, float y, float z, const char* text, uint32_t colour, int maxChars = -1) const;
    // printf-style formatting of a format written in the code (never of data), cut at
    // 511 characters.
    void DrawFormatted(float x, float y, float z, uint32_t colour, const char* format, ...) const
        __attribute__((format(printf, 6, 7)));
    // The same with a 16-bit format (see WideFormat.h for its conversions).
    void DrawFormattedWide(float x, float y, float z, uint32_t colour, const char16_t* format, ...) const;
    // Text from data or typed by the player, shown as a format without arguments
    // would show it: "%%" gives "%", every other conversion is drawn as it stands; cut
    // at 511 characters like formatted text.
    void DrawDataTextWide(float x, float y, float z, const char16_t* text, uint32_t colour) const;
    void DrawDataText(float x, float y, float z, const char* text, uint32_t colour) const;
    // count characters (-1 for all), every glyph cut to the clip rectangle (GUI
    // coordinates); the y offset is the default vertical fudge taken away. Adds the
    // number-space fix-up like the measures.
    void DrawTextClipped(float x, float y, float z, const char16_t* text, uint32_t colour, float clipX, float clipY,
                         float clipW, float clipH, int count = -1) const;

private:
    struct SPen;
    bool LoadPages(const char* name);
    bool LoadGlyphs(const char* name);
    void BeginPage(SPen& pen, int page) const;
    void EmitGlyph(SPen& pen, const SFontGlyph& glyph, float x0, float y0, float x1, float y1, float u0, float v0,
                   float u1, float v1) const;
    template <typename Unit>
    void DrawUnits(float x, float y, float z, const Unit* text, uint32_t colour, int maxChars) const;

    CRenderer* m_renderer = nullptr;
    std::vector<SFontRange> m_ranges;
    std::vector<SFontPage> m_pages;
    std::string m_name;
    int m_numberSpaceFixup = 0;
    int m_verticalSpaceFixup = 0;
    int m_defaultVerticalFudge = 0;
};

// The text a format without arguments shows: "%%" becomes "%", every other "%" and
// what follows it stay as they are. At most size - 1 units are written; the result is
// always terminated when size > 0.
void CopyDataText(const char16_t* text, char16_t* out, size_t size);
void CopyDataText(const char* text, char* out, size_t size);

// The glyph table's bytes made into ranges for the loaded pages: every record checked
// (FontGlyphTable.h), its page among the pages, its texture corners from its pixels.
bool BuildFontGlyphs(const uint8_t* data, size_t size, const std::vector<SFontPage>& pages,
                     std::vector<SFontRange>& ranges, std::string& reason);

// The glyph ranges of a sorted glyph list: codes one apart share a run; any other
// step (a duplicate code too) starts a new one, so of two glyphs for one code the
// first is found.
std::vector<SFontRange> BuildFontRanges(const std::vector<SFontGlyph>& sortedGlyphs);
