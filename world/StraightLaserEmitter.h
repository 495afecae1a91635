#pragma once
// STRAIGHT_LASER emitters and their live effects: beams drawn as textured ribbons
// that hurt what they touch. A laser belongs to its owner: it starts at the effect's
// position plus a random offset, points along the effect's heading and spares its
// owner's side. Four modes:
//   straight   one beam cut at the first object it touches (tested on its first
//              frame, or every frame with "constCollision")
//   homing     up to 40 beams leaving round the circle, stepping towards a target
//   bounce     beams that glance off what they hit, live 500 ms and fade
//   lightning  forked bolts growing towards targets picked at random within reach
//
// Keys (block "emitter"): "textureFile", "beamWidth", "maxBeamLength", "startColor" and
// "endColor" (red, green, blue 0..255), "startAlpha", "endAlpha" (0..255), "isTiled",
// "uoffset", "voffset", "blendMode" ("blend", "additive" or "test"), "onTimeSec",
// "randomStartOffsetX/Y", the effect names "collisionEffect", "attachedEffect" and
// "launchEffect", "damage", "constCollision", and the mode flags "homing", "lightning",
// "bounce", with which also "maxSegments" (25), "numBeams" (10), "beamLength" (200),
// "speed" (800 units a second) and "randomStartOri" (0, 359) are read.

#include "core/Vector2D.h"
#include "world/Effect.h"
#include "world/Emitter.h"

#include <cstdint>
#include <string>
#include <vector>

class CGameObject;

class CStraightLaserEmitter : public CEmitter
{
public:
    // The point table shared by the definition's live effects.
    static constexpr int32_t CHAINS = 250;
    static constexpr int32_t CHAIN_POINTS = 100;
    static constexpr int32_t MAX_BEAMS = 40;
    static constexpr size_t NAME_SIZE = 48;

    explicit CStraightLaserEmitter(CEffectDef& definition);
    ~CStraightLaserEmitter() override;

    EEmitterKind GetKind() const override { return EMITTER_STRAIGHT_LASER; }
    void Read(const CDataTree& block, CDefinitionProblems& problems) override;
    // Each live effect lets go of its launch effect.
    void ResetOwn() override;

    // A free chain (the first in index order), or -1 when all are in use.
    int32_t TakeChain();
    void FreeChain(int32_t chain);
    CVector2D* GetChain(int32_t chain) { return &m_points[static_cast<size_t>(chain) * CHAIN_POINTS]; }
    int32_t CountFreeChains() const;

    // Drawing and settings.
    int GetTexture() const { return m_texture; }
    const std::string& GetTextureFile() const { return m_textureFile; }
    float GetBeamWidth() const { return m_beamWidth; }
    float GetMaxBeamLength() const { return m_maxBeamLength; }
    const float* GetStartColour() const { return m_startColour; }
    const float* GetEndColour() const { return m_endColour; }
    float GetStartAlpha() const { return m_startAlpha; }
    float GetEndAlpha() const { return m_endAlpha; }
    bool Blends() const { return m_blend; }
    bool Adds() const { return m_additive; }
    bool Tests() const { return m_alphaTest; }
    uint32_t GetOnTimeMs() const { return m_onTimeMs; }
    const CVector2D& GetOffsetRangeX() const { return m_offsetX; }
    const CVector2D& GetOffsetRangeY() const { return m_offsetY; }
    const char* GetCollisionEffect() const { return m_collisionEffect; }
    const char* GetAttachedEffect() const { return m_attachedEffect; }
    const char* GetLaunchEffect() const { return m_launchEffect; }
    int32_t GetDamage() const { return m_damage; }
    bool CollidesEveryFrame() const { return m_constCollision; }
    bool IsHoming() const { return m_homing; }
    bool IsLightning() const { return m_lightning; }
    bool IsBounce() const { return m_bounce; }
    int32_t GetMaxSegments() const { return m_maxSegments; }
    int32_t GetBeamCount() const { return m_numBeams; }
    float GetBeamLength() const { return m_beamLength; }
    float GetSpeed() const { return m_speed; }
    const CVector2D& GetAngleRange() const { return m_startOri; }

protected:
    std::unique_ptr<CEffect> MakeEffect() override;

private:
    int m_texture = -1;
    std::string m_textureFile;
    float m_beamWidth = 0.0f;
    float m_maxBeamLength = 0.0f;
    float m_startColour[3] = {255.0f, 255.0f, 255.0f};
    float m_endColour[3] = {255.0f, 255.0f, 255.0f};
    float m_startAlpha = 255.0f;
    float m_endAlpha = 255.0f;
    bool m_isTiled = false;
    float m_uOffset = 0.0f;
    float m_vOffset = 0.0f;
    bool m_blend = false;
    bool m_additive = false;
    bool m_alphaTest = false;
    uint32_t m_onTimeMs = 0;
    CVector2D m_offsetX;
    CVector2D m_offsetY;
    char m_collisionEffect[NAME_SIZE] = "";
    char m_attachedEffect[NAME_SIZE] = "";
    char m_launchEffect[NAME_SIZE] = "";
    int32_t m_damage = 0;
    bool m_constCollision = false;
    bool m_homing = false;
    bool m_lightning = false;
    bool m_bounce = false;
    int32_t m_maxSegments = 25;
    int32_t m_numBeams = 10;
    float m_beamLength = 200.0f;
    float m_speed = 800.0f;
    CVector2D m_startOri{0.0f, 359.0f};
    // Chains of points, and which are in use (a chain is free while its flag is clear).
    std::vector<CVector2D> m_points;
    std::vector<uint8_t> m_chainUsed;
};

