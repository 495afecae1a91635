// The rules of the player's ship designs on the sample data: names, making a design on
// a hull, fitting limits, the pod and design actions that give parts back (each
// refused whole when the store or the stocks cannot take them) and the figures.

#include "frontend/ShipDesignRules.h"
#include "presentation/GuiTypes.h"
#include "ships/ShipComponentDatabase.h"
#include "tests/frontend/CampaignScreenFixture.h"
#include "world/Game.h"
#include "world/ZoneLink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace
{
constexpr int SLOT = 3;
constexpr int32_t SPARROW = 1;

class ShipDesignRulesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_fixture.IsReady());
        m_fixture.ClearStore();
        m_fixture.SetGems(0, 0, 0);
        for (int slot = FIRST_PLAYER_DESIGN; slot <= LAST_PLAYER_DESIGN; ++slot)
            Database().RemoveShipConfig(slot);
    }

    CCampaign& Campaign() { return m_fixture.GetCampaign(); }
    CShipComponentDatabase& Database() { return m_fixture.GetDatabase(); }
    CZoneLink& Zones() { return m_fixture.GetHarness().GetGame().GetZones(); }
    CShipConfig& Design() { return *Database().GetShipConfig(SLOT); }

    // A sparrow in the slot.
    void MakeSparrow(const char* name = "Kestrel")
    {
        ASSERT_TRUE(CreateDesign(Campaign(), Database(), SLOT, name));
        ASSERT_TRUE(SetDesignHull(Campaign(), Database(), SLOT, SPARROW));
    }
    // The pod at the cell takes the component (and a weapon its group), as the grid fits it.
    void Fit(int x, int y, int32_t kind, int32_t definition, int group = 0)
    {
        const CVector2D cell(static_cast<float>(x), static_cast<float>(y));
        const int32_t pod = Design().FindPodAt(cell);
        ASSERT_GE(pod, 0) << x << "," << y;
        Design().m_pods[pod].m_kind = static_cast<EComponentKind>(kind);
        Design().m_pods[pod].m_defIndex = definition;
        if (group)
        {
            ASSERT_TRUE(Design().AssignToWeaponGroup(group, cell));
        }
    }
    int32_t PodAt(int x, int y) { return Design().FindPodAt(CVector2D(static_cast<float>(x), static_cast<float>(y))); }
    // Every record of the store used, by items of kinds other than those given.
    void FillStore(std::initializer_list<int32_t> without)
    {
        for (int32_t kind = 1; kind < COMPONENT_KIND_COUNT; ++kind)
            for (int32_t def = 0; def < CAMPAIGN_DEFS_PER_KIND && Campaign().CountStoredItems() < CAMPAIGN_STORE_SIZE;
                 ++def)
                if (std::find(without.begin(), without.end(), kind) == without.end())
                    Campaign().AddStoredItem(kind, def);
        ASSERT_EQ(Campaign().CountStoredItems(), CAMPAIGN_STORE_SIZE);
    }
    std::string Figure(const SDesignFigures& figures, int which)
    {
        const SInfoText& text = figures.texts[which];
        if (text.isId)
            return text.id == 0x56000003 ? "yes" : text.id == 0xab000003 ? "no" : "?";
        return std::string(text.literal.begin(), text.literal.end());
    }

    CCampaignScreenFixture m_fixture;
};

TEST(ShipDesignNames, TypedNamesAreTrimmedAndRefusedWhenTheDesignFileCouldNotHoldThem)
{
    struct SCase
    {
        const char* typed;
        const char* kept;
        bool valid;
    };
    const SCase cases[] = {
        {"  Kestrel  ", "Kestrel", true},
        {"\tTwo words ", "Two words", true},
        {"   ", "", false},
        {"Red//Wing", "Red//Wing", false},
        {"a/b", "a/b", true},
    };
    for (const SCase& c : cases)
    {
        const std::string kept = TrimDesignName(c.typed);
        EXPECT_EQ(kept, c.kept) << c.typed;
        EXPECT_EQ(IsValidDesignName(kept), c.valid) << c.typed;
    }
    EXPECT_EQ(TrimDesignName(std::string(60, 'x')).size(), DESIGN_NAME_TYPED_MAX);
    EXPECT_EQ(GetRecordName("Stormbringer"), "Stormbrin");
}

