#include "ships/Worm.h"

#include "core/Random.h"
#include "presentation/CollisionShape.h"
#include "ships/EnemyTargets.h"
#include "world/AsteroidField.h"
#include "world/AsteroidKinds.h"
#include "world/CampaignLink.h"
#include "world/Game.h"
#include "world/World.h"

#include <cmath>

namespace
{
const char* const WORM_DIE_EFFECT = "wormDie";
constexpr int32_t MIN_THRUST = 100;
constexpr int32_t THRUST_SPREAD = 120;
constexpr float PULSE_SHRINK = 0.95f;
constexpr float PULSE_SMALLEST = 0.15f;
constexpr float PULSE_GROWTH = 0.1f;
constexpr float TOO_CLOSE = 1e-3f; // two segments on one point pull nowhere
constexpr int32_t SURVIVAL_FULL_STAGE = 6;
} // namespace

CWorm::CWorm() : CEnemyObject(OBJECT_WORM)
{
    m_thrust = static_cast<float>(GetGameRandom().Below(THRUST_SPREAD) + MIN_THRUST);
}

CWorm::~CWorm()
{
    if (m_wormId == NO_OBJECT || !IsLastOfItsWorm())
        return;
    if (CGame* game = GetGame(); game && game->GetRun().liveWorms > 0)
        --game->GetRun().liveWorms;
}

bool CWorm::ReadKeys(const CDataTree&, CDefinitionProblems&)
{
    m_body.velocityLimit = VELOCITY_LIMIT;
    m_body.damping = DAMPING;
    CGame* game = GetGame();
    if (game && game->GetRun().survival)
    {
        // Half health before the survival game's sixth stage.
        const int32_t stage = game->GetRun().survivalStage;
        const float share = 1.0f - static_cast<float>(stage / SURVIVAL_FULL_STAGE);
        const float health = static_cast<float>(m_body.health);
        m_body.health = static_cast<int32_t>(health - share * health * 0.5f);
    }
    return true;
}

void CWorm::SetWormLinks(int32_t front, int32_t behind)
{
    m_front = front;
    m_behind = behind;
    if (m_wormId != NO_OBJECT)
        return;
    const CWorm* ahead = FindSegment(front);
    m_wormId = ahead && ahead->m_wormId != NO_OBJECT ? ahead->m_wormId : GetHandle();
}

CWorm* CWorm::FindSegment(int32_t handle) const
{
    CWorld* world = GetRunningWorld();
    return world ? dynamic_cast<CWorm*>(world->GetObject(handle)) : nullptr;
}

bool CWorm::IsLastOfItsWorm() const
{
    CWorld* world = GetRunningWorld();
    if (!world)
        return false;
    for (int32_t slot = 0; slot < world->GetSlotCount(); ++slot)
    {
        const CWorm* other = dynamic_cast<const CWorm*>(world->GetSlot(slot));
        if (other && other != this && other->m_wormId == m_wormId)
            return false;
    }
    return true;
}

void CWorm::Think()
{
    if (!m_loaded || m_dying || IsWorldOnHold())
        return;
    const CWorm* front = FindSegment(m_front);
    if (!front)
        m_front = NO_OBJECT;
    if (!FindSegment(m_behind))
        m_behind = NO_OBJECT;
    if (m_front == NO_OBJECT && m_behind == NO_OBJECT)
    {
        StartEffect(WORM_DIE_EFFECT, GetPosition(), true);
        Die();
        m_body.health = 0;
        return;
    }
    if (front)
    {
        m_body.angle = HeadingOf(front->GetPosition() - GetPosition());
        return;
    }
    HuntAsHead();
}

void CWorm::PulseScale()
{
    CAnimatedSprite& sprite = m_objectBody.GetSprite();
    float scale = m_body.scale[0];
    if (sprite.GetFrame() == 1)
    {
        scale *= PULSE_SHRINK;
        if (scale <= PULSE_SMALLEST)
            sprite.SetFrame(0);
    }
    else if (scale < 1.0f)
        scale = std::fmin(1.0f, scale + PULSE_GROWTH);
    m_body.scale[0] = scale;
    m_body.scale[1] = scale;
}

