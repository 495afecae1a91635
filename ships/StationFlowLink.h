#pragma once
// What the game flow and the in-game menu need of the station, which is built later
// in this layer: whether it holds the player's ship, its launch, the attention flag
// that lets the menu launch, and its hull. The station installs its own; until then
// a station holds nothing and has the hull its body carries.

#include <cstdint>

class CGameObject;

class CStationFlowLink
{
public:
    virtual ~CStationFlowLink() = default;
    // The player's ship is docked inside.
    virtual bool HoldsPlayerShip(const CGameObject& /*station*/) const { return false; }
    // Leaving the in-game menu: the station starts launching the ship.
    virtual void BeginLaunch(CGameObject& /*station*/) {}
    virtual bool HasAttention(const CGameObject& /*station*/) const { return false; }
    // The tutorial works the docking ports: all of them open, and whether every one is
    // open, or closed (a station without ports is both). The station takes the ship
    // in as docked (launch phase 2) or lets go of it.
    virtual void OpenAllPorts(CGameObject& /*station*/) {}
    virtual bool AreAllPortsOpen(const CGameObject& /*station*/) const { return true; }
    virtual bool AreAllPortsClosed(const CGameObject& /*station*/) const { return true; }
    virtual void SetHoldsPlayerShip(CGameObject& /*station*/, bool /*holds*/) {}
    virtual int32_t GetHull(const CGameObject& station) const;
    virtual int32_t GetFullHull(const CGameObject& station) const;
    virtual void SetHull(CGameObject& station, int32_t hull) const;
    // The station's strike at the object of the handle; false when it cannot go.
    virtual bool LaunchStrike(CGameObject& /*station*/, int32_t /*target*/) { return false; }
};

// The link in use (the base until the station installs another).
CStationFlowLink& GetStationFlowLink();
// Null puts the base back. The caller keeps the link alive while installed.
void SetStationFlowLink(CStationFlowLink* link);
