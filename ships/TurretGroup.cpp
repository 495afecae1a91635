#include "ships/TurretGroup.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "presentation/AnimationClock.h"
#include "presentation/CollisionTag.h"
#include "presentation/DefinitionBlocks.h"
#include "presentation/EffectRequests.h"
#include "presentation/ObjectBody.h"
#include "presentation/SpriteTypes.h"
#include "ships/ComponentDef.h"
#include "ships/DockingPort.h"
#include "ships/EnemyObject.h"
#include "ships/EnemyTargets.h"
#include "world/AsteroidField.h"
#include "world/AsteroidKinds.h"
#include "world/Game.h"
#include "world/ObjectSpriteOwner.h"
#include "world/World.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
constexpr float STATION_TAKE_RANGE = 100.0f;
constexpr float OTHER_TAKE_RANGE = 50.0f;
constexpr float STATION_PULL = 200.0f;
constexpr float OTHER_PULL = 125.0f;
constexpr int32_t SMALL_GEM_STOCK_BELOW = 100;
constexpr int32_t LARGE_GEM_STOCK_BELOW = 95;
constexpr int32_t LARGE_GEM_UNITS = 5;
constexpr int32_t OFFSCREEN_TURRET_RADIUS = 16;

// 1000 / rate ms between shots; a rate of 0 or less never fires (interval 0).
uint32_t FireIntervalOf(float fireRate)
{
    if (!(fireRate > 0.0f))
        return 0;
    const double interval = 1000.0 / static_cast<double>(fireRate);
    if (interval >= static_cast<double>(std::numeric_limits<uint32_t>::max()))
        return std::numeric_limits<uint32_t>::max();
    return std::max<uint32_t>(1, static_cast<uint32_t>(interval));
}

uint32_t SecondsToMs(float seconds)
{
    if (!(seconds > 0.0f))
        return 0;
    const double ms = static_cast<double>(seconds) * 1000.0;
    return ms >= 4.0e9 ? 4000000000u : static_cast<uint32_t>(ms);
}

uint32_t TagOf(const char* text)
{
    return text && text[0] ? PackCollisionTag(text) : 0;
}

// The stock a gem kind goes into (1 ordinary, 2 rare, 3 very rare), and whether it is a
// large gem (worth 5).
int StockOfGem(int32_t kind)
{
    return (kind - ASTEROID_NORMAL_GEM) / 2 + 1;
}

bool IsLargeGem(int32_t kind)
{
    return (kind - ASTEROID_NORMAL_GEM) % 2 == 1;
}

bool IsMiningKind(int32_t kind)
{
    return IsRockKind(kind) || kind == ASTEROID_EXPLOSIVE;
}

CVector2D OwnerVelocityPerSecond(const CGameObject& owner)
{
    return owner.GetBody().velocity * static_cast<float>(GAME_TICKS_PER_SECOND);
}

bool IsOnScreen(const CVector2D& point, float radius)
{
    CGame* game = GetGame();
    return game && game->GetCamera().IsVisible(point, radius);
}
} // namespace

bool IsHeadingInArc(float heading, float arcMin, float arcMax)
{
    return WrapDegrees(heading - arcMin) <= WrapDegrees(arcMax - arcMin);
}

float GetArcWidth(float arcMin, float arcMax)
{
    if (arcMin == -1.0f || arcMax == -1.0f)
        return 360.0f;
    return WrapDegrees(arcMax - arcMin);
}

bool TurnToward(float& angle, float heading, float step)
{
    const float difference = TurnBetween(angle, heading);
    if (std::fabs(difference) <= step)
    {
        angle = WrapDegrees(heading);
        return true;
    }
    angle = WrapDegrees(angle + (difference > 0.0f ? step : -step));
    return false;
}

void CTurretGroup::Clear()
{
    m_turrets.reset();
    m_count = 0;
    m_defs.reset();
    m_defCount = 0;
    m_store = nullptr;
    m_station = false;
    m_disabled = false;
    m_visible = true;
}

