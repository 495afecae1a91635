#include "world/Asteroid.h"

#include "core/Random.h"
#include "presentation/SpriteRef.h"
#include "world/AsteroidBreakup.h"
#include "world/AsteroidDefs.h"
#include "world/AsteroidField.h"
#include "world/CampaignLink.h"
#include "world/DirectorLink.h"
#include "world/EffectCache.h"
#include "world/Game.h"
#include "world/LevelConfig.h"
#include "world/World.h"
#include "world/ZoneLink.h"
#include "world/ZoneNode.h"

#include <cmath>

namespace
{
constexpr uint32_t HOLD_FRAMES = 5;
constexpr uint32_t GEM_DECAY_MS = 60000;
constexpr int32_t CREW_RELEASED = 5;

// The frame (counter + 1) in which an asteroid last showed its contact effect:
// one a frame over all asteroids.
uint32_t s_contactEffectFrame = 0;

bool HasTimeCome(uint32_t now, uint32_t when)
{
    return static_cast<int32_t>(now - when) >= 0;
}
} // namespace

CAsteroid::CAsteroid() : CGameObject(OBJECT_ASTEROID)
{
    m_body.edgeBounce = 0;
}

CAsteroid::~CAsteroid()
{
    if (CEffect* heal = m_heal.Get())
        heal->Release();
}

uint32_t CAsteroid::Now() const
{
    const CGame* game = GetGame();
    return game ? game->GetTime() : 0;
}

int32_t CAsteroid::GetAsteroidKind() const
{
    return m_def ? m_def->kind : -1;
}

int32_t CAsteroid::GetSizeIndex() const
{
    return m_def ? m_def->sizeIndex : 0;
}

// A one-off effect (recyclable, left to itself) at the point.
void CAsteroid::SpawnNamedEffect(const char* name, const CVector2D& at) const
{
    CGame* game = GetGame();
    if (!game || !name || !*name)
        return;
    if (CEffect* effect = game->GetEffectCache().SpawnEffect(name, nullptr, true))
    {
        effect->SetPosition(at);
        effect->Start();
    }
}

void CAsteroid::Setup(const SAsteroidDef& def)
{
    CGame* game = GetGame();
    CRandom& random = GetGameRandom();
    m_def = &def;
    m_creationTime = Now();
    m_body.health = def.health;

    int32_t period = def.minRotSec;
    const int32_t spread = static_cast<int32_t>((static_cast<double>(def.maxRotSec) - def.minRotSec) * 0.5);
    if (spread > 0)
        period += random.Below(spread);

    m_sprite.Destroy();
    m_bigSprite.reset();
    if (!def.sprite.HasFile())
    {
        if (def.bigSprite)
        {
            m_bigSprite = std::make_unique<CTiledSprite>();
            m_bigSprite->CreateOnPlane(*def.bigSprite, m_info.drawPlane);
        }
    }
    else
    {
        m_sprite.Init(def.sprite, m_info.drawPlane);
        m_sprite.SetScale(def.scale[0], def.scale[1]);
        // The spin: one frame a step, a turn of the frames every `period` units.
        const uint16_t frames = def.sprite.GetFrameCount();
        const double step = frames > 0 ? static_cast<double>(period) / (360.0 / frames) : 0.0;
        m_sprite.SetPlayRate(static_cast<uint16_t>(step > 0.0 && step < 65535.0 ? step : 0.0));
        m_sprite.SetLooped(true);
        m_sprite.SetPlayForwards(random.Below(2) != 0);
    }

    const int32_t width = game ? static_cast<int32_t>(game->GetWorldWidth()) : 0;
    const float x = static_cast<float>(random.Below(width));
    m_body.position = CVector2D(x, static_cast<float>(random.Below(width)));
    m_body.previousPosition = m_body.position;
    SetVisible(true);

    m_body.shape = def.shape ? def.shape->CloneChain() : CollisionChain();
    if (m_body.shape && m_body.shape->IsCircle())
    {
        CCollisionCircle& circle = static_cast<CCollisionCircle&>(*m_body.shape);
        m_body.radius = circle.GetRadius() * def.scale[0];
        if (def.scale[0] != 1.0f)
            circle.SetRadius(circle.GetRadius() * def.scale[0]);
    }
    PlaceShape();

    m_body.velocityLimit = def.velLimit;
    m_body.mass = def.mass;
    m_body.damping = def.inertialDampening;
    m_body.health = def.health;

    if (!game)
        return;
    const int32_t nodeKind = game->GetZones().GetNodeKind();
    if (IsDangerousNodeKind(nodeKind))
    {
        m_body.edgeBounce = 1;
        m_body.additiveBounce = 1;
        m_body.damping = 1.0f;
        if (nodeKind != ZONE_NODE_DANGER)
        {
            CVector2D heading;
            heading.SetFromAngle(static_cast<float>(random.Below(359)));
            m_body.velocity = heading * static_cast<float>(20 + random.Below(40));
        }
    }
    if (def.kind == ASTEROID_CREW_SITE && !game->GetZones().GetZoneFlag(ZONE_FLAG_CREW_RELEASED))
        game->GetDirector().OpenGate(GATE_ASTEROID_CHAT);
    if (def.kind == ASTEROID_FRIENDLY_ALIEN_STATION && !m_heal.Get())
        if (CEffect* heal = game->GetEffectCache().SpawnEffect(HEAL_EFFECT, this, false))
        {
            heal->SetPosition(m_body.position);
            m_heal.Set(heal);
        }
}

