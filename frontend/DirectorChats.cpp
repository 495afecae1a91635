// The campaign's chats: which one starts (each at most once per flag, never two within
// 3000 ms of game time) and how a chat runs: a typed page over the stopped world, a
// camera chat that first flies the view to what it talks about, and the front end's
// chat boxes.

#include "frontend/AlienNodeChats.h"
#include "frontend/GameFlow.h"
#include "frontend/GemStock.h"
#include "frontend/ScreenTime.h"
#include "frontend/SequenceDirector.h"
#include "core/Console.h"
#include "ships/PlayerShip.h"
#include "ships/ShipRuntime.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/HudLink.h"
#include "world/World.h"
#include "world/GalaxyMap.h"
#include "world/GalaxyMapRules.h"
#include "world/ZoneManager.h"
#include "world/ZoneNodeState.h"

#include <cstdio>

namespace
{
// Sub-states of a chat.
enum EChatState : int
{
    CHAT_START = 0,
    CHAT_TRAVEL = 1,  // a camera chat: the view flies to the object
    CHAT_PAGE = 5,    // the page shows
    CHAT_RETURN = 6,  // a camera chat: the view flies back
    CHAT_WAIT = 7,    // a real-time wait before the page
    CHAT_SEQUENCE = 8,
};

constexpr int CHAT_MOTHERSHIP_FIRST = 21; // 21 to 25 by trigger, 26 and 27 mining
constexpr int CHAT_PRIZE = 28;
constexpr int CHAT_CREW_SITE = 29;
constexpr int CHAT_ALIEN_FIRST = 30;
constexpr int CHAT_MINING_CLEAR_FIRST = 39;
constexpr int CHAT_BOSS_FIRST = 44;
constexpr int CHAT_DRIVE_FIRST = 49;
constexpr int CHAT_POD = 56;
constexpr int CHAT_SHIP_HEALTH = 57;
constexpr int CHAT_STATION_HEALTH = 58;
constexpr int CHAT_DANGER_WORM = 59;
constexpr int CHAT_WORM = 60;
constexpr int CHAT_BOSS_NODE = 61;
constexpr int CHAT_AMMO = 62;
constexpr int CHAT_BROKEN_STATION = 63;
constexpr int CHAT_MENU = 64;
constexpr uint32_t BOSS_NODE_WAIT_MS = 4000;   // real time
constexpr uint32_t DANGER_WORM_WAIT_MS = 2500; // real time
constexpr int32_t DRIVE_GEMS = 50;
constexpr int32_t GEM_CAP = 100;
constexpr int32_t ASTEROID_CREW_SITE = 10;
constexpr int32_t ASTEROID_ALIEN_STATION = 14;
constexpr int32_t ASTEROID_LAST_ALIEN_STATION = 15;
constexpr int32_t HUD_HEALTH_GAUGE = 0;
constexpr int32_t HUD_STATION_GAUGE = 4;
// The motherships' configuration numbers by trigger: minelayer, drone, crusher,
// interdictor, spiral, mining.
constexpr int32_t TRIGGER_CONFIGS[6] = {1, 0, 7, 8, 9, 2};

} // namespace

// ---- the cycles ----------------------------------------------------------------------------

bool CSequenceDirector::ShowChatPage(int chat)
{
    const int handle = GetPageHandle(chat);
    m_pageShown = handle;
    m_pageFailed = handle < 0 || !m_pages.ShowPage(handle);
    if (m_pageFailed && g_console)
        g_console->Printf("Chat page %i cannot show; it counts as read", chat);
    return !m_pageFailed;
}

bool CSequenceDirector::IsPageDone() const
{
    return m_pageFailed || !m_pages.IsPageShowing(m_pageShown);
}

bool CSequenceDirector::IsCameraArrived()
{
    return !m_game.GetCamera().IsSnapping();
}

void CSequenceDirector::FollowShipOrStation()
{
    const int32_t ship = m_game.GetPlayerShipHandle();
    m_game.GetCamera().Follow(GetObject(ship) ? ship : m_game.GetStationHandle(), true);
}

