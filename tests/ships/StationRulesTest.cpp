#include "ships/StationRules.h"

#include "world/ObjectTypes.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace
{
TEST(StationRulesTest, NewGameHealthGrowsHalfABodyAZone)
{
    EXPECT_EQ(GetNewGameStationHealth(1000, 0), 1000);
    EXPECT_EQ(GetNewGameStationHealth(1000, 2), 2000);
    EXPECT_EQ(GetNewGameStationHealth(1001, 1), 1501); // 1001 + trunc(500.5)
    EXPECT_EQ(GetNewGameStationHealth(999, 4), 2997);
}

TEST(StationRulesTest, HitsAreHalvedOrMultipliedBySource)
{
    struct SCase
    {
        SStationHit hit;
        int32_t damage;
    };
    auto hit = [](int32_t amount, bool halve, int32_t source, bool special = false, bool crusher = false) {
        SStationHit h;
        h.amount = amount;
        h.halve = halve;
        h.sourceType = source;
        h.magmaSpecialPart = special;
        h.crusher = crusher;
        return h;
    };
    const SCase cases[] = {
        {hit(1, true, OBJECT_ENEMY_FIGHTER), 1},             // 1 + trunc(0.5)
        {hit(0, true, OBJECT_ENEMY_FIGHTER), 1},             // halving rounds 0 up
        {hit(7, true, OBJECT_MOUNTED_PART), 4},              // halving wins over the part
        {hit(7, false, OBJECT_MOUNTED_PART), 140},
        {hit(7, false, OBJECT_MAGMA_BOSS, true), 350},
        {hit(7, false, OBJECT_MAGMA_BOSS, false), 7},
        {hit(7, false, OBJECT_ENEMY_MOTHERSHIP, false, true), 14},
        {hit(7, false, OBJECT_ENEMY_MOTHERSHIP), 7},
        {hit(7, false, OBJECT_ASTEROID), 7},
        {hit(2000000000, false, OBJECT_MOUNTED_PART), INT32_MAX},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(GetStationDamage(c.hit), c.damage) << c.hit.amount << " from " << c.hit.sourceType;
}

TEST(StationRulesTest, RepairIsDueBelowAFifth)
{
    EXPECT_EQ(GetEmergencyRepairCost(190, 1000), 1);  // trunc(10 x 0.1)
    EXPECT_EQ(GetEmergencyRepairCost(199, 1000), 1);  // at least 1
    EXPECT_EQ(GetEmergencyRepairCost(100, 1000), 10);
    EXPECT_EQ(GetEmergencyRepairCost(200, 1000), 0);
    EXPECT_EQ(GetEmergencyRepairCost(0, 0), 0) << "no maximum, no division";
    EXPECT_EQ(GetEmergencyRepairCost(-5, -1), 0);
}

TEST(StationRulesTest, UnloadingPaceAndSurplus)
{
    EXPECT_EQ(GetUnloadInterval(30), 66u);
    EXPECT_EQ(GetUnloadInterval(25), 80u);
    EXPECT_EQ(GetUnloadInterval(24), 80u);
    EXPECT_EQ(GetUnloadInterval(1), 80u);
    EXPECT_EQ(GetUnloadInterval(5000), 1u) << "never 0";
    EXPECT_EQ(GetGemSurplus(1), 2);
    EXPECT_EQ(GetGemSurplus(2), 4);
    EXPECT_EQ(GetGemSurplus(3), 6);
    EXPECT_TRUE(DoesStockTakeGem(99));
    EXPECT_FALSE(DoesStockTakeGem(100));
}

TEST(StationRulesTest, TheFirstAlienNodeCallsFromItsFirstChatUntilItsBusinessIsDone)
{
    struct SCase
    {
        int zone;
        bool firstChat;
        bool laterChat;
        bool reward;
        bool calls;
    };
    const SCase cases[] = {
        {0, false, false, false, false}, // the alien has not spoken yet
        {0, true, false, false, true},
        {0, true, false, true, true},    // aliens brought in, the thanks not yet shown
        {0, true, true, false, true},    // a later chat alone is not the business
        {0, true, true, true, false},
        {2, false, false, true, false},
        {2, true, false, true, true},
        {2, true, true, true, false},
        {3, true, true, false, true},
        {4, true, false, false, false},  // the last zone's one chat is its business
        {4, false, false, false, false},
        {5, true, false, false, false},  // no such zone
        {-1, true, false, false, false},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(IsAlienNodeCalling(c.zone, c.firstChat, c.laterChat, c.reward), c.calls)
            << c.zone << " " << c.firstChat << c.laterChat << c.reward;
}

TEST(StationRulesTest, KeepClearAndDockScores)
{
    EXPECT_FLOAT_EQ(GetEdgeTerm(250.0f), 1.0f - 250.0f / 300.0f);
    EXPECT_FLOAT_EQ(GetEdgeTerm(300.0f), 0.0f);
    EXPECT_FLOAT_EQ(GetEdgeTerm(0.0f), 1.0f);
    EXPECT_FLOAT_EQ(GetCrowdTerm(3), 0.0f);
    EXPECT_FLOAT_EQ(GetCrowdTerm(4), 0.25f);
    EXPECT_FLOAT_EQ(GetCrowdTerm(6), 0.5f);
    struct SCase
    {
        float distance, score;
    };
    const SCase cases[] = {{0.0f, 1.0f}, {299.0f, 1.0f}, {300.0f, 1.0f}, {400.0f, 0.5f}, {500.0f, 0.0f},
                           {600.0f, 0.0f}};
    for (const SCase& c : cases)
        EXPECT_NEAR(GetDockScore(c.distance), c.score, 1e-5f) << c.distance;
}
} // namespace
