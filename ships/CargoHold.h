#pragma once
// The ship's cargo hold: what the gravity beam brought in, counted by kind, and the
// load against the capacity the ship sets from its hull and cargo pods. The station
// empties it when the ship docks.

#include <cstdint>

class CGameObject;

struct SCargoHold
{
    static constexpr int32_t DEFAULT_CAPACITY = 25;
    static constexpr int32_t MOST_AT_ONCE = 5; // items one collectable may add

    // Takes the asteroid in (nothing once the load has reached the capacity). In
    // survival mode it scores instead; otherwise by its kind: gems (two of the
    // small kinds beyond the first zone when there is room), large gems (as many
    // as there is room for, at most 5), crew, aliens, special cargo, the drive and
    // equipment pods (salvaged when a lost player ship dropped them, else found).
    void Add(const CGameObject& asteroid);
    // The same by the asteroid's kind, its spawner's type and its cargo value.
    void AddItem(int32_t kind, int32_t spawnerType, int32_t cargoValue, int32_t zoneIndex);
    bool IsFull() const { return m_load >= m_capacity; }
    void UpdateLoad();

    int32_t m_normalGems = 0;
    int32_t m_rareGems = 0;
    int32_t m_veryRareGems = 0;
    int32_t m_capacity = DEFAULT_CAPACITY;
    int32_t m_load = 0;
    int32_t m_crew = 0;
    int32_t m_aliens = 0;
    int32_t m_salvagedEquipment = 0;
    int32_t m_foundEquipment = 0;
    bool m_specialCargo[2] = {false, false};
    bool m_drive = false;
    bool m_unloading = false; // the station is emptying the hold
};

// What one collectable of the kind scores in survival mode.
int32_t GetSurvivalValue(int32_t kind);
