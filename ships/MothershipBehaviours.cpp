#include "ships/MothershipBehaviours.h"

#include "core/Random.h"
#include "ships/EnemyTargets.h"
#include "ships/Mothership.h"
#include "ships/ShipPlacement.h"
#include "world/AsteroidKinds.h"
#include "world/Game.h"
#include "world/Quadtree.h"
#include "world/World.h"

#include <cmath>
#include <vector>

namespace
{
CEnemyMothership& OwnerOf(CBehaviourContext& context)
{
    return static_cast<CMothershipContext&>(context).m_owner;
}

CMothershipContext& MothershipContextOf(CBehaviourContext& context)
{
    return static_cast<CMothershipContext&>(context);
}

uint32_t Now()
{
    return GetGameClock();
}

// The unit vector, or zero for a zero vector.
CVector2D UnitOf(const CVector2D& vector)
{
    const float length = std::sqrt(vector.x * vector.x + vector.y * vector.y);
    return length > 0.0f ? vector * (1.0f / length) : CVector2D();
}
} // namespace

void CMothershipContext::Update()
{
    const CGame* game = GetGame();
    const SWorldEdge edge = FindNearestWorldEdge(m_owner.GetPosition(), game ? game->GetWorldWidth() : 0.0f);
    m_edge = edge.vector;
    m_edgeLength = edge.length;
}

// ---- keep clear ------------------------------------------------------------------

void CKeepClearBehaviour::Score(CBehaviourContext& context)
{
    CMothershipContext& own = MothershipContextOf(context);
    const float range = own.m_owner.IsBossType() ? BOSS_EDGE_RANGE : EDGE_RANGE;
    const float edge = own.m_edgeLength / range;
    m_edgeTerm = edge < 1.0f ? 1.0f - edge : 0.0f;
    const size_t crowd = own.m_owner.GetNearby().size();
    m_crowdTerm = crowd > 3 ? 1.0f - 3.0f / static_cast<float>(crowd) : 0.0f;
    SetScore(m_edgeTerm + m_crowdTerm);
    if (GetScore() > 0.5f)
        context.GetArbiter()->DampOtherBehaviours(GetKey());
}

int32_t CKeepClearBehaviour::Update(CBehaviourContext& context)
{
    CMothershipContext& own = MothershipContextOf(context);
    CMotionBody& body = own.m_owner.GetBody();
    if (m_edgeTerm > 0.0f)
        body.force -= UnitOf(own.m_edge) * CEnemyMothership::ENGINE_FORCE;
    else if (m_crowdTerm > 0.0f)
        body.force += GetCrowdPush(own.m_owner.GetPosition()) * CEnemyMothership::CROWD_FORCE;
    else
        return BEHAVIOUR_STOPPING;
    return BEHAVIOUR_RUNNING;
}

// ---- hunt ------------------------------------------------------------------------

void CHuntBehaviour::Score(CBehaviourContext& context)
{
    CMothershipContext& own = MothershipContextOf(context);
    CGame* game = GetGame();
    CWorld* world = game ? game->GetWorld() : nullptr;
    const bool noShip = !world || !world->GetObject(game->GetPlayerShipHandle());
    if (own.m_defenceless)
        SetScore(0.0f);
    else
        SetScore(noShip || own.m_owner.IsAllLaunchedGone() ? 1.0f : 0.0f);
}

int32_t CHuntBehaviour::Update(CBehaviourContext& context)
{
    CEnemyMothership& owner = OwnerOf(context);
    const SEnemyTarget target = FindClosestTarget(owner.GetPosition(), *owner.GetRadius());
    if (!target.object)
    {
        owner.SetAlert(false);
        return BEHAVIOUR_STOPPING;
    }
    if (target.distance > CLOSE_RANGE)
        owner.GetBody().force += GetCrowdPush(owner.GetPosition()) * CEnemyMothership::CROWD_FORCE +
                                 target.direction * CEnemyMothership::ENGINE_FORCE;
    owner.SetAlert(true);
    return BEHAVIOUR_RUNNING;
}

// ---- launch ----------------------------------------------------------------------

