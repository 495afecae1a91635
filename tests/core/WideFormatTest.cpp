#include "core/WideFormat.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
std::u16string Text(const CWString& text)
{
    return text.GetText();
}
} // namespace

TEST(WideFormat, SaveSlotDateAndStringTableTexts)
{
    CWString out;
    // Day, wide month name, then three two-digit 8-bit texts.
    FormatWide(out, u"%i%s %S:%S:%S", 7, u"December", "09", "05", "30");
    EXPECT_EQ(Text(out), u"7December 09:05:30");
    FormatWide(out, u"Welcome back, %s", u"HALVERN");
    EXPECT_EQ(Text(out), u"Welcome back, HALVERN");
    FormatWide(out, u"Hull %i%%", 85);
    EXPECT_EQ(Text(out), u"Hull 85%");
    FormatWide(out, u"Best time %i:%02i", 3, 7);
    EXPECT_EQ(Text(out), u"Best time 3:07");
}

TEST(WideFormat, Conversions)
{
    struct SCase
    {
        std::u16string got;
        std::u16string expected;
    };
    auto format = [](const char16_t* spec, auto... args) {
        CWString out;
        FormatWide(out, spec, args...);
        return std::u16string(out.GetText());
    };
    const SCase cases[] = {
        {format(u"[%5i|%-5i|%05i]", -42, 42, -42), u"[  -42|42   |-0042]"},
        {format(u"%u %x %X %.4x", 4000000000u, 255u, 255u, 10u), u"4000000000 ff FF 000a"},
        {format(u"%f %.2f %6.1f", 1.5, -2.345, 3.25), u"1.500000 -2.35    3.2"},
        {format(u"%c%c", 'H', 0x4e16), u"H\u4e16"},
        {format(u"%.3s|%4S|%s", u"abcdef", "ab", static_cast<const char16_t*>(nullptr)), u"abc|  ab|(null)"},
        {format(u"%S", "caf\xE9"), std::u16string(u"caf") + static_cast<char16_t>(0xFFE9)},
        {format(u"100%% %q %"), u"100% %q %"},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(c.got, c.expected);
}

TEST(WideFormat, WidthsAndPrecisionsFromAnEditedTextAreBounded)
{
    // A table text may carry any field size; the larger ones (and those that would
    // overflow while read) stop at 1024 units instead of asking for gigabytes.
    auto length = [](const char16_t* spec, auto argument) {
        CWString out;
        FormatWide(out, spec, argument);
        return out.GetTextLength();
    };
    EXPECT_EQ(length(u"%0011100011110f", 1.5), 1024u);
    EXPECT_EQ(length(u"%2000000000d", 7), 1024u);
    EXPECT_EQ(length(u"%-99999999999999999999i|", 7), 1025u);
    EXPECT_EQ(length(u"%.2000000000x", 7u), 1024u);
    EXPECT_EQ(length(u"%.99999999999999999999s", u"text"), 4u);
    EXPECT_EQ(length(u"%1023d", 7), 1023u);
}
