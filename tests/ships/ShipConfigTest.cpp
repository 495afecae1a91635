#include "core/DataFile.h"
#include "core/DataTextWriter.h"
#include "ships/ShipComponentDatabase.h"
#include "tests/ships/ShipFixtures.h"
#include "tests/support/CurrentDir.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
// A full design in slot 1: gun (0,0), generator (1,0), engine (0,1), beam (1,1).
std::string FullDesign(int slot = 1, const std::string& ident = "Full")
{
    return Design(ident, slot,
                  {"0, 0|WEAPON_PROJECTILE_GUN|gun_a", "1, 0|GENERATOR|generator_a", "0, 1|ENGINE|engine_a",
                   "1, 1|GRAVITY_BEAM|beam_a"},
                  {0}, {});
}

void ExpectSameDesign(const CShipConfig& a, const CShipConfig& b)
{
    EXPECT_EQ(a.m_ident, b.m_ident);
    EXPECT_EQ(a.m_hull, b.m_hull);
    EXPECT_EQ(a.m_storageSlot, b.m_storageSlot);
    ASSERT_EQ(a.m_podCount, b.m_podCount);
    for (int i = 0; i < a.m_podCount; ++i)
    {
        EXPECT_EQ(a.m_pods[i].m_topLeft.x, b.m_pods[i].m_topLeft.x) << i;
        EXPECT_EQ(a.m_pods[i].m_topLeft.y, b.m_pods[i].m_topLeft.y) << i;
        EXPECT_EQ(a.m_pods[i].m_kind, b.m_pods[i].m_kind) << i;
        EXPECT_EQ(a.m_pods[i].m_defIndex, b.m_pods[i].m_defIndex) << i;
    }
    for (int g = 1; g <= 2; ++g)
    {
        ASSERT_EQ(a.GetWeaponGroup(g).m_count, b.GetWeaponGroup(g).m_count);
        for (int i = 0; i < a.GetWeaponGroup(g).m_count; ++i)
            EXPECT_EQ(a.GetWeaponGroup(g).m_pods[i], b.GetWeaponGroup(g).m_pods[i]);
    }
}

std::string GroupText(const SWeaponGroup& group)
{
    std::string text;
    for (int i = 0; i < group.m_count; ++i)
        text += std::to_string(group.m_pods[i]) + " ";
    return text;
}
} // namespace

class ShipConfigTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string extra = HullSection("hull_b", 50) +
                            ComponentSection("GUN_PLACEHOLDER", "skip", "") +
                            ComponentSection("WEAPON_PROJECTILE_GUN", "gun_b", "energyRequirement\t3\n", 7) +
                            ComponentSection("STATION_VAC", "vac_a", "");
        m_database.SetStringTable(&GetFixtureStrings());
        ASSERT_TRUE(m_database.LoadComponentNodes(ParseText(StandardComponents() + extra), "parts"))
            << m_database.DescribeProblems();
    }

    bool LoadDesigns(const std::string& text) { return m_database.LoadShipConfigNodes(ParseText(text), "ships.txt"); }

    CShipComponentDatabase m_database;
};

TEST_F(ShipConfigTest, ReadsEveryKeyAndNamesResolveToIndices)
{
    ASSERT_TRUE(LoadDesigns(Design("Second", 2,
                                   {"0, 0|WEAPON_PROJECTILE_GUN|gun_b", "1, 0|STATION_VAC|vac_a", "0, 1|ENGINE|engine_a",
                                    "1, 1|NONE|"},
                                   {0}, {1}, "hull_b")));
    const CShipConfig* config = m_database.GetShipConfig(2);
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(config->m_ident, "Second");
    EXPECT_EQ(config->m_hull, 1);
    EXPECT_EQ(config->m_podCount, 4);
    EXPECT_EQ(config->m_pods[0].m_kind, COMPONENT_PROJECTILE_GUN);
    EXPECT_EQ(config->m_pods[0].m_defIndex, 1);
    EXPECT_EQ(config->m_pods[1].m_kind, COMPONENT_STATION_VAC);
    EXPECT_EQ(config->m_pods[3].m_kind, COMPONENT_NONE);
    EXPECT_EQ(config->m_pods[3].m_topLeft.y, 1.0f);
    EXPECT_EQ(GroupText(config->m_group1), "0 ");
    EXPECT_EQ(GroupText(config->m_group2), "1 ");
    EXPECT_EQ(m_database.GetShipConfigByIdent("Second"), config);
    EXPECT_EQ(m_database.GetShipConfigByIdent("second"), nullptr);
    EXPECT_EQ(m_database.GetConfigCount(), 1);
}