bool CTurretGroup::Parse(const CDataTree& node, const CGameObject& owner, CDefinitionProblems& problems)
{
    Clear();
    if (!LoadSpriteRefList(node, "numSpriteDefs", MAX_SPRITE_DEFS, m_defs, m_defCount, problems))
        return false;
    int32_t count = 0;
    if (!ReadDefinitionCount(node, "numTurrets", MAX_TURRETS, count, problems))
        return false;
    m_turrets.reset(new STurret[static_cast<size_t>(count)]);
    m_count = count;
    const int ownerPlane = owner.GetInfo().drawPlane;
    bool complete = true;
    for (int32_t i = 0; i < count; ++i)
    {
        const CDataTree* block = FindNumberedBlock(node, "turret", i, true, problems);
        if (!block)
        {
            complete = false;
            continue;
        }
        STurret& turret = m_turrets[static_cast<size_t>(i)];
        block->GetInt("health", turret.health);
        block->GetVec2("turretPos", turret.offset);
        block->GetInt("drawPlane", turret.drawPlane);
        int32_t spriteIndex = -1;
        block->GetInt("bodySpriteIdx", spriteIndex);
        if (spriteIndex >= static_cast<int32_t>(m_defCount) || spriteIndex < -1)
        {
            problems.AddWarning(block, "\"bodySpriteIdx\" %d names no sprite definition (there are %d)",
                                static_cast<int>(spriteIndex), static_cast<int>(m_defCount));
            spriteIndex = -1;
        }
        if (spriteIndex >= 0)
            turret.sprite.Init(m_defs[static_cast<size_t>(spriteIndex)], ownerPlane + turret.drawPlane);
        block->GetVec2("launchOffset", turret.launchOffset);
        block->GetFloat("range", turret.range);
        CVector2D arc(-1.0f, -1.0f);
        block->GetVec2("fireAngleMinMax", arc);
        turret.arcMin = arc.x;
        turret.arcMax = arc.y;
        turret.defaultAngle = turret.HasArc() ? arc.x : 0.0f;
        block->GetFloat("defaultOri", turret.defaultAngle);
        block->GetInt("oneFrame", turret.oneFrame);
        block->GetFloat("accuracy", turret.sweepDirection);
        char effect[DATA_VALUE_MAX + 1] = "";
        std::string weapon;
        std::string glow;
        ReadEffectName(*block, "weaponEffect", weapon);
        ReadEffectName(*block, "notFiringEffect", glow);
        ReadEffectName(*block, "deathEffect", turret.deathEffect);
        turret.weaponEffect.Spawn(weapon, &owner);
        turret.notFiringEffect.Spawn(glow, &owner);
        block->GetFloat("turnRate", turret.turnRate);
        float rate = 0.0f;
        block->GetFloat("fireRate", rate);
        turret.fireInterval = FireIntervalOf(rate);
        float charge = 0.0f;
        block->GetFloat("chargeTime", charge);
        turret.chargeTime = SecondsToMs(charge);
        block->GetInt("dockingPortMountIdx", turret.portIndex);
        block->GetInt("dockingPortAnimIdx", turret.portAnimation);
        effect[0] = 0;
        block->GetString("collisionTag", effect, sizeof(effect));
        turret.collisionTag = TagOf(effect);
        effect[0] = 0;
        block->GetString("owningCollisionTag", effect, sizeof(effect));
        turret.owningCollisionTag = TagOf(effect);
        block->GetBool("damageOnly", turret.damageOnly);
        block->GetBool("gemSuck", turret.gemSuck);
        block->GetBool("mining", turret.mining);
        block->GetBool("stopToFire", turret.stopToFire);
        block->GetBool("constantSweep", turret.constantSweep);
        if (turret.constantSweep)
        {
            turret.sweepOffset = 0.0f;
            turret.sweepDirection = 1.0f;
        }
        turret.angle = WrapDegrees(turret.defaultAngle);
        turret.position = owner.GetPosition() + turret.offset;
        if (turret.oneFrame >= 0)
        {
            turret.sprite.SetForceRotate(true);
            turret.sprite.SetFrame(static_cast<uint32_t>(turret.oneFrame));
        }
        turret.sprite.SetAngle(turret.angle);
    }
    return complete;
}

