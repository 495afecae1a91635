#include "frontend/Campaign.h"

#include "frontend/CampaignBlock.h"
#include "tests/frontend/StreamBytes.h"
#include "utility/source/QelMemoryFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace
{
// Where the fields of a block in its newest form lie (the block's own layout).
constexpr size_t GEMS_AT = 8;
constexpr size_t CREW_AT = 20;
constexpr size_t CURRENT_SHIP_AT = 28;
constexpr size_t SHIPS_AT = 32;        // 12 bytes a ship state
constexpr size_t STATION_AT = 92;
constexpr size_t MOUNTS_AT = 100;      // 6 bytes a mount
constexpr size_t STORE_AT = 130;       // 13 bytes a record
constexpr size_t RESEARCH_AT = 1105;   // 81 bytes a record
constexpr size_t RESEARCH_RECORD = 81;
constexpr size_t LAB_AT = 2644;        // the research slot
constexpr size_t WORKS_AT = 6673;      // the manufacturing slot
constexpr size_t PILOT_AT = 10710;

// A campaign with a value in every part of its block.
CCampaign* MakeCampaign(CCampaign& campaign)
{
    campaign.SetNewGameResearch();
    SCampaignState& state = campaign.GetState();
    state.gems.count[GEM_NORMAL] = 25;
    state.gems.count[GEM_RARE] = 12;
    state.gems.count[GEM_VERY_RARE] = 6;
    state.crew = 7;
    state.friendlyAliens = 1;
    state.currentShip = 3;
    for (int i = 0; i < CAMPAIGN_SHIP_SLOTS; ++i)
    {
        state.ships[i].storedHealth = 100 + i;
        state.ships[i].kills = i;
        state.ships[i].flightTime = 1000u * i;
    }
    state.stationLimit = 2000;
    state.stationLevel = 1500;
    state.mounts[1] = SMountRecord{4, true, false};
    campaign.AddStoredItem(COMPONENT_SHIELD, 2);
    campaign.AddStoredItem(COMPONENT_SHIELD, 2);
    campaign.AddStoredItem(COMPONENT_BOMB, 1);
    SWorkSlot& lab = state.researchSlot;
    lab.kind = COMPONENT_ENGINE;
    lab.rate = 3;
    lab.startTime = 40000;
    lab.historyCount = 2;
    lab.history[0].time = 40000;
    lab.history[1] = SHistoryEntry{50000, SCostVector{{1.0f, 0.0f, 2.0f}}};
    lab.remaining = SCostVector{{24.0f, 7.0f, 1.0f}};
    SWorkSlot& works = state.manufactureSlot;
    works.kind = COMPONENT_GENERATOR;
    works.definition = 1;
    works.units = 3;
    works.rate = 2;
    works.stalled = true;
    works.startTime = 45000;
    works.historyCount = 1;
    works.history[0].time = 45000;
    state.pilot.score = 4321;
    state.pilot.SetName("ALPHA");
    state.pilot.difficulty = 2;
    return &campaign;
}

std::vector<uint8_t> WriteBlock(CCampaign& campaign)
{
    CQelMemoryFile file;
    EXPECT_TRUE(campaign.Write(file));
    return file.GetBytes();
}

bool ReadBlock(CCampaign& campaign, const std::vector<uint8_t>& bytes, std::string* why = nullptr)
{
    CQelMemoryFile file(bytes);
    std::string reason;
    const bool ok = campaign.Read(file, reason);
    if (why)
        *why = reason;
    return ok;
}

void Erase(std::vector<uint8_t>& bytes, size_t at, size_t count)
{
    bytes.erase(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + count));
}

void StoreFloat(std::vector<uint8_t>& bytes, size_t at, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    StoreU32(bytes, at, bits);
}

// The block in an older form: without its tag or with "V14", without the mounts' weapon
// flags, and with fewer research records.
std::vector<uint8_t> OlderBlock(const std::vector<uint8_t>& newest, int records, bool v14Tag)
{
    std::vector<uint8_t> bytes = newest;
    Erase(bytes, RESEARCH_AT + RESEARCH_RECORD * records, RESEARCH_RECORD * (COMPONENT_KIND_COUNT - records));
    for (int mount = CAMPAIGN_MOUNTS - 1; mount >= 0; --mount)
        Erase(bytes, MOUNTS_AT + 6 * mount + 5, 1);
    if (v14Tag)
        std::memcpy(&bytes[4], "V14", 4);
    else
        Erase(bytes, 0, 8);
    return bytes;
}
} // namespace

