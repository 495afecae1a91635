#include "core/DataFile.h"
#include "core/Vector2D.h"
#include "core/Vector3.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{
std::unique_ptr<CDataTree> ParseTree(const std::string& text)
{
    CDataNodeList nodes;
    ParseDataBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), nodes);
    if (nodes.empty() || !nodes[0]->IsBlock())
        return nullptr;
    return std::unique_ptr<CDataTree>(static_cast<CDataTree*>(nodes[0].release()));
}

const char* const SAMPLE = "level\n"
                           "{\n"
                           "\tWorldWidth\t12000\n"
                           "\tcount\t12  // twelve\n"
                           "\tnegative\t-40\n"
                           "\tenabled\tYes\n"
                           "\tflag\n"
                           "\tshared\n"
                           "\t{\n"
                           "\t\tinner\t1\n"
                           "\t}\n"
                           "\tshared\t7\n"
                           "\tscale\t1.5e3\n"
                           "\tratio\t15e2\n"
                           "\tword\tabc\n"
                           "\ttitle\tDeep Space  \n"
                           "\tpos\t10.5, -2\n"
                           "\tpos3\t1.5,2e1, -3\n"
                           "\tcolour\t0.1,0.2,0.3,1\n"
                           "\tshort3\t1,2\n"
                           "\tgap2\t1 ,2\n"
                           "\tbadexp\t1.0e, 2\n"
                           "}\n";
} // namespace

TEST(DataTreeGetters, NumbersAndNamesIgnoreCase)
{
    std::unique_ptr<CDataTree> tree = ParseTree(SAMPLE);
    ASSERT_TRUE(tree);
    int32_t value = 0;
    EXPECT_TRUE(tree->GetInt("worldwidth", value));
    EXPECT_EQ(value, 12000);
    EXPECT_TRUE(tree->GetIntW(u"COUNT", value)); // digits up to the comment
    EXPECT_EQ(value, 12);
    EXPECT_TRUE(tree->GetInt("negative", value));
    EXPECT_EQ(value, -40);
    uint32_t unsignedValue = 3;
    EXPECT_FALSE(tree->GetUInt("negative", unsignedValue));
    EXPECT_EQ(unsignedValue, 3u);

    float number = 0.0f;
    EXPECT_TRUE(tree->GetFloat("scale", number));
    EXPECT_FLOAT_EQ(number, 1500.0f);
    EXPECT_TRUE(tree->GetFloat("ratio", number));
    EXPECT_FLOAT_EQ(number, 15.0f);
    EXPECT_TRUE(tree->GetFloat("word", number)); // no digits: 0, and success
    EXPECT_FLOAT_EQ(number, 0.0f);

    bool flag = false;
    EXPECT_TRUE(tree->GetBool("ENABLED", flag));
    EXPECT_TRUE(flag);
}

TEST(DataTreeGetters, NotFoundLeavesTheOutputUntouched)
{
    std::unique_ptr<CDataTree> tree = ParseTree(SAMPLE);
    ASSERT_TRUE(tree);
    // Missing; the first child of the name is a block; an empty value; unparsable.
    for (const char* name : {"missing", "shared", "flag", "word"})
    {
        int32_t value = -99;
        bool boolValue = true;
        uint32_t unsignedValue = 77;
        EXPECT_FALSE(tree->GetInt(name, value)) << name;
        EXPECT_FALSE(tree->GetBool(name, boolValue)) << name;
        EXPECT_FALSE(tree->GetUInt(name, unsignedValue)) << name;
        EXPECT_EQ(value, -99) << name;
        EXPECT_TRUE(boolValue) << name;
        EXPECT_EQ(unsignedValue, 77u) << name;
    }
    float number = 4.5f;
    EXPECT_FALSE(tree->GetFloat("shared", number));
    EXPECT_FALSE(tree->GetFloat("missing", number));
    EXPECT_EQ(number, 4.5f);
    char text[8] = "keep";
    EXPECT_FALSE(tree->GetString("shared", text, sizeof(text)));
    EXPECT_STREQ(text, "keep");
    CWString wide(u"keep");
    EXPECT_FALSE(tree->GetWString("missing", wide));
    EXPECT_EQ(wide, CWString(u"keep"));
    CVector2D v(1, 2);
    EXPECT_FALSE(tree->GetVec2("missing", v));
    EXPECT_EQ(v.x, 1.0f);
    EXPECT_EQ(tree->GetStringLength("shared"), 0u);
    EXPECT_EQ(tree->GetStringLength("missing"), 0u);

    // FindValue skips the block; FindBlock skips values.
    ASSERT_NE(tree->FindValue("shared"), nullptr);
    EXPECT_EQ(tree->FindValue("shared")->GetText(), u"7");
    ASSERT_NE(tree->FindBlock("SHARED"), nullptr);
    EXPECT_TRUE(tree->FindChild("shared")->IsBlock());
}

