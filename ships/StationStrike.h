#pragma once
// The station's strike: its charged core, flying out with the centre turret on it,
// homing on the one object the director names and destroying it on reaching it. Once
// the object is gone a great explosion is set off where the strike is, and four
// seconds later the strike is spent: the core and the centre turret are gone for good
// and the director is told.

#include "core/Vector2D.h"
#include "presentation/AnimatedSprite.h"

#include <cstdint>

class CStation;

class CStationStrike
{
public:
    static constexpr float SPEED = 6.0f;           // units a frame
    static constexpr float REACH = 70.0f;          // beyond the target's radius
    static constexpr int32_t DAMAGE = 99999;
    static constexpr int32_t DAMAGE_KIND = 3;      // the hits only the strike deals
    static constexpr uint32_t AFTERMATH_MS = 4000; // from the target's end to the strike's
    static constexpr int PLANE = 11;
    static constexpr int TURRET_PLANE = 12;        // the centre turret rides above the core
    static constexpr uint32_t CORE_FRAME = 2;      // of the station's body sprite
    static constexpr uint32_t SPENT_FRAME = 1;     // the station's body without its core
    static constexpr const char* EXPLOSION_EFFECT = "BossExplosion";

    CStationStrike() = default;
    CStationStrike(const CStationStrike&) = delete;
    CStationStrike& operator=(const CStationStrike&) = delete;

    // Sets off from the station toward the target (a handle); refused while one flies.
    bool Launch(CStation& owner, int32_t target);
    // Each frame from the station's think while active.
    void Update(CStation& owner, uint32_t now);

    bool IsActive() const { return m_active; }
    bool HasStarted() const { return m_started; }
    const CVector2D& GetPosition() const { return m_position; }
    int32_t GetTarget() const { return m_target; }
    uint32_t GetEndTime() const { return m_endTime; }
    const CAnimatedSprite& GetSprite() const { return m_sprite; }

private:
    void End(CStation& owner);

    CAnimatedSprite m_sprite;
    uint32_t m_endTime = 0;
    CVector2D m_position;
    int32_t m_target = -1; // no object
    bool m_active = false;
    bool m_started = false;
};
