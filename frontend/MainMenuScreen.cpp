#include "frontend/MainMenuScreen.h"

#include "core/Console.h"
#include "core/WString.h"
#include "core/WideFormat.h"
#include "frontend/GameFlow.h"
#include "frontend/LoadingScreen.h"
#include "frontend/PlayerShipAccess.h"
#include "frontend/SaveGames.h"
#include "frontend/WebPages.h"
#include "presentation/GuiManager.h"
#include "world/Game.h"
#include "world/TextPageLink.h"
#include "world/ZoneLink.h"

namespace
{
constexpr uint32_t TEXT_HARD = 0xc2000003;
constexpr uint32_t TEXT_NORMAL = 0x26000000;
constexpr uint32_t TEXT_EASY = 0xf000004;
constexpr uint32_t TEXT_ENTER_NAME = 0xff000003;
constexpr uint32_t TEXT_BEST_TIME = 0x1b000003;
constexpr uint32_t TEXT_MINUTES = 0xb1000002;
constexpr uint32_t TEXT_SECONDS = 0x48000002;
constexpr uint32_t TEXT_SURVIVAL = 0x44000007;
constexpr uint32_t TEXT_BEST_TIMED = 0x97000005;
constexpr uint32_t TEXT_BEST_OPEN = 0xd0000003;
constexpr int32_t NEW_GAME_GEMS[GEM_KIND_COUNT] = {25, 12, 6};
constexpr uint32_t SKIPPED_TUTORIAL_ZONE_MS = 360000;

std::u16string Widen(const std::string& text)
{
    return std::u16string(text.begin(), text.end());
}

// The best score of a variant and its code (16 upper-case hexadecimal digits) in the
// survival popup's text.
std::u16string FormatBestScore(uint32_t format, int32_t score, const std::string& code)
{
    CWString text;
    FormatWide(text, LookUpText(format).c_str(), static_cast<int>(score), Widen(code).c_str());
    return std::u16string(text.GetText());
}

void SetNewGameGems(CCampaignFlowLink& campaign)
{
    for (int kind = 0; kind < GEM_KIND_COUNT; ++kind)
        campaign.SetGemStock(kind, NEW_GAME_GEMS[kind]);
}
} // namespace

CMainMenuScreen::CMainMenuScreen(CGameFlow& flow) : CFrontEndScreen(flow, SCREEN_MAIN_MENU, LAYOUT)
{
}

void CMainMenuScreen::Show()
{
    CGame& game = m_flow.GetGame();
    ShowPage();
    m_page.SetEnabled(DIRECT_START, false);
    m_page.SetVisible(DIRECT_START, false);
    m_page.Focus(NEW_GAME);
    game.GetRun().quickShip = false;
    game.GetRun().survival = false;
    m_flow.GetDirector().PlaySequence(SEQUENCE_MAIN_START, false, 0);
    const bool inGame = m_flow.IsRunActive();
    m_page.SetEnabled(SAVE, inGame && game.GetZones().IsSavingAllowed());
    m_page.SetEnabled(LOAD, m_flow.GetSaves().AnySaveExists());
    m_page.SetEnabled(CONTINUE, inGame);
    m_page.SetEnabled(QUICK_ACTION, !inGame);
    m_page.SetVisible(HIDDEN_A, false);
    m_page.SetVisible(HIDDEN_B, false);
    game.GetQuoteSpriteA().Hide();
    game.GetQuoteSpriteB().Hide();
    m_difficultyAtShow = m_flow.GetCampaign().GetDifficulty();
    m_newGameStep = NEW_GAME_IDLE;
    ArmInputGate();
}

void CMainMenuScreen::Hide()
{
    CGame& game = m_flow.GetGame();
    game.GetQuoteSpriteA().Hide();
    game.GetQuoteSpriteB().Hide();
    ClosePopup(-1);
    HidePage();
    game.GetRun().quickShip = false;
    game.GetRun().survival = false;
    m_flow.GetDirector().StopSequence();
}