TEST(CampaignBlock, LaysOutItsFieldsInOrder)
{
    CCampaign campaign;
    const std::vector<uint8_t> bytes = WriteBlock(*MakeCampaign(campaign));
    EXPECT_EQ(bytes.size(), PILOT_AT + 183);  // the pilot record with the name "ALPHA"
    EXPECT_EQ(LoadU32(bytes, 0), 4u);
    EXPECT_EQ(std::memcmp(&bytes[4], "V4e", 4), 0);
    EXPECT_EQ(LoadS32(bytes, GEMS_AT + 4), 12);
    EXPECT_EQ(LoadS32(bytes, CREW_AT), 7);
    EXPECT_EQ(LoadS32(bytes, CURRENT_SHIP_AT), 3);
    // Ship state 4: stored health, kills, flight time.
    EXPECT_EQ(LoadS32(bytes, SHIPS_AT + 48), 104);
    EXPECT_EQ(LoadS32(bytes, SHIPS_AT + 52), 4);
    EXPECT_EQ(LoadU32(bytes, SHIPS_AT + 56), 4000u);
    EXPECT_EQ(LoadS32(bytes, STATION_AT + 4), 1500);
    // Mount 1: definition, fitted, weapon.
    EXPECT_EQ(LoadU32(bytes, MOUNTS_AT + 6), 4u);
    EXPECT_EQ(bytes[MOUNTS_AT + 10], 1);
    EXPECT_EQ(bytes[MOUNTS_AT + 11], 0);
    // The store fills from its last record: definition before kind.
    const size_t last = STORE_AT + 13 * (CAMPAIGN_STORE_SIZE - 1);
    EXPECT_EQ(LoadU32(bytes, last), 2u);
    EXPECT_EQ(LoadU32(bytes, last + 4), static_cast<uint32_t>(COMPONENT_SHIELD));
    EXPECT_EQ(LoadU32(bytes, last + 8), 2u);
    EXPECT_EQ(bytes[last + 12], 1);
    // HULL's research: stage 3, limit 4, enabled, then its fifth cost (200, 100, 60).
    const size_t hull = RESEARCH_AT + RESEARCH_RECORD * COMPONENT_HULL;
    EXPECT_EQ(LoadS32(bytes, hull), 3);
    EXPECT_EQ(LoadS32(bytes, hull + 4), 4);
    EXPECT_EQ(bytes[hull + 8], 1);
    EXPECT_EQ(LoadF32(bytes, hull + 9 + 12 * 4 + 4), 100.0f);
    // The research slot: count, the history (time, paid), remaining, crew, kind, start.
    EXPECT_EQ(LoadS32(bytes, LAB_AT), 2);
    EXPECT_EQ(LoadU32(bytes, LAB_AT + 4 + 16), 50000u);
    EXPECT_EQ(LoadF32(bytes, LAB_AT + 4 + 16 + 12), 2.0f);
    EXPECT_EQ(LoadF32(bytes, LAB_AT + 4004 + 8), 1.0f);
    EXPECT_EQ(LoadS32(bytes, LAB_AT + 4016), 3);
    EXPECT_EQ(LoadS32(bytes, LAB_AT + 4020), COMPONENT_ENGINE);
    EXPECT_EQ(LoadU32(bytes, LAB_AT + 4024), 40000u);
    // The manufacturing slot: ... crew, kind, definition, units, start, paused.
    EXPECT_EQ(LoadS32(bytes, WORKS_AT + 4016), 2);
    EXPECT_EQ(LoadS32(bytes, WORKS_AT + 4024), 1);
    EXPECT_EQ(LoadS32(bytes, WORKS_AT + 4028), 3);
    EXPECT_EQ(bytes[WORKS_AT + 4036], 1);
    EXPECT_EQ(LoadU32(bytes, PILOT_AT + 64), 4321u);
}

