#include "world/ParticleCollision.h"

#include "core/Random.h"
#include "presentation/CollisionShape.h"
#include "world/Effect.h"
#include "world/Emitter.h"
#include "world/EmitterEvent.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/Particle.h"
#include "world/Quadtree.h"

#include <vector>

namespace
{
// Damage kind of a hit by a particle or a beam.
constexpr int32_t HIT_DAMAGE = 1;

bool Touches(CGameObject& object, CCollisionCircle& probe, const CVector2D& place, float radius)
{
    if (object.GetType() == OBJECT_PLAYER_SHIP)
    {
        const float reach = radius + *object.GetRadius();
        const CVector2D between = object.GetPosition() - place;
        return between.x * between.x + between.y * between.y < reach * reach;
    }
    CCollisionShape* shape = object.GetBody().shape.get();
    CVector2D point, data;
    return shape && probe.Collide(*shape, &point, &data, nullptr);
}
} // namespace

bool TestParticleCollision(CEffect& effect, SParticle& particle, const CVector2D& place)
{
    CEmitter& emitter = effect.GetEmitter();
    const CEmitterEvent* trigger = emitter.GetCollisionTrigger();
    CGame* game = GetGame();
    if (!trigger || !game || !game->GetQuadtree())
        return true;
    const float radius = trigger->GetParticleRadius();
    std::vector<CGameObject*> nearby;
    game->GetQuadtree()->QueryObjects(place, radius, nearby, true, true);
    CCollisionCircle probe(radius, true);
    probe.SetPosition(place);
    std::vector<CGameObject*> touched;
    const SEffectOwner& owner = effect.GetOwner();
    for (CGameObject* object : nearby)
    {
        if (object->GetTeam() == owner.team || !object->GetInfo().collidable)
            continue;
        if (Touches(*object, probe, place, radius))
            touched.push_back(object);
    }
    if (touched.empty())
        return true;

    const uint32_t serial = particle.serial;
    auto gone = [&]() { return particle.effect != &effect || particle.serial != serial; };
    const bool damages = trigger->HasDamageRange();
    const int32_t damage = damages ? trigger->DrawDamage() : 0;
    const float pushRadius = trigger->GetDamageRadius();
    CGameObject* source = owner.Find();
    if (damages && pushRadius == 0.0f)
        for (CGameObject* object : touched)
            object->TakeDamage(owner.type, source, HIT_DAMAGE, damage);
    if (gone())
        return false;
    emitter.FireEvent(EMITTER_EVENT_PARTICLE_COLLISION, &effect, &particle);
    if (gone())
        return false;
    if (trigger->Reflects())
    {
        particle.direction = CVector2D(-particle.direction.x, -particle.direction.y);
    }
    else if (trigger->Bounces())
    {
        particle.direction.SetFromAngle(static_cast<float>(GameRand() % 360));
    }
    if (damages && pushRadius > 0.0f)
    {
        std::vector<CGameObject*> reached;
        game->GetQuadtree()->QueryObjects(place, pushRadius, reached, true, true);
        for (CGameObject* object : reached)
        {
            object->TakeDamage(owner.type, source, HIT_DAMAGE, damage);
            CVector2D away = object->GetPosition() - place;
            away.Normalise();
            object->GetBody().velocity += away * (static_cast<float>(damage) * pushRadius * 10.0f);
        }
        if (gone())
            return false;
    }
    if (trigger->Dies())
    {
        effect.RemoveParticle(particle);
        return false;
    }
    return true;
}
