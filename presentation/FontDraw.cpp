// Drawing of bitmap fonts: six vertices a glyph into the renderer's batch, a new
// batch only when the texture page changes.

#include "presentation/Font.h"

#include "core/TextRoutines.h"
#include "core/WideFormat.h"
#include "platform/Renderer.h"
#include "presentation/ScreenQuad.h"
#include "presentation/SpriteQuad.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <type_traits>

struct CFont::SPen
{
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    float shift = 0.0f;  // the renderer's pixel-centre shift
    uint32_t colour = 0; // in the renderer's order
    int page = -1;       // the bound page
    float insetU = 0.0f; // texture inset against bleeding when scaled up
    float insetV = 0.0f;
};

void CFont::BeginPage(SPen& pen, int page) const
{
    if (pen.page >= 0)
        m_renderer->FlushBatch(false);
    pen.page = page;
    const SFontPage& bound = m_pages[size_t(page)];
    m_renderer->BeginBatch(&bound.texture, true, true, false);
    pen.insetU = std::max(0.0f, (pen.scaleX - 1.0f) * bound.invWidth);
    pen.insetV = std::max(0.0f, (pen.scaleY - 1.0f) * bound.invHeight);
}

void CFont::EmitGlyph(SPen& pen, const SFontGlyph& glyph, float x0, float y0, float x1, float y1, float u0, float v0,
                      float u1, float v1) const
{
    if (glyph.page != pen.page)
        BeginPage(pen, glyph.page);
    SScreenVertex* v = nullptr;
    if (!m_renderer->ReserveVertices(6, &v))
        return;
    FillScreenQuad(v, x0 + pen.shift, y0 + pen.shift, x1 + pen.shift, y1 + pen.shift, pen.z, pen.colour, u0, v0, u1,
                   v1);
}

template <typename Unit>
void CFont::DrawUnits(float x, float y, float z, const Unit* text, uint32_t colour, int maxChars) const
{
    if (m_pages.empty() || !m_renderer || !text || maxChars == 0)
        return;
    SPen pen;
    pen.scaleX = m_renderer->GetVirtualScaleX();
    pen.scaleY = m_renderer->GetVirtualScaleY();
    pen.x = x * pen.scaleX;
    pen.y = (y + float(m_defaultVerticalFudge)) * pen.scaleY;
    pen.z = z;
    pen.shift = m_renderer->GetPixelCentreShift();
    pen.colour = ToVertexColour(colour, m_renderer->IsColourArgb());
    for (int i = 0; text[i] && (maxChars < 0 || i < maxChars); ++i)
    {
        // 8-bit text: each byte (0 to 255) is the code.
        const SFontGlyph* glyph = FindGlyph(char16_t(std::make_unsigned_t<Unit>(text[i])));
        if (!glyph)
            continue;
        if (pen.page < 0)
            BeginPage(pen, glyph->page);
        EmitGlyph(pen, *glyph, pen.x, pen.y, pen.x + float(glyph->width) * pen.scaleX,
                  pen.y + float(glyph->height) * pen.scaleY, glyph->u0 + pen.insetU, glyph->v0 + pen.insetV,
                  glyph->u1 - pen.insetU, glyph->v1 - pen.insetV);
        pen.x += float(glyph->advance) * pen.scaleX;
    }
    if (pen.page >= 0)
        m_renderer->FlushBatch(false);
}

void CFont::DrawTextWide(float x, float y, float z, const char16_t* text, uint32_t colour, int maxChars) const
{
    DrawUnits(x, y, z, text, colour, maxChars);
}

void CFont::DrawText(float x, float y, float z, const char* text, uint32_t colour, int maxChars) const
{
    DrawUnits(x, y, z, text, colour, maxChars);
}

void CFont::DrawFormatted(float x, float y, float z, uint32_t colour, const char* format, ...) const
{
    if (!format)
        return;
    char buffer[FORMAT_BUFFER];
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    if (written < 0)
        return;
    DrawText(x, y, z, buffer, colour);
}

