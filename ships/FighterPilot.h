#pragma once
// The enemy fighter's hands and memory. The pilot is the arbiter's sensor: on every
// arbiter update it carries out the last order the behaviours gave (steer along a
// vector, face and shoot a target, wait for a standstill), turning the ship 4
// degrees a tick until it faces within 15 degrees. The context is what the
// fighter's behaviours share, refreshed at each decision.

#include "core/Vector2D.h"
#include "ships/BehaviourArbiter.h"

#include <cstdint>

class CEnemyFighter;
class CGameObject;

enum EPilotMode : int32_t
{
    PILOT_STEER = 0,  // thrust along the goal vector once facing it
    PILOT_IDLE = 1,
    PILOT_ENGAGE = 2, // face the target and fire once facing it
    PILOT_HALT = 3,   // idle again once the ship stands still
};

class CFighterPilot : public CBehaviourSensor
{
public:
    static constexpr float TURN_PER_TICK = 100.0f / 25.0f;
    static constexpr float FACING_CONE = 15.0f;
    static constexpr float CROWD_PUSH = 5.0f;

    explicit CFighterPilot(CEnemyFighter& fighter) : m_fighter(fighter) {}

    void Steer(const CVector2D& goal, float force);
    void Engage(int32_t target);
    // Every weapon whose time has come fires at the target (along the ship without one).
    void FireWeapons(const CGameObject* target);
    void Halt() { m_mode = PILOT_HALT; }
    void Sense() override;

    EPilotMode GetMode() const { return m_mode; }
    const CVector2D& GetGoal() const { return m_goal; }
    float GetGoalForce() const { return m_goalForce; }
    int32_t GetTarget() const { return m_target; }

private:
    // Turns towards the heading; true when already facing it.
    bool TurnTowards(float heading);

    CEnemyFighter& m_fighter;
    EPilotMode m_mode = PILOT_IDLE;
    CVector2D m_goal;
    float m_goalHeading = 0.0f;
    float m_goalForce = 0.0f;
    int32_t m_target = -1;
};

class CFighterContext : public CBehaviourContext
{
public:
    static constexpr int32_t MIN_START_HEALTH = 5;
    static constexpr int32_t MAX_RETREAT_ALLOWANCE = 10;

    explicit CFighterContext(CEnemyFighter& fighter);

    // At each decision: the nearest edge, and the health (the first one seen, at
    // least 5, is the start health).
    void Update() override;

    CEnemyFighter& GetFighter() const { return m_fighter; }
    CFighterPilot& GetPilot() const { return *static_cast<CFighterPilot*>(GetSensor()); }

    CVector2D m_edgeVector;
    float m_edgeDistance = 0.0f;
    int32_t m_startHealth = -1;
    int32_t m_health = 0;
    CVector2D m_attackDirection;
    // Retreats are allowed while fewer allies than this stand by (1 to 10, drawn once).
    int32_t m_retreatAllowance = 0;
    int32_t m_friendlyCount = 0;
    bool m_attacking = false;

private:
    CEnemyFighter& m_fighter;
};
