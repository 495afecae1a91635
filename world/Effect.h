#pragma once
// One live effect: a pre-made instance from its definition's pool, taken by
// CEffectCache::SpawnEffect and placed, started, stopped and released by its caller:
//
//   CEffect* shot = GetGame()->GetEffectCache().SpawnEffect("pulseBolt", ship, true);
//   if (shot)                        // null: unknown name or no free instance; go on without
//   {
//       shot->SetPosition(muzzle);
//       shot->SetHeading(ship->GetBody().angle);
//       shot->SetVelocity(ship->GetBody().velocity * 25.0f);  // units per second
//       shot->Start();
//   }
//
// A recyclable effect gives itself back when it is done (its pool may also take it
// back for a newer spawn once every instance is in use), so its caller forgets the
// pointer after starting it. A caller that keeps an effect across frames spawns it
// not recyclable and gives it back with Release.
//
// An effect in use is tracked (updated by the cache every frame), untracked (its
// caller updates it), a trail child (a parent effect moves it along one of its
// particles) or attached (it follows its parent's position, start, stop and release).
// It refers to its owner by handle only: an owner that goes away leaves the effect
// running with no owner object, its side and type still known.

#include "core/Vector2D.h"
#include "world/ObjectTypes.h"
#include "world/Particle.h"
#include "world/SoundEffect.h"

#include <cstdint>

class CEffectDef;
class CEmitter;
class CGameObject;

// Who an effect belongs to: the object's handle, side and type, kept when the object goes.
struct SEffectOwner
{
    int32_t handle = -1; // NO_OBJECT
    ETeam team = NO_TEAM;
    EObjectType type = OBJECT_NONE;

    static SEffectOwner Of(const CGameObject* object);
    // The owner in the running game's world, or null.
    CGameObject* Find() const;
};

enum EEffectLink : uint8_t
{
    EFFECT_LINK_NONE = 0,
    EFFECT_LINK_TRAIL = 1,    // in a parent's trail list, following one of its particles
    EFFECT_LINK_ATTACHED = 2, // in a parent's attached list
};

class CEffect;

// An effect remembered across frames by one that does not own it: valid while the
// same use of the instance goes on.
struct SEffectRef
{
    CEffect* effect = nullptr;
    uint32_t serial = 0;

    void Set(CEffect* value);
    CEffect* Get() const;
    void Clear() { effect = nullptr; }
};

class CEffect
{
public:
    explicit CEffect(CEmitter& emitter);
    virtual ~CEffect();
    CEffect(const CEffect&) = delete;
    CEffect& operator=(const CEffect&) = delete;

    // Starts every attached child, sets running, fires the start event and plays the
    // emitter's sound at the effect's position.
    virtual void Start();
    // Running off; the sound fades; every live particle is hidden and returned; every
    // attached child stops; the stop event fires.
    virtual void Stop();
    // No new particles (the live ones play out); a looping sound stops looping.
    virtual void StopEmitting();
    virtual void ResumeEmitting();
    // One frame (the cache updates tracked effects; a caller its untracked ones).
    virtual void Update();
    // Back to the pool: with detach, every trail child first goes idle; the particles
    // return; a trail child leaves its parent, any other its live slot; every
    // attached child is released; the sound fades.
    virtual void Release(bool detach = true);
    // One particle of a SIMPLE_PARTICLE effect; false for other kinds or when none is free.
    virtual bool CreateParticle() { return false; }
    // While a particle lives (a laser: until its end time).
    virtual bool IsAlive() const { return m_liveParticles > 0; }
    // SIMPLE_PARTICLE only: this effect's own start area of +-0.7 size round the
    // middle of the definition's start offsets.
    virtual void SetStartArea(float /*size*/) {}
    // The larger of the half widths of its start offset ranges (0 for other kinds).
    virtual float GetStartExtent() const { return 0.0f; }
    // Ranges as (min, max); other kinds answer with the effect's velocity.
    virtual CVector2D GetStartSpeedRange() const { return m_velocity; }
    virtual void SetStartSpeedRange(const CVector2D& /*range*/) {}
    virtual CVector2D GetLifeRange() const { return m_velocity; }
    virtual void SetLifeRange(const CVector2D& /*seconds*/) {}
    // Every emission's quantity bounds are multiplied by the scale.
    virtual void SetEmissionScale(float /*scale*/) {}

    // Moves the sprites of every particle of the definition's pool to the plane.
    void SetDrawPlane(int plane);
    // The first placement after a start leaves no streak (previous = new position);
    // attached children take the same point.
    void SetPosition(const CVector2D& point);
    void SetVelocity(const CVector2D& unitsPerSecond) { m_velocity = unitsPerSecond; }
    // Degrees: 0 along +x, 90 along +y.
    void SetHeading(float degrees) { m_heading = degrees; }
    // The child follows this effect's position and its start, stop and release.
    void AttachChild(CEffect* child);

