// A level's LEVEL section names the ship component and design files; they are
// loaded as the level starts and go with it.

#include "core/StringTable.h"
#include "ships/PlayerShip.h"
#include "ships/ShipLevelData.h"
#include "tests/ships/ShipFixtures.h"
#include "tests/support/CurrentDir.h"
#include "tests/support/EnvOverride.h"
#include "tests/support/TempDir.h"
#include "tests/support/ships/ShipWorldHarness.h"

#include <gtest/gtest.h>

namespace
{
const char* const LEVEL = "LEVEL\n{\n"
                          "worldWidth\t4000\n"
                          "treeDepth\t5\n"
                          "playerShipResFile\tdata\\parts.txt\n"
                          "playerShipCfgFile\tdata\\designs.txt\n"
                          "}\n";

std::string Flyer(int slot = 1, const std::string& ident = "Flyer")
{
    return Design(ident, slot, {"0, 1|ENGINE|engine_a", "1, 0|GENERATOR|generator_a"});
}

// The display keys resolve in the fixture's table while the level loads.
class CGlobalStrings
{
public:
    CGlobalStrings() : m_previous(g_stringTable) { g_stringTable = const_cast<CStringTable*>(&GetFixtureStrings()); }
    ~CGlobalStrings() { g_stringTable = m_previous; }

private:
    CStringTable* m_previous;
};

class CLevelShipsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.WriteFile("data/parts.txt", StandardComponents()));
        ASSERT_TRUE(m_folder.WriteFile("data/designs.txt", Flyer()));
    }

    CTempDir m_folder;
    CCurrentDir m_current{m_folder.GetPath()};
    CGlobalStrings m_strings;
};
} // namespace

TEST_F(CLevelShipsTest, TheLevelLoadsItsPartsAndDesignsAndDropsThemWhenItEnds)
{
    CShipWorldHarness harness;
    ASSERT_TRUE(harness.StartLevel(LEVEL));
    CShipComponentDatabase* database = GetLevelShipDatabase();
    ASSERT_NE(database, nullptr);
    EXPECT_EQ(database->GetCategory(COMPONENT_ENGINE)->m_defCount, 1);
    ASSERT_NE(database->GetShipConfig(1), nullptr);
    EXPECT_EQ(database->GetShipConfig(1)->m_ident, "Flyer");
    EXPECT_FALSE(GetShipLevelData(harness.GetGame())->m_designsRefused);

    int32_t handle = harness.Spawn(OBJECT_PLAYER_SHIP, 100.0f, 100.0f);
    EXPECT_TRUE(harness.FindAs<CPlayerShip>(handle)->ApplyConfig(1));

    harness.GetGame().EndLevel();
    EXPECT_EQ(GetLevelShipDatabase(), nullptr);
}

TEST_F(CLevelShipsTest, TheModeChoosesTheDesignFile)
{
    ASSERT_TRUE(m_folder.WriteFile("data/quickShip.txt", Flyer(3, "Quick")));
    CShipWorldHarness harness;
    harness.GetGame().GetRun().quickShip = true;
    ASSERT_TRUE(harness.StartLevel(LEVEL));
    ASSERT_NE(GetLevelShipDatabase(), nullptr);
    EXPECT_EQ(GetLevelShipDatabase()->GetShipConfig(1), nullptr);
    ASSERT_NE(GetLevelShipDatabase()->GetShipConfig(3), nullptr);
    EXPECT_EQ(GetLevelShipDatabase()->GetShipConfig(3)->m_ident, "Quick");
}

TEST_F(CLevelShipsTest, ADamagedPlayerDesignFileIsRefusedNotFatal)
{
    CEnvOverride home("TESSAVAR_HOME", m_folder.GetPath().c_str());
    ASSERT_TRUE(m_folder.WriteFile("tessavar/data/saves/save2ships.txt",
                                   Flyer() + Design("Bad", 2, {"0, 0|WARP_CORE|engine_a"})));
    CShipWorldHarness harness;
    harness.GetGame().SetShipConfigFileName("data\\saves\\save2ships.txt");
    ASSERT_TRUE(harness.StartLevel(LEVEL));
    CShipLevelData* data = GetShipLevelData(harness.GetGame());
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->m_designsRefused);
    EXPECT_EQ(data->m_database.GetConfigCount(), 0) << "refused whole";
    EXPECT_TRUE(harness.GetGame().GetLevelConfig()->GetProblems().HasFatal());
    // The parts are there; a ship can be made once a good file is loaded.
    EXPECT_EQ(data->m_database.GetCategory(COMPONENT_ENGINE)->m_defCount, 1);

    // The same file as the game's own data ends the program, naming file and line.
    ASSERT_TRUE(m_folder.WriteFile("data/designs.txt", Flyer() + Design("Bad", 2, {"0, 0|WARP_CORE|engine_a"})));
    EXPECT_EXIT(
        {
            CShipWorldHarness broken;
            broken.StartLevel(LEVEL);
        },
        testing::ExitedWithCode(1), "designs.txt:[0-9]+:.*WARP_CORE");
}

TEST_F(CLevelShipsTest, BrokenShippedPartsEndTheProgram)
{
    ASSERT_TRUE(m_folder.WriteFile("data/parts.txt", ComponentSection("ENGINE", "engine_a", "thrust\t10\n")));
    EXPECT_EXIT(
        {
            CShipWorldHarness broken;
            broken.StartLevel(LEVEL);
        },
        testing::ExitedWithCode(1), "parts.txt:[0-9]+:.*inertialDampening");
}