TEST_F(ShipDesignRulesTest, NamesAreComparedAsThePilotRecordKeepsThem)
{
    MakeSparrow("Stormbringer");
    std::strcpy(Campaign().GetPilot().ships[4].name, "Wanderer");
    // The first nine characters decide: the record keeps no more.
    EXPECT_TRUE(IsDesignNameInUse(Campaign(), Database(), "Stormbrin"));
    EXPECT_TRUE(IsDesignNameInUse(Campaign(), Database(), "Stormbringers"));
    EXPECT_TRUE(IsDesignNameInUse(Campaign(), Database(), "Wanderer"));
    EXPECT_FALSE(IsDesignNameInUse(Campaign(), Database(), "Storm"));
    EXPECT_FALSE(IsDesignNameInUse(Campaign(), Database(), "Wander"));
    // The game's own designs in slots 0 and 1 are not the player's names.
    EXPECT_FALSE(IsDesignNameInUse(Campaign(), Database(), Database().GetShipConfig(1)->m_ident));
}

TEST_F(ShipDesignRulesTest, ANewDesignTakesItsHullsSlotsAndHealth)
{
    ASSERT_TRUE(CreateDesign(Campaign(), Database(), SLOT, "Kestrel"));
    EXPECT_FALSE(CreateDesign(Campaign(), Database(), SLOT, "Other")) << "an occupied slot";
    EXPECT_FALSE(CreateDesign(Campaign(), Database(), 1, "Other")) << "not a player's slot";
    EXPECT_FALSE(CreateDesign(Campaign(), Database(), 2, "Red//Wing"));
    EXPECT_EQ(Design().m_ident, "Kestrel");
    EXPECT_EQ(Design().m_storageSlot, SLOT);
    EXPECT_EQ(Design().m_hull, 0);
    EXPECT_EQ(Campaign().GetStoredHealth(SLOT), 40); // the escape pod's hull
    ASSERT_TRUE(SetDesignHull(Campaign(), Database(), SLOT, SPARROW));
    EXPECT_EQ(Design().m_podCount, 7);
    EXPECT_EQ(Campaign().GetStoredHealth(SLOT), 120);
    EXPECT_GE(PodAt(1, 2), 0);
    EXPECT_EQ(Design().m_pods[PodAt(1, 2)].m_kind, COMPONENT_NONE);
    EXPECT_FALSE(SetDesignHull(Campaign(), Database(), SLOT, 9));
    EXPECT_EQ(Design().m_hull, SPARROW);

    // Committing takes the hull from the stores and counts the ship.
    Campaign().AddStoredItem(COMPONENT_HULL, SPARROW);
    Campaign().GetShipState(SLOT)->kills = 4;
    const int32_t built = Campaign().GetPilot().progress[PILOT_SHIPS_BUILT];
    CommitNewDesign(Campaign(), Database(), SLOT);
    EXPECT_EQ(Campaign().FindStoredItem(COMPONENT_HULL, SPARROW), -1);
    EXPECT_EQ(Campaign().GetPilot().progress[PILOT_SHIPS_BUILT], built + 1);
    EXPECT_EQ(Campaign().GetShipState(SLOT)->kills, 0);
}

TEST_F(ShipDesignRulesTest, KindsAtTheirFittingLimitAreNotOffered)
{
    MakeSparrow();
    for (int32_t kind : {COMPONENT_BOMB, COMPONENT_DRONE, COMPONENT_ENGINE, COMPONENT_CARGO, COMPONENT_HULL,
                         COMPONENT_STATION_WEAPON})
        Campaign().AddStoredItem(kind, 0);
    const std::vector<int32_t> offered = {COMPONENT_ENGINE, COMPONENT_BOMB, COMPONENT_DRONE, COMPONENT_CARGO};
    EXPECT_EQ(ListFittableKinds(Campaign(), Design()), offered);
    // Three bombs leave room for a fourth; four do not. Two drones are the most.
    Fit(0, 1, COMPONENT_BOMB, 0);
    Fit(1, 1, COMPONENT_BOMB, 0);
    Fit(2, 1, COMPONENT_BOMB, 0);
    Fit(0, 0, COMPONENT_DRONE, 0);
    EXPECT_EQ(ListFittableKinds(Campaign(), Design()), offered);
    Fit(1, 0, COMPONENT_BOMB, 0);
    Fit(2, 0, COMPONENT_DRONE, 0);
    Fit(1, 2, COMPONENT_ENGINE, 0);
    EXPECT_EQ(ListFittableKinds(Campaign(), Design()), std::vector<int32_t>{COMPONENT_CARGO});
    EXPECT_EQ(GetFittingLimit(COMPONENT_SHIELD), 1);
    EXPECT_EQ(GetFittingLimit(COMPONENT_PROJECTILE_GUN), -1);
}

