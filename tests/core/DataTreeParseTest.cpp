#include "core/DataFile.h"
#include "core/DataTreeParser.h"
#include "core/Utf8Text.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
// A compact picture of what the parser understood: name{child;child}, name=value.
std::string Describe(const CDataNode& node)
{
    std::string text = Utf16ToUtf8(node.GetName());
    if (!node.IsBlock())
        return text + "=" + Utf16ToUtf8(static_cast<const CDataValue&>(node).GetText());
    const CDataTree& tree = static_cast<const CDataTree&>(node);
    text += "{";
    for (size_t i = 0; i < tree.GetChildCount(); ++i)
        text += (i ? ";" : "") + Describe(*tree.GetChild(i));
    return text + "}";
}

std::string ParseAndDescribe(const std::string& bytes)
{
    CDataNodeList nodes;
    ParseDataBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), nodes);
    std::string text;
    for (const auto& node : nodes)
        text += (text.empty() ? "" : " | ") + Describe(*node);
    return text;
}
} // namespace

TEST(DataTreeGrammar, Table)
{
    struct SCase
    {
        const char* input;
        const char* understood;
    } cases[] = {
        {"a\n{\n x 1\n}\n", "a{x=1}"},
        {"a {\n}\n", "a{}"},
        {"a { }", "a{}"},
        {"{\n v 1\n}", "{v=1}"},                                   // anonymous block
        {"a{\n x 1\n}\n", ""},                                     // "a{" is one name with no brace
        {"a\n{\n v 1\n", ""},                                      // closing brace missing
        {"a\n{\n v 1\n}\nb\n{\n w 2\n", "a{v=1}"},                 // a broken block ends the file
        {"a\n{\n v 1\n}\njunk\nb\n{\n}\n", "a{v=1}"},              // so does anything not a block
        {"a\r\n{\r\n\tv\t1\r\n}\r\n", "a{v=1}"},                   // CRLF and tabs
        {"a\n{\n b\n {\n  c { d 4\n  }\n }\n}", "a{b{c{d=4}}}"},   // nesting; no line break at the end
        {"a\n{\n flag\n}", "a{flag=}"},                            // a name alone is an empty value
        {"a\n{\n v   // gone\n}", "a{v=}"},                        // a comment right after the name
        {"a\n{\n v 12  // twelve\n}", "a{v=12  // twelve}"},       // kept as read
        {"a\n{\n title \"Hello, world\"\n}", "a{title=\"Hello, world\"}"}, // quotes are text
        {"a\n{\n path data\\frontend\\main.txt\n}", "a{path=data\\frontend\\main.txt}"},
        {"// top\n/* multi\n line { */ a // c\n{\n // inside\n v 1\n}", "a{v=1}"},
        {"a\n{\n /* c */ b\n {\n }\n}", "a{b{}}"},                 // "/*" before a nested block
        {"a\n{\n /* c */ v 1\n}", ""},                             // but not before a value
        {"a\n{\n #define x\n # anything {\n v 1\n}", "a{v=1}"},    // "#" lines other than includes
        {"a\n{\n v 1 }\n}", "a{v=1 }}"},                           // a brace after a value is text
        {"a\n{\n -v 1\n}", ""},                                    // names start with a letter, digit or _
        {"_a\n{\n 9v 1\n}\n{\n}", "_a{9v=1} | {}"},
        {"", ""},
        {"   // nothing\n", ""},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(ParseAndDescribe(c.input), c.understood) << "input:\n" << c.input;
}

TEST(DataTreeGrammar, NameAndValueLimits)
{
    const std::string name32(32, 'n');
    const std::string name33(33, 'n');
    EXPECT_EQ(ParseAndDescribe(name32 + "\n{\n}"), name32 + "{}");
    EXPECT_EQ(ParseAndDescribe(name33 + "\n{\n}"), "");
    EXPECT_EQ(ParseAndDescribe("a\n{\n " + name33 + " 1\n}"), "");

    const std::string value256(256, 'v');
    const std::string value257(257, 'v');
    EXPECT_EQ(ParseAndDescribe("a\n{\n x " + value256 + "\n}"), "a{x=" + value256 + "}");
    // The long line fails, and with it the enclosing block; earlier blocks stay.
    EXPECT_EQ(ParseAndDescribe("k\n{\n}\na\n{\n b\n {\n  x " + value257 + "\n }\n}"), "k{}");
}

TEST(DataTreeGrammar, DepthLimit)
{
    auto nest = [](int blocks) {
        std::string text;
        for (int i = 0; i < blocks; ++i)
            text += "b\n{\n";
        for (int i = 0; i < blocks; ++i)
            text += "}\n";
        return text;
    };
    // Depth 0 is the top level; 64 is the deepest block allowed.
    EXPECT_FALSE(ParseAndDescribe(nest(65)).empty());
    EXPECT_EQ(ParseAndDescribe(nest(66)), "");

    // A bad line deep inside fails every level; each failed block is retried as a
    // value line, which must not re-parse the inner text once per combination.
    std::string deep;
    for (int i = 0; i < 48; ++i)
        deep += "b\n{\n";
    deep += "x " + std::string(300, 'v') + "\n";
    for (int i = 0; i < 48; ++i)
        deep += "}\n";
    EXPECT_EQ(ParseAndDescribe("k\n{\n}\n" + deep), "k{}");
}

TEST(DataTreeGrammar, Encodings)
{
    // UTF-16 with FF FE; the last line needs no line break.
    std::u16string wide = u"a\r\n{\r\n\tname\tCaf\u00e9 \u4e16\r\n}";
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : wide)
    {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    EXPECT_EQ(ParseAndDescribe(bytes), "a{name=Caf\u00e9 \u4e16}");

    // 8-bit text widens with sign extension: 0xE9 becomes the unit 0xFFE9.
    CDataNodeList nodes;
    std::string latin = "a\n{\n name Caf\xE9\n}\n";
    ParseDataBytes(reinterpret_cast<const uint8_t*>(latin.data()), latin.size(), nodes);
    ASSERT_EQ(nodes.size(), 1u);
    const CDataTree& tree = static_cast<const CDataTree&>(*nodes[0]);
    CWString text;
    ASSERT_TRUE(tree.GetWString("name", text));
    EXPECT_EQ(text.GetBuffer()[3], 0xFFE9);
    char narrow[16];
    ASSERT_TRUE(tree.GetString("name", narrow, sizeof(narrow)));
    EXPECT_STREQ(narrow, "Caf ");

    // A NUL byte ends 8-bit text.
    std::string cut("a\n{\n}\n\0b\n{\n}\n", 14);
    EXPECT_EQ(ParseAndDescribe(cut), "a{}");
}

TEST(DataTreeGrammar, ParserCountsOnlyWhatItRead)
{
    std::string text = "a\n{\n v 1\n b\n {\n }\n w 2\n c { }\n}";
    CDataNodeList nodes;
    ParseDataBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), nodes);
    ASSERT_EQ(nodes.size(), 1u);
    CDataTree& tree = static_cast<CDataTree&>(*nodes[0]);
    EXPECT_EQ(tree.GetParsedValueCount(), 2u);
    EXPECT_EQ(tree.GetParsedBlockCount(), 2u);
    tree.AddInt("extra", 3);
    EXPECT_EQ(tree.GetParsedValueCount(), 2u);
    ASSERT_NE(tree.GetChildBlock(1), nullptr);
    EXPECT_EQ(tree.GetChildBlock(1)->GetName(), u"c");
    EXPECT_EQ(tree.GetChildBlock(2), nullptr);

    // A clone counts nothing but still finds its blocks.
    std::unique_ptr<CDataTree> copy(static_cast<CDataTree*>(tree.Clone()));
    EXPECT_EQ(copy->GetParsedBlockCount(), 0u);
    EXPECT_EQ(Describe(*copy), Describe(tree));
    ASSERT_NE(copy->GetChildBlock(0), nullptr);
    EXPECT_EQ(copy->GetChildBlock(0)->GetName(), u"b");
}

