#include "presentation/GuiEditBox.h"

#include "core/TextRoutines.h"
#include "platform/InputRing.h"
#include "platform/Renderer.h"
#include "presentation/GuiDraw.h"
#include "presentation/GuiManager.h"

#include <algorithm>
#include <cstring>

CGuiEditBox::CGuiEditBox(const SGuiEditBoxDesc& desc)
    : m_maxLength(std::clamp(desc.maxLength, 1, MAX_LENGTH)), m_completedFocusId(desc.completedFocusId),
      m_cancelledFocusId(desc.cancelledFocusId), m_fontId(desc.fontId), m_bordered(desc.bordered),
      m_alphaTest(desc.alphaTest), m_alphaBlend(desc.alphaBlend)
{
    SetFromDesc(desc);
    SetText("");
    std::memcpy(m_backup, m_text, sizeof(m_text));
}

void CGuiEditBox::SetText(const char* text)
{
    if (!text)
        text = "";
    size_t length = std::min(std::strlen(text), size_t(m_maxLength));
    std::memcpy(m_text, text, length);
    std::memset(m_text + length, ' ', size_t(m_maxLength) - length);
    m_text[m_maxLength] = '\0';
    m_cursor = std::min(m_cursor, m_maxLength);
}

void CGuiEditBox::SetTextWide(const char16_t* text)
{
    char narrow[MAX_LENGTH + 1];
    NarrowText(text ? text : u"", narrow, sizeof(narrow));
    SetText(narrow);
}

void CGuiEditBox::GetText(char* buffer, size_t size) const
{
    if (!buffer || size == 0)
        return;
    const size_t length = std::min(size - 1, size_t(m_maxLength));
    std::memcpy(buffer, m_text, length);
    buffer[length] = '\0';
}

void CGuiEditBox::PlayIncDec() const
{
    if (m_manager)
        PlayGuiSound(m_manager->GetDefaultSound(CGuiManager::SOUND_INCDEC));
}

bool CGuiEditBox::FocusControl(int controlId)
{
    if (controlId < 0 || !m_manager)
        return false;
    const int handle = m_manager->FindControlNear(*this, controlId);
    return handle >= 0 && m_manager->SetFocus(handle);
}

void CGuiEditBox::Complete()
{
    CGuiManager* manager = m_manager;
    FocusControl(m_completedFocusId);
    manager->SetGameKeyboardFlag(true);
    PlayGuiSound(manager->GetDefaultSound(CGuiManager::SOUND_SELECT));
    RaiseEvent(GUI_EVENT_ACTIVATED, 0);
}

void CGuiEditBox::Cancel()
{
    CGuiManager* manager = m_manager;
    std::memcpy(m_text, m_backup, sizeof(m_text));
    PlayGuiSound(manager->GetDefaultSound(CGuiManager::SOUND_BACKOUT));
    FocusControl(m_cancelledFocusId);
    manager->SetGameKeyboardFlag(true);
    RaiseEvent(GUI_EVENT_EDIT_CANCELLED, 0);
}

