#include "core/RealTimeClock.h"

#include "core/Clock.h"

namespace
{
class CSystemClock : public CRealTimeClock
{
public:
    uint32_t GetMs() override { return GetTickMs(); }
    void Sleep(uint32_t milliseconds) override { SleepMs(milliseconds); }
};

CSystemClock s_systemClock;
CRealTimeClock* s_clock = &s_systemClock;
} // namespace

CRealTimeClock& GetRealTimeClock()
{
    return *s_clock;
}

void SetRealTimeClock(CRealTimeClock* clock)
{
    s_clock = clock ? clock : &s_systemClock;
}
