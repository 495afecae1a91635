#include "frontend/SaveGames.h"

#include "frontend/CampaignServices.h"
#include "frontend/DirectorBlock.h"
#include "frontend/GameCampaign.h"
#include "frontend/SaveSlots.h"
#include "tests/frontend/CampaignScreenFixture.h"
#include "tests/frontend/StreamBytes.h"
#include "ships/ShipComponentDatabase.h"
#include "ships/ShipLevelData.h"
#include "tests/support/frontend/FailingWriteLayer.h"
#include "utility/source/QelCrc32.h"
#include "utility/source/QelFile.h"
#include "utility/source/QelMemoryFile.h"
#include "world/Game.h"
#include "world/ZoneLink.h"
#include "world/ZoneManager.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>

namespace
{
std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Where two files first differ, for the failure message.
std::string FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at])
        ++at;
    return "sizes " + std::to_string(a.size()) + " and " + std::to_string(b.size()) + ", first difference at " +
           std::to_string(at);
}

// The size of a zone file's head: "CRC" (8), the checksum (4), the pilot name, the
// score (4) and the slot name, each name a length word and its bytes.
size_t HeadSize(const std::string& pilot, const std::string& slot)
{
    return 8 + 4 + 4 + pilot.size() + 1 + 4 + 4 + slot.size() + 1;
}

class SaveGamesTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_fixture.IsReady());
        m_folder = m_fixture.GetHarness().GetUserFolder().GetPath() + "/tessavar/data/saves/";
        std::filesystem::create_directories(m_folder);
        ASSERT_EQ(Saves().GetFolder(), m_folder);
        // The game's own zones of the sample data, zone 0 in play.
        CZoneManager* zones = Game().GetZoneManager();
        ASSERT_NE(zones, nullptr);
        ASSERT_GT(zones->GetZoneCount(), 0);
        Game().SetZones(zones);
        zones->SetCurrentZone(0);
        zones->InitNodeState();
        Game().GetZones().SetPilotName("ACE");
        CampaignServices().SetDifficulty(1);
        // A game under way: a zone clock, stocks, a kill, the campaign's chats.
        Game().GetZones().AdvanceZoneClock(360000);
        m_fixture.SetGems(20, 7, 3);
        m_fixture.GetState().crew = 9;
        m_fixture.GetCampaign().AddKill(250);
        m_fixture.GetFlow().GetDirector().SetProgressStage(STAGE_CAMPAIGN);
    }

    CGame& Game() { return m_fixture.GetHarness().GetGame(); }
    CSaveGames& Saves() { return m_fixture.GetFlow().GetSaves(); }
    CCampaignServices& CampaignServices() { return *GetGameCampaignServices(); }
    std::string ZonePath(int slot) const { return GetSlotZonePath(m_folder, slot); }
    std::string ShipsPath(int slot) const { return GetSlotShipsPath(m_folder, slot); }

    // What the running game would save now, as one byte string.
    std::vector<uint8_t> Snapshot()
    {
        std::vector<uint8_t> ships, zone;
        EXPECT_TRUE(Saves().MakeSlotFiles("SNAP", ships, zone));
        zone.insert(zone.end(), ships.begin(), ships.end());
        return zone;
    }

    CCampaignScreenFixture m_fixture;
    std::string m_folder;
};
} // namespace

