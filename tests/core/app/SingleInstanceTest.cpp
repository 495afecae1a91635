#include "core/app/SingleInstance.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

TEST(SingleInstance, SecondHolderIsToldAndFirstReleaseFreesTheLock)
{
    CTempDir dir;
    std::string path = dir.Join("lock");
    CSingleInstance first, second;
    EXPECT_FALSE(first.Acquire(path.c_str()));
    EXPECT_TRUE(first.IsHeld());
    EXPECT_TRUE(second.Acquire(path.c_str())); // another instance runs
    EXPECT_FALSE(second.IsHeld());
    first.Release();
    EXPECT_FALSE(second.Acquire(path.c_str()));
    EXPECT_TRUE(second.IsHeld());
}
