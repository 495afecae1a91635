#include "world/SimpleParticleEmitter.h"

#include "core/DataTree.h"
#include "core/Random.h"
#include "world/EffectDef.h"
#include "world/Game.h"
#include "world/ParticleAppearance.h"
#include "world/ParticleController.h"
#include "world/EffectKeys.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace
{
// Whole-number bounds of data ranges; values beyond what a count or a time can be are cut.
int32_t Truncate(float value)
{
    if (!(value == value))
        return 0;
    return static_cast<int32_t>(std::max(-1e9f, std::min(1e9f, value)));
}

uint32_t Now()
{
    CGame* game = GetGame();
    return game ? game->GetTime() : 0;
}

// The fixed frame of the game: 1000 / 25 ms.
constexpr uint32_t FRAME_MS = 1000 / 25;
} // namespace

int32_t DrawRangeInt(float min, float max)
{
    return GetGameRandom().Between(Truncate(min), Truncate(max));
}

void CSimpleParticleEmitter::Read(const CDataTree& block, CDefinitionProblems& problems)
{
    CEmitter::Read(block, problems);
    ReadEffectPair(block, "randomStartOffsetX", m_offsetX, problems);
    ReadEffectPair(block, "randomStartOffsetY", m_offsetY, problems);
    ReadEffectFloat(block, "placementRadius", m_placementRadius, problems);
    ReadEffectPair(block, "randomNumCreated", m_numCreated, problems);
    ReadEffectPair(block, "randomStartVel", m_startVel, problems);
    ReadEffectPair(block, "randomStartOri", m_startOri, problems);
    ReadEffectPair(block, "randomLife", m_life, problems);
    ReadEffectPair(block, "randomEmissionRate", m_emissionRate, problems);
    block.GetBool("centreFirstParticle", m_centreFirst);
    ReadEffectPair(block, "randomEmissionQty", m_emissionQty, problems);
    block.GetBool("useEmitterVelocity", m_useEmitterVelocity);
    ReadEffectPair(block, "randomRotationRate", m_rotationRate, problems);
}

void CSimpleParticleEmitter::SetUpStart(CEffect& effect)
{
    CSimpleParticleEffect& particles = static_cast<CSimpleParticleEffect&>(effect);
    const int32_t min = Truncate(m_numCreated.x), max = Truncate(m_numCreated.y);
    if (min < 0 || max < 0)
        particles.SetParticlesToCreate(-1);
    else
        particles.SetParticlesToCreate(GetGameRandom().Between(min, max));
}

CVector2D CSimpleParticleEmitter::GetStartOffsetMiddle() const
{
    return CVector2D((m_offsetX.x + m_offsetX.y) * 0.5f, (m_offsetY.x + m_offsetY.y) * 0.5f);
}

std::unique_ptr<CEffect> CSimpleParticleEmitter::MakeEffect()
{
    return std::unique_ptr<CEffect>(new (std::nothrow) CSimpleParticleEffect(*this));
}

CSimpleParticleEffect::CSimpleParticleEffect(CSimpleParticleEmitter& emitter) : CEffect(emitter) {}

CSimpleParticleEffect::~CSimpleParticleEffect()
{
    Release(false);
}

CSimpleParticleEmitter& CSimpleParticleEffect::Emitter() const
{
    return static_cast<CSimpleParticleEmitter&>(m_emitter);
}

void CSimpleParticleEffect::Start()
{
    SBusy busy(*this);
    StartCommon();
    CSimpleParticleEmitter& emitter = Emitter();
    emitter.SetUpStart(*this);
    m_sweepAngle = static_cast<float>(Truncate(emitter.GetAngleRange().x));
    m_sweepDown = false;
    m_firstAfterStart = true;
    Emit();
}

void CSimpleParticleEffect::ScheduleNextEmission()
{
    const CVector2D& rate = Emitter().GetRateRange();
    m_nextEmission = Now() + static_cast<uint32_t>(std::max(0, DrawRangeInt(rate.x * 1000.0f, rate.y * 1000.0f)));
}

void CSimpleParticleEffect::Emit()
{
    CSimpleParticleEmitter& emitter = Emitter();
    int32_t min = Truncate(emitter.GetQuantityRange().x), max = Truncate(emitter.GetQuantityRange().y);
    if (m_hasScale)
    {
        min = Truncate(static_cast<float>(min) * m_emissionScale);
        max = Truncate(static_cast<float>(max) * m_emissionScale);
    }
    int32_t quantity = GetGameRandom().Between(min, max);
    if (m_toCreate >= 0)
        quantity = std::min(quantity, m_toCreate);
    bool made = true;
    for (int32_t i = 0; i < quantity && made; ++i)
    {
        made = CreateParticle();
        if (made && m_toCreate > 0)
            --m_toCreate;
    }
    ScheduleNextEmission();
    const CVector2D& rate = emitter.GetRateRange();
    if (rate.x == 0.0f && rate.y == 0.0f)
    {
        // No time between emissions: everything left at once; an endless count stops
        // when the pool runs dry, and at the latest after a pool's worth, since
        // particles that die as they are made never dry it.
        for (int32_t n = 0; made && m_toCreate != 0 && n < emitter.GetParticleCount(); ++n)
        {
            made = CreateParticle();
            if (made && m_toCreate > 0)
                --m_toCreate;
        }
    }
}

float CSimpleParticleEffect::DrawAngle(const CVector2D& range)
{
    const int32_t min = Truncate(range.x), max = Truncate(range.y);
    const float spread = m_emitter.GetSpreadAngle();
    if (max - min <= 0)
        return static_cast<float>(min);
    if (spread <= 0.0f)
        return static_cast<float>(GetGameRandom().Between(min, max));
    // A sweep across the range that turns at its ends.
    if (m_sweepAngle > static_cast<float>(max))
        m_sweepDown = true;
    else if (m_sweepAngle < static_cast<float>(min))
        m_sweepDown = false;
    const float angle = static_cast<float>(Truncate(m_sweepAngle));
    m_sweepAngle += m_sweepDown ? -spread : spread;
    return angle;
}

