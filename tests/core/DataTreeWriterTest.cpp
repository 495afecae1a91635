#include "core/DataFile.h"
#include "core/DataTextWriter.h"
#include "core/SettingsWriter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{
std::unique_ptr<CDataTree> MakeSample()
{
    auto root = std::make_unique<CDataTree>(u"root");
    root->AddInt("a", -3);
    auto inner = new CDataTree(u"inner");
    inner->AddString("b", "x y");
    inner->AddChild(new CDataValue(u"empty", u""));
    root->AddChild(inner);
    root->AddChild(new CDataTree()); // anonymous
    root->AddChild(new CDataValue(u"note", u"12 // twelve"));
    return root;
}

std::u16string Units(const std::vector<uint8_t>& bytes, size_t from)
{
    std::u16string text;
    for (size_t i = from; i + 1 < bytes.size(); i += 2)
        text += static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
    return text;
}

std::unique_ptr<CDataTree> Reparse(const std::vector<uint8_t>& bytes)
{
    CDataNodeList nodes;
    ParseDataBytes(bytes.data(), bytes.size(), nodes);
    if (nodes.size() != 1)
        return nullptr;
    return std::unique_ptr<CDataTree>(static_cast<CDataTree*>(nodes[0].release()));
}

// Both trees written flat give the same text.
std::u16string Flat(const CDataNode& node)
{
    return Units(EncodeDataNode(node, false), 2);
}
} // namespace

TEST(DataTreeWriter, ExactIndentedAndFlatText)
{
    std::unique_ptr<CDataTree> root = MakeSample();
    std::vector<uint8_t> bytes = EncodeDataNode(*root, true);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFE);
    EXPECT_EQ(Units(bytes, 2), u"root\r\n{\r\n"
                               u"\ta\t-3\r\n"
                               u"\tinner\r\n\t{\r\n\t\tb\tx y\r\n\t\tempty\t\r\n\t}\r\n"
                               u"\t{\r\n\t}\r\n"
                               u"\tnote\t12 // twelve\r\n"
                               u"}\r\n");
    EXPECT_EQ(Flat(*root), u"root\r\n{\r\n"
                           u"a\t-3\r\n"
                           u"inner\r\n{\r\nb\tx y\r\nempty\t\r\n}\r\n"
                           u"{\r\n}\r\n"
                           u"note\t12 // twelve\r\n"
                           u"}\r\n");
}

TEST(DataTreeWriter, RoundTripsThroughTheReader)
{
    std::unique_ptr<CDataTree> root = MakeSample();
    for (bool indent : {true, false})
    {
        std::unique_ptr<CDataTree> again = Reparse(EncodeDataNode(*root, indent));
        ASSERT_TRUE(again);
        EXPECT_EQ(Flat(*again), Flat(*root));
        int32_t value = 0;
        EXPECT_TRUE(again->GetInt("a", value));
        EXPECT_EQ(value, -3);
    }
}

TEST(DataTreeWriter, ScrambledFormRoundTrips)
{
    std::unique_ptr<CDataTree> root = MakeSample();
    SetDataTreeScramble(true);
    std::vector<uint8_t> bytes = EncodeDataNode(*root, true);
    SetDataTreeScramble(false);
    ASSERT_GE(bytes.size(), 6u);
    EXPECT_EQ(bytes[0], 0xAA);
    EXPECT_EQ(bytes[1], 0xFF);
    // Unit i after the marker is XORed with 23827 + i.
    EXPECT_EQ(bytes[2] | bytes[3] << 8, u'r' ^ 23827);
    EXPECT_EQ(bytes[4] | bytes[5] << 8, u'o' ^ 23828);
    std::unique_ptr<CDataTree> again = Reparse(bytes);
    ASSERT_TRUE(again);
    EXPECT_EQ(Flat(*again), Flat(*root));

    // A long file runs the counter past 16 bits and wraps.
    CDataTree big(u"big");
    for (int i = 0; i < 4000; ++i)
        big.AddInt(("v" + std::to_string(i)).c_str(), i);
    SetDataTreeScramble(true);
    std::vector<uint8_t> bigBytes = EncodeDataNode(big, true);
    SetDataTreeScramble(false);
    ASSERT_GT(bigBytes.size() / 2, 65536u - 23827u);
    std::unique_ptr<CDataTree> bigAgain = Reparse(bigBytes);
    ASSERT_TRUE(bigAgain);
    int32_t last = 0;
    EXPECT_TRUE(bigAgain->GetInt("v3999", last));
    EXPECT_EQ(last, 3999);
}

TEST(DataTreeWriter, NoValueTextChangesTheShapeOfTheFile)
{
    // Texts a player could type (a name, say) that would split the line or open a
    // block when read back; the value after them must survive, and so must the file.
    struct SCase
    {
        const char* text;
        const char* readBack;
    };
    const SCase cases[] = {
        {"two\r\nlines", "two  lines"},
        {"{abc}", "(abc}"},
        {" \t{", "("},
        {"a{b}", "a{b}"},
        {"}", "}"},
    };
    for (const SCase& c : cases)
    {
        CDataTree tree(u"t");
        tree.SetString("name", c.text);
        tree.AddInt("after", 1);
        std::unique_ptr<CDataTree> again = Reparse(EncodeDataNode(tree, true));
        ASSERT_TRUE(again) << c.text;
        char text[32];
        ASSERT_TRUE(again->GetString("name", text, sizeof(text))) << c.text;
        EXPECT_STREQ(text, c.readBack);
        int32_t after = 0;
        EXPECT_TRUE(again->GetInt("after", after)) << c.text;
        EXPECT_EQ(again->GetChildCount(), 2u) << c.text;
    }
}

TEST(SettingsWriter, AppendsKeysInCallOrder)
{
    CDataTree tree;
    CSettingsWriter writer;
    bool fullscreen = false;
    int32_t width = 800;
    writer.WriteBool(tree, "r_fullscreen", &fullscreen);
    writer.WriteInt(tree, "r_backBufferWidth", &width);
    writer.WriteInt(tree, "r_missing", nullptr);
    EXPECT_EQ(Units(EncodeDataNode(tree, true), 2), u"{\r\n\tr_fullscreen\tfalse\r\n\tr_backBufferWidth\t800\r\n}\r\n");
}
