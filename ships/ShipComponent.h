#pragma once
// The working parts of a flying ship: one instance per occupied pod of its design,
// made from the pod's definition. The runtime (CShipRuntime) owns them, runs their
// PreUpdate in its energy step, sets the triggers of what it can afford, and runs
// their Update once the ship has moved.

#include "core/Vector2D.h"
#include "presentation/AnimatedSprite.h"
#include "presentation/SpriteRef.h"
#include "ships/ComponentDef.h"
#include "ships/ShipEffect.h"

#include <cstdint>
#include <memory>

class CShipRuntime;

class CShipComponent
{
public:
    CShipComponent(const CShipComponentDef& def, CShipRuntime& runtime, int32_t pod);
    virtual ~CShipComponent() = default;
    CShipComponent(const CShipComponent&) = delete;
    CShipComponent& operator=(const CShipComponent&) = delete;

    // At the start of the energy step: the trigger of the last frame is let go.
    virtual void PreUpdate() {}
    // After the ship has moved.
    virtual void Update() {}
    virtual void SetTrigger(bool) {}
    virtual bool IsTriggered() const { return false; }

    const CShipComponentDef& GetDef() const { return m_def; }
    template <typename T>
    const T& GetDefAs() const
    {
        return static_cast<const T&>(m_def);
    }
    EComponentKind GetKind() const { return m_def.m_kind; }
    int32_t GetPod() const { return m_pod; }

    int32_t m_health;
    int32_t m_ammo; // rounds left, -1 for a part without ammunition

protected:
    const CShipComponentDef& m_def;
    CShipRuntime& m_runtime;
    int32_t m_pod;
};

class CEngineComponent : public CShipComponent
{
public:
    using CShipComponent::CShipComponent;
};

class CGeneratorComponent : public CShipComponent
{
public:
    using CShipComponent::CShipComponent;
};

class CBatteryComponent : public CShipComponent
{
public:
    // A new battery comes charged.
    CBatteryComponent(const CShipComponentDef& def, CShipRuntime& runtime, int32_t pod);

    float m_stored = 0.0f;
};

class CShieldComponent : public CShipComponent
{
public:
    using CShipComponent::CShipComponent;
};

// Missile and bomb rounds.
class CAmmoComponent : public CShipComponent
{
public:
    using CShipComponent::CShipComponent;
};

class CCargoComponent : public CShipComponent
{
public:
    using CShipComponent::CShipComponent;
};

class CHullComponent : public CShipComponent
{
public:
    using CShipComponent::CShipComponent;
};

// What the fire action of a weapon's group did this frame.
struct SFireButtons
{
    bool shortPress = false;
    bool longHold = false;
};

// A part that fires through its weapon effect when its trigger is set.
class CWeaponComponent : public CShipComponent
{
public:
    CWeaponComponent(const CShipComponentDef& def, CShipRuntime& runtime, int32_t pod, const std::string& effect);

    void PreUpdate() override { m_trigger = false; }
    // The weapon effect is placed at the launch point every frame.
    void Update() override;
    void SetTrigger(bool on) override { m_trigger = on; }
    bool IsTriggered() const override { return m_trigger; }
    // Fires when its cadence and rounds allow (the trigger is set).
    virtual void Fire(const SFireButtons& buttons) = 0;

    void SetLaunchOffset(const CVector2D& offset) { m_launchOffset = offset; }
    const CVector2D& GetLaunchOffset() const { return m_launchOffset; }
    uint32_t GetLastShotTime() const { return m_lastShot; }
    CShipEffect& GetWeaponEffect() { return m_weaponEffect; }

protected:
    // More than 1000 / rate ms have passed since the last shot; never at a rate of 0.
    bool IsDue(float ratePerSecond) const;
    // The tap and hold cadence of guns, lasers, missiles and pinbeams.
    bool IsDueByButtons(const SFireButtons& buttons, float fireRate, float tapRate, bool holdFires) const;
    // Stamps the time, places the effect at the point with the ship's heading and
    // velocity, and starts it.
    void Launch(CShipEffect& effect, const CVector2D& point);
    // The ship's position plus the launch offset turned with the ship.
    CVector2D GetLaunchPoint() const;
    void PlaceAtLaunchPoint(CShipEffect& effect) const;

    CShipEffect m_weaponEffect;
    uint32_t m_lastShot = 0;
    CVector2D m_launchOffset;
    bool m_trigger = false;
};

// Projectile guns and lasers: they fire by tap and hold, and a gun whose definition
// names a charged shot charges while its fire action is held and lets the charged
// shot go when it is released.
class CGunComponent : public CWeaponComponent
{
public:
    CGunComponent(const CShipComponentDef& def, CShipRuntime& runtime, int32_t pod);

    void PreUpdate() override;
    void Update() override;
    void Fire(const SFireButtons& buttons) override;

    // A gun whose definition names a charged shot.
    bool IsChargeable() const { return !GetDefAs<CGunDef>().m_chargeWeaponEffect.empty(); }
    bool IsChargeFull() const;
    CShipEffect& GetChargeWeaponEffect() { return m_chargeWeaponEffect; }
    CShipEffect& GetChargeEffect() { return m_chargeEffect; }
    CShipEffect& GetFullChargeEffect() { return m_fullChargeEffect; }

    float m_charge = 0.0f;

private:
    CShipEffect m_chargeWeaponEffect;
    CShipEffect m_chargeEffect;
    CShipEffect m_fullChargeEffect;
};

class CMissileComponent : public CWeaponComponent
{
public:
    CMissileComponent(const CShipComponentDef& def, CShipRuntime& runtime, int32_t pod);
    void Fire(const SFireButtons& buttons) override;
};

class CPinbeamComponent : public CWeaponComponent
{
public:
    CPinbeamComponent(const CShipComponentDef& def, CShipRuntime& runtime, int32_t pod);
    void Fire(const SFireButtons& buttons) override;
};

// Drops its bomb at the ship's place.
class CBombComponent : public CWeaponComponent
{
public:
    CBombComponent(const CShipComponentDef& def, CShipRuntime& runtime, int32_t pod);
    void Update() override {}
    void Fire(const SFireButtons& buttons) override;
};

// A drone that flies out to a station point beside the ship and fires from there.
class CDroneComponent : public CWeaponComponent
{
public:
    enum EState
    {
        DOCKED = 0,
        FLYING_OUT = 1,
        ON_STATION = 2,
        RETURNING = 3,
    };
    static constexpr float SPEED = 40.0f / 25.0f; // units a frame

    // The runtime's n-th drone (from 0) keeps station at (0, -35) for the first and
    // (0, 35) for the second; a further drone has no station and stays docked.
    CDroneComponent(const CShipComponentDef& def, CShipRuntime& runtime, int32_t pod, int32_t droneIndex);

    void PreUpdate() override;
    void Update() override;
    // Drones fire from their own update, when on station.
    void Fire(const SFireButtons&) override {}

    EState GetState() const { return m_state; }
    // In ship space.
    const CVector2D& GetOffset() const { return m_offset; }
    bool HasStation() const { return m_hasStation; }

private:
    void Place();

    CSpriteRef m_spriteRef;
    CAnimatedSprite m_sprite;
    CVector2D m_offset;
    CVector2D m_station;
    EState m_state = DOCKED;
    bool m_hasStation = false;
};

// Makes the instance of the pod's kind; null for NONE and kinds no pod holds. The
// drone index counts the drones made before this one.
std::unique_ptr<CShipComponent> MakeShipComponent(const CShipComponentDef& def, CShipRuntime& runtime, int32_t pod,
                                                  int32_t droneIndex);
