#include "core/Clock.h"

#include <cerrno>
#include <ctime>

uint32_t GetTickMs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

void SleepMs(uint32_t milliseconds)
{
    timespec rest {static_cast<time_t>(milliseconds / 1000u), static_cast<long>(milliseconds % 1000u) * 1000000L};
    while (nanosleep(&rest, &rest) != 0 && errno == EINTR)
    {
    }
}
