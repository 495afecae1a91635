// Settings and definition files hold numbers with a decimal point. A library that
// switches the process to a decimal-comma locale must not change what they read
// or how they are written.
#include "core/DataFile.h"
#include "core/TextRoutines.h"
#include "core/Vector2D.h"
#include "core/Vector3.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <memory>
#include <string>

namespace
{
class DecimalCommaLocale : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new CTempDir;
        std::string command = "localedef -i de_DE -f UTF-8 '" + s_dir->Join("de_DE.UTF-8") + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) == 0)
            setenv("LOCPATH", s_dir->GetPath().c_str(), 1);
    }

    static void TearDownTestSuite()
    {
        unsetenv("LOCPATH");
        delete s_dir;
        s_dir = nullptr;
    }

    void SetUp() override
    {
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
            GTEST_SKIP() << "no de_DE locale can be made here (the locales package is missing)";
        ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    }

    void TearDown() override { std::setlocale(LC_ALL, "C"); }

    static CTempDir* s_dir;
};

CTempDir* DecimalCommaLocale::s_dir = nullptr;
} // namespace

TEST_F(DecimalCommaLocale, ReadsAndWritesTheSameNumbers)
{
    const std::string text = "t\n{\n f 2.75\n v2 1.5, -0.25\n v3 0.5,1.25,2e1\n v4 1.5,2.5,3.5,4.5\n}\n";
    CDataNodeList nodes;
    ParseDataBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), nodes);
    ASSERT_EQ(nodes.size(), 1u);
    const CDataTree& tree = static_cast<const CDataTree&>(*nodes[0]);
    float f = 0;
    ASSERT_TRUE(tree.GetFloat("f", f));
    EXPECT_FLOAT_EQ(f, 2.75f);
    CVector2D v2;
    ASSERT_TRUE(tree.GetVec2("v2", v2));
    EXPECT_FLOAT_EQ(v2.y, -0.25f);
    CVector3 v3;
    ASSERT_TRUE(tree.GetVec3("v3", v3));
    EXPECT_FLOAT_EQ(v3.y, 1.25f);
    EXPECT_FLOAT_EQ(v3.z, 20.0f);
    float v4[4];
    ASSERT_TRUE(tree.GetVec4("v4", v4));
    EXPECT_FLOAT_EQ(v4[3], 4.5f);

    CDataTree out(u"o");
    out.AddVec2("pos", 1.5f, -2.25f);
    out.AddInt("n", -12345);
    EXPECT_EQ(static_cast<const CDataValue*>(out.GetChild(0))->GetText(), u"1.500000, -2.250000");
    EXPECT_EQ(static_cast<const CDataValue*>(out.GetChild(1))->GetText(), u"-12345");
}
