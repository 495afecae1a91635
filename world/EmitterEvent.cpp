#include "world/EmitterEvent.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "core/Random.h"
#include "world/EffectCache.h"
#include "world/Game.h"
#include "world/SimpleParticleEmitter.h"
#include "world/EffectKeys.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace
{
const char* const EVENT_WORDS[EMITTER_EVENT_KIND_COUNT] = {
    "EMITTER_START", "EMITTER_STOP", "EMITTER_CREATE_PARTICLE", "EMITTER_PARTICLE_COLLISION",
    "EMITTER_PARTICLE_EXPIRE"};

// The longest delay a trigger may ask for.
constexpr float MAX_DELAY_SECONDS = 600.0f;

int s_nesting = 0;

struct SNesting
{
    SNesting() { ++s_nesting; }
    ~SNesting() { --s_nesting; }
};

uint32_t Now()
{
    CGame* game = GetGame();
    return game ? game->GetTime() : 0;
}

bool IsDue(uint32_t now, uint32_t due)
{
    return static_cast<int32_t>(now - due) >= 0;
}
} // namespace

int32_t ParseEmitterEventKind(const char* word)
{
    for (int32_t kind = 0; kind < EMITTER_EVENT_KIND_COUNT; ++kind)
        if (word && std::strcmp(word, EVENT_WORDS[kind]) == 0)
            return kind;
    return -1;
}

CEmitterEvent::~CEmitterEvent()
{
    m_soundEmitter.Stop();
}

bool CEmitterEvent::Read(const CDataTree& block, CDefinitionProblems& problems)
{
    char text[DATA_VALUE_MAX + 1] = "";
    block.GetString("type", text, sizeof(text));
    int32_t kind = ParseEmitterEventKind(text);
    if (kind < 0)
    {
        problems.AddWarning(&block, "event type \"%s\" is none of the five: the event is left out", text);
        return false;
    }
    m_kind = static_cast<EEmitterEventKind>(kind);
    if (const CDataTree* sfx = block.FindBlock("sfx"))
        m_sound.Read(*sfx);
    float delay = 0.0f;
    ReadEffectFloat(block, "delay", delay, problems);
    if (!(delay >= 0.0f && delay <= MAX_DELAY_SECONDS))
    {
        problems.AddWarning(&block, "delay %g s is outside 0..%g: taken as 0", static_cast<double>(delay),
                            static_cast<double>(MAX_DELAY_SECONDS));
        delay = 0.0f;
    }
    m_delayMs = static_cast<uint32_t>(delay * 1000.0f);
    ReadEffectFloat(block, "chanceOfTriggering", m_chance, problems);
    for (int i = 0; i < EFFECT_NAMES; ++i)
    {
        char key[24];
        std::snprintf(key, sizeof(key), "triggerEffect%d", i);
        if (!block.GetString(key, text, sizeof(text)))
            text[0] = '\0';
        std::snprintf(m_effects[i], NAME_SIZE, "%s", text);
    }
    block.GetBool("triggerOneOnly", m_oneOnly);
    block.GetBool("trailEmitter", m_trail);
    block.GetBool("attachedEmitter", m_attached);
    ReadEffectPair(block, "randomInflictDamage", m_damage, problems);
    ReadEffectFloat(block, "inflictDamageRadius", m_damageRadius, problems);
    ReadEffectFloat(block, "timeToMaxRadius", m_timeToMaxRadius, problems);
    if (!(m_timeToMaxRadius >= 0.0f && m_timeToMaxRadius <= MAX_DELAY_SECONDS))
    {
        problems.AddWarning(&block, "timeToMaxRadius %g s is outside 0..%g: taken as 0",
                            static_cast<double>(m_timeToMaxRadius), static_cast<double>(MAX_DELAY_SECONDS));
        m_timeToMaxRadius = 0.0f;
    }
    ReadEffectFloat(block, "particleRadius", m_particleRadius, problems);
    block.GetBool("die", m_die);
    block.GetBool("reflect", m_reflect);
    block.GetBool("randomBounce", m_randomBounce);
    return true;
}

bool CEmitterEvent::RollChance(float chance)
{
    if (!(chance > 0.0f))
        return false;
    if (chance >= 1.0f)
        return true;
    const int32_t oneIn = static_cast<int32_t>((1.0f - chance) * 100.0f);
    if (oneIn <= 0)
        return true;
    return GameRand() % static_cast<uint32_t>(oneIn) == 0;
}

int32_t CEmitterEvent::DrawDamage() const
{
    return DrawRangeInt(m_damage.x, m_damage.y);
}

