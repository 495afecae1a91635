#include "frontend/Campaign.h"

#include "core/Random.h"
#include "tests/ships/ShipFixtures.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
void SetStocks(SGemStock& stock, int32_t normal, int32_t rare, int32_t veryRare)
{
    stock.count[GEM_NORMAL] = normal;
    stock.count[GEM_RARE] = rare;
    stock.count[GEM_VERY_RARE] = veryRare;
}

std::vector<int32_t> Stocks(const SGemStock& stock)
{
    return {stock.count[0], stock.count[1], stock.count[2]};
}

std::vector<float> Gems(const SCostVector& cost)
{
    return {cost.gems[0], cost.gems[1], cost.gems[2]};
}
} // namespace

TEST(GemStock, SpendTakesFromTheLargestStock)
{
    struct SCase
    {
        std::vector<int32_t> before;
        int32_t amount;
        int32_t paid;
        std::vector<int32_t> after;
    };
    const SCase cases[] = {
        {{1, 1, 1}, 4, 4, {1, 0, 0}},   // a tie: very rare (3), then rare (2)
        {{5, 0, 0}, 3, 3, {2, 0, 0}},
        {{0, 0, 2}, 4, 4, {0, 0, 0}},   // 6 paid for 4: the stocks lose 2 more
        {{1, 0, 0}, 5, 1, {0, 0, 0}},   // not enough: what there is
        {{0, 0, 0}, 3, 0, {0, 0, 0}},
        {{3, 3, 0}, 2, 2, {3, 2, 0}},   // a tie of normal and rare: rare first
        {{4, 1, 1}, 0, 0, {4, 1, 1}},
    };
    for (const SCase& c : cases)
    {
        SGemStock stock;
        SetStocks(stock, c.before[0], c.before[1], c.before[2]);
        EXPECT_EQ(stock.Spend(c.amount), c.paid) << c.amount;
        EXPECT_EQ(Stocks(stock), c.after) << c.amount;
    }
}

TEST(GemStock, RefundIsHalfTheCostWithExcessPassedOn)
{
    struct SCase
    {
        const char* what;
        std::vector<int32_t> before;
        float cost[3];
        bool accepted;
        std::vector<int32_t> after;
    };
    const SCase cases[] = {
        {"300 normal into empty stocks", {0, 0, 0}, {300, 0, 0}, true, {100, 25, 0}},
        {"a sale of (20, 10, 4)", {0, 0, 0}, {20, 10, 4}, true, {10, 5, 2}},
        {"every stock full", {100, 100, 100}, {20, 10, 4}, false, {100, 100, 100}},
        {"rare full passes on to very rare", {0, 100, 80}, {0, 40, 0}, true, {0, 100, 90}},
        {"halves are cut to whole gems", {0, 0, 0}, {3, 1, 0}, true, {1, 0, 0}},
        {"overflow at the end is lost", {100, 100, 99}, {0, 0, 10}, true, {100, 100, 100}},
    };
    for (const SCase& c : cases)
    {
        SGemStock stock;
        SetStocks(stock, c.before[0], c.before[1], c.before[2]);
        EXPECT_EQ(stock.Add(c.cost[0], c.cost[1], c.cost[2]), c.accepted) << c.what;
        EXPECT_EQ(Stocks(stock), c.after) << c.what;
    }
}

TEST(GemStock, CanPayNeedsAStockForSomePartOfTheCost)
{
    SGemStock stock;
    SetStocks(stock, 0, 3, 0);
    const float rareCost[3] = {5, 1, 0};
    const float normalCost[3] = {5, 0, 2};
    const float nothing[3] = {0, 0, 0};
    EXPECT_TRUE(stock.CanPay(rareCost));
    EXPECT_FALSE(stock.CanPay(normalCost));
    EXPECT_FALSE(stock.CanPay(nothing));
}

