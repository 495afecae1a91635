#include "presentation/CasGuiFonts.h"

#include "presentation/Font.h"
#include "presentation/GuiManager.h"

CCasFont* CCasGuiFonts::Wrap(CFace& face, CFont* font)
{
    face.m_font = font;
    return font ? &face : nullptr;
}

CCasFont* CCasGuiFonts::GetFont(int index)
{
    if (!g_gui || index < 0 || index > 3)
        return nullptr;
    return Wrap(m_fonts[index], g_gui->GetFont(index));
}

CCasFont* CCasGuiFonts::GetSystemFont()
{
    return Wrap(m_system, g_gui ? &g_gui->GetSystemFont() : nullptr);
}

int CCasGuiFonts::CFace::GetLineHeight() const
{
    return m_font->GetGlyphHeight(u'A');
}

int CCasGuiFonts::CFace::MeasureWidth(const char16_t* text) const
{
    return m_font->MeasureTextWide(text);
}

void CCasGuiFonts::CFace::DrawText(float x, float y, float z, const char16_t* text, uint32_t colour)
{
    m_font->DrawTextWide(x, y, z, text, colour);
}
