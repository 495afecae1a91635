#include "world/EffectDef.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "world/Emitter.h"
#include "world/ParticleAppearance.h"
#include "world/ParticleController.h"
#include "world/SimpleParticleEmitter.h"
#include "world/StraightLaserEmitter.h"

#include <cctype>
#include <new>

void UpperCaseEffectName(const char* name, char* out, size_t size)
{
    if (!out || size == 0)
        return;
    size_t i = 0;
    for (; name && name[i] && i + 1 < size; ++i)
        out[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[i])));
    out[i] = '\0';
}

CEffectDef::CEffectDef(CEffectCache& cache) : m_cache(cache) {}

CEffectDef::~CEffectDef()
{
    // The emitter's live effects and particles go while the appearance and the
    // controller they use still exist.
    m_emitter.reset();
}

bool CEffectDef::Read(const CDataTree& section, const char* name, CDefinitionProblems& problems)
{
    UpperCaseEffectName(name, m_name, sizeof(m_name));
    char word[DATA_VALUE_MAX + 1] = "";

    const CDataTree* particle = section.FindBlock("particle");
    if (const CDataTree* appearance = particle ? particle->FindBlock("appearance") : nullptr)
    {
        word[0] = '\0';
        appearance->GetString("type", word, sizeof(word));
        m_appearance = MakeAppearance(word);
        if (m_appearance)
            m_appearance->Read(*appearance, problems);
        else
            problems.AddWarning(appearance, "appearance type \"%s\" makes no appearance: particles of %s are unseen",
                                word, m_name);
    }

    if (const CDataTree* controller = section.FindBlock("controller"))
    {
        word[0] = '\0';
        controller->GetString("type", word, sizeof(word));
        m_controller = MakeController(word);
        if (m_controller)
            m_controller->Read(*controller, problems);
        else
            problems.AddWarning(controller, "controller type \"%s\" makes no controller: particles of %s never move",
                                word, m_name);
    }

    const CDataTree* emitter = section.FindBlock("emitter");
    word[0] = '\0';
    if (emitter)
        emitter->GetString("type", word, sizeof(word));
    if (MatchesTypeWord(word, "SIMPLE_PARTICLE"))
        m_emitter.reset(new (std::nothrow) CSimpleParticleEmitter(*this));
    else if (MatchesTypeWord(word, "STRAIGHT_LASER"))
        m_emitter.reset(new (std::nothrow) CStraightLaserEmitter(*this));
    else
    {
        problems.AddFatal(emitter ? static_cast<const CDataNode*>(emitter) : &section,
                          "effect %s: emitter type \"%s\" is not supported; the effect is left out", m_name, word);
        return false;
    }

    section.GetInt("maxParticles", m_maxParticles);
    section.GetInt("maxEmitters", m_maxEmitters);
    if (m_maxParticles < 0 || m_maxParticles > MAX_PARTICLES)
    {
        problems.AddFatal(&section, "effect %s: maxParticles %d is outside 0..%d; the effect is left out", m_name,
                          static_cast<int>(m_maxParticles), static_cast<int>(MAX_PARTICLES));
        return false;
    }
    if (m_maxEmitters < 0 || m_maxEmitters > MAX_EMITTERS)
    {
        problems.AddFatal(&section, "effect %s: maxEmitters %d is outside 0..%d; the effect is left out", m_name,
                          static_cast<int>(m_maxEmitters), static_cast<int>(MAX_EMITTERS));
        return false;
    }
    int32_t particles = m_emitter->GetKind() == EMITTER_SIMPLE_PARTICLE ? m_maxParticles : 0;
    if (m_appearance && m_appearance->GetKind() == APPEARANCE_ANIM_SPRITE && m_controller &&
        m_controller->GetKind() == CONTROLLER_TARGETED)
    {
        problems.AddWarning(&section, "effect %s: ANIM_SPRITE particles cannot be TARGETED; it makes no particles",
                            m_name);
        particles = 0;
    }
    if (m_emitter && emitter)
        m_emitter->Read(*emitter, problems);
    if (!m_emitter || !m_emitter->CreatePools(m_maxEmitters, particles, m_appearance.get()))
    {
        problems.AddFatal(&section, "effect %s: no memory for its pools", m_name);
        return false;
    }
    return true;
}

void CEffectDef::Update(uint32_t now)
{
    if (m_controller)
        m_controller->BeginFrame();
    if (m_emitter)
        m_emitter->RunDelayedEvents(now);
}