bool CSimpleParticleEffect::CreateParticle()
{
    if (m_trailedParticleGone)
        return false;
    CSimpleParticleEmitter& emitter = Emitter();
    SParticle* particle = emitter.TakeParticle();
    if (!particle)
        return false;
    const CEffectDef& definition = emitter.GetDefinition();

    const CVector2D life = GetLifeRange();
    const int32_t lifeMs = std::max(0, std::min(65535, DrawRangeInt(life.x * 1000.0f, life.y * 1000.0f)));
    particle->life = particle->remaining = static_cast<uint16_t>(lifeMs);

    const float angle = DrawAngle(emitter.GetAngleRange());

    CVector2D offset;
    const bool centred = m_firstAfterStart && emitter.CentresFirstParticle();
    m_firstAfterStart = false;
    if (!centred)
    {
        const CVector2D& rangeX = m_hasStartArea ? m_ownOffsetX : emitter.GetOffsetRangeX();
        const CVector2D& rangeY = m_hasStartArea ? m_ownOffsetY : emitter.GetOffsetRangeY();
        offset.x = static_cast<float>(DrawRangeInt(rangeX.x, rangeX.y));
        offset.y = static_cast<float>(DrawRangeInt(rangeY.x, rangeY.y));
        if (emitter.GetPlacementRadius() > 0.0f)
        {
            CVector2D ring;
            ring.SetFromAngle(static_cast<float>(GameRand() % 360));
            offset += ring * static_cast<float>(GetGameRandom().Below(Truncate(emitter.GetPlacementRadius())));
        }
    }

    const CVector2D speed = GetStartSpeedRange();
    particle->speed = static_cast<float>(DrawRangeInt(speed.x, speed.y));

    LinkParticle(*particle);
    CController* controller = definition.GetController();
    if (controller)
        controller->SetUpParticle(*this, *particle, offset, angle, emitter.UsesEmitterVelocity());
    else
    {
        particle->position = emitter.IsOwnerRelative() ? offset : m_position + offset;
        particle->direction.SetFromAngle(angle);
    }
    if (const CAppearance* appearance = definition.GetAppearance())
    {
        CVector2D direction = particle->direction;
        if (emitter.IsOwnerRelativeOri())
            direction.Rotate(m_heading);
        appearance->ShowNew(*particle, GetParticleWorldPosition(*particle), direction.GetAngle());
    }
    const CVector2D& rotation = emitter.GetRotationRange();
    particle->rotationRate =
        static_cast<float>(DrawRangeInt(rotation.x * 1000.0f, rotation.y * 1000.0f)) * 0.000001f;

    const uint32_t serial = particle->serial;
    if (controller && !controller->MoveParticle(*this, *particle, FRAME_MS))
        return true;
    if (particle->effect == this && particle->serial == serial)
        emitter.FireEvent(EMITTER_EVENT_CREATE_PARTICLE, this, particle);
    return true;
}

void CSimpleParticleEffect::Update()
{
    SBusy busy(*this);
    if (!m_running)
    {
        UpdateChildren();
        return;
    }
    const uint32_t stamp = m_useStamp;
    CSoundEffect* sound = m_sound.GetEffect();
    if (sound && sound->Loops())
        m_sound.UpdatePositional(m_position);
    if (!m_emittingStopped && m_toCreate != 0 && static_cast<int32_t>(Now() - m_nextEmission) >= 0)
        Emit();
    if (m_liveParticles > 0)
        if (CController* controller = m_emitter.GetDefinition().GetController())
            controller->MoveParticles(*this, FRAME_MS);
    if (m_useStamp != stamp)
        return;
    UpdateChildren();
    EndWhenDone();
}

void CSimpleParticleEffect::EndWhenDone()
{
    if (!m_running || m_toCreate != 0 || m_liveParticles != 0)
        return;
    m_running = false;
    if (m_recyclable && !IsTrailChild())
        Release(true);
}

void CSimpleParticleEffect::SetStartArea(float size)
{
    const CVector2D middle = m_emitter.GetStartOffsetMiddle();
    m_ownOffsetX = CVector2D(middle.x - size * 0.7f, middle.x + size * 0.7f);
    m_ownOffsetY = CVector2D(middle.y - size * 0.7f, middle.y + size * 0.7f);
    m_hasStartArea = true;
}

float CSimpleParticleEffect::GetStartExtent() const
{
    const CVector2D& rangeX = m_hasStartArea ? m_ownOffsetX : Emitter().GetOffsetRangeX();
    const CVector2D& rangeY = m_hasStartArea ? m_ownOffsetY : Emitter().GetOffsetRangeY();
    return std::max((rangeX.y - rangeX.x) * 0.5f, (rangeY.y - rangeY.x) * 0.5f);
}

CVector2D CSimpleParticleEffect::GetStartSpeedRange() const
{
    return m_hasSpeed ? m_ownSpeed : Emitter().GetSpeedRange();
}

void CSimpleParticleEffect::SetStartSpeedRange(const CVector2D& range)
{
    m_ownSpeed = range;
    m_hasSpeed = true;
}

CVector2D CSimpleParticleEffect::GetLifeRange() const
{
    return m_hasLife ? m_ownLife : Emitter().GetLifeRange();
}

void CSimpleParticleEffect::SetLifeRange(const CVector2D& seconds)
{
    m_ownLife = seconds;
    m_hasLife = true;
}
