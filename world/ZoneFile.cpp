#include "world/ZoneFile.h"

#include "core/DataFile.h"
#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "core/Utf8Text.h"
#include "core/Vector3.h"
#include "presentation/DefinitionBlocks.h"

#include <cstring>
#include <map>
#include <strings.h>

namespace
{
struct SConfigName
{
    const char* name;
    int32_t config;
};
const SConfigName CONFIG_NAMES[] = {
    {"drone", MOTHERSHIP_DRONE},       {"minelayer", MOTHERSHIP_MINELAYER},
    {"mining", MOTHERSHIP_MINING},     {"starboss", MOTHERSHIP_STARBOSS},
    {"crusher", MOTHERSHIP_CRUSHER},   {"interdictor", MOTHERSHIP_INTERDICTOR},
    {"spiral", MOTHERSHIP_SPIRAL},
};

// The definition files the records name, each read once per zone file.
using DefinitionFiles = std::map<std::string, std::shared_ptr<CDataNodeList>>;

const CDataTree* FindTypeSection(const CDataNodeList& nodes, const char* typeName)
{
    const size_t length = std::strlen(typeName);
    for (const auto& node : nodes)
    {
        if (!node || !node->IsBlock())
            continue;
        const std::string name = Utf16ToUtf8(node->GetName());
        if (length > 0 && name.size() >= length && strncasecmp(name.c_str(), typeName, length) == 0)
            return static_cast<const CDataTree*>(node.get());
    }
    return nullptr;
}

// The record's definition: its file's section of its type, copied (with "mass" and,
// for fixed records, "config" read from it).
void ReadRecordDefinition(const CDataTree& block, SResourceRecord& record, bool fixed, DefinitionFiles& files,
                          CDefinitionProblems& problems)
{
    if (!record.iniFile[0] || record.type == OBJECT_NONE)
        return;
    std::shared_ptr<CDataNodeList>& file = files[record.iniFile];
    if (!file)
    {
        file = std::make_shared<CDataNodeList>();
        if (!LoadDataFileNodes(record.iniFile, *file))
            problems.AddWarning(&block, "cannot read the definition file \"%s\"", record.iniFile);
    }
    const char* typeName = ObjectTypeName(record.type);
    const CDataTree* section = FindTypeSection(*file, typeName);
    if (!section)
    {
        if (!file->empty())
            problems.AddWarning(&block, "\"%s\" has no section %s", record.iniFile, typeName);
        return;
    }
    record.definition.reset(static_cast<CDataTree*>(section->Clone()));
    section->GetFloat("mass", record.mass);
    char config[DATA_VALUE_MAX + 1] = "";
    if (!fixed || !section->GetString("config", config, sizeof(config)))
        return;
    const int32_t number = GetMothershipConfigFromName(config);
    if (number < 0)
    {
        problems.AddWarning(section, "unknown mothership config \"%s\" in \"%s\"", config, record.iniFile);
        return;
    }
    record.config = number;
    record.mining = number == MOTHERSHIP_MINING;
}

bool ReadNonNegative(const CDataTree& block, const char* key, int32_t& out, CDefinitionProblems& problems)
{
    block.GetInt(key, out);
    if (out >= 0)
        return true;
    problems.AddFatal(block.FindChild(key), "\"%s\" is %d (0 or more)", key, static_cast<int>(out));
    return false;
}

bool ReadRecord(const CDataTree& block, SResourceRecord& record, bool fixed, bool withCounts, DefinitionFiles& files,
                CDefinitionProblems& problems)
{
    if (withCounts && (!ReadNonNegative(block, "num", record.num, problems) ||
                       !ReadNonNegative(block, "maxInWorld", record.maxInWorld, problems) ||
                       !ReadNonNegative(block, "maxInGame", record.maxInGame, problems)))
        return false;
    record.numRemaining = record.num;
    if (block.GetStringLength("iniFile") >= RESOURCE_FILE_SIZE)
    {
        problems.AddFatal(block.FindChild("iniFile"), "\"iniFile\" is longer than %d characters",
                          static_cast<int>(RESOURCE_FILE_SIZE - 1));
        return false;
    }
    block.GetString("iniFile", record.iniFile, sizeof(record.iniFile));
    char type[DATA_VALUE_MAX + 1] = "";
    block.GetString("type", type, sizeof(type));
    record.type = ObjectTypeFromName(type);
    if (record.type == OBJECT_NONE)
        problems.AddWarning(&block, "resource without a known type (\"%s\"): it makes nothing", type);
    ReadRecordDefinition(block, record, fixed, files, problems);
    return true;
}

bool ReadRecords(const CDataTree& zone, const char* countKey, const char* prefix, bool fixed,
                 std::vector<SResourceRecord>& records, DefinitionFiles& files, CDefinitionProblems& problems)
{
    int32_t count = 0;
    if (!ReadDefinitionCount(zone, countKey, ZONE_MAX_RESOURCES, count, problems))
        return false;
    records.resize(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i)
    {
        const CDataTree* block = FindNumberedBlock(zone, prefix, i, true, problems);
        if (!block || !ReadRecord(*block, records[static_cast<size_t>(i)], fixed, true, files, problems))
            return false;
    }
    return true;
}

bool ReadGroupEntries(const CDataTree& block, const char* countKey, const char* prefix, int32_t records,
                      std::vector<SGroupEntry>& entries, CDefinitionProblems& problems)
{
    int32_t count = 0;
    if (!ReadDefinitionCount(block, countKey, ATTACK_GROUP_MAX_ENTRIES, count, problems))
        return false;
    entries.resize(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i)
    {
        const CDataTree* entry = FindNumberedBlock(block, prefix, i, true, problems);
        if (!entry)
            return false;
        SGroupEntry& read = entries[static_cast<size_t>(i)];
        entry->GetInt("idx", read.idx);
        if (read.idx < 0 || read.idx >= records)
        {
            problems.AddFatal(entry->FindChild("idx"), "\"idx\" is %d (0 to %d)", static_cast<int>(read.idx),
                              static_cast<int>(records - 1));
            return false;
        }
        if (!ReadNonNegative(*entry, "num", read.num, problems))
            return false;
    }
    return true;
}

bool ReadAttackGroup(const CDataTree& block, const CZoneDefinition& zone, SAttackGroup& group,
                     CDefinitionProblems& problems)
{
    block.GetFloat("probAtStart", group.probAtStart);
    block.GetBool("containsMiningBarge", group.containsMiningBarge);
    block.GetFloat("deployRadius", group.deployRadius);
    if (!ReadNonNegative(block, "spawnDelayS", group.spawnDelayS, problems) ||
        !ReadNonNegative(block, "spawnDelayMaxS", group.spawnDelayMaxS, problems))
        return false;
    if (!ReadGroupEntries(block, "numInfGroups", "inf", static_cast<int32_t>(zone.m_infinite.size()), group.infinite,
                          problems) ||
        !ReadGroupEntries(block, "numFixedGroups", "fixed", static_cast<int32_t>(zone.m_fixed.size()), group.fixed,
                          problems))
        return false;
    int64_t total = 0;
    for (const SGroupEntry& entry : group.infinite)
        total += entry.num;
    for (const SGroupEntry& entry : group.fixed)
        total += entry.num;
    if (total > PARKED_GROUP_SIZE)
    {
        problems.AddFatal(&block, "the group holds %lld objects (at most %d)", static_cast<long long>(total),
                          static_cast<int>(PARKED_GROUP_SIZE));
        return false;
    }
    group.totalCount = static_cast<int32_t>(total);
    group.DrawNextDelay();
    return true;
}

bool AddNode(SZoneMap& map, float x, float y, int32_t kind, int32_t extra)
{
    map.nodes.push_back({x, y, kind, extra});
    return true;
}

// "n0", "n1", ... of a block of nodes: 2 floats (normal) or 3 (x, y and a third value).
bool ReadNodeList(const CDataTree& map, const char* blockName, int32_t count, bool three,
                  std::vector<CVector3>& out, CDefinitionProblems& problems)
{
    out.clear();
    if (count == 0)
        return true;
    const CDataTree* block = map.FindBlock(blockName);
    if (!block)
    {
        problems.AddMissingKey(&map, blockName);
        return false;
    }
    for (int32_t i = 0; i < count; ++i)
    {
        char key[16];
        std::snprintf(key, sizeof(key), "n%d", static_cast<int>(i));
        CVector3 value;
        CVector2D flat;
        const bool found = three ? block->GetVec3(key, value) : block->GetVec2(key, flat);
        if (!found)
        {
            problems.AddMissingKey(block, key);
            return false;
        }
        if (!three)
            value = CVector3(flat.x, flat.y, 0.0f);
        out.push_back(value);
    }
    return true;
}

bool ReadMap(const CDataTree& block, int32_t zoneIndex, int32_t zoneCount, SZoneMap& map,
             CDefinitionProblems& problems)
{
    if (const CDataTree* hyper = block.FindBlock("hyperBackground"))
        map.hyperBackground.reset(static_cast<CDataTree*>(hyper->Clone()));
    if (const CDataTree* normal = block.FindBlock("normalBackground"))
        map.normalBackground.reset(static_cast<CDataTree*>(normal->Clone()));
    block.GetVec2("hyperBgndPos", map.hyperBgndPos);
    block.GetVec2("hyperBgndTitlePos", map.hyperBgndTitlePos);
    block.GetVec2("normalBgndPos", map.normalBgndPos);
    block.GetVec2("normalBgndTitlePos", map.normalBgndTitlePos);

    const int32_t fixedNodes = zoneIndex == 0 ? 4 : 3;
    int32_t normals = 0;
    int32_t transfers = 0;
    int32_t dangers = 0;
    const int32_t room = ZONE_MAX_NODES - fixedNodes;
    if (!ReadDefinitionCount(block, "numNormalNodes", room, normals, problems) ||
        !ReadDefinitionCount(block, "numTransferNodes", room, transfers, problems) ||
        !ReadDefinitionCount(block, "numDangerNodes", room, dangers, problems))
        return false;
    if (fixedNodes + normals + transfers + dangers > ZONE_MAX_NODES)
    {
        problems.AddFatal(&block, "the map has %d nodes (at most %d)",
                          static_cast<int>(fixedNodes + normals + transfers + dangers),
                          static_cast<int>(ZONE_MAX_NODES));
        return false;
    }

    CVector2D boss;
    if (const CDataTree* bossBlock = block.FindBlock("boss"))
        bossBlock->GetVec2("node", boss);
    CVector2D alien1;
    CVector2D alien2;
    block.GetVec2("alienNode1", alien1);
    block.GetVec2("alienNode2", alien2);
    std::vector<CVector3> danger;
    std::vector<CVector3> normal;
    std::vector<CVector3> transfer;
    if (!ReadNodeList(block, "danger", dangers, true, danger, problems) ||
        !ReadNodeList(block, "normal", normals, false, normal, problems) ||
        !ReadNodeList(block, "transfer", transfers, true, transfer, problems))
        return false;

    map.nodes.clear();
    AddNode(map, 0.0f, 0.0f, 1, -1);
    AddNode(map, boss.x, boss.y, 4, 0);
    AddNode(map, alien1.x, alien1.y, 7, 0);
    map.bossNode = ZONE_BOSS_NODE;
    map.alienNode1 = ZONE_ALIEN_NODE_1;
    map.alienNode2 = -1;
    if (zoneIndex == 0)
    {
        AddNode(map, alien2.x, alien2.y, 8, 0);
        map.alienNode2 = ZONE_ALIEN_NODE_2;
    }
    static const int32_t DANGER_KINDS[3] = {2, 5, 6};
    for (const CVector3& node : danger)
    {
        const int32_t variant = static_cast<int32_t>(node.z);
        if (node.z != static_cast<float>(variant) || variant < 0 || variant > 2)
        {
            problems.AddFatal(block.FindBlock("danger"), "a danger node's variant is %g (0, 1 or 2)",
                              static_cast<double>(node.z));
            return false;
        }
        AddNode(map, node.x, node.y, DANGER_KINDS[variant], 0);
    }
    const int32_t firstNormal = map.GetNodeCount();
    for (const CVector3& node : normal)
        AddNode(map, node.x, node.y, 0, 0);
    for (const CVector3& node : transfer)
    {
        const int32_t target = static_cast<int32_t>(node.z);
        if (node.z != static_cast<float>(target) || target < 0 || target >= zoneCount)
        {
            problems.AddFatal(block.FindBlock("transfer"), "a transfer node leads to zone %g (0 to %d)",
                              static_cast<double>(node.z), static_cast<int>(zoneCount - 1));
            return false;
        }
        AddNode(map, node.x, node.y, 1, target);
    }

    int32_t crew = 0;
    const bool hasCrew = block.GetInt("crewNode", crew);
    if (normals == 0 && !hasCrew)
        map.crewNode = -1;
    else if (crew < 0 || crew >= normals)
    {
        problems.AddFatal(block.FindChild("crewNode"), "\"crewNode\" is %d (0 to %d)", static_cast<int>(crew),
                          static_cast<int>(normals - 1));
        return false;
    }
    else
        map.crewNode = firstNormal + crew;

    map.startNode = 13;
    if (zoneIndex == 0)
    {
        if (map.GetNodeCount() <= map.startNode)
        {
            problems.AddFatal(&block, "zone 0 has %d nodes: its start node 13 is missing",
                              static_cast<int>(map.GetNodeCount()));
            return false;
        }
        if (map.GetKind(map.startNode) != 0)
            problems.AddWarning(&block, "zone 0's start node 13 is not a normal node");
    }
    return true;
}

bool ReadZone(const CDataTree& block, int32_t index, int32_t zoneCount, CZoneDefinition& zone,
              DefinitionFiles& files, CDefinitionProblems& problems)
{
    block.GetInt("iniFileIdx", zone.m_iniFileIdx);
    if (!ReadRecords(block, "numFixedResources", "fixedResource", true, zone.m_fixed, files, problems) ||
        !ReadRecords(block, "numInfiniteResources", "infResource", false, zone.m_infinite, files, problems))
        return false;
    if (const CDataTree* boss = block.FindBlock("boss"))
    {
        if (!ReadRecord(*boss, zone.m_boss, false, false, files, problems))
            return false;
    }
    int32_t groups = 0;
    if (!ReadDefinitionCount(block, "numAttckGroups", ZONE_MAX_ATTACK_GROUPS, groups, problems))
        return false;
    zone.m_attackGroups.resize(static_cast<size_t>(groups));
    for (int32_t i = 0; i < groups; ++i)
    {
        const CDataTree* group = FindNumberedBlock(block, "attckGroup", i, true, problems);
        if (!group || !ReadAttackGroup(*group, zone, zone.m_attackGroups[static_cast<size_t>(i)], problems))
            return false;
    }
    const CDataTree* map = block.FindBlock("map");
    if (!map)
    {
        problems.AddMissingKey(&block, "map");
        return false;
    }
    return ReadMap(*map, index, zoneCount, zone.m_map, problems);
}
} // namespace