TEST_F(ShipDesignRulesTest, APodGoesBackOrIsSoldOnlyWhereItCanGo)
{
    MakeSparrow();
    Fit(0, 0, COMPONENT_PROJECTILE_GUN, 0, 1);
    Fit(2, 0, COMPONENT_MISSILE, 0, 2);
    Fit(0, 1, COMPONENT_CARGO, 0);
    const int32_t gun = PodAt(0, 0);
    const int32_t rack = PodAt(2, 0);
    const int32_t cargo = PodAt(0, 1);

    // A full store without cargo refuses the cargo pod: the pod keeps it.
    FillStore({COMPONENT_CARGO});
    EXPECT_FALSE(ReturnPodToStore(Campaign(), Design(), cargo));
    EXPECT_EQ(Design().m_pods[cargo].m_kind, COMPONENT_CARGO);
    EXPECT_EQ(Campaign().FindStoredItem(COMPONENT_CARGO, 0), -1);
    // A unit of an item the store holds counts up without a new record.
    const int record = Campaign().FindStoredItem(COMPONENT_PROJECTILE_GUN, 0);
    ASSERT_GE(record, 0);
    ASSERT_TRUE(ReturnPodToStore(Campaign(), Design(), gun));
    EXPECT_EQ(Campaign().GetState().store[record].count, 2);
    EXPECT_EQ(Design().m_pods[gun].m_kind, COMPONENT_NONE);
    EXPECT_FALSE(Design().IsInWeaponGroup(1, gun));
    EXPECT_FALSE(ReturnPodToStore(Campaign(), Design(), gun)) << "an empty pod";

    // Full stocks refuse the sale: the rack stays, nothing is paid.
    m_fixture.SetGems(GEM_STOCK_LIMIT, GEM_STOCK_LIMIT, GEM_STOCK_LIMIT);
    EXPECT_FALSE(SellPod(Campaign(), Database(), Design(), rack));
    EXPECT_EQ(Design().m_pods[rack].m_kind, COMPONENT_MISSILE);
    EXPECT_TRUE(Design().IsInWeaponGroup(2, rack));
    // With room it pays half the cost (missile rack: 30, 1, 0) and empties the pod.
    m_fixture.SetGems(0, 0, 0);
    ASSERT_TRUE(SellPod(Campaign(), Database(), Design(), rack));
    EXPECT_EQ(Campaign().GetState().gems.count[GEM_NORMAL], 15);
    EXPECT_EQ(Campaign().GetState().gems.count[GEM_RARE], 0); // half a gem is no gem
    EXPECT_EQ(Design().m_pods[rack].m_kind, COMPONENT_NONE);
    EXPECT_FALSE(Design().IsInWeaponGroup(2, rack));
}

TEST_F(ShipDesignRulesTest, AFullWeaponGroupRefusesAnotherPod)
{
    MakeSparrow();
    Fit(0, 0, COMPONENT_PROJECTILE_GUN, 0, 2);
    Fit(2, 0, COMPONENT_PROJECTILE_GUN, 0);
    SWeaponGroup& group = Design().GetWeaponGroup(1);
    for (int i = 0; i < WEAPON_GROUP_MAX; ++i)
        group.m_pods[group.m_count++] = 30 + i; // listed pods the design does not have
    EXPECT_FALSE(Design().AssignToWeaponGroup(1, CVector2D(0.0f, 0.0f)));
    EXPECT_TRUE(Design().IsInWeaponGroup(2, PodAt(0, 0)));
    EXPECT_EQ(group.m_count, WEAPON_GROUP_MAX);
}

