#pragma once
// The flames and exhaust of a large object (the station, a mothership): entries at
// fixed places on the owner, each lit while the owner thrusts within its fall-off of
// the entry's angle. Coasting faster than a unit a tick with no thrust lights the
// entries that brake against the motion, smaller and fainter. The owner reads the set
// from its "engines" block and updates it from its move with its thrust vector.

#include "core/Vector2D.h"
#include "presentation/AnimatedSprite.h"
#include "presentation/SpriteRef.h"
#include "ships/ShipEffect.h"

#include <cstdint>
#include <memory>

class CDataTree;
class CDefinitionProblems;
class CGameObject;
class CObjectBody;

struct SEngineFlame
{
    CAnimatedSprite sprite;
    CShipEffect emitter;
    CVector2D pos;            // from the owner, or from its tagged body part
    float angle = 0.0f;       // the thrust heading that lights it, degrees
    float fallOff = 0.0f;     // degrees either side
    uint32_t tag = 0;         // the body part carrying it; 0 the owner
    uint32_t frameTime = 0;   // the last frame step
    uint16_t startFrame = 0;
    uint16_t endFrame = 0;
    uint16_t frame = 0;
    bool flash = false;
    bool invertX = false;
    bool invertY = false;
    bool rotated = true;
    bool lit = false;
    bool flashShown = true;
};

class CEngineFlameSet
{
public:
    static constexpr int32_t MAX_ENGINES = 16;
    static constexpr int BASE_PLANE = 10;
    static constexpr uint32_t FRAME_MS = 25;
    static constexpr float BRAKING_SPEED = 1.0f;   // units a tick
    static constexpr float BRAKING_RATE = 0.25f;

    CEngineFlameSet() = default;
    CEngineFlameSet(const CEngineFlameSet&) = delete;
    CEngineFlameSet& operator=(const CEngineFlameSet&) = delete;

    // "numEngines" (0: none), "sprite" and "engine%i" blocks ("pos", "drawPlane",
    // "angle", "fallOff", "rotated", "emitter", "tag", "startFrame", "endFrame", "flash",
    // "invertX", "invertY"). False when a count or block is broken.
    bool Parse(const CDataTree& node, const CGameObject& owner, CDefinitionProblems& problems);
    // Each frame from the owner's move; the body finds tagged parts (may be null).
    void Update(const CGameObject& owner, const CVector2D& thrust, const CObjectBody* body);
    // Every entry lit (the game flow and the director show the engines running).
    void SetAllEnabled(bool enabled);
    void SetAllHidden(bool hidden) { m_allHidden = hidden; }

    int32_t GetCount() const { return m_count; }
    const SEngineFlame* GetFlame(int32_t index) const;
    // Whether the last update lit in braking style.
    bool IsBraking() const { return m_braking; }

private:
    void Hide(SEngineFlame& flame);

    CSpriteRef m_spriteRef;
    std::unique_ptr<SEngineFlame[]> m_flames;
    int32_t m_count = 0;
    bool m_allHidden = false;
    bool m_allOn = false;
    bool m_braking = false;
};
