#include "world/ParticleController.h"

#include "core/DataTree.h"
#include "core/Random.h"
#include "world/Effect.h"
#include "world/EffectDef.h"
#include "world/Emitter.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/ParticleAppearance.h"
#include "world/ParticleCollision.h"
#include "world/Quadtree.h"
#include "world/World.h"
#include "world/EffectKeys.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

bool MatchesTypeWord(const char* word, const char* known)
{
    return word && known && std::strncmp(word, known, std::strlen(known)) == 0;
}

std::unique_ptr<CController> MakeController(const char* word)
{
    std::unique_ptr<CController> made;
    if (MatchesTypeWord(word, "STATIC"))
        made.reset(new (std::nothrow) CStaticController());
    else if (MatchesTypeWord(word, "OMNI_DIRECTION"))
        made.reset(new (std::nothrow) CController(CONTROLLER_OMNI_DIRECTION));
    else if (MatchesTypeWord(word, "ATTRACTION"))
        made.reset(new (std::nothrow) CAttractionController());
    else if (MatchesTypeWord(word, "TARGETED"))
        made.reset(new (std::nothrow) CTargetedController());
    return made;
}

namespace
{
// The direction of a particle in the world (owner-relative ones turn with the effect).
CVector2D WorldDirection(const CEffect& effect, const SParticle& particle)
{
    CVector2D direction = particle.direction;
    if (effect.GetEmitter().IsOwnerRelativeOri())
        direction.Rotate(effect.GetHeading());
    return direction;
}

// A moving particle takes the effect's velocity too: its speed and direction become
// those of the sum.
void AddEffectVelocity(const CEffect& effect, SParticle& particle, CVector2D& direction)
{
    if (particle.speed == 0.0f)
        return;
    CVector2D velocity = direction * particle.speed + effect.GetVelocity();
    particle.speed = velocity.Length();
    direction = velocity;
    direction.Normalise();
}

CVector2D UnitFromAngle(float degrees)
{
    CVector2D unit;
    unit.SetFromAngle(degrees);
    return unit;
}
} // namespace

void CController::Read(const CDataTree& block, CDefinitionProblems& problems)
{
    ReadEffectFloat(block, "inertia", m_inertia, problems);
}

void CController::SetUpParticle(const CEffect& effect, SParticle& particle, const CVector2D& offset, float angle,
                                bool useEmitterVelocity) const
{
    CVector2D place = offset;
    CVector2D direction = UnitFromAngle(angle);
    if (!effect.GetEmitter().IsOwnerRelative())
    {
        if (effect.GetHeading() != 0.0f)
        {
            place.Rotate(effect.GetHeading());
            direction.Rotate(effect.GetHeading());
        }
        place += effect.GetPosition();
        if (useEmitterVelocity)
            AddEffectVelocity(effect, particle, direction);
    }
    particle.position = place;
    particle.direction = direction;
}

void CController::MoveParticles(CEffect& effect, uint32_t elapsedMs)
{
    const uint32_t epoch = effect.GetParticleEpoch();
    const uint32_t stamp = effect.GetUseStamp();
    SParticle* particle = effect.GetFirstParticle();
    while (particle)
    {
        SParticle* next = particle->next;
        MoveParticle(effect, *particle, elapsedMs);
        // Code run by an event or a hit may have stopped or released the effect.
        if (effect.GetParticleEpoch() != epoch || effect.GetUseStamp() != stamp)
            return;
        particle = next && next->effect == &effect ? next : nullptr;
    }
}