bool CTurretGroup::ParseStation(const CDataTree& node, const CGameObject& owner,
                                const CStationWeaponDef* const* fitted, CTurretGemStore* store,
                                CDefinitionProblems& problems)
{
    Clear();
    m_station = true;
    m_store = store;
    int32_t count = 0;
    if (!ReadDefinitionCount(node, "numTurrets", MAX_TURRETS, count, problems))
        return false;
    if (count > MAX_STATION_TURRETS)
    {
        problems.AddWarning(&node, "the station has %d turret mounts: only the first %d are used",
                            static_cast<int>(count), static_cast<int>(MAX_STATION_TURRETS));
        count = MAX_STATION_TURRETS;
    }
    m_turrets.reset(new STurret[static_cast<size_t>(count)]);
    m_count = count;
    const int ownerPlane = owner.GetInfo().drawPlane;
    for (int32_t i = 0; i < count; ++i)
    {
        STurret& turret = m_turrets[static_cast<size_t>(i)];
        if (const CDataTree* block = FindNumberedBlock(node, "turret", i, false, problems))
            block->GetVec2("turretPos", turret.offset);
        turret.position = owner.GetPosition() + turret.offset;
        const CStationWeaponDef* def = fitted ? fitted[i] : nullptr;
        if (!def)
            continue; // not fitted: dead
        if (def->m_sprite)
            turret.ownSprite.Load(*def->m_sprite, true);
        turret.drawPlane = def->m_drawPlane;
        turret.sprite.Init(turret.ownSprite, ownerPlane + turret.drawPlane);
        turret.health = static_cast<int32_t>(std::min<uint32_t>(def->m_health, 0x7fffffff));
        turret.launchOffset = def->m_launchOffset;
        turret.range = def->m_range;
        turret.arcMin = def->m_fireAngleMinMax.x;
        turret.arcMax = def->m_fireAngleMinMax.y;
        turret.defaultAngle = turret.HasArc() ? turret.arcMin : 0.0f;
        turret.angle = WrapDegrees(turret.defaultAngle);
        turret.turnRate = def->m_turnRate;
        turret.fireInterval = FireIntervalOf(def->m_fireRate);
        turret.chargeTime = SecondsToMs(def->m_chargeTime);
        turret.portIndex = def->m_dockingPortMountIdx;
        turret.portAnimation = def->m_dockingPortAnimIdx;
        turret.weaponEffect.Spawn(def->m_weaponEffect, &owner);
        turret.notFiringEffect.Spawn(def->m_notFiringEffect, &owner);
        turret.deathEffect = STATION_DEATH_EFFECT;
        turret.collisionTag = TagOf(def->m_collisionTag.c_str());
        turret.damageOnly = def->m_damageOnly;
        turret.gemSuck = def->m_gemSuck;
        turret.mining = def->m_mining;
        turret.stopToFire = def->m_stopToFire;
        turret.sprite.SetAngle(turret.angle);
    }
    return true;
}

STurret* CTurretGroup::GetTurret(int32_t index)
{
    return index >= 0 && index < m_count ? &m_turrets[static_cast<size_t>(index)] : nullptr;
}

const STurret* CTurretGroup::GetTurret(int32_t index) const
{
    return index >= 0 && index < m_count ? &m_turrets[static_cast<size_t>(index)] : nullptr;
}

bool CTurretGroup::HasTarget() const
{
    for (int32_t i = 0; i < m_count; ++i)
    {
        const STurret& turret = m_turrets[static_cast<size_t>(i)];
        if (turret.IsLive() && !turret.disabled && turret.target != NO_OBJECT)
            return true;
    }
    return false;
}

void CTurretGroup::Place(const CGameObject& owner, CDockingPort* ports, size_t portCount)
{
    const CMotionBody& body = owner.GetBody();
    for (int32_t i = 0; i < m_count; ++i)
    {
        STurret& turret = m_turrets[static_cast<size_t>(i)];
        if (!turret.IsLive())
        {
            turret.sprite.Hide();
            continue;
        }
        CVector2D point = owner.GetPosition();
        // A port or animation that is not there leaves the turret on its owner.
        if (ports && turret.portIndex >= 0 && static_cast<size_t>(turret.portIndex) < portCount)
            if (CAnimatedSprite* carrier = ports[turret.portIndex].GetAnimationSprite(turret.portAnimation))
                point = carrier->GetPosition();
        turret.position = point + CVector2D(turret.offset.x * body.scale[0], turret.offset.y * body.scale[1]);
        turret.sprite.SetPosition(turret.position);
        turret.sprite.SetScale(body.scale[0], body.scale[1]);
        if (m_visible && !m_disabled && !turret.disabled)
            turret.sprite.Show();
        KeepWeaponOnSprite(owner, turret);
    }
}