int32_t GetMothershipConfigFromName(const char* name)
{
    for (const SConfigName& entry : CONFIG_NAMES)
        if (name && strcasecmp(name, entry.name) == 0)
            return entry.config;
    return -1;
}

bool ReadZones(const CDataTree& section, ZoneVector& zones, CDefinitionProblems& problems)
{
    zones.clear();
    int32_t count = 0;
    if (!ReadDefinitionCount(section, "numZones", ZONE_MAX_ZONES, count, problems))
        return false;
    if (count == 0)
    {
        problems.AddFatal(&section, "\"numZones\" is 0: the game needs zone 0");
        return false;
    }
    DefinitionFiles files;
    ZoneVector read;
    for (int32_t i = 0; i < count; ++i)
    {
        const CDataTree* block = FindNumberedBlock(section, "zone", i, true, problems);
        auto zone = std::make_unique<CZoneDefinition>();
        if (!block || !ReadZone(*block, i, count, *zone, files, problems))
            return false;
        read.push_back(std::move(zone));
    }
    zones = std::move(read);
    return true;
}

bool LoadZoneFile(const char* path, ZoneVector& zones, CDefinitionProblems& problems)
{
    zones.clear();
    CDataNodeList nodes;
    if (!LoadDataFileNodes(path, nodes))
    {
        problems.AddAtLine(0, true, "cannot read the file");
        return false;
    }
    for (const auto& node : nodes)
        if (node && node->IsBlock() && node->HasName(u"ZONES"))
            return ReadZones(static_cast<const CDataTree&>(*node), zones, problems);
    problems.AddAtLine(0, true, "no section ZONES");
    return false;
}
