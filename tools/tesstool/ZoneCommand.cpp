// tesstool zone: reads a zone file ("data\game1.txt") with the game's own reader and
// prints its zones and their nodes, each with the nodes a group can move to from it
// (within 50 map units, not the boss, alien node 1 or a danger node).
//   zone FILE                  the zones and nodes
//   zone FILE --block OUT      also writes the zone block of a save of a new game in
//                              them (every zone played, zone 0 at its start node)
// The definition files the records name are looked for from the current folder.

#include "core/DefinitionProblems.h"
#include "tools/tesstool/ToolCommand.h"
#include "tools/tesstool/ToolFiles.h"
#include "utility/source/QelMemoryFile.h"
#include "world/Game.h"
#include "world/ZoneFile.h"
#include "world/ZoneManager.h"
#include "world/ZoneNodeState.h"

#include <cstdio>
#include <string>
#include <vector>

namespace
{
const char* KindName(int32_t kind)
{
    switch (kind)
    {
    case ZONE_NODE_NORMAL:
        return "normal";
    case ZONE_NODE_TRANSFER:
        return "transfer";
    case ZONE_NODE_DANGER:
    case ZONE_NODE_DANGER_1:
    case ZONE_NODE_DANGER_2:
        return "danger";
    case ZONE_NODE_BOSS:
        return "boss";
    case ZONE_NODE_ALIEN_1:
        return "alien 1";
    case ZONE_NODE_ALIEN_2:
        return "alien 2";
    default:
        return "?";
    }
}

void PrintRecord(const char* what, int index, const SResourceRecord& record)
{
    std::printf("  %s %d: %s from %s, num %d, in world %d, in game %d, mass %g%s%s\n", what, index,
                ObjectTypeName(record.type), record.iniFile, record.num, record.maxInWorld, record.maxInGame,
                static_cast<double>(record.mass), record.mining ? ", mining" : "",
                record.definition ? "" : ", NO DEFINITION");
}

void PrintEntries(const char* list, const std::vector<SGroupEntry>& entries)
{
    for (const SGroupEntry& entry : entries)
        std::printf(" %d x %s %d", entry.num, list, entry.idx);
}

void PrintZone(int32_t index, const CZoneDefinition& zone)
{
    const SZoneMap& map = zone.m_map;
    std::printf("zone %d: level file %d, %d nodes, boss %s\n", index, zone.m_iniFileIdx, map.GetNodeCount(),
                zone.m_boss.type != OBJECT_NONE ? ObjectTypeName(zone.m_boss.type) : "none");
    for (size_t i = 0; i < zone.m_fixed.size(); ++i)
        PrintRecord("fixed", static_cast<int>(i), zone.m_fixed[i]);
    for (size_t i = 0; i < zone.m_infinite.size(); ++i)
        PrintRecord("infinite", static_cast<int>(i), zone.m_infinite[i]);
    for (size_t i = 0; i < zone.m_attackGroups.size(); ++i)
    {
        const SAttackGroup& group = zone.m_attackGroups[i];
        std::printf("  group %zu: %d objects, chance at start %g, delay %d s and up to %d s more, radius %g%s:", i,
                    group.totalCount, static_cast<double>(group.probAtStart), group.spawnDelayS,
                    group.spawnDelayMaxS > 0 ? group.spawnDelayMaxS - 1 : 0,
                    static_cast<double>(group.deployRadius), group.containsMiningBarge ? ", barge" : "");
        PrintEntries("infinite", group.infinite);
        PrintEntries("fixed", group.fixed);
        std::printf("\n");
    }
    for (int32_t n = 0; n < map.GetNodeCount(); ++n)
    {
        const SZoneMapNode& node = map.nodes[static_cast<size_t>(n)];
        std::printf("  node %2d %-8s (%g, %g)", n, KindName(node.kind), static_cast<double>(node.x),
                    static_cast<double>(node.y));
        if (node.kind == ZONE_NODE_TRANSFER && node.extra >= 0)
            std::printf(" to zone %d", node.extra);
        if (index == 0 && n == map.startNode)
            std::printf(" start");
        if (n == map.crewNode)
            std::printf(" crew");
        std::printf(" reach:");
        for (int32_t m = 0; m < map.GetNodeCount(); ++m)
        {
            const int32_t kind = map.GetKind(m);
            if (m != n && m != map.bossNode && m != map.alienNode1 && !IsDangerousNodeKind(kind) &&
                map.GetDistance(n, m) <= ZONE_MOVE_REACH)
                std::printf(" %d", m);
        }
        std::printf("\n");
    }
}

bool WriteBlock(CZoneManager& zones, const std::string& out)
{
    for (int32_t z = 0; z < zones.GetZoneCount(); ++z)
    {
        zones.SetCurrentZone(z);
        zones.InitNodeState();
    }
    zones.SetCurrentZone(0);
    zones.SetCurrentNode(zones.GetZone(0)->m_map.startNode);
    CQelMemoryFile block;
    return zones.SaveState(block, 0) && WriteToolFile(out, block.GetBytes());
}

int Run(const std::vector<std::string>& args)
{
    if (args.size() != 1 && !(args.size() == 3 && args[1] == "--block"))
    {
        std::fprintf(stderr, "usage: tesstool zone FILE [--block OUT]\n");
        return 2;
    }
    const std::string unreadable = DescribeUnreadable(args[0]);
    if (!unreadable.empty())
    {
        std::fprintf(stderr, "tesstool zone: %s: %s\n", args[0].c_str(), unreadable.c_str());
        return 1;
    }
    CDefinitionProblems problems;
    ZoneVector zones;
    const bool read = LoadZoneFile(args[0].c_str(), zones, problems);
    if (!problems.IsEmpty())
        std::fprintf(stderr, "%s", problems.Describe(args[0].c_str()).c_str());
    if (!read)
    {
        std::fprintf(stderr, "tesstool zone: %s: refused\n", args[0].c_str());
        return 1;
    }
    std::printf("%zu zones\n", zones.size());
    for (size_t z = 0; z < zones.size(); ++z)
        PrintZone(static_cast<int32_t>(z), *zones[z]);
    if (args.size() == 1)
        return 0;
    CGame game;
    CZoneManager manager(game);
    manager.SetZones(std::move(zones));
    if (!WriteBlock(manager, args[2]))
    {
        std::fprintf(stderr, "tesstool zone: cannot write %s\n", args[2].c_str());
        return 1;
    }
    return 0;
}

CToolCommand s_zone("zone", "FILE [--block OUT]", &Run);
} // namespace