void CMainMenuScreen::SetDifficultyIndicator(int difficulty)
{
    const uint32_t text = difficulty == 2 ? TEXT_HARD : difficulty == 1 ? TEXT_NORMAL : TEXT_EASY;
    m_popup.SetTextById(DIFFICULTY_TEXT, text);
}

std::string CMainMenuScreen::MakePilotName(const std::string& typed)
{
    std::string name = typed.substr(0, PILOT_NAME_LENGTH);
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    size_t first = name.find_first_not_of(' ');
    name = first == std::string::npos ? std::string() : name.substr(first);
    return name.empty() ? std::string(DEFAULT_PILOT_NAME) : name;
}

void CMainMenuScreen::HandleEvent(int32_t controlId, int32_t event, int32_t value)
{
    if (m_newGameStep != NEW_GAME_IDLE)
        return;
    if (IsPopupOpen())
    {
        if (event == GUI_EVENT_ACTIVATED)
            HandlePopupEvent(controlId);
        return;
    }
    HandlePageEvent(controlId, event, value);
}

void CMainMenuScreen::HandlePageEvent(int32_t controlId, int32_t event, int32_t value)
{
    if (event == GUI_EVENT_ACTION)
    {
        if (controlId >= NEW_GAME && controlId <= OPTIONS)
            FocusBackOnBackAction(event, value, EXIT);
        return;
    }
    if (event != GUI_EVENT_ACTIVATED)
        return;
    CGame& game = m_flow.GetGame();
    switch (controlId)
    {
    case NEW_GAME:
        OpenNamePopup();
        break;
    case CONTINUE:
        ShowPageScreen(SCREEN_HUB);
        break;
    case LOAD:
        ShowPageScreen(SCREEN_LOAD);
        break;
    case SAVE:
        ShowPageScreen(SCREEN_SAVE);
        break;
    case OPTIONS:
        ShowPageScreen(SCREEN_OPTIONS);
        break;
    case HALL_OF_FAME:
        ShowPageScreen(SCREEN_HALL_OF_FAME);
        break;
    case EXIT:
        m_popupKind = POPUP_EXIT;
        OpenPopup(EXIT_POPUP, EXIT_CONFIRM);
        break;
    case QUICK_ACTION:
        game.GetRun().quickShip = true;
        m_flow.SetRunActive(false);
        OpenQuickActionPopup();
        break;
    case SURVIVAL:
        game.ResetLevelState();
        game.GetRun().survival = true;
        OpenSurvivalPopup();
        break;
    case HINTS:
        OpenWebPage(HINTS_PAGE);
        break;
    case DIRECT_START:
        StartLevelDirectly();
        break;
    default:
        break;
    }
}

void CMainMenuScreen::ShowPageScreen(int screen)
{
    HidePage();
    m_flow.SetScreen(screen);
}

void CMainMenuScreen::CloseMenuPopup(int focusId)
{
    ClosePopup(focusId);
    m_popupKind = POPUP_NONE;
}

void CMainMenuScreen::HandlePopupEvent(int32_t controlId)
{
    CCampaignFlowLink& campaign = m_flow.GetCampaign();
    SRunState& run = m_flow.GetGame().GetRun();
    switch (m_popupKind)
    {
    case POPUP_NAME:
        if (controlId == DIFFICULTY_CYCLE)
        {
            campaign.SetDifficulty((campaign.GetDifficulty() + 1) % 3);
            SetDifficultyIndicator(campaign.GetDifficulty());
        }
        else if (controlId == START_WITH_TUTORIAL || controlId == START_WITHOUT_TUTORIAL)
        {
            m_skipTutorial = controlId == START_WITHOUT_TUTORIAL;
            m_newGameStep = NEW_GAME_TAKE_NAME;
        }
        else if (controlId == POPUP_CLOSE)
        {
            CloseMenuPopup(NEW_GAME);
            campaign.SetDifficulty(m_difficultyAtShow);
        }
        break;
    case POPUP_EXIT:
        if (controlId == EXIT_CONFIRM)
            m_flow.RequestQuit();
        else if (controlId == POPUP_CLOSE)
            CloseMenuPopup(NEW_GAME);
        break;
    case POPUP_QUICK_ACTION:
        if (controlId == QUICK_START)
            StartGameFromMainMenu(false, false);
        else if (controlId == POPUP_CLOSE)
        {
            CloseMenuPopup(QUICK_ACTION);
            run.quickShip = false;
        }
        break;
    case POPUP_SURVIVAL:
        if (controlId == SURVIVAL_TIMED || controlId == SURVIVAL_OPEN)
            StartGameFromMainMenu(true, controlId == SURVIVAL_TIMED);
        else if (controlId == POPUP_CLOSE)
        {
            CloseMenuPopup(SURVIVAL);
            run.survival = false;
        }
        break;
    default:
        break;
    }
}