void CTurretGroup::SetVisible(bool visible)
{
    m_visible = visible;
    for (int32_t i = 0; i < m_count; ++i)
    {
        STurret& turret = m_turrets[static_cast<size_t>(i)];
        if (turret.disabled)
            continue;
        if (visible && turret.IsLive())
            turret.sprite.Show();
        else
            turret.sprite.Hide();
    }
}

void CTurretGroup::ChooseTargets(const CGameObject& owner, const std::vector<int32_t>& candidates, bool suppress)
{
    if (m_disabled)
        return;
    // Every turret lets go first, so that none is kept from a target by an old choice
    // of a turret after it.
    for (int32_t i = 0; i < m_count; ++i)
    {
        STurret& turret = m_turrets[static_cast<size_t>(i)];
        if (turret.IsLive() && !turret.disabled)
            turret.target = NO_OBJECT;
    }
    for (int32_t i = 0; i < m_count; ++i)
    {
        STurret& turret = m_turrets[static_cast<size_t>(i)];
        if (!turret.IsLive() || turret.disabled)
            continue;
        if (candidates.empty() || suppress || !ChooseTarget(owner, i, candidates))
            turret.weaponEffect.StopEmitting();
    }
}

bool CTurretGroup::ChooseTarget(const CGameObject& owner, int32_t index, const std::vector<int32_t>& candidates) const
{
    CWorld* world = GetRunningWorld();
    if (!world)
        return false;
    STurret& turret = const_cast<STurret&>(m_turrets[static_cast<size_t>(index)]);
    float best = std::numeric_limits<float>::max();
    int32_t chosen = NO_OBJECT;
    for (int32_t handle : candidates)
    {
        CGameObject* candidate = world->GetObject(handle);
        if (!candidate || !Accepts(owner, index, *candidate))
            continue;
        const float distance = (candidate->GetPosition() - turret.position).Length();
        if (distance < best)
        {
            best = distance;
            chosen = handle;
        }
    }
    turret.target = chosen;
    return chosen != NO_OBJECT;
}

bool CTurretGroup::IsTargetedByOther(int32_t index, int32_t handle) const
{
    for (int32_t i = 0; i < m_count; ++i)
    {
        const STurret& other = m_turrets[static_cast<size_t>(i)];
        if (i != index && other.IsLive() && !other.disabled && other.target == handle)
            return true;
    }
    return false;
}

bool CTurretGroup::Accepts(const CGameObject& owner, int32_t index, const CGameObject& candidate) const
{
    const STurret& turret = m_turrets[static_cast<size_t>(index)];
    if (candidate.GetHandle() == owner.GetHandle())
        return false;
    if ((candidate.GetPosition() - turret.position).Length() > turret.range)
        return false;
    const bool asteroid = candidate.GetType() == OBJECT_ASTEROID;
    const int32_t kind = asteroid ? candidate.GetAsteroidKind() : -1;
    if (turret.gemSuck)
        return asteroid && IsGemKind(kind) && !IsTargetedByOther(index, candidate.GetHandle());
    if (turret.mining)
    {
        if (asteroid)
            return IsMiningKind(kind) && !IsTargetedByOther(index, candidate.GetHandle());
        if (candidate.GetType() == OBJECT_STATION)
            return false;
        if (candidate.GetTeam() == GOOD_TEAM)
        {
            const float radius = std::max(candidate.GetBody().radius, 1.0f);
            return IsOnScreen(candidate.GetPosition(), radius) &&
                   IsOnScreen(turret.position, static_cast<float>(OFFSCREEN_TURRET_RADIUS));
        }
        return true;
    }
    if (!asteroid)
        return true;
    if (!IsRockKind(kind))
        return false;
    // A plain rock only when it comes at least a unit nearer within a frame.
    const float now = (candidate.GetPosition() - turret.position).Length();
    const CVector2D rockNext = candidate.GetPosition() + candidate.GetBody().velocity;
    const CVector2D turretNext = turret.position + owner.GetBody().velocity;
    return now - (rockNext - turretNext).Length() >= 1.0f;
}

