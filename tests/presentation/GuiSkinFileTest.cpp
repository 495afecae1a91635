#include "presentation/GuiSkinFile.h"

#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "tests/presentation/GuiSkinText.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
// Reads skin text; the problems of a failed read land in problems.
bool ReadSkin(const std::string& text, SGuiSkinDefinition& skin, CDefinitionProblems& problems)
{
    CDataNodeList nodes;
    if (!ParseDataBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), nodes) || nodes.empty())
        return false;
    return ReadGuiSkinDefinition(static_cast<const CDataTree&>(*nodes[0]), skin, problems);
}

void ExpectPiece(const SGuiSkinDefinition& skin, int index, float x, float y)
{
    EXPECT_EQ(skin.pieces[index].x, x) << "piece " << index;
    EXPECT_EQ(skin.pieces[index].y, y) << "piece " << index;
    EXPECT_EQ(skin.pieces[index].w, 8.0f) << "piece " << index;
    EXPECT_EQ(skin.pieces[index].h, 6.0f) << "piece " << index;
}
} // namespace

TEST(GuiSkinFile, CompleteSkinPutsEveryPieceAtItsPlaceAndReadsSizesFontsAndSounds)
{
    SGuiSkinDefinition skin;
    CDefinitionProblems problems;
    ASSERT_TRUE(ReadSkin(MakeSkinText(), skin, problems)) << problems.Describe("skin");
    EXPECT_TRUE(problems.IsEmpty());
    // The fixture numbers pieces in file order, 8 to a row of 16-pixel cells.
    ExpectPiece(skin, 0, 0, 0);       // window0.frame_tl_corner
    ExpectPiece(skin, 9, 16, 16);     // window0.frame_caption
    ExpectPiece(skin, 11, 48, 16);    // window1.frame_tl_corner
    ExpectPiece(skin, 43, 48, 80);    // window3.background_color
    ExpectPiece(skin, 48, 0, 96);     // tooltips.frame_br_corner_sb
    ExpectPiece(skin, 53, 80, 96);    // tooltips.background_color
    ExpectPiece(skin, 54, 96, 96);    // alertbox.frame_tl_corner
    ExpectPiece(skin, 62, 96, 112);   // alertbox.background_color
    ExpectPiece(skin, 72, 0, 144);    // conversation.flashy_thing
    ExpectPiece(skin, 73, 16, 144);   // mouse_normal
    ExpectPiece(skin, 74, 32, 144);   // mouse_wait
    ExpectPiece(skin, 75, 48, 144);   // listbutton_leftarrow
    ExpectPiece(skin, 76, 64, 144);   // listbutton_rightarrow
    EXPECT_TRUE(skin.hasTooltips && skin.hasAlertBox && skin.hasConversation);

    const SGuiSkinSizes& s = skin.sizes;
    EXPECT_EQ(s.windowBorderWidth, 4);
    EXPECT_EQ(s.windowBorderHeight, 5);
    EXPECT_EQ(s.buttonBorderWidth, 3);
    EXPECT_EQ(s.buttonBorderHeight, 2);
    EXPECT_EQ(s.windowCaptionHeight, 12);
    EXPECT_EQ(s.closeBoxWidth, 9);
    EXPECT_EQ(s.closeBoxHeight, 8);
    EXPECT_EQ(s.conversationBorderWidth, 6);
    EXPECT_EQ(s.conversationBorderHeight, 7);
    EXPECT_EQ(s.conversationFlashyWidth, 10);
    EXPECT_EQ(s.conversationFlashyHeight, 11);
    EXPECT_EQ(s.listButtonArrowWidth, 14);
    EXPECT_EQ(s.tooltipBorderWidth, 2);
    EXPECT_EQ(s.tooltipBorderHeight, 3);
    EXPECT_EQ(s.tooltipSpeechBubbleWidth, 12);
    EXPECT_EQ(s.tooltipSpeechBubbleHeight, 13);
    EXPECT_EQ(s.alertBorderWidth, 5);
    EXPECT_EQ(s.alertBorderHeight, 4);

    EXPECT_EQ(skin.systemFont, "sysfont");
    EXPECT_TRUE(skin.fonts[0].named);
    EXPECT_EQ(skin.fonts[0].name, "f0");
    EXPECT_EQ(skin.fonts[0].numberSpaceFixup, 1);
    EXPECT_EQ(skin.fonts[0].verticalSpaceFixup, 2);
    EXPECT_EQ(skin.fonts[0].defaultVerticalFudge, 3);
    EXPECT_TRUE(skin.fonts[1].named);
    EXPECT_EQ(skin.fonts[1].numberSpaceFixup, 0);
    EXPECT_FALSE(skin.fonts[2].named);
    EXPECT_FALSE(skin.fonts[3].named);
    EXPECT_EQ(skin.sounds[0], "sel.wav");
    EXPECT_EQ(skin.sounds[1], "");
    EXPECT_EQ(skin.sounds[4], "alert.wav");
}