bool CController::MoveParticle(CEffect& effect, SParticle& particle, uint32_t elapsedMs)
{
    CEmitter& emitter = effect.GetEmitter();
    const CAppearance* appearance = emitter.GetDefinition().GetAppearance();
    if (particle.remaining < elapsedMs)
    {
        if (appearance)
            appearance->Hide(particle);
        const uint32_t serial = particle.serial;
        emitter.FireEvent(EMITTER_EVENT_PARTICLE_EXPIRE, &effect, &particle);
        if (particle.effect == &effect && particle.serial == serial)
            effect.RemoveParticle(particle);
        return false;
    }
    particle.remaining = static_cast<uint16_t>(particle.remaining - elapsedMs);
    if (!Steer(effect, particle))
        return false;
    const float seconds = 0.001f * static_cast<float>(elapsedMs);
    if (Advances())
        particle.position += particle.direction * (particle.speed * seconds);
    particle.speed *= m_inertia;

    CVector2D place = effect.GetParticleWorldPosition(particle);
    if (emitter.IsOwnerRelative())
        place += effect.GetVelocity() * seconds;
    particle.spin = std::fmod(particle.spin + particle.rotationRate * static_cast<float>(elapsedMs), 360.0f);
    if (particle.spin < 0.0f)
        particle.spin += 360.0f;

    if (emitter.GetCollisionTrigger() && !TestParticleCollision(effect, particle, place))
        return false;
    if (appearance)
        appearance->Apply(particle, place, WorldDirection(effect, particle).GetAngle(), elapsedMs);
    return true;
}

void CAttractionController::Read(const CDataTree& block, CDefinitionProblems& problems)
{
    CController::Read(block, problems);
    ReadEffectPair(block, "attractionPoint", m_point, problems);
    block.GetBool("moveToAttractor", m_moveToAttractor);
    block.GetBool("killOnArrival", m_killOnArrival);
    block.GetBool("circularPlacement", m_circularPlacement);
    ReadEffectFloat(block, "fixedDistance", m_fixedDistance, problems);
}

void CAttractionController::SetUpParticle(const CEffect& effect, SParticle& particle, const CVector2D& offset,
                                          float angle, bool useEmitterVelocity) const
{
    const bool relative = effect.GetEmitter().IsOwnerRelative();
    const float turn = relative ? 0.0f : effect.GetHeading();
    CVector2D point = m_point;
    CVector2D turnedOffset = offset;
    CVector2D direction = UnitFromAngle(angle);
    if (turn != 0.0f)
    {
        point.Rotate(turn);
        turnedOffset.Rotate(turn);
        direction.Rotate(turn);
    }
    CVector2D place;
    if (m_circularPlacement)
    {
        // On a ring round the point, far enough to reach it as its life ends.
        const float distance = m_fixedDistance != 0.0f
                                   ? m_fixedDistance
                                   : particle.speed * static_cast<float>(particle.life) * 0.001f;
        place = point + direction * distance;
    }
    else
    {
        place = point + turnedOffset;
    }
    if (!relative)
    {
        place += effect.GetPosition();
        if (useEmitterVelocity)
            AddEffectVelocity(effect, particle, direction);
    }
    particle.position = place;
    particle.direction = direction;
}

bool CAttractionController::Steer(CEffect& effect, SParticle& particle)
{
    if (!m_moveToAttractor)
        return true;
    CVector2D target = m_point;
    if (!effect.GetEmitter().IsOwnerRelative())
    {
        if (effect.GetHeading() != 0.0f)
            target.Rotate(effect.GetHeading());
        target += effect.GetPosition();
    }
    CVector2D toward = target - particle.position;
    if (std::fabs(toward.x) < 2.0f && std::fabs(toward.y) < 2.0f)
    {
        if (!m_killOnArrival)
            return true;
        effect.RemoveParticle(particle);
        return false;
    }
    toward.Normalise();
    particle.direction = toward;
    return true;
}

void CTargetedController::Read(const CDataTree& block, CDefinitionProblems& problems)
{
    CController::Read(block, problems);
    char word[DATA_VALUE_MAX + 1] = "";
    if (block.GetString("primary", word, sizeof(word)))
        m_primary = std::strcmp(word, "ASTEROID") == 0 ? OBJECT_ASTEROID : OBJECT_NONE;
    if (block.GetString("secondary", word, sizeof(word)))
        m_secondary = std::strcmp(word, "ASTEROID") == 0 ? OBJECT_ASTEROID : OBJECT_NONE;
    if (block.GetString("teamToAttack", word, sizeof(word)))
        m_teamToAttack = std::strcmp(word, "GOOD_TEAM") == 0 ? GOOD_TEAM
                                                              : (std::strcmp(word, "BAD_TEAM") == 0 ? BAD_TEAM : NO_TEAM);
    ReadEffectFloat(block, "leaveAlone", m_leaveAlone, problems);
    block.GetInt("range", m_range);
    ReadEffectFloat(block, "turnRate", m_turnRate, problems);
}

