// The zone block of a save. The test writes the block field by field from the layout
// of the format (below), so the game's writer is held to it byte for byte, and
// damaged and older blocks are made by changing or leaving out named fields.

#include "tests/support/world/ZoneScene.h"
#include "utility/source/QelMemoryFile.h"
#include "world/Game.h"
#include "world/ZoneManager.h"
#include "world/ZoneNodeState.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace
{
struct SField
{
    std::string name;
    std::vector<uint8_t> bytes;
};

class CFieldWriter
{
public:
    void U32(const std::string& name, uint32_t value)
    {
        SField field{name, {}};
        for (int i = 0; i < 4; ++i)
            field.bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
        m_fields.push_back(field);
    }
    void S32(const std::string& name, int32_t value) { U32(name, static_cast<uint32_t>(value)); }
    void U8(const std::string& name, uint8_t value) { m_fields.push_back({name, {value}}); }
    void Float(const std::string& name, float value)
    {
        uint32_t bits = 0;
        std::memcpy(&bits, &value, 4);
        U32(name, bits);
    }
    void String(const std::string& name, const std::string& text)
    {
        U32(name, static_cast<uint32_t>(text.size() + 1));
        m_fields.back().bytes.insert(m_fields.back().bytes.end(), text.begin(), text.end());
        m_fields.back().bytes.push_back(0);
    }

    std::vector<SField> m_fields;
};

std::vector<uint8_t> Join(const std::vector<SField>& fields)
{
    std::vector<uint8_t> bytes;
    for (const SField& field : fields)
        bytes.insert(bytes.end(), field.bytes.begin(), field.bytes.end());
    return bytes;
}

// The block as the format lays it out, with "CRC", "V_M", "V_E" and "V_C".
std::vector<SField> DescribeBlock(CZoneManager& zones, uint32_t checksum)
{
    CFieldWriter out;
    const SZoneList& list = zones.GetList();
    out.String("CRC", "CRC");
    out.U32("checksum", checksum);
    out.String("pilot", list.pilotName);
    out.U32("score", 0);
    out.String("slot", list.slotName);
    out.S32("current node", list.currentNode);
    out.S32("current zone", list.currentZone);
    for (int32_t z = 0; z < zones.GetZoneCount(); ++z)
    {
        const CZoneDefinition& zone = *zones.GetZone(z);
        out.U32("clock", zone.m_clock);
        CZoneNodeState never;
        never.ResetHeader(z);
        const CZoneNodeState& s = zone.m_nodeState ? *zone.m_nodeState : never;
        out.String("V_M", "V_M");
        out.U8("reward", s.m_rewardFlag);
        out.S32("visits", s.m_visitCounter);
        out.U8("rocks present", s.m_flags[ZONE_FLAG_ROCKS_PRESENT]);
        out.U8("broken alien", s.m_flags[ZONE_FLAG_BROKEN_ALIEN_STATION_HANDLED]);
        out.U8("alien 2 shown", s.m_flags[ZONE_FLAG_ALIEN_NODE_2_SHOWN]);
        out.U8("alien 1 shown", s.m_flags[ZONE_FLAG_ALIEN_NODE_1_SHOWN]);
        out.U8("boss shown", s.m_flags[ZONE_FLAG_BOSS_NODE_SHOWN]);
        out.S32("level", s.m_levelValue);
        out.U8("crew site destroyed", s.m_flags[ZONE_FLAG_CREW_SITE_DESTROYED]);
        out.U8("crew released", s.m_flags[ZONE_FLAG_CREW_RELEASED]);
        out.U8("boss beaten", s.m_flags[ZONE_FLAG_BOSS_BEATEN]);
        out.U32("group counter", s.m_groupCounter);
        out.S32("zone index", z);
        out.S32("node count", s.GetNodeCount());
        out.String("V_E", "V_E");
        for (const SZoneNode& node : s.m_nodes)
        {
            out.S32("rock value", node.rockValue);
            out.U32("asteroid count", static_cast<uint32_t>(node.asteroidCount));
            for (const SAsteroidMapEntry& entry : node.asteroidMap)
                out.U32("map word", entry.word);
            out.S32("group count", node.CountGroups());
            for (const SParkedGroup& group : node.parked)
            {
                if (!group.used)
                    continue;
                out.U32("group number", group.number);
                out.S32("previous node", group.previousNode);
                out.U32("move time", group.moveTime);
                for (const SParkedEntry& entry : group.entries)
                {
                    const std::string kind = entry.alive ? "alive " : "";
                    out.S32(kind + "resource", entry.resource);
                    out.S32(kind + "attack group", entry.attackGroup);
                    out.Float(kind + "x", entry.x);
                    out.Float(kind + "y", entry.y);
                    out.U8(kind + "list flag", entry.infinite);
                    out.U8(kind + "alive", entry.alive);
                    out.S32(kind + "state word", entry.stateWord);
                }
            }
            out.U8("visited", node.visited);
        }
        for (const SResourceRecord& record : zone.m_fixed)
            out.S32("remaining", record.numRemaining);
        for (const SAttackGroup& group : zone.m_attackGroups)
            out.U32("attack time", group.lastAttackTime);
        out.String("V_C", "V_C");
        out.U8("cargo 1", s.m_flags[ZONE_FLAG_SPECIAL_CARGO_1]);
        out.U8("cargo 2", s.m_flags[ZONE_FLAG_SPECIAL_CARGO_2]);
    }
    return out.m_fields;
}

std::vector<uint8_t> Save(CZoneManager& zones, uint32_t checksum = 0)
{
    CQelMemoryFile file;
    EXPECT_TRUE(zones.SaveState(file, checksum));
    return file.GetBytes();
}

bool Load(CZoneManager& zones, const std::vector<uint8_t>& bytes)
{
    CQelMemoryFile file(bytes);
    return zones.LoadState(file);
}

// Two zones: zone 0 played (start node 13 visited, a mining group on its way, a rock
// gone, the second kind of special cargo delivered), zone 1 never played; names,
// clocks and counters set.
void MakeState(CZoneScene& scene)
{
    SZoneSpec start = SZoneSpec::MakeStart();
    start.fixedResources = 1;
    start.fixedText = "fixedResource0 { num 4; maxInWorld 2; maxInGame 2; iniFile data\\enemies\\barge.txt; "
                      "type ENEMY_MOTHERSHIP }";
    start.attackGroups = 2;
    start.groupText = "attckGroup0 { deployRadius 90; spawnDelayMaxS 5; numInfGroups 1; inf0 { idx 0; num 3 } } "
                      "attckGroup1 { containsMiningBarge true; spawnDelayMaxS 5; numFixedGroups 1; "
                      "fixed0 { idx 0; num 1 }; numInfGroups 1; inf0 { idx 0; num 2 } }";
    ASSERT_TRUE(scene.Load(MakeZoneText({start, SZoneSpec::MakeLine(6)})));
    CZoneManager& zones = scene.Zones();
    zones.InitNodeState();
    std::strcpy(zones.GetList().pilotName, "Vega");
    std::strcpy(zones.GetList().slotName, "slot3");
    CZoneDefinition& zone = *zones.GetZone(0);
    CZoneNodeState& state = *zone.m_nodeState;
    zones.FillGroup(zone, state, 1, state.m_nodes[6].parked[2], false);
    state.m_nodes[6].parked[2].moveTime = 123456;
    state.m_nodes[6].parked[2].previousNode = 5;
    zones.FillGroup(zone, state, 0, state.m_nodes[13].parked[0], false);
    state.m_nodes[13].parked[0].entries[1].alive = 0;
    state.m_nodes[13].parked[0].PackEntries();
    state.m_nodes[13].parked[0].entries[0].x = 812.5f;
    state.m_nodes[13].parked[0].entries[0].y = 640.25f;
    state.m_nodes[13].visited = true;
    state.m_nodes[7].asteroidMap[0].word &= ~1u;
    state.m_flags[ZONE_FLAG_CREW_RELEASED] = true;
    state.m_flags[ZONE_FLAG_SPECIAL_CARGO_2] = true;
    state.m_rewardFlag = true;
    state.m_visitCounter = 2;
    zone.m_clock = 654321;
    zone.m_attackGroups[1].lastAttackTime = 99000;
}
} // namespace

