#pragma once
// What the game's console commands, its ships and its asteroids need of the
// campaign and the pilot record, which sit in a layer above and install themselves
// on the game; the base does nothing.

#include <cstdint>

class CCampaignLink
{
public:
    virtual ~CCampaignLink() = default;
    // The pilot's difficulty (in survival the wave difficulty).
    virtual int GetDifficulty() const { return 0; }
    // A friendly alien station mends the station while its kept health is below the
    // repair limit, and the player ship while its stored hull is below full.
    virtual bool IsStationBelowRepairLimit() const { return false; }
    virtual bool IsShipHullDamaged() const { return false; }

    // "/fitstation n": the station's four fittings at 2n, and their count at 2n + 1.
    virtual void FitStation(int /*n*/) {}

    // The stored state of the ship design in a storage slot: its flight time grows
    // when the ship goes, and it is cleared when the ship is lost.
    virtual void AddShipFlightTime(int /*slot*/, uint32_t /*ms*/) {}
    virtual void ClearShipState(int /*slot*/) {}
    // The pilot record: a design's ship lost, a collectable taken (survival).
    virtual void MarkShipLost(int /*slot*/) {}
    virtual void CountCollected() {}
    // Gems unloaded at the station: ordinary gems join the total (below 100),
    // rarer ones raise the campaign's events.
    virtual int GetGemTotal() const { return 0; }
    virtual void AddGems(int /*count*/) {}
    virtual void RaiseEvent(int /*event*/) {}
    // An enemy destroyed: the pilot's kill counter and the current ship's kills rise
    // by one, the score by the points.
    virtual void AddKill(int32_t /*points*/) {}
};