TEST(Campaign, StoreCountsKnownItemsUpAndFillsFromTheTop)
{
    CCampaign campaign;
    ASSERT_TRUE(campaign.AddStoredItem(COMPONENT_ENGINE, 2));
    ASSERT_TRUE(campaign.AddStoredItem(COMPONENT_ENGINE, 2));
    EXPECT_EQ(campaign.FindStoredItem(COMPONENT_ENGINE, 2), CAMPAIGN_STORE_SIZE - 1);
    EXPECT_EQ(campaign.GetState().store[CAMPAIGN_STORE_SIZE - 1].count, 2);
    EXPECT_EQ(campaign.CountStoredItems(), 1);
    EXPECT_EQ(campaign.FindStoredItem(COMPONENT_ENGINE, 1), -1);

    for (int i = 1; i < CAMPAIGN_STORE_SIZE; ++i)
        ASSERT_TRUE(campaign.AddStoredItem(2 + i % 17, i / 17)) << i;
    EXPECT_EQ(campaign.CountStoredItems(), CAMPAIGN_STORE_SIZE);
    EXPECT_FALSE(campaign.AddStoredItem(COMPONENT_HULL, 9));    // a 76th distinct item
    EXPECT_TRUE(campaign.AddStoredItem(COMPONENT_ENGINE, 2));   // a known one still counts up
    EXPECT_FALSE(campaign.AddStoredItem(COMPONENT_KIND_COUNT, 0));
    EXPECT_FALSE(campaign.AddStoredItem(COMPONENT_ENGINE, CAMPAIGN_DEFS_PER_KIND));
}

TEST(Campaign, WalkByKeyVisitsTheUsedRecordsOfOneKind)
{
    CCampaign campaign;
    campaign.AddStoredItem(COMPONENT_SHIELD, 0);   // record 74
    campaign.AddStoredItem(COMPONENT_ENGINE, 0);   // 73
    campaign.AddStoredItem(COMPONENT_SHIELD, 1);   // 72
    std::vector<int> found;
    for (int i = campaign.FindItemsByKey(COMPONENT_SHIELD); i >= 0; i = campaign.NextItemByKey())
        found.push_back(i);
    EXPECT_EQ(found, (std::vector<int>{72, 74}));
    EXPECT_EQ(campaign.NextItemByKey(), -1);
    EXPECT_EQ(campaign.FindItemsByKey(COMPONENT_BOMB), -1);
}

TEST(Campaign, RandomItemComesOnlyFromResearchedKinds)
{
    CCampaign campaign;
    // Just reset: no kind is enabled, so nothing is added (and nothing divides by 0).
    EXPECT_FALSE(campaign.AddRandomItem());
    EXPECT_EQ(campaign.CountStoredItems(), 0);

    // One eligible kind at stage 0 gives definition 0; HULL never comes.
    SResearchRecord& hull = campaign.GetState().research[COMPONENT_HULL];
    hull.enabled = true;
    hull.stage = 3;
    SResearchRecord& cargo = campaign.GetState().research[COMPONENT_CARGO];
    cargo.enabled = true;
    cargo.stage = 0;
    GetGameRandom().Seed(7);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(campaign.AddRandomItem());
    EXPECT_EQ(campaign.CountStoredItems(), 1);
    EXPECT_GE(campaign.FindStoredItem(COMPONENT_CARGO, 0), 0);

    // A kind at stage s gives definitions below s.
    cargo.stage = 2;
    for (int i = 0; i < 40; ++i)
        campaign.AddRandomItem();
    for (int i = campaign.FindItemsByKey(COMPONENT_CARGO); i >= 0; i = campaign.NextItemByKey())
        EXPECT_LT(campaign.GetState().store[i].definition, 2);
    EXPECT_EQ(campaign.CountStoredItems(), 2);
}