void CSequenceDirector::StartChat(int chat, int32_t watched)
{
    m_chatPage = chat;
    m_sub = CHAT_START;
    m_watched = watched;
    m_pageShown = -1;
    m_pageFailed = false;
}

void CSequenceDirector::EndChat()
{
    m_chatPage = -1;
    m_sub = CHAT_START;
    m_watched = -1;
    SetGate(GATE_WORLD_UPDATE, true);
    m_nextChatTime = Now() + CHAT_SPACING_MS;
}

bool CSequenceDirector::RunPlainCycle()
{
    switch (m_sub)
    {
    case CHAT_START:
        SetGate(GATE_WORLD_UPDATE, false);
        ShowChatPage(m_chatPage);
        m_sub = CHAT_PAGE;
        return false;
    case CHAT_PAGE:
        if (IsPageDone())
        {
            EndChat();
            return true;
        }
        return false;
    default:
        EndChat();
        return true;
    }
}

bool CSequenceDirector::RunCameraCycle()
{
    switch (m_sub)
    {
    case CHAT_START:
        // What the chat talks about has gone: nothing shows.
        if (!GetObject(m_watched))
        {
            EndChat();
            return true;
        }
        m_game.GetCamera().Follow(m_watched, true);
        m_sub = CHAT_TRAVEL;
        return false;
    case CHAT_TRAVEL:
        if (!GetObject(m_watched))
        {
            FollowShipOrStation();
            EndChat();
            return true;
        }
        if (!IsCameraArrived())
            return false;
        SetGate(GATE_WORLD_UPDATE, false);
        ShowChatPage(m_chatPage);
        m_sub = CHAT_PAGE;
        return false;
    case CHAT_PAGE:
        if (!IsPageDone())
            return false;
        FollowShipOrStation();
        m_sub = CHAT_RETURN;
        return false;
    default:
        EndChat();
        return true;
    }
}

// ---- choosing --------------------------------------------------------------------------------

void CSequenceDirector::RunCampaignChats()
{
    if (m_chatPage < 0 && !HasTimeCome(Now(), m_nextChatTime))
        return;
    const EGameMode mode = m_flow.GetMode();
    if (mode == GAME_MODE_FRONT_END)
    {
        if (m_flow.GetScreenId() == SCREEN_ZONE_MAP)
            RunFrontEndChats(false);
        else if (m_flow.GetScreenId() == SCREEN_RESEARCH)
            RunFrontEndChats(true);
        return;
    }
    if (mode == GAME_MODE_IN_GAME_MENU)
    {
        // A flight chat does not go on under the menu.
        if (m_chatPage >= 0 && m_chatPage != CHAT_MENU && m_chatPage < FIRST_BOX_CHAT)
            EndChat();
        RunMenuChat();
        return;
    }
    const int zone = m_game.GetZones().GetZoneIndex();
    if (zone == 4)
        RunZone4Events();
    else
        RunBossNodeChat();
    CGameObject* station = GetStation();
    if (!station || station->GetInfo().warpState != WARP_NONE)
        return;
    CZoneManager* zones = m_game.GetZoneManager();
    const CZoneDefinition* definition = zones ? zones->GetCurrentZone() : nullptr;
    const int32_t node = zones ? zones->GetCurrentNodeIndex() : -1;
    const bool alienNode = definition && (node == definition->m_map.alienNode1 ||
                                          (zone == 0 && node == definition->m_map.alienNode2));
    if (alienNode)
        RunAlienNodeChats();
    else
    {
        RunBossChats();
        RunEncounterChats();
        RunPrizeChats();
    }
}

