// The zone block of a save: little-endian through the file layer, a string being a
// 32-bit length (its NUL included) and its bytes.
//
//   "CRC", u32 checksum; pilot name, u32 score, slot name; i32 current node and zone;
//   per zone: u32 clock, the node-state block, i32 remaining num of each fixed record,
//   i32 last attack time of each attack group, "V_C" and u8 each of the two special
//   cargo flags; then the campaign's block.
//
// Node-state block: "V_M", u8 reward flag, i32 visit counter, u8 rocks present, broken
// alien station handled, alien node 2 shown, alien node 1 shown, boss node shown,
// i32 level value, u8 crew site destroyed, crew released, boss beaten, u32 group
// counter, i32 zone index, i32 node count (0: the zone was never played), "V_E"; per
// node: i32 rock value, u32 asteroid count, 200 u32 map words, i32 group count, per
// group u32 number, i32 previous node, u32 move time and 20 entries (u32 resource,
// u32 attack group, 2 floats place, u8 list flag, u8 alive, u32 state word), and u8
// visited.
//
// Older blocks lack the tags: without "CRC" the block starts at the pilot name,
// without "V_M" there is no reward flag, without "V_E" no visited bytes, without "V_C"
// the special cargo flags are clear. Every count, index and flag is checked against
// the zones of "data\game1.txt"; a damaged block is refused whole.