TEST(CampaignBlock, ReadBackWritesTheSameBytes)
{
    CCampaign campaign;
    const std::vector<uint8_t> bytes = WriteBlock(*MakeCampaign(campaign));
    CCampaign loaded;
    // Ship states 5 to 7 and the energy are not in a save: they keep their values.
    loaded.GetState().ships[6].kills = 77;
    loaded.GetState().ships[1].energy = 12.5f;
    std::string why;
    ASSERT_TRUE(ReadBlock(loaded, bytes, &why)) << why;
    EXPECT_EQ(WriteBlock(loaded), bytes);
    EXPECT_EQ(loaded.GetState().ships[6].kills, 77);
    EXPECT_EQ(loaded.GetState().ships[1].energy, 12.5f);
    EXPECT_EQ(loaded.GetState().ships[4].kills, 4);
    EXPECT_STREQ(loaded.GetPilot().name, "ALPHA");
}

TEST(CampaignBlock, OlderFormsReadWithTheirDefaults)
{
    CCampaign campaign;
    MakeCampaign(campaign);
    // Values the older forms cannot hold, to see the defaults come back.
    SCampaignState& made = campaign.GetState();
    made.research[COMPONENT_STATION_VAC].stage = 4;
    made.research[COMPONENT_CARGO].stage = 3;
    made.research[COMPONENT_GRAVITY_BEAM].limit = 5;
    const std::vector<uint8_t> newest = WriteBlock(campaign);

    struct SCase
    {
        const char* what;
        std::vector<uint8_t> bytes;
        bool mountWeaponRead;
        int32_t cargoStage;
        int32_t vacuumStage;
    };
    const SCase cases[] = {
        {"V4e", newest, true, 3, 4},
        {"V14: 18 records", OlderBlock(newest, 18, true), false, 3, 1},
        {"untagged: 17 records", OlderBlock(newest, 17, false), false, 1, 1},
    };
    for (const SCase& c : cases)
    {
        CCampaign loaded;
        std::string why;
        ASSERT_TRUE(ReadBlock(loaded, c.bytes, &why)) << c.what << ": " << why;
        const SCampaignState& state = loaded.GetState();
        EXPECT_EQ(state.mounts[1].weapon, !c.mountWeaponRead) << c.what;
        EXPECT_TRUE(state.mounts[0].weapon) << c.what;
        EXPECT_EQ(state.mounts[1].definition, 4u) << c.what;
        EXPECT_EQ(state.research[COMPONENT_CARGO].stage, c.cargoStage) << c.what;
        EXPECT_EQ(state.research[COMPONENT_STATION_VAC].stage, c.vacuumStage) << c.what;
        if (c.vacuumStage == 1)
        {
            EXPECT_EQ(state.research[COMPONENT_STATION_VAC].limit, 1) << c.what;
            EXPECT_EQ(state.research[COMPONENT_STATION_VAC].cost[1].gems[GEM_VERY_RARE], 8.0f) << c.what;
        }
        // The gravity beam's limit and third cost are set whatever the file says.
        EXPECT_EQ(state.research[COMPONENT_GRAVITY_BEAM].limit, 2) << c.what;
        EXPECT_EQ(state.research[COMPONENT_GRAVITY_BEAM].cost[2].gems[GEM_NORMAL], 100.0f) << c.what;
        EXPECT_EQ(state.gems.count[GEM_RARE], 12) << c.what;
        EXPECT_EQ(state.manufactureSlot.units, 3) << c.what;
        EXPECT_STREQ(loaded.GetPilot().name, "ALPHA") << c.what;
    }
}

TEST(CampaignBlock, BothTagsReadAsTheNewestForm)
{
    CCampaign campaign;
    const std::vector<uint8_t> newest = WriteBlock(*MakeCampaign(campaign));
    std::vector<uint8_t> bytes = newest;
    const uint8_t olderTag[8] = {4, 0, 0, 0, 'V', '1', '4', 0};
    bytes.insert(bytes.begin() + 8, olderTag, olderTag + 8);
    CCampaign loaded;
    ASSERT_TRUE(ReadBlock(loaded, bytes));
    EXPECT_EQ(WriteBlock(loaded), newest);
}