TEST_F(ShipConfigTest, UnknownHullAndComponentIdentsGiveTheFirstDefinition)
{
    ASSERT_TRUE(LoadDesigns(Design("Odd", 1, {"0, 0|WEAPON_PROJECTILE_GUN|gun_zz", "1, 0|ENGINE|"}, {}, {}, "hull_zz")));
    const CShipConfig* config = m_database.GetShipConfig(1);
    EXPECT_EQ(config->m_hull, 0);
    EXPECT_EQ(config->m_pods[0].m_defIndex, 0);
    EXPECT_EQ(config->m_pods[1].m_defIndex, 0);
}

TEST_F(ShipConfigTest, DesignsWriteAndReadBackIdenticalPlainAndScrambled)
{
    ASSERT_TRUE(LoadDesigns(FullDesign(1) +
                            Design("Vac ship", 6, {"1, 1|STATION_VAC|vac_a", "0, 0|WEAPON_PROJECTILE_GUN|gun_b"}, {1},
                                   {0}, "hull_b")));
    CTempDir dir;
    CCurrentDir inside(dir.GetPath());
    for (bool scrambled : {false, true})
    {
        SetDataTreeScramble(scrambled);
        ASSERT_TRUE(m_database.SaveShipConfigs("ships.txt"));
        SetDataTreeScramble(false);
        std::string bytes;
        ASSERT_TRUE(dir.ReadFile("ships.txt", bytes));
        ASSERT_GE(bytes.size(), 2u);
        EXPECT_EQ(static_cast<uint8_t>(bytes[0]) | static_cast<uint8_t>(bytes[1]) << 8,
                  scrambled ? DATA_MARKER_SCRAMBLED : DATA_MARKER_UTF16);

        CShipComponentDatabase again;
        again.SetStringTable(&GetFixtureStrings());
        ASSERT_TRUE(again.LoadComponentNodes(ParseText(StandardComponents() + HullSection("hull_b", 50) +
                                                       ComponentSection("WEAPON_PROJECTILE_GUN", "gun_b", "") +
                                                       ComponentSection("STATION_VAC", "vac_a", "")),
                                             "parts"));
        ASSERT_TRUE(again.LoadShipConfigs("ships.txt")) << again.DescribeProblems();
        EXPECT_EQ(again.GetConfigCount(), 2);
        for (int slot : {1, 6})
        {
            ASSERT_NE(again.GetShipConfig(slot), nullptr) << slot;
            ExpectSameDesign(*m_database.GetShipConfig(slot), *again.GetShipConfig(slot));
        }
        // The hull's completed pods were written too, so nothing is added on reading.
        EXPECT_EQ(again.GetShipConfig(6)->m_podCount, 4);
    }
}

TEST_F(ShipConfigTest, TheWriterEmitsTheFormatsKeysInOrder)
{
    ASSERT_TRUE(LoadDesigns(FullDesign(1)));
    std::unique_ptr<CDataTree> tree(m_database.GetShipConfig(1)->Write());
    std::string names;
    for (size_t i = 0; i < tree->GetChildCount(); ++i)
        for (char16_t unit : tree->GetChild(i)->GetName())
            names += static_cast<char>(unit);
    EXPECT_EQ(names, "identhullnumPodsstorageSlotpod0pod1pod2pod3weaponGroup1weaponGroup2");
    const CDataTree* pod = tree->FindBlock("pod2");
    ASSERT_NE(pod, nullptr);
    EXPECT_EQ(pod->FindValue("topLeftPos")->GetText(), u"0.000000, 1.000000");
    EXPECT_EQ(pod->FindValue("type")->GetText(), u"ENGINE");
    EXPECT_EQ(pod->FindValue("ident")->GetText(), u"engine_a");
    EXPECT_EQ(tree->FindValue("hull")->GetText(), u"hull_a");
}

