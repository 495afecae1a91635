#pragma once
// The millisecond clock every timer of the program reads, and sleeping.

#include <cstdint>

// Milliseconds from an arbitrary start, wrapping at 2^32 like the system tick count.
uint32_t GetTickMs();
void SleepMs(uint32_t milliseconds);