bool CTurretGroup::Update(CGameObject& owner)
{
    if (m_disabled)
        return false;
    const uint32_t now = GetGameClock();
    CWorld* world = GetRunningWorld();
    bool fired = false;
    for (int32_t i = 0; i < m_count; ++i)
    {
        STurret& turret = m_turrets[static_cast<size_t>(i)];
        if (turret.disabled)
            continue;
        if (turret.flashEnd != 0 && HasTimeCome(now, turret.flashEnd))
        {
            turret.flashEnd = 0;
            turret.sprite.SetFlags(SPRITE_FLASH, false);
        }
        if (turret.IsLive())
            UpdateGlow(owner, turret, now);
        CGameObject* target = turret.IsLive() && world ? world->GetObject(turret.target) : nullptr;
        if (target)
        {
            turret.fired = turret.constantSweep ? Sweep(owner, turret) : AimAndFire(owner, turret, *target, now);
            fired = turret.fired;
        }
        else
        {
            turret.fired = false;
            turret.weaponEffect.StopEmitting();
        }
        if (turret.collisionTag != 0 && !turret.damageOnly)
            MoveTaggedShape(owner, turret);
    }
    return fired;
}

void CTurretGroup::UpdateGlow(const CGameObject& owner, STurret& turret, uint32_t now)
{
    if (!turret.notFiringEffect.IsValid())
        return;
    if (turret.weaponEffect.IsRunning() || turret.target == NO_OBJECT)
    {
        turret.notFiringEffect.StopEmitting();
        return;
    }
    // Signed: a charge longer than the interval glows at once.
    const int64_t wait = std::max<int64_t>(0, static_cast<int64_t>(turret.fireInterval) - turret.chargeTime);
    const int64_t since = static_cast<int32_t>(now - turret.lastFire);
    if (turret.chargeTime != 0 && since <= wait)
        return;
    CVector2D offset = turret.launchOffset;
    offset.Rotate(GetSpriteAngle(turret));
    turret.notFiringEffect.Place(turret.position + offset, GetSpriteAngle(turret), OwnerVelocityPerSecond(owner));
    if (!turret.notFiringEffect.IsRunning() || turret.notFiringEffect.IsEmittingStopped())
    {
        turret.notFiringEffect.Start();
        turret.notFiringEffect.ResumeEmitting();
    }
}

bool CTurretGroup::AimAndFire(CGameObject& owner, STurret& turret, CGameObject& target, uint32_t now)
{
    const float heading = HeadingOf(target.GetPosition() - turret.position);
    const bool inArc = !turret.HasArc() || IsHeadingInArc(heading, turret.arcMin, turret.arcMax);
    bool onTarget = true;
    const bool held = turret.stopToFire && turret.weaponEffect.IsRunning();
    if (turret.turnRate > 0.0f)
    {
        const float step = turret.turnRate / static_cast<float>(GAME_TICKS_PER_SECOND);
        if (held)
            onTarget = std::fabs(TurnBetween(turret.angle, heading)) <= step;
        else
            onTarget = TurnToward(turret.angle, heading, step);
    }
    else if (!held)
        turret.angle = heading;
    if (turret.oneFrame < 0)
        turret.sprite.SetAngle(turret.angle);

    bool fired = false;
    const bool allowed = onTarget && inArc && MayFireAt(turret, target);
    if (allowed && turret.fireInterval != 0 && static_cast<uint32_t>(now - turret.lastFire) > turret.fireInterval)
    {
        turret.lastFire = now;
        fired = true;
    }
    KeepWeaponOnSprite(owner, turret);
    if (fired)
    {
        turret.weaponEffect.Start();
        turret.weaponEffect.ResumeEmitting();
    }
    // The vacuum's beam holds its gem for as long as it is aimed and may take it.
    if (allowed && turret.gemSuck && turret.fireInterval != 0)
        PullGem(owner, turret, target);
    return fired;
}