void CMainMenuScreen::OpenNamePopup()
{
    m_popupKind = POPUP_NAME;
    if (!OpenPopup(NAME_POPUP, NAME_EDIT, TEXT_ENTER_NAME))
        return;
    m_popup.SetText(NAME_EDIT, Widen(DEFAULT_PILOT_NAME));
    m_popup.SetEnabled(START_WITHOUT_TUTORIAL, !m_flow.GetCampaign().IsFirstPlay());
    m_flow.GetCampaign().SetDifficulty(1);
    SetDifficultyIndicator(1);
}

// The best time as "Best time: 2 min 5 sec" (the minutes only when there are any).
void CMainMenuScreen::OpenQuickActionPopup()
{
    m_popupKind = POPUP_QUICK_ACTION;
    if (!OpenPopup(QUICK_ACTION_POPUP, QUICK_START))
        return;
    const uint32_t seconds = m_flow.GetCampaign().GetBestQuickActionTime() / 1000;
    std::u16string text = LookUpText(TEXT_BEST_TIME) + u" ";
    CWString part;
    if (seconds >= 60)
    {
        FormatWide(part, u"%i ", static_cast<int>(seconds / 60));
        text += part.GetText() + LookUpText(TEXT_MINUTES) + u" ";
    }
    FormatWide(part, u"%i ", static_cast<int>(seconds % 60));
    text += part.GetText() + LookUpText(TEXT_SECONDS);
    m_popup.SetText(QUICK_BEST_TIME, text);
}

void CMainMenuScreen::OpenSurvivalPopup()
{
    m_popupKind = POPUP_SURVIVAL;
    if (!OpenPopup(SURVIVAL_POPUP, SURVIVAL_TIMED))
        return;
    CCampaignFlowLink& campaign = m_flow.GetCampaign();
    m_popup.SetTextById(SURVIVAL_TIMED, TEXT_SURVIVAL);
    m_popup.SetText(SURVIVAL_BEST_TIMED,
                    FormatBestScore(TEXT_BEST_TIMED, campaign.GetBestSurvivalScore(1), campaign.GetSurvivalScoreCode(1)));
    m_popup.SetText(SURVIVAL_BEST_OPEN,
                    FormatBestScore(TEXT_BEST_OPEN, campaign.GetBestSurvivalScore(0), campaign.GetSurvivalScoreCode(0)));
}

void CMainMenuScreen::Update()
{
    CDirectorFlowLink& director = m_flow.GetDirector();
    switch (m_newGameStep)
    {
    case NEW_GAME_TAKE_NAME:
    {
        if (g_gui)
            g_gui->SetFocus(-1);
        const std::string name = MakePilotName(m_popup.GetEditText(NAME_EDIT, PILOT_NAME_LENGTH + 1));
        m_flow.GetGame().GetZones().SetPilotName(name.c_str());
        for (int id : {NAME_EDIT, START_WITH_TUTORIAL, START_WITHOUT_TUTORIAL, POPUP_CLOSE})
            m_popup.SetEnabled(id, false);
        m_newGameStep = NEW_GAME_PLAY_INTRO;
        break;
    }
    case NEW_GAME_PLAY_INTRO:
        HidePage();
        m_popup.SetVisible(POPUP_WINDOW, false);
        ShowLoadingScreen();
        // The menu's backdrop gives way to the intro.
        director.StopSequence();
        director.PlaySequence(SEQUENCE_INTRO, false, -1);
        HideLoadingScreen();
        m_newGameStep = NEW_GAME_WAIT_INTRO;
        break;
    case NEW_GAME_WAIT_INTRO:
        if (!director.IsSequencePlaying())
            StartNewGameAfterIntro();
        break;
    default:
        break;
    }
}