    const CVector2D& GetPosition() const { return m_position; }
    const CVector2D& GetPreviousPosition() const { return m_previousPosition; }
    const CVector2D& GetVelocity() const { return m_velocity; }
    float GetHeading() const { return m_heading; }
    bool IsRunning() const { return m_running; }
    bool IsEmittingStopped() const { return m_emittingStopped; }
    bool IsRecyclable() const { return m_recyclable; }
    bool IsInUse() const { return m_useStamp != 0; }
    bool IsTrailChild() const { return m_link == EFFECT_LINK_TRAIL; }
    bool IsAttachedChild() const { return m_link == EFFECT_LINK_ATTACHED; }
    CEffect* GetParent() const { return m_parent; }
    // 0 while idle, else the game's frame counter + 1 when the effect was taken.
    uint32_t GetUseStamp() const { return m_useStamp; }
    // Moves on at every take from the pool: tells one use of the instance from the next.
    uint32_t GetUseSerial() const { return m_useSerial; }
    const SEffectOwner& GetOwner() const { return m_owner; }
    CGameObject* FindOwner() const { return m_owner.Find(); }
    CEmitter& GetEmitter() const { return m_emitter; }
    const CEffectDef& GetDefinition() const;
    int32_t GetLiveParticleCount() const { return m_liveParticles; }
    // -1: without end.
    int32_t GetParticlesToCreate() const { return m_toCreate; }
    SParticle* GetFirstParticle() const { return m_firstParticle; }
    // Moves on whenever every particle was returned at once.
    uint32_t GetParticleEpoch() const { return m_particleEpoch; }
    // Hides the particle and returns it to the pool (no event).
    void RemoveParticle(SParticle& particle);
    bool IsTrailedParticleGone() const { return m_trailedParticleGone; }
    CEffect* GetFirstTrailChild() const { return m_firstTrail; }
    CEffect* GetFirstAttachedChild() const { return m_firstAttached; }
    CEffect* GetNextSibling() const { return m_nextSibling; }
    CSoundEmitter& GetSound() { return m_sound; }

    // The cache's and the emitter's side.
    // Taken from the pool: the stamp, the owner, the reset of Stop without its event.
    void TakeForUse(const SEffectOwner& owner, uint32_t stamp);
    void SetRecyclable(bool recyclable) { m_recyclable = recyclable; }
    // Follows the parent's particle from now on (the parent moves and updates it).
    void MakeTrailChild(CEffect& parent, SParticle* particle);
    // Idle at once: unlinked from its parent, particles returned, stamp 0.
    void MakeIdle();
    void ClearUseStamp() { m_useStamp = 0; }
    void MakeTrailChildrenIdle();
    void ReleaseAttachedChildren();
    // While the effect runs its own code it is not taken back by a newer spawn.
    bool IsBusy() const { return m_busy != 0; }
    // A particle joins or leaves this effect's live list.
    void LinkParticle(SParticle& particle);
    void UnlinkParticle(SParticle& particle);
    // The particle's place in the world (owner-relative particles keep an offset).
    CVector2D GetParticleWorldPosition(const SParticle& particle) const;

protected:
    // Start without the particle kind's first emission.
    void StartCommon();
    void StopInternal(bool fireEvent);
    void ReturnParticles();
    // Trail children onto their particles, attached children onto the position.
    void UpdateChildren();
    void Unlink();
    // Guards the effect against being taken back while its own code runs.
    struct SBusy
    {
        explicit SBusy(CEffect& effect) : m_effect(effect) { ++m_effect.m_busy; }
        ~SBusy() { --m_effect.m_busy; }
        CEffect& m_effect;
    };

    CVector2D m_velocity; // units per second
    int32_t m_liveParticles = 0;
    int32_t m_toCreate = 0;
    CEmitter& m_emitter;
    uint32_t m_useStamp = 0;
    uint32_t m_useSerial = 0;
    SEffectOwner m_owner;
    // Trail child: the particle it follows (of its parent).
    SParticleRef m_followed;
    CEffect* m_parent = nullptr;
    EEffectLink m_link = EFFECT_LINK_NONE;
    CEffect* m_prevSibling = nullptr;
    CEffect* m_nextSibling = nullptr;
    CEffect* m_firstTrail = nullptr;
    CEffect* m_lastTrail = nullptr;
    CEffect* m_firstAttached = nullptr;
    CEffect* m_lastAttached = nullptr;
    CSoundEmitter m_sound;
    bool m_running = false;
    bool m_emittingStopped = false;
    bool m_positionNotSet = true;
    bool m_recyclable = false;
    bool m_trailedParticleGone = false;
    int m_busy = 0;
    CVector2D m_position;
    CVector2D m_previousPosition;
    float m_heading = 0.0f;
    uint32_t m_nextEmission = 0;
    SParticle* m_firstParticle = nullptr;
    SParticle* m_lastParticle = nullptr;
    // Moves on whenever the particle list is emptied at once, so a walk over it
    // notices that code it called (an event, a hit) cleared it.
    uint32_t m_particleEpoch = 0;
    uint32_t m_childPass = 0; // the last walk of a parent that updated this child
};