bool CTurretGroup::MayFireAt(const STurret& turret, const CGameObject& target) const
{
    const int32_t kind = target.GetType() == OBJECT_ASTEROID ? target.GetAsteroidKind() : -1;
    if (m_station && turret.mining)
        return IsMiningKind(kind);
    if (!turret.gemSuck)
        return true;
    if (!IsGemKind(kind))
        return false;
    if (!m_station)
        return turret.gems[kind - ASTEROID_NORMAL_GEM] < STurret::GEM_COUNT_MAX;
    const int32_t stock = m_store ? m_store->GetStock(StockOfGem(kind)) : 0;
    return stock < (IsLargeGem(kind) ? LARGE_GEM_STOCK_BELOW : SMALL_GEM_STOCK_BELOW);
}

void CTurretGroup::PullGem(const CGameObject& owner, STurret& turret, CGameObject& gem)
{
    (void)owner;
    gem.GetInfo().collidable = false;
    const CVector2D toTurret = turret.position - gem.GetPosition();
    const float distance = toTurret.Length();
    if (distance <= (m_station ? STATION_TAKE_RANGE : OTHER_TAKE_RANGE))
    {
        const int32_t kind = gem.GetAsteroidKind();
        if (m_station)
        {
            if (m_store)
            {
                const int stock = StockOfGem(kind);
                m_store->CountDelivered();
                if (IsLargeGem(kind))
                {
                    if (m_store->GetStock(stock) < LARGE_GEM_STOCK_BELOW)
                        m_store->AddToStock(stock, LARGE_GEM_UNITS);
                }
                else if (m_store->GetStock(stock) < SMALL_GEM_STOCK_BELOW)
                    m_store->AddToStock(stock, 1);
            }
        }
        else
        {
            int32_t& count = turret.gems[kind - ASTEROID_NORMAL_GEM];
            count = std::min(count + 1, STurret::GEM_COUNT_MAX);
        }
        turret.target = NO_OBJECT;
        if (CWorld* world = GetRunningWorld())
            world->RemoveObject(gem.GetHandle());
        return;
    }
    if (distance <= 0.0f)
        return;
    const CVector2D direction = toTurret * (1.0f / distance);
    CMotionBody& body = gem.GetBody();
    body.velocity = direction * body.velocity.Length();
    body.force = body.force + direction * (m_station ? STATION_PULL : OTHER_PULL);
}

bool CTurretGroup::Sweep(const CGameObject& owner, STurret& turret)
{
    const float width = GetArcWidth(turret.arcMin, turret.arcMax);
    turret.sweepOffset += turret.sweepDirection * turret.turnRate / static_cast<float>(GAME_TICKS_PER_SECOND);
    if (turret.sweepOffset > width)
        turret.sweepDirection = -1.0f;
    else if (turret.sweepOffset < 0.0f)
        turret.sweepDirection = 1.0f;
    turret.angle = WrapDegrees(turret.sweepOffset + turret.defaultAngle);
    if (turret.oneFrame < 0)
        turret.sprite.SetAngle(turret.angle);
    KeepWeaponOnSprite(owner, turret);
    if (!turret.weaponEffect.IsRunning())
        turret.weaponEffect.Start();
    return true;
}

float CTurretGroup::GetSpriteAngle(const STurret& turret) const
{
    return turret.oneFrame >= 0 ? turret.defaultAngle : turret.angle;
}

void CTurretGroup::KeepWeaponOnSprite(const CGameObject& owner, STurret& turret)
{
    if (!turret.weaponEffect.IsValid())
        return;
    const float angle = GetSpriteAngle(turret);
    CVector2D offset = turret.launchOffset;
    offset.Rotate(angle);
    turret.weaponEffect.Place(turret.position + offset, angle, OwnerVelocityPerSecond(owner));
}

void CTurretGroup::MoveTaggedShape(CGameObject& owner, const STurret& turret)
{
    CCollisionShape* shapes = owner.GetBody().shape.get();
    if (!shapes)
        return;
    const CVector2D offset = turret.position - owner.GetPosition();
    for (CCollisionShape* shape = shapes; shape; shape = shape->GetNext())
        if (shape->GetTag() == turret.collisionTag)
            shape->SetPartOffset(offset - shape->GetOffset());
}

