// The tutorial: flight school with the ship alone, the station and its ports, gems
// brought home, the first warp, research, a defence against drones, the station's
// weapon, the zone map, and a new ship built and fitted; then the campaign. Each step
// is a small state machine over the sub-state; "page n" waits until tutorial page n
// has been read, a box until its OK. A page or box that cannot show counts as read,
// so the tutorial never hangs on missing data.

#include "frontend/Campaign.h"
#include "frontend/CampaignServices.h"
#include "frontend/FrontEndScreen.h"
#include "frontend/GameCampaign.h"
#include "frontend/GameFlow.h"
#include "frontend/PlayerShipAccess.h"
#include "frontend/ScreenTime.h"
#include "frontend/SequenceDirector.h"
#include "ships/CargoHold.h"
#include "ships/ComponentDef.h"
#include "ships/PlayerShip.h"
#include "ships/ShipComponentDatabase.h"
#include "ships/ShipLevelData.h"
#include "ships/ShipRuntime.h"
#include "ships/StationFlowLink.h"
#include "ships/StationLink.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/GalaxyMap.h"
#include "world/HudLink.h"
#include "world/World.h"
#include "world/ZoneManager.h"
#include "world/ZoneNode.h"

namespace
{
constexpr uint32_t INTRO_PAGE_WAIT_MS = 5000;
constexpr uint32_t FLY_MIN_MS = 10000;
constexpr uint32_t FLY_MAX_MS = 20000;
constexpr uint32_t FLY_MARKS_MS = 1000;
constexpr uint32_t ENEMY_LOOK_MS = 3000;
constexpr uint32_t RESEARCH_ADVANCE_MS = 180000;
constexpr int32_t CARGO_GOAL = 10;
constexpr int32_t FRONT_END_GEMS = 20;
constexpr int TUTORIAL_NODE = 5;
constexpr int ATTACK_GROUP = 1;
constexpr int STEERING_ACTION_FIRST = 4;
constexpr float GEM_GAUGE_MAX = 100.0f;
constexpr int STORE_FIRST_GIFT[][2] = {{1, 0}, {2, 0}, {4, 0}, {4, 0}, {5, 0}, {5, 0}, {8, 0}};
constexpr int STORE_GOAL_KIND = 7;
constexpr int STORE_GOAL_DEFINITION = 2;

CStationFlowLink& Station()
{
    return GetStationFlowLink();
}
} // namespace

void CSequenceDirector::NextStep(int step)
{
    m_step = step;
    ClearScratch();
}

bool CSequenceDirector::ShowTutorialPage(int page)
{
    const int handle = page >= 0 && page < TUTORIAL_PAGE_COUNT ? m_tutorialHandles[page] : -1;
    m_pageShown = handle;
    m_pageFailed = handle < 0 || !m_pages.ShowPage(handle);
    return !m_pageFailed;
}

bool CSequenceDirector::ShowBox(const char* file)
{
    m_boxOpen = m_pages.ShowChatBox(file);
    return m_boxOpen;
}

void CSequenceDirector::OpenBox(const char* file)
{
    SetGate(GATE_GUI_KEYBOARD, true);
    ShowBox(file);
    ++m_sub;
}

void CSequenceDirector::ShowBoxWhen(bool due, const char* file)
{
    if (!due)
        return;
    m_hintLine = false;
    ShowBox(file);
    ++m_sub;
}

bool CSequenceDirector::ResumeAfterBox()
{
    if (!IsBoxDone())
        return false;
    m_hintLine = true;
    ++m_sub;
    return true;
}

void CSequenceDirector::ChangeScreenAfterBox(int from, int to, int nextStep)
{
    if (!IsBoxDone())
        return;
    SetGate(GATE_GUI_KEYBOARD, false);
    if (CFrontEndScreen* screen = m_flow.GetScreen(from))
        screen->Hide();
    m_flow.SetScreen(to);
    NextStep(nextStep);
}

bool CSequenceDirector::IsBoxDone()
{
    if (m_boxOpen && !m_pages.IsChatBoxAcknowledged())
        return false;
    if (m_boxOpen)
        m_pages.CloseChatBox();
    m_boxOpen = false;
    return true;
}