void CLaunchBehaviour::Score(CBehaviourContext& context)
{
    CMothershipContext& own = MothershipContextOf(context);
    CEnemyMothership& owner = own.m_owner;
    CLauncher& launcher = owner.GetLauncher();
    SetScore(0.0f);
    if (owner.AreAllPortsDestroyed())
        return;
    if (owner.IsAnyPortBusy())
    {
        SetScore(1.0f);
        return;
    }
    if (launcher.GetRemaining() <= 0 || launcher.CountLive() >= launcher.GetAmount())
    {
        owner.CloseAllPorts();
        return;
    }
    if (own.m_defenceless)
    {
        SetScore(1.0f);
        return;
    }
    if (!m_hasRun || HasTimeCome(Now(), m_lastRunEnd + launcher.GetDelayMs()))
    {
        SetScore(1.0f);
        return;
    }
    owner.CloseAllPorts();
    if (owner.IsLaunchIfThreat() && !owner.IsThreatened())
        SetScore(0.0f);
}

int32_t CLaunchBehaviour::Start(CBehaviourContext&)
{
    m_launched = 0;
    m_runStarted = false;
    return BEHAVIOUR_RUNNING;
}

bool CLaunchBehaviour::IsEntranceClear(CEnemyMothership& owner, const CVector2D& entrance) const
{
    CGame* game = GetGame();
    if (!game || !game->GetQuadtree())
        return true;
    std::vector<CGameObject*> near;
    game->GetQuadtree()->QueryObjects(entrance, ENTRANCE_CLEARANCE, near, true, true);
    for (CGameObject* object : near)
        if (object != &owner && object->GetInfo().shown && object->GetInfo().collidable)
            return false;
    return true;
}

int32_t CLaunchBehaviour::Update(CBehaviourContext& context)
{
    CEnemyMothership& owner = OwnerOf(context);
    CLauncher& launcher = owner.GetLauncher();
    const uint32_t now = Now();
    if (!m_runStarted)
    {
        m_runStarted = true;
        m_runStart = now;
    }
    const bool amountReached = m_launched >= launcher.GetAmount() || launcher.GetRemaining() <= 0;
    bool allClosedAndIdle = true;
    for (int i = 0; i < owner.GetPortCount(); ++i)
    {
        CDockingPort& port = *owner.GetPort(i);
        const EDockingPortState state = port.GetState();
        if (state == PORT_DESTROYED)
            continue;
        const bool idle = port.GetTransit() == NO_OBJECT && port.GetLaunchQueueLength() == 0 &&
                          port.GetTakeInQueueLength() == 0;
        if ((state == PORT_LAUNCHING || state == PORT_OPEN) && m_launched < launcher.GetAmount() &&
            launcher.GetRemaining() > 0)
        {
            const bool delayed = m_launched == 0 && !HasTimeCome(now, m_runStart + static_cast<uint32_t>(owner.GetLaunchDelay()));
            if (!delayed && IsEntranceClear(owner, port.GetEntrancePoint(owner)))
            {
                if (!owner.LaunchThrough(port))
                {
                    port.Close();
                    return BEHAVIOUR_STOPPING;
                }
                ++m_launched;
            }
        }
        if (state == PORT_CLOSED && !amountReached)
            port.Open();
        else if (state == PORT_OPEN && idle && amountReached)
            port.Close();
        if (port.GetState() != PORT_CLOSED || !idle)
            allClosedAndIdle = false;
    }
    if (allClosedAndIdle && amountReached)
    {
        m_lastRunEnd = now;
        m_hasRun = true;
        m_launched = 0;
        m_runStarted = false;
        return BEHAVIOUR_STOPPING;
    }
    return BEHAVIOUR_RUNNING;
}

int32_t CLaunchBehaviour::Stop(CBehaviourContext& context)
{
    CEnemyMothership& owner = OwnerOf(context);
    for (int i = 0; i < owner.GetPortCount(); ++i)
    {
        CDockingPort& port = *owner.GetPort(i);
        port.Close();
        port.ReleaseAll();
    }
    return BEHAVIOUR_STOPPED;
}

