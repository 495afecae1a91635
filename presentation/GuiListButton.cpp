#include "presentation/GuiListButton.h"

#include "core/DataTree.h"
#include "presentation/GuiDraw.h"
#include "presentation/GuiManager.h"
#include "presentation/GuiText.h"

#include <climits>

CGuiListButton::CGuiListButton(const SGuiListButtonDesc& desc)
    : m_options(desc.options.begin(), desc.options.end()), m_numberRange(desc.numberRange), m_rangeLow(desc.rangeLow), m_rangeHigh(desc.rangeHigh),
      m_bordered(desc.bordered), m_centred(desc.centered), m_wrapAround(desc.wrapAround), m_alphaTest(desc.alphaTest),
      m_alphaBlend(desc.alphaBlend), m_fontId(desc.fontId)
{
    SetFromDesc(desc);
}

void CGuiListButton::RefreshStrings()
{
    for (CGuiShownText& option : m_options)
        option.Refresh();
}

int CGuiListButton::GetOptionCount() const
{
    if (!m_numberRange)
        return int(m_options.size());
    const int64_t count = int64_t(m_rangeHigh) - int64_t(m_rangeLow) + 1;
    return count <= 0 ? 0 : int(count > INT_MAX ? INT_MAX : count);
}

std::u16string CGuiListButton::GetOptionText(int n) const
{
    if (n < 0 || n >= GetOptionCount())
        return std::u16string();
    if (!m_numberRange)
        return m_options[size_t(n)].Get();
    return WidenToU16(std::to_string(int64_t(m_rangeLow) + n).c_str());
}

void CGuiListButton::ClearOptions()
{
    m_options.clear();
    m_numberRange = false;
    m_selection = 0;
}

void CGuiListButton::AddOption(const char* text)
{
    AddOptionWide(WidenToU16(text ? text : "").c_str());
}

void CGuiListButton::AddOptionWide(const char16_t* text)
{
    if (m_numberRange)
        ClearOptions();
    m_options.emplace_back();
    m_options.back().SetWide(text);
}

void CGuiListButton::AddOptionById(uint32_t id)
{
    if (m_numberRange)
        ClearOptions();
    m_options.emplace_back();
    m_options.back().SetById(id);
}

void CGuiListButton::SetNumberRange(int32_t low, int32_t high)
{
    ClearOptions();
    m_numberRange = true;
    m_rangeLow = low;
    m_rangeHigh = high;
}

void CGuiListButton::SetSelection(int n)
{
    if (n >= 0 && n < GetOptionCount())
        m_selection = n;
}

void CGuiListButton::Step(int code)
{
    const int count = GetOptionCount();
    if (count > 0)
    {
        const int before = m_selection;
        if (code == GUI_ACTION_LEFT && (m_wrapAround || m_selection > 0))
            m_selection = m_selection > 0 ? m_selection - 1 : count - 1;
        else if (code == GUI_ACTION_RIGHT && m_wrapAround)
            m_selection = m_selection < count - 1 ? m_selection + 1 : 0;
        else if (code == GUI_ACTION_RIGHT && m_selection < count - 1)
            ++m_selection;
        // Left moves (and sounds) whenever it may; right only sounds when it moved.
        const bool sounds = code == GUI_ACTION_LEFT ? (m_wrapAround || before > 0) : m_selection != before;
        if (sounds && m_manager)
            PlayGuiSound(m_manager->GetDefaultSound(CGuiManager::SOUND_INCDEC));
    }
    RaiseEvent(GUI_EVENT_ACTION, code);
}

void CGuiListButton::NavigateList(int code)
{
    const int link = GetLink(code);
    CGuiManager* manager = m_manager;
    if (link >= 0 && manager->FindControlNear(*this, link) >= 0 &&
        manager->FindNavigationTarget(*this, link, code) < 0)
        RaiseEvent(code == GUI_ACTION_UP ? GUI_EVENT_UP_NO_TARGET : GUI_EVENT_DOWN_NO_TARGET, link);
    Navigate(code);
    RaiseEvent(GUI_EVENT_ACTION, code);
}

