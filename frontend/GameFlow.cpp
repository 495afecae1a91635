#include "frontend/GameFlow.h"

#include "frontend/FrontEndScreen.h"
#include "frontend/HudFile.h"
#include "frontend/LoadingScreen.h"
#include "frontend/Options.h"
#include "frontend/SaveGames.h"
#include "frontend/PlayerShipAccess.h"
#include "platform/AudioSystem.h"
#include "ships/StationFlowLink.h"
#include "frontend/StandardScreens.h"
#include "frontend/StoreRules.h"
#include "ships/ShipConstructGrid.h"
#include "platform/Renderer.h"
#include "presentation/GuiManager.h"
#include "world/DirectorLink.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/WarpEffects.h"
#include "world/HudLink.h"
#include "world/World.h"
#include "world/ZoneLink.h"

namespace
{

// The front-end screens in the order they are made.
constexpr int FRONT_END_SCREENS[] = {SCREEN_DEAD,        SCREEN_MAIN_MENU,  SCREEN_ZONE_MAP, SCREEN_HUB,
                                     SCREEN_SHIP_SELECT, SCREEN_SHIP_CONSTRUCT, SCREEN_SAVE, SCREEN_LOAD,
                                     SCREEN_RESEARCH,    SCREEN_STORES,     SCREEN_STATION,  SCREEN_GRAV_DRIVE,
                                     SCREEN_OPTIONS,     SCREEN_CONTROLS,   SCREEN_HALL_OF_FAME};
} // namespace

CGameFlow::CGameFlow(CGame& game)
    : m_game(game), m_options(std::make_unique<COptions>(game.GetControls())),
      m_saves(std::make_unique<CSaveGames>(*this)), m_factory(&MakeStandardScreen)
{
    // Missing gauges stay undrawn, missing sounds silent.
    const int gauges[GEM_KIND_COUNT] = {HUD_GAUGE_STATION_NORMAL_GEMS, HUD_GAUGE_STATION_RARE_GEMS,
                                        HUD_GAUGE_STATION_VERY_RARE_GEMS};
    for (int kind = 0; kind < GEM_KIND_COUNT; ++kind)
        LoadHudGauge(m_gemGauges[kind], gauges[kind]);
    for (int i = 0; i < ALARM_COUNT; ++i)
        m_alarmEmitters[i].SetEffect(&m_alarmEffects[i]);
    LoadAlarmSounds();
}

void CGameFlow::LoadAlarmSounds()
{
    m_alarmEffects[ALARM_HIT].Set("data/sfx/misc/alarm.wav", 0.85f, false, false);
    m_alarmEffects[ALARM_MAJOR].Set("data/sfx/misc/majorAlarm.wav", 0.9f, false, false);
    m_alarmEffects[ALARM_STATION].Set("data/sfx/station/electrobabble.wav", 0.8f, true, false);
}

void CGameFlow::StopAlarmSounds()
{
    for (CSoundEmitter& emitter : m_alarmEmitters)
        emitter.Stop();
}

void CGameFlow::SoundAlarm()
{
    if (m_game.GetHud().IsVisible())
        m_alarmEmitters[ALARM_HIT].PlayAt(false, nullptr);
}

// While the effects reload, the looping chatter stops and starts again after.
void CGameFlow::SilenceLoopingSounds()
{
    m_stationSoundWasPlaying = m_alarmEmitters[ALARM_STATION].IsPlaying();
    m_alarmEmitters[ALARM_STATION].Stop();
}

void CGameFlow::RestartLoopingSounds()
{
    if (m_stationSoundWasPlaying)
        m_alarmEmitters[ALARM_STATION].PlayAt(false, nullptr);
    m_stationSoundWasPlaying = false;
}

CGameFlow::~CGameFlow()
{
    StopAlarmSounds();
    if (IsExitWarningOpen())
        CloseExitWarning();
    for (int id = SCREEN_TABLE_SIZE - 1; id >= 0; --id)
        DeleteScreen(id);
    m_grid.reset();
    m_options->SaveKeyMap();
}

