#pragma once
// The enemy fighter's three behaviours, added to its arbiter in this order (which
// breaks ties): wander, retreat, attack.
//
//   wander   never scores: runs when nothing else is wanted; follows the leader when
//            it drifts beyond the defensive range, else now and then sets off for up
//            to 5 s towards the player's side (or anywhere while many fighters are
//            already busy this frame), else drifts with the crowd.
//   retreat  scores near the playfield's edge (1 - distance / 300) and, once in the
//            fighter's life, for 2.5 to 7.5 s after its health fell below a threshold
//            drawn at the first decision while it attacked among few allies; damps
//            the others once it scores above 0.5.
//   attack   scores 1 while the nearer of the player ship and the station is within
//            the arm range: closes in beyond the defensive range, engages inside it.

#include "core/Vector2D.h"
#include "ships/BehaviourArbiter.h"

#include <cstdint>

enum EFighterBehaviourKey : int32_t
{
    FIGHTER_RETREAT = 0,
    FIGHTER_ATTACK = 1,
    FIGHTER_WANDER = 2,
};

class CFighterWander : public CBehaviour
{
public:
    static constexpr int32_t START_CHANCE = 50;  // one update in this many sets off
    static constexpr int32_t MAX_WANDER_MS = 5000;
    static constexpr uint32_t BUSY_FIGHTERS = 4; // more busy ones this frame: anywhere

    CFighterWander() : CBehaviour(FIGHTER_WANDER) {}
    void Score(CBehaviourContext& context) override;
    int32_t Update(CBehaviourContext& context) override;
    int32_t Stop(CBehaviourContext& context) override;

    bool IsWandering() const { return m_wandering; }
    uint32_t GetWanderEnd() const { return m_end; }
    const CVector2D& GetDirection() const { return m_direction; }

private:
    void SetOff(CBehaviourContext& context, uint32_t now);

    bool m_wandering = false;
    uint32_t m_end = 0;
    CVector2D m_direction;
};

class CFighterRetreat : public CBehaviour
{
public:
    static constexpr float EDGE_RANGE = 300.0f;
    static constexpr int32_t MIN_RETREAT_MS = 2500;
    static constexpr int32_t RETREAT_SPREAD_MS = 5000;
    static constexpr float FLEE_FORCE = 3.0f; // times the engine force

    CFighterRetreat() : CBehaviour(FIGHTER_RETREAT) {}
    void Score(CBehaviourContext& context) override;
    int32_t Update(CBehaviourContext& context) override;

    int32_t GetThreshold() const { return m_threshold; }
    bool IsThresholdDrawn() const { return m_thresholdDrawn; }
    uint32_t GetRetreatEnd() const { return m_retreatEnd; }

private:
    float m_edgeTerm = 0.0f;
    int32_t m_threshold = 0;
    bool m_thresholdDrawn = false;
    uint32_t m_retreatEnd = 0; // 0: no retreat timed
    bool m_retreating = false;
};

class CFighterAttack : public CBehaviour
{
public:
    CFighterAttack() : CBehaviour(FIGHTER_ATTACK) {}
    void Score(CBehaviourContext& context) override;
    int32_t Update(CBehaviourContext& context) override;
};
