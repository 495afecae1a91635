#include "world/GalaxyMapRules.h"
#include "world/ZoneNode.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

TEST(GalaxyMapRules, ZoneReachGrowsFiveUnitsAZone)
{
    struct SCase
    {
        int32_t zone;
        float distance;
        bool inReach;
    };
    const SCase cases[] = {
        {0, 50.0f, true}, {0, 51.0f, false}, {0, 50.01f, false}, {1, 55.0f, true},
        {2, 59.9f, true}, {4, 70.0f, true},  {4, 70.5f, false},
    };
    for (const SCase& c : cases)
    {
        // Along a diagonal too, where the distance is not one coordinate.
        const CVector2D from(100.0f, 100.0f);
        const float side = c.distance / 1.41421356f;
        EXPECT_EQ(IsWithinReach(from, CVector2D(100.0f + c.distance, 100.0f), GetZoneReach(c.zone)), c.inReach)
            << "zone " << c.zone << " at " << c.distance;
        if (c.distance != GetZoneReach(c.zone)) // the exact end only on an axis
        {
            EXPECT_EQ(IsWithinReach(from, CVector2D(100.0f - side, 100.0f + side), GetZoneReach(c.zone)), c.inReach)
                << "zone " << c.zone << " diagonally at " << c.distance;
        }
    }
}

TEST(GalaxyMapRules, ViewsPlaceNodesByTheirZoneOffsets)
{
    const CVector2D node(120.0f, 60.0f);
    const CVector2D zoneView = GetZoneViewPosition(node, CVector2D(40.0f, 30.0f));
    EXPECT_FLOAT_EQ(zoneView.x, 160.0f);
    EXPECT_FLOAT_EQ(zoneView.y, 90.0f);
    const CVector2D galaxyView = GetGalaxyViewPosition(node, CVector2D(300.0f, 200.0f));
    EXPECT_FLOAT_EQ(galaxyView.x, 360.0f);
    EXPECT_FLOAT_EQ(galaxyView.y, 230.0f);
}

TEST(GalaxyMapRules, IconFramesByNodeKind)
{
    const std::pair<int32_t, int> cases[] = {
        {ZONE_NODE_NORMAL, 1}, {ZONE_NODE_TRANSFER, 2}, {ZONE_NODE_DANGER, 6}, {ZONE_NODE_DANGER_1, 6},
        {ZONE_NODE_DANGER_2, 6}, {ZONE_NODE_BOSS, 5},   {ZONE_NODE_ALIEN_1, 7}, {ZONE_NODE_ALIEN_2, 7},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetNodeIconFrame(c.first), c.second) << "kind " << c.first;
}

TEST(GalaxyMapRules, ZonesOpenByTheBossesBeaten)
{
    struct SCase
    {
        bool beaten[MAP_MAX_ZONES];
        bool open[MAP_MAX_ZONES];
    };
    const SCase cases[] = {
        {{false, false, false, false, false}, {true, false, false, false, false}},
        {{true, false, false, false, false}, {true, true, true, false, false}},
        // Zone 3 needs zone 1's boss or zone 2's; zone 1 and 2 need zone 0's whatever else.
        {{false, true, false, false, false}, {true, false, false, true, false}},
        {{true, false, true, false, false}, {true, true, true, true, false}},
        // Zone 4 needs all of zones 1, 2 and 3.
        {{true, true, true, false, false}, {true, true, true, true, false}},
        {{true, true, false, true, false}, {true, true, true, true, false}},
        {{true, true, true, true, false}, {true, true, true, true, true}},
    };
    for (const SCase& c : cases)
        for (int32_t zone = 0; zone < MAP_MAX_ZONES; ++zone)
            EXPECT_EQ(IsZoneUnlocked(zone, c.beaten), c.open[zone]) << "zone " << zone;
    const bool all[MAP_MAX_ZONES] = {true, true, true, true, true};
    EXPECT_FALSE(IsZoneUnlocked(5, all));
    EXPECT_FALSE(IsZoneUnlocked(-1, all));
}

TEST(GalaxyMapRules, TargetsOfOtherZonesCarryTheZone)
{
    EXPECT_EQ(EncodeZoneTarget(0, 5), 256 + 5);
    EXPECT_EQ(EncodeZoneTarget(3, 17), 4 * 256 + 17);
    int32_t zone = -9, node = -9;
    DecodeTarget(4 * 256 + 17, 1, zone, node);
    EXPECT_EQ(zone, 3);
    EXPECT_EQ(node, 17);
    DecodeTarget(12, 2, zone, node);
    EXPECT_EQ(zone, 2);
    EXPECT_EQ(node, 12);
}

