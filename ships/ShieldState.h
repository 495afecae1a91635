#pragma once
// The ship's shield: the energy it holds against the capacity of its shield pods,
// and its two effects, the glow round the ship and the edge that shows its strength.

#include "ships/ShipEffect.h"

#include <cstdint>

class CGameObject;
class CShieldDef;

struct SShieldState
{
    // No shield: the effects given back, energy and flags cleared.
    void Reset();
    // Spawns both effects for the ship; from then on the shield can absorb (when the
    // design has a shield), whether or not its effects exist.
    void SetUp(const CGameObject& ship);
    // Takes what it can of the damage: below its whole energy the hit is absorbed
    // whole, else it is lessened by the energy, which runs out. Nothing while not
    // set up, suspended or without a shield.
    void Absorb(int32_t& damage);
    // Suspending (jamming, a frozen ship) stops the edge effect.
    void SetSuspended(bool suspended);
    // The effects follow the ship; the edge shows energy / capacity while the energy
    // lasts and stops when it runs out.
    void Follow(const CGameObject& ship);
    float GetStrength() const;

    float m_energy = 0.0f;
    float m_capacity = 0.0f;
    const CShieldDef* m_def = nullptr;
    CShipEffect m_effect;
    CShipEffect m_edgeEffect;
    bool m_active = false;
    bool m_raised = false;
    bool m_suspended = false;
};
