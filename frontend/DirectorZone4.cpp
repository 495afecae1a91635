// The last zone's ending: the queen freezes and calls for help (chat 53), the station
// jumps in and strikes her (54), and once the drive pod is home the station jumps
// away for good (55): its drive section, its shrinking warp and the outro, and the
// campaign is over.

#include "frontend/GameFlow.h"
#include "frontend/SequenceDirector.h"
#include "frontend/StationPlacement.h"
#include "ships/ShipPlacement.h"
#include "ships/StationFlowLink.h"
#include "world/Effect.h"
#include "world/EffectCache.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/HudLink.h"
#include "world/Quadtree.h"
#include "world/WarpEffects.h"
#include "world/World.h"

namespace
{
constexpr int CHAT_QUEEN = 53;
constexpr int CHAT_STRIKE = 54;
constexpr int CHAT_HOME = 55;
constexpr uint32_t QUEEN_WAIT_MS = 2000;
constexpr uint32_t WARP_LOOK_MS = 3000;
constexpr uint32_t SETTLE_MS = 1000;
constexpr uint32_t STRIKE_MS = 4000;
constexpr uint32_t AFTER_QUEEN_MS = 5000;
constexpr uint32_t SHRINK_START_MS = 5000;
constexpr uint32_t SHRINK_END_MS = 8000;
constexpr float SHRINK_PER_MS = 0.00033333333f;
constexpr float STATION_CLEARANCE = 400.0f;
constexpr int SEQUENCE_LAST_DRIVE = 8;
constexpr int SEQUENCE_OUTRO = 3;
const char* const WARP_OUT_EFFECT = "dimensionWarpOut";

void SpawnWarpOut(CGame& game, CGameObject& at)
{
    CEffect* effect = game.GetEffectCache().SpawnEffect(WARP_OUT_EFFECT, &at, true);
    if (!effect)
        return;
    effect->SetPosition(at.GetPosition());
    effect->SetHeading(at.GetBody().angle);
    effect->SetVelocity(VelocityPerSecond(at) * 25.0f);
    effect->Start();
}

constexpr int CLOSED_FOR_QUEEN[] = {GATE_WORLD_UPDATE, GATE_STATION_ATTENTION, GATE_FIRE_GROUP_1, GATE_FIRE_GROUP_2,
                                    GATE_GRAVITY_BEAM, GATE_CALL_STATION, GATE_STEERING};
} // namespace

