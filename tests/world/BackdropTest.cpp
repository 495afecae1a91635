#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "core/Random.h"
#include "presentation/SpriteBank.h"
#include "tests/support/CurrentDir.h"
#include "tests/support/SpriteFiles.h"
#include "tests/support/TempDir.h"
#include "tests/support/world/WorldHarness.h"
#include "utility/source/QelSpritePacker.h"
#include "world/Backdrop.h"
#include "world/Game.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace
{
// A sprite file of `count` frames of the size, written into the folder.
void WriteSprite(const CTempDir& dir, const std::string& name, uint32_t width, uint32_t height, int count)
{
    std::vector<std::vector<uint8_t>> frames;
    for (int i = 0; i < count; ++i)
        frames.push_back(MakePixels(width, height, static_cast<uint8_t>(i + 1)));
    SSpritePackOptions options;
    options.maxPageSide = 1024;
    SSpriteFileData sprite;
    ASSERT_TRUE(PackSpriteFrames(frames, width, height, options, sprite));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(WriteSpriteFile(sprite, bytes));
    ASSERT_TRUE(dir.WriteFile(name, std::string(bytes.begin(), bytes.end())));
}

std::unique_ptr<CDataTree> Parse(const std::string& text)
{
    CDataNodeList nodes;
    EXPECT_TRUE(ParseDataBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), nodes));
    if (nodes.empty() || !nodes[0]->IsBlock())
        return nullptr;
    return std::unique_ptr<CDataTree>(static_cast<CDataTree*>(nodes[0].release()));
}

const char* const kStarfield = R"(STARFIELD
{
	numBackgroundItems	4
	backgroundViewScale	0.05
	background0
	{
		type	sprite
		spriteFile	background
		numInsts	1
		frame	0
		displayLayer	0
		pos0	400, 300
	}
	background1
	{
		type	sprite
		spriteFile	data\sprites\rock8.spr
		numInsts	6
		displayLayer	1
		scale	0.5, 1.5
		randomScale	true
		randomPlacement	true
		randomRotation	true
		randomFrame	true
		playRate	10, 20
	}
	background2
	{
		type	bigSprite
		width	2
		height	2
		firstFrame	0
		displayLayer	1
		sprite
		{
			spriteFile	data\sprites\rock8.spr
		}
		numInsts	2
		pos0	100.7, 120.2
		pos1	600, 600
	}
	background3
	{
		type	cloud
	}
	numLayers	2
	layer0
	{
		scaleMovement	0.3
		numSprites	1
		sprite0
		{
			type	basic
			name	data\sprites\stars.spr
			frame	2
			numStars	50
		}
	}
	layer1
	{
		scaleMovement	0.6
		numSprites	1
		sprite0
		{
			type	basic
			name	data\sprites\stars.spr
			frame	1
			numStars	30
		}
	}
}
)";

class BackdropTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteSprite(m_dir, "data/sprites/bgelements/backdrops.spr", 16, 16, 8);
        WriteSprite(m_dir, "data/sprites/rock8.spr", 8, 8, 8);
        WriteSprite(m_dir, "data/sprites/stars.spr", 4, 4, 3);
        WriteSprite(m_dir, "data/sprites/huge.spr", 800, 40, 1);
    }

    CTempDir m_dir;
};
} // namespace

