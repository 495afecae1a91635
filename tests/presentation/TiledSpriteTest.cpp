#include "core/DefinitionProblems.h"
#include "presentation/TiledSprite.h"
#include "tests/presentation/AnimationFixture.h"

namespace
{
class TiledSpriteTest : public CAnimationFixture
{
protected:
    // A 2 x 2 definition of 64 x 64 cells from frame 1 of a five-frame file.
    void LoadPicture()
    {
        SSpriteSpec spec;
        spec.frameWidth = spec.frameHeight = 64;
        spec.frames = 5;
        spec.pageSide = 256;
        const std::string path = WriteSprite("picture.spr", spec);
        auto node = ParseFirstBlock("p\n{\n width 2\n height 2\n firstFrame 1\n displayLayer 15\n sprite\n {\n"
                                    "  spriteFile " + path + "\n }\n}\n");
        ASSERT_TRUE(m_def.Load(*node, m_problems));
        EXPECT_TRUE(m_problems.IsEmpty());
    }

    CDefinitionProblems m_problems;
    CTiledSpriteDef m_def;
};
} // namespace

TEST_F(TiledSpriteTest, CenterOnPlacesWholeCellsRowByRow)
{
    LoadPicture();
    EXPECT_EQ(m_def.GetCellWidth(), 64u);
    EXPECT_EQ(m_def.GetCellHeight(), 64u);
    CTiledSprite picture;
    ASSERT_TRUE(picture.Create(m_def));
    ASSERT_EQ(picture.GetCellCount(), 4u);
    const struct
    {
        float x, y;
        float cells[4][2];
    } cases[] = {
        {100.0f, 100.0f, {{68, 68}, {132, 68}, {68, 132}, {132, 132}}},
        {100.7f, 99.2f, {{68, 67}, {132, 67}, {68, 131}, {132, 131}}},
        {0.0f, -0.5f, {{-32, -33}, {32, -33}, {-32, 31}, {32, 31}}},
    };
    for (const auto& c : cases)
    {
        picture.CenterOn(CVector2D(c.x, c.y));
        for (size_t i = 0; i < 4; ++i)
        {
            EXPECT_EQ(picture.GetCell(i)->m_x, c.cells[i][0]) << c.x << " cell " << i;
            EXPECT_EQ(picture.GetCell(i)->m_y, c.cells[i][1]) << c.y << " cell " << i;
        }
    }
    picture.SetTopLeft(10.5f, 20.0f);
    EXPECT_EQ(picture.GetCell(3)->m_x, 74.5f);
    EXPECT_EQ(picture.GetCell(3)->m_y, 84.0f);
}

TEST_F(TiledSpriteTest, CellsShowConsecutiveFramesOnTheirPlane)
{
    LoadPicture();
    CTiledSprite onScreen, inWorld;
    ASSERT_TRUE(onScreen.Create(m_def));
    ASSERT_TRUE(inWorld.CreateOnPlane(m_def, 6));
    for (size_t i = 0; i < 4; ++i)
    {
        const SSpriteInstance* cell = onScreen.GetCell(i);
        EXPECT_EQ(cell->m_frame, 1 + i);
        EXPECT_EQ(cell->m_plane, 15);
        EXPECT_EQ(cell->m_flags, uint32_t(SPRITE_VIRTUAL)) << "hidden, in virtual-screen units";
        EXPECT_EQ(cell->m_colour, 0xFFFFFFFFu);
        EXPECT_EQ(inWorld.GetCell(i)->m_plane, 6);
        EXPECT_EQ(inWorld.GetCell(i)->m_flags, 0u);
    }
    inWorld.UseVirtualScreen();
    inWorld.SetVisible(true);
    EXPECT_EQ(inWorld.GetCell(2)->m_flags, uint32_t(SPRITE_VIRTUAL | SPRITE_VISIBLE));
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), 8);
    onScreen.Destroy();
    EXPECT_EQ(onScreen.GetCellCount(), 0u);
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), 4);
}

// Every key is required: each one missing is a fatal problem that names it. Sides
// outside 1..64 are refused the same way.
TEST_F(TiledSpriteTest, MissingOrBadKeysAreFatal)
{
    const std::string all = " width 2\n height 2\n firstFrame 0\n displayLayer 3\n sprite\n {\n  spriteFile dummy\n }\n";
    const struct
    {
        std::string text;
        const char* named;
    } cases[] = {
        {" height 2\n firstFrame 0\n displayLayer 3\n sprite\n {\n }\n", "\"width\""},
        {" width 2\n firstFrame 0\n displayLayer 3\n sprite\n {\n }\n", "\"height\""},
        {" width 2\n height 2\n displayLayer 3\n sprite\n {\n }\n", "\"firstFrame\""},
        {" width 2\n height 2\n firstFrame 0\n sprite\n {\n }\n", "\"displayLayer\""},
        {" width 2\n height 2\n firstFrame 0\n displayLayer 3\n", "\"sprite\""},
        {" width 0\n height 2\n firstFrame 0\n displayLayer 3\n sprite\n {\n }\n", "0 x 2"},
        {" width 2\n height 65\n firstFrame 0\n displayLayer 3\n sprite\n {\n }\n", "2 x 65"},
        {" width 2\n height 2\n firstFrame -1\n displayLayer 3\n sprite\n {\n }\n", "-1"},
    };
    for (const auto& c : cases)
    {
        CDefinitionProblems problems;
        CTiledSpriteDef def;
        EXPECT_FALSE(def.Load(*ParseFirstBlock("p\n{\n" + c.text + "}\n"), problems)) << c.named;
        ASSERT_TRUE(problems.HasFatal()) << c.named;
        EXPECT_NE(problems.GetAll().front().text.find(c.named), std::string::npos) << problems.Describe("p");
    }
    CDefinitionProblems problems;
    CTiledSpriteDef def;
    EXPECT_TRUE(def.Load(*ParseFirstBlock("p\n{\n" + all + "}\n"), problems));
    EXPECT_TRUE(problems.IsEmpty());
    CTiledSprite none;
    EXPECT_FALSE(none.Create(def)) << "a picture without a file has no cells";
    EXPECT_EQ(none.GetCellCount(), 0u);
}