void CSequenceDirector::RunZone4Events()
{
    if (m_chatPage < 0)
    {
        if (m_queenFrozen && m_queenEvent && !m_chat53)
        {
            m_chat53 = true;
            StartChat(CHAT_QUEEN, m_queen);
            m_wait = Now() + QUEEN_WAIT_MS;
        }
        else if (m_chat53 && !m_chat54)
        {
            m_chat54 = true;
            StartChat(CHAT_STRIKE, m_queen);
        }
        else if (m_strikeDone && !m_chat55)
        {
            m_chat55 = true;
            StartChat(CHAT_HOME, -1);
        }
        return;
    }
    const uint32_t now = Now();
    CGameObject* queen = GetObject(m_queen);
    CGameObject* station = GetStation();
    CCamera& camera = m_game.GetCamera();
    if (m_chatPage == CHAT_QUEEN)
    {
        switch (m_sub)
        {
        case 0:
            if (!HasTimeCome(now, m_wait))
                return;
            for (int gate : CLOSED_FOR_QUEEN)
                SetGate(gate, false);
            if (queen)
                camera.Follow(queen->GetHandle(), true);
            m_sub = 1;
            return;
        case 1:
            if (!IsCameraArrived())
                return;
            ShowChatPage(CHAT_QUEEN);
            m_sub = 2;
            return;
        case 2:
            if (!IsPageDone())
                return;
            if (queen)
                SpawnWarpOut(m_game, *queen);
            m_wait = now + WARP_LOOK_MS;
            m_sub = 3;
            return;
        case 3:
            if (!HasTimeCome(now, m_wait))
                return;
            FollowShipOrStation();
            m_sub = 4;
            return;
        case 4:
            if (!IsCameraArrived())
                return;
            m_wait = now + SETTLE_MS;
            m_sub = 5;
            return;
        default:
            if (HasTimeCome(now, m_wait))
            {
                m_chatPage = -1;
                m_sub = 0;
            }
            return;
        }
    }
    if (m_chatPage == CHAT_STRIKE)
    {
        switch (m_sub)
        {
        case 0:
            SetGate(GATE_WORLD_UPDATE, true);
            if (!station && m_flow.MakeStation())
            {
                station = GetStation();
                CQuadtree* tree = m_game.GetQuadtree();
                if (station && queen)
                {
                    CVector2D spot = queen->GetPosition();
                    if (tree)
                        tree->FindSpawnPosition(STATION_CLEARANCE, spot, false);
                    const CVector2D place = PlaceStationNearQueen(queen->GetPosition(), spot, m_game.GetWorldWidth());
                    station->SetPosition(place);
                    station->GetBody().previousPosition = place;
                }
                ShowArrivingStation(station);
            }
            m_sub = 1;
            return;
        case 1:
            if (station && station->GetInfo().warpState != WARP_NONE)
                return;
            // Arrived: the strike flies at the queen, and ends her.
            if (station && queen)
                GetStationFlowLink().LaunchStrike(*station, queen->GetHandle());
            m_wait = now + STRIKE_MS;
            m_sub = 2;
            return;
        case 2:
            if (!HasTimeCome(now, m_wait))
                return;
            SetGate(GATE_WORLD_UPDATE, false);
            if (queen)
                camera.Follow(queen->GetHandle(), true);
            ShowChatPage(CHAT_STRIKE);
            m_sub = 3;
            return;
        case 3:
            if (!IsPageDone())
                return;
            SetGate(GATE_WORLD_UPDATE, true);
            m_sub = 4;
            return;
        case 4:
            // The strike tells when it is spent (chat 55 waits for that).
            if (queen)
                return;
            m_wait = now + AFTER_QUEEN_MS;
            m_sub = 5;
            return;
        default:
            if (!HasTimeCome(now, m_wait))
                return;
            FollowShipOrStation();
            m_chatPage = -1;
            m_sub = 0;
            return;
        }
    }
    if (m_chatPage != CHAT_HOME)
        return;
    switch (m_sub)
    {
    case 0:
        if (!IsCameraArrived())
            return;
        ShowChatPage(CHAT_HOME);
        m_sub = 1;
        return;
    case 1:
        if (!IsPageDone())
            return;
        FlushControls();
        for (int gate = GATE_FIRE_GROUP_1; gate <= GATE_STEERING; ++gate)
            SetGate(gate, true);
        m_sub = 2;
        return;
    case 2:
        if (!m_boss[BOSS_POD_DELIVERED] || !StationHoldsShip())
            return;
        SetGate(GATE_GUI_KEYBOARD, false);
        SetGate(GATE_WORLD_UPDATE, false);
        PlaySequence(SEQUENCE_LAST_DRIVE, true, -1);
        m_sub = 3;
        return;
    case 3:
        if (IsSequencePlaying())
            return;
        if (station)
            SpawnWarpOut(m_game, *station);
        m_wait = now + SHRINK_START_MS;
        m_wait2 = now + SHRINK_END_MS;
        m_sub = 4;
        return;
    case 4:
        if (HasTimeCome(now, m_wait))
            SetGate(GATE_WORLD_UPDATE, true);
        if (!HasTimeCome(now, m_wait2))
        {
            // From 1 down to 0 over the last 3000 ms.
            if (station && HasTimeCome(now, m_wait))
                SetWarpScale(*station, static_cast<float>(m_wait2 - now) * SHRINK_PER_MS);
            return;
        }
        if (station)
            SetWarpScale(*station, 0.0f);
        m_game.GetHud().Show(false);
        PlaySequence(SEQUENCE_OUTRO, true, -1);
        m_sub = 5;
        return;
    default:
        if (IsSequencePlaying())
            return;
        m_chatPage = -1;
        m_sub = 0;
        m_stage = STAGE_CAMPAIGN_OVER;
        m_flow.EnterFrontEnd();
        return;
    }
}