TEST_F(ShipDesignRulesTest, DismantlingNeedsRoomForEveryPartAndSellingRefundsUntilFull)
{
    MakeSparrow();
    Fit(1, 2, COMPONENT_ENGINE, 1);
    Fit(0, 1, COMPONENT_GENERATOR, 1);
    // Two free records: the engine, the generator and the hull need three.
    FillStore({COMPONENT_ENGINE, COMPONENT_GENERATOR, COMPONENT_HULL});
    Campaign().GetState().store[0] = SStoreRecord();
    Campaign().GetState().store[1] = SStoreRecord();
    EXPECT_FALSE(DismantleDesign(Campaign(), Database(), Zones(), SLOT));
    EXPECT_NE(Database().GetShipConfig(SLOT), nullptr);
    EXPECT_EQ(Campaign().CountStoredItems(), CAMPAIGN_STORE_SIZE - 2);
    // With the engine and the generator held already, the hull alone needs a record.
    Campaign().GetState().store[3] = SStoreRecord{COMPONENT_ENGINE, 1, 1, true};
    Campaign().GetState().store[4] = SStoreRecord{COMPONENT_GENERATOR, 1, 2, true};
    Zones().SetCurrentShip(SLOT);
    ASSERT_TRUE(DismantleDesign(Campaign(), Database(), Zones(), SLOT));
    EXPECT_EQ(Database().GetShipConfig(SLOT), nullptr);
    EXPECT_EQ(Campaign().GetState().store[3].count, 2);
    EXPECT_EQ(Campaign().GetState().store[4].count, 3);
    EXPECT_GE(Campaign().FindStoredItem(COMPONENT_HULL, SPARROW), 0);
    EXPECT_EQ(Zones().GetCurrentShip(), FALLBACK_SHIP) << "the current ship went";

    // Selling: engine (20, 0, 0), generator (15, 0, 0) and hull (40, 0, 0) at half, into
    // a normal stock that holds 90: it fills up and the design goes all the same.
    m_fixture.ClearStore();
    MakeSparrow("Kestrel2");
    Fit(1, 2, COMPONENT_ENGINE, 1);
    Fit(0, 1, COMPONENT_GENERATOR, 1);
    std::strcpy(Campaign().GetPilot().ships[0].name, "Kestrel2");
    Campaign().GetPilot().ships[0].status = PILOT_SHIP_LISTED;
    m_fixture.SetGems(90, 0, 0);
    ASSERT_TRUE(SellDesign(Campaign(), Database(), Zones(), SLOT));
    EXPECT_EQ(Campaign().GetState().gems.count[GEM_NORMAL], GEM_STOCK_LIMIT);
    EXPECT_EQ(Database().GetShipConfig(SLOT), nullptr);
    EXPECT_EQ(Campaign().GetPilot().ships[0].status, PILOT_SHIP_REMOVED);
    // With every stock full nothing comes back, and the design still goes.
    MakeSparrow("Kestrel3");
    m_fixture.SetGems(GEM_STOCK_LIMIT, GEM_STOCK_LIMIT, GEM_STOCK_LIMIT);
    ASSERT_TRUE(SellDesign(Campaign(), Database(), Zones(), SLOT));
    EXPECT_EQ(Database().GetShipConfig(SLOT), nullptr);
    EXPECT_FALSE(SellDesign(Campaign(), Database(), Zones(), SLOT)) << "no design left";
}

TEST_F(ShipDesignRulesTest, FiguresCompareDemandWithSupply)
{
    MakeSparrow();
    struct SStep
    {
        int x, y;
        int32_t kind, definition;
        int group;
        const char* figures[DESIGN_FIGURE_COUNT];
    };
    // Sparrow 100 mass. Basic engine: mass 20, rated 220, 20 energy. Small generator:
    // mass 15, 40 a second. Pulse gun: mass 10, 10 energy. Shield: mass 20, charges 12
    // a second. Battery: mass 10, holds 100. Beam: mass 10.
    const SStep steps[] = {
        {1, 2, COMPONENT_ENGINE, 1, 0, {"120/220", "20/0!", "20/0!", "0", "0", "no", "no"}},
        {0, 1, COMPONENT_GENERATOR, 1, 0, {"135/220", "20/40", "20/40", "0", "0", "no", "yes"}},
        {0, 0, COMPONENT_PROJECTILE_GUN, 0, 1, {"145/220", "20/40", "30/40", "1", "0", "no", "yes"}},
        // Demand equal to supply is no shortage.
        {2, 0, COMPONENT_PROJECTILE_GUN, 0, 2, {"155/220", "20/40", "40/40", "1", "1", "no", "yes"}},
        {1, 1, COMPONENT_GRAVITY_BEAM, 0, 0, {"165/220", "20/40", "40/40", "1", "1", "yes", "yes"}},
        {2, 1, COMPONENT_SHIELD, 0, 0, {"185/220", "20/40", "52/40!", "1", "1", "yes", "yes"}},
        {1, 0, COMPONENT_BATTERY, 0, 0, {"195/220", "20/40", "52/140", "1", "1", "yes", "yes"}},
    };
    for (const SStep& step : steps)
    {
        Fit(step.x, step.y, step.kind, step.definition, step.group);
        const SDesignFigures figures = ComputeDesignFigures(Design(), Database());
        for (int i = 0; i < DESIGN_FIGURE_COUNT; ++i)
            EXPECT_EQ(Figure(figures, i), step.figures[i]) << "kind " << step.kind << ", figure " << i;
    }
    // A heavy engine rated for more than the mass; a mass above the rating is marked.
    Fit(1, 2, COMPONENT_ENGINE, 0); // the pod's engine: rated 60, 4 energy
    const SDesignFigures figures = ComputeDesignFigures(Design(), Database());
    EXPECT_EQ(Figure(figures, FIGURE_MASS), "180/60!");
    EXPECT_EQ(Figure(figures, FIGURE_ENGINE_ENERGY), "4/40");
}

TEST(ShipDesignCondition, PercentOfTheHullNeverDividesByZero)
{
    EXPECT_EQ(GetConditionPercent(60, 120), 50);
    EXPECT_EQ(GetConditionPercent(119, 120), 99);
    EXPECT_EQ(GetConditionPercent(120, 120), 100);
    EXPECT_EQ(GetConditionPercent(50, 0), 0);
    EXPECT_EQ(GetConditionPercent(50, -4), 0);
}
} // namespace
