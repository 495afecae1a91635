#pragma once
// A ship design at work: one part per occupied pod, the two weapon groups, the
// shield, the cargo hold, the built-in gravity beam and the energy economy that
// decides, frame by frame, what the ship can afford. The player ship owns one,
// sets its controls from the player's actions, runs Step in its Think and
// UpdateParts once it has moved, and takes its thrust, mass, speed limit and
// damping from it.
//
// Rates in definitions are per second; one frame is 1/25 of a second, so a rate r
// costs r / 25 a frame.

#include "core/Vector2D.h"
#include "ships/CargoHold.h"
#include "ships/GravityBeamComponent.h"
#include "ships/ShieldState.h"
#include "ships/ShipComponent.h"
#include "ships/ShipConfig.h"

#include <cstdint>
#include <memory>

class CGameObject;
class CShipComponentDatabase;

// The buttons of one weapon group's fire action this frame.
struct SGroupButtons
{
    bool down = false;
    bool longHold = false;
    bool shortPress = false;
};

// What the ship is asked to do this frame; the energy step switches off what it
// cannot pay for.
struct SShipControls
{
    bool thrust = false;
    bool boost = false;
    bool reverse = false;
    SGroupButtons groups[2];
    bool beam = false;
    bool ammoLow = false;
    bool ammoEmpty = false;
};

// The energy of one frame: what the generators made and what the batteries hold.
// A cost is paid from the generators first and then from the batteries, and
// neither goes below 0.
struct SFrameEnergy
{
    float generator = 0.0f;
    float pool = 0.0f;

    float GetAvailable() const { return generator + pool; }
    void Spend(float amount);
    // Pays as much of the amount as there is and gives what was paid.
    float Draw(float amount);
};

class CShipRuntime
{
public:
    static constexpr int32_t FRAMES_PER_SECOND = 25;
    static constexpr int32_t INSTANCE_MAX = SHIP_CONFIG_POD_MAX;

    CShipRuntime() = default;
    CShipRuntime(const CShipRuntime&) = delete;
    CShipRuntime& operator=(const CShipRuntime&) = delete;

    // Makes the parts of the design for the ship (which owns the runtime and
    // outlives it). False, and nothing built, when the design's hull is missing.
    bool Build(const CShipConfig& design, const CShipComponentDatabase& database, CGameObject& ship);

    // Engine and forward: thrust on, reverse off, and boost on when asked (it then
    // stays on until the thrust is let go). Engine backwards: reverse. No engine: off.
    void SetThrottle(bool engine, bool forward, bool boost);
    // Group 1 or 2.
    void SetGroupButtons(int group, bool down, bool shortPress, bool longHold);
    void SetBeam(bool on) { m_controls.beam = on; }
    // Everything off (a frozen ship).
    void ClearControls();

    // The frame's energy economy: generation, the batteries' pool, the ammunition
    // warnings, then thrust, boost and reverse, the beam, both weapon groups, the
    // shield's top-up and the batteries' refill, in that order.
    void Step();
    // After the ship has moved: the triggered weapons fire, every part updates, the
    // shield effects follow and the built-in beam updates.
    void UpdateParts();

    // The thrust force along the ship's unit direction: the engines' thrust,
    // doubled by boost, or half of it backwards in reverse; 0 with neither.
    CVector2D GetThrust(const CVector2D& direction) const;
    uint32_t GetTotalMass() const;
    // The first engine's limit (units a second), 0 without an engine.
    int32_t GetVelocityLimit() const;
    float GetDamping() const;
    float GetOverloadFactor() const { return m_overloadFactor; }
    int32_t CountCargoPods() const;
    // One round from the first ammunition pod of the weapon's kind (missile or
    // bomb) that has rounds left; false when none has.
    bool TakeAmmo(EComponentKind weaponKind);
    // Every part whose definition has rounds gets them all back.
    void RefillAmmo();

    const CShipConfig* GetDesign() const { return m_design; }
    const CShipComponentDatabase* GetDatabase() const { return m_database; }
    CGameObject& GetShip() const { return *m_ship; }
    int32_t GetInstanceCount() const { return m_instanceCount; }
    // The part of the pod (null for an empty pod or an index out of range).
    CShipComponent* GetInstance(int32_t pod) const;
    // The first part of the kind, or null.
    CShipComponent* FindInstance(EComponentKind kind) const;
    CGravityBeamComponent* GetBuiltInBeam() const { return m_builtInBeam.get(); }

    SShipControls& GetControls() { return m_controls; }
    const SShipControls& GetControls() const { return m_controls; }
    SShieldState& GetShield() { return m_shield; }
    const SShieldState& GetShield() const { return m_shield; }
    SCargoHold& GetCargo() { return m_cargo; }
    const SCargoHold& GetCargo() const { return m_cargo; }
    // The HUD's figures of the last step.
    float GetGeneratorEnergy() const { return m_generatorEnergy; }
    float GetEnergyLeft() const { return m_energyLeft; }
    float GetBatteryCapacity() const { return m_batteryCapacity; }
    float GetBatteryCharge() const { return m_batteryCharge; }

    // Whether the pod is listed in a weapon group whose fire action is not held
    // (a charged shot is let go then).
    bool IsListedWithoutHold(int32_t pod) const;
    const SGroupButtons& GetGroupButtons(int group) const { return m_controls.groups[group == 1 ? 0 : 1]; }

private:
    struct SStepTotals;

    void Clear();
    SStepTotals SumParts();
    void SetAmmoFlags(const SStepTotals& totals);
    void StepThrust(float demand, SFrameEnergy& energy);
    void StepBeam(const SStepTotals& totals, SFrameEnergy& energy);
    void StepGroup(int group, SFrameEnergy& energy);
    void StepShield(const SStepTotals& totals, SFrameEnergy& energy);
    void StepBatteries(SFrameEnergy& energy);
    void FireGroup(int group);
    void SetLaunchOffsets();

    const CShipConfig* m_design = nullptr;
    const CShipComponentDatabase* m_database = nullptr;
    std::unique_ptr<CHullComponent> m_hull;
    std::unique_ptr<CShipComponent> m_instances[INSTANCE_MAX];
    int32_t m_instanceCount = 0;
    CGameObject* m_ship = nullptr;
    float m_overloadFactor = 0.0f;
    SShieldState m_shield;
    SCargoHold m_cargo;
    std::unique_ptr<CGravityBeamComponent> m_builtInBeam;
    float m_generatorEnergy = 0.0f;
    float m_energyLeft = 0.0f;
    float m_batteryCapacity = 0.0f;
    float m_batteryCharge = 0.0f;
    SShipControls m_controls;
    // The design's hull slots, found when built (the design's pods keep none).
    const SHullPodSlot* m_hullSlots[INSTANCE_MAX] = {};
};