int32_t CSequenceDirector::CargoWorth() const
{
    const CPlayerShip* ship = dynamic_cast<const CPlayerShip*>(GetPlayerShip());
    const CShipRuntime* runtime = ship ? ship->GetRuntime() : nullptr;
    if (!runtime)
        return 0;
    const SCargoHold& cargo = runtime->GetCargo();
    return cargo.m_normalGems + 2 * cargo.m_rareGems + 3 * cargo.m_veryRareGems;
}

bool CSequenceDirector::StationHoldsShip() const
{
    const CGameObject* station = GetStation();
    return station && Station().HoldsPlayerShip(*station);
}

void CSequenceDirector::SendShipOut(CGameObject& station, bool pan)
{
    if (CGameObject* ship = GetPlayerShip())
    {
        ship->SetPosition(station.GetPosition());
        m_game.GetCamera().Follow(ship->GetHandle(), pan);
    }
    Station().BeginLaunch(station);
    Station().SetHoldsPlayerShip(station, false);
}

void CSequenceDirector::NextStepOncePortsClosed(std::initializer_list<int> gates, int step)
{
    const CGameObject* station = GetStation();
    if (station && !Station().AreAllPortsClosed(*station))
        return;
    m_hintLine = true;
    for (int gate : gates)
        SetGate(gate, true);
    NextStep(step);
}

void CSequenceDirector::RunTutorial()
{
    // The station's attention icon stays off while the station is new.
    if (m_step >= 1 && m_step <= 4)
        m_game.GetHud().HideStationIcon(2);
    switch (m_step)
    {
    case 0:
        RunStep0();
        return;
    case 1:
        RunStep1();
        return;
    case 2:
        RunStep2();
        return;
    case 3:
        RunStep3();
        return;
    case 4:
        RunStep4();
        return;
    case 5:
        RunStep5();
        return;
    case 7:
        RunStep7();
        return;
    case 8:
        RunStep8();
        return;
    case 9:
        RunStep9();
        return;
    case 10:
        RunStep10();
        return;
    default:
        if (m_step >= 20 && m_step <= 27)
            RunFrontEndStep(m_step);
        return;
    }
}

// Flight school: the ship alone; the first page five seconds in.
void CSequenceDirector::RunStep0()
{
    CHudLink& hud = m_game.GetHud();
    switch (m_sub)
    {
    case 0:
        for (int gauge = 4; gauge <= 7; ++gauge)
            hud.HideGauge(gauge);
        for (int icon = 0; icon <= 3; ++icon)
            hud.HideStationIcon(icon);
        ResetFeatureGates();
        SetGate(GATE_TUTORIAL_START, true);
        for (int gate : {GATE_ZONE_POPULATION, GATE_STATION_GAUGES, GATE_STATION_ATTENTION, GATE_FIRE_GROUP_1,
                         GATE_FIRE_GROUP_2, GATE_GRAVITY_BEAM, GATE_CALL_STATION})
            SetGate(gate, false);
        if (m_flow.GetMode() != GAME_MODE_FLIGHT)
            m_flow.EnterFlight();
        m_wait = Now() + INTRO_PAGE_WAIT_MS;
        m_sub = 1;
        return;
    case 1:
        if (!HasTimeCome(Now(), m_wait))
            return;
        SetGate(GATE_WORLD_UPDATE, false);
        ShowTutorialPage(0);
        m_sub = 2;
        return;
    default:
        if (!IsPageDone())
            return;
        FlushControls();
        SetGate(GATE_WORLD_UPDATE, true);
        m_hintLine = true;
        NextStep(1);
        return;
    }
}

