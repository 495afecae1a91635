#include "core/StringTable.h"
#include "core/StringTableSource.h"
#include "core/StringTableWriter.h"
#include "tests/support/TempDir.h"
#include "utility/source/QelFile.h"

#include <gtest/gtest.h>

#include <memory>
#include <sys/time.h>
#include <string>
#include <vector>

namespace
{
std::string BuildTable(const std::string& source)
{
    CStringTableSource parsed;
    std::vector<std::unique_ptr<CStringTableLanguage>> languages;
    std::string error;
    if (!parsed.Parse(source, error) || !parsed.Build(languages, error))
        return std::string();
    std::vector<const CStringTableLanguage*> views;
    for (const auto& language : languages)
        views.push_back(language.get());
    std::vector<uint8_t> bytes = EncodeStringTable(views, 1);
    return std::string(bytes.begin(), bytes.end());
}
} // namespace

TEST(WStringFile, ReadsTheOnDiskFormAndRefusesShortFiles)
{
    CTempDir dir;
    const std::string good("\x03\x00\x00\x00H\x00i\x00\x00\x00\x00\x00\x00\x00", 14);
    // Counts that the file cannot hold: one unit short, and two billion units.
    const std::string shortByOne("\x03\x00\x00\x00H\x00i\x00", 8);
    const std::string huge("\xFF\xFF\xFF\x7F" "abcd", 8);
    ASSERT_TRUE(dir.WriteFile("good.bin", good));
    ASSERT_TRUE(dir.WriteFile("short.bin", shortByOne));
    ASSERT_TRUE(dir.WriteFile("huge.bin", huge));

    CQelFile file;
    ASSERT_TRUE(file.Open(dir.Join("good.bin").c_str(), "", FILE_OPEN_READ));
    CWString text;
    CWString empty(u"x");
    ASSERT_TRUE(text.Read(file));
    ASSERT_TRUE(empty.Read(file));
    file.Close();
    EXPECT_EQ(text, CWString(u"Hi"));
    EXPECT_TRUE(empty.IsEmpty());

    for (const char* name : {"short.bin", "huge.bin"})
    {
        ASSERT_TRUE(file.Open(dir.Join(name).c_str(), "", FILE_OPEN_READ));
        CWString read(u"old");
        EXPECT_FALSE(read.Read(file)) << name;
        EXPECT_TRUE(read.IsEmpty()) << name;
        file.Close();
    }

    // Written and read back through the file layer.
    ASSERT_TRUE(file.Open(dir.Join("out.bin").c_str(), "", FILE_OPEN_WRITE));
    ASSERT_TRUE(CWString(u"Caf\u00e9").Write(file));
    ASSERT_TRUE(file.Close());
    std::string bytes;
    ASSERT_TRUE(dir.ReadFile("out.bin", bytes));
    EXPECT_EQ(bytes, std::string("\x05\x00\x00\x00" "C\x00" "a\x00" "f\x00" "\xE9\x00" "\x00\x00", 14));
}

TEST(StringTableFile, LoadsThroughTheFileLayerAndNamesMonths)
{
    CTempDir dir;
    ASSERT_TRUE(dir.WriteFile("data/Tessavar_Strings.tbl",
                              BuildTable("[English]\n0xbf000007 = January\n0xc3000005 = December\n")));
    ASSERT_TRUE(dir.WriteFile("bad.tbl", std::string("\x01\x00\x00\x00\x05", 5)));
    ASSERT_TRUE(dir.WriteFile("short.tbl", "\x01"));
    ASSERT_TRUE(dir.WriteFile("empty.tbl", std::string("\x00\x00\x00\x00", 4)));
    CStringTable table;
    // Each failure has its reason, to be said after the file's name.
    const struct
    {
        const char* name;
        const char* reason;
    } failures[] = {
        {"missing.tbl", "is missing from the program folder and its packs"},
        {"bad.tbl", "is damaged: a text or count runs past the end of the file"},
        {"short.tbl", "is damaged: it ends before its header"},
        {"empty.tbl", "holds no language"},
    };
    for (const auto& failure : failures)
    {
        EXPECT_FALSE(table.Load(dir.Join(failure.name).c_str())) << failure.name;
        EXPECT_STREQ(table.GetLoadError(), failure.reason) << failure.name;
    }
    ASSERT_TRUE(table.Load(dir.Join("DATA\\tessavar_strings.TBL").c_str()));
    EXPECT_STREQ(table.GetLoadError(), "");
    ASSERT_TRUE(table.SelectLanguage(0));

    // File dates name their month through the installed lookup.
    CStringTable* previous = g_stringTable;
    g_stringTable = &table;
    SetMonthNameLookup(LookUpStringTableText);
    CWString month;
    EXPECT_TRUE(LookUpStringTableText(GetMonthTextId(12), month));
    EXPECT_EQ(month, CWString(u"December"));
    // 15 December 2020, noon UTC: December in every time zone.
    const struct timeval times[2] = {{1608033600, 0}, {1608033600, 0}};
    ASSERT_EQ(utimes(dir.Join("bad.tbl").c_str(), times), 0);
    CQelFile file;
    ASSERT_TRUE(file.Open(dir.Join("bad.tbl").c_str(), "", FILE_OPEN_READ));
    CWString dateMonth;
    int day = 0, hour = 0, minute = 0, second = 0;
    EXPECT_TRUE(file.GetDateText(dateMonth, day, hour, minute, second));
    file.Close();
    EXPECT_EQ(dateMonth, CWString(u"December"));
    EXPECT_FALSE(LookUpStringTableText(GetMonthTextId(3), month)); // not in this table
    SetMonthNameLookup(nullptr);
    g_stringTable = previous;
    EXPECT_FALSE(LookUpStringTableText(GetMonthTextId(1), month));
}
