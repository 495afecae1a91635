#pragma once
// The game clock as sprites, paths and bodies read it: milliseconds that stand still
// while the game is paused. The game installs its clock at start-up; until then, and
// in programs without a game, the clock stands at 0 and nothing animates.

#include <cstdint>

// The game's fixed step: 25 ticks a second, 40 ms each.
constexpr int GAME_TICKS_PER_SECOND = 25;
constexpr uint32_t GAME_TICK_MS = 1000 / GAME_TICKS_PER_SECOND;

class CAnimationClock
{
public:
    virtual ~CAnimationClock() = default;
    virtual uint32_t GetGameTimeMs() const = 0;
};

// Null puts back the clock that stands at 0.
void InstallAnimationClock(const CAnimationClock* clock);
uint32_t GetAnimationTime();

// True once `now` has reached `time` on the wrapping 32-bit clock.
inline bool HasTimeCome(uint32_t now, uint32_t time)
{
    return static_cast<int32_t>(now - time) >= 0;
}
