#include "core/StringTable.h"
#include "core/StringTableWriter.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
SStringTableEntry Entry(const char16_t* key, const char16_t* text, const char16_t* second = u"")
{
    SStringTableEntry entry;
    entry.key.AssignWide(key);
    entry.text.AssignWide(text);
    entry.secondText.AssignWide(second);
    entry.fourth.AssignWide(u"4th");
    return entry;
}

// Two languages; in the first, "abc" (bucket 0xa0) is the third entry of its bucket.
std::vector<std::unique_ptr<CStringTableLanguage>> MakeLanguages()
{
    std::vector<std::unique_ptr<CStringTableLanguage>> languages;
    const char16_t* names[] = {u"English", u"Deutsch"};
    for (int l = 0; l < 2; ++l)
    {
        auto language = std::make_unique<CStringTableLanguage>();
        language->m_name.AssignWide(names[l]);
        // Stored in bucket 0 on purpose: the reader files entries by their key.
        std::vector<SStringTableEntry>& group = language->m_buckets[0];
        for (const char16_t* key : {u"pad1", u"January", u"pad2"})
            group.push_back(Entry(key, l ? u"Januar" : u"January"));
        group.push_back(Entry(u"abc", l ? u"ABC de" : u"ABC en", l ? u"abc_de.ogg" : u"abc_en.ogg"));
        languages.push_back(std::move(language));
    }
    return languages;
}

std::vector<uint8_t> Encode(uint32_t type)
{
    auto languages = MakeLanguages();
    std::vector<const CStringTableLanguage*> views;
    for (const auto& language : languages)
        views.push_back(language.get());
    return EncodeStringTable(views, type);
}
} // namespace

TEST(StringTable, BucketsAgainstHandComputedValues)
{
    // CRC-32 of the UTF-16LE bytes with the terminator, folded by XOR of its bytes:
    // "abc" -> 0x15CC89F0 -> 0xa0; "ABC" -> 0x4B2441AE -> 0x80; "January" -> 0xBA3B7BEF -> 0x15.
    EXPECT_EQ(CStringTable::GetKeyBucket(CWString(u"abc")), 0xa0);
    EXPECT_EQ(CStringTable::GetKeyBucket(CWString(u"ABC")), 0x80);
    EXPECT_EQ(CStringTable::GetKeyBucket(CWString(u"January")), 0x15);
    EXPECT_EQ(CStringTable::MakeId(0x7a, 4), 0x7a000004u);
}

TEST(StringTable, BothFormsGiveTheSameIdsAndTexts)
{
    for (uint32_t type : {1u, 2u, 3u})
    {
        std::vector<uint8_t> bytes = Encode(type);
        CStringTable table;
        ASSERT_TRUE(table.LoadFromMemory(bytes.data(), bytes.size())) << type;
        EXPECT_EQ(table.GetLanguageCount(), 2u);

        uint32_t id = 0;
        ASSERT_TRUE(table.FindIdW(u"abc", id));
        // pad1, pad2 and January fall in other buckets; abc is first in 0xa0.
        EXPECT_EQ(id >> 24, 0xa0u);
        uint32_t again = 0;
        ASSERT_TRUE(table.FindIdW(u"AbC", again)); // other letter case, other bucket
        EXPECT_EQ(again, id);

        const CWString* text = nullptr;
        EXPECT_FALSE(table.GetText(id, text)); // no language selected yet
        ASSERT_TRUE(table.SelectLanguage(1));
        ASSERT_TRUE(table.GetText(id, text));
        EXPECT_EQ(*text, CWString(u"ABC de"));
        const CWString* second = nullptr;
        ASSERT_TRUE(table.GetTexts(id, text, second));
        EXPECT_EQ(*second, type >= 2 ? CWString(u"abc_de.ogg") : CWString());
        ASSERT_TRUE(table.SelectLanguage(0));
        ASSERT_TRUE(table.GetText(id, text));
        EXPECT_EQ(*text, CWString(u"ABC en"));

        EXPECT_FALSE(table.SelectLanguage(2));
        EXPECT_EQ(table.GetLanguageIndex(), 0);
        EXPECT_FALSE(table.GetText(id + 1, text));
        EXPECT_FALSE(table.FindIdW(u"abcd", id));
    }
}