void CTurretGroup::StopEffects(STurret& turret)
{
    turret.weaponEffect.StopEmitting();
    turret.notFiringEffect.StopEmitting();
}

void CTurretGroup::Kill(CGameObject& owner, CObjectBody* body, STurret& turret, bool destroyPart)
{
    turret.health = 0;
    turret.target = NO_OBJECT;
    turret.sprite.Hide();
    StopEffects(turret);
    if (!turret.deathEffect.empty())
        GetEffectRequests().StartEffect(turret.deathEffect.c_str(), NO_OBJECT, turret.position,
                                        OwnerVelocityPerSecond(owner));
    if (!destroyPart || turret.damageOnly || turret.collisionTag == 0 || !body)
        return;
    const SSpriteOwner spriteOwner = MakeSpriteOwner(owner);
    for (size_t i = 0; i < body->GetPartCount(); ++i)
        if (body->GetPart(i).m_tag == turret.collisionTag && body->GetPart(i).m_health > 0)
            body->DestroyPart(spriteOwner, static_cast<int>(i));
}

bool CTurretGroup::Damage(CGameObject& owner, CObjectBody* body, int32_t amount, bool byOwningTag, int32_t index)
{
    const uint32_t now = GetGameClock();
    auto hurt = [&](STurret& turret, bool destroyPart) {
        turret.health = std::max(0, turret.health - std::max(0, amount));
        if (turret.flashEnd == 0)
        {
            turret.flashEnd = now + FLASH_MS;
            if (turret.flashEnd == 0)
                turret.flashEnd = 1;
            turret.sprite.SetFlags(SPRITE_FLASH, true);
        }
        if (turret.health == 0)
            Kill(owner, body, turret, destroyPart);
    };
    if (index != -1)
    {
        STurret* turret = GetTurret(index);
        if (!turret || !turret->IsLive())
            return false;
        hurt(*turret, false);
        return true;
    }
    const CCollisionShape* shapes = owner.GetBody().shape.get();
    const CCollisionShape* hit = shapes ? shapes->GetPartner() : nullptr;
    const uint32_t tag = hit ? hit->GetTag() : 0;
    if (tag == 0)
        return false;
    bool any = false;
    for (int32_t i = 0; i < m_count; ++i)
    {
        STurret& turret = m_turrets[static_cast<size_t>(i)];
        if (!turret.IsLive() || (byOwningTag ? turret.owningCollisionTag : turret.collisionTag) != tag)
            continue;
        hurt(turret, true);
        any = true;
    }
    return any;
}

void CTurretGroup::SetDisabled(bool disabled, int32_t index)
{
    auto quiet = [this](STurret& turret) {
        turret.flashEnd = 0;
        turret.sprite.SetFlags(SPRITE_FLASH, false);
        StopEffects(turret);
    };
    if (index == -1)
    {
        m_disabled = disabled;
        if (disabled)
            for (int32_t i = 0; i < m_count; ++i)
                quiet(m_turrets[static_cast<size_t>(i)]);
        return;
    }
    STurret* turret = GetTurret(index);
    if (!turret)
        return;
    turret->disabled = disabled;
    if (disabled)
    {
        quiet(*turret);
        turret->sprite.Hide();
    }
}

void CTurretGroup::SpillGems(const CGameObject& owner)
{
    SpillGems(owner.GetPosition());
}

void CTurretGroup::SpillGems(const CVector2D& place)
{
    for (int32_t i = 0; i < m_count; ++i)
    {
        STurret& turret = m_turrets[static_cast<size_t>(i)];
        if (!turret.gemSuck)
            continue;
        int32_t spilt = 0;
        bool any = true;
        while (spilt < SPILL_PER_HIT && any)
        {
            any = false;
            for (int k = 0; k < STurret::GEM_KINDS && spilt < SPILL_PER_HIT; ++k)
            {
                if (turret.gems[k] <= 0)
                    continue;
                --turret.gems[k];
                ++spilt;
                any = true;
                SpawnAsteroid(false, ASTEROID_NORMAL_GEM + k, nullptr, &place);
            }
        }
    }
}