void CSequenceDirector::RunFrontEndChats(bool researchScreen)
{
    if (m_chatPage >= FIRST_BOX_CHAT)
    {
        if (!m_pages.IsChatBoxAcknowledged())
            return;
        m_pages.CloseChatBox();
        FlushControls();
        GateCurrentScreen();
        m_chatPage = -1;
        m_nextChatTime = Now() + CHAT_SPACING_MS;
        return;
    }
    if (m_chatPage >= 0)
        return;
    // On the zone map a box waits while the galaxy map jumps.
    CZoneManager* zones = m_game.GetZoneManager();
    if (!researchScreen && zones && zones->GetGalaxyMap().GetJumpState() == MAP_JUMPING)
        return;
    const int first = researchScreen ? 0 : 5;
    int number = -1;
    for (int chat = first; chat < first + 5 && number < 0; ++chat)
        if (m_frontEnd[chat * 2] && !m_frontEnd[chat * 2 + 1])
        {
            m_frontEnd[chat * 2 + 1] = true;
            number = chat;
        }
    if (number < 0 && !researchScreen)
    {
        const int zone = m_game.GetZones().GetZoneIndex();
        if (zone > m_lastArrivalZone && m_game.GetZones().GetZoneFlag(ZONE_FLAG_ALIEN_NODE_1_SHOWN))
        {
            m_lastArrivalZone = zone;
            number = zone == 0 ? 10 : 11;
        }
    }
    if (number < 0)
        return;
    char file[32];
    std::snprintf(file, sizeof(file), "feIngame%i.txt", number);
    m_chatPage = number < 10 ? FIRST_BOX_CHAT + number : LAST_BOX_CHAT;
    // A box that cannot show counts as acknowledged: it closes on the next frame.
    m_pages.ShowChatBox(file);
}

void CSequenceDirector::RunMenuChat()
{
    if (m_chatPage == CHAT_MENU)
        RunPlainCycle();
}

void CSequenceDirector::RunBossNodeChat()
{
    CZoneManager* zones = m_game.GetZoneManager();
    if (m_chatPage == CHAT_BOSS_NODE)
    {
        if (m_sub == CHAT_WAIT)
        {
            if (HasTimeCome(GetScreenTime(), m_wait))
                m_sub = CHAT_START;
            return;
        }
        RunPlainCycle();
        return;
    }
    if (m_chatPage >= 0 || !zones)
        return;
    if (m_game.GetZones().GetZoneFlag(ZONE_FLAG_BOSS_NODE_SHOWN) && m_game.GetZones().IsAtBossNode() &&
        m_boss[BOSS_DRIVE_POD])
    {
        m_boss[BOSS_DRIVE_POD] = false;
        StartChat(CHAT_BOSS_NODE, -1);
        m_sub = CHAT_WAIT;
        m_wait = GetScreenTime() + BOSS_NODE_WAIT_MS;
    }
}

void CSequenceDirector::RunAlienNodeChats()
{
    if (m_chatPage >= 0)
    {
        if (m_chatPage == CHAT_BROKEN_STATION)
            RunPlainCycle();
        else if (m_chatPage >= CHAT_ALIEN_FIRST && m_chatPage <= 38)
            RunCameraCycle();
        return;
    }
    CZoneManager* zones = m_game.GetZoneManager();
    CZoneNodeState* state = zones ? zones->GetNodeState() : nullptr;
    const CZoneDefinition* definition = zones ? zones->GetCurrentZone() : nullptr;
    if (!state || !definition)
        return;
    const int zone = zones->GetZoneIndex();
    SAlienNodeVisit visit;
    visit.zone = zone;
    visit.secondNode = zones->GetCurrentNodeIndex() == definition->m_map.alienNode2;
    visit.firstVisit = state->m_visitCounter == 1;
    visit.rewarded = zones->HasAlienReward();
    visit.brokenStationHandled = zones->GetZoneFlag(ZONE_FLAG_BROKEN_ALIEN_STATION_HANDLED);
    const int chat = ChooseAlienNodeChat(visit);
    if (chat < 0)
        return;
    const int flag = chat == CHAT_BROKEN_STATION ? VISIT_CHAT63 : VISIT_CHAT30 + chat - CHAT_ALIEN_FIRST;
    if (m_visit[flag])
        return;
    m_visit[flag] = true;
    int32_t watched = -1;
    if (chat != CHAT_BROKEN_STATION)
    {
        CWorld* world = m_game.GetWorld();
        const CGameObject* alien =
            world ? world->FindAsteroidByKind(zone == 4 ? ASTEROID_LAST_ALIEN_STATION : ASTEROID_ALIEN_STATION)
                  : nullptr;
        watched = alien ? alien->GetHandle() : -1;
    }
    StartChat(chat, watched);
}

