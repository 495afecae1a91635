#include "ships/EnemyDrone.h"

#include "core/DefinitionProblems.h"
#include "core/Random.h"
#include "ships/EnemyTargets.h"
#include "ships/ShipPlacement.h"
#include "world/CampaignLink.h"
#include "world/Game.h"
#include "world/Quadtree.h"
#include "world/World.h"

#include <algorithm>
#include <cmath>
#include <strings.h>
#include <vector>

namespace
{
constexpr int32_t DRONE_VELOCITY_LIMIT = 100;
constexpr float DRONE_DAMPING = 0.98f;
constexpr float BEACON_SCALE = 2.0f;

bool IsZero(const CVector2D& vector)
{
    return vector.x == 0.0f && vector.y == 0.0f;
}

CVector2D UnitOf(CVector2D vector)
{
    vector.Normalise();
    return vector;
}
} // namespace

CEnemyDrone::CEnemyDrone() : CEnemyObject(OBJECT_ENEMY_DRONE) {}

bool CEnemyDrone::ReadKeys(const CDataTree& section, CDefinitionProblems& problems)
{
    const uint32_t now = GetGameClock();
    char config[DATA_VALUE_MAX + 1] = "";
    m_kind = DRONE_MINE;
    if (section.GetString("config", config, sizeof(config)))
    {
        if (strcasecmp(config, "suicide") == 0)
            m_kind = DRONE_SUICIDE;
        else if (strcasecmp(config, "megabomb") == 0)
            m_kind = DRONE_MEGABOMB;
        else if (strcasecmp(config, "mine") != 0)
            problems.AddWarning(section.FindValue("config"), "\"config\" %s is no drone kind: the drone is a mine",
                                config);
    }
    if (m_kind == DRONE_MINE)
        m_wakeTime = now + static_cast<uint32_t>(GetGameRandom().Below(MINE_REST_MS));

    if (m_kind == DRONE_MEGABOMB)
    {
        CVector2D range;
        if (section.GetVec2("randomImpactTime", range))
        {
            // An empty or reversed range gives its minimum.
            const int32_t low = static_cast<int32_t>(range.x);
            const int32_t span = static_cast<int32_t>(range.y - range.x);
            const int32_t seconds = GetGameRandom().Below(span) + low;
            m_impactTime = now + static_cast<uint32_t>(seconds < 0 ? 0 : seconds) * 1000u;
        }
        else
        {
            problems.AddWarning(&section, "a megabomb without \"randomImpactTime\" explodes at once");
            m_impactTime = now;
        }
    }
    else
    {
        if (const CDataTree* beacon = section.FindBlock("beacon"))
            ReadBeacon(*beacon);
        std::string wake;
        ReadEffectName(section, "wakeEffect", wake);
        if (m_wake.Spawn(wake, this))
        {
            PlaceWake();
            m_wake.Start();
        }
        section.GetBool("rotateShip", m_rotateShip);
        section.GetBool("blowNearAsteroids", m_blowNearAsteroids);
    }
    section.GetFloat("detonateRange", m_detonateRange);
    section.GetFloat("armRange", m_armRange);
    ReadEffectName(section, "detonateEffect", m_detonateEffect);
    ReadEffectName(section, "deathEffect", m_deathEffect);

    m_body.velocityLimit = DRONE_VELOCITY_LIMIT;
    m_body.damping = DRONE_DAMPING;
    return true;
}

void CEnemyDrone::ReadBeacon(const CDataTree& beacon)
{
    beacon.GetBool("swapMainSprite", m_swapMainSprite);
    if (m_swapMainSprite)
    {
        // The second half of the body's frames is the beacon; a body of one frame
        // has no half to give.
        CSpriteRef& ref = m_objectBody.GetSpriteRef();
        m_beaconFrames = ref.GetFrameCount();
        if (m_beaconFrames < 2)
            m_swapMainSprite = false;
        else
            ref.SetFrameCount(static_cast<uint16_t>(m_beaconFrames / 2));
        return;
    }
    if (!m_beaconRef.Load(beacon, true))
        return;
    m_beacon.Init(m_beaconRef, m_info.drawPlane + 1);
    m_beacon.SetColour(BEACON_COLOUR);
    m_beacon.SetScale(BEACON_SCALE, BEACON_SCALE);
    m_beacon.SetPosition(GetPosition());
    m_beacon.Hide();
}

