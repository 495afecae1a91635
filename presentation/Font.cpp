#include "presentation/Font.h"

#include "core/Console.h"
#include "core/FileBytes.h"
#include "core/TextRoutines.h"
#include "platform/Renderer.h"
#include "presentation/FontGlyphTable.h"
#include "utility/source/QelFile.h"

#include <algorithm>
#include <cstdio>
#include <new>

namespace
{
constexpr const char* FONT_FOLDER = "data/gui/";
constexpr int MAX_PAGES = 1000; // three digits of page number

void Log(const std::string& text)
{
    if (g_console)
        g_console->Printf("%s", text.c_str());
}

// Loose file or pack entry, without the renderer's message for a missing file: the
// page after the last one is always missing.
bool PageExists(const std::string& path)
{
    size_t slash = path.rfind('/');
    return FileExists(path.substr(0, slash + 1).c_str(), path.substr(slash + 1).c_str());
}
} // namespace

std::vector<SFontRange> BuildFontRanges(const std::vector<SFontGlyph>& sortedGlyphs)
{
    std::vector<SFontRange> ranges;
    for (size_t i = 0; i < sortedGlyphs.size(); ++i)
    {
        const SFontGlyph& glyph = sortedGlyphs[i];
        if (ranges.empty() || i == 0 || glyph.code != sortedGlyphs[i - 1].code + 1)
        {
            ranges.emplace_back();
            ranges.back().first = uint16_t(glyph.code);
        }
        ranges.back().glyphs.push_back(glyph);
        ranges.back().count = uint16_t(ranges.back().glyphs.size());
    }
    return ranges;
}

CFont::~CFont()
{
    Release();
}

bool CFont::Load(CRenderer& renderer, const char* name, int numberSpaceFixup, int verticalSpaceFixup,
                 int defaultVerticalFudge)
{
    Release();
    if (!name || !*name)
        return false;
    m_renderer = &renderer;
    m_numberSpaceFixup = numberSpaceFixup;
    m_verticalSpaceFixup = verticalSpaceFixup;
    m_defaultVerticalFudge = defaultVerticalFudge;
    try
    {
        if (!LoadPages(name) || !LoadGlyphs(name))
        {
            Release();
            return false;
        }
        m_name = name;
    }
    catch (const std::bad_alloc&)
    {
        Release();
        return false;
    }
    return true;
}

bool CFont::LoadPages(const char* name)
{
    auto loadPage = [&](const std::string& path) {
        SFontPage page;
        if (!PageExists(path) ||
            !m_renderer->LoadTexture(path.c_str(), true, 0, 0, 1, true, &page.texture, &page.width, &page.height))
            return false;
        if (page.width <= 0 || page.height <= 0)
        {
            m_renderer->ReleaseTexture(page.texture);
            return false;
        }
        page.invWidth = 1.0f / float(page.width);
        page.invHeight = 1.0f / float(page.height);
        m_pages.push_back(page);
        return true;
    };
    char number[8];
    for (int i = 0; i < MAX_PAGES; ++i)
    {
        std::snprintf(number, sizeof(number), "%03d", i);
        if (!loadPage(std::string(FONT_FOLDER) + name + number + ".tga"))
            break;
    }
    if (m_pages.empty())
        loadPage(std::string(FONT_FOLDER) + name + ".tga");
    return !m_pages.empty();
}

bool CFont::LoadGlyphs(const char* name)
{
    std::string path = std::string(FONT_FOLDER) + name + ".txt";
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path.c_str(), bytes))
    {
        Log("Failed to open texture definition file " + path);
        return false;
    }
    std::string reason;
    if (!BuildFontGlyphs(bytes.data(), bytes.size(), m_pages, m_ranges, reason))
    {
        Log("Bad font glyph table " + path + ": " + reason);
        return false;
    }
    return true;
}