void CGameFlow::UpdateMusic()
{
    EMusicListId wanted = MUSIC_GAME;
    if (m_mode == GAME_MODE_FRONT_END)
        wanted = MUSIC_FRONT_END;
    else if (m_game.GetZones().IsAtBossNode())
        wanted = MUSIC_BOSS;
    m_options->UpdateMusic(wanted);
}

CDirectorFlowLink& CGameFlow::GetDirector() const
{
    return m_director ? *m_director : m_ownDirector;
}

CCampaignFlowLink& CGameFlow::GetCampaign() const
{
    return m_campaign ? *m_campaign : m_ownCampaign;
}

CFrontEndScreen* CGameFlow::GetScreen(int id) const
{
    return id > 0 && id < SCREEN_TABLE_SIZE ? m_screens[id].get() : nullptr;
}

void CGameFlow::MakeScreen(int id)
{
    DeleteScreen(id);
    if (!m_factory)
        return;
    m_screens[id] = m_factory(*this, id);
    if (m_screens[id])
        m_screens[id]->Load();
}

void CGameFlow::DeleteScreen(int id)
{
    if (!m_screens[id])
        return;
    if (m_screenId == id)
        m_screenId = SCREEN_NONE;
    m_screens[id].reset();
}

void CGameFlow::CreateScreens()
{
    MakeScreen(SCREEN_IN_GAME);
    LoadFrontEndScreens();
    // The grid (the screen table's slot 18) lives as long as the flow: its pictures
    // that do not load are left undrawn.
    m_gridStore = std::make_unique<CCampaignStoreLink>();
    m_grid = std::make_unique<CShipConstructGrid>();
    m_grid->SetStore(m_gridStore.get());
    m_grid->Init();
}

void CGameFlow::LoadFrontEndScreens()
{
    for (int id : FRONT_END_SCREENS)
        MakeScreen(id);
}

// The GUI's windows of other owners (the console's among them) stay: only the screens'
// own pages and popups go with them.
void CGameFlow::LoadFlightScreens()
{
    for (int id : FRONT_END_SCREENS)
        DeleteScreen(id);
    MakeScreen(SCREEN_IN_GAME);
}

void CGameFlow::ClearKeyRing() const
{
    if (g_renderer)
        g_renderer->GetKeyRing().Clear();
}

bool CGameFlow::SetScreen(int id)
{
    CFrontEndScreen* screen = GetScreen(id);
    if (!screen)
        return false;
    GetDirector().StopSequence();
    ClearKeyRing();
    if (CFrontEndScreen* current = GetCurrentScreen())
        current->Hide();
    m_screenId = id;
    screen->Show();
    return true;
}

void CGameFlow::SetMode(EGameMode request)
{
    switch (m_mode)
    {
    case GAME_MODE_FLIGHT:
        if (request == GAME_MODE_IN_GAME_MENU)
        {
            // The menu never opens on a ship too drained to fly away again.
            if (CGameObject* ship = FindObject(m_game.GetPlayerShipHandle()))
            {
                float energy = 0.0f, capacity = 0.0f;
                if (GetShipEnergy(*ship, energy, capacity) && energy < capacity * 0.25f)
                    SetShipEnergy(*ship, capacity * 0.25f);
            }
            m_mode = GAME_MODE_IN_GAME_MENU;
            SetScreen(SCREEN_IN_GAME);
        }
        else if (request == GAME_MODE_FRONT_END)
            m_goFrontEnd = true;
        break;
    case GAME_MODE_FRONT_END:
        if (request == GAME_MODE_FLIGHT)
            m_goFlight = true;
        break;
    case GAME_MODE_IN_GAME_MENU:
        if (request == GAME_MODE_FLIGHT)
            ReturnToFlight();
        else if (request == GAME_MODE_FRONT_END)
        {
            if (CFrontEndScreen* menu = GetScreen(SCREEN_IN_GAME))
                menu->Hide();
            if (m_screenId == SCREEN_IN_GAME)
                m_screenId = SCREEN_NONE;
            m_goFrontEnd = true;
        }
        break;
    }
    GetDirector().StopSequence();
    ClearKeyRing();
}

