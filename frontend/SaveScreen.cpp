#include "frontend/SaveScreen.h"

#include "frontend/GameFlow.h"
#include "frontend/SaveGames.h"
#include "presentation/GuiTypes.h"
#include "world/Controls.h"
#include "world/Game.h"

namespace
{
const char16_t* const NO_SLOT = u"...";

std::u16string Widen(const char* text)
{
    std::u16string wide;
    for (; *text; ++text)
        wide += static_cast<char16_t>(static_cast<unsigned char>(*text));
    return wide;
}
} // namespace

CSlotListScreen::CSlotListScreen(CGameFlow& flow, int id, const char* layout, int firstSlot, int firstName,
                                 int firstDate)
    : CFrontEndScreen(flow, id, layout), m_firstSlot(firstSlot), m_firstName(firstName), m_firstDate(firstDate)
{
}

void CSlotListScreen::ShowSlotList()
{
    ShowPage();
    m_page.Focus(m_firstSlot);
    RefreshSlotList();
    m_flow.GetDirector().PlaySequence(SEQUENCE_SAVE_LOAD, false, -1);
    ArmInputGate();
}

void CSlotListScreen::HideSlotList()
{
    CFrontEndScreen::Hide();
    m_flow.GetDirector().StopSequence();
}

void CSlotListScreen::RefreshSlotList() const
{
    const std::string& folder = m_flow.GetSaves().GetFolder();
    if (folder.empty())
        return;
    for (int slot = 0; slot < SAVE_SLOT_COUNT; ++slot)
    {
        if (!DoesSlotExist(folder, slot))
            continue;
        SSaveHead head;
        CWString date;
        if (!CheckSaveSlot(folder, slot, &head) || !FormatSlotDate(folder, slot, date))
        {
            m_page.SetText(m_firstName + slot, NO_SLOT);
            m_page.SetText(m_firstDate + slot, NO_SLOT);
            continue;
        }
        m_page.SetText(m_firstName + slot, Widen(head.slotName));
        m_page.SetText(m_firstDate + slot, date.GetText());
    }
}

int CSlotListScreen::GetSlotOfButton(int32_t controlId) const
{
    return controlId >= m_firstSlot && controlId < m_firstSlot + SAVE_SLOT_COUNT ? controlId - m_firstSlot : -1;
}

CSaveScreen::CSaveScreen(CGameFlow& flow) : CSlotListScreen(flow, SCREEN_SAVE, LAYOUT, FIRST_SLOT, FIRST_NAME, FIRST_DATE)
{
}

void CSaveScreen::Show()
{
    m_selected = -1;
    m_step = STEP_IDLE;
    m_overwritePending = false;
    ShowSlotList();
    ReleaseSlots();
}

void CSaveScreen::Hide()
{
    HideSlotList();
    m_selected = -1;
    m_step = STEP_IDLE;
}

void CSaveScreen::ReleaseSlots()
{
    for (int slot = 0; slot < SAVE_SLOT_COUNT; ++slot)
    {
        m_page.SetEnabled(FIRST_SLOT + slot, true);
        m_page.SetEnabled(FIRST_NAME + slot, false);
    }
    m_page.Focus(FIRST_SLOT + (m_selected >= 0 ? m_selected : 0));
    m_selected = -1;
}

void CSaveScreen::HandleEvent(int32_t controlId, int32_t event, int32_t value)
{
    if (m_step != STEP_IDLE)
        return;
    if (IsPopupOpen())
    {
        if (event == GUI_EVENT_ACTIVATED)
            HandlePopupEvent(controlId);
        return;
    }
    const bool slotButton = GetSlotOfButton(controlId) >= 0;
    const bool nameBox = controlId >= FIRST_NAME && controlId < FIRST_NAME + SAVE_SLOT_COUNT;
    if (event == GUI_EVENT_ACTION)
    {
        if (slotButton)
            FocusBackOnBackAction(event, value, BACK);
        return;
    }
    if (event == GUI_EVENT_EDIT_CANCELLED && nameBox && controlId - FIRST_NAME == m_selected)
    {
        ReleaseSlots();
        return;
    }
    if (event != GUI_EVENT_ACTIVATED)
        return;
    if (controlId == BACK)
        LeavePageFor(SCREEN_MAIN_MENU);
    else if (slotButton && m_selected < 0)
    {
        m_selected = GetSlotOfButton(controlId);
        for (int slot = 0; slot < SAVE_SLOT_COUNT; ++slot)
            m_page.SetEnabled(FIRST_SLOT + slot, false);
        m_page.SetEnabled(FIRST_NAME + m_selected, true);
        m_page.Focus(FIRST_NAME + m_selected);
    }
    else if (nameBox && controlId - FIRST_NAME == m_selected)
        TakeName();
}

// The typed name without spaces at its ends: refused when it is "...", empty or
// another slot's.
void CSaveScreen::TakeName()
{
    const int box = FIRST_NAME + m_selected;
    std::string name = m_page.GetEditText(box, SAVE_NAME_BYTES);
    // The box keeps the places of erased characters as spaces.
    const size_t first = name.find_first_not_of(' ');
    name = first == std::string::npos ? std::string() : name.substr(first, name.find_last_not_of(' ') - first + 1);
    const CSaveGames& saves = m_flow.GetSaves();
    if (name.empty() || name == "..." || IsSlotNameUsed(saves.GetFolder(), name.c_str(), m_selected))
    {
        m_page.SetText(box, NO_SLOT);
        m_page.Focus(box);
        return;
    }
    m_slotName = name;
    if (DoesSlotExist(saves.GetFolder(), m_selected))
    {
        OpenPopup(OVERWRITE_POPUP, POPUP_CONFIRM);
        m_overwritePending = true;
        CGame& game = m_flow.GetGame();
        game.GetControls().Flush(game.GetFrameCount());
        return;
    }
    OpenSavingMessage();
}

void CSaveScreen::OpenSavingMessage()
{
    m_step = STEP_MESSAGE_SHOWN;
    OpenPopup(SLOT_WARNING_POPUP, -1, TEXT_SAVING);
}

void CSaveScreen::HandlePopupEvent(int32_t controlId)
{
    if (controlId == POPUP_CONFIRM)
    {
        ClosePopup(-1);
        if (m_overwritePending)
        {
            m_overwritePending = false;
            OpenSavingMessage();
            return;
        }
        ReleaseSlots();
    }
    else if (controlId == POPUP_CANCEL)
    {
        ClosePopup(-1);
        m_overwritePending = false;
        RefreshSlotList();
        ReleaseSlots();
    }
}

// The message is drawn once before the save, and stays until 2000 ms have passed.
void CSaveScreen::Update()
{
    switch (m_step)
    {
    case STEP_MESSAGE_SHOWN:
        m_step = STEP_SAVE_NOW;
        break;
    case STEP_SAVE_NOW:
        m_messageStart = GetScreenTime();
        m_saved = m_flow.GetSaves().Save(m_selected, m_slotName.c_str());
        m_step = STEP_WAIT;
        break;
    case STEP_WAIT:
        if (!HasTimeCome(GetScreenTime(), m_messageStart + SLOT_MESSAGE_MS))
            break;
        ClosePopup(-1);
        OpenPopup(m_saved ? COMPLETE_POPUP : FAILED_POPUP, POPUP_CONFIRM);
        RefreshSlotList();
        ArmInputGate();
        m_step = STEP_IDLE;
        break;
    default:
        break;
    }
}