TEST_F(SaveGamesTest, ASavedGameLoadsBackWholeAndSavesAgainByteForByte)
{
    ASSERT_TRUE(Saves().Save(0, "ALPHA"));
    const std::vector<uint8_t> zone = ReadBytes(ZonePath(0));
    const std::vector<uint8_t> ships = ReadBytes(ShipsPath(0));
    // The head: "CRC", the ships file's checksum, the pilot, the score, the slot name.
    ASSERT_GT(zone.size(), HeadSize("ACE", "ALPHA") + SDirectorBlock::SIZE);
    EXPECT_EQ(LoadU32(zone, 0), 4u);
    EXPECT_EQ(std::memcmp(&zone[4], "CRC", 4), 0);
    EXPECT_EQ(LoadU32(zone, 8), Crc32(ships.data(), ships.size()));
    EXPECT_EQ(LoadU32(zone, 12), 4u);
    EXPECT_EQ(std::memcmp(&zone[16], "ACE", 4), 0);
    EXPECT_EQ(LoadU32(zone, 20), 250u);
    EXPECT_EQ(LoadU32(zone, 24), 6u);
    EXPECT_EQ(std::memcmp(&zone[28], "ALPHA", 6), 0);
    // The ships file is scrambled data-tree text; the difficulty sits 92 bytes from the
    // end, the director's stage 88 (its 79 bytes, then its 9-byte tail).
    ASSERT_GE(ships.size(), 2u);
    EXPECT_EQ(ships[0], 0xAA);
    EXPECT_EQ(ships[1], 0xFF);
    EXPECT_EQ(ReadSaveDifficulty(zone), 1);
    EXPECT_EQ(LoadS32(zone, zone.size() - 92), 1);
    EXPECT_EQ(LoadS32(zone, zone.size() - 88), STAGE_CAMPAIGN);
    // The save counted, and the pilot entered into the hall of fame.
    EXPECT_EQ(m_fixture.GetCampaign().GetPilot().progress[PILOT_SAVES], 1);
    EXPECT_STREQ(CampaignServices().GetHallOfFame().GetEntry(0).name, "ACE");
    EXPECT_EQ(CampaignServices().GetHallOfFame().GetEntry(0).progress[PILOT_SAVES], 1);

    // The game moves on, then the slot is loaded over it.
    Game().GetZones().AdvanceZoneClock(120000);
    m_fixture.SetGems(1, 1, 1);
    m_fixture.GetState().crew = 5;
    Game().GetZones().SetPilotName("OTHER");
    m_fixture.GetFlow().GetDirector().SetProgressStage(STAGE_NONE);
    std::string why;
    ASSERT_TRUE(Saves().Load(0, why)) << why;
    EXPECT_EQ(m_fixture.GetState().gems.count[GEM_NORMAL], 20);
    EXPECT_EQ(m_fixture.GetState().crew, 9);
    EXPECT_STREQ(Game().GetZones().GetPilotName(), "ACE");
    EXPECT_EQ(m_fixture.GetFlow().GetDirector().GetProgressStage(), STAGE_CAMPAIGN);
    EXPECT_EQ(m_fixture.GetFlow().GetDirector().GetTutorialStep(), -1);
    EXPECT_TRUE(m_fixture.GetFlow().IsRunActive());
    EXPECT_EQ(Game().GetState(), GAME_LEVEL_RUNNING);
    EXPECT_EQ(ReadBytes(ShipsPath(0)), ships);

    // The loaded game saved, loaded and saved again: the same bytes (the level's start
    // has recorded its node's field by now).
    std::vector<uint8_t> firstShips, firstZone, againShips, againZone;
    ASSERT_TRUE(Saves().MakeSlotFiles("ALPHA", firstShips, firstZone));
    ASSERT_TRUE(WriteSlotFiles(m_folder, 2, firstShips, firstZone));
    m_fixture.SetGems(3, 3, 3);
    ASSERT_TRUE(Saves().Load(2, why)) << why;
    ASSERT_TRUE(Saves().MakeSlotFiles("ALPHA", againShips, againZone));
    EXPECT_TRUE(againZone == firstZone) << FirstDifference(againZone, firstZone);
    EXPECT_TRUE(againShips == firstShips) << FirstDifference(againShips, firstShips);
}

