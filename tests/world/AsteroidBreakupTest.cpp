#include "core/Random.h"
#include "world/AsteroidBreakup.h"
#include "world/AsteroidKinds.h"

#include <gtest/gtest.h>

#include <map>

namespace
{
struct STally
{
    int trials = 0;
    int empty = 0;
    int worms = 0;
    std::map<int32_t, long> kinds;      // pieces of each kind over all trials
    std::map<size_t, int> pieceCounts;  // trials by number of pieces
};

STally Tally(const SBreakupContext& context, int trials, uint32_t seed)
{
    CRandom random(seed);
    STally tally;
    SBreakup breakup;
    for (int i = 0; i < trials; ++i)
    {
        ChooseBreakup(context, random, breakup);
        ++tally.trials;
        tally.empty += breakup.pieces.empty();
        tally.worms += breakup.worm;
        ++tally.pieceCounts[breakup.pieces.size()];
        for (int32_t kind : breakup.pieces)
            ++tally.kinds[kind];
    }
    return tally;
}

double PerTrial(const STally& tally, int32_t kind)
{
    auto found = tally.kinds.find(kind);
    return found == tally.kinds.end() ? 0.0 : double(found->second) / tally.trials;
}
} // namespace

TEST(AsteroidBreakup, SmallRocksGiveAGemOneTimeInThree)
{
    SBreakupContext context;
    context.kind = ASTEROID_SMALL;
    STally tally = Tally(context, 30000, 7);
    EXPECT_NEAR(double(tally.empty) / tally.trials, 2.0 / 3.0, 0.01);
    for (int32_t gem : {ASTEROID_NORMAL_GEM, ASTEROID_RARE_GEM, ASTEROID_VERY_RARE_GEM})
        EXPECT_NEAR(PerTrial(tally, gem), 1.0 / 9.0, 0.008) << AsteroidKindName(gem);
    EXPECT_EQ(tally.kinds.size(), 3u);

    // Survival above difficulty 3: always one normal gem.
    context.survival = true;
    context.difficulty = 4;
    tally = Tally(context, 500, 8);
    EXPECT_EQ(tally.kinds[ASTEROID_NORMAL_GEM], 500);
    EXPECT_EQ(tally.kinds.size(), 1u);
}

TEST(AsteroidBreakup, MediumRocksCascadeThroughTheGemChances)
{
    // chanceOfGems 0.5: c = 50, c' = 20, c'' = 8; each step draws 0 to 99 afresh.
    // Per piece: 3 normal gems 0.5; 2 large normal 0.5 x 0.25 = 0.125; 3 rare
    // 0.375 x 0.2 = 0.075; 1 large rare 0.3 x 0.1 = 0.03; 2 very rare 0.27 x 0.08 =
    // 0.0216; 1 large very rare 0.2484 x 0.04 = 0.009936; a small rock the rest,
    // 0.2484 x 0.96 = 0.238464. Pieces: 3 to 5, 4 on average.
    SBreakupContext context;
    context.kind = ASTEROID_MEDIUM;
    context.chanceOfGems = 0.5f;
    const STally tally = Tally(context, 40000, 9);
    const struct
    {
        int32_t kind;
        double expected;
        double tolerance;
    } rows[] = {
        {ASTEROID_NORMAL_GEM, 4 * 3 * 0.5, 0.06},
        {ASTEROID_NORMAL_GEM_LARGE, 4 * 2 * 0.125, 0.02},
        {ASTEROID_RARE_GEM, 4 * 3 * 0.075, 0.02},
        {ASTEROID_RARE_GEM_LARGE, 4 * 0.03, 0.006},
        {ASTEROID_VERY_RARE_GEM, 4 * 2 * 0.0216, 0.008},
        {ASTEROID_VERY_RARE_GEM_LARGE, 4 * 0.009936, 0.003},
        {ASTEROID_SMALL, 4 * 0.238464, 0.02},
    };
    for (const auto& row : rows)
        EXPECT_NEAR(PerTrial(tally, row.kind), row.expected, row.tolerance) << AsteroidKindName(row.kind);
    EXPECT_EQ(tally.worms, 0);
    // A dangerous node triples the chance: c = 150 takes the first step every time.
    context.dangerousNode = true;
    const STally danger = Tally(context, 2000, 10);
    EXPECT_EQ(danger.kinds.size(), 1u);
    EXPECT_EQ(danger.pieceCounts.begin()->first, 9u);
    EXPECT_EQ(danger.pieceCounts.rbegin()->first, 15u);
    for (size_t pieces : {9u, 12u, 15u})
        EXPECT_NEAR(double(danger.pieceCounts.at(pieces)) / danger.trials, 1.0 / 3.0, 0.04);
    // No chance of gems: every piece is a small rock.
    context.dangerousNode = false;
    context.chanceOfGems = 0.0f;
    const STally none = Tally(context, 200, 11);
    EXPECT_EQ(none.kinds.size(), 1u);
    EXPECT_EQ(none.kinds.begin()->first, ASTEROID_SMALL);
}

TEST(AsteroidBreakup, ExplosiveRocksMayReleaseAWormAndLeaveNoSmallRocks)
{
    SBreakupContext context;
    context.kind = ASTEROID_EXPLOSIVE;
    context.chanceOfGems = 0.5f;
    struct SCase
    {
        int32_t zone;
        int32_t liveWorms;
        double wormShare;
    } cases[] = {{0, 0, 1.0 / 5}, {2, 5, 1.0 / 3}, {4, 0, 1.0}, {6, 0, 1.0}, {1, 6, 0.0}};
    for (const SCase& c : cases)
    {
        context.zoneIndex = c.zone;
        context.wormsSpawned = c.liveWorms;
        const STally tally = Tally(context, 12000, 12);
        EXPECT_NEAR(double(tally.worms) / tally.trials, c.wormShare, 0.015) << "zone " << c.zone;
        EXPECT_EQ(tally.kinds.count(ASTEROID_SMALL), 0u);
        // The small-rock share of a medium rock is left empty.
        EXPECT_NEAR(PerTrial(tally, ASTEROID_NORMAL_GEM), 4 * 3 * 0.5, 0.08);
    }
}

TEST(AsteroidBreakup, LargeRocksBreakIntoTwoToFourMediumOnesAndTheRestIntoNothing)
{
    SBreakupContext context;
    context.kind = ASTEROID_LARGE;
    const STally tally = Tally(context, 3000, 13);
    EXPECT_EQ(tally.kinds.size(), 1u);
    EXPECT_EQ(tally.kinds.begin()->first, ASTEROID_MEDIUM);
    for (size_t pieces : {2u, 3u, 4u})
        EXPECT_NEAR(double(tally.pieceCounts.at(pieces)) / tally.trials, 1.0 / 3.0, 0.03);
    EXPECT_EQ(tally.pieceCounts.size(), 3u);

    for (int32_t kind = ASTEROID_NORMAL_GEM; kind < ASTEROID_KIND_COUNT; ++kind)
    {
        if (kind == ASTEROID_EXPLOSIVE)
            continue;
        context.kind = kind;
        EXPECT_EQ(Tally(context, 20, 14).empty, 20) << AsteroidKindName(kind);
    }
}