void CEnemyDrone::Detonate()
{
    StartEffect(m_detonateEffect, GetPosition(), true);
    m_body.health = 0;
    Die();
}

void CEnemyDrone::Think()
{
    if (!m_loaded || m_info.frozen || IsWorldOnHold())
        return;
    const uint32_t now = GetGameClock();
    if (m_kind == DRONE_MEGABOMB && HasTimeCome(now, m_impactTime))
    {
        Detonate();
        return;
    }
    if (m_blowNearAsteroids && HasTimeCome(now, m_nextAsteroidCheck))
    {
        m_nextAsteroidCheck = now + ASTEROID_CHECK_MS;
        if (IsAsteroidNear())
        {
            Detonate();
            return;
        }
    }
    if (m_targetDistance < m_detonateRange)
    {
        Detonate();
        return;
    }
    if (m_kind != DRONE_MEGABOMB)
        ShowBeacon(m_targetDistance >= m_detonateRange && m_targetDistance < m_armRange);
}

bool CEnemyDrone::IsAsteroidNear() const
{
    CGame* game = GetGame();
    if (!game || !game->GetQuadtree())
        return false;
    std::vector<CGameObject*> near;
    game->GetQuadtree()->QueryObjects(GetPosition(), m_body.radius + ASTEROID_REACH, near, true, true);
    return std::any_of(near.begin(), near.end(),
                       [](const CGameObject* object) { return object->GetType() == OBJECT_ASTEROID; });
}

bool CEnemyDrone::IsLauncherEngaged()
{
    CWorld* world = GetRunningWorld();
    CGameObject* launcher = world ? world->GetObject(m_launcher) : nullptr;
    if (!launcher)
    {
        m_launcher = NO_OBJECT;
        return false;
    }
    return launcher->IsEngaged();
}

CVector2D CEnemyDrone::ChooseThrust(uint32_t now)
{
    const SEnemyTarget target = FindClosestTarget(GetPosition(), 0.0f);
    CVector2D thrust;
    if (target.object)
    {
        m_targetDistance = target.distance;
        thrust = target.direction * THRUST;
    }
    else
        m_targetDistance = NO_TARGET;
    if (m_kind != DRONE_MINE)
        return thrust;

    const CGame* game = GetGame();
    const float width = game ? game->GetWorldWidth() : 0.0f;
    const SWorldEdge edge = FindNearestWorldEdge(GetPosition(), width);
    if (edge.length < EDGE_FLEE_RANGE)
    {
        // Away from the edge; on the edge itself, towards the middle.
        CVector2D away = IsZero(edge.vector) ? CVector2D(width * 0.5f, width * 0.5f) - GetPosition()
                                             : edge.vector * -1.0f;
        return UnitOf(away) * THRUST;
    }
    if ((IsLauncherEngaged() || m_targetDistance < MINE_WAKE_RANGE) && HasTimeCome(now, m_wakeTime))
    {
        m_moving = true;
        return thrust * MINE_CREEP;
    }
    if (m_moving)
    {
        m_moving = false;
        m_wakeTime = now + static_cast<uint32_t>(GetGameRandom().Below(MINE_REST_MS));
    }
    return CVector2D();
}