TEST(ZoneSaveBlock, TheBlockIsWrittenAsItsLayoutSaysAndReadsBackByteForByte)
{
    CZoneScene scene;
    MakeState(scene);
    const std::vector<uint8_t> saved = Save(scene.Zones(), 0xCAFEF00Du);
    EXPECT_EQ(saved, Join(DescribeBlock(scene.Zones(), 0xCAFEF00Du)));

    std::unique_ptr<CZoneManager> other = scene.MakeManager();
    ASSERT_TRUE(Load(*other, saved));
    EXPECT_EQ(Save(*other, 0xCAFEF00Du), saved);
    EXPECT_EQ(other->GetLoadedChecksum(), 0xCAFEF00Du);
    EXPECT_STREQ(other->GetList().pilotName, "Vega");
    EXPECT_EQ(other->GetCurrentNodeIndex(), 13);
    const CZoneDefinition& zone = *other->GetZone(0);
    EXPECT_EQ(zone.m_clock, 654321u);
    EXPECT_FALSE(zone.m_nodeState->m_flags[ZONE_FLAG_SPECIAL_CARGO_1]);
    EXPECT_TRUE(zone.m_nodeState->m_flags[ZONE_FLAG_SPECIAL_CARGO_2]);
    EXPECT_FALSE(other->GetZone(1)->m_nodeState);
    // Every alive parked entry counts in game again; none was made.
    EXPECT_EQ(zone.m_infinite[0].inGame, 2 + 2);
    EXPECT_EQ(zone.m_fixed[0].inGame, 1);
    EXPECT_EQ(zone.m_fixed[0].numRemaining, 3);
    EXPECT_EQ(zone.m_infinite[0].spawned, 0);
    // The rocks flags come from the maps.
    for (const SZoneNode& node : zone.m_nodeState->m_nodes)
    {
        SZoneNode copy = node;
        copy.RefreshRocksFlag();
        EXPECT_EQ(node.rocks, copy.rocks);
    }
}