void CGuiEditBox::CharInput(uint32_t code)
{
    if (!m_manager)
        return;
    switch (code)
    {
    case 8: // backspace
        if (m_cursor > 0)
        {
            std::memmove(m_text + m_cursor - 1, m_text + m_cursor, size_t(m_maxLength - m_cursor));
            m_text[m_maxLength - 1] = ' ';
            --m_cursor;
        }
        PlayIncDec();
        return;
    case KEY_RING_DELETE:
        if (m_cursor < m_maxLength)
        {
            std::memmove(m_text + m_cursor, m_text + m_cursor + 1, size_t(m_maxLength - m_cursor - 1));
            m_text[m_maxLength - 1] = ' ';
        }
        PlayIncDec();
        return;
    case KEY_RING_LEFT:
        m_cursor = std::max(0, m_cursor - 1);
        PlayIncDec();
        return;
    case KEY_RING_RIGHT:
        m_cursor = std::min(m_maxLength, m_cursor + 1);
        PlayIncDec();
        return;
    case KEY_RING_UP:
    case KEY_RING_DOWN:
    {
        const int action = code == KEY_RING_UP ? GUI_ACTION_UP : GUI_ACTION_DOWN;
        CGuiManager* manager = m_manager;
        if (Navigate(action))
            manager->RestartActionRepeat(action);
        RaiseEvent(GUI_EVENT_ACTIVATED, 0);
        return;
    }
    case 13: // Enter: the select action it also makes must not act again at once
        m_manager->RestartActionRepeat(GUI_ACTION_SELECT);
        Complete();
        return;
    case 27: // Escape
        Cancel();
        return;
    default:
        break;
    }
    // Control codes would cut the text short or show nothing; wider codes have no
    // 8-bit form.
    if (code < 32 || code > 255)
        return;
    if (m_cursor < m_maxLength)
    {
        char c = char(code);
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        m_text[m_cursor++] = c;
    }
    PlayIncDec();
}

void CGuiEditBox::Action(int code)
{
    if (!m_manager)
        return;
    switch (code)
    {
    case GUI_ACTION_SELECT:
    case GUI_ACTION_SELECT_2:
        Complete();
        break;
    case GUI_ACTION_BACK:
        Cancel();
        break;
    case GUI_ACTION_LEFT:
        CharInput(KEY_RING_LEFT);
        break;
    case GUI_ACTION_RIGHT:
        CharInput(KEY_RING_RIGHT);
        break;
    default:
        break;
    }
}

bool CGuiEditBox::TakeFocus()
{
    if (!m_visible || !m_manager)
        return false;
    m_focused = true;
    m_manager->SetGameKeyboardFlag(false);
    std::memcpy(m_backup, m_text, sizeof(m_text));
    // Each use starts at the first place, not where the last one left off.
    m_cursor = 0;
    return true;
}

void CGuiEditBox::LoseFocus()
{
    m_focused = false;
    if (m_manager)
        m_manager->SetGameKeyboardFlag(true);
}

bool CGuiEditBox::Draw(float z)
{
    if (!m_visible || !m_manager)
        return true;
    const uint32_t colour = GetFocusColour(*m_manager, m_enabled, m_focused);
    const CFont& font = m_manager->GetFontOrSystem(m_fontId);
    const SGuiSkin& skin = m_manager->GetSkin();
    const SGuiRect rect = GetScreenRect();
    bool drawn = true;
    int textX = rect.x, textY = rect.y;
    if (m_bordered)
    {
        // The frame is as wide as the widest text that fits.
        const SGuiRect frame{rect.x, rect.y,
                             font.GetGlyphAdvance(u'W') * m_maxLength + 2 * skin.buttonBorderWidth,
                             font.GetGlyphHeight(u'W') + 2 * skin.buttonBorderHeight};
        drawn = m_manager->DrawFrame(frame, GetWindowFramePieces(0), skin.buttonBorderWidth, skin.buttonBorderHeight,
                                     colour, z, true, m_alphaBlend, m_alphaTest);
        textX += skin.buttonBorderWidth;
        textY += skin.buttonBorderHeight;
    }
    font.DrawText(float(textX), float(textY), z, m_text, colour, m_maxLength);
    if (m_enabled && m_focused)
    {
        int before = 0;
        for (int i = 0; i < m_cursor; ++i)
            before += font.GetGlyphAdvance(char16_t(uint8_t(m_text[i])));
        const char16_t at = m_cursor < m_maxLength ? char16_t(uint8_t(m_text[m_cursor])) : u' ';
        CRenderer& renderer = m_manager->GetRenderer();
        const float sx = renderer.GetVirtualScaleX(), sy = renderer.GetVirtualScaleY();
        DrawGuiBar(renderer, float(textX + before) * sx, float(textY + font.GetGlyphHeight(u'W')) * sy,
                   float(font.GetGlyphAdvance(at)) * sx, 2.0f, m_manager->GetHighlightColour());
    }
    return drawn;
}
