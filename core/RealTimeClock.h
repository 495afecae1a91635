#pragma once
// Real time, where the game needs it: pacing frames, the controls' lockout after
// a flush, and seeding the random generator. The simulation itself never reads it
// (it runs on the game clock), so a run replays exactly. Tests install a fake.

#include <cstdint>

class CRealTimeClock
{
public:
    virtual ~CRealTimeClock() = default;
    // Milliseconds from an arbitrary start, wrapping at 2^32.
    virtual uint32_t GetMs() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
};

// The clock in use: the system's unless another was installed.
CRealTimeClock& GetRealTimeClock();
// Installs a clock (null: the system's again). The caller keeps it alive while installed.
void SetRealTimeClock(CRealTimeClock* clock);

// A clock that moves only when told to; sleeping moves it too.
class CManualClock : public CRealTimeClock
{
public:
    uint32_t GetMs() override { return m_now; }
    void Sleep(uint32_t milliseconds) override
    {
        m_slept += milliseconds;
        m_now += milliseconds;
    }
    void Advance(uint32_t milliseconds) { m_now += milliseconds; }
    void Set(uint32_t now) { m_now = now; }
    // Everything slept so far.
    uint64_t GetSleptMs() const { return m_slept; }

private:
    uint32_t m_now = 0;
    uint64_t m_slept = 0;
};
