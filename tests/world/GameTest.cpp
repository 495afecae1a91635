#include "core/Console.h"
#include "tests/support/world/WorldHarness.h"
#include "world/GameCommands.h"
#include "world/ObjectTypes.h"
#include "world/ZoneLink.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(GameTypes, NamesTeamsAndPlanes)
{
    struct SCase
    {
        int32_t type;
        const char* name;
        ETeam team;
        uint8_t plane;
    } cases[] = {
        {0, "NONE", NO_TEAM, 0},
        {1, "DUMB", NO_TEAM, 0},
        {2, "PLAYER_SHIP", GOOD_TEAM, 8},
        {3, "ASTEROID", ASTEROID_TEAM, 5},
        {4, "STATION", GOOD_TEAM, 10},
        {5, "ENEMY_DRONE", BAD_TEAM, 8},
        {7, "ENEMY_MOTHERSHIP", BAD_TEAM, 10},
        {12, "DISC_BOSS", BAD_TEAM, 10},
        {13, "", NO_TEAM, 9},
        {14, "", BAD_TEAM, 10},
        {15, "", NO_TEAM, 0},
        {-1, "", NO_TEAM, 0},
    };
    for (const SCase& c : cases)
    {
        char buffer[32] = "x";
        ObjectTypeName(c.type, buffer, sizeof(buffer));
        EXPECT_STREQ(buffer, c.name) << c.type;
        EXPECT_EQ(GetTeamOfType(c.type), c.team) << c.type;
        EXPECT_EQ(GetDefaultDrawPlane(c.type), c.plane) << c.type;
        if (c.name[0])
        {
            EXPECT_EQ(ObjectTypeFromName(c.name), c.type);
        }
    }
    EXPECT_EQ(ObjectTypeFromName("enemy_drone"), OBJECT_NONE);
    EXPECT_EQ(ObjectTypeFromName("ENEMY_DRONE "), OBJECT_NONE);
    EXPECT_EQ(ObjectTypeFromName(nullptr), OBJECT_NONE);
    char stripped[32];
    StripSpaces(stripped, " ENEMY _ DRONE ");
    EXPECT_STREQ(stripped, "ENEMY_DRONE");
}

TEST(Game, TheClockMovesFortyMillisecondsPerUnpausedFrame)
{
    CWorldHarness harness;
    ASSERT_TRUE(harness.StartLevel());
    CGame& game = harness.GetGame();
    harness.RunFrames(3);
    EXPECT_EQ(game.GetTime(), 120u);
    EXPECT_EQ(game.GetFrameCount(), 3u);

    // Paused or under a text page: clock and counter stand, the frame is still paced.
    uint64_t slept = harness.GetClock().GetSleptMs();
    game.SetPaused(true);
    harness.RunFrame();
    game.SetPaused(false);
    harness.SetTextPageShowing(true);
    harness.RunFrame();
    harness.SetTextPageShowing(false);
    EXPECT_EQ(game.GetTime(), 120u);
    EXPECT_EQ(game.GetFrameCount(), 3u);
    EXPECT_EQ(harness.GetClock().GetSleptMs() - slept, 80u);
}

TEST(Game, EndFrameSleepsTheRestAndNeverAWrappedWait)
{
    CWorldHarness harness;
    CGame& game = harness.GetGame();
    CManualClock& clock = harness.GetClock();
    struct SCase
    {
        uint32_t start;
        uint32_t work;
        uint64_t sleep;
    } cases[] = {
        {1000, 10, 30},
        {1000, 40, 0},
        {1000, 100, 0},          // a late frame: no sleep, and the clock still moves 40
        {0xFFFFFFF0u, 10, 30},   // across the tick count's wrap
        {0xFFFFFFF0u, 100, 0},
    };
    for (const SCase& c : cases)
    {
        clock.Set(c.start);
        uint32_t time = game.GetTime();
        uint64_t slept = clock.GetSleptMs();
        game.BeginFrame();
        clock.Advance(c.work);
        game.EndFrame();
        EXPECT_EQ(clock.GetSleptMs() - slept, c.sleep) << c.start << " + " << c.work;
        EXPECT_EQ(game.GetTime() - time, 40u);
    }
}