TEST(DataTreeGrammar, NodesKnowTheirLines)
{
    // Lines counted from 1; a broken nested block is retried as a value line, which
    // must not upset the count of the nodes after it.
    std::string text = "// head\r\nouter\r\n{\r\n  first 1\r\n  inner\r\n  {\r\n    deep 2\r\n  }\r\n"
                       "  last 3\r\n}\r\n/* note */ second { }\r\n";
    CDataNodeList nodes;
    ParseDataBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), nodes);
    ASSERT_EQ(nodes.size(), 2u);
    const CDataTree& outer = static_cast<const CDataTree&>(*nodes[0]);
    EXPECT_EQ(outer.GetLine(), 2u);
    EXPECT_EQ(outer.FindValue("first")->GetLine(), 4u);
    ASSERT_NE(outer.FindBlock("inner"), nullptr);
    EXPECT_EQ(outer.FindBlock("inner")->GetLine(), 5u);
    EXPECT_EQ(outer.FindBlock("inner")->FindValue("deep")->GetLine(), 7u);
    EXPECT_EQ(nodes[1]->GetLine(), 11u);
    std::unique_ptr<CDataNode> copy(outer.Clone());
    EXPECT_EQ(copy->GetLine(), 2u);
    CDataTree made;
    EXPECT_EQ(made.GetLine(), 0u);
}
