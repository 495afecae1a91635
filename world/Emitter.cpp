#include "world/Emitter.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "presentation/SpriteBank.h"
#include "world/Effect.h"
#include "world/EffectDef.h"
#include "world/Game.h"
#include "world/ParticleAppearance.h"
#include "world/EffectKeys.h"

#include <new>

namespace
{
// Event triggers one emitter may hold; more are left out with a warning.
constexpr size_t MAX_EVENTS = 16;

bool ReadTrue(const CDataTree& block, const char* key)
{
    bool value = false;
    return block.GetBool(key, value) && value;
}
} // namespace

CEmitter::CEmitter(CEffectDef& definition) : m_definition(definition) {}

CEmitter::~CEmitter()
{
    // The live effects first: releasing them returns their particles.
    m_pool.clear();
    if (m_appearance)
        for (int32_t i = 0; i < m_particleCount; ++i)
            m_appearance->FreeSprite(m_particles[static_cast<size_t>(i)]);
}

void CEmitter::Read(const CDataTree& block, CDefinitionProblems& problems)
{
    for (size_t i = 0; i < block.GetChildCount(); ++i)
    {
        const CDataTree* child = block.GetChildBlock(i);
        if (!child || !child->HasName(u"event"))
            continue;
        if (m_events.size() >= MAX_EVENTS)
        {
            problems.AddWarning(child, "more than %zu events: this one is left out", MAX_EVENTS);
            continue;
        }
        std::unique_ptr<CEmitterEvent> event(new (std::nothrow) CEmitterEvent(m_definition.GetCache()));
        if (!event || !event->Read(*child, problems))
            continue;
        if (!m_collisionTrigger && event->GetKind() == EMITTER_EVENT_PARTICLE_COLLISION)
            m_collisionTrigger = event.get();
        m_events.push_back(std::move(event));
    }
    if (const CDataTree* sfx = block.FindBlock("sfx"))
        m_sound.Read(*sfx);
    ReadEffectFloat(block, "spreadAngle", m_spreadAngle, problems);
    if (ReadTrue(block, "ownerRelative") || ReadTrue(block, "ownerRelativePos"))
        m_ownerRelativePos = m_ownerRelativeOri = true;
    if (ReadTrue(block, "ownerRelativeOri"))
        m_ownerRelativeOri = true;
    block.GetBool("waitForNoParticles", m_waitForNoParticles);
}

bool CEmitter::CreatePools(int32_t liveEffects, int32_t particles, CAppearance* appearance)
{
    m_appearance = appearance;
    m_pool.clear();
    for (int32_t i = 0; i < liveEffects; ++i)
    {
        std::unique_ptr<CEffect> effect = MakeEffect();
        if (!effect)
            return false;
        m_pool.push_back(std::move(effect));
    }
    if (particles <= 0)
        return true;
    m_particles.reset(new (std::nothrow) SParticle[static_cast<size_t>(particles)]);
    if (!m_particles)
        return false;
    m_particleCount = particles;
    // The free list in pool order, the first particle first out.
    for (int32_t i = particles - 1; i >= 0; --i)
    {
        SParticle& particle = m_particles[static_cast<size_t>(i)];
        if (m_appearance)
            m_appearance->MakeSprite(particle);
        particle.next = m_freeParticles;
        if (m_freeParticles)
            m_freeParticles->prev = &particle;
        m_freeParticles = &particle;
    }
    return true;
}

CEffect* CEmitter::AcquireEffect(const SEffectOwner& owner)
{
    CGame* game = GetGame();
    const uint32_t stamp = (game ? game->GetFrameCount() : 0) + 1;
    for (const std::unique_ptr<CEffect>& effect : m_pool)
    {
        if (!effect->IsInUse())
        {
            effect->TakeForUse(owner, stamp);
            return effect.get();
        }
    }
    // Every instance is in use: the recyclable one taken first comes back (never one
    // whose own code is running, which would go on with a stranger's state).
    CEffect* oldest = nullptr;
    for (const std::unique_ptr<CEffect>& effect : m_pool)
    {
        if (effect->IsRecyclable() && !effect->IsBusy() &&
            (!oldest || effect->GetUseStamp() < oldest->GetUseStamp()))
            oldest = effect.get();
    }
    if (!oldest)
        return nullptr;
    oldest->Release(false);
    oldest->TakeForUse(owner, stamp);
    return oldest;
}

void CEmitter::FireEvent(EEmitterEventKind kind, CEffect* effect, SParticle* particle)
{
    for (const std::unique_ptr<CEmitterEvent>& event : m_events)
        if (event->GetKind() == kind)
            event->Fire(effect, particle);
}

void CEmitter::RunDelayedEvents(uint32_t now)
{
    for (const std::unique_ptr<CEmitterEvent>& event : m_events)
        event->RunDue(now);
}

void CEmitter::ClearDelayedEvents()
{
    for (const std::unique_ptr<CEmitterEvent>& event : m_events)
        event->ClearDelayed();
}

void CEmitter::SetDrawPlane(int plane)
{
    if (!m_appearance || !m_appearance->GetSprite().GetBank())
        return;
    CSpriteBank* bank = m_appearance->GetSprite().GetBank();
    for (int32_t i = 0; i < m_particleCount; ++i)
        if (SSpriteInstance* sprite = m_particles[static_cast<size_t>(i)].sprite)
            bank->SetInstancePlane(sprite, ClampSpritePlane(plane));
}

SParticle* CEmitter::TakeParticle()
{
    SParticle* particle = m_freeParticles;
    if (!particle)
        return nullptr;
    m_freeParticles = particle->next;
    if (m_freeParticles)
        m_freeParticles->prev = nullptr;
    SSpriteInstance* sprite = particle->sprite;
    const uint32_t serial = particle->serial + 1;
    *particle = SParticle();
    particle->sprite = sprite;
    particle->serial = serial;
    return particle;
}

void CEmitter::ReturnParticle(SParticle& particle)
{
    if (m_appearance)
        m_appearance->Hide(particle);
    particle.effect = nullptr;
    particle.prev = nullptr;
    particle.next = m_freeParticles;
    if (m_freeParticles)
        m_freeParticles->prev = &particle;
    m_freeParticles = &particle;
}

int32_t CEmitter::CountFreeParticles() const
{
    int32_t count = 0;
    for (const SParticle* particle = m_freeParticles; particle; particle = particle->next)
        ++count;
    return count;
}
