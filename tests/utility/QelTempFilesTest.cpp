#include "tests/support/TempDir.h"
#include "utility/source/QelFile.h"
#include "utility/source/QelTempFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
std::set<std::string> ListFolder(const std::string& path)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path))
        names.insert(entry.path().filename().string());
    return names;
}
} // namespace

TEST(TempFiles, OnlyTheWritesOwnPatternIsATemporaryName)
{
    struct SCase
    {
        const char* name;
        bool temporary;
    };
    const SCase cases[] = {
        {"save0zone.bin.tmpA1b2C3", true},
        {"records.bin.tmpzzzzzz", true},
        {"x.tmp000000", true},
        {".tmpAbCdEf", false},             // nothing before the suffix
        {"save0zone.bin", false},
        {"save0zone.bin.tmpA1b2C", false},  // five characters
        {"save0zone.bin.tmpA1b2C3D", false}, // seven
        {"save0zone.bin.tmpA1-2C3", false},  // not a letter or digit
        {"save0zone.bin.TMPA1b2C3", false},  // the suffix in other letters
        {"notes.tmp", false},
        {"save0zone.bin.tmpA1b2C3.txt", false},
        {"", false},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(IsTemporaryFileName(c.name), c.temporary) << c.name;
    EXPECT_FALSE(IsTemporaryFileName(nullptr));
}

// The name a write really uses is one the clean-up takes.
TEST(TempFiles, AnUnfinishedWritesFileIsATemporaryName)
{
    CTempDir dir;
    ASSERT_TRUE(dir.WriteFile("saves/save0zone.bin", "old"));
    CQelFile file;
    ASSERT_TRUE(file.Open((dir.GetPath() + "/saves/").c_str(), "save0zone.bin", FILE_OPEN_WRITE));
    ASSERT_TRUE(file.WriteU32(7));
    std::set<std::string> names = ListFolder(dir.Join("saves"));
    ASSERT_EQ(names.size(), 2u);
    names.erase("save0zone.bin");
    const std::string temporary = *names.begin();
    EXPECT_EQ(temporary.rfind("save0zone.bin.tmp", 0), 0u) << temporary;
    EXPECT_TRUE(IsTemporaryFileName(temporary.c_str())) << temporary;
    file.Abandon();
}

TEST(TempFiles, RemovingTakesOnlyTemporaryFilesOfTheFolderItself)
{
    CTempDir dir;
    ASSERT_TRUE(dir.WriteFile("Saves/save0zone.bin", "slot"));
    ASSERT_TRUE(dir.WriteFile("Saves/save0zone.bin.tmpA1b2C3", "stray"));
    ASSERT_TRUE(dir.WriteFile("Saves/save0ships.txt.tmpQ9w8E7", "stray"));
    ASSERT_TRUE(dir.WriteFile("Saves/notes.txt", "mine"));
    ASSERT_TRUE(dir.WriteFile("Saves/notes.txt.tmpA1b2C", "mine"));
    ASSERT_TRUE(dir.WriteFile("Saves/old/save1zone.bin.tmpZZZZZZ", "below"));
    ASSERT_TRUE(dir.WriteFile("Saves/folder.tmpABCDEF/inside", "a folder"));
    ASSERT_TRUE(dir.WriteFile("elsewhere.bin", "linked"));
    ASSERT_EQ(symlink("../elsewhere.bin", dir.Join("Saves/link.bin.tmpLINK00").c_str()), 0);

    // The folder is found in any letter case, as the game names it.
    EXPECT_EQ(RemoveTemporaryFiles((dir.GetPath() + "/saves/").c_str()), 2u);
    const std::set<std::string> left = {"save0zone.bin", "notes.txt", "notes.txt.tmpA1b2C", "old",
                                        "folder.tmpABCDEF", "link.bin.tmpLINK00"};
    EXPECT_EQ(ListFolder(dir.Join("Saves")), left);
    struct stat info;
    EXPECT_EQ(stat(dir.Join("Saves/old/save1zone.bin.tmpZZZZZZ").c_str(), &info), 0);
    EXPECT_EQ(stat(dir.Join("elsewhere.bin").c_str(), &info), 0);

    EXPECT_EQ(RemoveTemporaryFiles(dir.Join("missing").c_str()), 0u);
    EXPECT_EQ(RemoveTemporaryFiles(""), 0u);
}