TEST(GuiSkinFile, EveryRequiredKeyAndEveryPieceOfAPresentBlockIsNeeded)
{
    struct SCase
    {
        const char* block;
        const char* key;
    };
    const SCase cases[] = {
        {"window0", ""},
        {"window3", ""},
        {"window2", "frame_top"},
        {"window1", "background_color"},
        {"tooltips", "frame_br_corner_sb"},
        {"alertbox", "frame_bottom"},
        {"conversation", "flashy_thing"},
        {"", "mouse_normal"},
        {"", "mouse_wait"},
        {"", "listbutton_leftarrow"},
        {"", "listbutton_rightarrow"},
        {"", "windowborderwidth"},
        {"", "windowborderheight"},
        {"", "buttonborderwidth"},
        {"", "buttonborderheight"},
        {"", "windowcaptionheight"},
        {"", "closeboxwidth"},
        {"", "closeboxheight"},
        {"", "conversationborderwidth"},
        {"", "conversationborderheight"},
        {"", "conversationflashythingwidth"},
        {"", "conversationflashythingheight"},
        {"", "listbuttonarrowwidth"},
    };
    for (const SCase& c : cases)
    {
        std::string text = RemoveSkinKey(MakeSkinText(), c.block, c.key);
        ASSERT_NE(text, MakeSkinText()) << c.block << " " << c.key;
        SGuiSkinDefinition skin;
        CDefinitionProblems problems;
        EXPECT_FALSE(ReadSkin(text, skin, problems)) << c.block << " " << c.key;
        EXPECT_TRUE(problems.HasFatal()) << c.block << " " << c.key;
        const std::string named = *c.key ? c.key : c.block;
        EXPECT_NE(problems.Describe("skin").find(named), std::string::npos) << problems.Describe("skin");
    }
}

TEST(GuiSkinFile, OptionalBlocksAndValuesMayBeLeftOut)
{
    std::string text = MakeSkinText();
    for (const char* block : {"tooltips", "alertbox", "conversation"})
        text = RemoveSkinKey(text, block, "");
    for (const char* key : {"tooltip_borderwidth", "tooltip_frame_br_sb_xsize", "alertbox_borderheight", "systemfont",
                            "font0", "numberspacefixup0", "default_select"})
        text = RemoveSkinKey(text, "", key);
    SGuiSkinDefinition skin;
    CDefinitionProblems problems;
    ASSERT_TRUE(ReadSkin(text, skin, problems)) << problems.Describe("skin");
    EXPECT_FALSE(skin.hasTooltips || skin.hasAlertBox || skin.hasConversation);
    for (int piece = 44; piece < 73; ++piece)
        EXPECT_EQ(skin.pieces[piece].w, 0.0f) << piece;
    EXPECT_EQ(skin.sizes.tooltipBorderWidth, 0);
    EXPECT_EQ(skin.sizes.tooltipBorderHeight, 3);
    EXPECT_EQ(skin.sizes.tooltipSpeechBubbleWidth, 0);
    EXPECT_EQ(skin.sizes.alertBorderHeight, 0);
    EXPECT_EQ(skin.systemFont, "system_font");
    EXPECT_FALSE(skin.fonts[0].named);
    EXPECT_EQ(skin.fonts[0].numberSpaceFixup, 0);
    EXPECT_EQ(skin.sounds[0], "");
    EXPECT_EQ(skin.sounds[4], "alert.wav");
}

TEST(GuiSkinFile, APieceMustBeFourCommaSeparatedNumbers)
{
    std::string text = RemoveSkinKey(MakeSkinText(), "", "mouse_wait");
    text.insert(text.find("\tmouse_normal"), "\tmouse_wait 0 0 16 16\n");
    SGuiSkinDefinition skin;
    CDefinitionProblems problems;
    EXPECT_FALSE(ReadSkin(text, skin, problems));
    EXPECT_NE(problems.Describe("skin").find("mouse_wait"), std::string::npos);
}

TEST(GuiSkinFile, PiecesMustLieInsideATextureThatHasPixels)
{
    SGuiSkinDefinition skin;
    CDefinitionProblems problems;
    ASSERT_TRUE(ReadSkin(MakeSkinText(), skin, problems));
    std::string reason;
    EXPECT_TRUE(CheckGuiSkinPieces(skin, SKIN_TEXT_TEXTURE_WIDTH, SKIN_TEXT_TEXTURE_HEIGHT, reason)) << reason;

    struct SCase
    {
        int width, height, piece;
        SGuiSkinPiece changed;
        const char* named;
    };
    const SCase cases[] = {
        {0, 160, -1, {}, "no pixels"},
        {128, 0, -1, {}, "no pixels"},
        {128, 149, -1, {}, "conversation.flashy_thing"}, // row 9 reaches y 150
        {128, 160, 5, {120.5f, 0, 8, 6}, "window0.frame_left"},
        {128, 160, 75, {-1, 0, 8, 6}, "listbutton_leftarrow"},
        {128, 160, 50, {0, 0, 8, -6}, "tooltips.frame_left"},
    };
    for (const SCase& c : cases)
    {
        SGuiSkinDefinition changed = skin;
        if (c.piece >= 0)
            changed.pieces[c.piece] = c.changed;
        reason.clear();
        EXPECT_FALSE(CheckGuiSkinPieces(changed, c.width, c.height, reason)) << c.named;
        EXPECT_NE(reason.find(c.named), std::string::npos) << reason;
    }
}