TEST(ZoneSaveBlock, AnOlderBlockWithoutItsTagsReads)
{
    CZoneScene scene;
    MakeState(scene);
    std::vector<SField> old;
    for (const SField& field : DescribeBlock(scene.Zones(), 7))
        if (field.name != "CRC" && field.name != "checksum" && field.name != "V_M" && field.name != "reward" &&
            field.name != "V_E" && field.name != "visited" && field.name != "V_C" && field.name != "cargo 1" &&
            field.name != "cargo 2")
            old.push_back(field);

    std::unique_ptr<CZoneManager> other = scene.MakeManager();
    ASSERT_TRUE(Load(*other, Join(old)));
    EXPECT_EQ(other->GetLoadedChecksum(), 0u);
    CZoneNodeState& state = *other->GetZone(0)->m_nodeState;
    EXPECT_FALSE(state.m_rewardFlag);
    for (const SZoneNode& node : state.m_nodes)
        EXPECT_FALSE(node.visited);
    EXPECT_EQ(state.m_visitCounter, 2);
    EXPECT_TRUE(state.m_flags[ZONE_FLAG_CREW_RELEASED]);
    EXPECT_EQ(state.m_nodes[6].parked[0].moveTime, 123456u);
    EXPECT_STREQ(other->GetList().slotName, "slot3");

    EXPECT_FALSE(state.m_flags[ZONE_FLAG_SPECIAL_CARGO_2]);

    // Only the visited bytes, the reward flag and the special cargo differ from the
    // newer block.
    state.m_rewardFlag = true;
    state.m_nodes[13].visited = true;
    state.m_flags[ZONE_FLAG_SPECIAL_CARGO_2] = true;
    EXPECT_EQ(Save(*other, 7), Save(scene.Zones(), 7));
}

