#pragma once
// A live effect that a ship keeps for its whole flight (a weapon's shot, the engine
// flame, the shield's glow, the gravity beam): spawned once by name for the ship,
// then placed, started and stopped by it every frame, and given back when the ship
// goes. An empty or unknown name gives no effect, and every call on it does nothing,
// so a ship flies the same whether or not its effects exist.
//
// One-off effects (an explosion, sparks at a contact) go through the effect
// requests of the presentation layer instead.

#include "core/Vector2D.h"
#include "world/Effect.h"

#include <string>

class CGameObject;

class CShipEffect
{
public:
    CShipEffect() = default;
    ~CShipEffect() { Release(); }
    CShipEffect(const CShipEffect&) = delete;
    CShipEffect& operator=(const CShipEffect&) = delete;

    // Spawns the named effect for the owner (tracked, not recyclable); false when
    // the name is empty or unknown or the effects are all in use.
    bool Spawn(const std::string& name, const CGameObject* owner);
    void Release();
    bool IsValid() const { return Get() != nullptr; }
    // The live effect, or null (none, or the cache took it back between levels).
    CEffect* Get() const { return m_effect.Get(); }

    // Position, heading (degrees) and velocity (world units per second).
    void Place(const CVector2D& position, float heading, const CVector2D& velocity);
    void SetPosition(const CVector2D& position);
    void Start();
    void Stop();
    void StopEmitting();
    void ResumeEmitting();
    bool IsRunning() const;
    bool IsEmittingStopped() const;
    // The share of its particles the effect emits (the shield edge's strength).
    void SetEmissionScale(float scale);
    // The area particles start in, round the effect's place (an object in the beam).
    void SetStartArea(float size);
    // How far the effect's particles start from its place (the beam's length).
    float GetStartExtent() const;

private:
    SEffectRef m_effect;
};