TEST(DataTreeGetters, StringsAreTrimmed)
{
    std::unique_ptr<CDataTree> tree = ParseTree(SAMPLE);
    ASSERT_TRUE(tree);
    char text[64];
    ASSERT_TRUE(tree->GetString("count", text, sizeof(text)));
    EXPECT_STREQ(text, "12");
    ASSERT_TRUE(tree->GetString("title", text, sizeof(text)));
    EXPECT_STREQ(text, "Deep Space");
    EXPECT_EQ(tree->GetStringLength("title"), 10u);
    tree->SetString("blank", "   "); // an all-blank value keeps one blank
    ASSERT_TRUE(tree->GetString("blank", text, sizeof(text)));
    EXPECT_STREQ(text, " ");
    ASSERT_TRUE(tree->GetString("flag", text, sizeof(text)));
    EXPECT_STREQ(text, "");
    char small[5];
    ASSERT_TRUE(tree->GetString("title", small, sizeof(small))); // cut, terminated
    EXPECT_STREQ(small, "Deep");
    CWString wide;
    ASSERT_TRUE(tree->GetWString("title", wide));
    EXPECT_EQ(wide, CWString(u"Deep Space"));
}

TEST(DataTreeGetters, Vectors)
{
    std::unique_ptr<CDataTree> tree = ParseTree(SAMPLE);
    ASSERT_TRUE(tree);
    CVector2D v;
    ASSERT_TRUE(tree->GetVec2("pos", v));
    EXPECT_FLOAT_EQ(v.x, 10.5f);
    EXPECT_FLOAT_EQ(v.y, -2.0f);
    CVector3 v3;
    ASSERT_TRUE(tree->GetVec3("pos3", v3));
    EXPECT_FLOAT_EQ(v3.x, 1.5f);
    EXPECT_FLOAT_EQ(v3.y, 20.0f);
    EXPECT_FLOAT_EQ(v3.z, -3.0f);
    float colour[4] = {};
    ASSERT_TRUE(tree->GetVec4("colour", colour));
    EXPECT_FLOAT_EQ(colour[2], 0.3f);
    EXPECT_FLOAT_EQ(colour[3], 1.0f);

    // Failures leave the output alone: a missing component, a blank before the
    // comma, an exponent without digits, too few numbers.
    CVector3 keep3(7, 7, 7);
    EXPECT_FALSE(tree->GetVec3("short3", keep3));
    EXPECT_FALSE(tree->GetVec3("gap2", keep3));
    EXPECT_EQ(keep3.x, 7.0f);
    CVector2D keep(7, 7);
    EXPECT_FALSE(tree->GetVec2("gap2", keep));
    EXPECT_FALSE(tree->GetVec2("badexp", keep));
    EXPECT_FALSE(tree->GetVec2("word", keep));
    EXPECT_EQ(keep.x, 7.0f);
    float four[4] = {7, 7, 7, 7};
    EXPECT_FALSE(tree->GetVec4("pos3", four));
    EXPECT_EQ(four[0], 7.0f);
}

TEST(DataTreeSetters, ReplaceAddAndRemove)
{
    std::unique_ptr<CDataTree> tree = ParseTree(SAMPLE);
    ASSERT_TRUE(tree);
    size_t children = tree->GetChildCount();

    tree->SetInt("COUNT", 5); // replaces the value in place
    EXPECT_EQ(tree->GetChildCount(), children);
    int32_t value = 0;
    ASSERT_TRUE(tree->GetInt("count", value));
    EXPECT_EQ(value, 5);
    EXPECT_EQ(tree->GetChild(1)->GetName(), u"count");

    tree->SetBool("shared", true); // the block goes, a value is appended
    EXPECT_EQ(tree->GetChildCount(), children);
    EXPECT_EQ(tree->FindBlock("shared"), nullptr);
    ASSERT_TRUE(tree->GetInt("shared", value)); // the older value of the name is first now
    EXPECT_EQ(value, 7);
    const CDataNode* appended = tree->GetChild(children - 1);
    EXPECT_EQ(appended->GetName(), u"shared");
    EXPECT_EQ(static_cast<const CDataValue*>(appended)->GetText(), u"true");

    tree->SetString("newname", "hello");
    EXPECT_EQ(tree->GetChildCount(), children + 1);
    EXPECT_TRUE(tree->RemoveChild("NEWNAME"));
    EXPECT_FALSE(tree->RemoveChild("newname"));
    EXPECT_EQ(tree->GetChildCount(), children);

    // Names are cut to 32 units, texts to 256.
    tree->AddString(std::string(40, 'n').c_str(), std::string(300, 't').c_str());
    const CDataNode* last = tree->GetChild(tree->GetChildCount() - 1);
    EXPECT_EQ(last->GetName().size(), 32u);
    EXPECT_EQ(static_cast<const CDataValue*>(last)->GetText().size(), 256u);
}
