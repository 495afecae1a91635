#pragma once
// What the game and the world need of the zone manager: which level file the
// current zone plays, the per-frame zone update, word of objects that leave the
// world, and the current zone and node as the asteroids see them (world/ZoneNode.h).
// The zone manager installs itself on the game; the base plays level file 1 in a
// zone of its own, at a normal node without a record, and does nothing else.

#include <cstdint>

class CGameObject;
struct SZoneNode;

class CZoneLink
{
public:
    virtual ~CZoneLink() = default;
    virtual int GetLevelFileIndex() const { return 1; }
    virtual void Update(bool /*settingUp*/) {}
    // Called as the object is queued for removal.
    virtual void OnObjectRemoved(CGameObject&) {}
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
};