TEST_F(ShipConfigTest, FewerPodsThanSlotsAreCompletedInHullOrderAfterTheListedOnes)
{
    // Slots of hull_a: (0,0) (1,0) (0,1) (1,1). The design lists (1,1) and (0,0).
    ASSERT_TRUE(LoadDesigns(Design("Short", 1, {"1, 1|WEAPON_PROJECTILE_GUN|gun_a", "0, 0|ENGINE|engine_a"}, {0})));
    const CShipConfig* config = m_database.GetShipConfig(1);
    ASSERT_EQ(config->m_podCount, 4);
    EXPECT_EQ(config->m_pods[0].m_kind, COMPONENT_PROJECTILE_GUN);
    EXPECT_EQ(config->m_pods[1].m_kind, COMPONENT_ENGINE);
    EXPECT_EQ(config->m_pods[2].m_kind, COMPONENT_NONE);
    EXPECT_EQ(config->m_pods[2].m_topLeft.x, 1.0f);
    EXPECT_EQ(config->m_pods[2].m_topLeft.y, 0.0f);
    EXPECT_EQ(config->m_pods[3].m_topLeft.x, 0.0f);
    EXPECT_EQ(config->m_pods[3].m_topLeft.y, 1.0f);
    EXPECT_EQ(GroupText(config->m_group1), "0 ");
}

TEST_F(ShipConfigTest, CountsBeyondTheTablesAreCutAndStrayItemsDropped)
{
    std::vector<std::string> pods;
    for (int i = 0; i < 40; ++i)
        pods.push_back(std::to_string(i) + ", 5|CARGO|cargo_a");
    std::string text = Design("Big", 1, pods, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13});
    ASSERT_TRUE(LoadDesigns(text));
    const CShipConfig* config = m_database.GetShipConfig(1);
    EXPECT_EQ(config->m_podCount, SHIP_CONFIG_POD_MAX);
    EXPECT_EQ(config->m_group1.m_count, WEAPON_GROUP_MAX);
    EXPECT_EQ(config->m_pods[34].m_topLeft.x, 34.0f);

    // Items naming no pod, and negative counts.
    ASSERT_TRUE(LoadDesigns(Design("Stray", 2, {"0, 0|ENGINE|engine_a"}, {7, 0, -1, 3, 4}, {}, "hull_a")));
    EXPECT_EQ(GroupText(m_database.GetShipConfig(2)->m_group1), "0 3 ");
    std::string negative = Design("Negative", 3, {"0, 0|ENGINE|engine_a"}, {}, {}, "hull_a", -4);
    ASSERT_TRUE(LoadDesigns(negative));
    // Nothing listed: the hull's four slots make the pods.
    EXPECT_EQ(m_database.GetShipConfig(3)->m_podCount, 4);
    EXPECT_EQ(m_database.GetShipConfig(3)->m_pods[0].m_kind, COMPONENT_NONE);
}

TEST_F(ShipConfigTest, ADesignOutsideTheSlotsIsSkippedAndAReplacedOneDeleted)
{
    ASSERT_TRUE(LoadDesigns(FullDesign(8, "High") + FullDesign(-1, "Low") + FullDesign(2, "First") +
                            FullDesign(2, "Second") + FullDesign(0, "Pod")));
    EXPECT_EQ(m_database.GetConfigCount(), 2);
    EXPECT_EQ(m_database.GetShipConfig(2)->m_ident, "Second");
    EXPECT_EQ(m_database.GetShipConfigByIdent("First"), nullptr);
    EXPECT_EQ(m_database.GetShipConfigByIdent("High"), nullptr);
    ASSERT_TRUE(LoadDesigns(FullDesign(2, "Third")));
    EXPECT_EQ(m_database.GetConfigCount(), 2);
    EXPECT_EQ(m_database.GetShipConfig(2)->m_ident, "Third");
}

