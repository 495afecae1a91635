#include "core/TextRoutines.h"

#include <gtest/gtest.h>

#include <string>

TEST(TextRoutines, WideningSignExtendsAndNarrowingBlanksHighUnits)
{
    char16_t wide[8];
    WidenText("A\xE9z", wide, 8);
    EXPECT_EQ(std::u16string(wide), (std::u16string{u'A', static_cast<char16_t>(0xFFE9), u'z'}));

    char narrow[8];
    NarrowText(wide, narrow, 8);
    EXPECT_STREQ(narrow, "A z");

    // Both stop at the buffer size, terminated.
    WidenText("abcdef", wide, 3);
    EXPECT_EQ(std::u16string(wide), u"ab");
    NarrowText(u"abcdef", narrow, 4);
    EXPECT_STREQ(narrow, "abc");
}

TEST(TextRoutines, ComparisonsFoldOnlyAsciiLetters)
{
    EXPECT_EQ(CompareWideNoCaseN(u"Engine_1", u"ENGINE_1", 32), 0);
    EXPECT_NE(CompareWideNoCaseN(u"\u00e9", u"\u00c9", 32), 0); // no folding beyond a-z
    EXPECT_EQ(CompareWideN(u"abc", u"abd", 2), 0);
    EXPECT_EQ(CompareWideN(u"abc", u"abd", 3), -1);
    EXPECT_EQ(CompareWideN(u"b", u"a", 3), 1);
    EXPECT_EQ(CompareWideN(u"ab", u"abc", 8), -1);
}

TEST(TextRoutines, IntegerParsing)
{
    struct SCase
    {
        const char16_t* text;
        bool ok;
        int32_t value;
    } cases[] = {
        {u"12", true, 12},     {u"-7x", true, -7},    {u"+3", true, 3},
        {u"12 // c", true, 12}, {u"", false, 0},      {u"-", false, 0},
        {u"x1", false, 0},     {u"4294967297", true, 1}, // wraps like 32-bit arithmetic
    };
    for (const SCase& c : cases)
    {
        int32_t value = 99;
        EXPECT_EQ(ParseIntW(c.text, value), c.ok);
        EXPECT_EQ(value, c.ok ? c.value : 99);
    }
    uint32_t unsignedValue = 5;
    EXPECT_FALSE(ParseUIntW(u"-3", unsignedValue));
    EXPECT_EQ(unsignedValue, 5u);
    EXPECT_TRUE(ParseUInt("4000000000", unsignedValue));
    EXPECT_EQ(unsignedValue, 4000000000u);
}

TEST(TextRoutines, BoolParsingLooksAtTheFirstFiveUnits)
{
    struct SCase
    {
        const char16_t* text;
        bool ok;
        bool value;
    } cases[] = {
        {u"Yes", true, true},    {u"TRUEISH", true, true}, {u"none", true, false},
        {u"False", true, false}, {u"fals", false, false},  {u"", false, false},
        {u"1", false, false},    {u"y", false, false},
    };
    for (const SCase& c : cases)
    {
        bool value = !c.value;
        bool before = value;
        EXPECT_EQ(ParseBoolW(c.text, value), c.ok) << std::string(c.text, c.text + 1);
        EXPECT_EQ(value, c.ok ? c.value : before);
    }
}

TEST(TextRoutines, FloatParsingReadsTheExponentOnlyAfterAFraction)
{
    struct SCase
    {
        const char16_t* text;
        float value;
    } cases[] = {
        {u"1.5e3", 1500.0f}, {u"15e2", 15.0f},  {u"abc", 0.0f},   {u"-2.25", -2.25f},
        {u"+.5", 0.5f},      {u"3.0E-2", 0.03f}, {u"7.", 7.0f},   {u"1,5", 1.0f},
    };
    for (const SCase& c : cases)
        EXPECT_FLOAT_EQ(ParseFloatW(c.text), c.value);

    bool exponentOk = true;
    ParseFloatW(u"1.0e", nullptr, &exponentOk);
    EXPECT_FALSE(exponentOk);
}

TEST(TextRoutines, ScanFloatBehavesLikePercentF)
{
    float value = 0.0f;
    const char* end = nullptr;
    ASSERT_TRUE(ScanFloat("  -1.5e2,", value, &end));
    EXPECT_FLOAT_EQ(value, -150.0f);
    EXPECT_EQ(*end, ',');
    ASSERT_TRUE(ScanFloat("+2", value, &end));
    EXPECT_FLOAT_EQ(value, 2.0f);
    EXPECT_FALSE(ScanFloat("x", value, &end));
    EXPECT_FALSE(ScanFloat("", value, &end));
    EXPECT_FALSE(ScanFloat("+-1", value, &end));
}

TEST(TextRoutines, TrimmingCutsTheCommentAndTrailingBlanks)
{
    struct SCase
    {
        const char16_t* text;
        const char16_t* trimmed;
    } cases[] = {
        {u"12  // twelve", u"12"}, {u"a b \t", u"a b"}, {u"", u""},
        {u"   ", u" "}, // an all-blank value keeps its first unit
        {u"//x", u""},  {u"path/file", u"path/file"},
    };
    for (const SCase& c : cases)
    {
        char16_t out[32];
        size_t length = CopyTrimmedValueW(out, 32, c.text);
        EXPECT_EQ(std::u16string(out), c.trimmed);
        EXPECT_EQ(length, std::u16string(c.trimmed).size());
    }
    char small[4];
    EXPECT_EQ(CopyTrimmedValue(small, sizeof(small), "abcdef // x"), 6u);
    EXPECT_STREQ(small, "abc");
}

TEST(TextRoutines, BlankSkipperStepsOverComments)
{
    EXPECT_STREQ(SkipBlanksAndComments(" \t\r\n// note\n  // more\nCODE"), "CODE");
    EXPECT_STREQ(SkipBlanksAndComments("// only a comment"), "");
    EXPECT_STREQ(SkipBlanksAndComments("/x"), "/x");
}

TEST(TextRoutines, BoundedCopyAndAppend)
{
    char16_t buffer[6];
    EXPECT_TRUE(CopyWide(buffer, 6, u"ab"));
    EXPECT_TRUE(AppendWideText(buffer, 6, u"cd"));
    EXPECT_EQ(std::u16string(buffer), u"abcd");
    EXPECT_FALSE(AppendWideText(buffer, 6, u"ef"));
    EXPECT_EQ(std::u16string(buffer), u"abcde");
    EXPECT_EQ(TokenLengthW(u"name\tvalue"), 4u);
    EXPECT_EQ(TokenLengthW(u"name"), 4u);
}
