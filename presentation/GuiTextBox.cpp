#include "presentation/GuiTextBox.h"

#include "presentation/GuiManager.h"
#include "presentation/GuiText.h"

// ---- text box -------------------------------------------------------------------

CGuiTextBox::CGuiTextBox(const SGuiTextBoxDesc& desc)
    : m_text(desc.text), m_bordered(desc.bordered), m_singleChar(desc.singleChar), m_singleWord(desc.singleWord),
      m_scroll(desc.scroll), m_scrollDelay(desc.scrollDelay), m_fontId(desc.fontId), m_alphaTest(desc.alphaTest),
      m_alphaBlend(desc.alphaBlend)
{
    SetFromDesc(desc);
}

bool CGuiTextBox::Initialise()
{
    Wrap();
    return true;
}

void CGuiTextBox::Wrap()
{
    m_lines.clear();
    if (!m_manager)
        return;
    const int width = m_rect.w - (m_bordered ? m_manager->GetSkin().windowBorderWidth : 0);
    m_lines = WrapGuiText(m_text.Get(), m_manager->GetFontOrSystem(m_fontId), width);
}

void CGuiTextBox::SetText(const char* text)
{
    m_text.SetNarrow(text);
    Wrap();
}

void CGuiTextBox::SetTextWide(const char16_t* text)
{
    m_text.SetWide(text);
    Wrap();
}

void CGuiTextBox::SetTextById(uint32_t id)
{
    m_text.SetById(id);
    Wrap();
}

void CGuiTextBox::RefreshStrings()
{
    if (m_text.Refresh())
        Wrap();
}

bool CGuiTextBox::TakeFocus()
{
    if (!m_visible)
        return false;
    m_focused = true;
    return true;
}

bool CGuiTextBox::Draw(float z)
{
    if (!m_visible || !m_manager)
        return true;
    const SGuiSkin& skin = m_manager->GetSkin();
    SGuiRect rect = GetScreenRect();
    const uint32_t colour = m_enabled ? GUI_COLOUR_WHITE : GUI_COLOUR_DISABLED;
    bool drawn = true;
    if (m_bordered)
    {
        drawn = m_manager->DrawFrame(rect, GetWindowFramePieces(0), skin.windowBorderWidth, skin.windowBorderHeight,
                                     colour, z, true, m_alphaBlend, m_alphaTest);
        rect = SGuiRect{rect.x + skin.windowBorderWidth, rect.y + skin.windowBorderHeight,
                        rect.w - 2 * skin.windowBorderWidth, rect.h - 2 * skin.windowBorderHeight};
    }
    if (m_singleChar || m_singleWord)
        return drawn;
    const CFont& font = m_manager->GetFontOrSystem(m_fontId);
    const int step = font.GetGlyphHeight(u'A') + font.GetVerticalSpaceFixup();
    int y = rect.y;
    for (const std::u16string& line : m_lines)
    {
        const std::u16string shown = ExpandPilotName(line, m_manager->GetPilotName());
        font.DrawTextClipped(float(rect.x), float(y), z, shown.c_str(), colour, float(rect.x), float(rect.y),
                             float(rect.w), float(rect.h));
        y += step;
    }
    return drawn;
}

// ---- static text ------------------------------------------------------------------

CGuiStaticText::CGuiStaticText(const SGuiStaticTextDesc& desc) : m_text(desc.text), m_fontId(desc.fontId)
{
    SetFromDesc(desc);
}

void CGuiStaticText::RefreshStrings()
{
    m_text.Refresh();
}

bool CGuiStaticText::Draw(float z)
{
    if (!m_visible || !m_manager)
        return true;
    const SGuiRect rect = GetScreenRect();
    m_manager->GetFontOrSystem(m_fontId).DrawDataTextWide(float(rect.x), float(rect.y), z, m_text.Get().c_str(),
                                                         m_enabled ? GUI_COLOUR_WHITE : GUI_COLOUR_DISABLED);
    return true;
}