TEST(Game, LevelLifeCycle)
{
    CWorldHarness harness;
    CGame& game = harness.GetGame();
    EXPECT_EQ(game.GetState(), GAME_READY);
    game.EndLevel(); // nothing to end
    EXPECT_EQ(game.GetState(), GAME_READY);
    ASSERT_TRUE(harness.StartLevel());
    EXPECT_EQ(game.GetState(), GAME_LEVEL_RUNNING);
    EXPECT_NE(game.GetWorld(), nullptr);
    EXPECT_EQ(game.GetWorldWidth(), 4000.0f);
    int32_t object = harness.Spawn(OBJECT_DUMB, 100, 100);
    game.SetStationHandle(object);
    harness.RunFrame();
    game.EndLevel();
    EXPECT_EQ(game.GetState(), GAME_READY);
    EXPECT_EQ(game.GetWorld(), nullptr);
    EXPECT_EQ(game.GetQuadtree(), nullptr);
    EXPECT_EQ(game.GetPushGrid(), nullptr);
    EXPECT_EQ(game.GetStationHandle(), NO_OBJECT);
    game.Shutdown();
    EXPECT_EQ(game.GetState(), GAME_SHUT_DOWN);
}

TEST(Game, ResetLevelStateClearsTheRun)
{
    CWorldHarness harness;
    ASSERT_TRUE(harness.StartLevel());
    harness.RunFrames(5);
    SRunState& run = harness.GetGame().GetRun();
    run.noDeath = true;
    run.shipLevel = 4;
    run.waveIndex = 3;
    harness.GetGame().ResetLevelState();
    EXPECT_FALSE(run.noDeath);
    EXPECT_EQ(run.shipLevel, 1);
    EXPECT_EQ(run.waveIndex, 0);
    EXPECT_EQ(run.waveStartTime, 200u);
    EXPECT_EQ(run.clockCopy, 200u);
}

namespace
{
class CCountingZones : public CZoneLink
{
public:
    int GetZoneCount() const override { return 4; }
    void SkipToZone(int zone) override { skippedTo = zone; }
    void SetObjectViewing(bool on) override { viewing = on; }
    int skippedTo = -1;
    bool viewing = false;
};
} // namespace

TEST(Game, ConsoleCommands)
{
    CWorldHarness harness;
    ASSERT_TRUE(harness.StartLevel());
    CCountingZones zones;
    harness.GetGame().SetZones(&zones);
    CConsole console;
    RegisterGameCommands(console);
    console.SetOpen(true);

    console.ExecuteLine("/nodeath");
    EXPECT_TRUE(harness.GetGame().GetRun().noDeath);
    console.ExecuteLine("/nodeath");
    EXPECT_FALSE(harness.GetGame().GetRun().noDeath);
    console.ExecuteLine("/nosucking");
    EXPECT_TRUE(harness.GetGame().GetRun().noSuction);

    console.ExecuteLine("/skipzone 2");
    EXPECT_EQ(zones.skippedTo, 2);
    console.ExecuteLine("/skipzone 17");
    EXPECT_EQ(zones.skippedTo, 3) << "beyond the last zone: the last zone";
    zones.skippedTo = -1;
    console.ExecuteLine("/skipzone x");
    EXPECT_EQ(zones.skippedTo, -1);

    console.ExecuteLine("/showobject DUMB");
    EXPECT_TRUE(zones.viewing);
    CGameObject* shown = harness.GetWorld().GetObject(harness.GetGame().GetCamera().GetFollowed());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->GetType(), OBJECT_DUMB);
    EXPECT_GE(shown->GetPosition().x, 1800);
    EXPECT_LT(shown->GetPosition().x, 1850);
    EXPECT_GE(shown->GetPosition().y, 800);
    EXPECT_LT(shown->GetPosition().y, 850);
    console.ExecuteLine("/showobject");
    EXPECT_FALSE(zones.viewing);
    harness.GetGame().SetZones(nullptr);
}