TEST(Campaign, RewardsComeOffTheStackBeforeRandomItems)
{
    CCampaign campaign;
    const SItemKey pod[] = {{COMPONENT_ENGINE, 1}, {0, 5}, {COMPONENT_BOMB, 0}};
    campaign.PushRewardItems(pod, 3);
    EXPECT_EQ(campaign.GetRewardCount(), 2);
    ASSERT_TRUE(campaign.AddRewardItem());
    EXPECT_GE(campaign.FindStoredItem(COMPONENT_BOMB, 0), 0);  // the last pushed first
    ASSERT_TRUE(campaign.AddRewardItem());
    EXPECT_GE(campaign.FindStoredItem(COMPONENT_ENGINE, 1), 0);
    EXPECT_FALSE(campaign.AddRewardItem());  // empty stack, nothing researched
}

TEST(Campaign, NewGameResearchFollowsTheTable)
{
    CCampaign campaign;
    campaign.GetState().research[COMPONENT_NONE].stage = 4;
    campaign.SetNewGameResearch();
    const SCampaignState& state = campaign.GetState();
    EXPECT_EQ(state.crew, 5);
    EXPECT_EQ(state.research[COMPONENT_NONE].stage, 4);  // kind 0 is only disabled
    EXPECT_FALSE(state.research[COMPONENT_NONE].enabled);
    EXPECT_FALSE(state.research[COMPONENT_ANY_WEAPON].enabled);

    const SResearchRecord& hull = state.research[COMPONENT_HULL];
    EXPECT_EQ(hull.stage, 3);
    EXPECT_EQ(hull.limit, 4);
    EXPECT_TRUE(hull.enabled);
    EXPECT_EQ(Gems(hull.cost[4]), (std::vector<float>{200, 100, 60}));
    EXPECT_EQ(Gems(hull.cost[5]), (std::vector<float>{0, 0, 0}));

    const SResearchRecord& laser = state.research[COMPONENT_LASER];
    EXPECT_FALSE(laser.enabled);
    EXPECT_EQ(Gems(laser.cost[3]), (std::vector<float>{150, 100, 75}));
    EXPECT_EQ(Gems(state.research[COMPONENT_STATION_WEAPON].cost[5]), (std::vector<float>{125, 100, 75}));
    EXPECT_EQ(Gems(state.research[COMPONENT_STATION_VAC].cost[1]), (std::vector<float>{25, 12, 8}));
    EXPECT_EQ(state.research[COMPONENT_CARGO].limit, 0);
}

TEST(Campaign, ReadyProjectRespectsReachedZoneAboveDifficultyZero)
{
    struct SCase
    {
        const char* what;
        int32_t kind;
        int32_t stage;
        int32_t limit;
        int32_t difficulty;
        int32_t reachedZone;
        bool ready;
    };
    const SCase cases[] = {
        {"difficulty 0 ignores the zone", COMPONENT_ENGINE, 3, 3, 0, 0, true},
        {"beyond the zone", COMPONENT_ENGINE, 1, 3, 1, 0, false},
        {"within the zone", COMPONENT_ENGINE, 1, 3, 1, 1, true},
        {"gun allowance of 1", COMPONENT_PROJECTILE_GUN, 1, 3, 2, 0, true},
        {"hull allowance of 2", COMPONENT_HULL, 2, 4, 1, 0, true},
        {"hull beyond its allowance", COMPONENT_HULL, 3, 4, 1, 0, false},
        {"station weapon allowance of 2", COMPONENT_STATION_WEAPON, 2, 5, 1, 0, true},
        {"limit reached", COMPONENT_ENGINE, 4, 3, 0, 0, false},
        {"not researched", COMPONENT_ENGINE, -1, 3, 0, 0, false},
    };
    for (const SCase& c : cases)
    {
        CCampaign campaign;
        SResearchRecord& research = campaign.GetState().research[c.kind];
        research.enabled = true;
        research.stage = c.stage;
        research.limit = c.limit;
        campaign.GetPilot().difficulty = c.difficulty;
        campaign.GetPilot().reachedZone = c.reachedZone;
        EXPECT_EQ(campaign.HasReadyProject(), c.ready) << c.what;
        research.enabled = false;
        EXPECT_FALSE(campaign.HasReadyProject()) << c.what << " (disabled)";
    }
}

