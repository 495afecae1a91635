#include "presentation/GuiAlertBox.h"

#include "platform/AudioSystem.h"
#include "presentation/GuiManager.h"
#include "presentation/GuiText.h"

#include <algorithm>

CGuiAlertBox::CGuiAlertBox(const SGuiAlertBoxDesc& desc)
    : m_fontId(desc.fontId), m_speechBubbleId(desc.speechBubbleId), m_speechBubbleX(desc.speechBubbleX),
      m_speechBubbleY(desc.speechBubbleY)
{
    SetFromDesc(desc);
    for (const SGuiAlertPage& page : desc.pages)
        m_pages.push_back(SPage{page.textId, page.lines, {}});
}

bool CGuiAlertBox::Initialise()
{
    RefreshStrings();
    return !m_pages.empty();
}

void CGuiAlertBox::RefreshStrings()
{
    if (!m_manager)
        return;
    const CFont& font = m_manager->GetFontOrSystem(m_fontId);
    const int width = m_rect.w - m_manager->GetSkin().alertBorderWidth;
    for (SPage& page : m_pages)
        page.lines = page.textId != SGuiText::NO_ID ? WrapGuiText(LookUpGuiText(page.textId), font, width)
                                                    : page.literal;
}

std::vector<std::u16string> CGuiAlertBox::GetPageLines(size_t n) const
{
    std::vector<std::u16string> lines;
    if (n < m_pages.size() && m_manager)
        for (const std::u16string& line : m_pages[n].lines)
            lines.push_back(ExpandPilotName(line, m_manager->GetPilotName()));
    return lines;
}

void CGuiAlertBox::Show()
{
    if (!m_manager)
        return;
    m_manager->SetModal(true);
    m_page = 0;
    m_revealed = 0;
    m_started = false;
    m_complete = false;
    PlayGuiSound(m_manager->GetDefaultSound(CGuiManager::SOUND_ALERT));
    const int focus = m_manager->GetFocusHandle();
    m_previousFocus = focus == m_handle ? -1 : focus;
    m_previousGeneration = m_manager->GetHandleGeneration(m_previousFocus);
    m_visible = true;
    m_manager->SetFocus(m_handle);
}

void CGuiAlertBox::Close()
{
    CGuiManager* manager = m_manager;
    const int previous = m_previousFocus;
    const bool same = manager->GetHandleGeneration(previous) == m_previousGeneration;
    manager->SetModal(false);
    m_visible = false;
    m_focused = false;
    if (g_audio)
        g_audio->StopVoice();
    PlayGuiSound(manager->GetDefaultSound(CGuiManager::SOUND_SELECT));
    RaiseEvent(GUI_EVENT_ACTIVATED, 0);
    // The control that had the focus may have gone since (and its handle be another's):
    // then the usual choice.
    if (!same || !manager->GetControl(previous) || !manager->SetFocus(previous))
        manager->SetFocus(-1);
}

void CGuiAlertBox::Advance()
{
    if (!m_visible || !m_manager)
        return;
    if (!m_complete)
    {
        m_complete = true;
        return;
    }
    Close();
}

bool CGuiAlertBox::PointerClick(const SGuiPoint&)
{
    if (!m_visible)
        return false;
    Advance();
    return true;
}

void CGuiAlertBox::Action(int code)
{
    if (code == GUI_ACTION_SELECT || code == GUI_ACTION_SELECT_2 || code == GUI_ACTION_BACK)
        Advance();
}

bool CGuiAlertBox::TakeFocus()
{
    if (!m_visible)
        return false;
    m_focused = true;
    return true;
}

bool CGuiAlertBox::DrawText(const SGuiRect& inner, float z)
{
    const CFont& font = m_manager->GetFontOrSystem(m_fontId);
    const std::vector<std::u16string> lines = GetPageLines(m_page);
    if (!m_started)
    {
        m_started = true;
        const std::string voice = LookUpGuiVoice(m_pages[m_page].textId);
        if (!voice.empty() && g_audio)
            g_audio->PlayVoice(voice.c_str());
    }
    int total = 0;
    for (const std::u16string& line : lines)
        total += int(line.size());
    if (!m_complete && ++m_revealed >= total)
        m_complete = true;
    const int revealed = m_complete ? total : m_revealed;

    // The line being revealed and the ones before it that fit above it.
    const int step = font.GetGlyphHeight(u'A') + font.GetVerticalSpaceFixup();
    const int fit = step > 0 ? std::max(1, inner.h / step) : int(lines.size());
    int current = 0, left = revealed;
    while (current + 1 < int(lines.size()) && left >= int(lines[size_t(current)].size()))
    {
        left -= int(lines[size_t(current)].size());
        ++current;
    }
    const int first = std::max(0, current - fit + 1);
    int y = inner.y;
    for (int i = first; i <= current && i < int(lines.size()); ++i)
    {
        const std::u16string& line = lines[size_t(i)];
        const int count = i < current ? int(line.size()) : std::min(left, int(line.size()));
        font.DrawTextClipped(float(inner.x), float(y), z, line.c_str(), GUI_COLOUR_WHITE, float(inner.x),
                             float(inner.y), float(inner.w), float(inner.h), count);
        y += step;
    }
    return true;
}

bool CGuiAlertBox::Draw(float z)
{
    if (!m_visible || !m_manager || m_pages.empty())
        return true;
    const SGuiSkin& skin = m_manager->GetSkin();
    const SGuiRect rect = GetScreenRect();
    const int bw = skin.alertBorderWidth, bh = skin.alertBorderHeight;
    const int p = GUI_PIECE_ALERTBOX;
    const SGuiFramePieces pieces{p, p + 1, p + 2, p + 3, p + 4, p + 5, p + 6, p + 7, p + 8};
    bool drawn = m_manager->DrawFrame(rect, pieces, bw, bh, GUI_COLOUR_WHITE, z, true, true, false);
    const SGuiRect inner{rect.x + bw, rect.y + bh, rect.w - 2 * bw, rect.h - 2 * bh};
    DrawText(inner, z);
    if (m_complete)
    {
        const int fw = skin.conversationFlashyWidth, fh = skin.conversationFlashyHeight;
        const SGuiRect marker{rect.x + (rect.w - fw) / 2, rect.y + rect.h - bh - fh, fw, fh};
        drawn = m_manager->DrawSkinPiece(marker, GUI_PIECE_CONVERSATION + 9, m_manager->GetHighlightColour(), z, true,
                                         false) &&
                drawn;
    }
    return drawn;
}
