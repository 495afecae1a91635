#include "frontend/HubScreen.h"

#include "frontend/GameFlow.h"
#include "world/Game.h"

CHubScreen::CHubScreen(CGameFlow& flow) : CFrontEndScreen(flow, SCREEN_HUB, LAYOUT)
{
}

void CHubScreen::Show()
{
    ShowPage();
    m_page.Focus(ZONE_MAP);
    m_flow.GetDirector().PlaySequence(SEQUENCE_BRIDGE, false, -1);
    ArmInputGate();
}

void CHubScreen::HideExtras()
{
    m_page.SetVisible(QUOTE_PANEL_A, false);
    m_page.SetVisible(QUOTE_PANEL_B, false);
    m_flow.GetGame().GetQuoteSpriteA().Hide();
    m_flow.GetGame().GetQuoteSpriteB().Hide();
}

void CHubScreen::HandleEvent(int32_t controlId, int32_t event, int32_t value)
{
    if (event == GUI_EVENT_ACTION)
    {
        if ((controlId >= ZONE_MAP && controlId <= RESEARCH) || controlId == STORES)
            FocusBackOnBackAction(event, value, MAIN_MENU);
        return;
    }
    if (event != GUI_EVENT_ACTIVATED)
        return;
    switch (controlId)
    {
    case ZONE_MAP:
        m_flow.SetScreen(SCREEN_ZONE_MAP);
        break;
    case STATION:
        m_flow.SetScreen(SCREEN_STATION);
        break;
    case SHIP_SELECT:
        m_flow.SetScreen(SCREEN_SHIP_SELECT);
        break;
    case RESEARCH:
        m_flow.SetScreen(SCREEN_RESEARCH);
        break;
    case STORES:
        m_flow.SetScreen(SCREEN_STORES);
        break;
    case MAIN_MENU:
        m_flow.GetDirector().StopSequence();
        m_flow.GetGame().GetQuoteSpriteA().Hide();
        m_flow.GetGame().GetQuoteSpriteB().Hide();
        m_flow.SetScreen(SCREEN_MAIN_MENU);
        break;
    default:
        break;
    }
}
