#include "core/DataFile.h"
#include "core/DataTextWriter.h"
#include "tests/support/CurrentDir.h"
#include "tests/support/PackBytes.h"
#include "tests/support/TempDir.h"
#include "utility/source/QelPackArchive.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace
{
std::string Names(const CDataTree& tree)
{
    std::string names;
    for (size_t i = 0; i < tree.GetChildCount(); ++i)
        names += (i ? "," : "") + std::string(tree.GetChild(i)->GetName().begin(), tree.GetChild(i)->GetName().end());
    return names;
}

std::string Utf16File(const std::u16string& text)
{
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text)
    {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}
} // namespace

TEST(DataFile, IncludesSpliceTheirBlocksAndCountAsBlocks)
{
    CTempDir dir;
    CCurrentDir inside(dir.GetPath());
    // Included files may be UTF-16, named with "\" and any letter case.
    ASSERT_TRUE(dir.WriteFile("data/Parts.txt", Utf16File(u"engine\r\n{\r\n\tthrust\t5\r\n}\r\ngun\r\n{\r\n}\r\n")));
    ASSERT_TRUE(dir.WriteFile("level.txt", "level\n{\n first 1\n #INCLUDE DATA\\parts.TXT  // parts\n"
                                           " #include missing.txt\n last 2\n}\n"));
    CDataTree* tree = nullptr;
    ASSERT_TRUE(LoadDataTree("level.txt", &tree));
    EXPECT_EQ(Names(*tree), "first,engine,gun,last");
    EXPECT_EQ(tree->GetParsedBlockCount(), 2u);
    EXPECT_EQ(tree->GetParsedValueCount(), 2u);
    int32_t thrust = 0;
    ASSERT_NE(tree->FindBlock("ENGINE"), nullptr);
    EXPECT_TRUE(tree->FindBlock("ENGINE")->GetInt("thrust", thrust));
    EXPECT_EQ(thrust, 5);
    FreeDataNode(&tree);
    EXPECT_EQ(tree, nullptr);
}

TEST(DataFile, AnIncludeOfAFileBeingReadIsRefused)
{
    CTempDir dir;
    CCurrentDir inside(dir.GetPath());
    // Each file includes itself twice and the other once: without the guard this
    // is 64 levels deep and doubles at every level.
    ASSERT_TRUE(dir.WriteFile("a.txt", "a\n{\n #include a.txt\n #include b.txt\n #include ./A.txt\n}\n"));
    ASSERT_TRUE(dir.WriteFile("b.txt", "b\n{\n #include a.txt\n #include b.txt\n v 1\n}\n"));
    auto start = std::chrono::steady_clock::now();
    CDataTree* tree = nullptr;
    ASSERT_TRUE(LoadDataTree("a.txt", &tree));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(Names(*tree), "b");
    EXPECT_EQ(Names(*tree->FindBlock("b")), "v");
    FreeDataNode(&tree);

    // The same file included twice in a row, not inside itself, is read twice.
    ASSERT_TRUE(dir.WriteFile("twice.txt", "t\n{\n #include b.txt\n #include b.txt\n}\n"));
    ASSERT_TRUE(LoadDataTree("twice.txt", &tree));
    EXPECT_EQ(Names(*tree), "b,b");
    FreeDataNode(&tree);
}