void CGuiListButton::Action(int code)
{
    if (!m_manager)
        return;
    switch (code)
    {
    case GUI_ACTION_SELECT:
    case GUI_ACTION_SELECT_2:
        PlayGuiSound(m_manager->GetDefaultSound(CGuiManager::SOUND_SELECT));
        RaiseEvent(GUI_EVENT_ACTIVATED, 0);
        break;
    case GUI_ACTION_BACK:
        PlayGuiSound(m_manager->GetDefaultSound(CGuiManager::SOUND_BACKOUT));
        RaiseEvent(GUI_EVENT_ACTION, code);
        break;
    case GUI_ACTION_LEFT:
    case GUI_ACTION_RIGHT:
        Step(code);
        break;
    case GUI_ACTION_UP:
    case GUI_ACTION_DOWN:
        NavigateList(code);
        break;
    default:
        break;
    }
}

void CGuiListButton::GetArrows(SGuiRect& left, SGuiRect& right) const
{
    SGuiRect rect = GetScreenRect();
    const SGuiSkin& skin = m_manager->GetSkin();
    if (m_bordered)
        rect = SGuiRect{rect.x + skin.buttonBorderWidth, rect.y + skin.buttonBorderHeight,
                        rect.w - 2 * skin.buttonBorderWidth, rect.h - 2 * skin.buttonBorderHeight};
    const int arrow = skin.listButtonArrowWidth;
    left = SGuiRect{rect.x, rect.y, arrow, rect.h};
    right = SGuiRect{rect.x + rect.w - arrow, rect.y, arrow, rect.h};
}

bool CGuiListButton::PointerClick(const SGuiPoint& point)
{
    if (!m_visible || !m_enabled || !m_manager)
        return false;
    SGuiRect left, right;
    GetArrows(left, right);
    if (left.Contains(point))
        Step(GUI_ACTION_LEFT);
    else if (right.Contains(point))
        Step(GUI_ACTION_RIGHT);
    else
    {
        PlayGuiSound(m_manager->GetDefaultSound(CGuiManager::SOUND_SELECT));
        RaiseEvent(GUI_EVENT_ACTIVATED, 0);
    }
    return true;
}

bool CGuiListButton::Draw(float z)
{
    if (!m_visible || !m_manager)
        return true;
    const uint32_t colour = GetFocusColour(*m_manager, m_enabled, m_focused);
    const SGuiSkin& skin = m_manager->GetSkin();
    const SGuiRect rect = GetScreenRect();
    bool drawn = true;
    if (m_bordered)
        drawn = m_manager->DrawFrame(rect, GetWindowFramePieces(0), skin.buttonBorderWidth, skin.buttonBorderHeight,
                                     colour, z, true, m_alphaBlend, m_alphaTest);
    SGuiRect left, right;
    GetArrows(left, right);
    drawn = m_manager->DrawSkinPiece(left, GUI_PIECE_LIST_LEFT_ARROW, colour, z, true, false) && drawn;
    drawn = m_manager->DrawSkinPiece(right, GUI_PIECE_LIST_RIGHT_ARROW, colour, z, true, false) && drawn;
    if (GetOptionCount() == 0)
        return drawn;
    const std::u16string text = GetOptionText(m_selection);
    const CFont& font = m_manager->GetFontOrSystem(m_fontId);
    const int textY = left.y + (left.h - font.GetGlyphHeight(u'a')) / 2;
    const int inner = right.x + right.w - left.x;
    const int textX = m_centred ? left.x + (inner - font.MeasureTextWide(text.c_str())) / 2 : left.x + left.w;
    font.DrawDataTextWide(float(textX), float(textY), z, text.c_str(), colour);
    return drawn;
}