// The ship flies; then the station comes and opens its ports.
void CSequenceDirector::RunStep1()
{
    const uint32_t now = Now();
    CGameObject* station = GetStation();
    switch (m_sub)
    {
    case 0:
        m_wait = now + FLY_MIN_MS;
        m_wait2 = now + FLY_MAX_MS;
        m_sub = 1;
        return;
    case 1:
    {
        const CControls& controls = m_game.GetControls();
        for (int i = 0; i < 4; ++i)
        {
            const SControlAction& action = controls.GetAction(STEERING_ACTION_FIRST + i);
            m_inputMarks[i] = m_inputMarks[i] || action.down || action.held;
        }
        m_inputMarks[4] = m_inputMarks[4] || m_game.GetRun().shipBoosting;
        bool all = true;
        for (bool mark : m_inputMarks)
            all = all && mark;
        if (all && m_inputWait == 0)
            m_inputWait = now + FLY_MARKS_MS;
        const bool learnt = all && HasTimeCome(now, m_wait) && HasTimeCome(now, m_inputWait);
        if (!learnt && !HasTimeCome(now, m_wait2))
            return;
        m_hintLine = false;
        SetGate(GATE_STEERING, false);
        m_flow.MakeStation();
        ShowArrivingStation(GetStation());
        m_sub = 2;
        return;
    }
    case 2:
        if (station && station->GetInfo().warpState != WARP_NONE)
            return;
        if (station)
            Station().OpenAllPorts(*station);
        SetGate(GATE_STATION_ATTENTION, false);
        m_sub = 3;
        return;
    case 3:
        if (station && !Station().AreAllPortsOpen(*station))
            return;
        ShowTutorialPage(1);
        m_sub = 4;
        return;
    case 4:
        if (!IsPageDone())
            return;
        m_game.GetCamera().Follow(m_game.GetPlayerShipHandle(), true);
        m_sub = 5;
        return;
    default:
        if (!IsCameraArrived())
            return;
        if (station)
            RaiseStationAlert(*station, station->GetPosition());
        SetGate(GATE_STEERING, true);
        m_hintLine = true;
        NextStep(2);
        return;
    }
}

// Docking: the ship goes in and is launched again.
void CSequenceDirector::RunStep2()
{
    CGameObject* station = GetStation();
    switch (m_sub)
    {
    case 0:
        if (station && !Station().AreAllPortsClosed(*station))
            return;
        m_hintLine = false;
        ShowTutorialPage(2);
        m_sub = 1;
        return;
    case 1:
        if (!IsPageDone())
            return;
        FlushControls();
        m_sub = 2;
        return;
    case 2:
    {
        if (!StationHoldsShip())
            return;
        if (CGameObject* ship = GetPlayerShip())
            ship->GetBody().angle = 0.0f;
        SendShipOut(*station, false);
        m_sub = 3;
        return;
    }
    default:
        NextStepOncePortsClosed({GATE_FIRE_GROUP_1, GATE_GRAVITY_BEAM}, 3);
        return;
    }
}

// Gems: a hold worth 10 is brought home and spent on the station.
void CSequenceDirector::RunStep3()
{
    CGameObject* station = GetStation();
    switch (m_sub)
    {
    case 0:
        if (CargoWorth() < CARGO_GOAL)
            return;
        m_hintLine = false;
        SetGate(GATE_STEERING, false);
        SetGate(GATE_FIRE_GROUP_1, false);
        SetGate(GATE_GRAVITY_BEAM, false);
        if (station)
        {
            m_game.GetCamera().Follow(station->GetHandle(), true);
            Station().OpenAllPorts(*station);
        }
        m_sub = 1;
        return;
    case 1:
        if (station && !Station().AreAllPortsOpen(*station))
            return;
        ShowTutorialPage(11);
        m_sub = 2;
        return;
    case 2:
        if (!IsPageDone())
            return;
        if (station)
            RaiseStationAlert(*station, station->GetPosition());
        m_game.GetCamera().Follow(m_game.GetPlayerShipHandle(), true);
        SetGate(GATE_STEERING, true);
        m_sub = 3;
        return;
    case 3:
        if (station && !Station().AreAllPortsClosed(*station))
            return;
        ShowTutorialPage(3);
        m_sub = 4;
        return;
    case 4:
    {
        if (!IsPageDone() || !StationHoldsShip())
            return;
        CCampaignFlowLink& campaign = m_flow.GetCampaign();
        if (CCampaign* real = GetGameCampaign())
            real->GetGems().Spend(999);
        else
            campaign.SpendGems(999);
        const int32_t full = Station().GetFullHull(*station);
        Station().SetHull(*station, full);
        CHudLink& hud = m_game.GetHud();
        for (int kind = 0; kind < GEM_KIND_COUNT; ++kind)
            hud.SetGauge(5 + kind, GEM_GAUGE_MAX, static_cast<float>(campaign.GetGemStock(kind)));
        hud.SetGauge(4, static_cast<float>(full), static_cast<float>(full));
        const int32_t hull = GetDesignHullHealth(1);
        if (CGameObject* ship = GetPlayerShip())
            ship->GetBody().health = hull;
        campaign.SetStoredHull(1, hull);
        SendShipOut(*station, true);
        m_sub = 5;
        return;
    }
    default:
        NextStepOncePortsClosed({GATE_FIRE_GROUP_1, GATE_GRAVITY_BEAM, GATE_CALL_STATION}, 4);
        return;
    }
}