class CStraightLaserEffect : public CEffect
{
public:
    struct SBeam
    {
        float turn = 0.0f;    // homing: how hard the head turns
        float fade = 1.0f;
        int32_t chain = -1;
        int32_t points = 0;
        SEffectRef attached;  // homing
        CVector2D direction;
        int32_t target = 0;   // held or last-hit object; 0 none
        uint32_t endTime = 0; // bounce
        bool waiting = true;  // lightning: runs along beam 0 until it forks
        bool done = false;
        bool hit = false;
        bool active = false;
    };

    explicit CStraightLaserEffect(CStraightLaserEmitter& emitter);
    ~CStraightLaserEffect() override;

    void Start() override;
    void Update() override;
    void Release(bool detach = true) override;
    void Stop() override;
    // Until its end time.
    bool IsAlive() const override;

    // The cache's reset: the launch effect is let go (released, not detached).
    void ForgetLaunchEffect();

    float GetBeamLength() const { return m_beamLength; }
    uint32_t GetEndTime() const { return m_endTime; }
    int32_t GetActiveBeams() const { return m_activeBeams; }
    const SBeam& GetBeam(int index) const { return m_beams[index]; }
    int32_t GetHeldTarget() const { return m_target; }
    uint32_t GetStepPeriod() const { return m_stepPeriod; }
    CEffect* GetLaunchEffect() const { return m_launch.Get(); }
    const std::vector<int32_t>& GetTargets() const { return m_targets; }
    const CVector2D& GetStartOffset() const { return m_offset; }
    // The mode's work is over (a recyclable laser then gives itself back).
    bool IsFinished() const { return m_finished; }

private:
    CStraightLaserEmitter& Emitter() const;
    void FollowWithLaunchEffect();
    void Finish();
    bool HasPassedEnd(uint32_t now) const;
    void FreeBeams();
    void EndBeam(SBeam& beam);
    bool AppendPoint(SBeam& beam, const CVector2D& point);
    void DropOldestPoint(SBeam& beam);
    // The object a circle of radius 5 at the point touches first (not of the owner's
    // side, health above 0, not the one excluded), or null.
    CGameObject* FindHitAt(const CVector2D& point, int32_t excluded) const;
    void Strike(CGameObject& object, const CVector2D& point, const CVector2D& velocity);
    void DrawBeams(bool quads) const;

    // Straight mode.
    void RunStraight();
    // Homing mode.
    bool StartHoming();
    void RunHoming(uint32_t now);
    void StepHoming(SBeam& beam, const CGameObject* target);
    int32_t SearchHomingTarget() const;
    // Bounce mode.
    bool StartBounce();
    void RunBounce(uint32_t now);
    // Lightning mode.
    bool StartLightning();
    void RunLightning();

    uint32_t m_endTime = 0;
    CVector2D m_offset;
    float m_beamLength = 0.0f;
    bool m_firstFrame = false;
    bool m_finished = true;
    SEffectRef m_launch;
    CVector2D m_defaultAim;
    int32_t m_target = 0;
    uint32_t m_stepPeriod = 0;
    uint32_t m_lastStep = 0;
    int32_t m_activeBeams = 0;
    std::vector<int32_t> m_targets;
    SBeam m_beams[CStraightLaserEmitter::MAX_BEAMS];
};
