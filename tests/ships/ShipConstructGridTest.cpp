#include "core/RealTimeClock.h"
#include "ships/ComponentStoreLink.h"
#include "ships/ShipConstructGrid.h"
#include "tests/ships/ShipFixtures.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

namespace
{
// The grid's hull, slot by slot (x, y, exclude, specific, internal):
//   (2,1) NONE NONE internal      (1,1) NONE NONE external     (3,1) NONE NONE external
//   (1,2) NONE NONE internal      (2,2) NONE NONE internal     (3,2) NONE DRONE external
//   (1,3) NONE ANY_WEAPON ext.    (2,3) NONE ENGINE external   (3,3) BOMB NONE external
//   (10,1): beyond the grid, never used.
// Its bounding box on the grid is x 1..3, y 1..3.
const char* const GRID_SLOTS[][5] = {
    {"2, 1", "NONE", "NONE", "YES"},       {"1, 1", "NONE", "NONE", "NO"},  {"3, 1", "NONE", "NONE", "NO"},
    {"1, 2", "NONE", "NONE", "YES"},       {"2, 2", "NONE", "NONE", "YES"}, {"3, 2", "NONE", "DRONE", "NO"},
    {"1, 3", "NONE", "ANY_WEAPON", "NO"},  {"2, 3", "NONE", "ENGINE", "NO"}, {"3, 3", "BOMB", "NONE", "NO"},
    {"10, 1", "NONE", "NONE", "NO"},
};

std::string HullWithSlots(const std::string& ident, const std::vector<std::string>& slotBlocks)
{
    std::string keys = "gridSize\t10, 10\nnumPods\t" + std::to_string(slotBlocks.size()) + "\n";
    for (size_t i = 0; i < slotBlocks.size(); ++i)
        keys += "pod" + std::to_string(i) + "\n{\n" + slotBlocks[i] + "}\n";
    keys += "bodySprite\n{\nspriteFile\tdummy\nwidth\t32\nheight\t32\nnumFrames\t1\n}\n"
            "collision\n{\nnumObj\t1\nc0\n{\ntype\trootCircle\nradius\t16\noffset\t0, 0\n}\n}\n"
            "deathEffect\tboom\ncollisionContactEffect\tspark\n";
    return ComponentSection("HULL", ident, keys);
}

std::string SlotBlock(const char* pos, const char* exclude, const char* specific, const char* internal)
{
    return std::string("pos\t") + pos + "\nexclude\t" + exclude + "\nspecific\t" + specific + "\ninternal\t" +
           internal + "\n";
}

// A component of the shape (the fixture's sections are all ONE).
std::string Shaped(const std::string& type, const std::string& ident, const std::string& shape,
                   const std::string& ownKeys = "")
{
    std::string text = ComponentSection(type, ident, ownKeys);
    const std::string one = "podRequirements\tONE";
    text.replace(text.find(one), one.size(), "podRequirements\t" + shape);
    return text;
}

// Definition index 0 of each kind but where noted.
std::string GridComponents()
{
    std::vector<std::string> slots;
    for (const auto& slot : GRID_SLOTS)
        slots.push_back(SlotBlock(slot[0], slot[1], slot[2], slot[3]));
    std::vector<std::string> big;
    for (int i = 0; i < 35; ++i)
        big.push_back(SlotBlock((std::to_string(i % 7) + ", " + std::to_string(i / 7)).c_str(), "NONE", "NONE", "NO"));
    std::string text = HullWithSlots("grid_hull", slots) + HullWithSlots("big_hull", big) +
                       HullWithSlots("sparse_hull", {SlotBlock("0, 0", "NONE", "NONE", "NO"),
                                                     SlotBlock("2, 2", "NONE", "NONE", "NO")});
    text += Shaped("WEAPON_PROJECTILE_GUN", "gun_one", "ONE");         // gun 0
    text += Shaped("WEAPON_PROJECTILE_GUN", "gun_wide", "TWO_HORIZ");  // gun 1
    text += Shaped("WEAPON_LASER", "laser_tall", "TWO_VERT");
    text += Shaped("ENGINE", "engine_one", "ONE",
                   "thrust\t1\ninertialDampening\t1\nemergencyBoost\t1\nmassDampingRated\t1\nvelocityLimit\t1\n"
                   "energyRequirement\t1\n");
    text += Shaped("ENGINE", "engine_wide", "TWO_HORIZ",  // engine 1
                   "thrust\t1\ninertialDampening\t1\nemergencyBoost\t1\nmassDampingRated\t1\nvelocityLimit\t1\n"
                   "energyRequirement\t1\n");
    text += Shaped("GENERATOR", "generator_square", "TWO_BY_TWO", "outputPerSec\t1\n");
    text += Shaped("BATTERY", "battery_one", "ONE");
    text += Shaped("BOMB", "bomb_one", "ONE");
    text += Shaped("DRONE", "drone_one", "ONE");
    text += Shaped("WEAPON_MISSILE", "missile_one", "ONE");
    return text;
}

class CFakeStore : public CComponentStoreLink
{
public:
    int32_t CountStoredItem(int32_t kind, int32_t definition) const override
    {
        auto found = m_items.find({kind, definition});
        return found == m_items.end() ? 0 : found->second;
    }
    bool TakeStoredItem(int32_t kind, int32_t definition) override
    {
        auto found = m_items.find({kind, definition});
        if (found == m_items.end() || found->second <= 0)
            return false;
        if (--found->second == 0)
            m_items.erase(found);
        return true;
    }
    std::map<std::pair<int32_t, int32_t>, int32_t> m_items;
};

class ShipConstructGridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetRealTimeClock(&m_clock);
        m_clock.Set(10000);
        m_database.SetStringTable(&GetFixtureStrings());
        ASSERT_TRUE(m_database.LoadComponentNodes(ParseText(GridComponents()), "grid")) << m_database.DescribeProblems();
        ASSERT_TRUE(m_database.LoadShipConfigNodes(
            ParseText(Design("Grid", 2, {}, {}, {}, "grid_hull") + Design("Big", 3, {}, {}, {}, "big_hull") +
                      Design("Sparse", 4, {}, {}, {}, "sparse_hull")),
            "designs"))
            << m_database.DescribeProblems();
        m_grid.SetDatabase(&m_database);
        m_grid.SetStore(&m_store);
        m_grid.Init(); // no sprite bank here: the sets stay empty, the logic runs
        m_grid.Open(2, CVector2D(22.0f, 37.0f));
    }
    void TearDown() override { SetRealTimeClock(nullptr); }

    CShipConfig& Design2() { return *m_database.GetShipConfig(2); }
    // One frame of input after the 250 ms pause.
    void Press(SGridInput input)
    {
        m_clock.Advance(CShipConstructGrid::INPUT_MS);
        m_grid.Update(input, m_clock.GetMs());
    }
    SGridInput Fire()
    {
        SGridInput input;
        input.fire = true;
        return input;
    }

    CManualClock m_clock;
    CShipComponentDatabase m_database;
    CFakeStore m_store;
    CShipConstructGrid m_grid;
};

