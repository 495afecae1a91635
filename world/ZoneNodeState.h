#pragma once
// The state of one zone's nodes: per node its asteroid map, rock value, mining timer
// and parked groups of enemies, and the zone's counters and flags. Made when the zone
// is first played (Init), kept while the player travels, saved with the game and
// freed by a reset.
//
// Groups form at the boss node (the zone manager's attack step) and drift from node
// to node, at most 50 map units a move and toward the player's node whenever it is
// in reach (UpdateNode); at the player's node their objects are made, one a frame
// (StepArrivals). Mining groups stop at nodes with rocks and take one medium or large
// rock every 180 s of zone time while the player is elsewhere.

#include "world/ZoneNode.h"

#include <cstdint>
#include <vector>

class CGameObject;
class CWorld;
class CZoneDefinition;
class CZoneManager;
struct SResourceRecord;

constexpr uint32_t ZONE_MINING_INTERVAL_MS = 180000;
constexpr float ZONE_MOVE_REACH = 50.0f;
constexpr uint32_t ZONE_MOVE_WAIT_MS = 30000;
constexpr int32_t ZONE_MOVE_WAIT_SPREAD_MS = 60000;

class CZoneNodeState
{
public:
    // The records of every node of the zone: normal and transfer nodes get an asteroid
    // map from the running level (a restrained one one time in four, never in zone 0
    // and never at the crew node), dangerous nodes a full one; every node but node 0
    // and the dangerous ones tries a starting group in each of its slots.
    void Init(int32_t zoneIndex, CZoneDefinition& zone, CZoneManager& manager);
    // The header as a new zone has it; no node records.
    void ResetHeader(int32_t zoneIndex);

    int32_t GetNodeCount() const { return static_cast<int32_t>(m_nodes.size()); }
    SZoneNode* GetNode(int32_t node);
    const SZoneNode* GetNode(int32_t node) const;

    // The per-frame arrival step at the player's node: the first alive entry without
    // an object gets one (one object a frame); nothing at the boss node. A mining group
    // whose barge is damaged is passed over, except in survival.
    void StepArrivals(CZoneManager& manager, CZoneDefinition& records, int32_t currentNode, int32_t bossNode,
                      bool survival);
    // The node's mining timer and marker, and its groups' mining and moves.
    void UpdateNode(CZoneManager& manager, CZoneDefinition& zone, int32_t node, bool jump, bool playerZone);

    // The player leaves the node: spawn points cleared, live objects turned into state
    // words (and asteroids into places), every handle dropped.
    void StoreNode(int32_t node, CWorld& world, float worldWidth);
    // The world went (a cleared or ended level): every handle is dropped, nothing stored.
    void DropLiveObjects();

    // An object leaves the world: an asteroid leaves the node's map, a group's object
    // its entry (the record's counts fall; an emptied group goes, else its entries
    // are packed). Objects that warped out are not counted.
    void HandleRemoval(const CGameObject& object, int32_t node, CZoneDefinition& records, bool survival);

    // The group warp-out of the mining mothership: settled when no live object of
    // its group is warping; the warp-out keeps the leaving object's state word in its
    // entry and sends every live object of the group away; one that has gone waits in
    // its entry again (its state word kept).
    bool IsGroupSettled(const CWorld& world, int32_t node, int32_t handle) const;
    void WarpOutGroup(CWorld& world, int32_t node, int32_t handle);
    bool ReturnWarpedObject(CGameObject& object, int32_t node, CZoneDefinition& records);

    // The masses of the alive entries of the node's groups.
    float ParkedMass(int32_t node, const CZoneDefinition& zone) const;

    int32_t m_zoneIndex = 0;
    int32_t m_visitCounter = 0;
    bool m_rewardFlag = false;
    uint32_t m_groupCounter = 0;
    int32_t m_levelValue = 1; // min(zone index + 1, 3)
    std::vector<SZoneNode> m_nodes;
    bool m_flags[ZONE_FLAG_COUNT] = {};

private:
    // The group holding the object's handle at the node: its slot and entry.
    bool FindGroupOf(int32_t node, int32_t handle, int32_t& slot, int32_t& entry) const;
    void MineNode(SZoneNode& record);
    void MoveGroup(CZoneManager& manager, CZoneDefinition& zone, int32_t node, int32_t slot, bool mining,
                   bool damaged, int32_t currentNode);
};
