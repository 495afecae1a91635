#include "ships/FighterBehaviours.h"

#include "core/Random.h"
#include "ships/EnemyFighter.h"
#include "ships/EnemyTargets.h"
#include "ships/FighterPilot.h"
#include "world/CampaignLink.h"
#include "world/Game.h"
#include "world/World.h"

namespace
{
CFighterContext& FighterContext(CBehaviourContext& context)
{
    return static_cast<CFighterContext&>(context);
}

// The one the fighter attacks: the nearer of the player ship and the station, and
// whether it lies within the arm range. In survival above the first difficulty the
// player ship is always attacked, wherever it is.
SEnemyTarget FindAttackTarget(CEnemyFighter& fighter, bool& inRange)
{
    CGame* game = GetGame();
    if (game && game->GetRun().survival && game->GetCampaign().GetDifficulty() > 0)
    {
        CWorld* world = game->GetWorld();
        CGameObject* ship = world ? world->GetObject(game->GetPlayerShipHandle()) : nullptr;
        inRange = ship != nullptr;
        return ship ? MeasureTarget(*ship, fighter.GetPosition(), *fighter.GetRadius()) : SEnemyTarget();
    }
    SEnemyTarget target = FindNearerPlayerTarget(fighter.GetPosition(), *fighter.GetRadius());
    inRange = target.object && target.distance < fighter.GetArmRange();
    return target;
}

void CountBusyFighter()
{
    if (CGame* game = GetGame())
        ++game->GetRun().frameCounter;
}
} // namespace

void CFighterWander::Score(CBehaviourContext&)
{
    SetScore(0.0f);
}

int32_t CFighterWander::Update(CBehaviourContext& context)
{
    CFighterContext& fighterContext = FighterContext(context);
    CEnemyFighter& fighter = fighterContext.GetFighter();
    CFighterPilot& pilot = fighterContext.GetPilot();
    const uint32_t now = GetGameClock();
    if (m_wandering)
    {
        if (HasTimeCome(now, m_end))
        {
            m_wandering = false;
            return BEHAVIOUR_RUNNING;
        }
        CountBusyFighter();
        pilot.Steer(m_direction, fighter.GetEngineForce());
        return BEHAVIOUR_RUNNING;
    }

    CWorld* world = GetRunningWorld();
    CGameObject* leader = world ? world->GetObject(fighter.GetLeader()) : nullptr;
    if (!leader)
        fighter.SetLeader(NO_OBJECT);
    else
    {
        const SEnemyTarget toLeader = MeasureTarget(*leader, fighter.GetPosition(), 0.0f);
        if (toLeader.distance > fighter.GetDefensiveRange())
        {
            pilot.Steer(toLeader.direction, fighter.GetEngineForce());
            return BEHAVIOUR_RUNNING;
        }
    }
    if (GetGameRandom().Below(START_CHANCE) == 0)
        SetOff(context, now);
    else
        pilot.Steer(GetCrowdPush(fighter.GetPosition()), 0.0f);
    return BEHAVIOUR_RUNNING;
}

void CFighterWander::SetOff(CBehaviourContext& context, uint32_t now)
{
    CEnemyFighter& fighter = FighterContext(context).GetFighter();
    CRandom& random = GetGameRandom();
    m_wandering = true;
    m_end = now + static_cast<uint32_t>(random.Below(MAX_WANDER_MS));
    CGame* game = GetGame();
    const SEnemyTarget side = FindNearerPlayerTarget(fighter.GetPosition(), *fighter.GetRadius());
    if (!side.object || (game && game->GetRun().frameCounter > BUSY_FIGHTERS))
        m_direction.SetFromAngle(static_cast<float>(random.Below(359)));
    else
    {
        m_direction = side.direction;
        m_direction.Rotate(static_cast<float>(random.Below(90) - 45));
    }
}

int32_t CFighterWander::Stop(CBehaviourContext&)
{
    m_wandering = false;
    return BEHAVIOUR_STOPPED;
}

void CFighterRetreat::Score(CBehaviourContext& context)
{
    CFighterContext& fighterContext = FighterContext(context);
    const uint32_t now = GetGameClock();
    float score = 0.0f;
    m_edgeTerm = 0.0f;
    if (fighterContext.m_edgeDistance < EDGE_RANGE)
    {
        m_edgeTerm = 1.0f - fighterContext.m_edgeDistance / EDGE_RANGE;
        score += m_edgeTerm;
    }
    if (!m_thresholdDrawn)
    {
        const int32_t start = fighterContext.m_startHealth;
        m_threshold = GetGameRandom().Below(static_cast<int32_t>(start * 0.5f + 1.0f)) +
                      static_cast<int32_t>(start * 0.1f);
        m_thresholdDrawn = true;
    }
    // One retreat in a life: once its time is over nothing can start another.
    if (m_retreatEnd == 0 && fighterContext.m_attacking && fighterContext.m_health < m_threshold &&
        fighterContext.m_retreatAllowance > fighterContext.m_friendlyCount)
    {
        score += 1.0f;
        m_retreatEnd = now + static_cast<uint32_t>(GetGameRandom().Below(RETREAT_SPREAD_MS) + MIN_RETREAT_MS);
    }
    m_retreating = m_retreatEnd != 0 && !HasTimeCome(now, m_retreatEnd);
    if (m_retreating)
        score += 1.0f;
    else if (m_retreatEnd != 0)
    {
        m_threshold = 0;
        fighterContext.m_retreatAllowance = 0;
    }
    SetScore(score);
    if (score > 0.5f)
        context.GetArbiter()->DampOtherBehaviours(GetKey());
}

int32_t CFighterRetreat::Update(CBehaviourContext& context)
{
    CFighterContext& fighterContext = FighterContext(context);
    CEnemyFighter& fighter = fighterContext.GetFighter();
    CFighterPilot& pilot = fighterContext.GetPilot();
    if (m_edgeTerm > 0.0f)
    {
        pilot.Steer(fighterContext.m_edgeVector * -1.0f, fighter.GetEngineForce());
        return BEHAVIOUR_RUNNING;
    }
    if (m_retreatEnd == 0 || HasTimeCome(GetGameClock(), m_retreatEnd))
    {
        pilot.Halt();
        return BEHAVIOUR_STOPPING;
    }
    pilot.Steer(fighterContext.m_attackDirection * -1.0f, FLEE_FORCE * fighter.GetEngineForce());
    return BEHAVIOUR_RUNNING;
}

void CFighterAttack::Score(CBehaviourContext& context)
{
    bool inRange = false;
    FindAttackTarget(FighterContext(context).GetFighter(), inRange);
    SetScore(inRange ? 1.0f : 0.0f);
}

int32_t CFighterAttack::Update(CBehaviourContext& context)
{
    CFighterContext& fighterContext = FighterContext(context);
    CEnemyFighter& fighter = fighterContext.GetFighter();
    CountBusyFighter();
    bool inRange = false;
    const SEnemyTarget target = FindAttackTarget(fighter, inRange);
    fighterContext.m_attacking = inRange;
    if (!inRange)
    {
        SetScore(0.0f);
        return BEHAVIOUR_STOPPING;
    }
    fighterContext.m_attackDirection = target.direction;
    if (target.distance > fighter.GetDefensiveRange())
        fighterContext.GetPilot().Steer(target.direction, fighter.GetEngineForce());
    else
        fighterContext.GetPilot().Engage(target.object->GetHandle());
    return BEHAVIOUR_RUNNING;
}