void CSequenceDirector::RunBossChats()
{
    if (m_chatPage >= 0)
    {
        if (m_chatPage >= CHAT_BOSS_FIRST && m_chatPage <= 48)
            RunCameraCycle();
        else if (m_chatPage >= CHAT_MINING_CLEAR_FIRST && m_chatPage <= 43)
            RunPlainCycle();
        else if (m_chatPage >= CHAT_DRIVE_FIRST && m_chatPage <= 52)
        {
            // The page, then the drive section, then the gems.
            if (m_sub == CHAT_SEQUENCE)
            {
                if (IsSequencePlaying())
                    return;
                for (int kind = 0; kind < GEM_KIND_COUNT; ++kind)
                {
                    const int32_t raised = m_flow.GetCampaign().GetGemStock(kind) + DRIVE_GEMS;
                    m_flow.GetCampaign().SetGemStock(kind, raised > GEM_CAP ? GEM_CAP : raised);
                }
                EndChat();
                return;
            }
            if (m_sub == CHAT_START)
            {
                SetGate(GATE_WORLD_UPDATE, false);
                ShowChatPage(m_chatPage);
                m_sub = CHAT_PAGE;
                return;
            }
            if (m_sub == CHAT_PAGE && IsPageDone())
            {
                PlaySequence(4 + m_chatPage - CHAT_DRIVE_FIRST, true, -1);
                m_sub = CHAT_SEQUENCE;
            }
        }
        return;
    }
    const int zone = m_game.GetZones().GetZoneIndex();
    if (zone < 0 || zone > 4 || !m_game.GetZones().GetZoneFlag(ZONE_FLAG_BOSS_NODE_SHOWN))
        return;
    const bool atBoss = m_game.GetZones().IsAtBossNode();
    const bool miningChat = m_boss[BOSS_MINING_CLEAR] && !m_boss[BOSS_CHAT39 + zone];
    if (!atBoss && miningChat && zone < 4)
    {
        m_boss[BOSS_MINING_CLEAR] = false;
        m_boss[BOSS_CHAT39 + zone] = true;
        StartChat(CHAT_MINING_CLEAR_FIRST + zone, -1);
        return;
    }
    if (atBoss && !m_boss[BOSS_GO + zone])
    {
        m_boss[BOSS_GO + zone] = true;
        CWorld* world = m_game.GetWorld();
        const CGameObject* boss = world ? world->FindBoss(-1) : nullptr;
        StartChat(CHAT_BOSS_FIRST + zone, boss ? boss->GetHandle() : -1);
        return;
    }
    if (atBoss && zone < 4 && m_boss[BOSS_POD_DELIVERED])
    {
        m_boss[BOSS_POD_DELIVERED] = false;
        StartChat(CHAT_DRIVE_FIRST + zone, -1);
        return;
    }
    if (zone == 4 && !atBoss && miningChat)
    {
        m_boss[BOSS_MINING_CLEAR] = false;
        m_boss[BOSS_CHAT39 + zone] = true;
        StartChat(CHAT_MINING_CLEAR_FIRST + zone, -1);
    }
}