namespace
{
struct SSlotCase
{
    const char* what;
    SCostVector cost;
    int32_t rate;
    uint32_t elapsed;
    bool stalled;
    std::vector<int32_t> stocksBefore;
    std::vector<int32_t> stocksAfter;
    int historyCount;          // after the step
    std::vector<float> paid;   // of the last entry after the step
    std::vector<float> remaining;
    bool completed;
};

constexpr uint32_t SLOT_START = 5000;

// The research slot started on ENGINE at stage 1 with the case's cost, one entry at the
// start time, then stepped once.
void RunResearchCase(const SSlotCase& c)
{
    CCampaign campaign;
    SCampaignState& state = campaign.GetState();
    SResearchRecord& engine = state.research[COMPONENT_ENGINE];
    engine.enabled = true;
    engine.stage = 1;
    engine.limit = 3;
    engine.cost[1] = c.cost;
    SetStocks(state.gems, c.stocksBefore[0], c.stocksBefore[1], c.stocksBefore[2]);
    SWorkSlot& slot = state.researchSlot;
    slot.kind = COMPONENT_ENGINE;
    slot.rate = c.rate;
    slot.startTime = SLOT_START;
    slot.stalled = c.stalled;
    slot.remaining = c.cost;
    slot.historyCount = 1;
    slot.history[0].time = SLOT_START;

    campaign.AdvanceResearch(SLOT_START + c.elapsed);

    EXPECT_EQ(Stocks(state.gems), c.stocksAfter) << c.what;
    EXPECT_EQ(slot.historyCount, c.historyCount) << c.what;
    EXPECT_EQ(Gems(slot.history[slot.historyCount - 1].paid), c.paid) << c.what;
    if (c.historyCount > 1)
    {
        EXPECT_EQ(slot.history[slot.historyCount - 1].time, SLOT_START + c.elapsed) << c.what;
    }
    EXPECT_EQ(Gems(slot.remaining), c.remaining) << c.what;
    EXPECT_EQ(engine.stage, c.completed ? 2 : 1) << c.what;
    EXPECT_EQ(slot.IsActive(), !c.completed) << c.what;
    if (c.completed)
    {
        EXPECT_EQ(slot.rate, 0) << c.what;
    }
}
} // namespace

TEST(Campaign, ResearchSlotDrawsGemsByCrewAndTime)
{
    const SSlotCase cases[] = {
        {"nothing in the first 10 seconds", {{25, 7, 3}}, 10, 9999, false, {50, 50, 50}, {50, 50, 50}, 1,
         {0, 0, 0}, {25, 7, 3}, false},
        // Budget 10: three very rare gems (9), then one normal gem.
        {"budget by time", {{25, 7, 3}}, 10, 10000, false, {50, 50, 50}, {49, 50, 47}, 2, {1, 0, 3},
         {24, 7, 0}, false},
        // Budget 100 is capped at the cost's worth, 2: the research completes.
        {"budget capped by the cost", {{2, 0, 0}}, 100, 10000, false, {50, 50, 50}, {48, 50, 50}, 1,
         {0, 0, 0}, {2, 0, 0}, true},
        // Budget 12: the one rare gem there is, then 10 normal gems, though only 2 are owed.
        {"normal gems are drawn by the budget", {{2, 5, 0}}, 20, 10000, false, {50, 1, 50}, {40, 0, 50}, 2,
         {10, 1, 0}, {0, 4, 0}, false},
        {"a paused slot marks time", {{25, 7, 3}}, 10, 20000, true, {50, 50, 50}, {50, 50, 50}, 2, {0, 0, 0},
         {25, 7, 3}, false},
        {"empty stocks mark time", {{25, 7, 3}}, 10, 20000, false, {0, 0, 0}, {0, 0, 0}, 2, {0, 0, 0},
         {25, 7, 3}, false},
        {"no crew draws nothing", {{25, 7, 3}}, 0, 60000, false, {50, 50, 50}, {50, 50, 50}, 1, {0, 0, 0},
         {25, 7, 3}, false},
    };
    for (const SSlotCase& c : cases)
        RunResearchCase(c);
}

