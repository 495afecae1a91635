#include "tests/support/world/WorldHarness.h"
#include "tests/world/TestObjects.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(MotionBody, OneTickOfMotion)
{
    struct SCase
    {
        const char* what;
        float x, vx, fx;
        int32_t mass, limit;
        float damping, radius;
        float wantX, wantVx;
        uint8_t wantMoving;
    } cases[] = {
        {"slow bodies keep their place and speed", 500, 0.5f, 0, 10, 500, 1, 5, 500, 0.5f, 1},
        {"the limit caps the step", 500, 10, 0, 10, 125, 1, 5, 505, 5, 1},
        {"force over mass over ticks", 500, 0, 250, 5, 500, 0.5f, 5, 502, 2, 1},
        {"damping only without force", 500, 2, 0, 5, 500, 0.5f, 5, 502, 1, 1},
        {"a massless body counts as 1", 500, 0, 25, 0, 500, 1, 5, 501, 1, 1},
        {"at rest below 0.1", 500, 0.05f, 0, 5, 500, 1, 5, 500, 0, 0},
        {"bounce off the left edge", 3, -3, 0, 5, 500, 1, 3, 1, 3, 1},
        {"bounce off the right edge", 998, 1.5f, 0, 5, 500, 1, 5, 998.5f, -1.5f, 1},
    };
    for (const SCase& c : cases)
    {
        CMotionBody body;
        body.position = CVector2D(c.x, 500);
        body.velocity = CVector2D(c.vx, 0);
        body.force = CVector2D(c.fx, 0);
        body.mass = c.mass;
        body.velocityLimit = c.limit;
        body.damping = c.damping;
        body.radius = c.radius;
        body.angle = 90;
        body.Integrate(1000);
        EXPECT_NEAR(body.position.x, c.wantX, 1e-4f) << c.what;
        EXPECT_NEAR(body.velocity.x, c.wantVx, 1e-4f) << c.what;
        EXPECT_EQ(body.moving, c.wantMoving) << c.what;
        EXPECT_EQ(body.previousPosition.x, c.x) << c.what;
        EXPECT_EQ(body.force.x, 0.0f) << c.what;
        EXPECT_NEAR(body.heading.y, 1.0f, 1e-5f) << c.what;
    }
}

namespace
{
struct SPair
{
    SPair(int32_t massA, int32_t massB)
    {
        a.SetBall(5, massA);
        b.SetBall(5, massB);
    }
    void Place(float ax, float aPrev, float avx, float bx, float bPrev, float bvx)
    {
        a.SetPosition(CVector2D(ax, 0));
        a.GetBody().previousPosition = CVector2D(aPrev, 0);
        a.GetBody().velocity = CVector2D(avx, 0);
        b.SetPosition(CVector2D(bx, 0));
        b.GetBody().previousPosition = CVector2D(bPrev, 0);
        b.GetBody().velocity = CVector2D(bvx, 0);
        a.PlaceShape();
        b.PlaceShape();
    }
    CBallObject a;
    CBallObject b;
};
} // namespace

TEST(BounceObjects, HeadOnImpulsesDamageAndTheLastFreePlace)
{
    // Masses 5 and 20 at 3.1 and 3 units a tick towards each other: P = 15.5 goes to
    // b, Q = 60 to a; a leaves at 60 / 5 * 0.95 backwards, b at 15.5 / 20 * 0.95
    // forwards; the impulse 75.5 gives damage 75 / 5 and 75 / 20.
    SPair pair(5, 20);
    pair.Place(0, -4, 3.1f, 9.8f, 13.8f, -3);
    BounceObjects(pair.a, pair.b);
    EXPECT_NEAR(pair.a.GetBody().velocity.x, -11.4f, 1e-4f);
    EXPECT_NEAR(pair.b.GetBody().velocity.x, 0.73625f, 1e-4f);
    EXPECT_EQ(pair.a.m_damageTaken, 15);
    EXPECT_EQ(pair.b.m_damageTaken, 3);
    // Back from the overlap: halfway free, three quarters free, seven eighths free.
    EXPECT_NEAR(pair.a.GetPosition().x, -0.5f, 1e-4f);
    EXPECT_NEAR(pair.b.GetPosition().x, 10.3f, 1e-4f);
    EXPECT_NEAR(pair.a.GetBody().shape->GetWorldPosition().x, -0.5f, 1e-4f);
}

TEST(BounceObjects, APlayerShipWeighsAtMostTen)
{
    SPair heavy(40, 20);
    heavy.a.GetInfo().type = OBJECT_PLAYER_SHIP;
    heavy.Place(0, -4, 3, 9.8f, 13.8f, -3);
    BounceObjects(heavy.a, heavy.b);
    SPair light(10, 20);
    light.Place(0, -4, 3, 9.8f, 13.8f, -3);
    BounceObjects(light.a, light.b);
    EXPECT_EQ(heavy.a.GetBody().velocity.x, light.a.GetBody().velocity.x);
    EXPECT_EQ(heavy.b.GetBody().velocity.x, light.b.GetBody().velocity.x);
    EXPECT_EQ(heavy.a.m_damageTaken, light.a.m_damageTaken);
}

TEST(BounceObjects, StillOverlappingTheyArePushedApart)
{
    // Resting on top of each other: no impulse, damage 1 each, and since every trial
    // place overlaps they end 2 units back each along the centre line, moving apart.
    SPair pair(5, 5);
    pair.Place(0, 0, 0, 4, 4, 0);
    BounceObjects(pair.a, pair.b);
    EXPECT_EQ(pair.a.m_damageTaken, 1);
    EXPECT_EQ(pair.b.m_damageTaken, 1);
    EXPECT_NEAR(pair.a.GetPosition().x, -2, 1e-5f);
    EXPECT_NEAR(pair.b.GetPosition().x, 6, 1e-5f);
    EXPECT_NEAR(pair.a.GetBody().velocity.x, -2, 1e-5f);
    EXPECT_NEAR(pair.b.GetBody().velocity.x, 2, 1e-5f);

    // Exactly on top of each other: any line will do, but a finite one.
    SPair same(5, 5);
    same.Place(0, 0, 0, 0, 0, 0);
    BounceObjects(same.a, same.b);
    EXPECT_TRUE(std::isfinite(same.a.GetPosition().x));
    EXPECT_NEAR(same.b.GetPosition().x - same.a.GetPosition().x, 4, 1e-5f);
}

TEST(BounceObjects, AdditiveBounceAddsTheDirection)
{
    SPair pair(5, 20);
    pair.a.GetBody().additiveBounce = 1;
    pair.Place(0, -4, 3.1f, 9.8f, 13.8f, -3);
    BounceObjects(pair.a, pair.b);
    EXPECT_NEAR(pair.a.GetBody().velocity.x, 2.1f, 1e-5f); // 3.1 + (-1)
}

TEST(BounceObjects, NothingHappensUnderTheInGameMenu)
{
    CWorldHarness harness;
    harness.SetMode(GAME_MODE_IN_GAME_MENU);
    SPair pair(5, 20);
    pair.Place(0, -4, 3, 9.8f, 13.8f, -3);
    BounceObjects(pair.a, pair.b);
    EXPECT_EQ(pair.a.GetBody().velocity.x, 3);
    EXPECT_EQ(pair.a.GetPosition().x, 0);
    EXPECT_EQ(pair.a.m_damageTaken, 0);
}