void CWorm::HuntAsHead()
{
    PulseScale();
    const SEnemyTarget target = FindClosestTarget(GetPosition(), 0.0f);
    if (target.object)
    {
        const float turn = TurnBetween(m_body.angle, HeadingOf(target.direction));
        if (std::fabs(turn) > FACING_CONE)
            m_body.angle = WrapDegrees(m_body.angle + (turn > 0.0f ? TURN_PER_TICK : -TURN_PER_TICK));
    }
    CVector2D facing;
    facing.SetFromAngle(m_body.angle);
    m_body.force += facing * m_thrust;
}

void CWorm::PullTowards(const CGameObject& other)
{
    const CVector2D between = other.GetPosition() - GetPosition();
    const float distance = between.Length();
    if (distance < TOO_CLOSE)
        return;
    const float strength = std::fabs(distance - REST_LENGTH) * SPRING;
    m_body.force += distance >= REST_LENGTH ? between * strength : between * -strength;
}

void CWorm::KeepGapToFront()
{
    const CWorm* front = FindSegment(m_front);
    if (!front)
        return;
    const CVector2D between = front->GetPosition() - GetPosition();
    const float distance = between.Length();
    if (distance < TOO_CLOSE)
        return;
    const CVector2D direction = between * (1.0f / distance);
    if (distance > MAX_GAP)
        m_body.position += direction * (distance - MAX_GAP);
    else if (distance < MIN_GAP)
        m_body.position -= direction * (MIN_GAP - distance);
}

bool CWorm::Move()
{
    if (!m_loaded || IsWorldOnHold())
        return false;
    const CWorm* front = FindSegment(m_front);
    const CWorm* behind = FindSegment(m_behind);
    if (!front && !behind)
        return false;
    m_body.force += GetCrowdPush(GetPosition()) * CROWD_PUSH;
    if (behind)
        PullTowards(*behind);
    if (front)
        PullTowards(*front);
    const CGame* game = GetGame();
    m_body.Integrate(game ? game->GetWorldWidth() : 0.0f);
    KeepGapToFront();
    // The bite leads the segment.
    if (m_body.shape)
    {
        CVector2D lead;
        lead.SetFromAngle(m_body.angle);
        m_body.shape->SetPosition(GetPosition() + lead * SHAPE_LEAD);
    }
    UpdateBody();
    return true;
}

void CWorm::UpdateSprite()
{
    CAnimatedSprite& sprite = m_objectBody.GetSprite();
    sprite.SetAngle(m_body.angle);
    sprite.SetPosition(GetPosition());
}

void CWorm::Die()
{
    if (m_dying)
        return;
    m_dying = true;
    CGame* game = GetGame();
    if (game && (GetGameRandom().Next() & 1u) != 0)
    {
        int32_t kind = ASTEROID_NORMAL_GEM;
        if (!game->GetRun().survival || game->GetCampaign().GetDifficulty() <= 3)
        {
            const int32_t e = GetGameRandom().Below(10);
            kind = e <= 3 ? ASTEROID_NORMAL_GEM_LARGE : (e <= 7 ? ASTEROID_RARE_GEM_LARGE : ASTEROID_VERY_RARE_GEM_LARGE);
        }
        DropGem(GetPosition(), kind);
    }
    RemoveFromWorld();
}

void CWorm::Collide(CGameObject& other)
{
    if (other.GetType() == GetType() || other.GetTeam() == GetTeam() || other.GetType() == OBJECT_ASTEROID)
        return;
    CollideBodies(other);
}

bool CWorm::TakeDamage(int32_t sourceType, CGameObject*, int32_t kind, int32_t amount)
{
    if (!m_info.collidable || m_body.health <= 0 || sourceType == OBJECT_WORM || sourceType == OBJECT_ASTEROID)
        return false;
    m_body.health -= kind != 0 ? amount : SaturatedProduct(amount, RAM_FACTOR);
    if (m_body.health < 1)
    {
        if (CGame* game = GetGame())
            game->GetCampaign().AddKill(1);
        StartEffect(WORM_DIE_EFFECT, GetPosition(), true);
        Die();
    }
    return true;
}
