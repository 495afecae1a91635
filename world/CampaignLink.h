#pragma once
// What the game's console commands, its ships and its asteroids need of the
// campaign and the pilot record, which sit in a layer above and install themselves
// on the game; the base does nothing.

#include <cstdint>

class CFileInterface;

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

    // What the zones need: the campaign back to its start with theirs, its research
    // moved on to a zone's clock, the score, the gem stocks (1 ordinary, 2 rare, 3
    // very rare) that the alien nodes' rewards cost, the research they enable, and
    // the count of friendly aliens met.
    virtual void Reset() {}
    virtual void AdvanceResearch(uint32_t /*zoneClock*/) {}
    // The player moved into a zone whose clock differs: the running slots go on from
    // the new clock.
    virtual void MoveSlotsToZoneClock(uint32_t /*fromClock*/, uint32_t /*toClock*/) {}
    virtual uint32_t GetScore() const { return 0; }
    virtual int GetGemStock(int /*stock*/) const { return 0; }
    virtual void SpendGemStock(int /*stock*/, int /*amount*/) {}
    virtual void EnableResearch(int /*componentKind*/) {}
    virtual int GetFriendlyAlienCount() const { return 0; }
    // The station's record, kept across nodes and saves: its maximum and current health
    // (both -1 until the first station of a game), its five mounts (fitted, a weapon or
    // else a vacuum, the definition index; false for an index beyond them), the gem
    // stocks it fills (each kept within 0 to 100) and the ships' stored health it mends.
    virtual int32_t GetStationMaxHealth() const { return -1; }
    virtual int32_t GetStationHealth() const { return -1; }
    virtual void SetStationHealth(int32_t /*maximum*/, int32_t /*current*/) {}
    virtual bool GetStationMount(int /*index*/, bool& /*fitted*/, bool& /*weapon*/, uint32_t& /*definition*/) const
    {
        return false;
    }
    virtual void SetStationMountFitted(int /*index*/, bool /*fitted*/) {}
    virtual void AddGemStock(int /*stock*/, int /*amount*/) {}
    // Pays up to the amount from the stocks, largest first (a rare gem is worth 2, a
    // very rare one 3); gives what was paid.
    virtual int32_t SpendGems(int32_t /*amount*/) { return 0; }
    virtual int32_t GetStoredShipHealth(int /*slot*/) const { return 0; }
    virtual void SetStoredShipHealth(int /*slot*/, int32_t /*health*/) {}
    virtual int32_t GetShipFullHealth(int /*slot*/) const { return 0; }
    // Crew and friendly aliens the player ship brought in.
    virtual void AddCrew(int /*count*/) {}
    virtual void AddFriendlyAliens(int /*count*/) {}
    // The pilot record's ship table, ranked by kills.
    virtual void RefreshShipTable() {}
    // The campaign's block of a save, which ends the zone block. The reader takes the
    // block whole or changes nothing (false); with `apply` false it only checks it.
    virtual bool WriteBlock(CFileInterface&) const { return true; }
    virtual bool ReadBlock(CFileInterface&, bool /*apply*/) { return true; }
};
