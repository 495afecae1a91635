#include "core/Random.h"
#include "tests/world/TestObjects.h"
#include "world/PushGrid.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
std::unique_ptr<CBallObject> Ball(float x, float y, int32_t mass)
{
    auto ball = std::make_unique<CBallObject>();
    ball->SetBall(8, mass);
    ball->SetPosition(CVector2D(x, y));
    return ball;
}

bool AllZero(const CPushGrid& grid)
{
    for (int32_t y = 0; y < grid.GetCellsPerSide(); ++y)
        for (int32_t x = 0; x < grid.GetCellsPerSide(); ++x)
        {
            int32_t px = 0, py = 0;
            grid.GetCell(x, y, px, py);
            if (px || py)
                return false;
        }
    return true;
}

void ExpectCell(const CPushGrid& grid, int32_t x, int32_t y, int32_t px, int32_t py)
{
    int32_t gotX = 0, gotY = 0;
    grid.GetCell(x, y, gotX, gotY);
    EXPECT_EQ(gotX, px) << "cell " << x << "," << y;
    EXPECT_EQ(gotY, py) << "cell " << x << "," << y;
}
} // namespace

TEST(PushGrid, RingsSpreadAFadingPushAwayFromTheObject)
{
    CPushGrid grid;
    grid.Init(320); // 10 cells a side
    ASSERT_EQ(grid.GetCellsPerSide(), 10);
    auto ball = Ball(80, 80, 10); // cell (2, 2)
    grid.AddPush(*ball, 16, 16, false);
    EXPECT_FALSE(ball->GetInfo().pushPending);

    // Ring 1 (weight 10): the top and bottom rows run x = 1..2, the side columns
    // y = 1..2, so (1, 1) is touched twice and (3, 3) not at all; each touch adds the
    // unit vector from the centre times 100, truncated.
    ExpectCell(grid, 2, 1, 0, -100);
    ExpectCell(grid, 1, 1, -140, -140);
    ExpectCell(grid, 3, 2, 100, 0);
    ExpectCell(grid, 1, 2, -100, 0);
    ExpectCell(grid, 2, 3, 0, 100);
    ExpectCell(grid, 1, 3, -70, 70);
    ExpectCell(grid, 3, 1, 70, -70);
    ExpectCell(grid, 3, 3, 0, 0);
    ExpectCell(grid, 2, 2, 0, 0); // the centre gets nothing
    // Ring 2 (weight 6), ring 3 (weight 3), ring 4 (weight 1), then 0 ends it.
    ExpectCell(grid, 2, 0, 0, -60);
    ExpectCell(grid, 5, 2, 30, 0);
    ExpectCell(grid, 6, 2, 10, 0);
    ExpectCell(grid, 7, 2, 0, 0);
    EXPECT_EQ(grid.GetPush(CVector2D(80, 40)).y, -10.0f);
    EXPECT_EQ(grid.GetPush(CVector2D(-40, 40)).x, 0.0f); // outside the grid
}

TEST(PushGrid, HalfSizesKeepTheFullWeightFurtherOut)
{
    CPushGrid grid;
    grid.Init(640);
    auto ball = Ball(320, 320, 10); // cell (10, 10)
    grid.AddPush(*ball, 100, 100, false); // 3.1 cells: rings 1 and 2 keep weight 10
    ExpectCell(grid, 10, 9, 0, -100);
    ExpectCell(grid, 10, 8, 0, -100);
    ExpectCell(grid, 10, 7, 0, -60);
}

TEST(PushGrid, AMassOfZeroTouchesOnlyTheFirstRingWithNothing)
{
    CPushGrid grid;
    grid.Init(320);
    auto ball = Ball(80, 80, 0);
    grid.AddPush(*ball, 16, 16, false);
    EXPECT_TRUE(AllZero(grid));
    auto negative = Ball(80, 80, -5); // would never fade: taken as 0
    grid.AddPush(*negative, 16, 16, false);
    EXPECT_TRUE(AllZero(grid));
}

TEST(PushGrid, CellsPastAnEdgeDoNotWrapIntoTheNextRow)
{
    CPushGrid grid;
    grid.Init(320);
    auto ball = Ball(10, 170, 10); // cell (0, 5)
    grid.AddPush(*ball, 16, 16, false);
    ExpectCell(grid, 9, 4, 0, 0);
    ExpectCell(grid, 9, 5, 0, 0);
    ExpectCell(grid, 1, 5, 100, 0);
}

TEST(PushGrid, AddingThenRemovingLeavesEveryCellAsBefore)
{
    CPushGrid grid;
    grid.Init(1024);
    CRandom random(11);
    std::vector<std::unique_ptr<CBallObject>> balls;
    for (int i = 0; i < 40; ++i)
    {
        balls.push_back(Ball(static_cast<float>(random.Between(-50, 1074)),
                             static_cast<float>(random.Between(-50, 1074)), random.Between(0, 300)));
        grid.AddPush(*balls.back(), static_cast<float>(random.Between(8, 200)), 40, false);
    }
    // They move about, change weight, and their pushes follow.
    for (int step = 0; step < 20; ++step)
        for (auto& ball : balls)
        {
            ball->SetPosition(ball->GetPosition() +
                              CVector2D(static_cast<float>(random.Between(-60, 61)),
                                        static_cast<float>(random.Between(-60, 61))));
            ball->GetBody().mass = random.Between(0, 300);
            grid.AddPush(*ball, 2.0f * ball->GetBody().radius, 2.0f * ball->GetBody().radius, false);
        }
    EXPECT_FALSE(AllZero(grid));
    for (auto& ball : balls)
    {
        grid.AddPush(*ball, 16, 16, true);
        EXPECT_TRUE(ball->GetInfo().pushPending);
    }
    EXPECT_TRUE(AllZero(grid));
    // A second withdrawal takes nothing more away.
    grid.AddPush(*balls[0], 16, 16, true);
    EXPECT_TRUE(AllZero(grid));
}