bool CEnemyDrone::Move()
{
    if (m_info.frozen || IsWorldOnHold() || !m_loaded)
    {
        PlaceShape();
        return false;
    }
    const CVector2D thrust = ChooseThrust(GetGameClock());
    CVector2D sum = GetCrowdPush(GetPosition()) * CROWD_PUSH;
    if (m_rotateShip)
    {
        if (!IsZero(thrust))
        {
            const float turn = TurnBetween(m_body.angle, HeadingOf(thrust));
            m_body.angle = WrapDegrees(m_body.angle + std::max(-TURN_PER_TICK, std::min(TURN_PER_TICK, turn)));
            if (std::fabs(turn) <= THRUST_CONE)
                sum += thrust;
        }
    }
    else
    {
        sum += thrust;
        if (!IsZero(thrust))
            m_body.angle = HeadingOf(thrust);
    }
    m_body.force += sum;
    PlaceWake();

    const CGame* game = GetGame();
    m_body.Integrate(game ? game->GetWorldWidth() : 0.0f);
    PlaceShape();
    UpdateBody();
    return true;
}

void CEnemyDrone::PlaceWake()
{
    if (!m_wake.IsValid())
        return;
    if (!m_info.shown)
    {
        m_wake.Stop();
        return;
    }
    m_wake.Place(GetPosition(), m_body.angle, VelocityPerSecond(*this));
    if (!m_wake.IsRunning())
        m_wake.Start();
}

void CEnemyDrone::ShowBeacon(bool show)
{
    if (show == m_beaconShown)
        return;
    m_beaconShown = show;
    if (m_swapMainSprite)
    {
        CAnimatedSprite& sprite = m_objectBody.GetSprite();
        const uint32_t half = m_beaconFrames / 2;
        const uint32_t frame = sprite.GetFrame();
        sprite.SetStartFrame(static_cast<uint16_t>(show ? half : 0));
        if (show && frame < half)
            sprite.SetFrame(frame + half);
        else if (!show && frame >= half)
            sprite.SetFrame(frame - half);
        return;
    }
    if (show && m_info.shown && !m_info.frozen)
        m_beacon.Show();
    else
        m_beacon.Hide();
}

void CEnemyDrone::UpdateSprite()
{
    CAnimatedSprite& sprite = m_objectBody.GetSprite();
    if (m_rotateShip)
        sprite.SetAngle(m_body.angle);
    sprite.SetPosition(GetPosition());
    m_beacon.SetPosition(GetPosition());
}

void CEnemyDrone::Die()
{
    RemoveFromWorld();
}

void CEnemyDrone::Collide(CGameObject& other)
{
    if (m_info.frozen || other.GetType() == GetType() || other.GetTeam() == GetTeam())
        return;
    CollideBodies(other);
}

bool CEnemyDrone::TakeDamage(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount)
{
    // A hit without a source object has no side to spare.
    if (m_info.frozen || !m_info.collidable || m_body.health < 1 || sourceType == GetType() ||
        (source && source->GetTeam() == GetTeam()))
        return false;
    m_body.health -= kind != 0 ? amount : SaturatedProduct(amount, 2);
    if (m_body.health >= 1)
        return false;
    if (CGame* game = GetGame())
        game->GetCampaign().AddKill(1);
    StartEffect(m_deathEffect, GetPosition(), false);
    Die();
    return true;
}

void CEnemyDrone::SetVisible(bool visible)
{
    CEnemyObject::SetVisible(visible);
    if (visible && !m_info.frozen && m_beaconShown)
        m_beacon.Show();
    else
        m_beacon.Hide();
}

void CEnemyDrone::SetFrozen(bool frozen)
{
    FreezeBody(frozen);
    if (frozen)
    {
        m_wake.StopEmitting();
        m_beacon.Hide();
    }
    else
    {
        m_wake.ResumeEmitting();
        if (m_beaconShown && m_info.shown)
            m_beacon.Show();
    }
}

void CEnemyDrone::SetDrawPlane(uint8_t plane)
{
    CEnemyObject::SetDrawPlane(plane);
    m_beacon.SetPlane(plane + 1);
}
