#include "frontend/DeadScreen.h"

#include "frontend/GameFlow.h"
#include "world/Backdrop.h"
#include "world/Game.h"
#include "world/ZoneLink.h"

namespace
{
constexpr int QUICK_ACTION_STILL = 259;
constexpr int STILL = 100;
// Frames of the still picture at which a result appears.
constexpr int QUICK_PANEL_FRAME = 176;
constexpr int QUICK_TIME_FRAME = 186;
constexpr int QUICK_BEST_FRAME = 196;
constexpr int SURVIVAL_PANEL_FRAME = 61;
constexpr int SURVIVAL_SCORE_FRAME = 71;
constexpr int SURVIVAL_TIME_FRAME = 81;
} // namespace

CDeadScreen::CDeadScreen(CGameFlow& flow) : CFrontEndScreen(flow, SCREEN_DEAD, LAYOUT)
{
}

int CDeadScreen::ChooseEnding() const
{
    const SRunState& run = m_flow.GetGame().GetRun();
    if (run.survival)
        return SEQUENCE_SURVIVAL_END;
    if (run.quickShip)
        return SEQUENCE_QUICK_ACTION_END;
    if (m_flow.GetDirector().GetProgressStage() == STAGE_CAMPAIGN_OVER)
        return SEQUENCE_CAMPAIGN_END;
    return SEQUENCE_STATION_DESTROYED;
}

void CDeadScreen::Show()
{
    ShowPage();
    m_page.Focus(CONTINUE);
    for (int id : {RESULT_A, RESULT_B, RESULT_BUTTON, RESULT_C, RESULT_PANEL})
        m_page.SetVisible(id, false);
    m_ending = ChooseEnding();
    m_stillShown = false;
    m_flow.GetDirector().PlaySequence(m_ending, false, -1);
    ArmInputGate();
}

// Once the ending is over its still picture stays, and the results appear as its
// frames come.
void CDeadScreen::Update()
{
    CDirectorFlowLink& director = m_flow.GetDirector();
    if (!m_stillShown)
    {
        if (director.IsSequencePlaying())
            return;
        m_stillShown = true;
        const bool quick = m_flow.GetGame().GetRun().quickShip;
        director.PlaySequence(m_ending, false, quick ? QUICK_ACTION_STILL : STILL);
    }
    RevealResults(director.GetSequenceFrame());
}

void CDeadScreen::RevealResults(int frame)
{
    const SRunState& run = m_flow.GetGame().GetRun();
    if (run.quickShip)
    {
        m_page.SetVisible(RESULT_PANEL, frame >= QUICK_PANEL_FRAME);
        m_page.SetVisible(RESULT_A, frame >= QUICK_TIME_FRAME);
        m_page.SetVisible(RESULT_B, frame >= QUICK_BEST_FRAME);
    }
    else if (run.survival)
    {
        m_page.SetVisible(RESULT_PANEL, frame >= SURVIVAL_PANEL_FRAME);
        m_page.SetVisible(RESULT_A, frame >= SURVIVAL_SCORE_FRAME);
        m_page.SetVisible(RESULT_B, frame >= SURVIVAL_TIME_FRAME);
        m_page.SetVisible(RESULT_C, frame >= SURVIVAL_TIME_FRAME);
        m_page.SetVisible(RESULT_BUTTON, frame >= SURVIVAL_TIME_FRAME);
    }
}

// Continue ends the game: the level, the zone state and the run go, and the main menu
// shows.
void CDeadScreen::HandleEvent(int32_t controlId, int32_t event, int32_t)
{
    if (controlId != CONTINUE || event != GUI_EVENT_ACTIVATED)
        return;
    CGame& game = m_flow.GetGame();
    game.GetBackdrop().Show(false);
    for (int id : {RESULT_A, RESULT_B, RESULT_C})
        m_page.SetText(id, std::u16string());
    game.EndLevel();
    game.GetZones().Reset();
    m_flow.SetRunActive(false);
    HidePage();
    m_page.SetVisible(RESULT_PANEL, false);
    m_flow.SetScreen(SCREEN_MAIN_MENU);
}
