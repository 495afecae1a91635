#include "ships/MountedPart.h"

#include "core/Random.h"
#include "ships/EnemyTargets.h"
#include "world/Game.h"
#include "world/World.h"

#include <cmath>

namespace
{
constexpr int32_t MIN_SWEEP = 6;
constexpr int32_t SWEEP_SPREAD = 24;
constexpr float SWEEP_RATE_SCALE = 300.0f;
} // namespace

CMountedPart::CMountedPart() : CEnemyObject(OBJECT_MOUNTED_PART)
{
    CRandom& random = GetGameRandom();
    m_sweepRange = static_cast<float>(random.Below(SWEEP_SPREAD) + MIN_SWEEP);
    m_sweepRate = static_cast<float>(random.Below(100) - 100) / SWEEP_RATE_SCALE;
    if (m_sweepRate == 0.0f)
        m_sweepRate = 1.0f / SWEEP_RATE_SCALE;
}

bool CMountedPart::ReadKeys(const CDataTree& section, CDefinitionProblems&)
{
    ReadEffectName(section, "deathEffect", m_deathEffect);
    m_body.velocityLimit = VELOCITY_LIMIT;
    m_body.damping = DAMPING;
    m_objectBody.GetSprite().SetForceRotate(true);
    return true;
}

void CMountedPart::SetParent(int32_t handle, int32_t mountIndex)
{
    m_parent = handle;
    m_mountIndex = mountIndex;
}

CGameObject* CMountedPart::FindParent() const
{
    CWorld* world = GetRunningWorld();
    return world ? world->GetObject(m_parent) : nullptr;
}

void CMountedPart::Think()
{
    if (!m_loaded || m_dying)
        return;
    if (!FindParent() || (m_deathTime != 0 && HasTimeCome(GetGameClock(), m_deathTime)))
    {
        Die();
        return;
    }
    m_body.angle = WrapDegrees(m_body.angle + m_sweepOffset);
    m_sweepOffset += m_sweepRate;
    if (std::fabs(m_sweepOffset) > m_sweepRange)
        m_sweepRate = -m_sweepRate;
}

bool CMountedPart::Move()
{
    CGameObject* parent = FindParent();
    CVector2D mount;
    if (!m_loaded || !parent || !parent->GetMountPoint(m_mountIndex, mount))
    {
        PlaceShape();
        return false;
    }
    // It rides the mount: its motion is the mount's.
    m_body.previousPosition = m_body.position;
    m_body.position = mount;
    m_body.velocity = m_body.position - m_body.previousPosition;
    m_body.moving = m_body.velocity.x != 0.0f || m_body.velocity.y != 0.0f;
    m_body.heading = m_body.velocity;
    m_body.heading.Normalise();
    PlaceShape();
    UpdateBody();
    return true;
}

void CMountedPart::UpdateSprite()
{
    CAnimatedSprite& sprite = m_objectBody.GetSprite();
    sprite.SetAngle(m_body.angle);
    sprite.SetPosition(GetPosition());
}

void CMountedPart::Die()
{
    if (m_dying)
        return;
    m_dying = true;
    RemoveFromWorld();
}

void CMountedPart::NotifyContact(CGameObject&, const CVector2D&, const CVector2D&)
{
    m_hit = true;
}

void CMountedPart::Collide(CGameObject& other)
{
    if (other.GetType() == GetType() || other.GetTeam() == GetTeam())
        return;
    if (CollideBodies(other))
        m_hit = true;
}

bool CMountedPart::TakeDamage(int32_t sourceType, CGameObject*, int32_t, int32_t amount)
{
    if (m_body.health <= 0 || !m_info.collidable || GetTeamOfType(sourceType) == GetTeam())
        return false;
    m_body.health -= amount;
    m_objectBody.Flash(false);
    if (m_body.health >= 1)
        return false;
    m_deathTime = GetGameClock() + DEATH_DELAY_MS;
    StartEffect(m_deathEffect, GetPosition(), false);
    return true;
}