// A move into another zone: running slots carry on from the new zone's clock with
// what they have paid, and no time passes for them in the move.
TEST(Campaign, SlotsMoveToTheClockOfTheZoneEntered)
{
    CCampaign campaign;
    SCampaignState& state = campaign.GetState();
    SResearchRecord& engine = state.research[COMPONENT_ENGINE];
    engine.enabled = true;
    engine.stage = 1;
    engine.limit = 3;
    engine.cost[1] = SCostVector{{25, 7, 3}};
    SetStocks(state.gems, 50, 50, 50);
    SWorkSlot& slot = state.researchSlot;
    slot.kind = COMPONENT_ENGINE;
    slot.rate = 10;
    slot.startTime = 200000;
    slot.remaining = SCostVector{{24, 7, 0}};
    slot.historyCount = 3;
    slot.history[0] = SHistoryEntry{200000, SCostVector{{0, 0, 0}}};
    slot.history[1] = SHistoryEntry{210000, SCostVector{{1, 0, 2}}};
    slot.history[2] = SHistoryEntry{230000, SCostVector{{1, 0, 3}}};

    // From a zone at 250000 into one at 70000: the start moves back by 180000.
    campaign.MoveSlotsToZoneClock(250000, 70000);
    EXPECT_EQ(slot.startTime, 20000u);
    ASSERT_EQ(slot.historyCount, 2);
    EXPECT_EQ(slot.history[0].time, 20000u);
    EXPECT_EQ(Gems(slot.history[0].paid), (std::vector<float>{0, 0, 0}));
    EXPECT_EQ(slot.history[1].time, 70000u);
    EXPECT_EQ(Gems(slot.history[1].paid), (std::vector<float>{1, 0, 3}));
    // The slot's first ten seconds count from the new clock: nothing at 79999, gems
    // drawn at 80000.
    campaign.AdvanceResearch(79999);
    EXPECT_EQ(slot.historyCount, 2);
    EXPECT_EQ(Stocks(state.gems), (std::vector<int32_t>{50, 50, 50}));
    campaign.AdvanceResearch(80000);
    ASSERT_EQ(slot.historyCount, 3);
    EXPECT_EQ(slot.history[2].time, 80000u);
    EXPECT_GT(slot.history[2].paid.Sum(), slot.history[1].paid.Sum());

    // A start that would fall below 1 stays at 1; an idle slot stays idle.
    campaign.MoveSlotsToZoneClock(500000, 1000);
    EXPECT_EQ(slot.startTime, 1u);
    EXPECT_FALSE(state.manufactureSlot.IsActive());
    EXPECT_EQ(state.manufactureSlot.historyCount, 0);
}

TEST(Campaign, ManufacturingBuildsUnitByUnitIntoTheStore)
{
    CShipComponentDatabase database;
    LoadStandardDatabase(database);
    CCampaign campaign;
    campaign.SetComponentDatabase(&database);
    SCampaignState& state = campaign.GetState();
    SetStocks(state.gems, 50, 50, 50);
    SWorkSlot& slot = state.manufactureSlot;
    slot.kind = COMPONENT_GENERATOR;  // its one definition costs (1, 2, 3): worth 14
    slot.definition = 0;
    slot.units = 2;
    slot.rate = 14;
    slot.startTime = 1000;
    slot.historyCount = 1;
    slot.history[0].time = 1000;

    // Budget 14: three very rare gems, two rare, one normal: one unit paid.
    campaign.AdvanceResearch(11000);
    EXPECT_EQ(Stocks(state.gems), (std::vector<int32_t>{49, 48, 47}));
    const int stored = campaign.FindStoredItem(COMPONENT_GENERATOR, 0);
    ASSERT_GE(stored, 0);
    EXPECT_EQ(state.store[stored].count, 1);
    EXPECT_EQ(slot.units, 1);
    EXPECT_TRUE(slot.IsActive());
    EXPECT_EQ(slot.historyCount, 1);
    EXPECT_EQ(slot.history[0].time, 11000u);

    campaign.AdvanceResearch(21000);
    EXPECT_EQ(state.store[stored].count, 2);
    EXPECT_EQ(slot.units, 0);
    EXPECT_FALSE(slot.IsActive());
    EXPECT_EQ(slot.rate, 0);

    // A definition the database does not hold has no cost: the slot stands.
    slot.definition = 7;
    slot.units = 1;
    slot.rate = 14;
    slot.startTime = 1;
    campaign.AdvanceResearch(90000);
    EXPECT_EQ(Stocks(state.gems), (std::vector<int32_t>{48, 46, 44}));
}

