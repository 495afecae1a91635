#include "world/StraightLaserEmitter.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "core/Vector3.h"
#include "platform/Renderer.h"
#include "world/EffectDef.h"
#include "world/EffectKeys.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

namespace
{
void ReadName(const CDataTree& block, const char* key, char* out, size_t size)
{
    char text[DATA_VALUE_MAX + 1] = "";
    if (block.GetString(key, text, sizeof(text)))
        std::snprintf(out, size, "%s", text);
}

void ReadColour(const CDataTree& block, const char* key, float* out)
{
    CVector3 colour;
    if (block.GetVec3(key, colour) && IsSaneEffectNumber(colour.x) && IsSaneEffectNumber(colour.y) &&
        IsSaneEffectNumber(colour.z))
    {
        out[0] = colour.x;
        out[1] = colour.y;
        out[2] = colour.z;
    }
}
} // namespace

CStraightLaserEmitter::CStraightLaserEmitter(CEffectDef& definition) : CEmitter(definition) {}

CStraightLaserEmitter::~CStraightLaserEmitter()
{
    // The live effects give their chains back before the table goes.
    m_pool.clear();
    if (m_texture != NO_TEXTURE && g_renderer)
        g_renderer->ReleaseTexture(m_texture);
}

void CStraightLaserEmitter::Read(const CDataTree& block, CDefinitionProblems& problems)
{
    CEmitter::Read(block, problems);
    char text[DATA_VALUE_MAX + 1] = "";
    if (block.GetString("textureFile", text, sizeof(text)) && text[0])
    {
        m_textureFile = text;
        int width = 0, height = 0;
        if (g_renderer && !g_renderer->LoadTexture(text, false, 0, 0, 0, true, &m_texture, &width, &height))
            problems.AddWarning(&block, "texture \"%s\" does not load: the beam is not drawn", text);
    }
    ReadEffectFloat(block, "beamWidth", m_beamWidth, problems);
    ReadEffectFloat(block, "maxBeamLength", m_maxBeamLength, problems);
    ReadColour(block, "startColor", m_startColour);
    ReadColour(block, "endColor", m_endColour);
    ReadEffectFloat(block, "startAlpha", m_startAlpha, problems);
    ReadEffectFloat(block, "endAlpha", m_endAlpha, problems);
    block.GetBool("isTiled", m_isTiled);
    ReadEffectFloat(block, "uoffset", m_uOffset, problems);
    ReadEffectFloat(block, "voffset", m_vOffset, problems);
    if (block.GetString("blendMode", text, sizeof(text)))
    {
        m_blend = std::strcmp(text, "blend") == 0;
        m_additive = std::strcmp(text, "additive") == 0;
        m_alphaTest = std::strcmp(text, "test") == 0;
    }
    float onTime = 0.0f;
    ReadEffectFloat(block, "onTimeSec", onTime, problems);
    if (!(onTime >= 0.0f && onTime <= 600.0f))
    {
        problems.AddWarning(&block, "onTimeSec %g is outside 0..600: taken as 0", static_cast<double>(onTime));
        onTime = 0.0f;
    }
    m_onTimeMs = static_cast<uint32_t>(onTime * 1000.0f);
    ReadEffectPair(block, "randomStartOffsetX", m_offsetX, problems);
    ReadEffectPair(block, "randomStartOffsetY", m_offsetY, problems);
    ReadName(block, "collisionEffect", m_collisionEffect, sizeof(m_collisionEffect));
    ReadName(block, "attachedEffect", m_attachedEffect, sizeof(m_attachedEffect));
    ReadName(block, "launchEffect", m_launchEffect, sizeof(m_launchEffect));
    block.GetInt("damage", m_damage);
    block.GetBool("constCollision", m_constCollision);
    block.GetBool("homing", m_homing);
    block.GetBool("lightning", m_lightning);
    block.GetBool("bounce", m_bounce);
    if (!m_homing && !m_lightning && !m_bounce)
        return;

    block.GetInt("maxSegments", m_maxSegments);
    uint32_t beams = static_cast<uint32_t>(m_numBeams);
    if (block.GetUInt("numBeams", beams))
        m_numBeams = static_cast<int32_t>(std::min<uint32_t>(beams, 1000000u));
    ReadEffectFloat(block, "beamLength", m_beamLength, problems);
    ReadEffectFloat(block, "speed", m_speed, problems);
    ReadEffectPair(block, "randomStartOri", m_startOri, problems);
    if (m_numBeams > MAX_BEAMS)
    {
        problems.AddWarning(&block, "numBeams %d: a laser drives %d beams at most", static_cast<int>(m_numBeams),
                            static_cast<int>(MAX_BEAMS));
        m_numBeams = MAX_BEAMS;
    }
    if (m_maxSegments < 1 || m_maxSegments > CHAIN_POINTS - 1)
    {
        problems.AddWarning(&block, "maxSegments %d is outside 1..%d: taken as %d", static_cast<int>(m_maxSegments),
                            static_cast<int>(CHAIN_POINTS - 1),
                            static_cast<int>(std::clamp<int32_t>(m_maxSegments, 1, CHAIN_POINTS - 1)));
        m_maxSegments = std::clamp<int32_t>(m_maxSegments, 1, CHAIN_POINTS - 1);
    }
    if (!(m_speed > 0.0f))
    {
        problems.AddWarning(&block, "speed %g: beams need a speed above 0; taken as 800", static_cast<double>(m_speed));
        m_speed = 800.0f;
    }
    m_points.assign(static_cast<size_t>(CHAINS) * CHAIN_POINTS, CVector2D());
    m_chainUsed.assign(static_cast<size_t>(CHAINS), 0);
}

void CStraightLaserEmitter::ResetOwn()
{
    for (const std::unique_ptr<CEffect>& effect : m_pool)
        static_cast<CStraightLaserEffect&>(*effect).ForgetLaunchEffect();
}

int32_t CStraightLaserEmitter::TakeChain()
{
    for (size_t i = 0; i < m_chainUsed.size(); ++i)
    {
        if (!m_chainUsed[i])
        {
            m_chainUsed[i] = 1;
            return static_cast<int32_t>(i);
        }
    }
    return -1;
}

void CStraightLaserEmitter::FreeChain(int32_t chain)
{
    if (chain >= 0 && static_cast<size_t>(chain) < m_chainUsed.size())
        m_chainUsed[static_cast<size_t>(chain)] = 0;
}

int32_t CStraightLaserEmitter::CountFreeChains() const
{
    return static_cast<int32_t>(std::count(m_chainUsed.begin(), m_chainUsed.end(), 0));
}

std::unique_ptr<CEffect> CStraightLaserEmitter::MakeEffect()
{
    return std::unique_ptr<CEffect>(new (std::nothrow) CStraightLaserEffect(*this));
}
