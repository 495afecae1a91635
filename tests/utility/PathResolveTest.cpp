#include "tests/support/TempDir.h"
#include "utility/source/QelPathResolve.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(PathResolve, FindsEachComponentIgnoringCaseAndSeparator)
{
    CTempDir dir;
    ASSERT_TRUE(dir.WriteFile("Data/Frontend/Main.txt", "x"));
    ASSERT_TRUE(dir.WriteFile("Tessavar.000", "a"));
    ASSERT_TRUE(dir.WriteFile("tessavar.001", "b"));
    const std::string& base = dir.GetPath();

    EXPECT_EQ(ResolvePathNoCase(base + "\\data\\frontend\\MAIN.TXT"), base + "/Data/Frontend/Main.txt");
    EXPECT_EQ(ResolvePathNoCase(base + "/TESSAVAR.000"), base + "/Tessavar.000");
    EXPECT_EQ(ResolvePathNoCase(base + "/Tessavar.001"), base + "/tessavar.001");
    // Missing parts are kept as given, after the existing parts were matched.
    EXPECT_EQ(ResolvePathNoCase(base + "/data/new/File.txt"), base + "/Data/new/File.txt");
}

TEST(PathResolve, CreateFolderUsesAnExistingFolderOfAnyCase)
{
    CTempDir dir;
    EXPECT_TRUE(CreateFolderNoCase(dir.Join("Tessavar")));
    EXPECT_TRUE(CreateFolderNoCase(dir.Join("tessavar")));
    EXPECT_TRUE(CreateFolderNoCase(dir.Join("tessavar/data")));
    struct stat info;
    EXPECT_EQ(stat(dir.Join("Tessavar/data").c_str(), &info), 0);
    EXPECT_NE(stat(dir.Join("tessavar").c_str(), &info), 0); // no second folder
    EXPECT_FALSE(CreateFolderNoCase(dir.Join("missing/two/levels")));
}

TEST(PathResolve, CreateFolderTreeMakesEveryMissingLevel)
{
    CTempDir dir;
    ASSERT_TRUE(dir.WriteFile("Home/file", "x"));
    struct stat info;

    // Existing levels are matched in any case; the missing ones are made private.
    EXPECT_TRUE(CreateFolderTreeNoCase(dir.Join("home\\.local/share/")));
    ASSERT_EQ(stat(dir.Join("Home/.local/share").c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_NE(stat(dir.Join("home").c_str(), &info), 0);

    // A whole path that already exists is fine; a file in the way is not.
    EXPECT_TRUE(CreateFolderTreeNoCase(dir.Join("Home/.local/share")));
    EXPECT_FALSE(CreateFolderTreeNoCase(dir.Join("Home/file/below")));
    EXPECT_FALSE(CreateFolderTreeNoCase(""));
}
