#pragma once
// An event trigger of an emitter ("event" blocks, in file order): when its kind of
// event happens to a live effect or one of its particles it may play a sound, spawn
// up to three effects there (plain, attached to the owner, or as trails of the
// particle) and start a timed push. A trigger with a delay queues the event in one of
// its 10 slots and runs it when the definition's frame finds it due.
//
// The queue keeps no pointer it cannot check: the effect with its use stamp and the
// particle with its serial, so an effect taken back or a particle gone meanwhile is
// not used; the position and owner are kept from the moment of the event.

#include "core/Vector2D.h"
#include "world/Effect.h"
#include "world/Particle.h"
#include "world/SoundEffect.h"

#include <cstddef>
#include <cstdint>

class CDataTree;
class CDefinitionProblems;
class CEffectCache;

enum EEmitterEventKind : int32_t
{
    EMITTER_EVENT_START = 0,
    EMITTER_EVENT_STOP = 1,
    EMITTER_EVENT_CREATE_PARTICLE = 2,
    EMITTER_EVENT_PARTICLE_COLLISION = 3,
    EMITTER_EVENT_PARTICLE_EXPIRE = 4,
    EMITTER_EVENT_KIND_COUNT = 5,
};

class CEmitterEvent
{
public:
    static constexpr int DELAY_SLOTS = 10;
    static constexpr int EFFECT_NAMES = 3;
    static constexpr size_t NAME_SIZE = 48;
    // Triggers that spawn effects whose own start triggers spawn more stop this deep.
    static constexpr int MAX_NESTING = 8;

    // Spawns go through the cache of the trigger's definition.
    explicit CEmitterEvent(CEffectCache& cache) : m_cache(cache) {}
    ~CEmitterEvent();
    CEmitterEvent(const CEmitterEvent&) = delete;
    CEmitterEvent& operator=(const CEmitterEvent&) = delete;

    // False (with a problem) when "type" names no event kind.
    bool Read(const CDataTree& block, CDefinitionProblems& problems);

    // The event happened: queued when the trigger has a delay (dropped when the queue
    // is full), else triggered now.
    void Fire(CEffect* effect, SParticle* particle);
    // Chance, sound, effects and push at the event's place (the particle's, else the
    // effect's for start and stop, else the given one).
    void Trigger(CEffect* effect, const SEffectOwner& owner, SParticle* particle, const CVector2D& position);
    void RunDue(uint32_t now);
    void ClearDelayed();

    EEmitterEventKind GetKind() const { return m_kind; }
    uint32_t GetDelayMs() const { return m_delayMs; }
    float GetChance() const { return m_chance; }
    const char* GetEffectName(int index) const { return m_effects[index]; }
    bool HasDamageRange() const { return m_damage.x > 0.0f || m_damage.y > 0.0f; }
    const CVector2D& GetDamageRange() const { return m_damage; }
    // The damage of one hit: trunc(min) plus a draw below trunc(max) - trunc(min).
    int32_t DrawDamage() const;
    float GetDamageRadius() const { return m_damageRadius; }
    float GetTimeToMaxRadius() const { return m_timeToMaxRadius; }
    float GetParticleRadius() const { return m_particleRadius; }
    bool Dies() const { return m_die; }
    bool Reflects() const { return m_reflect; }
    bool Bounces() const { return m_randomBounce; }
    int CountQueued() const;
    const CSoundEffect& GetSound() const { return m_sound; }

    // Whether the chance lets a trigger run: 0 never, 1 (and anything the draw cannot
    // tell from it, above 0.99) always, else one time in trunc((1 - c) x 100).
    static bool RollChance(float chance);

private:
    struct SDelayed
    {
        bool used = false;
        SEffectRef effect;
        SParticleRef particle;
        CVector2D position;
        SEffectOwner owner;
        uint32_t due = 0;
    };

    void SpawnEffects(CEffect* effect, const SEffectOwner& owner, SParticle* particle, const CVector2D& position);
    void StartPush(const SEffectOwner& owner, const CVector2D& position);

    CEffectCache& m_cache;
    EEmitterEventKind m_kind = EMITTER_EVENT_START;
    CSoundEffect m_sound;
    CSoundEmitter m_soundEmitter{&m_sound};
    uint32_t m_delayMs = 0;
    float m_chance = 0.0f;
    char m_effects[EFFECT_NAMES][NAME_SIZE] = {};
    bool m_oneOnly = false;
    bool m_trail = false;
    bool m_attached = false;
    CVector2D m_damage; // min, max
    float m_damageRadius = 0.0f;
    float m_timeToMaxRadius = 0.0f;
    float m_particleRadius = 0.0f;
    bool m_die = false;
    bool m_reflect = false;
    bool m_randomBounce = false;
    SDelayed m_delayed[DELAY_SLOTS];
};

// The kind of an event type word, or -1.
int32_t ParseEmitterEventKind(const char* word);