void CTargetedController::BeginFrame()
{
    for (SEntry& entry : m_table)
        entry = SEntry();
}

bool CTargetedController::AskTable(const CGameObject& object, int32_t damage)
{
    const int32_t handle = object.GetHandle();
    for (SEntry& entry : m_table)
    {
        if (entry.handle == handle && entry.handle != 0)
        {
            if (entry.damage >= object.GetBody().health)
                return false;
            entry.damage += damage;
            return true;
        }
    }
    for (SEntry& entry : m_table)
    {
        if (entry.handle == 0)
        {
            entry.handle = handle;
            entry.damage = damage;
            return true;
        }
    }
    return true;
}

namespace
{
int32_t SwarmDamage(const CEffect& effect)
{
    const CEmitterEvent* trigger = effect.GetEmitter().GetCollisionTrigger();
    if (!trigger)
        return 1;
    const float minimum = trigger->GetDamageRange().x;
    return std::isfinite(minimum) && std::fabs(minimum) < 1e9f ? static_cast<int32_t>(minimum) : 0;
}
} // namespace

int32_t CTargetedController::Search(const CEffect& effect, const CVector2D& place, int32_t damage)
{
    CGame* game = GetGame();
    if (!game || !game->GetQuadtree() || m_range <= 0)
        return 0;
    std::vector<CGameObject*> objects;
    game->GetQuadtree()->QueryObjects(place, static_cast<float>(m_range), objects, true, true);
    (void)effect;
    const CGameObject* primary = nullptr;
    const CGameObject* secondary = nullptr;
    float primaryDistance = 0.0f, secondaryDistance = 0.0f;
    for (CGameObject* object : objects)
    {
        const bool isPrimary = (m_primary != OBJECT_NONE && object->GetType() == m_primary) ||
                               (m_teamToAttack != NO_TEAM && object->GetTeam() == m_teamToAttack &&
                                object->GetInfo().warpState == WARP_NONE);
        const bool isSecondary = m_secondary != OBJECT_NONE && object->GetType() == m_secondary;
        if ((!isPrimary && !isSecondary) || !AskTable(*object, damage))
            continue;
        CVector2D between = object->GetPosition() - place;
        const float distance = between.x * between.x + between.y * between.y;
        if (isPrimary && (!primary || distance < primaryDistance))
        {
            primary = object;
            primaryDistance = distance;
        }
        else if (!isPrimary && (!secondary || distance < secondaryDistance))
        {
            secondary = object;
            secondaryDistance = distance;
        }
    }
    const CGameObject* chosen = primary ? primary : secondary;
    return chosen ? chosen->GetHandle() : 0;
}

bool CTargetedController::Steer(CEffect& effect, SParticle& particle)
{
    const float fraction = GetLifeFraction(particle);
    if (!(fraction > m_leaveAlone))
        return true;
    const float weight = std::min(1.0f, fraction * 0.5f + m_turnRate);
    const CVector2D place = effect.GetParticleWorldPosition(particle);
    const int32_t damage = SwarmDamage(effect);
    CGame* game = GetGame();
    CGameObject* target = nullptr;
    if (particle.target != 0 && game && game->GetWorld())
        target = game->GetWorld()->GetObject(particle.target);
    if (target && target->GetBody().health > 0)
    {
        CVector2D toward = target->GetPosition() - place;
        toward.Normalise();
        CVector2D direction = particle.direction + (toward - particle.direction) * weight;
        direction.Normalise();
        particle.direction = direction;
        AskTable(*target, damage);
        return true;
    }
    particle.target = Search(effect, place, damage);
    particle.remainingAtSearch = particle.remaining;
    return true;
}