TEST(GalaxyMapRules, GroupIconScaleFollowsMassWithinItsBounds)
{
    const std::pair<float, float> cases[] = {
        {0.0f, 0.5f}, {15.0f, 0.5f}, {30.0f, 0.6f}, {90.0f, 1.0f}, {165.0f, 1.5f}, {1000.0f, 1.5f},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(GetGroupIconScale(c.first), c.second, 1e-5f) << "mass " << c.first;
}

TEST(GalaxyMapRules, AClickChoosesTheFirstNodeNearerThanEightUnits)
{
    const std::vector<SMapCandidate> candidates = {{3, {100.0f, 100.0f}}, {7, {104.0f, 100.0f}}};
    EXPECT_EQ(FindClickedTarget(CVector2D(92.0f, 100.0f), candidates), MAP_NO_TARGET);  // 8 from node 3
    EXPECT_EQ(FindClickedTarget(CVector2D(92.1f, 100.0f), candidates), 3);              // 7.9
    EXPECT_EQ(FindClickedTarget(CVector2D(102.0f, 100.0f), candidates), 3);             // both near: first
    EXPECT_EQ(FindClickedTarget(CVector2D(111.9f, 100.0f), candidates), 7);             // 7.9 from node 7
    EXPECT_EQ(FindClickedTarget(CVector2D(104.0f, 108.0f), candidates), MAP_NO_TARGET); // 8 below node 7
}

TEST(GalaxyMapRules, DirectionChoosesTheNearerOfTheCandidatesWithinNinetyDegrees)
{
    const CVector2D from(100.0f, 100.0f);
    const std::vector<SMapCandidate> candidates = {
        {1, {100.0f, 100.0f}}, // the origin itself has no direction
        {2, {140.0f, 100.0f}}, // right, 40 away
        {3, {120.0f, 110.0f}}, // right and down, about 22 away at 26.6 degrees
        {4, {100.0f, 130.0f}}, // straight down: exactly 90 degrees from right
        {5, {60.0f, 100.0f}},  // left
        {6, {100.0f, 60.0f}},  // up
    };
    // Right: node 2 straight along comes first; node 3 is nearer but at a wider angle.
    EXPECT_EQ(ChooseByDirection(from, MAP_RIGHT, candidates), 2);
    EXPECT_EQ(ChooseByDirection(from, MAP_LEFT, candidates), 5);
    EXPECT_EQ(ChooseByDirection(from, MAP_UP, candidates), 6);
    EXPECT_EQ(ChooseByDirection(from, MAP_DOWN, candidates), 3);
    // Only a node exactly across the direction: refused.
    EXPECT_EQ(ChooseByDirection(from, MAP_RIGHT, {{4, {100.0f, 130.0f}}}), MAP_NO_TARGET);
    // The choice needs both a smaller angle and a smaller distance than the one before:
    // a nearer node at a wider angle that comes later does not replace a straight one.
    const std::vector<SMapCandidate> order = {{8, {150.0f, 100.0f}}, {9, {110.0f, 108.0f}}};
    EXPECT_EQ(ChooseByDirection(from, MAP_RIGHT, order), 8);
    const std::vector<SMapCandidate> reversed = {{9, {110.0f, 108.0f}}, {8, {150.0f, 100.0f}}};
    EXPECT_EQ(ChooseByDirection(from, MAP_RIGHT, reversed), 9);
}

TEST(GalaxyMapRules, TheMarkerSpeedsUpWithTheTimeSinceTheJumpBegan)
{
    CVector2D marker(0.0f, 0.0f);
    const CVector2D goal(0.0f, 10.0f);
    // 0.025 units per ms since the start: 1 unit after 40 ms, 2 after 80, 3 after 120.
    EXPECT_FALSE(StepMarker(marker, goal, 40));
    EXPECT_FLOAT_EQ(marker.y, 1.0f);
    EXPECT_FALSE(StepMarker(marker, goal, 80));
    EXPECT_FLOAT_EQ(marker.y, 3.0f);
    EXPECT_FALSE(StepMarker(marker, goal, 120));
    EXPECT_FLOAT_EQ(marker.y, 6.0f);
    EXPECT_TRUE(StepMarker(marker, goal, 160));
    EXPECT_FLOAT_EQ(marker.y, 10.0f);
    // Already there: arrived without moving.
    EXPECT_TRUE(StepMarker(marker, goal, 0));
}

TEST(GalaxyMapRules, ExploredShareInWholePercent)
{
    EXPECT_EQ(GetExploredPercent(1, 3), 33);
    EXPECT_EQ(GetExploredPercent(19, 19), 100);
    EXPECT_EQ(GetExploredPercent(0, 0), 0);
}