void CAsteroid::SetVisible(bool visible)
{
    m_info.shown = visible;
    if (visible)
        m_sprite.Show();
    else
        m_sprite.Hide();
    if (m_bigSprite)
        m_bigSprite->SetVisible(visible);
}

void CAsteroid::SetDrawPlane(uint8_t plane)
{
    m_info.drawPlane = plane;
    m_sprite.SetPlane(plane);
}

void CAsteroid::HoldInBeam(bool damageableByAsteroids, uint32_t frame)
{
    m_damageableByAsteroids = damageableByAsteroids ? 1 : 0;
    m_lastHeldFrame = frame;
}

bool CAsteroid::IsInsidePlayfield() const
{
    const CGame* game = GetGame();
    const float width = game ? game->GetWorldWidth() : 0.0f;
    const CVector2D& at = m_body.position;
    return at.x >= 0.0f && at.y >= 0.0f && at.x < width && at.y < width;
}

void CAsteroid::Think()
{
    CGame* game = GetGame();
    if (!game || !m_def)
        return;
    const uint32_t now = Now();
    if (m_deathTime != 0)
    {
        if (HasTimeCome(now, m_deathTime))
        {
            if (m_def->kind == ASTEROID_CREW_SITE)
                game->GetZones().SetZoneFlag(ZONE_FLAG_CREW_SITE_DESTROYED, true);
            Die();
        }
        else
        {
            m_body.velocity = CVector2D();
            m_body.force = CVector2D();
        }
        return;
    }
    if (m_gemDecayTime != 0 && HasTimeCome(now, m_gemDecayTime))
    {
        SpawnNamedEffect(m_def->deathEffect, m_body.position);
        m_deathTime = now + DYING_MS;
    }
    else if (m_gemDecayTime == 0 && IsTransient() && IsGemKind(m_def->kind))
        m_gemDecayTime = now + GEM_DECAY_MS + static_cast<uint32_t>(GetGameRandom().Below(GEM_DECAY_MS));
    ActAsSite();
}

