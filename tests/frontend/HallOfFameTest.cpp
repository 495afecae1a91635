#include "frontend/HallOfFame.h"

#include "frontend/ScoreCode.h"
#include "tests/frontend/StreamBytes.h"
#include "tests/support/TempDir.h"
#include "tests/support/frontend/FailingWriteLayer.h"
#include "utility/source/QelMemoryFile.h"

#include "tests/frontend/PilotFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>

namespace
{
std::vector<uint8_t> WriteHall(const CHallOfFame& hall)
{
    CQelMemoryFile file;
    EXPECT_TRUE(hall.Write(file));
    return file.GetBytes();
}

std::string Names(const CHallOfFame& hall)
{
    std::string names;
    for (int i = 0; i < HALL_OF_FAME_SIZE; ++i)
        names += std::string(hall.GetEntry(i).name) + ":" + std::to_string(hall.GetEntry(i).score) + " ";
    return names;
}

std::string Folder(const CTempDir& dir)
{
    return dir.GetPath() + "/";
}

std::string AsText(const std::vector<uint8_t>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}
} // namespace

TEST(HallOfFame, FileLaysOutItsFieldsInOrder)
{
    CHallOfFame hall;
    hall.Insert(MakePilot("ACE", 500));
    hall.RecordQuickActionTime(125000);
    hall.RecordSurvivalScore(0, 40, "ACE");
    hall.RecordSurvivalScore(1, 70, "ACE");
    hall.SetFirstPlay(false);
    const std::vector<uint8_t> bytes = WriteHall(hall);
    // Tag, eight records (one named "ACE": 3 bytes more), time, flag, scores, codes.
    ASSERT_EQ(bytes.size(), 1461u + 3u);
    EXPECT_EQ(std::memcmp(&bytes[4], "V_3", 4), 0);
    EXPECT_EQ(LoadU32(bytes, 8 + 64), 500u);
    const size_t after = 8 + 8 * 178 + 3;
    EXPECT_EQ(LoadU32(bytes, after), 125000u);
    EXPECT_EQ(bytes[after + 4], 0);
    EXPECT_EQ(LoadU32(bytes, after + 5), 40u);
    EXPECT_EQ(LoadU32(bytes, after + 9), 70u);
    const uint64_t code0 = hall.GetSurvivalCode(0);
    const uint64_t code1 = hall.GetSurvivalCode(1);
    EXPECT_EQ(LoadU32(bytes, after + 13), static_cast<uint32_t>(code0));
    EXPECT_EQ(LoadU32(bytes, after + 17), static_cast<uint32_t>(code1));
    EXPECT_EQ(LoadU32(bytes, after + 21), static_cast<uint32_t>(code0 >> 32));
    EXPECT_EQ(LoadU32(bytes, after + 25), static_cast<uint32_t>(code1 >> 32));
}

TEST(HallOfFame, InsertKeepsOnePlaceAPilotSortedByScore)
{
    struct SCase
    {
        const char* what;
        const char* name;
        uint32_t score;
        bool entered;
        const char* expected;
    };
    const SCase cases[] = {
        {"a new pilot between two", "CY", 250, true, "AB:300 CY:250 DE:200 FG:100 "},
        {"a listed pilot with a higher score moves up", "FG", 400, true, "FG:400 AB:300 DE:200 "},
        {"a listed pilot with a lower score", "AB", 150, false, "AB:300 DE:200 FG:100 "},
        {"a listed pilot with the same score", "DE", 200, false, "AB:300 DE:200 FG:100 "},
        {"an equal score goes below", "HI", 200, true, "AB:300 DE:200 HI:200 FG:100 "},
        {"scores compare unsigned", "BIG", 0x80000000u, true, "BIG:2147483648 AB:300 DE:200 FG:100 "},
        {"a score of 0 is never entered", "ZERO", 0, false, "AB:300 DE:200 FG:100 "},
    };
    for (const SCase& c : cases)
    {
        CHallOfFame hall;
        for (const SPilotRecord& pilot : {MakePilot("AB", 300), MakePilot("DE", 200), MakePilot("FG", 100)})
            ASSERT_TRUE(hall.Insert(pilot));
        EXPECT_EQ(hall.Insert(MakePilot(c.name, c.score)), c.entered) << c.what;
        std::string expected = c.expected;
        for (int i = static_cast<int>(std::count(expected.begin(), expected.end(), ' ')); i < HALL_OF_FAME_SIZE; ++i)
            expected += ":0 ";
        EXPECT_EQ(Names(hall), expected) << c.what;
    }
}