void CMainMenuScreen::StartNewGameAfterIntro()
{
    m_newGameStep = NEW_GAME_IDLE;
    CGame& game = m_flow.GetGame();
    CDirectorFlowLink& director = m_flow.GetDirector();
    CCampaignFlowLink& campaign = m_flow.GetCampaign();
    ShowLoadingScreen();
    const bool started = m_flow.StartNewGame();
    HideLoadingScreen();
    CloseMenuPopup(-1);
    HidePage();
    if (!started)
    {
        if (g_console)
            g_console->Printf("The new game's level could not start");
        Show();
        return;
    }
    game.GetRun().clockCopy = game.GetTime();
    const std::string name = game.GetZones().GetPilotName();
    game.GetTextPages().SetPilotName(Widen(name));
    if (g_gui)
        g_gui->SetPilotName(Widen(name));
    director.ClearTutorialState();
    if (m_skipTutorial)
    {
        campaign.AddSkippedTutorialRewards();
        SetNewGameGems(campaign);
        game.GetZones().AdvanceZoneClock(SKIPPED_TUTORIAL_ZONE_MS);
        director.SetProgressStage(STAGE_CAMPAIGN);
        m_flow.SetScreen(SCREEN_HUB);
        if (CFrontEndScreen* hub = m_flow.GetScreen(SCREEN_HUB))
            hub->ArmInputGate();
        return;
    }
    game.GetControls().Flush(game.GetFrameCount());
    director.SetProgressStage(STAGE_TUTORIAL);
    director.SetTutorialStep(0);
    m_flow.SetMode(GAME_MODE_FLIGHT);
}

void CMainMenuScreen::StartGameFromMainMenu(bool survival, bool timedVariant)
{
    CGame& game = m_flow.GetGame();
    CCampaignFlowLink& campaign = m_flow.GetCampaign();
    CloseMenuPopup(-1);
    SRunState& run = game.GetRun();
    run.survival = survival;
    run.quickShip = !survival;
    run.timedRun = survival && timedVariant;
    ShowLoadingScreen();
    const bool started = m_flow.StartNewGame();
    HideLoadingScreen();
    HidePage();
    if (!started)
    {
        if (g_console)
            g_console->Printf("The run's level could not start");
        Show();
        return;
    }
    SetNewGameGems(campaign);
    game.GetZones().AdvanceZoneClock(SKIPPED_TUTORIAL_ZONE_MS);
    const int32_t hull = GetDesignHullHealth(0);
    campaign.SetStoredHull(0, hull);
    campaign.SetStoredHull(1, hull);
    game.GetZones().SetZoneValue(7, 12);
    m_flow.ClearTimedMessage();
    m_flow.GetDirector().SetProgressStage(STAGE_CAMPAIGN);
    m_flow.SetMode(GAME_MODE_FLIGHT);
    run.clockCopy = game.GetTime();
    run.waveStartTime = game.GetTime();
}

void CMainMenuScreen::StartLevelDirectly()
{
    CGame& game = m_flow.GetGame();
    CZoneLink& zones = game.GetZones();
    CCampaignFlowLink& campaign = m_flow.GetCampaign();
    HidePage();
    game.SetShipConfigFileName(std::string());
    zones.SetCurrentZone(0);
    if (!game.StartLevel())
    {
        if (g_console)
            g_console->Printf("The level could not start");
        Show();
        return;
    }
    zones.ResetSpawnState();
    zones.InitNodeState();
    campaign.SetNewGameResearch();
    m_flow.SetRunActive(true);
    campaign.SetStoredHull(0, GetDesignHullHealth(0));
    campaign.SetStoredHull(1, GetDesignHullHealth(1));
    m_flow.SetMode(GAME_MODE_FLIGHT);
    m_flow.SetTutorialPosition(true);
    zones.SetCurrentShip(1);
    m_flow.GetDirector().SetBossGoFlags();
}
