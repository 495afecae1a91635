#include "core/Clock.h"

#include <cerrno>
#include <ctime>

uint64_t GetMonotonicNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint64_t>(now.tv_sec) * 1000000000u + static_cast<uint64_t>(now.tv_nsec);
}

uint32_t GetTickMs()
{
    return static_cast<uint32_t>(GetMonotonicNs() / 1000000u);
}

void SleepMs(uint32_t milliseconds)
{
    timespec rest {static_cast<time_t>(milliseconds / 1000u), static_cast<long>(milliseconds % 1000u) * 1000000L};
    while (nanosleep(&rest, &rest) != 0 && errno == EINTR)
    {
    }
}