TEST_F(SaveGamesTest, ADamagedSlotIsRefusedAndTheRunningGameStaysAsItWas)
{
    ASSERT_TRUE(Saves().Save(0, "ALPHA"));
    const std::vector<uint8_t> zone = ReadBytes(ZonePath(0));
    const std::vector<uint8_t> ships = ReadBytes(ShipsPath(0));
    const size_t place = HeadSize("ACE", "ALPHA");  // current node, then current zone
    SCampaignState& state = m_fixture.GetState();

    // Damage made by writing a state the reader must not take.
    struct SWritten
    {
        const char* what;
        void (*spoil)(SCampaignState&);
    };
    const SWritten written[] = {
        {"a running slot's cost is not a number",
         [](SCampaignState& s) {
             s.researchSlot.historyCount = 1;
             s.researchSlot.remaining.gems[1] = std::nanf("");
         }},
        {"a history count beyond its table", [](SCampaignState& s) { s.manufactureSlot.historyCount = 251; }},
        {"a current ship beyond the slots", [](SCampaignState& s) { s.currentShip = 8; }},
        {"a store kind beyond the kinds", [](SCampaignState& s) {
             s.store[0].kind = COMPONENT_KIND_COUNT;
             s.store[0].used = true;
             s.store[0].count = 1;
         }},
        {"a research stage beyond the stages", [](SCampaignState& s) { s.research[2].stage = 99; }},
    };
    std::vector<std::pair<std::string, std::pair<std::vector<uint8_t>, std::vector<uint8_t>>>> cases;
    for (const SWritten& c : written)
    {
        const SCampaignState kept = state;
        c.spoil(state);
        std::vector<uint8_t> badShips, badZone;
        ASSERT_TRUE(Saves().MakeSlotFiles("ALPHA", badShips, badZone));
        state = kept;
        cases.push_back({c.what, {badZone, badShips}});
    }
    auto withZone = [&](const char* what, std::vector<uint8_t> bytes) { cases.push_back({what, {bytes, ships}}); };
    {
        std::vector<uint8_t> bad = zone;
        StoreU32(bad, place + 4, 99);
        withZone("a current zone beyond the zones", bad);
        bad = zone;
        StoreU32(bad, place, 0xFFFFFFFFu);
        withZone("a current node below 0", bad);
        bad = zone;
        bad.push_back(0);
        withZone("a byte after the director's block", bad);
        bad = zone;
        StoreU32(bad, 24, 200);
        withZone("a slot name longer than its field", bad);
        for (size_t cut : {size_t(0), size_t(10), place + 2, zone.size() / 2, zone.size() - 80, zone.size() - 79,
                           zone.size() - 1})
            withZone("a zone file cut short", std::vector<uint8_t>(zone.begin(), zone.begin() + static_cast<long>(cut)));
    }
    {
        std::vector<uint8_t> flipped = ships;
        flipped[flipped.size() / 2] ^= 0x20;
        cases.push_back({"a flipped byte in the ships file", {zone, flipped}});
        // A damaged design whose checksum was made to match.
        const std::string text = "SHIP_CONFIG\n{\nident\tBad\nhull\tx\nnumPods\t1\nstorageSlot\t2\n"
                                 "pod0\n{\ntopLeftPos\t0, 0\ntype\tWARP_CORE\nident\tx\n}\n}\n";
        std::vector<uint8_t> badShips(text.begin(), text.end());
        std::vector<uint8_t> matching = zone;
        StoreU32(matching, 8, Crc32(badShips.data(), badShips.size()));
        cases.push_back({"a design of an unknown kind", {matching, badShips}});
    }

    const std::vector<uint8_t> before = Snapshot();
    for (const auto& c : cases)
    {
        WriteBytes(ZonePath(1), c.second.first);
        WriteBytes(ShipsPath(1), c.second.second);
        std::string why;
        EXPECT_FALSE(Saves().Check(1, why)) << c.first;
        EXPECT_FALSE(why.empty()) << c.first;
        EXPECT_FALSE(Saves().Load(1, why)) << c.first;
        EXPECT_EQ(Snapshot(), before) << c.first;
        EXPECT_EQ(Game().GetState(), GAME_LEVEL_RUNNING) << c.first;
    }
    // The good slot still loads.
    std::string why;
    EXPECT_TRUE(Saves().Load(0, why)) << why;

    // The director reads its own block loosely (any stage, any flag byte): the slot is
    // not refused for it.
    std::vector<uint8_t> loose = zone;
    StoreU32(loose, loose.size() - 88, 9);
    loose[loose.size() - 88 + 12] = 2;
    WriteBytes(ZonePath(1), loose);
    WriteBytes(ShipsPath(1), ships);
    EXPECT_TRUE(Saves().Check(1, why)) << why;
}