void CSequenceDirector::RunEncounterChats()
{
    if (m_chatPage >= 0)
    {
        if (m_chatPage >= CHAT_MOTHERSHIP_FIRST && m_chatPage <= 27)
        {
            // Wait while the mothership warps.
            const CGameObject* mothership = GetObject(m_watched);
            if (m_sub == CHAT_START && mothership && mothership->GetInfo().warpState != WARP_NONE)
                return;
            RunCameraCycle();
        }
        else if (m_chatPage == CHAT_DANGER_WORM && m_sub == CHAT_WAIT)
        {
            if (HasTimeCome(GetScreenTime(), m_wait))
                m_sub = CHAT_START;
        }
        else if (m_chatPage >= CHAT_POD && m_chatPage <= CHAT_WORM)
            RunPlainCycle();
        else if (m_chatPage == CHAT_AMMO)
            RunPlainCycle();
        return;
    }
    CWorld* world = m_game.GetWorld();
    for (int trigger = 0; trigger < 5; ++trigger)
        if (m_flight[trigger * 2] && !m_flight[trigger * 2 + 1])
        {
            m_flight[trigger * 2 + 1] = true;
            const CGameObject* mothership = world ? world->FindBoss(TRIGGER_CONFIGS[trigger]) : nullptr;
            StartChat(CHAT_MOTHERSHIP_FIRST + trigger, mothership ? mothership->GetHandle() : -1);
            return;
        }
    if (m_gates[GATE_CARGO_CHAT] && !m_flight[FLIGHT_CHAT56])
    {
        m_flight[FLIGHT_CHAT56] = true;
        StartChat(CHAT_POD, -1);
        return;
    }
    const CGameObject* ship = GetPlayerShip();
    const CGameObject* station = GetStation();
    CHudLink& hud = m_game.GetHud();
    if (!m_flight[FLIGHT_CHAT57] && !m_game.GetRun().shipOutOfPlay && hud.IsGaugeFlashing(HUD_HEALTH_GAUGE) && ship &&
        ship->GetBody().health > 0 && station && !StationHoldsShip())
    {
        m_flight[FLIGHT_CHAT57] = true;
        StartChat(CHAT_SHIP_HEALTH, -1);
        return;
    }
    if (!m_flight[FLIGHT_CHAT58] && hud.IsGaugeFlashing(HUD_STATION_GAUGE) && station)
    {
        m_flight[FLIGHT_CHAT58] = true;
        StartChat(CHAT_STATION_HEALTH, -1);
        return;
    }
    const int zone = m_game.GetZones().GetZoneIndex();
    if (m_flight[FLIGHT_CHAT59] || !m_flight[FLIGHT_DANGER_WORM])
    {
        if (m_flight[FLIGHT_WORM] && zone > m_lastZone60)
        {
            m_lastZone60 = zone;
            StartChat(CHAT_WORM, -1);
            return;
        }
        const CPlayerShip* player = dynamic_cast<const CPlayerShip*>(ship);
        if (!m_flight[FLIGHT_CHAT62] && player && player->GetRuntime() && player->GetRuntime()->GetControls().ammoEmpty)
        {
            m_flight[FLIGHT_CHAT62] = true;
            StartChat(CHAT_AMMO, -1);
            return;
        }
        if (m_flight[FLIGHT_MINING])
        {
            // Once in zone 0, once in each of zones 1 to 4.
            const int shown = zone == 0 ? FLIGHT_MINING + 1 : FLIGHT_CHAT27_ZONE1 + zone - 1;
            if (zone >= 0 && zone <= 4 && !m_flight[shown])
            {
                m_flight[shown] = true;
                const CGameObject* mothership = world ? world->FindBoss(TRIGGER_CONFIGS[5]) : nullptr;
                StartChat(zone == 0 ? 26 : 27, mothership ? mothership->GetHandle() : -1);
            }
        }
        return;
    }
    m_flight[FLIGHT_CHAT59] = true;
    StartChat(CHAT_DANGER_WORM, -1);
    m_sub = CHAT_WAIT;
    m_wait = GetScreenTime() + DANGER_WORM_WAIT_MS;
}

void CSequenceDirector::RunPrizeChats()
{
    if (m_chatPage >= 0)
    {
        if (m_chatPage == CHAT_PRIZE)
            RunPlainCycle();
        else if (m_chatPage == CHAT_CREW_SITE)
            RunCameraCycle();
        return;
    }
    const int zone = m_game.GetZones().GetZoneIndex();
    if ((m_boss[BOSS_MINING_CLEAR] || m_visit[VISIT_WRECK_POD]) && zone > m_lastZone28)
    {
        m_lastZone28 = zone;
        StartChat(CHAT_PRIZE, -1);
        return;
    }
    if (m_gates[GATE_ASTEROID_CHAT])
    {
        m_gates[GATE_ASTEROID_CHAT] = false;
        CWorld* world = m_game.GetWorld();
        const CGameObject* site = world ? world->FindAsteroidByKind(ASTEROID_CREW_SITE) : nullptr;
        StartChat(CHAT_CREW_SITE, site ? site->GetHandle() : -1);
    }
}