TEST_F(ShipConstructGridTest, OpenPutsTheCursorOnTheFirstHullSlotAndTheTableKeepsItInTheHullsBox)
{
    EXPECT_EQ(m_grid.GetCursor().x, 2);
    EXPECT_EQ(m_grid.GetCursor().y, 1);
    struct
    {
        int x, y, toX, toY;
    } cases[] = {{0, 0, 1, 1}, {9, 9, 3, 3}, {2, 7, 2, 3}, {0, 2, 1, 2}, {2, 2, 2, 2}, {5, 0, 3, 1}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(m_grid.MapCell(c.x, c.y).x, c.toX) << c.x << "," << c.y;
        EXPECT_EQ(m_grid.MapCell(c.x, c.y).y, c.toY) << c.x << "," << c.y;
    }
    // Stepping past the box's edge leaves the cursor on the edge, whichever way.
    m_grid.SetCursor(1, 1);
    m_grid.StepCursor(-1, 0);
    m_grid.StepCursor(0, -1);
    EXPECT_EQ(m_grid.GetCursor().x, 1);
    EXPECT_EQ(m_grid.GetCursor().y, 1);
    m_grid.SetCursor(3, 3);
    m_grid.StepCursor(1, 0);
    m_grid.StepCursor(0, 1);
    EXPECT_EQ(m_grid.GetCursor().x, 3);
    EXPECT_EQ(m_grid.GetCursor().y, 3);
    m_grid.StepCursor(-1, 0);
    EXPECT_EQ(m_grid.GetCursor().x, 2);
}

