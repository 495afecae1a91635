#pragma once
// The enemy fighter: a gun ship under a behaviour arbiter (wander, retreat,
// attack; a decision every 500 ms) whose pilot turns it, thrusts and fires its two
// weapons. It attacks the nearer of the player ship and the station, shoots
// asteroids about to hit it while neither is near, follows the heaviest ally it
// sees, flees the playfield's edges and retreats once when badly hurt among few
// allies. A fighter made a queen by its boss has a scripted end in the last zone.
//
// Section "ENEMY_FIGHTER" of its file: the body keys, "armRange", "defensiveRange",
// "engineForce", "velocityLimit", "deathEffect", "wakeEffect", and the blocks
// "weapon0" and "weapon1" ("weaponEffect", "fireRateSec", "offset").

#include "ships/BehaviourArbiter.h"
#include "ships/EnemyObject.h"
#include "ships/ShipEffect.h"

#include <string>

class CFighterContext;
class CFighterPilot;

struct SFighterWeapon
{
    std::string effect;      // empty: no weapon
    CVector2D offset;        // from the fighter's centre, turned with it
    float fireRate = 0.0f;   // shots a second
    uint32_t nextFire = 0;   // game clock
};

class CEnemyFighter : public CEnemyObject
{
public:
    static constexpr int WEAPONS = 2;
    static constexpr uint32_t DECISION_MS = 500;
    static constexpr uint32_t SCAN_MS = 750;
    static constexpr float DAMPING = 0.98f;
    static constexpr int32_t QUEEN_ZONE = 4;
    static constexpr int32_t KILL_POINTS = 10;
    static constexpr int32_t QUEEN_POINTS = 1000;

    CEnemyFighter();
    ~CEnemyFighter() override;

    const char* GetSectionName() const override { return "ENEMY_FIGHTER"; }

    void Think() override;
    bool Move() override;
    void UpdateSprite() override;
    void Die() override;
    void Collide(CGameObject& other) override;
    bool TakeDamage(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount) override;
    void SetVisible(bool visible) override;
    void SetFrozen(bool frozen) override { FreezeBody(frozen); }
    void SetWarpState(EWarpState state) override;

    // The bosses make one fighter their queen.
    void SetQueen(bool queen) { m_queen = queen; }
    bool IsQueen() const { return m_queen; }

    float GetArmRange() const { return m_armRange; }
    float GetDefensiveRange() const { return m_defensiveRange; }
    float GetEngineForce() const { return m_engineForce; }
    const std::string& GetDeathEffect() const { return m_deathEffect; }
    SFighterWeapon& GetWeapon(int index) { return m_weapons[index]; }
    int32_t GetLeader() const { return m_leader; }
    void SetLeader(int32_t handle) { m_leader = handle; }
    int32_t GetAsteroidThreat() const { return m_asteroidThreat; }
    CBehaviourArbiter& GetArbiter() { return m_arbiter; }
    CFighterContext& GetContext() const;
    CFighterPilot& GetPilot() const;

    // Every 750 ms: allies and the heaviest of them within the arm range, and, when
    // neither the player ship nor the station is among them, the first other object
    // on a closing course within the defensive range.
    void Scan();

protected:
    bool ReadKeys(const CDataTree& section, CDefinitionProblems& problems) override;

private:
    void ReadWeapon(const CDataTree& block, SFighterWeapon& weapon);
    void UpdateWake();
    // A queen in the last zone waits while the director holds her.
    bool IsQueenHeld() const;
    // The last zone's queen: the freeze that spares her once; false when the hit is
    // spent on it.
    bool ApplyQueenRules(int32_t kind, int32_t& amount);
    void KillQueen();
    void DropSurvivalGems();

    std::string m_deathEffect;
    CShipEffect m_wake;
    CBehaviourArbiter m_arbiter;
    SFighterWeapon m_weapons[WEAPONS];
    float m_armRange = 0.0f;
    float m_defensiveRange = 0.0f;
    float m_engineForce = 0.0f;
    uint32_t m_lastScan = 0;
    bool m_scanned = false;
    int32_t m_asteroidThreat = NO_OBJECT;
    int32_t m_leader = NO_OBJECT;
    bool m_queen = false;
};
