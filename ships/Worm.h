#pragma once
// The worm: a chain of segments, each a world object of its own linked by handle
// to the segment in front and the one behind. The head hunts the nearer of the
// player ship and the station; the rest follow on springs of rest length 64, held
// between 32 and 96 units of the segment in front. A segment left with no
// neighbour dies. Only hits that carry a kind wear a segment down; any other blow
// (a ramming) kills it at once.
//
// Section "WORM" of "data\enemies\worm.txt": the body keys. The asteroid field's
// spawner makes the segments and links them (SetWormLinks).
//
// The game counts live worms for its spawner: the segments of one worm share the
// head's handle as their worm id, and the count falls once, when the last segment
// of that id leaves the world, however the worm was cut up.

#include "ships/EnemyObject.h"

class CWorm : public CEnemyObject
{
public:
    static constexpr int32_t VELOCITY_LIMIT = 250;
    static constexpr float DAMPING = 0.9f;
    static constexpr float REST_LENGTH = 64.0f;
    static constexpr float SPRING = 0.2f;
    static constexpr float MIN_GAP = 32.0f;
    static constexpr float MAX_GAP = 96.0f;
    static constexpr float CROWD_PUSH = 5.0f;
    static constexpr float TURN_PER_TICK = 50.0f / 25.0f;
    static constexpr float FACING_CONE = 10.0f;
    static constexpr float SHAPE_LEAD = 64.0f;
    static constexpr int32_t RAM_FACTOR = 9999;

    CWorm();
    ~CWorm() override;

    const char* GetSectionName() const override { return "WORM"; }

    void SetWormLinks(int32_t front, int32_t behind) override;
    void Think() override;
    bool Move() override;
    void UpdateSprite() override;
    void Die() override;
    void Collide(CGameObject& other) override;
    bool TakeDamage(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount) override;

    int32_t GetFront() const { return m_front; }
    int32_t GetBehind() const { return m_behind; }
    int32_t GetWormId() const { return m_wormId; }
    float GetThrust() const { return m_thrust; }
    bool IsHead() const { return m_front == NO_OBJECT; }

protected:
    bool ReadKeys(const CDataTree& section, CDefinitionProblems& problems) override;

private:
    CWorm* FindSegment(int32_t handle) const;
    void HuntAsHead();
    void PulseScale();
    // The spring force towards (or away from) a neighbour.
    void PullTowards(const CGameObject& other);
    void KeepGapToFront();
    // No other segment of this worm is left in the world.
    bool IsLastOfItsWorm() const;

    int32_t m_behind = NO_OBJECT;
    int32_t m_front = NO_OBJECT;
    int32_t m_wormId = NO_OBJECT;
    float m_thrust = 0.0f;
    bool m_dying = false;
};