TEST(HallOfFame, FullTableOfBetterScoresTakesNoOneElse)
{
    CHallOfFame hall;
    for (int i = 0; i < HALL_OF_FAME_SIZE; ++i)
        ASSERT_TRUE(hall.Insert(MakePilot(("P" + std::to_string(i)).c_str(), 1000 - 10 * i)));
    const std::string before = Names(hall);
    EXPECT_FALSE(hall.Insert(MakePilot("LATE", 930)));
    EXPECT_EQ(Names(hall), before);
    EXPECT_TRUE(hall.Insert(MakePilot("NEAR", 931)));
    EXPECT_STREQ(hall.GetEntry(HALL_OF_FAME_SIZE - 1).name, "NEAR");
}

TEST(HallOfFame, BestRunsAreKeptWithTheirCodes)
{
    CHallOfFame hall;
    EXPECT_EQ(hall.GetBestQuickActionTime(), 90000u);
    EXPECT_FALSE(hall.RecordQuickActionTime(90000));
    EXPECT_TRUE(hall.RecordQuickActionTime(95000));
    EXPECT_EQ(hall.GetBestQuickActionTime(), 95000u);

    EXPECT_TRUE(hall.RecordSurvivalScore(1, 50, "ACE"));
    EXPECT_FALSE(hall.RecordSurvivalScore(1, 50, "ACE"));
    EXPECT_FALSE(hall.RecordSurvivalScore(2, 900, "ACE"));
    EXPECT_EQ(hall.GetBestSurvivalScore(0), 0u);
    EXPECT_EQ(hall.GetSurvivalCode(1), MakeScoreCode(50, SCORE_CODE_SURVIVAL_TIMED, "ACE"));
    // The code follows score, kind and name.
    EXPECT_NE(MakeScoreCode(50, SCORE_CODE_SURVIVAL_TIMED, "ACE"), MakeScoreCode(51, SCORE_CODE_SURVIVAL_TIMED, "ACE"));
    EXPECT_NE(MakeScoreCode(50, SCORE_CODE_SURVIVAL_TIMED, "ACE"), MakeScoreCode(50, SCORE_CODE_SURVIVAL_OPEN, "ACE"));
    EXPECT_NE(MakeScoreCode(50, SCORE_CODE_SURVIVAL_TIMED, "ACE"), MakeScoreCode(50, SCORE_CODE_SURVIVAL_TIMED, "ACF"));
    EXPECT_EQ(FormatScoreCode(0x0123456789ABCDEFULL), "0123456789ABCDEF");
}

TEST(HallOfFame, MissingFileGivesTheDefaultsAndSavedFileReadsBackTheSame)
{
    CTempDir dir;
    CHallOfFame hall;
    hall.Insert(MakePilot("ACE", 10));
    EXPECT_FALSE(hall.Load(Folder(dir).c_str()));
    EXPECT_EQ(hall.GetEntry(0).score, 0u);
    EXPECT_EQ(hall.GetEntry(0).difficulty, 1);
    EXPECT_TRUE(hall.IsFirstPlay());
    EXPECT_EQ(WriteHall(hall).size(), 1461u);

    hall.Insert(MakePilot("ACE", 10));
    hall.RecordSurvivalScore(0, 33, "ACE");
    hall.SetFirstPlay(false);
    ASSERT_TRUE(hall.Save(Folder(dir).c_str()));
    CHallOfFame loaded;
    ASSERT_TRUE(loaded.Load(Folder(dir).c_str()));
    EXPECT_EQ(WriteHall(loaded), WriteHall(hall));
    std::string onDisk;
    ASSERT_TRUE(dir.ReadFile(CHallOfFame::FILE_NAME, onDisk));
    EXPECT_EQ(onDisk, AsText(WriteHall(hall)));
}

