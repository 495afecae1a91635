#include "frontend/LoadScreen.h"

#include "frontend/GameFlow.h"
#include "frontend/SaveGames.h"
#include "frontend/SaveScreen.h"
#include "presentation/GuiTypes.h"

CLoadScreen::CLoadScreen(CGameFlow& flow) : CFrontEndScreen(flow, SCREEN_LOAD, LAYOUT)
{
}

void CLoadScreen::Show()
{
    ShowPage();
    m_slot = -1;
    m_page.Focus(FIRST_SLOT);
    RefreshSlotList(m_page, m_flow.GetSaves(), FIRST_NAME, FIRST_DATE);
    m_flow.GetDirector().PlaySequence(SEQUENCE_SAVE_LOAD, false, -1);
    ArmInputGate();
}

void CLoadScreen::Hide()
{
    CFrontEndScreen::Hide();
    m_slot = -1;
    m_flow.GetDirector().StopSequence();
}

void CLoadScreen::HandleEvent(int32_t controlId, int32_t event, int32_t value)
{
    const bool slotButton = controlId >= FIRST_SLOT && controlId < FIRST_SLOT + SAVE_SLOT_COUNT;
    if (m_slot >= 0)
        return;
    if (IsPopupOpen())
    {
        if (event != GUI_EVENT_ACTIVATED || controlId != POPUP_CONFIRM)
            return;
        ClosePopup(FIRST_SLOT + m_chosenSlot);
        if (!m_loaded)
        {
            RefreshSlotList(m_page, m_flow.GetSaves(), FIRST_NAME, FIRST_DATE);
            return;
        }
        HidePage();
        m_flow.GetDirector().StopSequence();
        m_flow.SetScreen(SCREEN_HUB);
        return;
    }
    if (event == GUI_EVENT_ACTION)
    {
        if (slotButton)
            FocusBackOnBackAction(event, value, BACK);
        return;
    }
    if (event != GUI_EVENT_ACTIVATED)
        return;
    if (controlId == BACK)
    {
        HidePage();
        m_flow.GetDirector().StopSequence();
        m_flow.SetScreen(SCREEN_MAIN_MENU);
    }
    else if (slotButton)
    {
        const int slot = controlId - FIRST_SLOT;
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
