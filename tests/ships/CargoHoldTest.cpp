// What the cargo hold counts for each collectable the gravity beam brings in.

#include "ships/CargoHold.h"
#include "tests/support/ships/ShipWorldHarness.h"
#include "world/AsteroidKinds.h"

#include <gtest/gtest.h>

namespace
{
class CCollectable : public CGameObject
{
public:
    CCollectable(int32_t kind, int32_t spawner) : CGameObject(OBJECT_ASTEROID), m_kind(kind), m_spawner(spawner) {}
    int32_t GetAsteroidKind() const override { return m_kind; }
    int32_t GetSpawnerType() const override { return m_spawner; }

private:
    int32_t m_kind;
    int32_t m_spawner;
};
} // namespace

TEST(CargoHold, EachKindAddsItsItemsUpToTheRoomLeft)
{
    struct SCase
    {
        const char* name;
        int32_t kind;
        int32_t zone;
        int32_t loadBefore; // ordinary gems already held, of 25
        int32_t normal, rare, veryRare; // after
        int32_t load;
    } cases[] = {
        {"a gem in the first zone", ASTEROID_NORMAL_GEM, 0, 0, 1, 0, 0, 1},
        {"two beyond it", ASTEROID_RARE_GEM, 1, 0, 0, 2, 0, 2},
        {"one when one place is left", ASTEROID_VERY_RARE_GEM, 2, 24, 24, 0, 1, 25},
        {"a large gem fills up to 5", ASTEROID_NORMAL_GEM_LARGE, 0, 0, 5, 0, 0, 5},
        {"... or the room left", ASTEROID_RARE_GEM_LARGE, 0, 22, 22, 3, 0, 25},
        {"nothing once full", ASTEROID_NORMAL_GEM, 1, 25, 25, 0, 0, 25},
        {"a rock adds nothing", ASTEROID_SMALL, 0, 3, 3, 0, 0, 3},
    };
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(test.name);
        SCargoHold hold;
        hold.m_normalGems = test.loadBefore;
        hold.UpdateLoad();
        hold.AddItem(test.kind, -1, 0, test.zone);
        EXPECT_EQ(hold.m_normalGems, test.normal);
        EXPECT_EQ(hold.m_rareGems, test.rare);
        EXPECT_EQ(hold.m_veryRareGems, test.veryRare);
        EXPECT_EQ(hold.m_load, test.load);
    }
}

TEST(CargoHold, CrewAliensAndPodsAreCountedApart)
{
    CShipWorldHarness harness;
    ASSERT_TRUE(harness.StartLevel());
    SCargoHold hold;
    hold.AddItem(ASTEROID_CREW_MAN, -1, 0, 0);
    hold.AddItem(ASTEROID_FRIENDLY_ALIEN, -1, 0, 0);
    hold.AddItem(ASTEROID_WRECK_POD, -1, 1, 0);
    hold.AddItem(ASTEROID_DRIVE_POD, -1, 0, 0);
    EXPECT_EQ(hold.m_crew, 1);
    EXPECT_EQ(hold.m_aliens, 1);
    EXPECT_FALSE(hold.m_specialCargo[0]);
    EXPECT_TRUE(hold.m_specialCargo[1]);
    EXPECT_TRUE(hold.m_drive);
    EXPECT_EQ(hold.m_load, 0) << "none of these fill the hold";
    // A pod the lost ship dropped is salvaged; any other is found, and the director hears of it.
    hold.Add(CCollectable(ASTEROID_EQUIPMENT_POD, OBJECT_PLAYER_SHIP));
    hold.Add(CCollectable(ASTEROID_EQUIPMENT_POD, -1));
    EXPECT_EQ(hold.m_salvagedEquipment, 1);
    EXPECT_EQ(hold.m_foundEquipment, 1);
    EXPECT_EQ(hold.m_load, 2);
    EXPECT_EQ(harness.GetDirector().m_podsSalvaged, 1);
    EXPECT_EQ(harness.GetDirector().m_podsFound, 1);
}

TEST(CargoHold, SurvivalScoresInstead)
{
    CShipWorldHarness harness;
    ASSERT_TRUE(harness.StartLevel());
    harness.GetGame().GetRun().survival = true;
    SCargoHold hold;
    const int32_t kinds[] = {ASTEROID_NORMAL_GEM, ASTEROID_NORMAL_GEM_LARGE, ASTEROID_RARE_GEM,
                             ASTEROID_RARE_GEM_LARGE, ASTEROID_VERY_RARE_GEM, ASTEROID_VERY_RARE_GEM_LARGE,
                             ASTEROID_WRECK_POD, ASTEROID_DRIVE_POD, ASTEROID_EQUIPMENT_POD, ASTEROID_CREW_MAN};
    for (int32_t kind : kinds)
        hold.Add(CCollectable(kind, -1));
    EXPECT_EQ(harness.GetGame().GetRun().survivalScore, 1 + 2 + 3 + 4 + 5 + 6 + 20 + 30 + 10);
    EXPECT_EQ(hold.m_load, 0);
    EXPECT_EQ(hold.m_crew, 0);
}
