// The clean-up of a killed game's unfinished writes, in the player's own folders.

#include "frontend/UserFiles.h"
#include "tests/support/EnvOverride.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(UserFiles, OnlyTemporaryFilesInTheSaveAndRecordsFoldersAreRemoved)
{
    CTempDir home;
    CEnvOverride homeVariable("TESSAVAR_HOME", home.GetPath().c_str());
    ASSERT_TRUE(home.WriteFile("Tessavar/data/saves/save0zone.bin", "slot"));
    ASSERT_TRUE(home.WriteFile("Tessavar/data/saves/save0zone.bin.tmp7fGh2K", "stray"));
    ASSERT_TRUE(home.WriteFile("Tessavar/data/saves/readme.txt", "unrelated"));
    ASSERT_TRUE(home.WriteFile("Tessavar/data/records.bin", "records"));
    ASSERT_TRUE(home.WriteFile("Tessavar/data/records.bin.tmpX0x0X0", "stray"));
    // The same pattern outside those two folders is not the clean-up's business.
    ASSERT_TRUE(home.WriteFile("Tessavar/Tessavar.cfg.tmpa1B2c3", "elsewhere"));
    ASSERT_TRUE(home.WriteFile("other.bin.tmpa1B2c3", "elsewhere"));

    EXPECT_EQ(RemoveUnfinishedUserFiles(), 2u);
    struct stat info;
    for (const char* kept : {"Tessavar/data/saves/save0zone.bin", "Tessavar/data/saves/readme.txt",
                             "Tessavar/data/records.bin", "Tessavar/Tessavar.cfg.tmpa1B2c3", "other.bin.tmpa1B2c3"})
        EXPECT_EQ(stat(home.Join(kept).c_str(), &info), 0) << kept;
    for (const char* gone : {"Tessavar/data/saves/save0zone.bin.tmp7fGh2K", "Tessavar/data/records.bin.tmpX0x0X0"})
        EXPECT_NE(stat(home.Join(gone).c_str(), &info), 0) << gone;
    EXPECT_EQ(RemoveUnfinishedUserFiles(), 0u);
}
