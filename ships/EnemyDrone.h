#pragma once
// The enemy drone: a small self-propelled bomb that homes on the nearer of the
// player ship and the station and explodes close to it. Its "config" makes it a
// mine (lies still, creeps towards a target within 800 units or while its launcher
// is engaged, flees the playfield's edges), a suicide drone (always homes) or a
// megabomb (explodes at a random time). A beacon shows while a target is within
// the arm range: a red sprite of its own, or the second half of the body's frames.
//
// Section "ENEMY_DRONE" of its file: the body keys, then "config", "randomImpactTime"
// (min, max seconds; megabomb), "beacon" (block: "swapMainSprite" or a sprite
// reference), "wakeEffect", "rotateShip", "blowNearAsteroids" (those four not for the
// megabomb), "detonateRange", "armRange", "detonateEffect" and "deathEffect".

#include "presentation/AnimatedSprite.h"
#include "presentation/SpriteRef.h"
#include "ships/EnemyObject.h"
#include "ships/ShipEffect.h"

#include <string>

enum EDroneKind : int32_t
{
    DRONE_MINE = 0,
    DRONE_SUICIDE = 1,
    DRONE_MEGABOMB = 2,
};

class CEnemyDrone : public CEnemyObject
{
public:
    static constexpr float THRUST = 750.0f;
    static constexpr float MINE_CREEP = 0.25f;
    static constexpr float MINE_WAKE_RANGE = 800.0f;
    static constexpr float EDGE_FLEE_RANGE = 10.0f;
    static constexpr uint32_t MINE_REST_MS = 30000; // a mine rests up to this long
    static constexpr uint32_t ASTEROID_CHECK_MS = 500;
    static constexpr float ASTEROID_REACH = 25.0f;
    static constexpr float TURN_PER_TICK = 4.0f;
    static constexpr float THRUST_CONE = 10.0f;
    static constexpr float CROWD_PUSH = 5.0f;
    static constexpr float NO_TARGET = 9999999.0f;
    static constexpr uint32_t BEACON_COLOUR = 0xFFFF0000;

    CEnemyDrone();

    const char* GetSectionName() const override { return "ENEMY_DRONE"; }

    void Think() override;
    bool Move() override;
    void UpdateSprite() override;
    void Die() override;
    void Collide(CGameObject& other) override;
    bool TakeDamage(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount) override;
    void SetVisible(bool visible) override;
    void SetFrozen(bool frozen) override;
    void SetDrawPlane(uint8_t plane) override;
    int32_t GetStateValue() const override { return m_kind; }

    // The mothership that launched the drone (its engagement wakes a mine).
    void SetLauncher(int32_t handle) { m_launcher = handle; }
    int32_t GetLauncher() const { return m_launcher; }

    EDroneKind GetKind() const { return static_cast<EDroneKind>(m_kind); }
    float GetArmRange() const { return m_armRange; }
    float GetDetonateRange() const { return m_detonateRange; }
    float GetTargetDistance() const { return m_targetDistance; }
    uint32_t GetWakeTime() const { return m_wakeTime; }
    uint32_t GetImpactTime() const { return m_impactTime; }
    bool IsMoving() const { return m_moving; }
    bool IsBeaconShown() const { return m_beaconShown; }
    bool SwapsMainSprite() const { return m_swapMainSprite; }
    bool HasBeaconSprite() const { return m_beacon.GetInstance() != nullptr; }
    const CAnimatedSprite& GetBeacon() const { return m_beacon; }
    bool RotatesShip() const { return m_rotateShip; }
    const std::string& GetDetonateEffect() const { return m_detonateEffect; }
    const std::string& GetDeathEffect() const { return m_deathEffect; }

    // Explodes: the detonate effect starts for the drone, which dies.
    void Detonate();

protected:
    bool ReadKeys(const CDataTree& section, CDefinitionProblems& problems) override;

private:
    void ReadBeacon(const CDataTree& beacon);
    bool IsAsteroidNear() const;
    // The thrust of the frame towards the target (or away from the edge).
    CVector2D ChooseThrust(uint32_t now);
    bool IsLauncherEngaged();
    void ShowBeacon(bool show);
    void PlaceWake();

    CSpriteRef m_beaconRef;
    CAnimatedSprite m_beacon;
    CShipEffect m_wake;
    float m_armRange = 0.0f;
    float m_detonateRange = 0.0f;
    float m_targetDistance = NO_TARGET;
    uint32_t m_nextAsteroidCheck = 0;
    int32_t m_kind = DRONE_MINE;
    int32_t m_launcher = NO_OBJECT;
    uint32_t m_wakeTime = 0;
    uint32_t m_impactTime = 0;
    // The body's frames before the beacon took the second half of them.
    uint32_t m_beaconFrames = 0;
    std::string m_deathEffect;
    std::string m_detonateEffect;
    bool m_rotateShip = false;
    bool m_blowNearAsteroids = false;
    bool m_swapMainSprite = false;
    bool m_moving = false;
    bool m_beaconShown = false;
};