TEST(Campaign, FullHistoryMovesItsLastEntryOn)
{
    CCampaign campaign;
    SCampaignState& state = campaign.GetState();
    SResearchRecord& engine = state.research[COMPONENT_ENGINE];
    engine.stage = 1;
    engine.cost[1] = SCostVector{{25, 7, 3}};
    SWorkSlot& slot = state.researchSlot;
    slot.kind = COMPONENT_ENGINE;
    slot.rate = 1;
    slot.startTime = 1;
    slot.stalled = true;
    slot.historyCount = 1;
    slot.history[0].time = 1;
    uint32_t clock = 1;
    for (int i = 0; i < CAMPAIGN_HISTORY_SIZE + 5; ++i)
        campaign.AdvanceResearch(clock += 10000);
    EXPECT_EQ(slot.historyCount, CAMPAIGN_HISTORY_SIZE);
    EXPECT_EQ(slot.history[CAMPAIGN_HISTORY_SIZE - 1].time, clock);
}

TEST(Campaign, ProgressGraphSpansToTheExpectedEnd)
{
    CCampaign campaign;
    SCampaignState& state = campaign.GetState();
    SResearchRecord& engine = state.research[COMPONENT_ENGINE];
    engine.stage = 1;
    engine.cost[1] = SCostVector{{25, 7, 3}};  // worth 48, sum 35
    SWorkSlot& slot = state.researchSlot;
    slot.kind = COMPONENT_ENGINE;
    slot.rate = 5;
    slot.startTime = 1000;
    slot.historyCount = 2;
    slot.history[0].time = 1000;
    slot.history[1].time = 11000;
    slot.history[1].paid = SCostVector{{1, 0, 3}};  // worth 10, sum 4

    EXPECT_TRUE(campaign.ComputeProgressPoints(true).empty());  // no rectangle yet
    campaign.SetProgressRect(64, 176, 142, 70);
    // Span = 10000 + (48 - 10) x 10000 / 5 = 86000 ms; the research graph sits 5 left
    // and 4 up.
    const std::vector<float> points = campaign.ComputeProgressPoints(true);
    ASSERT_EQ(points.size(), 4u);
    EXPECT_FLOAT_EQ(points[0], 59.0f);
    EXPECT_FLOAT_EQ(points[1], 172.0f);
    EXPECT_FLOAT_EQ(points[2], 64.0f + 10000.0f / 86000.0f * 142.0f - 5.0f);
    EXPECT_FLOAT_EQ(points[3], 176.0f - 4.0f / 35.0f * 70.0f - 4.0f);

    struct SCase
    {
        const char* what;
        void (*spoil)(SCampaignState&);
    };
    const SCase spoilt[] = {
        {"no crew", [](SCampaignState& s) { s.researchSlot.rate = 0; }},
        {"negative crew", [](SCampaignState& s) { s.researchSlot.rate = -3; }},
        {"a cost of nothing", [](SCampaignState& s) { s.research[COMPONENT_ENGINE].cost[1] = SCostVector(); }},
        {"paid beyond the cost at once",
         [](SCampaignState& s) { s.researchSlot.history[1] = SHistoryEntry{1000, SCostVector{{90, 0, 0}}}; }},
        {"one entry", [](SCampaignState& s) { s.researchSlot.historyCount = 1; }},
        {"idle", [](SCampaignState& s) { s.researchSlot.startTime = 0; }},
        {"no stage cost", [](SCampaignState& s) { s.research[COMPONENT_ENGINE].stage = 6; }},
    };
    for (const SCase& c : spoilt)
    {
        CCampaign copy;
        copy.GetState() = state;
        copy.SetProgressRect(64, 176, 142, 70);
        c.spoil(copy.GetState());
        EXPECT_TRUE(copy.ComputeProgressPoints(true).empty()) << c.what;
    }
}

