// The game flow's update, once a frame after the GUI: the exit warning's blink, the
// logo wait of the first frame, the requests into the front end and into flight,
// Escape in flight and in the front end, the loss watches and the worms.

#include "frontend/DeadScreen.h"
#include "frontend/FrontEndScreen.h"
#include "frontend/GameFlow.h"
#include "frontend/LoadingScreen.h"
#include "frontend/Options.h"
#include "frontend/PlayerShipAccess.h"
#include "platform/AudioSystem.h"
#include "platform/CoreInput.h"
#include "platform/input/DikCodes.h"
#include "presentation/GuiManager.h"
#include "ships/ComponentDef.h"
#include "ships/ShipLevelData.h"
#include "world/AsteroidField.h"
#include "world/EffectCache.h"
#include "world/Backdrop.h"
#include "world/DirectorLink.h"
#include "world/Game.h"
#include "world/HudLink.h"
#include "world/Quadtree.h"
#include "world/TextPageLink.h"
#include "world/World.h"
#include "world/ZoneLink.h"

namespace
{
// The screens whose Escape leads to the main menu; every other front-end screen but
// the main menu and the gravity drive leads to the hub.
bool EscapesToMainMenu(int screen)
{
    switch (screen)
    {
    case SCREEN_HUB:
    case SCREEN_SAVE:
    case SCREEN_LOAD:
    case SCREEN_OPTIONS:
    case SCREEN_CONTROLS:
    case SCREEN_HALL_OF_FAME:
        return true;
    default:
        return false;
    }
}
} // namespace

void CGameFlow::Update()
{
    // 1. While the exit warning is open only its line blinks.
    if (IsExitWarningOpen())
    {
        UpdateExitWarningBlink();
        return;
    }

    GetDirector().Update();

    // 2. The first frame waits for the logo; a logo that is missing or refused never
    // plays, so it counts as ended.
    if (m_firstFrame)
    {
        if (GetDirector().IsSequencePlaying())
            return;
        m_firstFrame = false;
        m_mode = GAME_MODE_FRONT_END;
        SetScreen(SCREEN_MAIN_MENU);
    }

    // 3. The pilot record follows the game.
    GetCampaign().RefreshPilotRecord();

    // 4. and 5. The requests.
    if (m_goFrontEnd)
        GoToFrontEnd();
    if (m_goFlight)
        GoToFlight();

    if (m_mode == GAME_MODE_FLIGHT)
    {
        // 6. Escape in flight: the exit warning.
        if (IsEscapeDown() && !m_game.GetTextPages().IsAnyPageShowing() &&
            !m_game.GetDirector().IsCoveringSequencePlaying() && TakeEscape())
            OpenExitWarning(false);
        // 8. and 9.
        if (!IsExitWarningOpen())
        {
            WatchLosses();
            PressWorms(m_game.GetTime());
        }
    }
    else if (m_mode == GAME_MODE_FRONT_END)
        RouteFrontEndEscape();

    // 10. The pointer shows in the menu and not in flight; the current screen's update.
    if (!IsExitWarningOpen())
    {
        if (m_mode == GAME_MODE_IN_GAME_MENU)
            SetPointerShown(true);
        else if (m_mode == GAME_MODE_FLIGHT)
            SetPointerShown(false);
    }
    if (CFrontEndScreen* screen = GetCurrentScreen())
        screen->Update();
}

void SetPointerShown(bool shown)
{
    if (!g_gui)
        return;
    // The show count: 1 shows the GUI's pointer, 0 hides it.
    if (shown)
    {
        if (g_gui->ShowMouseCursor(true) > 1)
            g_gui->ShowMouseCursor(false);
    }
    else
        while (g_gui->ShowMouseCursor(false) > 0)
        {
        }
}

bool CGameFlow::IsEscapeDown() const
{
    return g_input && g_input->IsKeyboardPresent() && g_input->IsKeyDown(Dik::ESCAPE);
}

// Escape acts at most once every 250 ms of real time.
bool CGameFlow::TakeEscape()
{
    const uint32_t now = GetScreenTime();
    if (m_escapeDebounceRunning && !HasTimeCome(now, m_escapeDebounce))
        return false;
    m_escapeDebounce = now + ESCAPE_DEBOUNCE_MS;
    m_escapeDebounceRunning = true;
    return true;
}

void CGameFlow::GoToFrontEnd()
{
    m_goFrontEnd = false;
    if (g_audio)
        g_audio->StopAllChannels();
    m_mode = GAME_MODE_FRONT_END;
    ShowLoadingScreen();
    LoadFrontEndScreens();
    HideLoadingScreen();
    m_game.GetHud().Show(false);
    if (m_goMainMenu)
    {
        m_goMainMenu = false;
        m_game.EndLevel();
        m_game.GetEffectCache().Reset();
        m_game.GetZones().Reset();
        m_runActive = false;
        m_game.GetControls().Flush(m_game.GetFrameCount());
        SetScreen(SCREEN_MAIN_MENU);
        return;
    }
    CDirectorFlowLink& director = GetDirector();
    switch (director.GetTutorialStep())
    {
    case 10:
        RaiseGemsForTutorialResearch();
        SetScreen(SCREEN_RESEARCH);
        return;
    case 22:
        SetScreen(SCREEN_STATION);
        return;
    case 20:
        SetScreen(SCREEN_HUB);
        return;
    default:
        break;
    }
    if (director.GetProgressStage() == STAGE_CAMPAIGN_OVER)
    {
        // The campaign is over: the bonus for the difficulty, then the hall of fame.
        CCampaignFlowLink& campaign = GetCampaign();
        const int difficulty = campaign.GetDifficulty();
        if (difficulty == 2)
            campaign.SetScore(campaign.GetScore() + 400000);
        else if (difficulty == 1)
            campaign.SetScore(campaign.GetScore() + 200000);
        campaign.EnterHallOfFame();
        m_game.EndLevel();
        SetScreen(SCREEN_HALL_OF_FAME);
        return;
    }
    m_game.GetZones().CheckFixedResources();
    SetScreen(SCREEN_ZONE_MAP);
}