void CFont::DrawFormattedWide(float x, float y, float z, uint32_t colour, const char16_t* format, ...) const
{
    if (!format)
        return;
    CWString formatted;
    va_list args;
    va_start(args, format);
    FormatWideV(formatted, format, args);
    va_end(args);
    DrawTextWide(x, y, z, formatted.GetText(), colour, FORMAT_BUFFER - 1);
}

void CFont::DrawDataTextWide(float x, float y, float z, const char16_t* text, uint32_t colour) const
{
    char16_t buffer[FORMAT_BUFFER];
    CopyDataText(text, buffer, FORMAT_BUFFER);
    DrawTextWide(x, y, z, buffer, colour);
}

void CFont::DrawDataText(float x, float y, float z, const char* text, uint32_t colour) const
{
    char buffer[FORMAT_BUFFER];
    CopyDataText(text, buffer, FORMAT_BUFFER);
    DrawText(x, y, z, buffer, colour);
}

void CFont::DrawTextClipped(float x, float y, float z, const char16_t* text, uint32_t colour, float clipX,
                            float clipY, float clipW, float clipH, int count) const
{
    if (m_pages.empty() || !m_renderer || !text || m_ranges.empty())
        return;
    SPen pen;
    pen.scaleX = m_renderer->GetVirtualScaleX();
    pen.scaleY = m_renderer->GetVirtualScaleY();
    pen.x = x * pen.scaleX;
    pen.y = (y - float(m_defaultVerticalFudge)) * pen.scaleY;
    pen.z = z;
    pen.shift = m_renderer->GetPixelCentreShift();
    pen.colour = ToVertexColour(colour, m_renderer->IsColourArgb());
    const float left = clipX * pen.scaleX, top = clipY * pen.scaleY;
    const float right = (clipX + clipW) * pen.scaleX, bottom = (clipY + clipH) * pen.scaleY;
    if (pen.y + float(GetGlyphHeight(u'A')) * pen.scaleY < top || pen.y > bottom || pen.x > right)
        return;
    for (int i = 0; text[i] && (count < 0 || i < count); ++i)
    {
        const SFontGlyph* glyph = FindGlyph(text[i]);
        if (!glyph)
            continue;
        if (pen.page < 0)
            BeginPage(pen, glyph->page);
        const float x0 = pen.x, y0 = pen.y;
        const float x1 = x0 + float(glyph->width) * pen.scaleX, y1 = y0 + float(glyph->height) * pen.scaleY;
        pen.x += float(glyph->advance) * pen.scaleX;
        if (IsAsciiLetterUnit(text[i]) && IsDigitUnit(text[i + 1]))
            pen.x += float(m_numberSpaceFixup) * pen.scaleX;
        if (x1 <= left || x0 >= right || y1 <= top || y0 >= bottom || x1 <= x0 || y1 <= y0)
            continue;
        if (glyph->page != pen.page)
            BeginPage(pen, glyph->page);
        // A cut side takes the texture coordinate at the same share of the glyph.
        const float u0 = glyph->u0 + pen.insetU, u1 = glyph->u1 - pen.insetU;
        const float v0 = glyph->v0 + pen.insetV, v1 = glyph->v1 - pen.insetV;
        auto lerp = [](float a, float b, float t) { return a + (b - a) * t; };
        const float cx0 = std::max(x0, left), cx1 = std::min(x1, right);
        const float cy0 = std::max(y0, top), cy1 = std::min(y1, bottom);
        EmitGlyph(pen, *glyph, cx0, cy0, cx1, cy1, lerp(u0, u1, (cx0 - x0) / (x1 - x0)),
                  lerp(v0, v1, (cy0 - y0) / (y1 - y0)), lerp(u0, u1, (cx1 - x0) / (x1 - x0)),
                  lerp(v0, v1, (cy1 - y0) / (y1 - y0)));
    }
    if (pen.page >= 0)
        m_renderer->FlushBatch(false);
}