TEST_F(SaveGamesTest, AWriteThatFailsPartWayLeavesThePreviousSaveReadable)
{
    ASSERT_TRUE(Saves().Save(0, "ALPHA"));
    const std::vector<uint8_t> zone = ReadBytes(ZonePath(0));
    const std::vector<uint8_t> ships = ReadBytes(ShipsPath(0));
    // The game moves on and its designs change, so a new ships file would differ.
    m_fixture.SetGems(2, 2, 2);
    m_fixture.GetDatabase().RemoveShipConfig(1);
    const int saves = m_fixture.GetCampaign().GetPilot().progress[PILOT_SAVES];

    struct SCase
    {
        const char* what;
        int failOpen, failWrite, failClose;
    };
    // Writes: the ships file first, then the zone file; closes (renames) in that order.
    for (const SCase& c : {SCase{"the ships file cannot be opened", 1, 0, 0},
                           SCase{"the zone file cannot be opened", 2, 0, 0},
                           SCase{"the ships file's write fails", 0, 1, 0},
                           SCase{"the zone file's write fails", 0, 2, 0},
                           SCase{"the ships file's rename fails", 0, 0, 1},
                           SCase{"the zone file's rename fails after the ships file's", 0, 0, 2}})
    {
        CFailingWriteLayer failing;
        failing.FailOpen(c.failOpen);
        failing.FailWrite(c.failWrite);
        failing.FailClose(c.failClose);
        EXPECT_FALSE(Saves().Save(0, "ALPHA")) << c.what;
        EXPECT_EQ(ReadBytes(ZonePath(0)), zone) << c.what;
        EXPECT_EQ(ReadBytes(ShipsPath(0)), ships) << c.what;
        EXPECT_TRUE(CheckSaveSlot(m_folder, 0)) << c.what;
        EXPECT_EQ(m_fixture.GetCampaign().GetPilot().progress[PILOT_SAVES], saves) << c.what;
    }
    // No file of a slot that never saved is left behind either.
    {
        CFailingWriteLayer failing;
        failing.FailClose(2);
        EXPECT_FALSE(Saves().Save(3, "GAMMA"));
        EXPECT_FALSE(std::filesystem::exists(ZonePath(3)));
        EXPECT_FALSE(std::filesystem::exists(ShipsPath(3)));
    }
    std::string why;
    ASSERT_TRUE(Saves().Load(0, why)) << why;
    EXPECT_EQ(m_fixture.GetState().gems.count[GEM_NORMAL], 20);
}

// A game killed as it saves over a slot whose designs have changed since: at the ships
// file's rename, or between it and the zone file's (the new ships file in, the zone file
// still the old one), the slot must read and load as the old save.
TEST_F(SaveGamesTest, AGameKilledAsItRenamesASlotsFilesLeavesTheOldSaveReadable)
{
    ASSERT_TRUE(Saves().Save(0, "ALPHA"));
    const std::vector<uint8_t> oldShips = ReadBytes(ShipsPath(0));
    for (int close : {1, 2})
    {
        // A load puts in a database of its own: the level's, whichever it is.
        m_fixture.SetGems(2, 2, 2);
        GetLevelShipDatabase()->RemoveShipConfig(1);
        EXPECT_EXIT(
            {
                CFailingWriteLayer failing;
                failing.KillAtClose(close);
                Saves().Save(0, "BRAVO");
                std::_Exit(0);
            },
            testing::KilledBySignal(SIGKILL), "")
            << "killed at close " << close;
        SSaveHead head;
        ASSERT_TRUE(CheckSaveSlot(m_folder, 0, &head)) << "killed at close " << close;
        EXPECT_STREQ(head.slotName, "ALPHA");
        std::string why;
        ASSERT_TRUE(Saves().Load(0, why)) << why;
        EXPECT_EQ(m_fixture.GetState().gems.count[GEM_NORMAL], 20);
    }
    // Killed between the renames, the new ships file is in place: the test saw the fault.
    EXPECT_NE(ReadBytes(ShipsPath(0)), oldShips);
    // The next save completes as usual.
    GetLevelShipDatabase()->RemoveShipConfig(1);
    ASSERT_TRUE(Saves().Save(0, "BRAVO"));
    SSaveHead head;
    ASSERT_TRUE(CheckSaveSlot(m_folder, 0, &head));
    EXPECT_STREQ(head.slotName, "BRAVO");
    EXPECT_NE(ReadBytes(ShipsPath(0)), oldShips);
}

