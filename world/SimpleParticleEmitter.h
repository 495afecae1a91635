#pragma once
// SIMPLE_PARTICLE emitters and their live effects: particles made in emissions over
// the effect's life, moved by the definition's controller and shown by its appearance.
//
// Keys (block "emitter"; each "random" key is a range "min, max", drawn as trunc(min)
// plus a draw below trunc(max) - trunc(min), the maximum itself never reached):
//   randomStartOffsetX/Y  start offset from the effect      placementRadius  random ring
//   randomNumCreated      particles over the effect's life (negative: without end)
//   randomStartVel        speed, units a second             randomStartOri   degrees
//   randomLife            seconds                           randomEmissionRate  seconds
//   randomEmissionQty     particles per emission (1, 1)     randomRotationRate  degrees/s
//   centreFirstParticle   the first one after a start has no offset
//   useEmitterVelocity    particles add the effect's velocity (true)
// With both emission-rate bounds 0, every remaining particle is made at once.

#include "core/Vector2D.h"
#include "world/Effect.h"
#include "world/Emitter.h"

class CSimpleParticleEmitter : public CEmitter
{
public:
    explicit CSimpleParticleEmitter(CEffectDef& definition) : CEmitter(definition) {}

    EEmitterKind GetKind() const override { return EMITTER_SIMPLE_PARTICLE; }
    void Read(const CDataTree& block, CDefinitionProblems& problems) override;
    void SetUpStart(CEffect& effect) override;
    CVector2D GetStartOffsetMiddle() const override;

    const CVector2D& GetOffsetRangeX() const { return m_offsetX; }
    const CVector2D& GetOffsetRangeY() const { return m_offsetY; }
    float GetPlacementRadius() const { return m_placementRadius; }
    const CVector2D& GetCountRange() const { return m_numCreated; }
    const CVector2D& GetSpeedRange() const { return m_startVel; }
    const CVector2D& GetAngleRange() const { return m_startOri; }
    const CVector2D& GetLifeRange() const { return m_life; }
    const CVector2D& GetRateRange() const { return m_emissionRate; }
    const CVector2D& GetQuantityRange() const { return m_emissionQty; }
    const CVector2D& GetRotationRange() const { return m_rotationRate; }
    bool CentresFirstParticle() const { return m_centreFirst; }
    bool UsesEmitterVelocity() const { return m_useEmitterVelocity; }

protected:
    std::unique_ptr<CEffect> MakeEffect() override;

private:
    CVector2D m_offsetX;
    CVector2D m_offsetY;
    float m_placementRadius = 0.0f;
    CVector2D m_numCreated;
    CVector2D m_startVel;
    CVector2D m_startOri;
    CVector2D m_life;
    CVector2D m_emissionRate;
    bool m_centreFirst = false;
    CVector2D m_emissionQty{1.0f, 1.0f};
    bool m_useEmitterVelocity = true;
    CVector2D m_rotationRate;
};

class CSimpleParticleEffect : public CEffect
{
public:
    explicit CSimpleParticleEffect(CSimpleParticleEmitter& emitter);
    ~CSimpleParticleEffect() override;

    void Start() override;
    void Update() override;
    bool CreateParticle() override;
    void SetStartArea(float size) override;
    float GetStartExtent() const override;
    CVector2D GetStartSpeedRange() const override;
    void SetStartSpeedRange(const CVector2D& range) override;
    CVector2D GetLifeRange() const override;
    void SetLifeRange(const CVector2D& seconds) override;
    void SetEmissionScale(float scale) override
    {
        m_emissionScale = scale;
        m_hasScale = true;
    }

    // The particles still to create, drawn from "randomNumCreated" (the emitter's start).
    void SetParticlesToCreate(int32_t count) { m_toCreate = count; }
    // One emission: a quantity (scaled) limited to what is left to create.
    void Emit();
    const CVector2D& GetOwnOffsetRangeX() const { return m_ownOffsetX; }
    const CVector2D& GetOwnOffsetRangeY() const { return m_ownOffsetY; }
    bool HasOwnStartArea() const { return m_hasStartArea; }

private:
    CSimpleParticleEmitter& Emitter() const;
    float DrawAngle(const CVector2D& range);
    void ScheduleNextEmission();
    void EndWhenDone();

    // Per-effect overrides, kept across restarts of the pooled instance.
    CVector2D m_ownOffsetX;
    CVector2D m_ownOffsetY;
    CVector2D m_ownSpeed;
    CVector2D m_ownLife;
    float m_emissionScale = 1.0f;
    bool m_hasStartArea = false;
    bool m_hasSpeed = false;
    bool m_hasLife = false;
    bool m_hasScale = false;
    // The spread sweep.
    float m_sweepAngle = 0.0f;
    bool m_sweepDown = false;
    bool m_firstAfterStart = false;
};

// A draw from a range as the data's ranges are drawn (see above).
int32_t DrawRangeInt(float min, float max);