bool BuildFontGlyphs(const uint8_t* data, size_t size, const std::vector<SFontPage>& pages,
                     std::vector<SFontRange>& ranges, std::string& reason)
{
    ranges.clear();
    std::vector<SFontGlyphRecord> records;
    if (!ParseGlyphTable(data, size, records, reason))
        return false;
    std::vector<SFontGlyph> glyphs;
    glyphs.reserve(records.size());
    for (const SFontGlyphRecord& record : records)
    {
        if (record.page >= int32_t(pages.size()))
        {
            reason = "a glyph names a page that does not exist";
            return false;
        }
        const SFontPage& page = pages[size_t(record.page)];
        SFontGlyph glyph;
        glyph.code = record.code;
        glyph.page = record.page;
        glyph.u0 = float(record.x) * page.invWidth;
        glyph.v0 = float(record.y) * page.invHeight;
        glyph.u1 = float(int64_t(record.x) + record.width) * page.invWidth;
        glyph.v1 = float(int64_t(record.y) + record.height) * page.invHeight;
        glyph.width = record.width;
        glyph.height = record.height;
        glyph.advance = record.advance;
        glyphs.push_back(glyph);
    }
    // Codes are 0..65535 here, so the unsigned order is the numeric one.
    std::stable_sort(glyphs.begin(), glyphs.end(),
                     [](const SFontGlyph& a, const SFontGlyph& b) { return a.code < b.code; });
    ranges = BuildFontRanges(glyphs);
    return true;
}

void CFont::Release()
{
    if (m_renderer)
        for (const SFontPage& page : m_pages)
            m_renderer->ReleaseTexture(page.texture);
    m_pages.clear();
    m_ranges.clear();
    m_name.clear();
}

const SFontGlyph* CFont::FindExactGlyph(char16_t code) const
{
    for (const SFontRange& range : m_ranges)
        if (code >= range.first && uint32_t(code) < uint32_t(range.first) + range.count)
            return &range.glyphs[code - range.first];
    return nullptr;
}

const SFontGlyph* CFont::FindGlyph(char16_t code) const
{
    if (code == u'\n' || code == u'\r')
        code = u' ';
    const SFontGlyph* glyph = FindExactGlyph(code);
    return glyph ? glyph : FindExactGlyph(u' ');
}

int CFont::GetGlyphAdvance(char16_t code) const
{
    const SFontGlyph* glyph = FindExactGlyph(code);
    return glyph ? glyph->advance : 0;
}

int CFont::GetGlyphWidth(char16_t code) const
{
    const SFontGlyph* glyph = FindExactGlyph(code);
    return glyph ? glyph->width : 0;
}

int CFont::GetGlyphHeight(char16_t code) const
{
    const SFontGlyph* glyph = FindExactGlyph(code);
    return glyph ? glyph->height : 0;
}

int CFont::MeasureTextWide(const char16_t* text) const
{
    if (!text)
        return 0;
    int width = 0;
    for (const char16_t* c = text; *c; ++c)
    {
        width += GetGlyphAdvance(*c);
        if (IsAsciiLetterUnit(c[0]) && IsDigitUnit(c[1]))
            width += m_numberSpaceFixup;
    }
    return width;
}

int CFont::MeasureTextExact(const char16_t* text) const
{
    if (!text || !*text)
        return 0;
    size_t last = WideLength(text) - 1;
    return MeasureTextWide(text) - GetGlyphAdvance(text[last]) + GetGlyphWidth(text[last]);
}

void CopyDataText(const char16_t* text, char16_t* out, size_t size)
{
    if (!out || size == 0)
        return;
    size_t n = 0;
    for (const char16_t* c = text ? text : u""; *c && n + 1 < size; ++c)
    {
        out[n++] = *c;
        if (c[0] == u'%' && c[1] == u'%')
            ++c;
    }
    out[n] = 0;
}

void CopyDataText(const char* text, char* out, size_t size)
{
    if (!out || size == 0)
        return;
    size_t n = 0;
    for (const char* c = text ? text : ""; *c && n + 1 < size; ++c)
    {
        out[n++] = *c;
        if (c[0] == '%' && c[1] == '%')
            ++c;
    }
    out[n] = 0;
}
