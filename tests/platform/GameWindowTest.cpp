#include "platform/GameWindow.h"

#include <gtest/gtest.h>

TEST(GameWindow, LetterboxKeepsTheAspectAndCentres)
{
    struct
    {
        int windowW, windowH, bufferW, bufferH;
        SLetterbox expected;
    } cases[] = {
        {800, 600, 800, 600, {0, 0, 800, 600}},       // a window of the buffer's size
        {1920, 1080, 800, 600, {240, 0, 1440, 1080}}, // wide desktop: bars left and right
        {1280, 1024, 640, 480, {0, 32, 1280, 960}},   // tall desktop: bars above and below
        {0, 600, 800, 600, {0, 0, 0, 0}},             // nothing to show into
    };
    for (const auto& c : cases)
    {
        SLetterbox box = ComputeLetterbox(c.windowW, c.windowH, c.bufferW, c.bufferH);
        EXPECT_EQ(box.x, c.expected.x) << c.windowW << "x" << c.windowH;
        EXPECT_EQ(box.y, c.expected.y);
        EXPECT_EQ(box.width, c.expected.width);
        EXPECT_EQ(box.height, c.expected.height);
    }
}

TEST(GameWindow, PumpWithoutAWindowIsIdle)
{
    EXPECT_EQ(PumpWindowMessage(), EPumpResult::Idle);
}