// The first warp: the station takes the ship away.
void CSequenceDirector::RunStep4()
{
    CGameObject* station = GetStation();
    switch (m_sub)
    {
    case 0:
        if (CargoWorth() < CARGO_GOAL)
            return;
        m_sub = 1;
        return;
    case 1:
        if (!StationHoldsShip())
            return;
        m_hintLine = false;
        ShowTutorialPage(4);
        m_sub = 2;
        return;
    case 2:
    {
        if (!IsPageDone())
            return;
        FlushControls();
        CWorld* world = m_game.GetWorld();
        if (station && world && world->HasWarpStep())
        {
            station->SetWarpState(WARP_OUT);
            world->AddWarp(station->GetHandle());
        }
        m_flow.GetAlarm(CGameFlow::ALARM_HIT).FadeOut();
        SetGate(GATE_GUI_KEYBOARD, false);
        NextStep(20);
        // The station's warp takes the game to the front end; without one it goes now.
        if (!station || !world || !world->HasWarpStep())
            m_flow.EnterFrontEnd();
        return;
    }
    default:
        return;
    }
}

// In flight at the tutorial's node: the station, the ship, and drones to fight.
void CSequenceDirector::RunStep5()
{
    CGameObject* station = GetStation();
    switch (m_sub)
    {
    case 0:
        if (m_flow.GetMode() != GAME_MODE_FLIGHT || !station || station->GetInfo().warpState != WARP_NONE)
            return;
        SetGate(GATE_WORLD_UPDATE, false);
        ShowTutorialPage(5);
        m_sub = 1;
        return;
    case 1:
    {
        if (!IsPageDone())
            return;
        FlushControls();
        SetGate(GATE_WORLD_UPDATE, true);
        if (!GetPlayerShip())
        {
            m_game.GetZones().SetCurrentShip(1);
            const int32_t handle = CreatePlayerShip(1, station->GetPosition());
            if (CGameObject* ship = GetObject(handle))
            {
                m_game.SetPlayerShipHandle(handle);
                ship->GetBody().health = m_flow.GetCampaign().GetStoredHull(1);
                ship->SetFrozen(true);
                m_game.GetCamera().Follow(handle, false);
            }
            Station().SetHoldsPlayerShip(*station, true);
        }
        m_hintLine = true;
        m_sub = 2;
        return;
    }
    case 2:
    {
        m_hintLine = false;
        SetGate(GATE_FIRE_GROUP_1, false);
        SetGate(GATE_FIRE_GROUP_2, false);
        // Zone 0's second attack group warps in around a free spot.
        CZoneManager* zones = m_game.GetZoneManager();
        CZoneDefinition* zone = zones ? zones->GetZone(0) : nullptr;
        int32_t first = -1;
        if (zone && static_cast<int>(zone->m_attackGroups.size()) > ATTACK_GROUP)
        {
            const SAttackGroup& group = zone->m_attackGroups[ATTACK_GROUP];
            zones->FindGroupSpawnPoint(group.deployRadius, false);
            for (const SGroupEntry& entry : group.infinite)
            {
                SResourceRecord* record = zone->GetRecord(true, entry.idx);
                for (int32_t i = 0; record && i < entry.num; ++i)
                    if (CGameObject* enemy = zones->SpawnResourceObject(*record, true))
                        first = first < 0 ? enemy->GetHandle() : first;
            }
        }
        if (first >= 0)
            m_game.GetCamera().Follow(first, true);
        m_watched = first;
        m_sub = 3;
        return;
    }
    case 3:
        if (!IsCameraArrived())
            return;
        m_wait = Now() + ENEMY_LOOK_MS;
        m_sub = 4;
        return;
    case 4:
        if (!HasTimeCome(Now(), m_wait))
            return;
        m_game.GetCamera().Follow(station->GetHandle(), true);
        SetGate(GATE_WORLD_UPDATE, false);
        m_sub = 6;
        return;
    default:
        if (!IsCameraArrived())
            return;
        ShowTutorialPage(6);
        m_step = 7;
        m_sub = 0;
        return;
    }
}