#include "core/Console.h"
#include "utility/source/QelFile.h"
#include "world/CampaignLink.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/ZoneManager.h"
#include "world/ZoneNodeState.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace
{
constexpr uint32_t NAME_LENGTH_LIMIT = 256;
constexpr size_t NAME_FIELD = 9;

bool WriteBool(CFileInterface& file, bool value)
{
    return file.WriteU8(value ? 1 : 0);
}

bool WriteEntry(CFileInterface& file, const SParkedEntry& entry)
{
    return file.WriteU32(static_cast<uint32_t>(entry.resource)) &&
           file.WriteU32(static_cast<uint32_t>(entry.attackGroup)) && file.WriteFloat(entry.x) &&
           file.WriteFloat(entry.y) && file.WriteU8(entry.infinite) && file.WriteU8(entry.alive) &&
           file.WriteU32(static_cast<uint32_t>(entry.stateWord));
}

bool WriteNode(CFileInterface& file, const SZoneNode& node)
{
    bool ok = file.WriteS32(node.rockValue) && file.WriteU32(static_cast<uint32_t>(node.asteroidCount));
    for (const SAsteroidMapEntry& entry : node.asteroidMap)
        ok = ok && file.WriteU32(entry.word);
    ok = ok && file.WriteS32(node.CountGroups());
    for (const SParkedGroup& group : node.parked)
    {
        if (!group.used)
            continue;
        ok = ok && file.WriteU32(group.number) && file.WriteS32(group.previousNode) && file.WriteU32(group.moveTime);
        for (const SParkedEntry& entry : group.entries)
            ok = ok && WriteEntry(file, entry);
    }
    return ok && WriteBool(file, node.visited);
}

bool WriteNodeState(CFileInterface& file, const CZoneNodeState* state, int32_t zoneIndex)
{
    CZoneNodeState empty;
    empty.ResetHeader(zoneIndex);
    const CZoneNodeState& s = state ? *state : empty;
    bool ok = file.WriteString("V_M") && WriteBool(file, s.m_rewardFlag) && file.WriteS32(s.m_visitCounter) &&
              WriteBool(file, s.m_flags[ZONE_FLAG_ROCKS_PRESENT]) &&
              WriteBool(file, s.m_flags[ZONE_FLAG_BROKEN_ALIEN_STATION_HANDLED]) &&
              WriteBool(file, s.m_flags[ZONE_FLAG_ALIEN_NODE_2_SHOWN]) &&
              WriteBool(file, s.m_flags[ZONE_FLAG_ALIEN_NODE_1_SHOWN]) &&
              WriteBool(file, s.m_flags[ZONE_FLAG_BOSS_NODE_SHOWN]) && file.WriteS32(s.m_levelValue) &&
              WriteBool(file, s.m_flags[ZONE_FLAG_CREW_SITE_DESTROYED]) &&
              WriteBool(file, s.m_flags[ZONE_FLAG_CREW_RELEASED]) && WriteBool(file, s.m_flags[ZONE_FLAG_BOSS_BEATEN]) &&
              file.WriteU32(s.m_groupCounter) && file.WriteS32(s.m_zoneIndex) && file.WriteS32(s.GetNodeCount()) &&
              file.WriteString("V_E");
    for (const SZoneNode& node : s.m_nodes)
        ok = ok && WriteNode(file, node);
    return ok;
}

bool WriteSpecialCargo(CFileInterface& file, const CZoneNodeState* state)
{
    const bool first = state && state->m_flags[ZONE_FLAG_SPECIAL_CARGO_1];
    const bool second = state && state->m_flags[ZONE_FLAG_SPECIAL_CARGO_2];
    return file.WriteString("V_C") && WriteBool(file, first) && WriteBool(file, second);
}

// Reads a block value by value; the first failure is kept with its reason and every
// later read fails too.
class CBlockReader
{
public:
    explicit CBlockReader(CFileInterface& file) : m_file(file) {}

    bool Failed() const { return !m_reason.empty(); }
    const std::string& GetReason() const { return m_reason; }

    bool Fail(const char* format, ...) __attribute__((format(printf, 2, 3)))
    {
        if (Failed())
            return false;
        char text[256];
        va_list arguments;
        va_start(arguments, format);
        std::vsnprintf(text, sizeof(text), format, arguments);
        va_end(arguments);
        m_reason = text;
        return false;
    }

    bool U32(uint32_t& value, const char* what)
    {
        return !Failed() && (m_file.ReadU32(value) || Fail("the block ends before %s", what));
    }
    bool S32(int32_t& value, const char* what)
    {
        return !Failed() && (m_file.ReadS32(value) || Fail("the block ends before %s", what));
    }
    bool U8(uint8_t& value, const char* what)
    {
        return !Failed() && (m_file.ReadU8(value) || Fail("the block ends before %s", what));
    }
    // A byte of 0 or 1.
    bool Flag(bool& value, const char* what)
    {
        uint8_t byte = 0;
        if (!U8(byte, what))
            return false;
        if (byte > 1)
            return Fail("%s is %u (0 or 1)", what, static_cast<unsigned>(byte));
        value = byte != 0;
        return true;
    }
    bool Float(float& value, const char* what)
    {
        if (Failed() || !m_file.ReadFloat(value))
            return Fail("the block ends before %s", what);
        return std::isfinite(value) || Fail("%s is not a number", what);
    }
    // A counted text kept within the field (the rest of what was stored is passed over).
    bool Name(char (&field)[NAME_FIELD], const char* what)
    {
        uint32_t length = 0;
        if (!U32(length, what))
            return false;
        if (length > NAME_LENGTH_LIMIT)
            return Fail("%s is %u bytes long (at most %u)", what, length, NAME_LENGTH_LIMIT);
        char text[NAME_LENGTH_LIMIT + 1] = {};
        uint32_t read = 0;
        if (length > 0 && (!m_file.Read(text, length, &read) || read != length))
            return Fail("the block ends inside %s", what);
        std::memset(field, 0, sizeof(field));
        std::memcpy(field, text, std::min<size_t>(std::strlen(text), sizeof(field) - 1));
        return true;
    }
    // An optional tag (a 32-bit 4 and the tag's bytes with their NUL): true when it is
    // there; otherwise the stream stays where it stood and false, and what follows is
    // read as the older layout has it.
    bool Tag(const char* tag)
    {
        if (Failed())
            return false;
        uint8_t bytes[8] = {};
        uint32_t read = 0;
        m_file.Read(bytes, sizeof(bytes), &read);
        const uint8_t length[4] = {4, 0, 0, 0};
        if (read == sizeof(bytes) && std::memcmp(bytes, length, 4) == 0 &&
            std::memcmp(bytes + 4, tag, std::strlen(tag) + 1) == 0)
            return true;
        m_file.Skip(-static_cast<int32_t>(read));
        return false;
    }

private:
    CFileInterface& m_file;
    std::string m_reason;
};

bool ReadEntry(CBlockReader& in, const CZoneDefinition& zone, SParkedEntry& entry)
{
    uint32_t resource = 0;
    uint32_t attackGroup = 0;
    uint32_t word = 0;
    bool infinite = false;
    bool alive = false;
    if (!in.U32(resource, "an entry's record") || !in.U32(attackGroup, "an entry's group") ||
        !in.Float(entry.x, "an entry's place") || !in.Float(entry.y, "an entry's place") ||
        !in.Flag(infinite, "an entry's list flag") || !in.Flag(alive, "an entry's alive flag") ||
        !in.U32(word, "an entry's state word"))
        return false;
    entry.resource = static_cast<int32_t>(resource);
    entry.attackGroup = static_cast<int32_t>(attackGroup);
    entry.infinite = infinite ? 1 : 0;
    entry.alive = alive ? 1 : 0;
    entry.stateWord = static_cast<int32_t>(word);
    entry.object = NO_OBJECT;
    if (!alive)
        return true;
    if (!zone.GetRecord(infinite, entry.resource))
        return in.Fail("an entry names %s record %u, which the zone does not have", infinite ? "infinite" : "fixed",
                       resource);
    if (attackGroup >= zone.m_attackGroups.size())
        return in.Fail("an entry names attack group %u, which the zone does not have", attackGroup);
    return true;
}

bool ReadNode(CBlockReader& in, const CZoneDefinition& zone, bool withVisited, SZoneNode& node)
{
    uint32_t count = 0;
    if (!in.S32(node.rockValue, "a node's rock value") || !in.U32(count, "a node's asteroid count"))
        return false;
    if (count > static_cast<uint32_t>(ASTEROID_MAP_SIZE))
        return in.Fail("a node counts %u asteroids (at most %d)", count, ASTEROID_MAP_SIZE);
    node.asteroidCount = static_cast<int32_t>(count);
    for (SAsteroidMapEntry& entry : node.asteroidMap)
    {
        if (!in.U32(entry.word, "a node's asteroid map"))
            return false;
        entry.asteroid = NO_OBJECT;
    }
    node.RefreshRocksFlag();
    int32_t groups = 0;
    if (!in.S32(groups, "a node's group count"))
        return false;
    if (groups < 0 || groups > ZONE_NODE_GROUP_SLOTS)
        return in.Fail("a node holds %d groups (0 to %d)", static_cast<int>(groups), ZONE_NODE_GROUP_SLOTS);
    for (int32_t g = 0; g < groups; ++g)
    {
        SParkedGroup& group = node.parked[g];
        group.used = true;
        if (!in.U32(group.number, "a group's number") || !in.S32(group.previousNode, "a group's previous node") ||
            !in.U32(group.moveTime, "a group's move time"))
            return false;
        if (group.previousNode < -1 || group.previousNode >= zone.m_map.GetNodeCount())
            return in.Fail("a group left node %d, which the zone does not have", static_cast<int>(group.previousNode));
        for (SParkedEntry& entry : group.entries)
            if (!ReadEntry(in, zone, entry))
                return false;
    }
    if (withVisited)
        return in.Flag(node.visited, "a node's visited flag");
    return true;
}

// The node state of zone `index`; null (and true) for a zone never played.
bool ReadNodeState(CBlockReader& in, const CZoneDefinition& zone, int32_t index,
                   std::unique_ptr<CZoneNodeState>& out)
{
    auto state = std::make_unique<CZoneNodeState>();
    state->ResetHeader(index);
    bool* flags = state->m_flags;
    if (in.Tag("V_M") && !in.Flag(state->m_rewardFlag, "the reward flag"))
        return false;
    uint32_t counter = 0;
    int32_t zoneIndex = 0;
    int32_t nodes = 0;
    if (!in.S32(state->m_visitCounter, "the visit counter") ||
        !in.Flag(flags[ZONE_FLAG_ROCKS_PRESENT], "the rocks flag") ||
        !in.Flag(flags[ZONE_FLAG_BROKEN_ALIEN_STATION_HANDLED], "the alien station flag") ||
        !in.Flag(flags[ZONE_FLAG_ALIEN_NODE_2_SHOWN], "the alien node 2 flag") ||
        !in.Flag(flags[ZONE_FLAG_ALIEN_NODE_1_SHOWN], "the alien node 1 flag") ||
        !in.Flag(flags[ZONE_FLAG_BOSS_NODE_SHOWN], "the boss node flag") ||
        !in.S32(state->m_levelValue, "the level value") ||
        !in.Flag(flags[ZONE_FLAG_CREW_SITE_DESTROYED], "the crew site flag") ||
        !in.Flag(flags[ZONE_FLAG_CREW_RELEASED], "the crew flag") ||
        !in.Flag(flags[ZONE_FLAG_BOSS_BEATEN], "the boss flag") || !in.U32(counter, "the group counter") ||
        !in.S32(zoneIndex, "the zone index") || !in.S32(nodes, "the node count"))
        return false;
    state->m_groupCounter = counter;
    if (zoneIndex != index)
        return in.Fail("zone %d's node state says zone %d", static_cast<int>(index), static_cast<int>(zoneIndex));
    if (nodes != 0 && nodes != zone.m_map.GetNodeCount())
        return in.Fail("zone %d has %d nodes, the block %d", static_cast<int>(index),
                       static_cast<int>(zone.m_map.GetNodeCount()), static_cast<int>(nodes));
    const bool withVisited = in.Tag("V_E");
    if (in.Failed())
        return false;
    state->m_nodes.assign(static_cast<size_t>(nodes), SZoneNode());
    for (SZoneNode& node : state->m_nodes)
        if (!ReadNode(in, zone, withVisited, node))
            return false;
    if (nodes == 0)
        state.reset();
    out = std::move(state);
    return true;
}

// The zone's special cargo flags, when the block has them; a zone never played has
// none to carry.
bool ReadSpecialCargo(CBlockReader& in, int32_t index, CZoneNodeState* state)
{
    if (!in.Tag("V_C"))
        return !in.Failed();
    bool cargo[2] = {false, false};
    if (!in.Flag(cargo[0], "the first special cargo flag") || !in.Flag(cargo[1], "the second special cargo flag"))
        return false;
    if (!state)
        return !(cargo[0] || cargo[1]) ||
               in.Fail("zone %d was never played, yet holds special cargo", static_cast<int>(index));
    state->m_flags[ZONE_FLAG_SPECIAL_CARGO_1] = cargo[0];
    state->m_flags[ZONE_FLAG_SPECIAL_CARGO_2] = cargo[1];
    return true;
}

// What one zone's part of the block holds, before it is taken.
struct SZoneRead
{
    uint32_t clock = 0;
    std::unique_ptr<CZoneNodeState> state;
    std::vector<int32_t> remaining;
    std::vector<uint32_t> attackTimes;
};
} // namespace

