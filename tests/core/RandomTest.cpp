// The game's random generator: scripted draws come first, within the generator's
// range, and then it goes on where it stood; a new seed forgets a script.

#include "core/Random.h"

#include <gtest/gtest.h>

TEST(Random, ScriptedDrawsComeFirstThenTheSequenceGoesOn)
{
    CRandom plain(42);
    const uint32_t first = plain.Next();
    const uint32_t second = plain.Next();

    CRandom scripted(42);
    scripted.ScriptDraws({7, 0xFFFFFFFFu, 12});
    EXPECT_EQ(scripted.CountScriptedDraws(), 3u);
    EXPECT_EQ(scripted.Next(), 7u);
    EXPECT_EQ(scripted.Next(), CRandom::MAX) << "held within the range";
    EXPECT_EQ(scripted.Below(5), 2) << "12 % 5";
    EXPECT_EQ(scripted.CountScriptedDraws(), 0u);
    EXPECT_EQ(scripted.Next(), first);
    EXPECT_EQ(scripted.Next(), second);

    scripted.ScriptDraws({3});
    scripted.Seed(42);
    EXPECT_EQ(scripted.CountScriptedDraws(), 0u);
    EXPECT_EQ(scripted.Next(), first);
}