TEST(Campaign, ResetClearsAllButTheMountsWeaponFlags)
{
    CCampaign campaign;
    campaign.SetNewGameResearch();
    SCampaignState& state = campaign.GetState();
    SetStocks(state.gems, 5, 6, 7);
    state.mounts[2].weapon = false;
    state.mounts[2].fitted = true;
    state.mounts[2].definition = 3;
    state.ships[3].kills = 4;
    state.pilot.score = 500;
    campaign.AddStoredItem(COMPONENT_ENGINE, 1);
    campaign.Reset();
    EXPECT_EQ(Stocks(state.gems), (std::vector<int32_t>{0, 0, 0}));
    EXPECT_EQ(state.crew, 0);
    EXPECT_FALSE(state.mounts[2].weapon);
    EXPECT_FALSE(state.mounts[2].fitted);
    EXPECT_EQ(state.mounts[2].definition, 0u);
    EXPECT_EQ(state.stationLimit, -1);
    EXPECT_EQ(state.stationLevel, -1);
    EXPECT_EQ(state.ships[3].kills, 0);
    EXPECT_EQ(state.pilot.score, 0u);
    EXPECT_EQ(state.pilot.difficulty, 1);
    EXPECT_EQ(campaign.CountStoredItems(), 0);
    for (const SResearchRecord& research : state.research)
        EXPECT_FALSE(research.enabled);
}

TEST(Campaign, PilotRecordFollowsTheCampaign)
{
    CCampaign campaign;
    campaign.SetNewGameResearch();
    SCampaignState& state = campaign.GetState();
    state.crew = 9;
    state.research[COMPONENT_SHIELD].enabled = true;
    state.research[COMPONENT_SHIELD].stage = 2;
    state.research[COMPONENT_LASER].stage = 3;  // not enabled: not shown
    campaign.GetPilot().arrayA[4] = -7;
    campaign.RefreshPilotRecord("NOVA", 250000, 9);
    const SPilotRecord& pilot = campaign.GetPilot();
    EXPECT_STREQ(pilot.name, "NOVA");
    EXPECT_EQ(pilot.playTime, 250000u);
    EXPECT_EQ(pilot.campaignValue, 4);
    EXPECT_EQ(pilot.reachedZone, PILOT_MAX_REACHED_ZONE);
    EXPECT_EQ(pilot.arrayA[0], 2);
    EXPECT_EQ(pilot.arrayA[4], -7);
    campaign.RefreshPilotRecord("OTHER", 0, 1);
    EXPECT_STREQ(pilot.name, "NOVA");  // a record with a name keeps it
}

