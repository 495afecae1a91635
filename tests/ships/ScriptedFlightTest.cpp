// A flight with scripted keys: the ship turns, thrusts, boosts and fires group 1,
// and its place, speed, battery and rounds at chosen ticks are the values the
// rules give, worked out by hand (in 32-bit steps) beside this test:
//
// The design: hull 100, missile launcher 10 (group 1; 5 a second = 0.2 a frame;
// tap 4 a second = every 250 ms, held 2 a second = every 500 ms; 4 rounds), rounds
// pod 10 (6 rounds), generator 15 (30 a second = 1.2 a frame), engine 20 (thrust
// 1000; 20 a second = 0.8 a frame; limit 200 a second = 8 a tick; dampening 0.9,
// rated 200 > mass 165, so the damping is 0.9), battery 10 (100, charging 0.4 a
// frame). Thrust adds 1000 / 165 / 25 = 0.2424 a tick along the heading.
//
// Frame n runs at game time 40 n:
// - frames 0-2 turn right: 3, 6, 9 degrees a tick; let go: 5, 3, 1, 0: heading 27.
// - frames 6-8 thrust: the speed (0.727 at most) stays below 0.99, so the ship does
//   not move; from frame 9 the speed falls by 0.9 a tick.
// - frame 16: thrust again 280 ms after letting go (more than 250): a short press,
//   so boost: 2000 of thrust, 0.8 + 0.4 a frame (all the generator makes), and a
//   limit of 300 a second (12 a tick; the top speed here, 11.98, stays below it).
// - frames 20-35 fire: on the press (800 ms) a tap shot; held after 250 ms, the
//   next at 1320 ms (520 > 500). Each frame the group asks costs 0.2, which the
//   battery pays while thrust and boost take the generator's 1.2.
// - frame 40 lets thrust go: the battery charges 0.4 a frame, the ship drifts.

#include "ships/PlayerShip.h"
#include "tests/ships/ShipFixtures.h"
#include "tests/support/ships/ShipWorldHarness.h"

#include <gtest/gtest.h>

namespace
{
int Key(int action)
{
    return CControls::DEFAULT_KEYS[action];
}

struct SCheckpoint
{
    uint32_t frame;
    float angle;
    float x, y;
    float vx, vy;
    float battery;
    int32_t rounds;
    bool boost;
};

const SCheckpoint CHECKPOINTS[] = {
    {2, 18.0f, 2000.0f, 2000.0f, 0.0f, 0.0f, 100.0f, 10, false},
    {5, 27.0f, 2000.0f, 2000.0f, 0.0f, 0.0f, 100.0f, 10, false},
    {8, 27.0f, 2000.0f, 2000.0f, 0.6480f, 0.3302f, 100.0f, 10, false},
    {15, 27.0f, 2000.0f, 2000.0f, 0.3099f, 0.1579f, 100.0f, 10, false},
    {17, 27.0f, 2001.1740f, 2000.5981f, 1.1739f, 0.5982f, 100.0f, 10, true},
    {20, 27.0f, 2007.2878f, 2003.7133f, 2.4700f, 1.2585f, 99.8f, 9, true},
    {32, 27.0f, 2070.6238f, 2035.9844f, 7.6540f, 3.8999f, 97.4f, 9, true},
    {33, 27.0f, 2078.7097f, 2040.1044f, 8.0860f, 4.1200f, 97.2f, 8, true},
    {39, 27.0f, 2136.2979f, 2069.4468f, 10.6780f, 5.4407f, 96.8f, 8, true},
    {40, 27.0f, 2143.4258f, 2073.0786f, 6.4152f, 3.2687f, 97.2f, 8, false},
    {47, 27.0f, 2176.8943f, 2090.1316f, 3.0684f, 1.5634f, 100.0f, 8, false},
    {49, 27.0f, 2182.7241f, 2093.1021f, 2.4854f, 1.2664f, 100.0f, 8, false},
};
} // namespace

TEST(ScriptedFlight, TraceMatchesTheRulesWorkedOutByHand)
{
    CShipWorldHarness harness(12345);
    ASSERT_TRUE(harness.StartLevel());
    ASSERT_NE(AttachLevelShips(harness.GetGame(),
                               Design("Courier", 1,
                                      {"0, 0|WEAPON_MISSILE|missile_a", "1, 0|GENERATOR|generator_a",
                                       "0, 1|ENGINE|engine_a", "1, 1|BATTERY|battery_a", "5, 5|AMMO_MISSILE|rounds_a"},
                                      {0})),
              nullptr);
    int32_t handle = harness.Spawn(OBJECT_PLAYER_SHIP, 2000.0f, 2000.0f);
    CPlayerShip* ship = harness.FindAs<CPlayerShip>(handle);
    ASSERT_NE(ship, nullptr);
    ASSERT_TRUE(ship->ApplyConfig(1));
    ASSERT_EQ(ship->GetBody().mass, 165);
    CShipRuntime& runtime = *ship->GetRuntime();
    auto& battery = static_cast<CBatteryComponent&>(*runtime.GetInstance(3));

    harness.ScriptKey(0, Key(7), true); // turn right
    harness.ScriptKey(3, Key(7), false);
    harness.ScriptKey(6, Key(4), true); // thrust
    harness.ScriptKey(9, Key(4), false);
    harness.ScriptKey(16, Key(4), true);
    harness.ScriptKey(40, Key(4), false);
    harness.ScriptKey(20, Key(0), true); // fire group 1
    harness.ScriptKey(36, Key(0), false);

    for (const SCheckpoint& check : CHECKPOINTS)
    {
        while (harness.GetFramesRun() <= check.frame)
            harness.RunFrame();
        SCOPED_TRACE("frame " + std::to_string(check.frame));
        const CMotionBody& body = ship->GetBody();
        EXPECT_FLOAT_EQ(body.angle, check.angle);
        EXPECT_NEAR(body.position.x, check.x, 0.002f);
        EXPECT_NEAR(body.position.y, check.y, 0.002f);
        EXPECT_NEAR(body.velocity.x, check.vx, 0.0002f);
        EXPECT_NEAR(body.velocity.y, check.vy, 0.0002f);
        EXPECT_NEAR(battery.m_stored, check.battery, 0.001f);
        EXPECT_EQ(runtime.GetInstance(0)->m_ammo + runtime.GetInstance(4)->m_ammo, check.rounds);
        EXPECT_EQ(runtime.GetControls().boost, check.boost);
    }
    // The two shots: at 800 ms and at 1320 ms.
    EXPECT_EQ(static_cast<CWeaponComponent&>(*runtime.GetInstance(0)).GetLastShotTime(), 1320u);
}