TEST(CampaignBlock, StocksAndHealthAreBroughtIntoRange)
{
    CCampaign campaign;
    std::vector<uint8_t> bytes = WriteBlock(*MakeCampaign(campaign));
    StoreU32(bytes, GEMS_AT, 150);
    StoreU32(bytes, GEMS_AT + 4, static_cast<uint32_t>(-5));
    StoreU32(bytes, SHIPS_AT + 12, 0);
    CCampaign loaded;
    ASSERT_TRUE(ReadBlock(loaded, bytes));
    EXPECT_EQ(loaded.GetState().gems.count[GEM_NORMAL], 100);
    EXPECT_EQ(loaded.GetState().gems.count[GEM_RARE], 0);
    EXPECT_EQ(loaded.GetState().ships[1].storedHealth, 1);
}

TEST(CampaignBlock, DamagedBlockChangesNothing)
{
    CCampaign made;
    const std::vector<uint8_t> good = WriteBlock(*MakeCampaign(made));
    const size_t firstStore = STORE_AT;
    const size_t engineResearch = RESEARCH_AT + RESEARCH_RECORD * COMPONENT_ENGINE;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    struct SCase
    {
        const char* what;
        size_t at;
        uint32_t value;    // stored as 32 bits unless byte is set
        bool byte = false;
        bool isFloat = false;
        float floatValue = 0.0f;
    };
    const SCase cases[] = {
        {"negative crew", CREW_AT, static_cast<uint32_t>(-1)},
        {"current ship 8", CURRENT_SHIP_AT, 8},
        {"station health below -1", STATION_AT, static_cast<uint32_t>(-2)},
        {"mount definition 10", MOUNTS_AT, 10},
        {"mount fitted flag 2", MOUNTS_AT + 4, 2, true},
        {"store definition 10", firstStore, 10},
        {"store kind 19", firstStore + 4, 19},
        {"store used flag 7", firstStore + 12, 7, true},
        {"used store record of no items", STORE_AT + 13 * (CAMPAIGN_STORE_SIZE - 1) + 8, 0},
        {"research stage 7", engineResearch, 7},
        {"research stage -2", engineResearch, static_cast<uint32_t>(-2)},
        {"research limit 6", engineResearch + 4, 6},
        {"research cost NaN", engineResearch + 9, 0, false, true, nan},
        {"research cost infinite", engineResearch + 13, 0, false, true, infinity},
        {"research cost negative", engineResearch + 17, 0, false, true, -1.0f},
        {"history count 251", LAB_AT, 251},
        {"history count negative", LAB_AT, static_cast<uint32_t>(-1)},
        {"running research without history", LAB_AT, 0},
        {"history paid NaN", LAB_AT + 4 + 4, 0, false, true, nan},
        {"remaining cost NaN", LAB_AT + 4004, 0, false, true, nan},
        {"research crew negative", LAB_AT + 4016, static_cast<uint32_t>(-1)},
        {"research kind 19", LAB_AT + 4020, 19},
        {"running research of a kind not researched", engineResearch, static_cast<uint32_t>(-1)},
        {"research paused flag 2", LAB_AT + 4028, 2, true},
        {"manufactured kind -1", WORKS_AT + 4020, static_cast<uint32_t>(-1)},
        {"manufactured definition 10", WORKS_AT + 4024, 10},
        {"manufactured units negative", WORKS_AT + 4028, static_cast<uint32_t>(-3)},
        {"pilot difficulty 3", good.size() - 4, 3},
    };
    for (const SCase& c : cases)
    {
        std::vector<uint8_t> bytes = good;
        if (c.byte)
            bytes[c.at] = static_cast<uint8_t>(c.value);
        else if (c.isFloat)
            StoreFloat(bytes, c.at, c.floatValue);
        else
            StoreU32(bytes, c.at, c.value);
        CCampaign loaded;
        loaded.GetState().crew = 42;
        std::string why;
        EXPECT_FALSE(ReadBlock(loaded, bytes, &why)) << c.what;
        EXPECT_FALSE(why.empty()) << c.what;
        EXPECT_EQ(loaded.GetState().crew, 42) << c.what;
    }
    for (size_t cut : {size_t(0), size_t(4), size_t(30), MOUNTS_AT + 3, LAB_AT + 2000, PILOT_AT, good.size() - 1})
    {
        CCampaign loaded;
        loaded.GetState().crew = 42;
        EXPECT_FALSE(ReadBlock(loaded, std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(cut))))
            << cut;
        EXPECT_EQ(loaded.GetState().crew, 42) << cut;
    }
}