TEST_F(SaveGamesTest, AnOlderSlotWithoutItsHeadIsListedAndLoads)
{
    ASSERT_TRUE(Saves().Save(0, "ALPHA"));
    std::vector<uint8_t> zone = ReadBytes(ZonePath(0));
    zone.erase(zone.begin(), zone.begin() + 12);
    WriteBytes(ZonePath(2), zone);
    WriteBytes(ShipsPath(2), ReadBytes(ShipsPath(0)));
    SSaveHead head;
    ASSERT_TRUE(CheckSaveSlot(m_folder, 2, &head));
    EXPECT_FALSE(head.headed);
    EXPECT_STREQ(head.slotName, "ALPHA");
    EXPECT_STREQ(head.pilotName, "ACE");
    std::string why;
    EXPECT_TRUE(Saves().Load(2, why)) << why;
    EXPECT_TRUE(Saves().AnySaveExists());
}

TEST_F(SaveGamesTest, AnOlderSlotWhoseDirectorBlockHasNoTailLoadsAndSavesWithIt)
{
    ASSERT_TRUE(Saves().Save(0, "ALPHA"));
    const std::vector<uint8_t> zone = ReadBytes(ZonePath(0));
    const std::vector<uint8_t> older(zone.begin(), zone.end() - 9);
    WriteBytes(ZonePath(2), older);
    WriteBytes(ShipsPath(2), ReadBytes(ShipsPath(0)));
    EXPECT_EQ(ReadSaveDifficulty(older), 1);
    std::string why;
    EXPECT_TRUE(Saves().Check(2, why)) << why;
    ASSERT_TRUE(Saves().Load(2, why)) << why;
    // Saved again, the slot has its tail back.
    ASSERT_TRUE(Saves().Save(2, "ALPHA"));
    const std::vector<uint8_t> again = ReadBytes(ZonePath(2));
    ASSERT_EQ(again.size(), zone.size());
    EXPECT_EQ(std::vector<uint8_t>(again.end() - 9, again.end()),
              (std::vector<uint8_t>{4, 0, 0, 0, 'V', '_', 'S', 0, 0}));
}

TEST_F(SaveGamesTest, SavingForThePilotWritesTheNewestSlotThenThePilotsOthers)
{
    // Slots: 0 and 3 the pilot's, 1 another pilot's, 4 the pilot's at another
    // difficulty; 3 is the newest.
    struct SSlot
    {
        int slot;
        const char* pilot;
        int difficulty;
        const char* name;
        int64_t seconds;
    };
    const SSlot slots[] = {{0, "ACE", 1, "ZERO", 1000},
                           {1, "BOB", 1, "ONE", 5000},
                           {3, "ACE", 1, "THREE", 3000},
                           {4, "ACE", 2, "FOUR", 9000}};
    for (const SSlot& s : slots)
    {
        Game().GetZones().SetPilotName(s.pilot);
        CampaignServices().SetDifficulty(s.difficulty);
        ASSERT_TRUE(Saves().Save(s.slot, s.name));
        const timespec times[2] = {{s.seconds, 0}, {s.seconds, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, ZonePath(s.slot).c_str(), times, 0), 0);
    }
    std::vector<uint8_t> before[SAVE_SLOT_COUNT];
    for (int slot = 0; slot < SAVE_SLOT_COUNT; ++slot)
        before[slot] = ReadBytes(ZonePath(slot));
    Game().GetZones().SetPilotName("ACE");
    CampaignServices().SetDifficulty(1);
    m_fixture.SetGems(11, 0, 0);
    EXPECT_EQ(Saves().SaveToPilotSlots(), 3);
    // 0 and 3 changed with their own names; the others stayed.
    for (int slot : {0, 3})
    {
        EXPECT_NE(ReadBytes(ZonePath(slot)), before[slot]) << slot;
        SSaveHead head;
        ASSERT_TRUE(CheckSaveSlot(m_folder, slot, &head)) << slot;
        EXPECT_STREQ(head.slotName, slot == 0 ? "ZERO" : "THREE");
    }
    for (int slot : {1, 4})
        EXPECT_EQ(ReadBytes(ZonePath(slot)), before[slot]) << slot;
    // The progress of both is the same game.
    std::vector<uint8_t> zero = ReadBytes(ZonePath(0));
    std::vector<uint8_t> three = ReadBytes(ZonePath(3));
    EXPECT_EQ(std::vector<uint8_t>(zero.begin() + HeadSize("ACE", "ZERO"), zero.end()),
              std::vector<uint8_t>(three.begin() + HeadSize("ACE", "THREE"), three.end()));

    // A pilot without a slot saves nothing.
    Game().GetZones().SetPilotName("NOBODY");
    const std::vector<uint8_t> kept = ReadBytes(ZonePath(3));
    EXPECT_EQ(Saves().SaveToPilotSlots(), -1);
    EXPECT_EQ(ReadBytes(ZonePath(3)), kept);
    EXPECT_FALSE(std::filesystem::exists(ZonePath(2)));
}

