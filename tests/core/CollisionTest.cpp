#include "core/Collision.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
constexpr float PI = 3.14159265f;
}

TEST(CollideCircles, ContactNormalAndPoint)
{
    CVector2D normal;
    CVector2D point;
    // Just touching: distance 5 = 2 + 3.
    ASSERT_TRUE(CollideCircles(CVector2D(5, 0), 2, CVector2D(0, 0), 3, normal, point));
    EXPECT_NEAR(normal.x, 1.0f, 1e-6f); // from B towards A
    EXPECT_NEAR(normal.y, 0.0f, 1e-6f);
    EXPECT_NEAR(point.x, 3.0f, 1e-5f); // A + n * -0.5 * (2 - 3 + 5)
    EXPECT_NEAR(point.y, 0.0f, 1e-6f);

    // Overlapping along y: the point is the middle of the overlap.
    ASSERT_TRUE(CollideCircles(CVector2D(0, 0), 4, CVector2D(0, 6), 4, normal, point));
    EXPECT_NEAR(normal.y, -1.0f, 1e-6f);
    EXPECT_NEAR(point.y, 3.0f, 1e-5f);

    EXPECT_FALSE(CollideCircles(CVector2D(5.01f, 0), 2, CVector2D(0, 0), 3, normal, point));

    ASSERT_TRUE(CollideCircles(CVector2D(7, 7), 1, CVector2D(7, 7), 1, normal, point));
    EXPECT_EQ(normal.x, 1.0f);
    EXPECT_EQ(normal.y, 0.0f);
    EXPECT_EQ(point.x, 7.0f);
    EXPECT_EQ(point.y, 7.0f);
}

TEST(CollideCircleBox, LocalNormalRules)
{
    struct SCase
    {
        float cx, cy, r;
        bool contact;
        float nx, ny;
    } cases[] = {
        {12.5f, 0, 3, true, 1, 0},    // right side
        {-12.5f, 0, 3, true, -1, 0},  // left side
        {0, 6.5f, 2, true, 0, 1},     // top (half height 5)
        {0, -6.5f, 2, true, 0, -1},   // bottom
        {14, 0, 3, false, 0, 0},      // apart
        {10.5f, 5.5f, 1, true, 0.70710678f, 0.70710678f}, // equal reach into a corner
        {11.5f, 6.5f, 1.5f, false, 0, 0}, // beyond the corner: the centre axis separates
        {0, 0, 10, true, 0, 1},       // contained on both axes: out through the nearer side
        {9, 0, 0.5f, true, 1, 0},     // wholly inside: out through the nearer side
        {0, -4.5f, 0.25f, true, 0, -1},
    };
    for (const SCase& c : cases)
    {
        CVector2D normal(99, 99);
        bool contact = CollideCircleLocalBox(CVector2D(c.cx, c.cy), c.r, 10, 5, normal);
        ASSERT_EQ(contact, c.contact) << c.cx << "," << c.cy;
        if (!contact)
            continue;
        EXPECT_NEAR(normal.x, c.nx, 1e-5f) << c.cx << "," << c.cy;
        EXPECT_NEAR(normal.y, c.ny, 1e-5f) << c.cx << "," << c.cy;
    }
}

TEST(CollideCircleBox, RotatedBoxGivesTheSideNormalInWorldSpace)
{
    // A box rotated by 30 degrees; a circle that touches its +x side.
    const float angle = 30.0f * PI / 180.0f;
    const CVector2D centre(100, 50);
    const CVector2D side(std::cos(angle), std::sin(angle));
    const CVector2D circle = centre + side * 11.0f; // half width 10, radius 2: 1 unit deep
    CVector2D normal;
    CVector2D point;
    ASSERT_TRUE(CollideCircleBox(circle, 2, centre, angle, 10, 5, normal, point));
    EXPECT_NEAR(normal.x, side.x, 1e-5f);
    EXPECT_NEAR(normal.y, side.y, 1e-5f);
    EXPECT_NEAR(point.x, circle.x - 2 * side.x, 1e-4f);
    EXPECT_NEAR(point.y, circle.y - 2 * side.y, 1e-4f);

    // A circle above the rotated top side: apart, then 0.5 deep.
    const CVector2D up(-std::sin(angle), std::cos(angle));
    const CVector2D above = centre + up * 8.0f;
    EXPECT_FALSE(CollideCircleBox(above, 2.5f, centre, angle, 10, 5, normal, point));
    ASSERT_TRUE(CollideCircleBox(above, 3.5f, centre, angle, 10, 5, normal, point));
    EXPECT_NEAR(normal.x, up.x, 1e-5f);
    EXPECT_NEAR(normal.y, up.y, 1e-5f);
}

TEST(CollideBoxes, PointIsTheMeanOfTheClippedPolygon)
{
    CVector2D point;
    // A's corner square [8,12] x [3,7] overlaps B's [-10,10] x [-5,5] in [8,10] x [3,5].
    ASSERT_TRUE(CollideBoxes(CVector2D(10, 5), 0, 2, 2, CVector2D(0, 0), 0, 10, 5, point));
    EXPECT_NEAR(point.x, 9.0f, 1e-4f);
    EXPECT_NEAR(point.y, 4.0f, 1e-4f);

    EXPECT_FALSE(CollideBoxes(CVector2D(30, 0), 0, 2, 2, CVector2D(0, 0), 0, 10, 5, point));

    // A small box wholly inside: its own centre.
    ASSERT_TRUE(CollideBoxes(CVector2D(1, -1), 0.3f, 1, 1, CVector2D(0, 0), 0, 10, 5, point));
    EXPECT_NEAR(point.x, 1.0f, 1e-4f);
    EXPECT_NEAR(point.y, -1.0f, 1e-4f);

    // A diamond whose tip pokes into B's right side from outside.
    ASSERT_TRUE(CollideBoxes(CVector2D(12, 0), PI / 4, 2, 2, CVector2D(0, 0), 0, 10, 5, point));
    EXPECT_GT(point.x, 9.17f);
    EXPECT_LT(point.x, 10.0f);
    EXPECT_NEAR(point.y, 0.0f, 1e-4f);
    // Rotating B by 90 degrees turns its long side: the same A then misses.
    EXPECT_FALSE(CollideBoxes(CVector2D(12, 0), PI / 4, 2, 2, CVector2D(0, 0), PI / 2, 10, 5, point));
}