TEST_F(ShipConstructGridTest, CanPlaceAtFollowsTheSlotRules)
{
    struct
    {
        const char* what;
        int x, y;
        EComponentKind kind;
        int32_t def;
        int dx, dy;
        bool expected;
    } cases[] = {
        {"one-cell gun, internal slot", 2, 1, COMPONENT_PROJECTILE_GUN, 0, 0, 0, false},
        {"one-cell gun, external slot", 1, 1, COMPONENT_PROJECTILE_GUN, 0, 0, 0, true},
        {"wide gun, left cell internal", 2, 1, COMPONENT_PROJECTILE_GUN, 1, 0, 0, true},
        {"wide gun, right cell external", 2, 1, COMPONENT_PROJECTILE_GUN, 1, 1, 0, true},
        {"wide gun, right cell internal", 1, 1, COMPONENT_PROJECTILE_GUN, 1, 1, 0, false},
        {"tall laser, internal top", 2, 1, COMPONENT_LASER, 0, 0, 0, true},
        {"tall laser, internal bottom", 2, 1, COMPONENT_LASER, 0, 0, 1, true},
        {"engine, left cell internal", 2, 1, COMPONENT_ENGINE, 0, 0, 0, false},
        {"wide engine, right cell internal", 1, 1, COMPONENT_ENGINE, 1, 1, 0, true},
        {"bomb, internal slot", 2, 2, COMPONENT_BOMB, 0, 0, 0, true},
        {"bomb, any-weapon slot", 1, 3, COMPONENT_BOMB, 0, 0, 0, false},
        {"bomb, excluded", 3, 3, COMPONENT_BOMB, 0, 0, 0, false},
        {"drone, drone slot", 3, 2, COMPONENT_DRONE, 0, 0, 0, true},
        {"drone, any-weapon slot", 1, 3, COMPONENT_DRONE, 0, 0, 0, false},
        {"gun, drone slot", 3, 2, COMPONENT_PROJECTILE_GUN, 0, 0, 0, false},
        {"gun, any-weapon slot", 1, 3, COMPONENT_PROJECTILE_GUN, 0, 0, 0, true},
        {"missile, any-weapon slot", 1, 3, COMPONENT_MISSILE, 0, 0, 0, true},
        {"battery, engine slot", 2, 3, COMPONENT_BATTERY, 0, 0, 0, false},
        {"engine, engine slot", 2, 3, COMPONENT_ENGINE, 0, 0, 0, true},
        {"battery, internal slot", 2, 2, COMPONENT_BATTERY, 0, 0, 0, true},
        {"no slot in the box", 1, 1, COMPONENT_BATTERY, 0, 0, -1, false},
        {"beyond the grid", 3, 1, COMPONENT_BATTERY, 0, 7, 0, false},
    };
    for (const auto& c : cases)
    {
        m_grid.SetCursor(c.x, c.y);
        EXPECT_EQ(m_grid.CanPlaceAt(c.kind, c.def, c.dx, c.dy), c.expected) << c.what;
    }
    // The slot beyond the grid is never found, though the hull lists it.
    EXPECT_EQ(m_grid.FindHullSlot(10, 1), nullptr);
    EXPECT_NE(m_grid.FindHullSlot(3, 1), nullptr);
}

