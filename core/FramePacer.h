#pragma once
// The game's fixed step: 25 ticks a second. Each unpaused frame advances the game
// clock by exactly 40 ms; the end of a frame sleeps away what is left of its 40 ms.
// A late frame neither sleeps nor is caught up, so the game slows down instead of
// skipping.

#include <cstdint>

class CFramePacer
{
public:
    static constexpr uint32_t TICKS_PER_SECOND = 25;
    static constexpr uint32_t STEP_MS = 1000 / TICKS_PER_SECOND;

    // Notes the frame's start time.
    void BeginFrame(uint32_t nowMs) { m_frameStartMs = nowMs; }

    // Advances the clock unless paused; gives how long to sleep (0 when late).
    // The remaining time is computed signed so the tick count's wrap does no harm.
    uint32_t EndFrame(uint32_t nowMs, bool paused)
    {
        if (!paused)
        {
            ++m_frameCount;
            m_gameTimeMs += STEP_MS;
        }
        int32_t remaining = static_cast<int32_t>(m_frameStartMs + STEP_MS - nowMs);
        return remaining > 0 ? static_cast<uint32_t>(remaining) : 0u;
    }

    uint32_t GetGameTimeMs() const { return m_gameTimeMs; }
    uint32_t GetFrameCount() const { return m_frameCount; }
    void Reset() { m_gameTimeMs = 0; m_frameCount = 0; }

private:
    uint32_t m_frameStartMs = 0;
    uint32_t m_gameTimeMs = 0;
    uint32_t m_frameCount = 0;
};
