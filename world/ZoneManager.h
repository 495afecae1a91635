#pragma once
// The zone manager: the zone list of "data\game1.txt", each zone's clock and node
// state, and the rules that give the game its shape. Every flight frame it runs the
// arrival step at the player's node, moves the zone clock on 40 ms and, every 250 ms,
// updates a slice of the zone's nodes (groups drift, mining groups mine); then it
// tries to form a new attack group at the boss node. It sets the world up when a node
// is entered, keeps the node's objects when the player leaves it, and writes and reads
// the zone block of a save. The game owns it and installs it as its zone link.
//
// Objects are held by handle only; the world tells the manager when one goes (also
// when the world is cleared or ended), so no handle outlives its object.

#include "core/Vector2D.h"
#include "world/ZoneDefinition.h"
#include "world/ZoneLink.h"

#include <cstdint>
#include <memory>
#include <vector>

class CFileInterface;
class CGalaxyMap;
class CGame;
class CGameObject;
class CZoneNodeState;
struct SZoneNode;

// A group that moved during the latest node update (the galaxy map draws it).
struct SGroupDeparture
{
    int32_t from = 0;
    int32_t to = 0;
    uint32_t group = 0; // its number
    float mass = 0.0f;  // of its alive entries
    bool mining = false;
};

constexpr int32_t ZONE_DEPARTURE_TABLE = 50;
constexpr uint32_t ZONE_SLICE_MS = 250;
constexpr uint32_t ZONE_JUMP_MS = 60000;
constexpr uint32_t ZONE_ENEMY_EVENT_SPREAD_MS = 60000;

class CZoneManager : public CZoneLink
{
public:
    explicit CZoneManager(CGame& game);
    ~CZoneManager() override;
    CZoneManager(const CZoneManager&) = delete;
    CZoneManager& operator=(const CZoneManager&) = delete;

    // The zone list from the file (a console line when it is refused: no zones then).
    bool Load(const char* path);
    // Zones read elsewhere (tests, checks); they replace the list.
    void SetZones(ZoneVector zones);
    // Every zone's node state freed, spawn state and header reset, clocks back to the
    // start, the current zone and node 0; the campaign is reset too.
    void Reset() override;

    // ---- the current place ------------------------------------------------------
    int32_t GetZoneCount() const override { return static_cast<int32_t>(m_list.zones.size()); }
    CZoneDefinition* GetZone(int32_t zone);
    const CZoneDefinition* GetZone(int32_t zone) const;
    CZoneDefinition* GetCurrentZone() { return GetZone(m_list.currentZone); }
    const CZoneDefinition* GetCurrentZone() const { return GetZone(m_list.currentZone); }
    // The current zone's node state (null until it is made).
    CZoneNodeState* GetNodeState();
    int32_t GetZoneIndex() const override { return m_list.currentZone; }
    int32_t GetCurrentNodeIndex() const { return m_list.currentNode; }
    // Out-of-range zones and nodes are refused.
    void SetCurrentZone(int zone) override;
    bool SetCurrentNode(int32_t node);
    SZoneList& GetList() { return m_list; }

    // ---- the zone link ------------------------------------------------------------
    int GetLevelFileIndex() const override;
    void Update(bool jump) override;
    void OnObjectRemoved(CGameObject& object) override;
    int32_t CountMiningBargesLeft() const override;
    void ReturnWarpedObject(CGameObject& object) override;
    bool IsGroupSettled(const CGameObject& object) override;
    void WarpOutGroup(CGameObject& object) override;
    void StoreNode() override;
    void OnWorldCleared() override;
    void ShowBoss() override;
    void SkipToZone(int zone) override;
    void SetObjectViewing(bool viewing) override { m_objectViewing = viewing; }
    uint32_t GetClock() const override { return GetZoneTime(); }
    int GetNodeKind() const override;
    bool IsAtBossNode() const override;
    SZoneNode* GetCurrentNode() override;
    bool GetZoneFlag(int flag) const override;
    void SetZoneFlag(int flag, bool value) override;

    // ---- the run --------------------------------------------------------------------
    void SetPilotName(const char* name) override;
    const char* GetPilotName() const override { return m_list.pilotName; }
    // The current zone's records and groups as at the start of a run.
    void ResetSpawnState() override;
    // The current zone's node state made afresh (in zone 0 the start node becomes
    // current).
    void InitNodeState() override;
    // The world set up for the current node: its groups, the boss, the alien rewards,
    // the rocks flags and the worm state.
    void EnterNode() override;
    // The objects of every parked group at the current node.
    void PlaceParkedGroups();
    // At the crew node, while its site stands: the crew site's asteroid (not recorded).
    void PlaceCrewNodeAsteroid() override;
    // Once a mining resource is used up and gone, the boss node is shown.
    void CheckFixedResources() override;
    uint32_t GetZoneTime() const;
    void AdvanceZoneClock(uint32_t ms) override;
    // Words of the zone list by their place in it: 6 the current zone, 7 the current
    // node (a quick-action or survival run plays at node 12); others are not kept.
    void SetZoneValue(int index, int32_t value) override;
    // Saving is allowed at the quiet nodes: normal and transfer nodes of a zone in play.
    bool IsSavingAllowed() const override;
    // The two run-time counters of every record of the zone in play.
    int32_t CountResourceObjects() const;
    bool IsBossBeaten() const override;
    bool HasAlienReward() const override;
    SWormPressure* GetWormPressure() override { return &m_worms; }
    // Survival: the wave's zone gives the records and clock from now on (its spawn
    // state made afresh).
    void ActivateSurvivalWave(int wave) override;