// The defence, then the in-game menu.
void CSequenceDirector::RunStep7()
{
    switch (m_sub)
    {
    case 0:
        if (!IsPageDone())
            return;
        m_hintLine = true;
        FlushControls();
        SetGate(GATE_WORLD_UPDATE, true);
        if (CGameObject* station = GetStation())
        {
            Station().SetHoldsPlayerShip(*station, false);
            Station().BeginLaunch(*station);
        }
        if (CGameObject* ship = GetPlayerShip())
            ship->SetFrozen(false);
        SetGate(GATE_CALL_STATION, false);
        for (int gate : {GATE_FIRE_GROUP_1, GATE_FIRE_GROUP_2, GATE_GRAVITY_BEAM})
            SetGate(gate, true);
        m_sub = 1;
        return;
    case 1:
    {
        CWorld* world = m_game.GetWorld();
        if (world && world->CountEnemies() > 0)
            return;
        m_hintLine = false;
        SetGate(GATE_WORLD_UPDATE, false);
        ShowTutorialPage(7);
        m_sub = 2;
        return;
    }
    case 2:
        if (!IsPageDone())
            return;
        m_hintLine = true;
        SetGate(GATE_WORLD_UPDATE, true);
        SetGate(GATE_CALL_STATION, true);
        m_sub = 3;
        return;
    default:
        if (m_flow.GetMode() != GAME_MODE_IN_GAME_MENU)
            return;
        m_hintLine = false;
        SetGate(GATE_WORLD_UPDATE, false);
        SetGate(GATE_GUI_KEYBOARD, false);
        SetGate(GATE_STATION_ATTENTION, true);
        ShowTutorialPage(8);
        m_step = 8;
        m_sub = 0;
        return;
    }
}

void CSequenceDirector::RunStep8()
{
    if (!IsPageDone())
        return;
    m_hintLine = true;
    SetGate(GATE_WORLD_UPDATE, true);
    SetGate(GATE_GUI_KEYBOARD, true);
    GateCurrentScreen();
    m_game.GetZones().AdvanceZoneClock(RESEARCH_ADVANCE_MS);
    NextStep(22);
}