TEST(Campaign, ShipTableAndLossesNameTheDesigns)
{
    CShipComponentDatabase database;
    LoadStandardDatabase(database);
    ASSERT_TRUE(database.LoadShipConfigNodes(
        ParseText(Design("Longdesignname", 2, {"0, 1|ENGINE|engine_a"}) + Design("Skiff", 3, {}) +
                  Design("Pod", 1, {})),
        "designs"));
    CCampaign campaign;
    campaign.SetComponentDatabase(&database);
    SCampaignState& state = campaign.GetState();
    state.ships[1].kills = 50;  // slots 0 and 1 are not ranked
    state.ships[2].kills = 4;
    state.ships[2].flightTime = 8000;
    state.ships[3].kills = 6;
    campaign.UpdateShipTable();
    const SPilotRecord& pilot = campaign.GetPilot();
    EXPECT_STREQ(pilot.ships[0].name, "Skiff");
    EXPECT_STREQ(pilot.ships[1].name, "Longdesig");
    EXPECT_EQ(pilot.ships[1].secondValue, 8000u);
    EXPECT_STREQ(pilot.ships[2].name, "");

    campaign.MarkShipLost(2);
    EXPECT_EQ(pilot.ships[1].status, PILOT_SHIP_LOST);
    campaign.ClearShipState(2);
    EXPECT_EQ(state.ships[2].kills, 0);
    EXPECT_EQ(state.ships[2].flightTime, 0u);

    // The stored hull against its design's hull (150).
    state.currentShip = 3;
    state.ships[3].storedHealth = 150;
    EXPECT_FALSE(campaign.IsShipHullDamaged());
    state.ships[3].storedHealth = 149;
    EXPECT_TRUE(campaign.IsShipHullDamaged());
}

TEST(Campaign, WorldLinkKeepsItsValuesInRange)
{
    CCampaign campaign;
    campaign.AddGems(98);
    campaign.AddGems(5);
    EXPECT_EQ(campaign.GetGemTotal(), 100);
    campaign.FitStation(2);
    EXPECT_EQ(campaign.GetState().mounts[0].definition, 5u);
    EXPECT_EQ(campaign.GetState().mounts[4].definition, 4u);
    EXPECT_TRUE(campaign.GetState().mounts[4].fitted);
    campaign.FitStation(1000);  // definitions stay within a kind's table
    EXPECT_LT(campaign.GetState().mounts[0].definition, static_cast<uint32_t>(CAMPAIGN_DEFS_PER_KIND));
    campaign.AddShipFlightTime(9, 100);  // a slot beyond the table changes nothing
    campaign.AddShipFlightTime(4, 100);
    EXPECT_EQ(campaign.GetState().ships[4].flightTime, 100u);
    campaign.CountCollected();
    EXPECT_EQ(campaign.GetPilot().progress[PILOT_GEMS_COLLECTED], 1);
    campaign.GetState().stationLimit = 300;
    campaign.GetState().stationLevel = 299;
    EXPECT_TRUE(campaign.IsStationBelowRepairLimit());
}

// What the zones' alien nodes read and give through the world's link: the friendly
// aliens brought in, and the research of a kind.
TEST(Campaign, TheAlienNodesReachTheFriendlyAliensAndTheResearch)
{
    CCampaign campaign;
    campaign.SetNewGameResearch();
    CCampaignLink& link = campaign;
    EXPECT_EQ(link.GetFriendlyAlienCount(), 0);
    link.AddFriendlyAliens(2);
    EXPECT_EQ(link.GetFriendlyAlienCount(), 2);
    for (int kind : {9, 10, 12, 13, 14, 16})
    {
        EXPECT_FALSE(campaign.GetState().research[kind].enabled) << kind;
        link.EnableResearch(kind);
        EXPECT_TRUE(campaign.GetState().research[kind].enabled) << kind;
    }
    const SCampaignState before = campaign.GetState();
    link.EnableResearch(-1);
    link.EnableResearch(COMPONENT_KIND_COUNT);
    for (int kind = 0; kind < COMPONENT_KIND_COUNT; ++kind)
        EXPECT_EQ(campaign.GetState().research[kind].enabled, before.research[kind].enabled) << kind;
}

// A kill counts for the pilot (kills and score) and for the ship flying now.
TEST(Campaign, KillsReachThePilotAndTheCurrentShip)
{
    CCampaign campaign;
    campaign.SetCurrentShip(3);
    campaign.AddKill(10);
    campaign.AddKill(1);
    campaign.AddKill(0);
    EXPECT_EQ(campaign.GetPilot().progress[PILOT_KILLS], 3);
    EXPECT_EQ(campaign.GetPilot().score, 11u);
    EXPECT_EQ(campaign.GetState().ships[3].kills, 3);
    EXPECT_EQ(campaign.GetState().ships[2].kills, 0);
}