TEST_F(BackdropTest, BuildsItemsBigSpritesAndStarLayersOnTheirPlanes)
{
    CCurrentDir inside(m_dir.GetPath());
    CWorldHarness harness;
    CSpriteBank& bank = harness.GetSpriteBank();
    const int32_t idle = bank.GetLiveInstanceCount();
    CBackdrop backdrop;
    CDefinitionProblems problems;
    CRandom random(4);
    backdrop.Load(*Parse(kStarfield), 4000.0f, true, random, problems);
    ASSERT_EQ(problems.GetAll().size(), 1u) << problems.Describe("starfield");
    EXPECT_NE(problems.GetAll()[0].text.find("cloud"), std::string::npos);

    // Planes 0 and 1 hold the background and scroll at 0.05 without blending; the
    // star layers come right after them.
    EXPECT_EQ(backdrop.GetPlaneCount(), 4);
    for (int plane = 0; plane < 2; ++plane)
    {
        EXPECT_FLOAT_EQ(bank.GetPlane(plane).m_movementFactor, 0.05f);
        EXPECT_EQ(bank.GetPlane(plane).m_noBlend, 1);
    }
    EXPECT_FLOAT_EQ(bank.GetPlane(2).m_movementFactor, 0.3f);
    EXPECT_FLOAT_EQ(bank.GetPlane(3).m_movementFactor, 0.6f);

    ASSERT_EQ(backdrop.GetItemCount(), 7u);
    EXPECT_EQ(backdrop.GetZoneBackdropItem(), 0);
    const CBackdrop::SItem& zone = backdrop.GetItem(0);
    EXPECT_EQ(zone.sprite.GetPosition().x, 400.0f);
    EXPECT_EQ(zone.sprite.GetInstance()->m_plane, 0);
    EXPECT_EQ(zone.spin, 0);
    for (size_t i = 1; i < 7; ++i)
    {
        const CBackdrop::SItem& item = backdrop.GetItem(i);
        const CVector2D at = item.sprite.GetPosition();
        // Half the larger side is 4: places 4 to 795, at least 8 apart.
        EXPECT_GE(at.x, 4.0f);
        EXPECT_LT(at.x, 796.0f);
        EXPECT_GE(at.y, 4.0f);
        EXPECT_LT(at.y, 796.0f);
        for (size_t j = 1; j < i; ++j)
            EXPECT_GE((backdrop.GetItem(j).sprite.GetPosition() - at).Length(), 8.0f);
        EXPECT_GE(item.spin, 10);
        EXPECT_LT(item.spin, 20);
        const SSpriteInstance* instance = item.sprite.GetInstance();
        EXPECT_EQ(instance->m_plane, 1);
        EXPECT_TRUE(instance->IsVisible());
        EXPECT_LT(instance->m_frame, 8u);
        EXPECT_GE(instance->m_scaleX, 0.5f);
        EXPECT_LT(instance->m_scaleX, 1.5f);
        EXPECT_EQ(instance->m_scaleX, instance->m_scaleY);
        EXPECT_GE(item.angle, 0.0f);
        EXPECT_LT(item.angle, 359.0f);
    }
    ASSERT_EQ(backdrop.GetBigInstanceCount(), 2u);
    EXPECT_EQ(backdrop.GetBigInstance(0).GetCellCount(), 4u);
    EXPECT_EQ(backdrop.GetBigInstance(0).GetCell(0)->m_x, 100.0f) << "at whole units";
    EXPECT_EQ(backdrop.GetBigInstance(0).GetCell(0)->m_y, 120.0f);
    EXPECT_EQ(backdrop.GetBigInstance(0).GetCell(0)->m_plane, 1);

    ASSERT_EQ(backdrop.GetStarCount(), 80u);
    for (size_t i = 0; i < backdrop.GetStarCount(); ++i)
    {
        const SSpriteInstance* star = backdrop.GetStar(i);
        EXPECT_EQ(star->m_plane, i < 50 ? 2 : 3);
        EXPECT_EQ(star->m_frame, i < 50 ? 2u : 1u);
        EXPECT_GE(star->m_x, 0.0f);
        EXPECT_LT(star->m_x, 4000.0f);
    }

    // The zone backdrop's frame by node kind.
    const struct
    {
        int32_t kind, zone;
        uint32_t frame;
    } frames[] = {{0, 2, 2}, {1, 3, 3}, {3, 1, 5}, {4, 1, 5}, {7, 0, 7}, {8, 0, 7}, {2, 1, 6}, {5, 1, 6}, {6, 1, 6}};
    for (const auto& f : frames)
    {
        backdrop.SetZoneBackdropFrame(f.kind, f.zone);
        EXPECT_EQ(zone.sprite.GetInstance()->m_frame, f.frame) << "node kind " << f.kind;
    }

    // Spinning: rate s turns s x 0.025 degrees a frame; a rate of 0 never turns.
    const CBackdrop::SItem& spinner = backdrop.GetItem(1);
    const float start = spinner.angle;
    for (int i = 0; i < 40; ++i)
        backdrop.SpinItems();
    const float turned = std::fmod(spinner.angle - start + 720.0f, 360.0f);
    const float expected = float(spinner.spin) * 0.025f * 40.0f;
    EXPECT_NEAR(spinner.forwards ? turned : 360.0f - turned, expected, 0.01f);
    EXPECT_EQ(zone.angle, 0.0f);
    EXPECT_EQ(zone.sprite.GetInstance()->m_rotation, 0.0f);

    backdrop.Show(false);
    EXPECT_FALSE(zone.sprite.IsVisible());
    EXPECT_FALSE(backdrop.GetStar(0)->IsVisible());
    EXPECT_FALSE(backdrop.GetBigInstance(1).GetCell(3)->IsVisible());
    backdrop.Show(true);
    EXPECT_TRUE(backdrop.GetStar(79)->IsVisible());

    backdrop.Clear();
    EXPECT_EQ(bank.GetLiveInstanceCount(), idle);
    for (int plane = 0; plane < 4; ++plane)
    {
        EXPECT_FLOAT_EQ(bank.GetPlane(plane).m_movementFactor, 1.0f);
        EXPECT_EQ(bank.GetPlane(plane).m_noBlend, 0);
    }
}

