#include "presentation/AnimationClock.h"

namespace
{
class CStoppedClock : public CAnimationClock
{
public:
    uint32_t GetGameTimeMs() const override { return 0; }
};

const CStoppedClock s_stoppedClock;
const CAnimationClock* s_clock = &s_stoppedClock;
} // namespace

void InstallAnimationClock(const CAnimationClock* clock)
{
    s_clock = clock ? clock : &s_stoppedClock;
}

uint32_t GetAnimationTime()
{
    return s_clock->GetGameTimeMs();
}