TEST_F(ShipConstructGridTest, FootprintsOfTheFourShapesCoverTheirCells)
{
    CShipConfig& design = Design2();
    auto fit = [&](float x, float y, EComponentKind kind, int32_t def) {
        int32_t pod = design.FindPodAt(CVector2D(x, y));
        ASSERT_GE(pod, 0);
        design.m_pods[pod].m_kind = kind;
        design.m_pods[pod].m_defIndex = def;
    };
    fit(1, 1, COMPONENT_PROJECTILE_GUN, 1); // TWO_HORIZ: (1,1) (2,1)
    fit(3, 1, COMPONENT_LASER, 0);           // TWO_VERT: (3,1) (3,2)
    fit(1, 2, COMPONENT_GENERATOR, 0);       // TWO_BY_TWO: (1,2) (2,2) (1,3) (2,3)
    fit(3, 3, COMPONENT_BOMB, 0);            // ONE: (3,3)
    bool covered[10][10] = {};
    for (auto cell : {std::pair{1, 1}, {2, 1}, {3, 1}, {3, 2}, {1, 2}, {2, 2}, {1, 3}, {2, 3}, {3, 3}})
        covered[cell.second][cell.first] = true;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(m_grid.IsCellFree(x, y), !covered[y][x]) << x << "," << y;
    ASSERT_NE(m_grid.FindPodAt(2, 1), nullptr);
    EXPECT_EQ(m_grid.FindPodAt(2, 1)->m_kind, COMPONENT_NONE); // the slot's pod, under the gun's right cell
    EXPECT_EQ(m_grid.FindPodAt(1, 1)->m_kind, COMPONENT_PROJECTILE_GUN);
    EXPECT_EQ(m_grid.FindPodAt(0, 0), nullptr);
}

TEST_F(ShipConstructGridTest, PlacingTakesOneUnitAndJoinsTheKindsWeaponGroup)
{
    struct
    {
        int x, y;
        EComponentKind kind;
        int group;
    } cases[] = {{1, 1, COMPONENT_PROJECTILE_GUN, 1}, {1, 3, COMPONENT_MISSILE, 2}, {2, 2, COMPONENT_BOMB, 2},
                 {3, 2, COMPONENT_DRONE, 1}, {2, 3, COMPONENT_ENGINE, 0}};
    for (const auto& c : cases)
        m_store.m_items[{c.kind, 0}] = 2;
    for (const auto& c : cases)
    {
        m_grid.SetCursor(c.x, c.y);
        m_grid.SetSelection(c.kind, 0);
        // The key that chose the item does not place it at once.
        m_clock.Advance(100);
        m_grid.Update(Fire(), m_clock.GetMs());
        EXPECT_TRUE(m_grid.IsPlacing());
        Press(Fire());
        EXPECT_FALSE(m_grid.IsPlacing());
        EXPECT_TRUE(m_grid.IsFinished());
        EXPECT_TRUE(m_grid.IsPicked());
        m_grid.ClearPicked();
        const SShipPod* pod = m_grid.FindPodAt(c.x, c.y);
        ASSERT_NE(pod, nullptr);
        EXPECT_EQ(pod->m_kind, c.kind);
        EXPECT_EQ(m_store.CountStoredItem(c.kind, 0), 1);
        const int32_t index = static_cast<int32_t>(pod - Design2().m_pods);
        EXPECT_EQ(Design2().IsInWeaponGroup(1, index), c.group == 1) << c.kind;
        EXPECT_EQ(Design2().GetWeaponGroup(2).Contains(index), c.group == 2) << c.kind;
    }
}

