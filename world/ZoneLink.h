#pragma once
// What the game and the world need of the zone manager: which level file the
// current zone plays, the per-frame zone update, word of objects that leave the
// world, and the current zone and node as the asteroids see them (world/ZoneNode.h).
// The zone manager installs itself on the game; the base plays level file 1 in a
// zone of its own, at a normal node without a record, and does nothing else.

#include <cstdint>
#include <cstring>

class CFileInterface;
class CGameObject;
struct SZoneNode;

// The worms' pressure on the player: the zone manager's permission, the time of the
// last step (game ms) and the allowed count (0 to 6), and the game's counts of live
// worms and of worms still to come.
struct SWormPressure
{
    bool permitted = false;
    uint32_t lastStep = 0;
    int32_t allowed = 0;
    int32_t live = 0;
    int32_t pending = 0;
};

class CZoneLink
{
public:
    virtual ~CZoneLink() = default;
    virtual int GetLevelFileIndex() const { return 1; }
    virtual void Update(bool /*settingUp*/) {}
    // Called as the object is queued for removal.
    virtual void OnObjectRemoved(CGameObject&) {}
    // An enemy's warp out has ended: it waits in its group at the node again.
    virtual void ReturnWarpedObject(CGameObject&) {}
    // A mining barge leaving with its group: settled while no live object of the
    // object's group at the current node is warping (false for an object of no group);
    // the warp-out keeps the object's state word in its entry and sends every live
    // object of the group away.
    virtual bool IsGroupSettled(const CGameObject&) { return false; }
    virtual void WarpOutGroup(CGameObject&) {}
    // The player leaves the current node (the station's warp out is over): the node
    // keeps what its live objects have become.
    virtual void StoreNode() {}
    // Every object of the world went at once (a cleared or ended level): no handle of
    // them may be kept.
    virtual void OnWorldCleared() {}
    // The current zone's mining barges still to come or alive in its groups (a barge
    // that dies is counted until it has left the world).
    virtual int32_t CountMiningBargesLeft() const { return 0; }
    // "/showboss": the current zone's boss is revealed.
    virtual void ShowBoss() {}
    // "/skipzone n": zones 0 to n entered and unlocked, all but n finished (n is
    // already clamped to the zones there are).
    virtual void SkipToZone(int /*zone*/) {}
    virtual int GetZoneCount() const { return 1; }
    // "/showobject": the object viewer's flag.
    virtual void SetObjectViewing(bool) {}

    // The zone manager's own clock (ms), the current zone and node.
    virtual uint32_t GetClock() const { return 0; }
    virtual int GetZoneIndex() const { return 0; }
    // Node kinds: 0 normal, 1 transfer, 2, 5 and 6 danger, 4 boss, 7 and 8 alien.
    virtual int GetNodeKind() const { return 0; }
    virtual bool IsAtBossNode() const { return false; }
    // The current node's record with its asteroid map; null when there is none (new
    // asteroids are then recorded nowhere, and no field is placed).
    virtual SZoneNode* GetCurrentNode() { return nullptr; }
    // The current zone's flags (EZoneFlag).
    virtual bool GetZoneFlag(int /*flag*/) const { return false; }
    virtual void SetZoneFlag(int /*flag*/, bool /*value*/) {}

    // ---- the run, as the game flow drives it ------------------------------------
    // The zone state's current ship: the storage slot of the design the player
    // flies (0 the escape pod).
    virtual int GetCurrentShip() const { return m_currentShip; }
    virtual void SetCurrentShip(int slot) { m_currentShip = slot; }
    // The pilot's name kept with the zone state: at most 8 characters.
    virtual void SetPilotName(const char* name)
    {
        std::strncpy(m_pilotName, name ? name : "", sizeof(m_pilotName) - 1);
        m_pilotName[sizeof(m_pilotName) - 1] = '\0';
    }
    virtual const char* GetPilotName() const { return m_pilotName; }
    virtual void SetCurrentZone(int /*zone*/) {}
    // The current zone's spawn state and node records, made afresh.
    virtual void ResetSpawnState() {}
    virtual void InitNodeState() {}
    // Flight begins at the current node: its objects, then the crew node's asteroid
    // by the station.
    virtual void EnterNode() {}
    virtual void PlaceCrewNodeAsteroid() {}
    virtual void CheckFixedResources() {}
    // Every zone's node records and spawn state, and the campaign, as at the start.
    virtual void Reset() {}
    virtual void AdvanceZoneClock(uint32_t /*ms*/) {}
    virtual void SetZoneValue(int /*index*/, int32_t /*value*/) {}
    virtual bool IsSavingAllowed() const { return false; }
    virtual bool IsBossBeaten() const { return false; }
    // The business of the current zone's first alien node is rewarded: in zone 0
    // friendly aliens have been brought in (its alien asks for its kin), in zones 1 to
    // 3 the reward has been paid for in gems.
    virtual bool HasAlienReward() const { return false; }
    // What the pilot record shows: the play time of every zone (their clocks summed),
    // and one more than the last zone whose boss is beaten.
    virtual uint32_t GetTotalPlayTime() const { return GetClock(); }
    virtual int GetReachedZone() const { return 0; }
    // Where the loss of the station does not end the run.
    virtual bool SuspendsStationLossWatch() const { return false; }
    // Null where no worms press.
    virtual SWormPressure* GetWormPressure() { return nullptr; }
    // Survival: the enemies of a wave come.
    virtual void ActivateSurvivalWave(int /*wave*/) {}

    // ---- saves ------------------------------------------------------------------
    // The zone block of a save slot, which carries the ships file's checksum and ends
    // with the campaign's block; false where there are no zones to save.
    virtual bool WriteSaveBlock(CFileInterface&, uint32_t /*checksum*/) const { return false; }
    // The block read whole: with `apply` false only checked, else taken over. False
    // (nothing changed) for a damaged block.
    virtual bool ReadSaveBlock(CFileInterface&, bool /*apply*/) { return false; }
    // The slot name kept with the zone state (at most 8 characters).
    virtual void SetSlotName(const char* /*name*/) {}

private:
    int m_currentShip = 1;
    char m_pilotName[9] = {};
};