int CEmitterEvent::CountQueued() const
{
    int count = 0;
    for (const SDelayed& slot : m_delayed)
        count += slot.used ? 1 : 0;
    return count;
}

void CEmitterEvent::Fire(CEffect* effect, SParticle* particle)
{
    CVector2D position;
    if (effect)
        position = particle ? effect->GetParticleWorldPosition(*particle) : effect->GetPosition();
    const SEffectOwner owner = effect ? effect->GetOwner() : SEffectOwner();
    if (m_delayMs == 0)
    {
        Trigger(effect, owner, particle, position);
        return;
    }
    for (SDelayed& slot : m_delayed)
    {
        if (slot.used)
            continue;
        slot.used = true;
        slot.effect.Set(effect);
        slot.particle.Set(particle);
        slot.position = position;
        slot.owner = owner;
        slot.due = Now() + m_delayMs;
        return;
    }
    // A full queue drops the event.
}

void CEmitterEvent::RunDue(uint32_t now)
{
    for (SDelayed& slot : m_delayed)
    {
        if (!slot.used || !IsDue(now, slot.due))
            continue;
        SDelayed event = slot;
        slot = SDelayed();
        // The effect only while it is still the use that fired the event; the
        // particle only while it lives on in that effect.
        CEffect* effect = event.effect.Get();
        SParticle* particle = effect ? event.particle.Get() : nullptr;
        if (particle && particle->effect != effect)
            particle = nullptr;
        CVector2D position = particle ? effect->GetParticleWorldPosition(*particle) : event.position;
        Trigger(effect, event.owner, particle, position);
    }
}

void CEmitterEvent::ClearDelayed()
{
    for (SDelayed& slot : m_delayed)
        slot = SDelayed();
}

void CEmitterEvent::Trigger(CEffect* effect, const SEffectOwner& owner, SParticle* particle,
                            const CVector2D& position)
{
    // Effects whose start spawns effects whose start spawns... stop here.
    if (s_nesting >= MAX_NESTING)
        return;
    SNesting nesting;
    if (!RollChance(m_chance))
        return;
    CVector2D place = position;
    if (particle && effect)
        place = effect->GetParticleWorldPosition(*particle);
    else if (effect && (m_kind == EMITTER_EVENT_START || m_kind == EMITTER_EVENT_STOP))
        place = effect->GetPosition();
    m_soundEmitter.PlayAt(false, &place);
    SpawnEffects(effect, owner, particle, place);
    if (m_damageRadius > 0.0f)
        StartPush(owner, place);
}

void CEmitterEvent::SpawnEffects(CEffect* effect, const SEffectOwner& owner, SParticle* particle,
                                 const CVector2D& position)
{
    const char* chosen[EFFECT_NAMES] = {};
    int count = 0;
    if (m_oneOnly)
    {
        int named = 0;
        for (const char* name : m_effects)
            named += name[0] ? 1 : 0;
        if (named > 0)
            chosen[count++] = m_effects[GameRand() % static_cast<uint32_t>(named)];
    }
    else
    {
        for (const char* name : m_effects)
            chosen[count++] = name;
    }
    const bool attach = m_attached && owner.handle != -1 && effect;
    for (int i = 0; i < count; ++i)
    {
        const char* name = chosen[i];
        if (!name[0])
            continue;
        CEffect* spawned = nullptr;
        if (m_trail && particle && effect)
        {
            spawned = m_cache.SpawnEffect(name, SEffectOwner(), true, true, false);
            if (spawned)
                spawned->MakeTrailChild(*effect, particle);
            continue;
        }
        if (attach)
        {
            spawned = m_cache.SpawnEffect(name, owner, false, false, true);
            if (spawned)
                effect->AttachChild(spawned);
        }
        else
        {
            spawned = m_cache.SpawnEffect(name, owner, true);
        }
        if (!spawned)
            continue;
        spawned->SetPosition(position);
        spawned->Start();
        spawned->Update();
    }
}

void CEmitterEvent::StartPush(const SEffectOwner& owner, const CVector2D& position)
{
    STimedPush& push = m_cache.TakeTimedPush();
    // Start 0 marks a free slot: a push at the clock's first moment starts 1 ms later.
    const uint32_t now = Now() ? Now() : 1;
    push.damage = DrawDamage();
    push.start = now;
    push.end = now + static_cast<uint32_t>(m_timeToMaxRadius > 0.0f ? m_timeToMaxRadius * 1000.0f : 0.0f);
    push.radius = static_cast<int32_t>(m_damageRadius);
    push.centre = position;
    push.sourceType = owner.type;
}