    // ---- the pieces of the update (tests call them) -----------------------------------
    void AttackStep(bool jump);
    void SurvivalAttackStep();
    // One object of the record made into the world at the group spawn point (scattered
    // within the deploy radius): hidden, warping in. Null when the record is at its
    // cap, has no definition, or the world is full.
    CGameObject* SpawnResourceObject(SResourceRecord& record, bool scatter);
    // The group spawn point searched in the quadtree with the radius.
    void FindGroupSpawnPoint(float radius, bool manyCandidates);
    void SetGroupSpawnPoint(const CVector2D& point, float radius);
    const CVector2D& GetGroupSpawnPoint() const { return m_spawnPoint; }

    // The refreshed shuffled order of n attack groups: rebuilt as 0, 1, 2, ... when
    // n changed, otherwise one random element swapped with the last.
    const std::vector<int32_t>& RefreshGroupOrder(int32_t count);
    // A new parked group of the attack group, its entries filled and counted (fixed
    // records lose their remaining nums unless kept), numbered by the node state.
    void FillGroup(CZoneDefinition& zone, CZoneNodeState& state, int32_t attackGroup, SParkedGroup& group,
                   bool keepRemaining);
    // A starting group in the empty slot as a zone's nodes are made (outside zone 0 and
    // the tutorial's start): the first group in the shuffled order with room that
    // passes its chance at start.
    bool FormStartingGroup(CZoneDefinition& zone, CZoneNodeState& state, SParkedGroup& slot);
    // Whether every entry of the group finds room (and its fixed records have some left).
    static bool HasRoom(const CZoneDefinition& zone, const SAttackGroup& group);
    // The group mass the galaxy map scales by, and a departure noted (while the table
    // has room).
    void NoteDeparture(int32_t from, int32_t to, const SParkedGroup& group, const CZoneDefinition& zone);
    const SGroupDeparture* GetDepartures() const { return m_departures; }
    int32_t GetDepartureCount() const { return m_departureCount; }
    void ClearDepartures() { m_departureCount = 0; }

    uint32_t GetNextEnemyEvent() const { return m_nextEnemyEvent; }
    void SetPaused(bool paused) { m_paused = paused; }
    uint32_t GetSecondClock() const { return m_secondClock; }
    bool IsObjectViewing() const { return m_objectViewing; }
    CGame& GetGame() { return m_game; }
    // The map through which the player travels between nodes and zones.
    CGalaxyMap& GetGalaxyMap() { return *m_galaxyMap; }


    // ---- saves ----------------------------------------------------------------------
    // The zone block: checksum, names, score, place, each zone's clock, node state,
    // remaining nums and last attack times, then the campaign's block.
    bool SaveState(CFileInterface& file, uint32_t checksum) const;
    // The same read back after a reset; every count and index checked against the
    // zones. False (a console line, nothing changed) for a damaged block; with `apply`
    // false the block is only checked.
    bool LoadState(CFileInterface& file, bool apply = true);
    bool WriteSaveBlock(CFileInterface& file, uint32_t checksum) const override { return SaveState(file, checksum); }
    bool ReadSaveBlock(CFileInterface& file, bool apply) override { return LoadState(file, apply); }
    void SetSlotName(const char* name) override;
    // The checksum the last block read carried (0 for an old block without one).
    uint32_t GetLoadedChecksum() const { return m_loadedChecksum; }

private:
    // The zone whose records and clock a survival run uses (its wave's), and the node
    // state it plays on (zone 0's); the current zone's otherwise.
    CZoneDefinition* GetRecordZone();
    CZoneDefinition* GetPlayZone();
    void RunSlice(CZoneDefinition& zone, bool jump);
    void EnterAlienNode(CZoneDefinition& zone, int32_t node);

    CGame& m_game;
    SZoneList m_list;
    uint32_t m_nextSliceTime = 0;
    int32_t m_sliceCursor = 0;
    int32_t m_sliceBegin = 0;
    int32_t m_sliceEnd = 0;
    uint32_t m_nextEnemyEvent = 0;
    bool m_paused = false;
    uint32_t m_secondClock = 0;
    std::vector<int32_t> m_groupOrder;
    CVector2D m_spawnPoint;
    float m_deployRadius = 0.0f;
    SGroupDeparture m_departures[ZONE_DEPARTURE_TABLE];
    int32_t m_departureCount = 0;
    bool m_objectViewing = false;
    uint32_t m_loadedChecksum = 0;
    SWormPressure m_worms;
    int32_t m_survivalZone = 0;
    std::unique_ptr<CGalaxyMap> m_galaxyMap;
};