TEST(DataFile, LoadResults)
{
    CTempDir dir;
    ASSERT_TRUE(dir.WriteFile("empty.txt", ""));
    ASSERT_TRUE(dir.WriteFile("noblock.txt", "// just a comment\n"));
    ASSERT_TRUE(dir.WriteFile("two.txt", "first\n{\n}\nsecond\n{\n}\n"));
    CDataNodeList nodes;
    EXPECT_TRUE(LoadDataFileNodes(dir.Join("empty.txt").c_str(), nodes));
    EXPECT_TRUE(nodes.empty());
    EXPECT_FALSE(LoadDataFileNodes(dir.Join("absent.txt").c_str(), nodes));
    EXPECT_TRUE(LoadDataFileNodes(dir.Join("two.txt").c_str(), nodes));
    EXPECT_EQ(nodes.size(), 2u);

    CDataTree* tree = nullptr;
    EXPECT_FALSE(LoadDataTree(dir.Join("empty.txt").c_str(), &tree));
    EXPECT_FALSE(LoadDataTree(dir.Join("noblock.txt").c_str(), &tree));
    EXPECT_FALSE(LoadDataTree(dir.Join("absent.txt").c_str(), &tree));
    EXPECT_EQ(tree, nullptr);
    ASSERT_TRUE(LoadDataTree(dir.Join("two.txt").c_str(), &tree));
    EXPECT_EQ(tree->GetName(), u"first");
    FreeDataNode(&tree);
}

TEST(DataFile, SaveAndLoadRoundTripAndAFailedSaveKeepsTheOldFile)
{
    CTempDir dir;
    CDataTree settings;
    settings.AddBool("g_runonce", true);
    settings.AddString("r_renderer", "ogl");
    settings.AddInt("r_backBufferWidth", 800);
    settings.AddVec2("pos", 0.5f, -1.0f);
    const std::string path = dir.Join("Tessavar.cfg");
    ASSERT_TRUE(SaveDataTree(path.c_str(), &settings, true));
    std::string bytes;
    ASSERT_TRUE(dir.ReadFile("Tessavar.cfg", bytes));
    std::vector<uint8_t> expected = EncodeDataNode(settings, true);
    EXPECT_EQ(bytes, std::string(expected.begin(), expected.end()));

    CDataTree* loaded = nullptr;
    ASSERT_TRUE(LoadDataTree(path.c_str(), &loaded));
    bool runOnce = false;
    char renderer[8];
    int32_t width = 0;
    EXPECT_TRUE(loaded->GetBool("g_runonce", runOnce) && runOnce);
    EXPECT_TRUE(loaded->GetString("r_renderer", renderer, sizeof(renderer)));
    EXPECT_STREQ(renderer, "ogl");
    EXPECT_TRUE(loaded->GetInt("R_BACKBUFFERWIDTH", width));
    EXPECT_EQ(width, 800);
    FreeDataNode(&loaded);

    // A scrambled save reads back the same.
    SetDataTreeScramble(true);
    ASSERT_TRUE(SaveDataTree(dir.Join("ships.txt").c_str(), &settings, true));
    SetDataTreeScramble(false);
    ASSERT_TRUE(LoadDataTree(dir.Join("ships.txt").c_str(), &loaded));
    EXPECT_TRUE(loaded->GetInt("r_backBufferWidth", width));
    FreeDataNode(&loaded);

    // Where the file cannot be written the save fails and nothing else changes.
    EXPECT_FALSE(SaveDataTree(dir.Join("no/such/folder/x.cfg").c_str(), &settings, true));
    std::string again;
    ASSERT_TRUE(dir.ReadFile("Tessavar.cfg", again));
    EXPECT_EQ(again, bytes);
}

TEST(DataFile, ReadsFromThePackWhenNoLooseFileExists)
{
    CTempDir dir;
    CCurrentDir inside(dir.GetPath());
    std::string pack = MakeStoredRecord("data/effect.txt", "effects\n{\n #include data/more.txt\n}\n") +
                       MakeStoredRecord("data/more.txt", "spark\n{\n life 3\n}\n");
    ASSERT_TRUE(dir.WriteFile("Tessavar.000", pack));
    ASSERT_TRUE(InitPackArchive());
    ASSERT_NE(g_packArchive, nullptr);
    CDataTree* tree = nullptr;
    bool loaded = LoadDataTree("data\\effect.txt", &tree);
    std::string names = loaded ? Names(*tree) : std::string();
    FreeDataNode(&tree);
    FreePackArchive();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(names, "spark");
}