void CSequenceDirector::RunStep9()
{
    CCampaignFlowLink& campaign = m_flow.GetCampaign();
    switch (m_sub)
    {
    case 0:
        if (!IsPageDone())
            return;
        m_hintLine = true;
        SetGate(GATE_WORLD_UPDATE, true);
        SetGate(GATE_GUI_KEYBOARD, true);
        GateCurrentScreen();
        for (int kind = 0; kind < GEM_KIND_COUNT; ++kind)
            campaign.SetGemStock(kind, 0);
        m_sub = 1;
        return;
    default:
    {
        bool gathered = false;
        for (int kind = 0; kind < GEM_KIND_COUNT; ++kind)
            gathered = gathered || campaign.GetGemStock(kind) > 2;
        // Or the node has no gems of the first two kinds left to gather.
        const SZoneNode* node = m_game.GetZones().GetCurrentNode();
        bool gemsLeft = false;
        for (int i = 0; node && i < ASTEROID_MAP_SIZE; ++i)
        {
            const SAsteroidMapEntry& entry = node->asteroidMap[i];
            const int32_t kind = GetAsteroidWordKind(entry.word);
            gemsLeft = gemsLeft || (entry.IsPresent() && (kind == 1 || kind == 2));
        }
        if (!gathered && gemsLeft)
            return;
        // The price of the second hull, and one over.
        const CShipComponentDatabase* database = GetLevelShipDatabase();
        const CShipComponentDef* hull = database ? database->GetComponentDef(COMPONENT_HULL, 2) : nullptr;
        for (int kind = 0; kind < GEM_KIND_COUNT; ++kind)
            campaign.SetGemStock(kind, hull ? static_cast<int32_t>(hull->m_cost[kind] + 1.0f) : 0);
        NextStep(10);
        return;
    }
    }
}

void CSequenceDirector::RunStep10()
{
    switch (m_sub)
    {
    case 0:
        if (m_flow.GetMode() != GAME_MODE_IN_GAME_MENU)
            return;
        m_hintLine = false;
        SetGate(GATE_WORLD_UPDATE, false);
        SetGate(GATE_GUI_KEYBOARD, false);
        ShowTutorialPage(10);
        m_sub = 1;
        return;
    case 1:
        if (!IsPageDone())
            return;
        m_hintLine = true;
        for (int gate : {GATE_WORLD_UPDATE, GATE_GUI_KEYBOARD, GATE_STATION_ATTENTION})
            SetGate(gate, true);
        GateCurrentScreen();
        m_sub = 2;
        return;
    default:
        if (m_flow.GetMode() != GAME_MODE_FRONT_END)
            return;
        m_hintLine = false;
        SetGate(GATE_GUI_KEYBOARD, true);
        ShowBox("feTut7.txt");
        m_step = 24;
        m_sub = 0;
        return;
    }
}