TEST(HallOfFame, UntaggedFileKeepsTheSurvivalDefaults)
{
    CHallOfFame hall;
    hall.Insert(MakePilot("OLD", 77));
    hall.RecordQuickActionTime(100000);
    hall.RecordSurvivalScore(0, 33, "OLD");
    std::vector<uint8_t> bytes = WriteHall(hall);
    bytes.erase(bytes.begin(), bytes.begin() + 8);  // no tag
    bytes.resize(bytes.size() - 24);                // nor scores and codes
    CQelMemoryFile file(bytes);
    CHallOfFame loaded;
    std::string why;
    ASSERT_TRUE(loaded.Read(file, why)) << why;
    EXPECT_STREQ(loaded.GetEntry(0).name, "OLD");
    EXPECT_EQ(loaded.GetBestQuickActionTime(), 100000u);
    EXPECT_EQ(loaded.GetBestSurvivalScore(0), 0u);
    EXPECT_EQ(loaded.GetSurvivalCode(0), 0u);
}

TEST(HallOfFame, DamagedFileGivesTheDefaultsAndStaysOnDisk)
{
    CHallOfFame hall;
    hall.Insert(MakePilot("ACE", 10));
    const std::vector<uint8_t> good = WriteHall(hall);
    struct SCase
    {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    std::vector<SCase> cases;
    cases.push_back({"empty", {}});
    cases.push_back({"cut in a record", std::vector<uint8_t>(good.begin(), good.begin() + 300)});
    cases.push_back({"cut in the codes", std::vector<uint8_t>(good.begin(), good.end() - 2)});
    std::vector<uint8_t> longer = good;
    longer.push_back(0);
    cases.push_back({"a byte beyond the end", longer});
    std::vector<uint8_t> badFlag = good;
    badFlag[8 + 8 * 178 + 3 + 4] = 2;
    cases.push_back({"first-play flag 2", badFlag});
    std::vector<uint8_t> badDifficulty = good;
    StoreU32(badDifficulty, 8 + 178 + 3 - 4, 9);
    cases.push_back({"a difficulty of 9", badDifficulty});
    for (const SCase& c : cases)
    {
        CTempDir dir;
        ASSERT_TRUE(dir.WriteFile(CHallOfFame::FILE_NAME, AsText(c.bytes)));
        CHallOfFame loaded;
        loaded.Insert(MakePilot("KEEP", 5));
        EXPECT_FALSE(loaded.Load(Folder(dir).c_str())) << c.what;
        EXPECT_EQ(loaded.GetEntry(0).score, 0u) << c.what;
        EXPECT_EQ(loaded.GetBestQuickActionTime(), 90000u) << c.what;
        std::string onDisk;
        ASSERT_TRUE(dir.ReadFile(CHallOfFame::FILE_NAME, onDisk));
        EXPECT_EQ(onDisk, AsText(c.bytes)) << c.what;
    }
}

TEST(HallOfFame, FailedWriteKeepsTheOldFile)
{
    CTempDir dir;
    CHallOfFame old;
    old.Insert(MakePilot("OLD", 5));
    ASSERT_TRUE(old.Save(Folder(dir).c_str()));
    CHallOfFame newer;
    newer.Insert(MakePilot("NEW", 9));
    for (int failing = 0; failing < 3; ++failing)
    {
        CFailingWriteLayer layer;
        if (failing == 0)
            layer.FailOpen(1);
        else if (failing == 1)
            layer.FailWrite(1);
        else
            layer.FailClose(1);
        EXPECT_FALSE(newer.Save(Folder(dir).c_str())) << failing;
        CHallOfFame loaded;
        ASSERT_TRUE(loaded.Load(Folder(dir).c_str())) << failing;
        EXPECT_STREQ(loaded.GetEntry(0).name, "OLD") << failing;
    }
    // No temporary file is left behind.
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.GetPath()))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1);
}