bool CZoneManager::SaveState(CFileInterface& file, uint32_t checksum) const
{
    bool ok = file.WriteString("CRC") && file.WriteU32(checksum) && file.WriteString(m_list.pilotName) &&
              file.WriteU32(m_game.GetCampaign().GetScore()) && file.WriteString(m_list.slotName) &&
              file.WriteS32(m_list.currentNode) && file.WriteS32(m_list.currentZone);
    for (int32_t z = 0; ok && z < GetZoneCount(); ++z)
    {
        const CZoneDefinition& zone = *m_list.zones[static_cast<size_t>(z)];
        ok = file.WriteU32(zone.m_clock) && WriteNodeState(file, zone.m_nodeState.get(), z);
        for (const SResourceRecord& record : zone.m_fixed)
            ok = ok && file.WriteS32(record.numRemaining);
        for (const SAttackGroup& group : zone.m_attackGroups)
            ok = ok && file.WriteU32(group.lastAttackTime);
        ok = ok && WriteSpecialCargo(file, zone.m_nodeState.get());
    }
    return ok && m_game.GetCampaign().WriteBlock(file);
}

void CZoneManager::SetSlotName(const char* name)
{
    std::memset(m_list.slotName, 0, sizeof(m_list.slotName));
    std::strncpy(m_list.slotName, name ? name : "", sizeof(m_list.slotName) - 1);
}