TEST_F(ShipConfigTest, ADamagedDesignRefusesTheWholeFile)
{
    ASSERT_TRUE(LoadDesigns(FullDesign(1, "Kept")));
    const std::string bad[] = {
        FullDesign(3, "New") + Design("Broken", 4, {"0, 0|WINGS|x"}),
        FullDesign(3, "New") + Design("Holes", 4, {"0, 0|ENGINE|engine_a"}, {}, {}, "hull_a", 2),
    };
    for (const std::string& text : bad)
    {
        EXPECT_FALSE(LoadDesigns(text));
        EXPECT_NE(m_database.DescribeProblems().find("ships.txt"), std::string::npos) << m_database.DescribeProblems();
        EXPECT_EQ(m_database.GetConfigCount(), 1);
        EXPECT_EQ(m_database.GetShipConfig(3), nullptr);
        EXPECT_EQ(m_database.GetShipConfig(1)->m_ident, "Kept");
    }
    EXPECT_NE(m_database.DescribeProblems().find("pod1"), std::string::npos) << m_database.DescribeProblems();
    EXPECT_FALSE(m_database.LoadShipConfigs("missing-ships.txt"));
}

TEST_F(ShipConfigTest, WeaponGroupMovesAndRemovals)
{
    ASSERT_TRUE(LoadDesigns(FullDesign(1)));
    CShipConfig& config = *m_database.GetShipConfig(1);
    // (0,0) is pod 0, in group 1; (1,1) pod 3; (0,1) pod 2.
    EXPECT_TRUE(config.AssignToWeaponGroup(2, CVector2D(1, 1)));
    EXPECT_TRUE(config.AssignToWeaponGroup(2, CVector2D(0, 1)));
    EXPECT_TRUE(config.AssignToWeaponGroup(2, CVector2D(0, 0)));
    EXPECT_EQ(GroupText(config.m_group1), "");
    EXPECT_EQ(GroupText(config.m_group2), "3 2 0 ");
    EXPECT_TRUE(config.AssignToWeaponGroup(1, CVector2D(0, 1)));
    EXPECT_TRUE(config.AssignToWeaponGroup(1, CVector2D(0, 1)));
    EXPECT_EQ(GroupText(config.m_group1), "2 ");
    EXPECT_EQ(GroupText(config.m_group2), "3 0 ");
    EXPECT_TRUE(config.IsInWeaponGroup(1, 2));
    EXPECT_TRUE(config.IsInWeaponGroup(7, 3));
    EXPECT_FALSE(config.IsInWeaponGroup(1, 3));
    // No pod there: nothing changes.
    EXPECT_FALSE(config.AssignToWeaponGroup(1, CVector2D(5, 5)));
    EXPECT_EQ(GroupText(config.m_group1), "2 ");

    config.RemovePodFromWeaponGroup(1, 1);
    EXPECT_EQ(GroupText(config.m_group2), "0 ");
    config.RemovePodFromWeaponGroup(0, 1);
    EXPECT_EQ(GroupText(config.m_group1), "");
    config.RemovePodFromWeaponGroup(1, 0);
    EXPECT_EQ(GroupText(config.m_group2), "0 ");
}

TEST_F(ShipConfigTest, AFullWeaponGroupRefusesAnotherPod)
{
    std::vector<std::string> pods;
    for (int i = 0; i < 13; ++i)
        pods.push_back(std::to_string(i) + ", 3|WEAPON_PROJECTILE_GUN|gun_a");
    ASSERT_TRUE(LoadDesigns(Design("Guns", 1, pods, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {12})));
    CShipConfig& config = *m_database.GetShipConfig(1);
    EXPECT_FALSE(config.AssignToWeaponGroup(1, CVector2D(12, 3)));
    EXPECT_EQ(config.m_group1.m_count, WEAPON_GROUP_MAX);
    EXPECT_EQ(GroupText(config.m_group2), "12 ");
    // Already listed: no room needed.
    EXPECT_TRUE(config.AssignToWeaponGroup(1, CVector2D(11, 3)));
}

