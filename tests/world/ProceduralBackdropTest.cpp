#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "core/Random.h"
#include "presentation/SpriteBank.h"
#include "tests/support/CurrentDir.h"
#include "tests/support/SpriteFiles.h"
#include "tests/support/TempDir.h"
#include "tests/support/world/WorldHarness.h"
#include "world/Game.h"
#include "world/ProceduralBackdrop.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
const char* const kInit0 = R"(LEVEL
{
	worldWidth	2048
}
PROC
{
	id	other
	numDefs	0
	numLayers	0
}
PROC
{
	id	proc1
	numDefs	1
	sprite0
	{
		spriteFile	data\sprites\tile.spr
	}
	numLayers	3
	layer0
	{
		defIdx	0
		frame	3
		widthHeight	256, 256
		scaleSec	0.5, 0.25
		rotate	-3, 3
		fade	1, 2, 1
	}
	layer1
	{
		defIdx	0
		frame	0
		widthHeight	700, 500
		rotate	2, 2
		fade	0, 0, 0
	}
	layer2
	{
		defIdx	1
		widthHeight	100, 100
	}
}
)";

class ProceduralBackdropTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(WriteSpriteFile(MakeSpriteData(2, 0), bytes)); // five 8 x 8 frames
        ASSERT_TRUE(m_dir.WriteFile("data/sprites/tile.spr", std::string(bytes.begin(), bytes.end())));
        ASSERT_TRUE(m_dir.WriteFile("data/init0.txt", kInit0));
    }
    CTempDir m_dir;
};
} // namespace

TEST(ProceduralFade, BrightnessThroughTheCycle)
{
    // Fade times 1, 2 and 1 seconds: dark at 0, full from 1 to 3, half at 3.5, round again at 4.
    const struct
    {
        double t;
        float level;
    } points[] = {{0.0, 0.0f},     {0.5, 127.5f}, {1.0, 255.0f},  {2.0, 255.0f},  {2.99, 255.0f},
                  {3.5, 127.5f},   {3.75, 63.75f}, {4.0, 0.0f},   {4.5, 127.5f},  {15.5, 127.5f}};
    for (const auto& p : points)
        EXPECT_NEAR(ComputeFadeBrightness(p.t, 1.0f, 2.0f, 1.0f), p.level, 0.01f) << "t = " << p.t;
    // No cycle at all stays full; negative times count as none.
    EXPECT_EQ(ComputeFadeBrightness(7.0, 0.0f, 0.0f, 0.0f), 255.0f);
    EXPECT_EQ(ComputeFadeBrightness(7.0, -1.0f, -2.0f, -3.0f), 255.0f);
    EXPECT_NEAR(ComputeFadeBrightness(0.5, -1.0f, 0.0f, 1.0f), 127.5f, 0.01f);
}