TEST_F(ShipConstructGridTest, RefusedPlacementsLeaveDesignAndStoreUnchanged)
{
    auto snapshot = [&]() {
        std::string text;
        const CShipConfig& d = Design2();
        for (int i = 0; i < d.m_podCount; ++i)
            text += std::to_string(d.m_pods[i].m_kind) + "/" + std::to_string(d.m_pods[i].m_defIndex) + " ";
        for (int g = 1; g <= 2; ++g)
            text += "g" + std::to_string(d.GetWeaponGroup(g).m_count);
        return text;
    };
    // Group 1 full: twelve pod numbers listed.
    SWeaponGroup& group1 = Design2().GetWeaponGroup(1);
    for (int i = 0; i < WEAPON_GROUP_MAX; ++i)
        group1.m_pods[group1.m_count++] = 20 + i;
    m_store.m_items[{COMPONENT_PROJECTILE_GUN, 0}] = 1;
    m_store.m_items[{COMPONENT_BATTERY, 0}] = 1;

    struct
    {
        const char* what;
        int x, y;
        EComponentKind kind;
    } cases[] = {
        {"gun into a full group", 1, 1, COMPONENT_PROJECTILE_GUN},
        {"item not in store", 1, 1, COMPONENT_ENGINE},
        {"slot refuses it", 2, 1, COMPONENT_PROJECTILE_GUN},
    };
    for (const auto& c : cases)
    {
        const std::string before = snapshot();
        m_grid.SetCursor(c.x, c.y);
        m_grid.SetSelection(c.kind, 0);
        Press(Fire());
        EXPECT_EQ(snapshot(), before) << c.what;
        EXPECT_TRUE(m_grid.IsPlacing()) << c.what;
        EXPECT_FALSE(m_grid.IsPicked()) << c.what;
        EXPECT_EQ(m_store.CountStoredItem(COMPONENT_PROJECTILE_GUN, 0), 1) << c.what;
    }
    // A cell already covered refuses too, and a covered neighbour refuses a wide part.
    m_grid.SetCursor(2, 2);
    m_grid.SetSelection(COMPONENT_BATTERY, 0);
    Press(Fire());
    ASSERT_EQ(m_grid.FindPodAt(2, 2)->m_kind, COMPONENT_BATTERY);
    m_store.m_items[{COMPONENT_GENERATOR, 0}] = 1;
    m_grid.SetCursor(1, 2);
    m_grid.SetSelection(COMPONENT_GENERATOR, 0);
    Press(Fire());
    EXPECT_FALSE(m_grid.IsAllowed());
    EXPECT_EQ(m_grid.FindPodAt(1, 2)->m_kind, COMPONENT_NONE);
    EXPECT_EQ(m_store.CountStoredItem(COMPONENT_GENERATOR, 0), 1);
}

TEST_F(ShipConstructGridTest, InputComesAtMostEvery250MsAndPicksOnlyComponents)
{
    m_grid.SetFinished(false);
    SGridInput right;
    right.right = true;
    m_grid.SetCursor(1, 1);
    Press(right);
    EXPECT_EQ(m_grid.GetCursor().x, 2);
    m_clock.Advance(240);
    m_grid.Update(right, m_clock.GetMs());
    EXPECT_EQ(m_grid.GetCursor().x, 2);
    m_clock.Advance(10);
    m_grid.Update(right, m_clock.GetMs());
    EXPECT_EQ(m_grid.GetCursor().x, 3);

    // Fire over an empty slot picks nothing; over a component it does.
    Press(Fire());
    EXPECT_FALSE(m_grid.IsPicked());
    Design2().m_pods[Design2().FindPodAt(CVector2D(3, 1))].m_kind = COMPONENT_BATTERY;
    Press(Fire());
    EXPECT_TRUE(m_grid.IsPicked());

    // While finished nothing is taken.
    m_grid.ClearPicked();
    m_grid.SetFinished(true);
    Press(Fire());
    EXPECT_FALSE(m_grid.IsPicked());

    // The second button follows the input; the pointer jumps to a pod within 13 units
    // of its cell's centre (cell (1,3) lies at (22 + 25 + 30.5, 37 + 75 + 15.5)).
    m_grid.GiveInput(m_clock.GetMs());
    SGridInput pointer;
    pointer.second = true;
    pointer.pointerDown = true;
    pointer.pointerX = 77.5f + 9.0f;
    pointer.pointerY = 127.5f - 9.0f;
    Press(pointer);
    EXPECT_TRUE(m_grid.IsSecondButton());
    EXPECT_EQ(m_grid.GetCursor().x, 1);
    EXPECT_EQ(m_grid.GetCursor().y, 3);
    pointer.second = false;
    pointer.pointerX = 127.5f + 13.5f; // cell (3,3) is 13.5 away
    pointer.pointerY = 127.5f;
    Press(pointer);
    EXPECT_FALSE(m_grid.IsSecondButton());
    EXPECT_EQ(m_grid.GetCursor().x, 1);
}