TEST(ZoneSaveBlock, ADamagedBlockIsRefusedAndChangesNothing)
{
    CZoneScene scene;
    MakeState(scene);
    const std::vector<uint8_t> before = Save(scene.Zones());
    const float nan = std::numeric_limits<float>::quiet_NaN();
    uint32_t nanBits = 0;
    std::memcpy(&nanBits, &nan, 4);
    struct SCase
    {
        const char* field;
        int occurrence; // of the field's name
        uint32_t value;
    };
    const SCase cases[] = {
        {"current zone", 0, 2},
        {"current zone", 0, 0xFFFFFFFFu},
        {"current node", 0, 16},
        {"current node", 0, 0xFFFFFFFFu},
        {"node count", 0, 17},
        {"node count", 1, 1},
        {"zone index", 1, 0},
        {"asteroid count", 3, 201},
        {"group count", 6, 6},
        {"group count", 6, 0xFFFFFFFFu},
        {"previous node", 0, 16},
        {"previous node", 0, 0xFFFFFFFEu},
        {"alive resource", 0, 1},
        {"alive resource", 0, 0x80000000u},
        {"alive attack group", 0, 2},
        {"alive x", 0, nanBits},
        {"alive list flag", 0, 2},
        {"alive", 4, 7},
        {"rocks present", 0, 2},
        {"visited", 5, 255},
        {"cargo 2", 0, 2},
        {"cargo 1", 1, 1}, // zone 1 was never played
        {"remaining", 0, 5},
        {"remaining", 0, 0xFFFFFFFFu},
        {"pilot", 0, 100000},
    };
    for (const SCase& test : cases)
    {
        std::vector<SField> fields = DescribeBlock(scene.Zones(), 0);
        int seen = 0;
        bool changed = false;
        for (SField& field : fields)
        {
            if (field.name != test.field || seen++ != test.occurrence)
                continue;
            if (field.bytes.size() == 1)
                field.bytes[0] = static_cast<uint8_t>(test.value);
            else
                for (int i = 0; i < 4; ++i)
                    field.bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(test.value >> (8 * i));
            changed = true;
            break;
        }
        ASSERT_TRUE(changed) << test.field << " " << test.occurrence;
        EXPECT_FALSE(Load(scene.Zones(), Join(fields))) << test.field << " = " << test.value;
        EXPECT_EQ(Save(scene.Zones()), before) << test.field;
    }

    // Cut anywhere, the block is refused; but cut just before the last zone's special
    // cargo it is a whole older block (in a save the campaign's block follows there).
    const std::vector<uint8_t> whole = Join(DescribeBlock(scene.Zones(), 0));
    const size_t olderEnd = whole.size() - 10;
    for (size_t length = 0; length < whole.size(); length += (length < 200 ? 1 : 37))
    {
        if (length == olderEnd)
            continue;
        EXPECT_FALSE(Load(scene.Zones(), std::vector<uint8_t>(whole.begin(), whole.begin() + length))) << length;
        if (length % 1000 < 37)
        {
            EXPECT_EQ(Save(scene.Zones()), before) << length;
        }
    }
    EXPECT_TRUE(Load(scene.Zones(), whole));
}

TEST(ZoneSaveBlock, LongNamesAreCutToTheirFieldAndTheBlockReadsOn)
{
    CZoneScene scene;
    MakeState(scene);
    std::vector<SField> fields = DescribeBlock(scene.Zones(), 0);
    CFieldWriter names;
    names.String("pilot", "Commander Nine");
    fields[2] = names.m_fields[0];
    ASSERT_TRUE(Load(scene.Zones(), Join(fields)));
    EXPECT_STREQ(scene.Zones().GetList().pilotName, "Commande");
    EXPECT_EQ(scene.Zones().GetCurrentNodeIndex(), 13);
}