// The tutorial's research step needs the price of the fourth hull in the stocks.
void CGameFlow::RaiseGemsForTutorialResearch()
{
    CCampaignFlowLink& campaign = GetCampaign();
    const CShipComponentDatabase* database = GetLevelShipDatabase();
    const CShipComponentDef* hull = database ? database->GetComponentDef(COMPONENT_HULL, 3) : nullptr;
    if (!hull)
        return;
    for (int kind = 0; kind < GEM_KIND_COUNT; ++kind)
    {
        const int32_t cost = static_cast<int32_t>(hull->m_cost[kind]);
        if (campaign.GetGemStock(kind) < cost)
            campaign.SetGemStock(kind, cost);
    }
}

void CGameFlow::GoToFlight()
{
    m_goFlight = false;
    if (g_audio)
        g_audio->StopAllChannels();
    LoadFlightScreens();
    m_mode = GAME_MODE_FLIGHT;
    m_game.GetBackdrop().Show(true);
    m_game.GetControls().Flush(m_game.GetFrameCount());
    m_stationLossTime = 0;
    m_shipLossTime = 0;
    m_shipLossRecorded = false;
    PlaceFlightStart();
}

// The current node is entered first; then either the player's ship (a tutorial start,
// quick-ship and survival runs) or the station is placed; outside the tutorial start
// the sector's asteroids follow.
void CGameFlow::PlaceFlightStart()
{
    CZoneLink& zones = m_game.GetZones();
    zones.EnterNode();
    // The tutorial's start: the director's gate, in the tutorial's stage (a director
    // that keeps every gate open starts no tutorial of itself).
    const bool tutorialStart =
        m_game.GetDirector().IsGateOpen(GATE_TUTORIAL_START) && GetDirector().GetProgressStage() == STAGE_TUTORIAL;
    CWorld* world = m_game.GetWorld();
    CQuadtree* tree = m_game.GetQuadtree();
    if (tutorialStart || IsQuickOrSurvival())
    {
        CVector2D place(TUTORIAL_STATION_X, TUTORIAL_STATION_Y);
        if (tree)
            tree->FindSpawnPosition(SHIP_SPAWN_CLEARANCE, place, false);
        const int slot = zones.GetCurrentShip();
        const int32_t handle = SpawnPlayerShip(slot, place);
        WarpIn(handle);
        m_game.GetHud().Show(true);
        m_game.GetHud().ClearStationIcons();
        if (tutorialStart && !IsQuickOrSurvival())
        {
            // The tutorial starts on a damaged ship.
            const int32_t health = static_cast<int32_t>(0.3f * static_cast<float>(GetDesignHullHealth(1)));
            if (CGameObject* ship = FindObject(handle))
                ship->GetBody().health = health;
            GetCampaign().SetStoredHull(1, health);
        }
    }
    else if (world)
    {
        MakeStation();
        zones.PlaceCrewNodeAsteroid();
    }
    if (!tutorialStart)
        PlaceSectorAsteroids();
}

// 7. Escape in the front end goes back, once every 250 ms, while no text page shows
// and the director lets the GUI take keys.
void CGameFlow::RouteFrontEndEscape()
{
    // A key being bound on the controls screen takes Escape as its own.
    if (!IsEscapeDown() || m_game.GetTextPages().IsAnyPageShowing() ||
        !m_game.GetDirector().IsGateOpen(GATE_GUI_KEYBOARD) || m_options->IsCapturing() || !TakeEscape())
        return;
    switch (m_screenId)
    {
    case SCREEN_MAIN_MENU:
        // The main menu's own answer: the exit warning.
        OpenExitWarning(true);
        return;
    case SCREEN_DEAD:
        // The lost run ends as by the screen's own button: it cannot be continued.
        if (CDeadScreen* dead = dynamic_cast<CDeadScreen*>(GetCurrentScreen()))
            dead->EndRun();
        else
            SetScreen(SCREEN_MAIN_MENU);
        return;
    case SCREEN_GRAV_DRIVE:
        if (CFrontEndScreen* screen = GetCurrentScreen())
            screen->Hide();
        SetScreen(m_gravDriveLeave ? SCREEN_HUB : SCREEN_MAIN_MENU);
        return;
    default:
        SetScreen(EscapesToMainMenu(m_screenId) ? SCREEN_MAIN_MENU : SCREEN_HUB);
        return;
    }
}
