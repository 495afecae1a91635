#pragma once
// One particle of a SIMPLE_PARTICLE definition's pool. The pool is made with the
// definition and shared by its live effects: a particle is on the emitter's free list
// or on the live list of one effect. Its serial moves on every time it is taken, so a
// delayed event or a trail that kept it can tell that it has gone since.

#include "core/Vector2D.h"

#include <cstdint>

class CEffect;
struct SSpriteInstance;

struct SParticle
{
    // World position; for owner-relative emitters the offset from the effect.
    CVector2D position;
    CVector2D direction;         // unit
    float rotationRate = 0.0f;   // degrees per millisecond
    float spin = 0.0f;           // the sprite's own turn, degrees
    float speed = 0.0f;          // units per second
    uint16_t life = 0;           // ms
    uint16_t remaining = 0;      // ms
    SSpriteInstance* sprite = nullptr; // none for DUMMY appearances
    // ANIM_SPRITE: frames per second (negative: backwards), the time a frame shows, and
    // the time gathered towards the next frame.
    int16_t playRate = 0;
    uint16_t frameTime = 0;
    uint16_t frameClock = 0;
    // TARGETED: the target (0 none) and the remaining life at the last search (0: not
    // searched yet).
    int32_t target = 0;
    uint16_t remainingAtSearch = 0;

    // Pool bookkeeping.
    CEffect* effect = nullptr;   // the effect it lives in; null while free
    SParticle* prev = nullptr;
    SParticle* next = nullptr;
    uint32_t serial = 0;

    bool IsLive() const { return effect != nullptr; }
};

// A particle remembered across frames: valid while it lives with the same serial.
struct SParticleRef
{
    SParticle* particle = nullptr;
    uint32_t serial = 0;

    void Set(SParticle* p)
    {
        particle = p;
        serial = p ? p->serial : 0;
    }
    SParticle* Get() const { return particle && particle->IsLive() && particle->serial == serial ? particle : nullptr; }
    void Clear() { particle = nullptr; }
};
