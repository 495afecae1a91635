#include "core/FramePacer.h"

#include <gtest/gtest.h>

TEST(FramePacer, AdvancesFortyMillisecondsAndSleepsTheRest)
{
    CFramePacer pacer;
    pacer.BeginFrame(1000);
    EXPECT_EQ(pacer.EndFrame(1010, false), 30u); // a 10 ms frame sleeps 30 ms
    EXPECT_EQ(pacer.GetGameTimeMs(), 40u);

    pacer.BeginFrame(2000);
    EXPECT_EQ(pacer.EndFrame(2100, false), 0u); // a 100 ms frame is not caught up
    EXPECT_EQ(pacer.GetGameTimeMs(), 80u);
    EXPECT_EQ(pacer.GetFrameCount(), 2u);

    pacer.BeginFrame(3000);
    EXPECT_EQ(pacer.EndFrame(3040, true), 0u); // a paused frame adds nothing
    EXPECT_EQ(pacer.GetGameTimeMs(), 80u);
    EXPECT_EQ(pacer.GetFrameCount(), 2u);
}

TEST(FramePacer, TickCountWrapGivesNoHugeSleep)
{
    CFramePacer pacer;
    pacer.BeginFrame(0xFFFFFFF0u);
    EXPECT_EQ(pacer.EndFrame(0x00000005u, false), 19u); // 21 ms elapsed across the wrap
    pacer.BeginFrame(0xFFFFFFF0u);
    EXPECT_EQ(pacer.EndFrame(0x00000100u, false), 0u);
}
