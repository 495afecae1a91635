#pragma once
// The player ship's engine show: the main flame effect and flame sprite behind the
// engine while thrusting (flickering, larger while boosting), up to four reverse
// jets placed by hull while reversing, and the boost sound each time boost comes on.
// The escape pod (storage slot 0) has only its small flame: no jets, no sprite.

#include "core/Vector2D.h"
#include "presentation/AnimatedSprite.h"
#include "presentation/SpriteRef.h"
#include "ships/ShipEffect.h"
#include "ships/ShipSound.h"

#include <cstdint>

class CEngineDef;
class CGameObject;
struct SShipControls;

// One reverse jet in ship space, with its angle off the ship's heading.
struct SReverseJet
{
    float x;
    float y;
    float angle;
};

class CEngineFlames
{
public:
    static constexpr int JETS_MAX = 4;
    static constexpr uint32_t FLICKER_MS = 35;
    static constexpr const char* BOOST_SOUND = "data\\sfx\\engines\\engineBoost.wav";
    static constexpr float BOOST_VOLUME = 0.8f;
    static constexpr const char* POD_FLAME = "podEngine";
    static constexpr const char* REVERSE_JET = "revEngine";
    static constexpr int FLAME_PLANE = 8;

    // The jets of a hull by its index; their count comes out (0 for other hulls).
    static const SReverseJet* GetReverseJets(int32_t hullIndex, int& count);

    // Without an engine there is nothing to show.
    void SetUp(const CGameObject& ship, const CEngineDef* engine, int32_t hullIndex, bool escapePod);
    void Update(const CGameObject& ship, const SShipControls& controls, const CVector2D& engineOffset);
    // Everything stops (a frozen ship).
    void StopAll();

    float GetFlameScale() const { return m_scale; }
    const CAnimatedSprite& GetFlameSprite() const { return m_flameSprite; }
    int GetJetCount() const { return m_jetCount; }
    const CShipSound& GetBoostSound() const { return m_boostSound; }
    // Where the flame sprite goes in ship space at the current scale.
    CVector2D GetFlameSpriteOffset(const CVector2D& engineOffset) const;

private:
    void UpdateThrust(const CGameObject& ship, bool boosting, const CVector2D& engineOffset);
    void UpdateReverse(const CGameObject& ship);
    void StopJets();

    CShipSound m_boostSound;
    CShipEffect m_mainFlame;
    CSpriteRef m_flameRef;
    CAnimatedSprite m_flameSprite;
    CShipEffect m_jets[JETS_MAX];
    int m_jetCount = 0;
    uint32_t m_flickerTime = 0;
    bool m_flickerPhase = false;
    float m_scale = 1.0f;
    int32_t m_hullIndex = 0;
    bool m_boostPlayed = false;
    bool m_showSprite = false;
    const CEngineDef* m_engine = nullptr;
};
