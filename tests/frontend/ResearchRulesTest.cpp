#include "frontend/ResearchRules.h"
#include "ships/ShipComponentDatabase.h"
#include "tests/frontend/CampaignScreenFixture.h"

#include <gtest/gtest.h>

namespace
{
SCostVector Cost(float normal, float rare, float veryRare)
{
    SCostVector cost;
    cost.gems[GEM_NORMAL] = normal;
    cost.gems[GEM_RARE] = rare;
    cost.gems[GEM_VERY_RARE] = veryRare;
    return cost;
}

TEST(ResearchRules, TheStatusOfASlotByStartCrewUnitsStocksAndPause)
{
    struct
    {
        const char* what;
        bool research;
        uint32_t start;
        int32_t crew, units;
        bool stalled;
        SCostVector cost; // shown (idle) or remaining (running)
        int32_t stocks[3];
        EWorkSlotStatus expected;
    } cases[] = {
        {"idle without crew", true, 0, 0, 0, false, Cost(1, 0, 0), {5, 5, 5}, WORK_IDLE},
        {"ready", true, 0, 2, 0, false, Cost(1, 0, 0), {5, 0, 0}, WORK_READY},
        {"stocks that cannot pay", true, 0, 2, 0, false, Cost(1, 0, 0), {0, 5, 5}, WORK_IDLE},
        {"manufacture without units", false, 0, 2, 0, false, Cost(1, 0, 0), {5, 0, 0}, WORK_IDLE},
        {"manufacture ready", false, 0, 2, 1, false, Cost(0, 0, 3), {0, 0, 1}, WORK_READY},
        {"running", true, 500, 2, 0, false, Cost(4, 0, 0), {1, 0, 0}, WORK_RUNNING},
        {"running out of crew", true, 500, 0, 0, false, Cost(4, 0, 0), {1, 0, 0}, WORK_STARVED},
        {"running out of gems", true, 500, 2, 0, false, Cost(4, 0, 0), {0, 9, 9}, WORK_STARVED},
        {"manufacture out of units", false, 500, 2, 0, false, Cost(4, 0, 0), {9, 0, 0}, WORK_STARVED},
        {"paused", true, 500, 0, 0, true, Cost(4, 0, 0), {0, 0, 0}, WORK_PAUSED},
    };
    for (const auto& c : cases)
    {
        SCampaignState state;
        SWorkSlot& slot = c.research ? state.researchSlot : state.manufactureSlot;
        slot.startTime = c.start;
        slot.rate = c.crew;
        slot.units = c.units;
        slot.stalled = c.stalled;
        slot.remaining = c.cost;
        for (int g = 0; g < GEM_KIND_COUNT; ++g)
            state.gems.count[g] = c.stocks[g];
        EXPECT_EQ(GetWorkSlotStatus(state, c.research, c.cost), c.expected) << c.what;
    }
    EXPECT_EQ(GetWorkSlotText(WORK_READY), GetWorkSlotText(WORK_IDLE));
    EXPECT_EQ(GetWorkSlotText(WORK_STARVED), 0xd6000004u);
}

TEST(ResearchRules, StartingAndCancellingSlots)
{
    SCampaignState state;
    state.research[COMPONENT_ENGINE].stage = 1;
    state.research[COMPONENT_ENGINE].cost[1] = Cost(25, 7, 3);
    state.researchSlot.rate = 3;
    // A zone clock of 0 would read as an idle slot.
    ASSERT_TRUE(StartResearch(state, COMPONENT_ENGINE, 0));
    EXPECT_EQ(state.researchSlot.startTime, 1u);
    EXPECT_EQ(state.researchSlot.kind, COMPONENT_ENGINE);
    EXPECT_EQ(state.researchSlot.remaining.gems[GEM_RARE], 7.0f);
    ASSERT_EQ(state.researchSlot.historyCount, 1);
    EXPECT_EQ(state.researchSlot.history[0].time, 1u);
    EXPECT_EQ(state.researchSlot.history[0].paid.Sum(), 0.0f);

    state.research[COMPONENT_ENGINE].stage = CAMPAIGN_COST_STAGES; // beyond the table, as a save may hold
    EXPECT_FALSE(StartResearch(state, COMPONENT_ENGINE, 7000));
    EXPECT_FALSE(StartResearch(state, 99, 7000));

    CancelWorkSlot(state, true);
    EXPECT_FALSE(state.researchSlot.IsActive());
    EXPECT_EQ(state.researchSlot.kind, 0);
    EXPECT_EQ(state.researchSlot.rate, 0);
    EXPECT_EQ(state.researchSlot.historyCount, 0);
    EXPECT_EQ(state.researchSlot.remaining.Sum(), 0.0f);

    state.manufactureSlot.kind = COMPONENT_CARGO;
    state.manufactureSlot.units = 3;
    state.manufactureSlot.startTime = 40;
    state.manufactureSlot.stalled = true;
    CancelWorkSlot(state, false);
    EXPECT_EQ(state.manufactureSlot.kind, COMPONENT_CARGO); // the kind stays
    EXPECT_EQ(state.manufactureSlot.units, 0);
    EXPECT_FALSE(state.manufactureSlot.stalled);
    EXPECT_FALSE(state.manufactureSlot.IsActive());
}

TEST(ResearchRules, CrewsFromASaveAreBoundByTheCrew)
{
    SCampaignState state;
    state.crew = 5;
    state.researchSlot.rate = 4;
    state.manufactureSlot.rate = 3;
    BoundSlotCrews(state);
    EXPECT_EQ(state.researchSlot.rate, 4);
    EXPECT_EQ(state.manufactureSlot.rate, 1);
    EXPECT_EQ(GetFreeCrew(state), 0);
    state.researchSlot.rate = -2;
    state.crew = -1;
    BoundSlotCrews(state);
    EXPECT_EQ(state.researchSlot.rate, 0);
    EXPECT_EQ(state.manufactureSlot.rate, 0);
}

TEST(ResearchRules, TheTutorialAllowsOnlyItsOwnStart)
{
    EXPECT_TRUE(IsStartAllowed(3, true, COMPONENT_ENGINE, 0, 0, 1));
    EXPECT_TRUE(IsStartAllowed(21, false, COMPONENT_STATION_WEAPON, 0, 1, 5));
    EXPECT_FALSE(IsStartAllowed(21, false, COMPONENT_STATION_WEAPON, 0, 2, 5));
    EXPECT_FALSE(IsStartAllowed(21, false, COMPONENT_STATION_WEAPON, 0, 1, 4));
    EXPECT_FALSE(IsStartAllowed(21, true, COMPONENT_STATION_WEAPON, 0, 1, 5));
    EXPECT_TRUE(IsStartAllowed(24, false, COMPONENT_HULL, 1, 1, 5));
    EXPECT_FALSE(IsStartAllowed(24, false, COMPONENT_HULL, 0, 1, 5));
    EXPECT_FALSE(IsStartAllowed(24, false, COMPONENT_ENGINE, 1, 1, 5));
}

// The lists on the sample parts: a new game's research table (hulls at stage 3).
TEST(ResearchRules, ListsFollowStagesAndTheDatabase)
{
    CCampaignScreenFixture fixture;
    ASSERT_TRUE(fixture.IsReady());
    SCampaignState& state = fixture.GetState();
    const CShipComponentDatabase& database = fixture.GetDatabase();
    const int32_t hulls = database.GetCategory(COMPONENT_HULL)->m_defCount;
    ASSERT_GE(hulls, 3);

    EXPECT_EQ(ListBuildableDefinitions(state, &database, COMPONENT_HULL), (std::vector<int32_t>{1, 2}));
    auto offered = [&](int32_t kind) {
        const std::vector<int32_t> kinds = ListManufactureKinds(state, &database);
        return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
    };
    EXPECT_TRUE(offered(COMPONENT_HULL));
    state.research[COMPONENT_HULL].stage = 1;
    EXPECT_FALSE(offered(COMPONENT_HULL));
    // A stage beyond the definitions builds what there is.
    state.research[COMPONENT_HULL].stage = 40;
    EXPECT_EQ(static_cast<int32_t>(ListBuildableDefinitions(state, &database, COMPONENT_HULL).size()), hulls - 1);
    EXPECT_EQ(GetResearchTarget(state, &database, COMPONENT_HULL), -1);
    // Disabled kinds are not built.
    EXPECT_FALSE(offered(COMPONENT_SHIELD));

    // The project list: enabled kinds whose limit allows their stage and that have a
    // definition to unlock; above difficulty 0 only within reach of the pilot's zones.
    state.research[COMPONENT_HULL].stage = 3;
    state.pilot.difficulty = 0;
    auto projects = [&]() { return ListResearchProjects(state, &database); };
    const std::vector<int32_t> all = projects();
    EXPECT_NE(std::find(all.begin(), all.end(), COMPONENT_ENGINE), all.end());
    EXPECT_EQ(std::find(all.begin(), all.end(), COMPONENT_SHIELD), all.end());
    state.research[COMPONENT_ENGINE].stage = state.research[COMPONENT_ENGINE].limit + 1;
    const std::vector<int32_t> beyond = projects();
    EXPECT_EQ(std::find(beyond.begin(), beyond.end(), COMPONENT_ENGINE), beyond.end());
    state.research[COMPONENT_ENGINE].stage = 1;
    state.pilot.difficulty = 1;
    state.pilot.reachedZone = 0;
    auto listed = [&](int32_t kind) {
        const std::vector<int32_t> kinds = projects();
        return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
    };
    EXPECT_FALSE(listed(COMPONENT_ENGINE)); // stage 1 > zone 0 + 0
    EXPECT_FALSE(listed(COMPONENT_HULL));   // stage 3 > zone 0 + 2
    state.pilot.reachedZone = 1;
    EXPECT_TRUE(listed(COMPONENT_ENGINE));
    EXPECT_TRUE(listed(COMPONENT_HULL));
}
} // namespace