// ---- self-destruct ---------------------------------------------------------------

void CSelfDestructBehaviour::Score(CBehaviourContext& context)
{
    CEnemyMothership& owner = OwnerOf(context);
    const bool spent = owner.GetLauncher().GetRemaining() <= 0 && !owner.IsAnyPortBusy() &&
                       !owner.IsAnyTurretAlive();
    SetScore(spent ? 1.0f : 0.0f);
    if (spent)
        context.GetArbiter()->DampOtherBehaviours(GetKey());
}

int32_t CSelfDestructBehaviour::Start(CBehaviourContext& context)
{
    if (!m_portsDestroyed)
    {
        m_portsDestroyed = true;
        OwnerOf(context).DestroyAllPorts(true);
    }
    return BEHAVIOUR_RUNNING;
}

int32_t CSelfDestructBehaviour::Update(CBehaviourContext& context)
{
    CEnemyMothership& owner = OwnerOf(context);
    CGame* game = GetGame();
    CWorld* world = game ? game->GetWorld() : nullptr;
    CGameObject* station = world ? world->GetObject(game->GetStationHandle()) : nullptr;
    if (!station)
        return BEHAVIOUR_STOPPING;
    const SEnemyTarget target = MeasureTarget(*station, owner.GetPosition(), *owner.GetRadius());
    if (target.distance <= BLAST_RANGE)
    {
        // It cannot hurt itself through the team rule: the death runs directly.
        owner.StartDying(CEnemyMothership::DEATH_DELAY_MS);
        return BEHAVIOUR_RUNNING;
    }
    CVector2D force = target.direction * CEnemyMothership::ENGINE_FORCE;
    if (target.distance > CROWD_RANGE)
        force += GetCrowdPush(owner.GetPosition()) * CEnemyMothership::CROWD_FORCE;
    owner.GetBody().force += force;
    return BEHAVIOUR_RUNNING;
}

// ---- patrol ----------------------------------------------------------------------

void CPatrolBehaviour::Score(CBehaviourContext& context)
{
    CEnemyMothership& owner = OwnerOf(context);
    SetScore(0.1f);
    const SEnemyTarget target = FindClosestTarget(owner.GetPosition(), *owner.GetRadius());
    m_within = target.object && target.distance <= m_range;
    if (m_within)
    {
        m_away = target.direction * -1.0f;
        owner.SetAlert(true);
        return;
    }
    CBehaviourArbiter* arbiter = context.GetArbiter();
    CBehaviour* previous = arbiter->GetBehaviour(arbiter->GetPreviousIndex());
    if (!previous || previous->GetKey() != GetKey())
        m_wander.SetFromAngle(static_cast<float>(GetGameRandom().Below(360)));
    owner.SetAlert(false);
}

int32_t CPatrolBehaviour::Update(CBehaviourContext& context)
{
    CEnemyMothership& owner = OwnerOf(context);
    owner.GetBody().force += GetCrowdPush(owner.GetPosition()) * CEnemyMothership::CROWD_FORCE +
                             (m_within ? m_away : m_wander) * CEnemyMothership::ENGINE_FORCE;
    return BEHAVIOUR_RUNNING;
}

// ---- mine ------------------------------------------------------------------------

void CMineBehaviour::Score(CBehaviourContext& context)
{
    CEnemyMothership& owner = OwnerOf(context);
    CGame* game = GetGame();
    CWorld* world = game ? game->GetWorld() : nullptr;
    m_rock = -1;
    SetScore(0.0f);
    if (!world)
        return;
    std::vector<CGameObject*> candidates;
    for (int32_t handle : owner.GetNearby())
        if (CGameObject* object = world->GetObject(handle))
            candidates.push_back(object);
    if (candidates.empty() && game->GetQuadtree())
        game->GetQuadtree()->QueryObjects(owner.GetPosition(), SEARCH_RANGE, candidates, true, true);
    float best = 0.0f;
    for (CGameObject* object : candidates)
    {
        const int32_t kind = object->GetAsteroidKind();
        if (kind != ASTEROID_MEDIUM && kind != ASTEROID_LARGE)
            continue;
        const CVector2D between = object->GetPosition() - owner.GetPosition();
        const float distance = between.Dot(between);
        if (m_rock == -1 || distance < best)
        {
            m_rock = object->GetHandle();
            best = distance;
        }
    }
    if (m_rock != -1)
        SetScore(0.75f);
}