TEST_F(SaveGamesTest, SlotNamesInUseAreFoundInOtherSlotsOnly)
{
    ASSERT_TRUE(Saves().Save(0, "ALPHA"));
    ASSERT_TRUE(Saves().Save(2, "BETA"));
    EXPECT_TRUE(IsSlotNameUsed(m_folder, "ALPHA", 1));
    EXPECT_TRUE(IsSlotNameUsed(m_folder, "BETA", 0));
    EXPECT_FALSE(IsSlotNameUsed(m_folder, "ALPHA", 0));
    EXPECT_FALSE(IsSlotNameUsed(m_folder, "ALPH", 1));
}

TEST(SaveSlots, TheDifficultyIsReadFromTheEndOfTheFile)
{
    // The current form: 4, "DMH", NUL and the difficulty, then the director's 79 bytes
    // and, but in slightly older files, their tail.
    auto current = [](uint32_t difficulty, bool tail = true) {
        std::vector<uint8_t> bytes(20, 0);
        for (int byte : {4, 0, 0, 0, int('D'), int('M'), int('H'), 0})
            bytes.push_back(static_cast<uint8_t>(byte));
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<uint8_t>(difficulty >> (8 * i)));
        bytes.resize(bytes.size() + 79, 0);
        if (tail)
            for (int byte : {4, 0, 0, 0, int('V'), int('_'), int('S'), 0, 1})
                bytes.push_back(static_cast<uint8_t>(byte));
        return bytes;
    };
    // An older file: one byte 83 bytes before the end.
    auto older = [](uint8_t value) {
        std::vector<uint8_t> bytes(30, 0);
        bytes.push_back(value);
        bytes.resize(bytes.size() + 82, 0);
        return bytes;
    };
    struct SCase
    {
        const char* what;
        std::vector<uint8_t> bytes;
        int difficulty;
    };
    const SCase cases[] = {
        {"current 0", current(0), 0},
        {"current 2", current(2), 2},
        {"current 3", current(3), -1},
        {"current 1 without the director's tail", current(1, false), 1},
        {"older 0", older(0), 0},
        {"older 1", older(1), 2},
        {"older 7", older(7), 2},
        {"too short", std::vector<uint8_t>(82, 1), -1},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(ReadSaveDifficulty(c.bytes), c.difficulty) << c.what;
}

TEST_F(SaveGamesTest, ASlotsDateShowsTheDayAMonthNameAndTheTimeInTwoDigits)
{
    ASSERT_TRUE(Saves().Save(0, "ALPHA"));
    // The month's name comes from the string table the game installs; here a stand-in.
    SetMonthNameLookup([](uint32_t id, CWString& out) {
        out = CWString(id == GetMonthTextId(3) ? u"March" : u"?");
        return true;
    });
    struct SCase
    {
        int day, hour, minute, second;
        const char16_t* text;
    };
    // Each field below 10 gets a leading 0 except the day, which stands apart from the
    // month's name.
    for (const SCase& c : {SCase{4, 7, 5, 9, u"4 March 07:05:09"}, SCase{21, 23, 59, 30, u"21 March 23:59:30"}})
    {
        struct tm local = {};
        local.tm_year = 2026 - 1900;
        local.tm_mon = 2;
        local.tm_mday = c.day;
        local.tm_hour = c.hour;
        local.tm_min = c.minute;
        local.tm_sec = c.second;
        local.tm_isdst = -1;
        const timespec times[2] = {{mktime(&local), 0}, {mktime(&local), 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, ZonePath(0).c_str(), times, 0), 0);
        CWString text;
        ASSERT_TRUE(FormatSlotDate(m_folder, 0, text));
        EXPECT_EQ(text, CWString(c.text));
    }
    SetMonthNameLookup(nullptr);
    CWString text;
    EXPECT_FALSE(FormatSlotDate(m_folder, 4, text)); // no such slot file
}