TEST_F(BackdropTest, StopsAtItsLimitsAndGuardsItsRanges)
{
    CCurrentDir inside(m_dir.GetPath());
    CWorldHarness harness;
    auto block = [](const std::string& name, const std::vector<std::string>& lines) {
        std::string text = name + "\n{\n";
        for (const std::string& line : lines)
            text += line + "\n";
        return text + "}\n";
    };
    // Each background item names its own file; the eleventh file is one too many.
    std::string items;
    int index = 0;
    for (int i = 0; i < 11; ++i, ++index)
        items += block("background" + std::to_string(index),
                       {"type sprite", "spriteFile data\\sprites\\rock8.spr", "numInsts 7", "displayLayer 2"});
    items += block("background" + std::to_string(index++),
                   {"type sprite", "spriteFile data\\sprites\\rock8.spr", "numInsts 1", "displayLayer 21"});
    for (int i = 0; i < 11; ++i, ++index)
        items += block("background" + std::to_string(index),
                       {"type bigSprite", "width 1", "height 1", "firstFrame 0", "displayLayer 2",
                        block("sprite", {"spriteFile data\\sprites\\rock8.spr"}), "numInsts 8"});
    std::string layers;
    for (int i = 0; i < 20; ++i)
        layers += block("layer" + std::to_string(i),
                        {"scaleMovement 0.5", "numSprites 1",
                         block("sprite0", {"type basic", "name data\\sprites\\stars.spr", "frame 0", "numStars 2"})});
    const std::string text = block("STARFIELD", {"numBackgroundItems " + std::to_string(index),
                                                 "backgroundViewScale 0.1", items, "numLayers 20", layers});
    CBackdrop backdrop;
    CDefinitionProblems problems;
    CRandom random(6);
    backdrop.Load(*Parse(text), 4000.0f, true, random, problems);
    // 10 files of 7 items make 70; 10 big sprites of 8 make 75 at most.
    EXPECT_EQ(backdrop.GetItemCount(), 70u);
    EXPECT_EQ(backdrop.GetBigInstanceCount(), size_t(CBackdrop::MAX_BIG_INSTANCES));
    // Planes 0 to 2 for the background; star layers from 3: up to plane 20.
    EXPECT_EQ(backdrop.GetStarCount(), 2u * 18u);
    EXPECT_EQ(backdrop.GetPlaneCount(), 3 + 20);
    size_t refused = 0;
    for (const SDefinitionProblem& problem : problems.GetAll())
        refused += !problem.fatal;
    // One file, one plane 21, one big sprite, the big instances beyond 75 (once), and
    // the two star layers beyond plane 20.
    EXPECT_EQ(refused, 6u) << problems.Describe("starfield");
    backdrop.Clear();

    // A picture of 800 units has no room in the square; a random scale of an empty
    // range and a playfield of no width draw nothing; check mode makes nothing.
    const std::string guarded = block(
        "STARFIELD",
        {"numBackgroundItems 2", "backgroundViewScale 1",
         block("background0", {"type sprite", "spriteFile data\\sprites\\huge.spr", "numInsts 3",
                               "randomPlacement true", "displayLayer 0"}),
         block("background1", {"type sprite", "spriteFile data\\sprites\\rock8.spr", "numInsts 2",
                               "randomPlacement true", "randomScale true", "scale 2, 1", "displayLayer 0"}),
         "numLayers 1",
         block("layer0", {"scaleMovement 0.5", "numSprites 1",
                          block("sprite0", {"type basic", "name data\\sprites\\stars.spr", "numStars 5"})})});
    CDefinitionProblems more;
    backdrop.Load(*Parse(guarded), 0.0f, true, random, more);
    ASSERT_EQ(backdrop.GetItemCount(), 2u) << "the huge item is not placed";
    EXPECT_EQ(backdrop.GetItem(0).sprite.GetInstance()->m_scaleX, 2.0f);
    ASSERT_EQ(backdrop.GetStarCount(), 5u);
    EXPECT_EQ(backdrop.GetStar(4)->m_x, 0.0f);
    backdrop.Clear();
    const int32_t before = harness.GetSpriteBank().GetLiveInstanceCount();
    CDefinitionProblems checked;
    backdrop.Load(*Parse(kStarfield), 4000.0f, false, random, checked);
    EXPECT_EQ(harness.GetSpriteBank().GetLiveInstanceCount(), before);
    EXPECT_EQ(backdrop.GetItemCount(), 0u);
    EXPECT_EQ(backdrop.GetPlaneCount(), 4);
    EXPECT_EQ(checked.GetAll().size(), 1u);
}

TEST_F(BackdropTest, TheLevelsStarfieldComesAndGoesWithTheLevel)
{
    CCurrentDir inside(m_dir.GetPath());
    CWorldHarness harness;
    const int32_t idle = harness.GetSpriteBank().GetLiveInstanceCount();
    ASSERT_TRUE(harness.StartLevel(std::string(CWorldHarness::DEFAULT_LEVEL) + kStarfield));
    CGame& game = harness.GetGame();
    EXPECT_EQ(game.GetBackdrop().GetStarCount(), 80u);
    EXPECT_EQ(game.GetBackdrop().GetItemCount(), 7u);
    // Flight frames spin the items.
    const float start = game.GetBackdrop().GetItem(1).angle;
    harness.RunFrames(3);
    EXPECT_NE(game.GetBackdrop().GetItem(1).angle, start);
    game.SetZoneBackdropFrame(); // the base zone: a normal node of zone 0
    EXPECT_EQ(game.GetBackdrop().GetItem(0).sprite.GetFrame(), 0u);
    game.EndLevel();
    EXPECT_EQ(game.GetBackdrop().GetStarCount(), 0u);
    EXPECT_EQ(harness.GetSpriteBank().GetLiveInstanceCount(), idle);
}
