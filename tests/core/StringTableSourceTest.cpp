#include "core/StringTableSource.h"
#include "core/StringTableWriter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
const char* const SOURCE = "# sample\n"
                           "[English]\n"
                           "0x7a000004 = Loading...\n"
                           "0xbf000007 = January\n"
                           "ShipName = Kite | kite.ogg\n"
                           "0x7a000001 = Earlier\n"
                           "Multi = one\\ntwo \\| three\n"
                           "\n"
                           "[Deutsch]\n"
                           "0x7a000004 = Lade...\n"
                           "shipname = Drachen\n";

struct SBuilt
{
    CStringTable table;
    std::vector<std::unique_ptr<CStringTableLanguage>> languages;
};

bool Build(const std::string& source, SBuilt& built, std::string& error)
{
    CStringTableSource parsed;
    if (!parsed.Parse(source, error) || !parsed.Build(built.languages, error))
        return false;
    std::vector<const CStringTableLanguage*> views;
    for (const auto& language : built.languages)
        views.push_back(language.get());
    std::vector<uint8_t> bytes = EncodeStringTable(views, parsed.HasSecondTexts() ? 2 : 1);
    return built.table.LoadFromMemory(bytes.data(), bytes.size()) && built.table.SelectLanguage(0);
}

std::u16string TextOf(const CStringTable& table, uint32_t id)
{
    const CWString* text = nullptr;
    return table.GetText(id, text) ? std::u16string(text->GetText()) : u"<none>";
}
} // namespace

TEST(StringTableSource, FixedIdsLandExactlyWhereTheCodeLooks)
{
    SBuilt built;
    std::string error;
    ASSERT_TRUE(Build(SOURCE, built, error)) << error;
    const CStringTable& table = built.table;
    EXPECT_EQ(TextOf(table, 0x7a000004), u"Loading...");
    EXPECT_EQ(TextOf(table, 0x7a000001), u"Earlier");
    EXPECT_EQ(TextOf(table, 0xbf000007), u"January");
    // Earlier positions of a fixed bucket are padding; the fixed entries' keys fall in
    // their bucket, so finding them by key gives the id back.
    EXPECT_EQ(TextOf(table, 0x7a000000), u"");
    const CStringTableLanguage* english = table.GetLanguage(0);
    ASSERT_NE(english, nullptr);
    EXPECT_GE(english->m_buckets[0xbf].size(), 8u);
    uint32_t id = 0;
    ASSERT_TRUE(table.FindId(english->m_buckets[0x7a][4].key, id));
    EXPECT_EQ(id, 0x7a000004u);

    // Keyed entries come after the fixed ones of their bucket.
    ASSERT_TRUE(table.FindIdW(u"ShipName", id));
    EXPECT_EQ(TextOf(table, id), u"Kite");
    const CWString* text = nullptr;
    const CWString* voice = nullptr;
    ASSERT_TRUE(table.GetTexts(id, text, voice));
    EXPECT_EQ(*voice, CWString(u"kite.ogg"));
    ASSERT_TRUE(table.FindIdW(u"multi", id));
    EXPECT_EQ(TextOf(table, id), u"one\ntwo | three");
}

TEST(StringTableSource, LaterLanguagesShareIdsAndFallBack)
{
    SBuilt built;
    std::string error;
    ASSERT_TRUE(Build(SOURCE, built, error)) << error;
    CStringTable& table = built.table;
    ASSERT_EQ(table.GetLanguageCount(), 2u);
    ASSERT_TRUE(table.SelectLanguage(1));
    EXPECT_EQ(TextOf(table, 0x7a000004), u"Lade...");
    EXPECT_EQ(TextOf(table, 0xbf000007), u"January"); // not translated: the first language's
    uint32_t id = 0;
    ASSERT_TRUE(table.FindIdW(u"ShipName", id));
    EXPECT_EQ(TextOf(table, id), u"Drachen");
}

TEST(StringTableSource, KeyedEntriesNeverMoveFixedIds)
{
    // Keys that fall in the fixed id's bucket, listed before it.
    std::string source = "[English]\n";
    std::vector<std::u16string> keys;
    for (int n = 0; keys.size() < 3; ++n)
    {
        std::string key = "k" + std::to_string(n);
        CWString wide;
        wide.AssignNarrow(key.c_str());
        if (CStringTable::GetKeyBucket(wide) == 0x7a)
        {
            source += key + " = keyed\n";
            keys.emplace_back(key.begin(), key.end());
        }
    }
    source += "0x7a000002 = fixed\n";
    SBuilt built;
    std::string error;
    ASSERT_TRUE(Build(source, built, error)) << error;
    EXPECT_EQ(TextOf(built.table, 0x7a000002), u"fixed");
    EXPECT_EQ(built.table.GetLanguage(0)->m_buckets[0x7a].size(), 6u);
    for (size_t i = 0; i < keys.size(); ++i)
    {
        uint32_t id = 0;
        ASSERT_TRUE(built.table.FindIdW(keys[i].c_str(), id));
        EXPECT_EQ(id, 0x7a000003u + i); // after the padded fixed positions, in source order
    }
}

TEST(StringTableSource, MalformedSourcesAreRefusedWithTheLine)
{
    struct SCase
    {
        const char* source;
        const char* message;
    } cases[] = {
        {"0x7a000004 = x\n", "line 1"},                           // before any language
        {"[English]\nno separator\n", "line 2"},
        {"[English]\n0x7a00zz04 = x\n", "line 2"},
        {"[English]\n0x7a000004 = a\n0x7a000004 = b\n", "line 3"}, // id twice
        {"[English]\nKey = a\nKEY = b\n", "line 3"},               // key twice, in any case
        {"[English]\n~pad = a\n", "line 2"},                       // reserved for generated keys
        {"[English]\nA = a\n[Deutsch]\nB = b\n", "line 4"},       // not in the first language
        {"[English]\nA = a\n[Deutsch]\nA = b\na = c\n", "line 5"}, // a later language's key twice
        {"[English]\n0x7a000004 = a\n[Deutsch]\n0x7a000004 = b\n0x7a000004 = c\n", "line 5"},
        {"# nothing\n", "no [language]"},
    };
    for (const SCase& c : cases)
    {
        SBuilt built;
        std::string error;
        EXPECT_FALSE(Build(c.source, built, error)) << c.source;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.source << " -> " << error;
    }
}
