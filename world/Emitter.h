#pragma once
// The emitter of a definition: how and when particles (or beams) are made. It owns
// the definition's pool of live effects, its pool of particles (shared by those
// effects through a free list), its event triggers and its sound. The kinds are
// SIMPLE_PARTICLE (world/SimpleParticleEmitter.h) and STRAIGHT_LASER
// (world/StraightLaserEmitter.h).
//
// Keys of every kind (block "emitter"): "event" blocks, "sfx" (a sound block),
// "spreadAngle", "ownerRelative" (both of the next two), "ownerRelativePos" (particles
// move with the effect; turns with it too), "ownerRelativeOri" (particles turn with
// the effect's heading), "waitForNoParticles" (a trail whose particle went ends when
// its own last particle is gone).

#include "core/Vector2D.h"
#include "world/EmitterEvent.h"
#include "world/Particle.h"
#include "world/SoundEffect.h"

#include <cstdint>
#include <memory>
#include <vector>

class CAppearance;
class CDataTree;
class CDefinitionProblems;
class CEffect;
class CEffectDef;
struct SEffectOwner;

enum EEmitterKind : int32_t
{
    EMITTER_SIMPLE_PARTICLE = 0,
    EMITTER_STRAIGHT_LASER = 1,
};

class CEmitter
{
public:
    explicit CEmitter(CEffectDef& definition);
    // Deletes the live effects, gives back the particles' sprites, the triggers and
    // the sound.
    virtual ~CEmitter();
    CEmitter(const CEmitter&) = delete;
    CEmitter& operator=(const CEmitter&) = delete;

    virtual EEmitterKind GetKind() const = 0;
    // The keys of every kind, then the kind's own.
    virtual void Read(const CDataTree& block, CDefinitionProblems& problems);
    // The start set-up of a live effect (SIMPLE_PARTICLE: the particles to create).
    virtual void SetUpStart(CEffect& /*effect*/) {}
    // The middle of the start offset ranges.
    virtual CVector2D GetStartOffsetMiddle() const { return CVector2D(); }
    // The kind's own part of the cache's reset.
    virtual void ResetOwn() {}

    // The pools: the live effects, then the particles with a hidden sprite each.
    bool CreatePools(int32_t liveEffects, int32_t particles, CAppearance* appearance);
    // An idle instance of the pool (stamped, reset, given the owner); when none is
    // idle the recyclable one taken first is taken back; else null.
    CEffect* AcquireEffect(const SEffectOwner& owner);
    // Every trigger of the kind, in file order.
    void FireEvent(EEmitterEventKind kind, CEffect* effect, SParticle* particle);
    void RunDelayedEvents(uint32_t now);
    void ClearDelayedEvents();
    // Moves every particle sprite of the pool to the plane.
    void SetDrawPlane(int plane);

    // Particles of the pool.
    SParticle* TakeParticle();
    // Hides its sprite and puts it on the free list (the caller unlinked it from its effect).
    void ReturnParticle(SParticle& particle);
    int32_t GetParticleCount() const { return m_particleCount; }
    int32_t CountFreeParticles() const;

    CEffectDef& GetDefinition() const { return m_definition; }
    int32_t GetPoolSize() const { return static_cast<int32_t>(m_pool.size()); }
    CEffect* GetPoolEffect(int32_t index) const { return m_pool[static_cast<size_t>(index)].get(); }
    const std::vector<std::unique_ptr<CEmitterEvent>>& GetEvents() const { return m_events; }
    // The first particle-collision trigger: only emitters with one test their
    // particles against the world.
    CEmitterEvent* GetCollisionTrigger() const { return m_collisionTrigger; }
    CSoundEffect& GetSound() { return m_sound; }
    float GetSpreadAngle() const { return m_spreadAngle; }
    bool IsOwnerRelative() const { return m_ownerRelativePos || m_ownerRelativeOri; }
    bool IsOwnerRelativeOri() const { return m_ownerRelativeOri; }
    bool WaitsForNoParticles() const { return m_waitForNoParticles; }

protected:
    virtual std::unique_ptr<CEffect> MakeEffect() = 0;

    CEffectDef& m_definition;
    std::vector<std::unique_ptr<CEffect>> m_pool;
    std::unique_ptr<SParticle[]> m_particles;
    int32_t m_particleCount = 0;
    SParticle* m_freeParticles = nullptr;
    CAppearance* m_appearance = nullptr;
    std::vector<std::unique_ptr<CEmitterEvent>> m_events;
    CEmitterEvent* m_collisionTrigger = nullptr;
    CSoundEffect m_sound;
    float m_spreadAngle = 0.0f;
    bool m_ownerRelativePos = false;
    bool m_ownerRelativeOri = false;
    bool m_waitForNoParticles = false;
};