int32_t CMineBehaviour::Update(CBehaviourContext& context)
{
    CEnemyMothership& owner = OwnerOf(context);
    CWorld* world = GetRunningWorld();
    CGameObject* rock = world ? world->GetObject(m_rock) : nullptr;
    if (!rock)
        return BEHAVIOUR_STOPPING;
    const CVector2D between = rock->GetPosition() - owner.GetPosition();
    if (std::sqrt(between.Dot(between)) > *owner.GetRadius() * 0.5f)
        owner.GetBody().force += UnitOf(between) * CEnemyMothership::ENGINE_FORCE;
    return BEHAVIOUR_RUNNING;
}

// ---- crusher gravity -------------------------------------------------------------

bool CCrusherGravityBehaviour::IsPulling(uint32_t now) const
{
    return m_pullTime != 0 && HasTimeCome(now, m_pullTime);
}

void CCrusherGravityBehaviour::Score(CBehaviourContext& context)
{
    const bool armed = HasTimeCome(Now(), m_armTime);
    SetScore(armed && !OwnerOf(context).GetNearby().empty() ? 1.0f : 0.0f);
}

int32_t CCrusherGravityBehaviour::Start(CBehaviourContext&)
{
    m_pullTime = Now() + PULL_DELAY_MS;
    m_allOpen = false;
    m_endTime = 0;
    return BEHAVIOUR_RUNNING;
}

int32_t CCrusherGravityBehaviour::Update(CBehaviourContext& context)
{
    CEnemyMothership& owner = OwnerOf(context);
    const uint32_t now = Now();
    if (owner.GetNearby().empty())
        return BEHAVIOUR_STOPPING;
    bool allOpen = true;
    for (int i = 0; i < owner.GetPortCount(); ++i)
    {
        CDockingPort& port = *owner.GetPort(i);
        if (port.GetState() == PORT_CLOSED || port.GetState() == PORT_CLOSING)
            port.Open();
        if (port.GetState() != PORT_OPEN && port.GetState() != PORT_DESTROYED)
            allOpen = false;
    }
    if (allOpen && !m_allOpen)
    {
        m_allOpen = true;
        m_endTime = now + OPEN_TIME_MS;
    }
    if (m_allOpen && HasTimeCome(now, m_endTime))
        return BEHAVIOUR_STOPPING;
    if (!m_effect.IsValid() && m_effect.Spawn(EFFECT, &owner))
        m_effect.Start();
    m_effect.Place(owner.GetPosition(), owner.GetBody().angle, VelocityPerSecond(owner));
    if (!IsPulling(now))
        return BEHAVIOUR_RUNNING;
    CWorld* world = GetRunningWorld();
    CGame* game = GetGame();
    if (!world || !game->GetQuadtree())
        return BEHAVIOUR_RUNNING;
    std::vector<CGameObject*> near;
    game->GetQuadtree()->QueryObjects(owner.GetPosition(), *owner.GetRadius() * 1.5f, near, true, true);
    for (CGameObject* object : near)
    {
        if (object == &owner || object->GetTeam() == BAD_TEAM)
            continue;
        const CVector2D pull = owner.GetPosition() - object->GetPosition();
        // An object at the very centre has no direction to be pulled in.
        if (pull.Dot(pull) <= 0.0f)
            continue;
        object->GetBody().force += UnitOf(pull) * PULL_FORCE;
    }
    return BEHAVIOUR_RUNNING;
}

int32_t CCrusherGravityBehaviour::Stop(CBehaviourContext& context)
{
    OwnerOf(context).CloseAllPorts();
    m_armTime = Now() + ARM_MS;
    m_pullTime = 0;
    m_effect.StopEmitting();
    return BEHAVIOUR_STOPPED;
}
