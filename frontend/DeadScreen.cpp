#include "frontend/DeadScreen.h"

#include "core/WString.h"
#include "core/WideFormat.h"
#include "frontend/GameFlow.h"
#include "frontend/ScoreCode.h"
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

std::u16string CDeadScreen::FormatMinutesSeconds(uint32_t ms)
{
    uint32_t seconds = ms / 1000;
    if (seconds >= 3600)
        seconds = 59 * 60 + 59;
    CWString text;
    FormatWide(text, u"%02i:%02i", static_cast<int>(seconds / 60), static_cast<int>(seconds % 60));
    return std::u16string(text.GetText());
}

void CDeadScreen::FillResults()
{
    const SRunState& run = m_flow.GetGame().GetRun();
    CCampaignFlowLink& campaign = m_flow.GetCampaign();
    const uint32_t runTime = m_flow.GetRunTime();
    if (run.quickShip)
    {
        m_page.SetText(RESULT_A, FormatMinutesSeconds(runTime));
        m_page.SetText(RESULT_B, FormatMinutesSeconds(campaign.GetBestQuickActionTime()));
        return;
    }
    if (!run.survival)
        return;
    const int variant = run.timedRun ? 1 : 0;
    // The code of this run's score (the best score's own code is the hall of fame's).
    const uint32_t kind = variant == 1 ? SCORE_CODE_SURVIVAL_TIMED : SCORE_CODE_SURVIVAL_OPEN;
    const std::string code = FormatScoreCode(
        MakeScoreCode(static_cast<uint32_t>(campaign.GetScore()), kind, m_flow.GetGame().GetZones().GetPilotName()));
    CWString text;
    FormatWide(text, u"%i - (%s)", static_cast<int>(campaign.GetScore()),
               std::u16string(code.begin(), code.end()).c_str());
    m_page.SetText(RESULT_A, text.GetText());
    const uint32_t seconds = runTime / 1000;
    FormatWide(text, u"%02i:%02i:%02i", static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
               static_cast<int>(seconds % 60));
    m_page.SetText(RESULT_B, text.GetText());
    FormatWide(text, u"%i", static_cast<int>(campaign.GetBestSurvivalScore(variant)));
    m_page.SetText(RESULT_C, text.GetText());
}

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
    FillResults();
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
    if (controlId == CONTINUE && event == GUI_EVENT_ACTIVATED)
        EndRun();
}

void CDeadScreen::EndRun()
{
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
