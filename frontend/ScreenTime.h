#pragma once
// Time as the front end reads it.

#include <cstdint>

// Real time in ms, the clock every screen's gate and timer reads (tests replace it).
uint32_t GetScreenTime();
// Whether the time `now` has reached `when`, by the signed difference, so that a
// clock's wrap (real time after 49 days) changes nothing.
inline bool HasTimeCome(uint32_t now, uint32_t when)
{
    return static_cast<int32_t>(now - when) >= 0;
}
