#pragma once
// The mothership's behaviours on its arbiter, and the context they share. Which of
// them a mothership has depends on its configuration (ships/Mothership.cpp).

#include "core/Vector2D.h"
#include "ships/BehaviourArbiter.h"
#include "ships/ShipEffect.h"

#include <cstdint>

class CEnemyMothership;

enum EMothershipBehaviour : int32_t
{
    MOTHERSHIP_KEEP_CLEAR = 0,
    MOTHERSHIP_HUNT = 1,
    MOTHERSHIP_LAUNCH = 2,
    MOTHERSHIP_SELF_DESTRUCT = 3,
    MOTHERSHIP_PATROL = 4,
    MOTHERSHIP_MINE = 5,
    MOTHERSHIP_CRUSHER_GRAVITY = 6,
};

class CMothershipContext : public CBehaviourContext
{
public:
    explicit CMothershipContext(CEnemyMothership& owner) : m_owner(owner) {}
    // The nearest edge of the playfield.
    void Update() override;

    CEnemyMothership& m_owner;
    CVector2D m_edge;          // to the nearest edge
    float m_edgeLength = 0.0f;
    bool m_defenceless = false; // a decision found no live turret
};

// Away from the edges and out of crowds.
class CKeepClearBehaviour : public CBehaviour
{
public:
    static constexpr float EDGE_RANGE = 450.0f;
    static constexpr float BOSS_EDGE_RANGE = 600.0f;
    CKeepClearBehaviour() : CBehaviour(MOTHERSHIP_KEEP_CLEAR) {}
    void Score(CBehaviourContext& context) override;
    int32_t Update(CBehaviourContext& context) override;

private:
    float m_edgeTerm = 0.0f;
    float m_crowdTerm = 0.0f;
};

// Closes on the nearer of the player ship and the station.
class CHuntBehaviour : public CBehaviour
{
public:
    static constexpr float CLOSE_RANGE = 100.0f;
    CHuntBehaviour() : CBehaviour(MOTHERSHIP_HUNT) {}
    void Score(CBehaviourContext& context) override;
    int32_t Update(CBehaviourContext& context) override;
};

// Launches its ships through its ports, a group of the launch amount at a time.
class CLaunchBehaviour : public CBehaviour
{
public:
    static constexpr float ENTRANCE_CLEARANCE = 150.0f;
    CLaunchBehaviour() : CBehaviour(MOTHERSHIP_LAUNCH) {}
    void Score(CBehaviourContext& context) override;
    int32_t Start(CBehaviourContext& context) override;
    int32_t Update(CBehaviourContext& context) override;
    int32_t Stop(CBehaviourContext& context) override;

    int32_t GetLaunchedThisRun() const { return m_launched; }
    uint32_t GetLastRunEnd() const { return m_lastRunEnd; }

private:
    bool IsEntranceClear(CEnemyMothership& owner, const CVector2D& entrance) const;

    int32_t m_launched = 0;
    uint32_t m_runStart = 0;
    uint32_t m_lastRunEnd = 0;
    bool m_runStarted = false;
    bool m_hasRun = false;
};

// A spent, defenceless drone carrier flies into the station and explodes.
class CSelfDestructBehaviour : public CBehaviour
{
public:
    static constexpr float BLAST_RANGE = 50.0f;
    static constexpr float CROWD_RANGE = 500.0f;
    CSelfDestructBehaviour() : CBehaviour(MOTHERSHIP_SELF_DESTRUCT) {}
    void Score(CBehaviourContext& context) override;
    int32_t Start(CBehaviourContext& context) override;
    int32_t Update(CBehaviourContext& context) override;

private:
    bool m_portsDestroyed = false;
};

// Keeps its distance from the nearer target within the range, wanders beyond it.
class CPatrolBehaviour : public CBehaviour
{
public:
    CPatrolBehaviour(float range) : CBehaviour(MOTHERSHIP_PATROL), m_range(range) {}
    void Score(CBehaviourContext& context) override;
    int32_t Update(CBehaviourContext& context) override;

    const CVector2D& GetWander() const { return m_wander; }

private:
    float m_range;
    CVector2D m_wander;
    CVector2D m_away;
    bool m_within = false;
};

// Heads for the nearest medium or large rock.
class CMineBehaviour : public CBehaviour
{
public:
    static constexpr float SEARCH_RANGE = 1000.0f;
    CMineBehaviour() : CBehaviour(MOTHERSHIP_MINE) {}
    void Score(CBehaviourContext& context) override;
    int32_t Update(CBehaviourContext& context) override;

private:
    int32_t m_rock = -1;
};

// The crusher opens its ports and pulls everything not of its side toward it.
class CCrusherGravityBehaviour : public CBehaviour
{
public:
    static constexpr uint32_t ARM_MS = 30000;
    static constexpr uint32_t PULL_DELAY_MS = 2000;
    static constexpr uint32_t OPEN_TIME_MS = 10000;
    static constexpr float PULL_FORCE = 400.0f;
    static constexpr const char* EFFECT = "crusherGravity";
    explicit CCrusherGravityBehaviour(uint32_t now) : CBehaviour(MOTHERSHIP_CRUSHER_GRAVITY), m_armTime(now + ARM_MS) {}
    void Score(CBehaviourContext& context) override;
    int32_t Start(CBehaviourContext& context) override;
    int32_t Update(CBehaviourContext& context) override;
    int32_t Stop(CBehaviourContext& context) override;

    uint32_t GetArmTime() const { return m_armTime; }
    bool IsPulling(uint32_t now) const;

private:
    uint32_t m_armTime;
    uint32_t m_pullTime = 0;
    uint32_t m_endTime = 0;
    bool m_allOpen = false;
    CShipEffect m_effect;
};
