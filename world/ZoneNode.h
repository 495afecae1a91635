#pragma once
// The state of one node of a zone map: the node kinds, the flags a zone keeps, and
// the node record with its asteroid map, its parked groups of enemies and its mining
// timer. The zone's node state (world/ZoneNodeState.h) holds one record per node and
// the zone manager answers for the current one through CZoneLink (world/ZoneLink.h).

#include "world/AsteroidMap.h"
#include "world/ParkedGroup.h"

#include <cstdint>

class CWorld;

enum EZoneNodeKind : int32_t
{
    ZONE_NODE_NORMAL = 0,
    ZONE_NODE_TRANSFER = 1,
    ZONE_NODE_DANGER = 2,
    ZONE_NODE_BOSS = 4,
    ZONE_NODE_DANGER_1 = 5,
    ZONE_NODE_DANGER_2 = 6,
    ZONE_NODE_ALIEN_1 = 7,
    ZONE_NODE_ALIEN_2 = 8,
};

// Zone 0's start node.
constexpr int32_t ZONE_START_NODE = 13;

// Kinds 2, 5 and 6: the danger nodes, whose fields are transient and fiercer.
inline bool IsDangerousNodeKind(int32_t kind)
{
    return kind == ZONE_NODE_DANGER || kind == ZONE_NODE_DANGER_1 || kind == ZONE_NODE_DANGER_2;
}

// The flags of a zone's node state, in the order the state keeps them.
enum EZoneFlag : int32_t
{
    ZONE_FLAG_BOSS_BEATEN = 0,
    ZONE_FLAG_NODE_PROCESSING = 1,
    ZONE_FLAG_ROCKS_PRESENT = 2, // some node has medium or large rocks
    ZONE_FLAG_CREW_RELEASED = 3,
    ZONE_FLAG_CREW_SITE_DESTROYED = 4,
    ZONE_FLAG_BOSS_NODE_SHOWN = 5,
    ZONE_FLAG_ALIEN_NODE_1_SHOWN = 6,
    ZONE_FLAG_ALIEN_NODE_2_SHOWN = 7,
    ZONE_FLAG_BROKEN_ALIEN_STATION_HANDLED = 8,
    // The two kinds of special cargo a wreck pod carries, once delivered to the
    // station in this zone.
    ZONE_FLAG_SPECIAL_CARGO_1 = 9,
    ZONE_FLAG_SPECIAL_CARGO_2 = 10,
    ZONE_FLAG_COUNT = 11,
};

struct SZoneNode
{
    int32_t rockValue = 0;     // 1 per medium and 5 per large rock of the map
    int32_t asteroidCount = 0; // present entries
    uint32_t miningTimer = 0;  // zone-clock ms
    SAsteroidMapEntry asteroidMap[ASTEROID_MAP_SIZE];
    SParkedGroup parked[ZONE_NODE_GROUP_SLOTS]; // slots not in use hold no group
    bool rocks = false;        // the map holds a medium or large rock
    bool miningMarker = false; // a mining group works the node
    bool visited = false;

    int32_t CountGroups() const;
    // The first slot without a group, or -1.
    int32_t FindFreeSlot() const;

    // The first entry without the present bit takes the asteroid (kind, size index,
    // place and handle) and the count goes up; false, with nothing entered, when all
    // 200 are present or the kind does not fit the map.
    bool RecordAsteroid(int32_t kind, int32_t sizeIndex, const CVector2D& position, int32_t handle);
    // The entry of the asteroid loses it and its present bit (the asteroid left the
    // world); false when no entry holds the handle.
    bool ForgetAsteroid(int32_t handle);
    // The player leaves the node: each entry with a live asteroid takes its place,
    // or is dropped when the asteroid lies outside the playfield; the handles clear.
    void StoreAsteroids(const CWorld& world, float worldWidth);
    // The rocks flag from the present entries (medium or large).
    void RefreshRocksFlag();
    // 1 per medium and 5 per large present rock.
    int32_t CountRockValue() const;
};
