#include "frontend/LoadScreen.h"

#include "frontend/GameFlow.h"
#include "frontend/SaveGames.h"
#include "frontend/SaveScreen.h"
#include "presentation/GuiTypes.h"

CLoadScreen::CLoadScreen(CGameFlow& flow) : CSlotListScreen(flow, SCREEN_LOAD, LAYOUT, FIRST_SLOT, FIRST_NAME, FIRST_DATE)
{
}

void CLoadScreen::Show()
{
    m_slot = -1;
    ShowSlotList();
}

void CLoadScreen::Hide()
{
    HideSlotList();
    m_slot = -1;
}

void CLoadScreen::HandleEvent(int32_t controlId, int32_t event, int32_t value)
{
    const int slot = GetSlotOfButton(controlId);
    if (m_slot >= 0)
        return;
    if (IsPopupOpen())
    {
        if (event != GUI_EVENT_ACTIVATED || controlId != POPUP_CONFIRM)
            return;
        ClosePopup(FIRST_SLOT + m_chosenSlot);
        if (m_loaded)
            LeavePageFor(SCREEN_HUB);
        else
            RefreshSlotList();
        return;
    }
    if (event == GUI_EVENT_ACTION)
    {
        if (slot >= 0)
            FocusBackOnBackAction(event, value, BACK);
        return;
    }
    if (event != GUI_EVENT_ACTIVATED)
        return;
    if (controlId == BACK)
        LeavePageFor(SCREEN_MAIN_MENU);
    else if (slot >= 0)
    {
        if (!CheckSaveSlot(m_flow.GetSaves().GetFolder(), slot))
            return;
        m_slot = slot;
        m_chosenSlot = slot;
        m_firstFrame = false;
        m_loadDone = false;
        OpenPopup(SLOT_WARNING_POPUP, -1, TEXT_LOADING);
    }
}

// The message is drawn once before the load, and stays until 2000 ms have passed.
void CLoadScreen::Update()
{
    if (m_slot < 0)
        return;
    if (!m_firstFrame)
    {
        m_firstFrame = true;
        return;
    }
    if (!m_loadDone)
    {
        m_messageStart = GetScreenTime();
        std::string why;
        m_loaded = m_flow.GetSaves().Load(m_slot, why);
        m_loadDone = true;
        return;
    }
    if (!HasTimeCome(GetScreenTime(), m_messageStart + SLOT_MESSAGE_MS))
        return;
    ClosePopup(-1);
    OpenPopup(m_loaded ? COMPLETE_POPUP : FAILED_POPUP, POPUP_CONFIRM);
    m_slot = -1;
    ArmInputGate();
}
