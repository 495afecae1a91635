// The TESSAVAR_SCRIPT reader: what each line becomes, and the lines it refuses.

#include "platform/InputScript.h"

#include <SDL.h>
#include <gtest/gtest.h>

TEST(InputScript, LinesBecomeInputsInFrameOrder)
{
    const std::string script = "# a comment, then a blank line\n"
                               "\n"
                               "5 key Grave\n"
                               "  2 type /set x 1\r\n"
                               "7 click left 10 20\n"
                               "3 down left shift\n"
                               "4 up LEFT SHIFT\n"
                               "6 move -5 600\n"
                               "6 press right 1 2\n"
                               "6 release right 3 4\n";
    std::vector<SScriptInput> entries;
    std::string reason;
    ASSERT_TRUE(ParseInputScript(script, entries, reason)) << reason;
    struct SExpected
    {
        uint32_t frame;
        EScriptInput kind;
    };
    const SExpected expected[] = {
        {2, EScriptInput::Text},       {3, EScriptInput::KeyDown},    {4, EScriptInput::KeyUp},
        {5, EScriptInput::KeyDown},    {6, EScriptInput::KeyUp},      {6, EScriptInput::Move},
        {6, EScriptInput::ButtonDown}, {6, EScriptInput::ButtonUp},   {7, EScriptInput::ButtonDown},
        {8, EScriptInput::ButtonUp},
    };
    ASSERT_EQ(entries.size(), std::size(expected));
    for (size_t i = 0; i < entries.size(); ++i)
    {
        EXPECT_EQ(entries[i].frame, expected[i].frame) << i;
        EXPECT_EQ(entries[i].kind, expected[i].kind) << i;
    }
    EXPECT_EQ(entries[0].text, "/set x 1");
    EXPECT_EQ(entries[1].scancode, SDL_SCANCODE_LSHIFT);
    EXPECT_EQ(entries[2].scancode, SDL_SCANCODE_LSHIFT);
    EXPECT_EQ(entries[3].scancode, SDL_SCANCODE_GRAVE);
    EXPECT_EQ(entries[5].x, -5);
    EXPECT_EQ(entries[5].y, 600);
    EXPECT_EQ(entries[6].button, 1);
    EXPECT_EQ(entries[9].button, 0);
    EXPECT_EQ(entries[9].x, 10);
    EXPECT_EQ(entries[9].y, 20);
}

TEST(InputScript, UnreadableLinesAreRefusedWithTheirNumber)
{
    const char* const bad[] = {
        "key Return",           // no frame
        "-1 key Return",        // a frame before the first
        "1 key NoSuchKey",      // unknown key
        "1 wiggle",             // unknown input
        "1 move 10",            // a coordinate missing
        "1 click middle 1 1",   // no such button
        "1 press left 1 y",     // not a number
        "1x key Return",        // not a frame number
    };
    for (const char* line : bad)
    {
        std::vector<SScriptInput> entries;
        std::string reason;
        EXPECT_FALSE(ParseInputScript(std::string("0 key A\n") + line + "\n", entries, reason)) << line;
        EXPECT_EQ(reason.rfind("line 2:", 0), 0u) << reason;
        EXPECT_TRUE(entries.empty()) << line;
    }
}
