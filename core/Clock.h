#pragma once
// The millisecond clock every timer of the program reads, and sleeping.

#include <cstdint>

// Milliseconds from an arbitrary start, wrapping at 2^32 like the system tick count.
uint32_t GetTickMs();
void SleepMs(uint32_t milliseconds);

// Nanoseconds on the same monotonic clock, unaffected by frequency scaling; the
// reference against which the time stamp counter is measured.
uint64_t GetMonotonicNs();