TEST_F(ShipConstructGridTest, DrawingUsesOneFramePerSlotOnTheGridAndCapsEachSet)
{
    Design2().m_pods[Design2().FindPodAt(CVector2D(1, 1))].m_kind = COMPONENT_PROJECTILE_GUN;
    Design2().m_pods[Design2().FindPodAt(CVector2D(1, 1))].m_defIndex = 1;
    m_grid.SetFinished(true);
    m_grid.Update(SGridInput(), m_clock.GetMs());
    EXPECT_EQ(m_grid.GetUsedCount(CShipConstructGrid::SET_FRAME_16X16), 9); // the tenth slot lies beyond
    EXPECT_EQ(m_grid.GetUsedCount(CShipConstructGrid::SET_ICONS_32X16), 1);
    EXPECT_EQ(m_grid.GetUsedCount(CShipConstructGrid::SET_ICONS_16X16), 0);
    // Not finished: the highlight takes one more single-cell frame.
    m_grid.SetFinished(false);
    m_grid.Update(SGridInput(), m_clock.GetMs());
    EXPECT_EQ(m_grid.GetUsedCount(CShipConstructGrid::SET_FRAME_16X16), 10);

    // 35 slots and the highlight: the set holds 35, the extra one is left out.
    m_grid.Open(3, CVector2D(22.0f, 37.0f));
    m_grid.Update(SGridInput(), m_clock.GetMs());
    EXPECT_EQ(m_grid.GetUsedCount(CShipConstructGrid::SET_FRAME_16X16), CShipConstructGrid::SET_INSTANCES);
}

TEST_F(ShipConstructGridTest, HighlightColoursPulseByCellAndPlacement)
{
    m_grid.SetFinished(false);
    Design2().m_pods[Design2().FindPodAt(CVector2D(3, 1))].m_kind = COMPONENT_BATTERY;
    // The first frame starts a pulse in the falling phase: full intensity at its start.
    const uint32_t t = 100000;
    struct
    {
        int slot, x, y;
        uint32_t colour;
    } cases[] = {
        {2, 3, 1, 0xFFFFFFFFu}, // a component
        {2, 1, 1, 0xFF00FF00u}, // an empty hull slot
        {4, 1, 1, 0xFFFF0000u}, // a cell of the hull's box without a slot
    };
    for (const auto& c : cases)
    {
        m_grid.Open(c.slot, CVector2D());
        m_grid.SetCursor(c.x, c.y);
        m_grid.Update(SGridInput(), t);
        EXPECT_EQ(m_grid.GetHighlightColour(), c.colour) << c.slot << ": " << c.x << "," << c.y;
    }
    // 100 ms later the intensity is 1 - 0.4; at 250 ms the rising phase starts from 0.
    m_grid.Update(SGridInput(), t + 100);
    EXPECT_EQ(m_grid.GetHighlightColour(), 0xFF990000u);
    m_grid.Update(SGridInput(), t + 250);
    EXPECT_EQ(m_grid.GetHighlightColour(), 0xFF000000u);
    m_grid.Update(SGridInput(), t + 350);
    EXPECT_EQ(m_grid.GetHighlightColour(), 0xFF660000u);

    // Placing: allowed green-ish, refused red-ish (at full intensity).
    m_grid.Open(2, CVector2D());
    m_store.m_items[{COMPONENT_BATTERY, 0}] = 1;
    m_grid.SetSelection(COMPONENT_BATTERY, 0);
    m_grid.SetCursor(2, 2);
    m_grid.Update(SGridInput(), t + 500);
    EXPECT_TRUE(m_grid.IsAllowed());
    EXPECT_EQ(m_grid.GetHighlightColour(), 0xFF80FF80u);
    m_grid.SetCursor(3, 1); // covered by the battery there
    m_grid.Update(SGridInput(), t + 500);
    EXPECT_FALSE(m_grid.IsAllowed());
    EXPECT_EQ(m_grid.GetHighlightColour(), 0xFFFF8080u);
}
} // namespace