// Crew sites release their crew, broken alien stations their aliens, and friendly
// alien stations mend the station and the player ship.
void CAsteroid::ActAsSite()
{
    const int32_t kind = m_def->kind;
    if (kind != ASTEROID_CREW_SITE && kind != ASTEROID_FRIENDLY_ALIEN_STATION && kind != ASTEROID_BROKEN_ALIEN_STATION)
        return;
    CGame* game = GetGame();
    CWorld* world = game->GetWorld();
    if (kind == ASTEROID_FRIENDLY_ALIEN_STATION && !game->GetRun().stationRepairLocked &&
        game->GetCampaign().IsStationBelowRepairLimit())
        if (CGameObject* station = world ? world->GetObject(game->GetStationHandle()) : nullptr)
            ++station->GetBody().health;
    CGameObject* ship = world ? world->GetObject(game->GetPlayerShipHandle()) : nullptr;
    if (ship && (ship->GetPosition() - m_body.position).Length() > SITE_RANGE)
        ship = nullptr;
    if (kind == ASTEROID_FRIENDLY_ALIEN_STATION)
        return Heal(ship);
    if (!ship)
        return;
    CZoneLink& zones = game->GetZones();
    if (kind == ASTEROID_CREW_SITE && !zones.GetZoneFlag(ZONE_FLAG_CREW_RELEASED))
    {
        ReleaseCrew(ASTEROID_CREW_MAN);
        zones.SetZoneFlag(ZONE_FLAG_CREW_RELEASED, true);
    }
    else if (kind == ASTEROID_BROKEN_ALIEN_STATION && zones.GetZoneIndex() == 0 &&
             !zones.GetZoneFlag(ZONE_FLAG_BROKEN_ALIEN_STATION_HANDLED))
    {
        ReleaseCrew(ASTEROID_FRIENDLY_ALIEN);
        zones.SetZoneFlag(ZONE_FLAG_BROKEN_ALIEN_STATION_HANDLED, true);
    }
}

// The ship in range (or null): mended a point a tick while its stored hull is below
// full, with the glow on it; otherwise the glow stops emitting.
void CAsteroid::Heal(CGameObject* ship)
{
    CEffect* heal = m_heal.Get();
    if (!ship || !GetGame()->GetCampaign().IsShipHullDamaged())
    {
        if (heal && heal->IsRunning())
            heal->StopEmitting();
        return;
    }
    ++ship->GetBody().health;
    if (!heal)
        return;
    heal->SetPosition(ship->GetPosition());
    heal->SetVelocity(ship->GetBody().velocity * static_cast<float>(CMotionBody::TICKS_PER_SECOND));
    if (!heal->IsRunning())
        heal->Start();
    else if (heal->IsEmittingStopped())
        heal->ResumeEmitting();
}

void CAsteroid::ReleaseCrew(int32_t kind)
{
    const CVector2D at = m_body.position;
    for (int32_t i = 0; i < CREW_RELEASED; ++i)
        SpawnAsteroid(false, kind, nullptr, &at, OBJECT_ASTEROID);
}

bool CAsteroid::Move()
{
    CGame* game = GetGame();
    const float width = game ? game->GetWorldWidth() : 0.0f;
    m_body.Integrate(width);
    PlaceShape();
    const CVector2D& at = m_body.position;
    const float r = m_body.radius;
    if (m_body.health > 0 && (at.x + r < 0.0f || at.x - r > width || at.y + r < 0.0f || at.y - r > width))
    {
        // Gone off the playfield: removed whole, without pieces.
        m_body.health = 0;
        if (game && game->GetWorld())
            game->GetWorld()->RemoveObject(m_info.handle);
    }
    const uint32_t frame = game ? game->GetFrameCount() : 0;
    if (frame - m_lastHeldFrame > HOLD_FRAMES)
    {
        m_damageableByAsteroids = 1;
        if (m_def && m_body.health > m_def->health)
            m_body.health = m_def->health;
    }
    return m_body.moving != 0;
}

void CAsteroid::UpdateSprite()
{
    m_sprite.SetPosition(m_body.position);
    m_sprite.Animate();
    if (m_bigSprite)
        m_bigSprite->CenterOn(m_body.position);
}