// The steps of the front end: boxes over the screens, each waiting for its OK.
void CSequenceDirector::RunFrontEndStep(int step)
{
    CCampaign* campaign = GetGameCampaign();
    CCampaignFlowLink& link = m_flow.GetCampaign();
    switch (step * 10 + m_sub)
    {
    case 200:
        if (m_flow.GetMode() != GAME_MODE_FRONT_END)
            return;
        SetGate(GATE_GUI_KEYBOARD, true);
        ShowBox("feTut0.txt");
        m_sub = 1;
        return;
    case 201:
        if (!IsBoxDone())
            return;
        SetGate(GATE_GUI_KEYBOARD, false);
        if (CFrontEndScreen* hub = m_flow.GetScreen(SCREEN_HUB))
            hub->Hide();
        for (int kind = 0; kind < GEM_KIND_COUNT; ++kind)
            if (link.GetGemStock(kind) < FRONT_END_GEMS)
                link.SetGemStock(kind, FRONT_END_GEMS);
        SetGate(GATE_STATION_GAUGES, true);
        m_flow.SetScreen(SCREEN_RESEARCH);
        SetGate(GATE_GUI_KEYBOARD, true);
        ShowBox("feTut1.txt");
        m_sub = 2;
        return;
    case 202:
        if (!IsBoxDone())
            return;
        SetGate(GATE_GUI_KEYBOARD, true);
        m_hintLine = true;
        NextStep(21);
        return;
    case 210:
        ShowBoxWhen(link.GetResearchSlotState(0) != RESEARCH_SLOT_EMPTY, "feTut3.txt");
        return;
    case 211:
    {
        if (!IsBoxDone())
            return;
        for (int kind = 0; kind < GEM_KIND_COUNT; ++kind)
            m_flow.GetGemGauge(kind).Hide();
        SetGate(GATE_TUTORIAL_START, false);
        SetGate(GATE_STATION_GAUGES, true);
        m_game.GetHud().Show(false);
        if (CZoneManager* zones = m_game.GetZoneManager())
            zones->SetCurrentNode(TUTORIAL_NODE);
        m_flow.EnterFlight();
        SetGate(GATE_STATION_ATTENTION, false);
        m_game.SetZoneBackdropFrame();
        NextStep(5);
        return;
    }
    case 220:
        ShowBoxWhen(m_flow.GetMode() == GAME_MODE_FRONT_END, "feTut4.txt");
        return;
    case 221:
        ResumeAfterBox();
        return;
    case 222:
    {
        bool fitted = false;
        for (int mount = 0; campaign && mount < CAMPAIGN_MOUNTS; ++mount)
            fitted = fitted || campaign->GetState().mounts[mount].fitted;
        ShowBoxWhen(fitted, "feTut5.txt");
        return;
    }
    case 223:
        ChangeScreenAfterBox(SCREEN_STATION, SCREEN_ZONE_MAP, 23);
        return;
    case 230:
        OpenBox("feTut6.txt");
        return;
    case 231:
        if (!ResumeAfterBox())
            return;
        if (CZoneManager* zones = m_game.GetZoneManager())
            zones->GetGalaxyMap().SetArrived();
        SetGate(GATE_STATION_ATTENTION, false);
        return;
    case 232:
        if (m_flow.GetMode() != GAME_MODE_IN_GAME_MENU)
            return;
        m_hintLine = false;
        SetGate(GATE_WORLD_UPDATE, false);
        SetGate(GATE_GUI_KEYBOARD, false);
        ShowTutorialPage(9);
        m_step = 9;
        m_sub = 0;
        return;
    case 240:
        ResumeAfterBox();
        return;
    case 241:
        ShowBoxWhen(link.GetResearchSlotState(0) != RESEARCH_SLOT_EMPTY, "feTut9.txt");
        return;
    case 242:
        if (!IsBoxDone())
            return;
        for (int kind = 0; kind < GEM_KIND_COUNT; ++kind)
            m_flow.GetGemGauge(kind).Hide();
        ChangeScreenAfterBox(SCREEN_RESEARCH, SCREEN_ZONE_MAP, 25);
        return;
    case 250:
        OpenBox("feTut10.txt");
        return;
    case 251:
        ResumeAfterBox();
        return;
    case 252:
        ShowBoxWhen(campaign && campaign->FindStoredItem(STORE_GOAL_KIND, STORE_GOAL_DEFINITION) >= 0, "feTut11.txt");
        return;
    case 253:
        ChangeScreenAfterBox(SCREEN_ZONE_MAP, SCREEN_SHIP_SELECT, 26);
        return;
    case 260:
        OpenBox("feTut12.txt");
        return;
    case 261:
        if (!ResumeAfterBox())
            return;
        for (const auto& item : STORE_FIRST_GIFT)
            if (campaign)
                campaign->AddStoredItem(item[0], item[1]);
        return;
    case 262:
        if (m_flow.GetScreenId() != SCREEN_SHIP_CONSTRUCT)
            return;
        m_hintLine = false;
        ShowBox("feTut13.txt");
        SetGate(GATE_GUI_KEYBOARD, true);
        m_step = 27;
        m_sub = 0;
        return;
    case 270:
        ResumeAfterBox();
        return;
    case 271:
    {
        if (campaign && campaign->CountStoredItems() > 1)
            return;
        const CShipComponentDatabase* database = GetLevelShipDatabase();
        bool beamAndWeapon = false;
        bool engine = false;
        if (database)
            database->CheckShipConfig(m_game.GetZones().GetCurrentShip(), beamAndWeapon, engine);
        ShowBoxWhen(beamAndWeapon && engine, "feTut14.txt");
        return;
    }
    case 272:
        if (!IsBoxDone())
            return;
        ResetFeatureGates();
        m_step = -1;
        ClearScratch();
        m_game.GetRun().clockCopy = m_game.GetTime();
        if (CCampaignServices* services = GetGameCampaignServices())
        {
            services->GetHallOfFame().SetFirstPlay(false);
            services->SaveRecords();
        }
        m_stage = STAGE_CAMPAIGN;
        return;
    default:
        return;
    }
}
