#include "ships/FighterPilot.h"

#include "core/Random.h"
#include "ships/EnemyFighter.h"
#include "ships/EnemyTargets.h"
#include "ships/ShipPlacement.h"
#include "world/EffectCache.h"
#include "world/Game.h"
#include "world/World.h"

#include <cmath>

void CFighterPilot::Steer(const CVector2D& goal, float force)
{
    m_mode = PILOT_STEER;
    m_goal = goal;
    m_goalHeading = HeadingOf(goal);
    m_goalForce = force;
}

void CFighterPilot::Engage(int32_t target)
{
    m_mode = PILOT_ENGAGE;
    m_target = target;
}

bool CFighterPilot::TurnTowards(float heading)
{
    CMotionBody& body = m_fighter.GetBody();
    const float turn = TurnBetween(body.angle, heading);
    if (std::fabs(turn) <= FACING_CONE)
        return true;
    body.angle += turn > 0.0f ? TURN_PER_TICK : -TURN_PER_TICK;
    return false;
}

void CFighterPilot::Sense()
{
    CMotionBody& body = m_fighter.GetBody();
    if (m_mode == PILOT_STEER || m_mode == PILOT_ENGAGE)
    {
        CGameObject* target = nullptr;
        float heading = m_goalHeading;
        if (m_mode == PILOT_ENGAGE)
        {
            CWorld* world = GetRunningWorld();
            target = world ? world->GetObject(m_target) : nullptr;
            if (!target)
            {
                m_mode = PILOT_IDLE;
                m_target = NO_OBJECT;
                body.angle = WrapDegrees(body.angle);
                return;
            }
            heading = HeadingOf(target->GetPosition() - m_fighter.GetPosition());
        }
        if (TurnTowards(heading))
        {
            const CVector2D push = GetCrowdPush(m_fighter.GetPosition()) * CROWD_PUSH;
            if (m_mode == PILOT_ENGAGE)
            {
                body.force += push;
                FireWeapons(target);
            }
            else
            {
                CVector2D facing;
                facing.SetFromAngle(body.angle);
                body.force += facing * m_goalForce + push;
            }
            m_mode = PILOT_IDLE;
        }
    }
    else if (m_mode == PILOT_HALT && body.velocity.x == 0.0f && body.velocity.y == 0.0f)
        m_mode = PILOT_IDLE;
    body.angle = WrapDegrees(body.angle);
}

void CFighterPilot::FireWeapons(const CGameObject* target)
{
    CGame* game = GetGame();
    if (!game)
        return;
    const uint32_t now = game->GetTime();
    for (int i = 0; i < CEnemyFighter::WEAPONS; ++i)
    {
        SFighterWeapon& weapon = m_fighter.GetWeapon(i);
        // A weapon without a rate never fires.
        if (weapon.effect.empty() || !(weapon.fireRate > 0.0f) || !HasTimeCome(now, weapon.nextFire))
            continue;
        weapon.nextFire = now + static_cast<uint32_t>(1000.0f / weapon.fireRate);
        CEffect* shot = game->GetEffectCache().SpawnEffect(weapon.effect.c_str(), &m_fighter, true);
        if (!shot)
            continue;
        const CVector2D muzzle = ToWorldPoint(m_fighter, weapon.offset);
        shot->SetPosition(muzzle);
        shot->SetHeading(target ? HeadingOf(target->GetPosition() - muzzle) : m_fighter.GetBody().angle);
        shot->SetVelocity(VelocityPerSecond(m_fighter));
        shot->Start();
    }
}

CFighterContext::CFighterContext(CEnemyFighter& fighter)
    : m_retreatAllowance(GetGameRandom().Below(MAX_RETREAT_ALLOWANCE) + 1), m_fighter(fighter)
{
}

void CFighterContext::Update()
{
    const CGame* game = GetGame();
    const SWorldEdge edge = FindNearestWorldEdge(m_fighter.GetPosition(), game ? game->GetWorldWidth() : 0.0f);
    m_edgeVector = edge.vector;
    m_edgeDistance = edge.length;
    m_health = m_fighter.GetBody().health;
    if (m_startHealth < 0)
        m_startHealth = m_health < MIN_START_HEALTH ? MIN_START_HEALTH : m_health;
}
