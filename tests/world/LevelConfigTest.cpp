#include "core/DataTree.h"
#include "tests/support/world/WorldHarness.h"
#include "world/LevelConfig.h"
#include "world/PushGrid.h"
#include "world/Quadtree.h"

#include <gtest/gtest.h>

namespace
{
std::vector<std::string>* s_seen = nullptr;

void NoteSection(const CDataTree& section, CGame*, CDefinitionProblems&)
{
    int32_t value = 0;
    section.GetInt("mark", value);
    s_seen->push_back(std::to_string(value));
}
} // namespace

TEST(LevelConfig, ReadsTheFirstLevelSectionThatParses)
{
    CLevelConfig config;
    ASSERT_TRUE(config.LoadFromBytes("// a level\n"
                                     "STARFIELD\n{\n numLayers 2\n}\n"
                                     "LEVEL_BROKEN\n{\n worldWidth 99\n -5 bad\n}\n" // a line that is no value
                                     "LEVEL\n{\n worldWidth 4000\n treeDepth 5\n totalAsteroidMass 400\n"
                                     " ratioSmall 0.5\n ratioMedium 0.85\n ratioLarge 1.0\n chanceOfGems 0.3\n"
                                     " viewLag 0.15\n}\n",
                                     "init9"));
    EXPECT_EQ(config.GetWorldWidth(), 4000u);
    EXPECT_EQ(config.GetTreeDepth(), 5u);
    EXPECT_EQ(config.GetTotalAsteroidMass(), 400u);
    EXPECT_FLOAT_EQ(config.GetRatioSmall(), 0.5f);
    EXPECT_FLOAT_EQ(config.GetRatioMedium(), 0.85f);
    EXPECT_FLOAT_EQ(config.GetRatioLarge(), 1.0f);
    EXPECT_FLOAT_EQ(config.GetChanceOfGems(), 0.3f);
    EXPECT_FLOAT_EQ(config.GetViewLag(), 0.15f);
    // The broken section is named with its line.
    ASSERT_EQ(config.GetProblems().GetAll().size(), 1u);
    EXPECT_EQ(config.GetProblems().GetAll()[0].line, 6u);
    EXPECT_FALSE(config.GetProblems().HasFatal());
}

TEST(LevelConfig, RefusesLevelsWithoutAPlayfield)
{
    struct SCase
    {
        const char* what;
        const char* text;
    } cases[] = {
        {"no LEVEL section", "STARFIELD\n{\n a 1\n}\n"},
        {"no worldWidth", "LEVEL\n{\n treeDepth 5\n}\n"},
        {"a zero worldWidth", "LEVEL\n{\n worldWidth 0\n}\n"},
        {"a negative worldWidth", "LEVEL\n{\n worldWidth -400\n}\n"},
        {"the only LEVEL broken", "LEVEL\n{\n worldWidth 4000\n"},
        {"an empty file", ""},
    };
    for (const SCase& c : cases)
    {
        CLevelConfig config;
        EXPECT_FALSE(config.LoadFromBytes(c.text, "bad")) << c.what;
        EXPECT_TRUE(config.GetProblems().HasFatal()) << c.what;
    }
    CWorldHarness harness;
    EXPECT_FALSE(harness.StartLevel("LEVEL\n{\n treeDepth 5\n}\n"));
    EXPECT_EQ(harness.GetGame().GetState(), GAME_READY);
    EXPECT_EQ(harness.GetGame().GetWorld(), nullptr);
}

TEST(LevelConfig, MissingViewLagKeepsNoLagAndSectionsReachTheirReaders)
{
    std::vector<std::string> seen;
    s_seen = &seen;
    RegisterLevelSectionReader("NOTED_SECTION", &NoteSection);
    RegisterLevelSectionReader("noted_section", &NoteSection); // a second prefix, same reader
    RegisterLevelSectionReader("NOTED_SECTION", &NoteSection); // registered twice: once
    CWorldHarness harness;
    ASSERT_TRUE(harness.StartLevel("NOTED_SECTION\n{\n mark 1\n}\n"
                                   "LEVEL\n{\n worldWidth 2048\n treeDepth 9\n}\n"
                                   "Noted_Section_More\n{\n mark 2\n}\n"
                                   "NOTED_SECTION\n{\n mark 3\n"));
    EXPECT_FLOAT_EQ(harness.GetGame().GetCamera().GetLag(), 1.0f);
    EXPECT_EQ(seen, (std::vector<std::string>{"1", "1", "2", "2"})) << "file order; the broken one skipped";
    // Too deep for 16-bit node numbers: clamped.
    EXPECT_EQ(harness.GetGame().GetQuadtree()->GetDepth(), CQuadtree::MAX_DEPTH);
    EXPECT_EQ(harness.GetGame().GetPushGrid()->GetCellsPerSide(), 64);
    ClearLevelSectionReaders();
    s_seen = nullptr;
}

TEST(LevelConfig, ShipDesignFileRules)
{
    CWorldHarness harness;
    CGame& game = harness.GetGame();
    EXPECT_EQ(game.ChooseShipDesignFile("data\\ships\\designs.txt"), "data\\ships\\designs.txt");
    game.SetShipConfigFileName("mine.txt");
    std::string own = game.ChooseShipDesignFile("data\\ships\\designs.txt");
    EXPECT_NE(own.find("\\tessavar\\mine.txt"), std::string::npos) << own;
    game.GetRun().quickShip = true;
    EXPECT_EQ(game.ChooseShipDesignFile("x"), "data\\quickShip.txt");
    game.GetRun().survival = true;
    EXPECT_EQ(game.ChooseShipDesignFile("x"), "data\\survivalShips.txt") << "survival wins over the rest";
}