TEST(StringTable, IdsFollowFileOrderWithinABucket)
{
    // Three keys of one bucket: their ids are positions 0, 1, 2 in file order.
    auto language = std::make_unique<CStringTableLanguage>();
    language->m_name.AssignWide(u"English");
    std::vector<CWString> keys;
    for (int n = 0; keys.size() < 3; ++n)
    {
        CWString key;
        key.AssignNarrow(("key" + std::to_string(n)).c_str());
        if (CStringTable::GetKeyBucket(key) == 0x7a)
            keys.push_back(key);
    }
    for (const CWString& key : keys)
    {
        SStringTableEntry entry;
        entry.key = key;
        entry.text = key;
        language->m_buckets[0x7a].push_back(entry);
    }
    std::vector<uint8_t> bytes = EncodeStringTable({language.get()}, 1);
    CStringTable table;
    ASSERT_TRUE(table.LoadFromMemory(bytes.data(), bytes.size()));
    for (uint32_t position = 0; position < 3; ++position)
    {
        uint32_t id = 0;
        ASSERT_TRUE(table.FindId(keys[position], id));
        EXPECT_EQ(id, 0x7a000000u + position);
    }
}

TEST(StringTable, MalformedTablesAreRefusedWholly)
{
    const std::vector<uint8_t> good = Encode(2);
    std::vector<std::vector<uint8_t>> bad;
    for (size_t cut : {size_t(0), size_t(3), size_t(9), good.size() / 2, good.size() - 1})
        bad.emplace_back(good.begin(), good.begin() + static_cast<long>(cut));
    std::vector<uint8_t> unknownType = good;
    unknownType[4] = 4;
    bad.push_back(unknownType);
    std::vector<uint8_t> hugeLanguageCount = good;
    hugeLanguageCount[8] = hugeLanguageCount[9] = hugeLanguageCount[10] = hugeLanguageCount[11] = 0xFF;
    bad.push_back(hugeLanguageCount);
    std::vector<uint8_t> hugeString = good;
    // The first language's name count: far more units than the file holds.
    hugeString[12] = 0xFF;
    hugeString[13] = 0xFF;
    hugeString[14] = 0xFF;
    hugeString[15] = 0x7F;
    bad.push_back(hugeString);
    std::vector<uint8_t> hugeGroup = Encode(1);
    // The first group's entry count (after count and the 8-unit name "English").
    size_t group = 4 + 4 + 8 * 2;
    hugeGroup[group + 3] = 0x40;
    bad.push_back(hugeGroup);

    for (const auto& bytes : bad)
    {
        CStringTable table;
        EXPECT_FALSE(table.LoadFromMemory(bytes.data(), bytes.size())) << bytes.size();
        EXPECT_EQ(table.GetLanguageCount(), 0u);
        uint32_t id = 0;
        EXPECT_FALSE(table.FindIdW(u"abc", id));
        EXPECT_FALSE(table.SelectLanguage(0));
    }
}

TEST(StringTable, EmptyTableIsValidButFindsNothing)
{
    const std::vector<uint8_t> empty = {0, 0, 0, 0};
    CStringTable table;
    ASSERT_TRUE(table.LoadFromMemory(empty.data(), empty.size()));
    EXPECT_EQ(table.GetLanguageCount(), 0u);
    uint32_t id = 0;
    EXPECT_FALSE(table.FindIdW(u"abc", id));
    EXPECT_FALSE(table.SelectLanguage(0));
    const CWString* text = nullptr;
    EXPECT_FALSE(table.GetText(0x7a000004, text));
}