TEST_F(ShipConfigTest, PositionsMatchWithinTheTolerance)
{
    ASSERT_TRUE(LoadDesigns(FullDesign(1)));
    const CShipConfig& config = *m_database.GetShipConfig(1);
    EXPECT_EQ(config.FindPodAt(CVector2D(1, 0)), 1);
    EXPECT_EQ(config.FindPodAt(CVector2D(1.0f + 1e-9f, 0)), 1);
    EXPECT_EQ(config.FindPodAt(CVector2D(1.001f, 0)), -1);
    EXPECT_EQ(config.FindEnginePod(), 2);
}

TEST_F(ShipConfigTest, MassIsHullPlusEveryFittedDefinition)
{
    // hull 100, gun 10, generator 15, engine 20, beam 10.
    ASSERT_TRUE(LoadDesigns(FullDesign(1) + Design("Bare", 2, {}, {}, {}, "hull_b")));
    EXPECT_EQ(m_database.GetShipConfig(1)->GetTotalMass(), 155u);
    EXPECT_EQ(m_database.GetShipConfig(2)->GetTotalMass(), 50u);
    CShipConfig orphan;
    EXPECT_EQ(orphan.GetTotalMass(), 0u);
}

TEST_F(ShipConfigTest, TheLastEngineAndGeneratorDecideTheFlightCheck)
{
    // Engines need 20 (engine_a); generator_a gives 30; "gen10" gives 10, "gen20" 20.
    ASSERT_TRUE(m_database.LoadComponentNodes(
        ParseText(ComponentSection("GENERATOR", "gen10", "outputPerSec\t10\n") +
                  ComponentSection("GENERATOR", "gen20", "outputPerSec\t20\n")),
        "more"));
    struct SCase
    {
        std::vector<std::string> pods;
        bool beamAndWeapon;
        bool engine;
    };
    const SCase cases[] = {
        {{"0, 0|WEAPON_PROJECTILE_GUN|gun_a", "1, 0|GENERATOR|generator_a", "0, 1|ENGINE|engine_a",
          "1, 1|GRAVITY_BEAM|beam_a"},
         true, true},
        // Output equal to the requirement passes.
        {{"1, 0|GENERATOR|gen20", "0, 1|ENGINE|engine_a"}, false, true},
        // Below it: both false, even with a beam and a weapon.
        {{"0, 0|WEAPON_PROJECTILE_GUN|gun_a", "1, 0|GENERATOR|gen10", "0, 1|ENGINE|engine_a",
          "1, 1|GRAVITY_BEAM|beam_a"},
         false, false},
        // The last generator counts, not the strongest.
        {{"1, 0|GENERATOR|generator_a", "1, 1|GENERATOR|gen10", "0, 1|ENGINE|engine_a"}, false, false},
        {{"1, 1|GENERATOR|gen10", "1, 0|GENERATOR|generator_a", "0, 1|ENGINE|engine_a"}, false, true},
        // A beam without a weapon, and no engine at all.
        {{"1, 1|GRAVITY_BEAM|beam_a", "1, 0|GENERATOR|gen10"}, false, false},
        {{"1, 1|GRAVITY_BEAM|beam_a", "0, 0|WEAPON_MISSILE|missile_a"}, true, false},
        {{}, false, false},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i)
    {
        ASSERT_TRUE(LoadDesigns(Design("Check", 4, cases[i].pods)));
        bool beamAndWeapon = !cases[i].beamAndWeapon;
        bool engine = !cases[i].engine;
        m_database.CheckShipConfig(4, beamAndWeapon, engine);
        EXPECT_EQ(beamAndWeapon, cases[i].beamAndWeapon) << "case " << i;
        EXPECT_EQ(engine, cases[i].engine) << "case " << i;
    }
    // An empty slot fails both.
    bool beamAndWeapon = true;
    bool engine = true;
    m_database.CheckShipConfig(5, beamAndWeapon, engine);
    EXPECT_FALSE(beamAndWeapon);
    EXPECT_FALSE(engine);
    m_database.CheckShipConfig(99, beamAndWeapon, engine);
    EXPECT_FALSE(engine);
}