void CGameFlow::CloseInGameMenu()
{
    if (CFrontEndScreen* menu = GetScreen(SCREEN_IN_GAME))
        menu->Hide();
    if (m_screenId == SCREEN_IN_GAME)
        m_screenId = SCREEN_NONE;
    m_mode = GAME_MODE_FLIGHT;
}

// Back from the in-game menu: when the station holds the ship, a new one is made at
// the station and launched from it.
void CGameFlow::ReturnToFlight()
{
    CloseInGameMenu();
    CGameObject* station = FindObject(m_game.GetStationHandle());
    if (!station || !GetStationFlowLink().HoldsPlayerShip(*station))
        return;
    SpawnPlayerShip(m_game.GetZones().GetCurrentShip(), m_stationPosition);
    GetStationFlowLink().BeginLaunch(*station);
}

bool CGameFlow::JumpWithStation()
{
    CWorld* world = m_game.GetWorld();
    CGameObject* station = FindObject(m_game.GetStationHandle());
    if (m_mode != GAME_MODE_IN_GAME_MENU || !world || !world->HasWarpStep() || !station || IsQuickOrSurvival())
        return false;
    const CStationFlowLink& link = GetStationFlowLink();
    if (!link.HoldsPlayerShip(*station) || !link.HasAttention(*station) || station->GetInfo().warpState != WARP_NONE ||
        !IsStationWarpFullScreen(false))
        return false;
    CloseInGameMenu();
    GetDirector().StopSequence();
    ClearKeyRing();
    station->SetWarpState(WARP_OUT);
    world->AddWarp(station->GetHandle());
    return true;
}

bool CGameFlow::StartNewGame()
{
    if (m_runActive && m_game.GetState() == GAME_LEVEL_RUNNING)
        m_game.EndLevel();
    GetDirector().ResetForNewGame();
    m_game.SetShipConfigFileName(std::string());
    CZoneLink& zones = m_game.GetZones();
    zones.SetCurrentZone(0);
    if (!m_game.StartLevel())
        return false;
    zones.InitNodeState();
    m_runActive = true;
    m_stationSpawned = false;
    GetCampaign().OnRunStarted();
    return true;
}

void CGameFlow::EndRunForLoad()
{
    if (m_game.GetState() == GAME_LEVEL_RUNNING)
        m_game.EndLevel();
    m_game.GetZones().Reset();
    m_runActive = false;
    m_tutorialPosition = false;
    m_game.GetRun().quickShip = false;
    m_game.GetRun().survival = false;
}

bool CGameFlow::StartLoadedRun()
{
    if (!m_game.StartLevel())
        return false;
    m_runActive = true;
    m_stationSpawned = false;
    GetCampaign().OnGameLoaded();
    return true;
}

void CGameFlow::LeaveRunForMainMenu()
{
    m_game.EndLevel();
    m_game.GetZones().Reset();
    m_runActive = false;
    SetScreen(SCREEN_MAIN_MENU);
}

void CGameFlow::ShowDeadScreen(EDeathCause cause)
{
    m_deathCause = cause;
    StopAlarmSounds();
    m_stationLossTime = 0;
    m_shipLossTime = 0;
    if (g_audio)
        g_audio->StopAllChannels();
    ShowLoadingScreen();
    LoadFrontEndScreens();
    HideLoadingScreen();
    m_mode = GAME_MODE_FRONT_END;
    m_game.GetHud().Show(false);
    SetScreen(SCREEN_DEAD);
}

bool CGameFlow::IsQuickOrSurvival() const
{
    const SRunState& run = const_cast<CGame&>(m_game).GetRun();
    return run.quickShip || run.survival;
}

CGameObject* CGameFlow::FindObject(int32_t handle) const
{
    CWorld* world = m_game.GetWorld();
    return world && handle != NO_OBJECT ? world->GetObject(handle) : nullptr;
}
