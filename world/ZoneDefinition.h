#pragma once
// The zones of the campaign as "data\game1.txt" gives them: each zone's map of nodes,
// the objects its enemies are made of (resource records, each with its definition),
// its boss, and the attack groups that form at its boss node. The run-time counters
// of the records and groups live here too; the zone's node state (world/ZoneNodeState.h)
// is made when the zone is first played.
//
// Limits (a file that goes beyond one is refused with a message naming the count):
// 5 zones and 75 nodes a zone (the galaxy map's tables), 32 records of each list,
// 10 attack groups with 10 infinite and 10 fixed entries each, and the objects of
// one group within the 20 places of a parked group. Zone 0 holds its start node 13.

#include "core/Vector2D.h"
#include "world/ObjectTypes.h"
#include "world/ParkedGroup.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CDataTree;
class CZoneNodeState;

constexpr int32_t ZONE_MAX_ZONES = 5;
// The last zone, where the campaign ends.
constexpr int32_t ZONE_LAST = ZONE_MAX_ZONES - 1;
constexpr int32_t ZONE_MAX_NODES = 75;
constexpr int32_t ZONE_MAX_RESOURCES = 32;
constexpr int32_t ZONE_MAX_ATTACK_GROUPS = 10;
constexpr int32_t ATTACK_GROUP_MAX_ENTRIES = 10;
constexpr size_t RESOURCE_FILE_SIZE = 48;

// Fixed node places of every zone map.
constexpr int32_t ZONE_TRANSFER_NODE = 0;
constexpr int32_t ZONE_BOSS_NODE = 1;
constexpr int32_t ZONE_ALIEN_NODE_1 = 2;
constexpr int32_t ZONE_ALIEN_NODE_2 = 3; // zone 0 only

// Mothership configurations by their names in definitions.
enum EMothershipConfig : int32_t
{
    MOTHERSHIP_DRONE = 0,
    MOTHERSHIP_MINELAYER = 1,
    MOTHERSHIP_MINING = 2,
    MOTHERSHIP_STARBOSS = 3,
    MOTHERSHIP_RAINBOSS = 4, // the last three only in the bosses' own files
    MOTHERSHIP_TRONBOSS = 5,
    MOTHERSHIP_DISCBOSS = 6,
    MOTHERSHIP_CRUSHER = 7,
    MOTHERSHIP_INTERDICTOR = 8,
    MOTHERSHIP_SPIRAL = 9,
    MOTHERSHIP_CONFIG_COUNT = 10,
};

// The objects of one kind that a zone's groups are made of.
struct SResourceRecord
{
    char iniFile[RESOURCE_FILE_SIZE] = {};
    EObjectType type = OBJECT_NONE;
    std::shared_ptr<CDataTree> definition; // the file's section of the type; null: none
    int32_t maxInGame = 0;   // objects of the record in the world at once
    int32_t maxInWorld = 0;  // alive entries of the record in parked groups
    int32_t spawned = 0;     // run time: objects of the record in the world now
    int32_t inGame = 0;      // run time: alive entries in parked groups
    int32_t num = 0;         // as read
    int32_t numRemaining = 0;
    float mass = 0.0f;
    int32_t config = 0;      // fixed records: the mothership configuration
    bool mining = false;     // a mining mothership (config 2)

    // Back to the start of a run: nothing made, everything to come.
    void ResetCounters();
};

struct SGroupEntry
{
    int32_t idx = 0; // the record in its list
    int32_t num = 0;
};

struct SAttackGroup
{
    float probAtStart = 0.0f;
    float deployRadius = 0.0f;
    int32_t spawnDelayS = 0;
    int32_t spawnDelayMaxS = 0;
    uint32_t nextSpawnDelay = 0; // ms
    int32_t totalCount = 0;      // objects of the group
    uint32_t lastAttackTime = 0; // zone-clock ms it last formed or was refused for room
    bool containsMiningBarge = false;
    std::vector<SGroupEntry> infinite;
    std::vector<SGroupEntry> fixed;

    // (rand() % spawnDelayMaxS + spawnDelayS) x 1000, a maximum below 1 taken as 1.
    void DrawNextDelay();
};

struct SZoneMapNode
{
    float x = 0.0f;
    float y = 0.0f;
    int32_t kind = 0;
    int32_t extra = 0; // a transfer node's zone (-1 none)
};

struct SZoneMap
{
    std::vector<SZoneMapNode> nodes;
    int32_t bossNode = ZONE_BOSS_NODE;
    int32_t crewNode = -1;
    int32_t startNode = 13;
    int32_t alienNode1 = ZONE_ALIEN_NODE_1;
    int32_t alienNode2 = -1;
    CVector2D hyperBgndPos;
    CVector2D hyperBgndTitlePos;
    CVector2D normalBgndPos;
    CVector2D normalBgndTitlePos;
    // The blocks the galaxy map makes its backgrounds from (null when missing).
    std::shared_ptr<CDataTree> hyperBackground;
    std::shared_ptr<CDataTree> normalBackground;

    int32_t GetNodeCount() const { return static_cast<int32_t>(nodes.size()); }
    int32_t GetKind(int32_t node) const;
    float GetDistance(int32_t from, int32_t to) const;
};

class CZoneDefinition
{
public:
    CZoneDefinition();
    ~CZoneDefinition();
    CZoneDefinition(const CZoneDefinition&) = delete;
    CZoneDefinition& operator=(const CZoneDefinition&) = delete;

    // The records' counters and remaining nums, and the groups' times and delays, as
    // at the start of a run.
    void ResetSpawnState();
    // A record of a list (infinite or fixed), or null for an index outside it.
    SResourceRecord* GetRecord(bool infinite, int32_t index);
    const SResourceRecord* GetRecord(bool infinite, int32_t index) const;

    SZoneMap m_map;
    std::unique_ptr<CZoneNodeState> m_nodeState;
    int32_t m_iniFileIdx = 0;
    uint32_t m_clock = 1; // ms of play in the zone
    std::vector<SResourceRecord> m_fixed;
    std::vector<SResourceRecord> m_infinite;
    SResourceRecord m_boss;
    std::vector<SAttackGroup> m_attackGroups;
};

using ZoneVector = std::vector<std::unique_ptr<CZoneDefinition>>;

// The zone list of "data\game1.txt": its zones and, for the run, the pilot and slot
// names and the current zone and node.
struct SZoneList
{
    char pilotName[9] = {};
    char slotName[9] = {};
    int32_t currentZone = 0;
    int32_t currentNode = 0;
    ZoneVector zones;
};