void CAsteroid::Collide(CGameObject& other)
{
    const uint32_t now = Now();
    const uint32_t age = now - m_creationTime;
    if ((other.GetType() == m_spawnerType && age < GRACE_MS) || other.GetType() == OBJECT_WORM)
        return;
    if (!m_body.shape || !other.GetBody().shape)
        return;
    CVector2D point;
    CVector2D normal;
    if (!m_body.shape->Collide(*other.GetBody().shape, &point, &normal, nullptr))
        return;
    BounceObjects(*this, other);
    other.NotifyContact(*this, point, normal);
    const int32_t kind = GetAsteroidKind();
    if (IsSpecialAsteroidKind(other.GetAsteroidKind()) || IsSpecialAsteroidKind(kind) || m_body.health < 1 ||
        age <= GRACE_MS)
        return;
    const CGame* game = GetGame();
    const uint32_t frame = (game ? game->GetFrameCount() : 0) + 1;
    if (m_def && m_def->collisionContactEffect[0] && s_contactEffectFrame != frame)
    {
        s_contactEffectFrame = frame;
        SpawnNamedEffect(m_def->collisionContactEffect, point);
    }
    TakeDamage(OBJECT_NONE, &other, 0, 1);
}

bool CAsteroid::TakeDamage(int32_t sourceType, CGameObject*, int32_t kind, int32_t amount)
{
    if (m_body.health <= 0 || !m_def)
        return false;
    const int32_t own = m_def->kind;
    const bool fromAsteroid = sourceType == OBJECT_ASTEROID;
    if (sourceType == m_spawnerType)
        return false;
    if (IsSpecialAsteroidKind(own) && fromAsteroid)
        return false;
    // Bumping into it does no harm, and the player can never break a drive pod.
    if (sourceType == OBJECT_STATION && kind == 0)
        return false;
    if (sourceType == OBJECT_PLAYER_SHIP && (kind == 0 || own == ASTEROID_DRIVE_POD))
        return false;
    if (IsGemKind(own) && fromAsteroid && !m_damageableByAsteroids)
        return false;
    const uint32_t now = Now();
    if (now - m_creationTime < GRACE_MS)
        return false;
    const CGame* game = GetGame();
    if (fromAsteroid && kind == 0 && game && IsDangerousNodeKind(game->GetZones().GetNodeKind()))
        return false;

    m_body.health -= amount;
    if (m_body.health >= 1)
        return false;
    if (IsRockKind(own) || own == ASTEROID_EXPLOSIVE)
    {
        m_deathTime = now + DYING_MS;
        if (m_body.shape)
            m_body.shape->SetDisabled(true);
    }
    else
        m_deathTime = 1;
    SpawnNamedEffect(m_def->deathEffect, m_body.position);
    return true;
}

void CAsteroid::Die()
{
    CGame* game = GetGame();
    CWorld* world = game ? game->GetWorld() : nullptr;
    if (!world || !m_def)
        return;
    CZoneLink& zones = game->GetZones();
    if (m_def->kind == ASTEROID_WRECK_POD)
        game->GetDirector().ClearFlag(DIRECTOR_VISIT_CHAT, 0);
    if (IsInsidePlayfield() && !zones.IsAtBossNode())
    {
        SBreakupContext context;
        context.kind = m_def->kind;
        context.chanceOfGems = game->GetLevelConfig() ? game->GetLevelConfig()->GetChanceOfGems() : 0.0f;
        context.dangerousNode = IsDangerousNodeKind(zones.GetNodeKind());
        context.survival = game->GetRun().survival;
        context.difficulty = game->GetCampaign().GetDifficulty();
        context.zoneIndex = zones.GetZoneIndex();
        context.wormsSpawned = game->GetRun().liveWorms;
        SBreakup breakup;
        ChooseBreakup(context, GetGameRandom(), breakup);
        if (breakup.worm)
            SpawnWorm(m_body.position);
        for (int32_t piece : breakup.pieces)
            SpawnAsteroid(true, piece, this, nullptr);
    }
    world->RemoveObject(m_info.handle);
}