bool CZoneManager::LoadState(CFileInterface& file, bool apply)
{
    CBlockReader in(file);
    uint32_t checksum = 0;
    if (in.Tag("CRC"))
        in.U32(checksum, "the checksum");
    SZoneList names;
    uint32_t score = 0;
    in.Name(names.pilotName, "the pilot name");
    in.U32(score, "the score");
    in.Name(names.slotName, "the slot name");
    int32_t node = 0;
    int32_t zoneIndex = 0;
    in.S32(node, "the current node");
    in.S32(zoneIndex, "the current zone");
    if (!in.Failed() && !GetZone(zoneIndex))
        in.Fail("the current zone is %d (0 to %d)", static_cast<int>(zoneIndex), static_cast<int>(GetZoneCount() - 1));
    if (!in.Failed() && (node < 0 || node >= GetZone(zoneIndex)->m_map.GetNodeCount()))
        in.Fail("the current node is %d (0 to %d)", static_cast<int>(node),
                static_cast<int>(GetZone(zoneIndex)->m_map.GetNodeCount() - 1));

    std::vector<SZoneRead> zones(static_cast<size_t>(GetZoneCount()));
    for (int32_t z = 0; z < GetZoneCount() && !in.Failed(); ++z)
    {
        const CZoneDefinition& zone = *m_list.zones[static_cast<size_t>(z)];
        SZoneRead& read = zones[static_cast<size_t>(z)];
        if (!in.U32(read.clock, "a zone's clock") || !ReadNodeState(in, zone, z, read.state))
            break;
        for (const SResourceRecord& record : zone.m_fixed)
        {
            int32_t remaining = 0;
            if (!in.S32(remaining, "a remaining num"))
                break;
            if (remaining < 0 || remaining > record.num)
            {
                in.Fail("a record has %d left of %d", static_cast<int>(remaining), static_cast<int>(record.num));
                break;
            }
            read.remaining.push_back(remaining);
        }
        for (size_t g = 0; g < zone.m_attackGroups.size() && !in.Failed(); ++g)
        {
            uint32_t time = 0;
            if (in.U32(time, "a group's attack time"))
                read.attackTimes.push_back(time);
        }
        ReadSpecialCargo(in, z, read.state.get());
    }
    if (in.Failed() || !m_game.GetCampaign().ReadBlock(file, apply))
    {
        if (g_console)
            g_console->Printf("The zone block of the save is damaged: %s",
                              in.Failed() ? in.GetReason().c_str() : "its campaign block is refused");
        return false;
    }
    if (!apply)
        return true;

    // Everything read: it replaces the zones' state at once.
    std::memcpy(m_list.pilotName, names.pilotName, sizeof(names.pilotName));
    std::memcpy(m_list.slotName, names.slotName, sizeof(names.slotName));
    for (int32_t z = 0; z < GetZoneCount(); ++z)
    {
        CZoneDefinition& zone = *m_list.zones[static_cast<size_t>(z)];
        SZoneRead& read = zones[static_cast<size_t>(z)];
        zone.ResetSpawnState();
        zone.m_clock = read.clock;
        zone.m_nodeState = std::move(read.state);
        for (size_t r = 0; r < zone.m_fixed.size(); ++r)
            zone.m_fixed[r].numRemaining = read.remaining[r];
        for (size_t g = 0; g < zone.m_attackGroups.size(); ++g)
            zone.m_attackGroups[g].lastAttackTime = read.attackTimes[g];
        if (!zone.m_nodeState)
            continue;
        for (const SZoneNode& record : zone.m_nodeState->m_nodes)
            for (const SParkedGroup& group : record.parked)
                for (const SParkedEntry& entry : group.entries)
                    if (group.used && entry.alive)
                        ++zone.GetRecord(entry.infinite != 0, entry.resource)->inGame;
    }
    m_list.currentZone = zoneIndex;
    m_list.currentNode = node;
    m_loadedChecksum = checksum;
    return true;
}