TEST_F(ProceduralBackdropTest, LaysTilesOverTheScreenAndFadesThem)
{
    CCurrentDir inside(m_dir.GetPath());
    CWorldHarness harness;
    CProceduralBackdrop backdrop;
    ASSERT_TRUE(backdrop.Load("data\\init0.txt", "PROC1"));
    ASSERT_EQ(backdrop.GetLayerCount(), 2u) << "the layer of a sprite that is not there is left out";
    EXPECT_GE(backdrop.GetStartOffset(), 500u);
    EXPECT_LT(backdrop.GetStartOffset(), 1500u);

    // 256 x 256 tiles: ceil(700 / 256) x ceil(500 / 256) = 3 x 2, round a centre within
    // 64 of the screen's.
    const CProceduralBackdrop::SLayer& layer = backdrop.GetLayer(0);
    ASSERT_EQ(layer.tiles.size(), 6u);
    EXPECT_GE(layer.centre.x, 256.0f);
    EXPECT_LT(layer.centre.x, 384.0f);
    EXPECT_GE(layer.centre.y, 176.0f);
    EXPECT_LT(layer.centre.y, 304.0f);
    const SSpriteInstance* first = layer.tiles[0].instance;
    ASSERT_TRUE(first);
    EXPECT_FLOAT_EQ(first->m_x, layer.centre.x - 256.0f);
    EXPECT_FLOAT_EQ(first->m_y, layer.centre.y - 128.0f);
    EXPECT_FLOAT_EQ(layer.tiles[5].instance->m_x, layer.centre.x + 256.0f);
    EXPECT_EQ(first->m_frame, 3u);
    EXPECT_NE(first->m_flags & SPRITE_VIRTUAL, 0u);
    EXPECT_FALSE(first->IsVisible()) << "made hidden";
    for (const CProceduralBackdrop::STile& tile : layer.tiles)
    {
        EXPECT_GE(tile.rate, -3.0f);
        EXPECT_LT(tile.rate, 3.0f);
        EXPECT_GE(tile.startAngle, 0.0f);
        EXPECT_LT(tile.startAngle, 360.0f);
    }
    // One tile of 700 x 500 covers it; equal rotation ends: no turning.
    const CProceduralBackdrop::SLayer& whole = backdrop.GetLayer(1);
    ASSERT_EQ(whole.tiles.size(), 1u);
    EXPECT_EQ(whole.tiles[0].rate, 0.0f);
    EXPECT_EQ(whole.tiles[0].instance->m_rotation, 0.0f);

    backdrop.Show(true);
    EXPECT_TRUE(first->IsVisible());
    for (int frame = 0; frame < 30; ++frame)
        backdrop.Update();
    EXPECT_EQ(backdrop.GetClock(), 1200u);
    const double seconds = (1200.0 + backdrop.GetStartOffset()) * 0.001;
    const double t = std::fmod(seconds, 4.0);
    const uint32_t level = static_cast<uint32_t>(ComputeFadeBrightness(seconds, 1.0f, 2.0f, 1.0f));
    EXPECT_EQ(first->m_colour, 0xFF000000u | level << 16 | level << 8 | level);
    // The frame is 8 units: a 256-unit tile is 32 times it, growing by scaleSec a second.
    EXPECT_NEAR(first->m_scaleX, 32.0 + t * 0.5, 1e-3);
    EXPECT_NEAR(first->m_scaleY, 32.0 + t * 0.25, 1e-3);
    EXPECT_EQ(whole.tiles[0].instance->m_colour, 0xFFFFFFFFu) << "no fade cycle: full";
    const double angle = std::fmod(layer.tiles[0].startAngle + layer.tiles[0].rate * 1.2, 360.0);
    EXPECT_NEAR(first->m_rotation, angle * 3.14159265 / 180.0, 1e-4);

    EXPECT_FALSE(backdrop.Load("data\\init0.txt", "proc9"));
    EXPECT_FALSE(backdrop.Load("data\\missing.txt", "proc1"));
}

TEST_F(ProceduralBackdropTest, RefusesTilesOfNoSizeAndCapsTheirNumber)
{
    CCurrentDir inside(m_dir.GetPath());
    CWorldHarness harness;
    const std::string text = "PROC\n{\nid p\nnumDefs 99\nnumLayers 3\n"
                             "layer0\n{\ndefIdx 0\nwidthHeight 0, 100\n}\n"
                             "layer1\n{\ndefIdx 0\nwidthHeight 1, 1\nfade 1, 1, 1\n}\n"
                             "layer2\n{\ndefIdx -1\nwidthHeight 10, 10\n}\n}\n";
    CDataNodeList nodes;
    ASSERT_TRUE(ParseDataBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), nodes));
    std::string defs;
    CProceduralBackdrop backdrop;
    CDefinitionProblems problems;
    CRandom random(3);
    backdrop.LoadSection(static_cast<const CDataTree&>(*nodes[0]), true, random, problems);
    ASSERT_EQ(backdrop.GetLayerCount(), 1u);
    EXPECT_EQ(backdrop.GetLayer(0).tiles.size(), size_t(CProceduralBackdrop::MAX_TILES));
    // numDefs cut to 16 (and its 16 sprite blocks missing), a width of 0, the tile
    // count, a definition index of -1.
    size_t warnings = 0;
    for (const SDefinitionProblem& problem : problems.GetAll())
        warnings += !problem.fatal;
    EXPECT_EQ(warnings, 4u) << problems.Describe("proc");
    backdrop.Update();
}

TEST_F(ProceduralBackdropTest, TheGameShowsItAndStepsItEveryFrame)
{
    CCurrentDir inside(m_dir.GetPath());
    CWorldHarness harness;
    CGame& game = harness.GetGame();
    const int32_t idle = harness.GetSpriteBank().GetLiveInstanceCount();
    EXPECT_EQ(game.GetProceduralBackdrop(), nullptr);
    game.ShowProceduralBackdrop(true);
    ASSERT_TRUE(game.GetProceduralBackdrop());
    EXPECT_TRUE(game.GetProceduralBackdrop()->GetLayer(0).tiles[0].instance->IsVisible());
    harness.SetMode(GAME_MODE_FRONT_END);
    game.SetPaused(true); // its clock runs on while the game's stands
    harness.RunFrames(5);
    EXPECT_EQ(game.GetProceduralBackdrop()->GetClock(), 200u);
    EXPECT_EQ(game.GetTime(), 0u);
    game.ShowProceduralBackdrop(false);
    EXPECT_EQ(game.GetProceduralBackdrop(), nullptr);
    EXPECT_EQ(harness.GetSpriteBank().GetLiveInstanceCount(), idle);
}
