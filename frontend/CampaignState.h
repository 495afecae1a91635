#pragma once
// The values of one game's progress beyond the zone maps, as the campaign holds them
// and its save block stores them: gem stocks, crew, ships, the station's record, the
// store of components, the research of every component kind, the research and
// manufacturing slots and the pilot record. Plain values, so that a save is read into a
// copy and taken over whole only when all of it is good.

#include "frontend/GemStock.h"
#include "frontend/PilotRecord.h"
#include "ships/ComponentKind.h"

#include <cstdint>

constexpr int CAMPAIGN_SHIP_SLOTS = 8;
constexpr int CAMPAIGN_SHIPS_STORED = 5;   // ship states 0 to 4 are part of a save
constexpr int CAMPAIGN_MOUNTS = 5;         // mount 0 is the centre mount
constexpr int CAMPAIGN_STORE_SIZE = 75;
constexpr int CAMPAIGN_COST_STAGES = 6;
constexpr int CAMPAIGN_HISTORY_SIZE = 250;
constexpr int32_t CAMPAIGN_NEW_GAME_CREW = 5;
// Definition indices are places in a kind's table of definitions.
constexpr int32_t CAMPAIGN_DEFS_PER_KIND = 10;

// Normal, rare and very rare gem units.
struct SCostVector
{
    float gems[GEM_KIND_COUNT] = {0.0f, 0.0f, 0.0f};

    float Sum() const { return gems[GEM_NORMAL] + gems[GEM_RARE] + gems[GEM_VERY_RARE]; }
    // What the gems are worth: a very rare gem pays 3, a rare one 2, a normal one 1.
    float Weigh() const { return 3.0f * gems[GEM_VERY_RARE] + 2.0f * gems[GEM_RARE] + gems[GEM_NORMAL]; }
};

struct SShipState
{
    int32_t kills = 0;
    uint32_t flightTime = 0;   // zone-clock ms
    int32_t storedHealth = 0;  // the hull's health between flights
    float energy = 0.0f;       // between flights; not part of a save
};

struct SMountRecord
{
    uint32_t definition = 0;
    bool fitted = false;
    bool weapon = true;  // a station weapon (kind 11); else a station vacuum (kind 18)
};

struct SStoreRecord
{
    int32_t kind = 0;
    int32_t definition = 0;
    int32_t count = 0;
    bool used = false;
};

struct SResearchRecord
{
    int32_t stage = 0;      // definitions of the kind unlocked so far; -1 not researched
    int32_t limit = 0;
    SCostVector cost[CAMPAIGN_COST_STAGES];  // from stage s to s + 1 costs cost[s]
    bool enabled = false;
};

struct SHistoryEntry
{
    uint32_t time = 0;  // zone clock
    SCostVector paid;
};

// The research slot (kind) or the manufacturing slot (kind, definition, units).
struct SWorkSlot
{
    int32_t historyCount = 0;
    SHistoryEntry history[CAMPAIGN_HISTORY_SIZE];
    SCostVector remaining;
    int32_t rate = 0;        // the crew assigned
    int32_t kind = 0;
    int32_t definition = 0;
    int32_t units = 0;
    uint32_t startTime = 0;  // zone clock; 0 while idle
    bool stalled = false;    // paused by the player

    bool IsActive() const { return startTime != 0; }
};

struct SCampaignState
{
    SGemStock gems;
    int32_t crew = 0;
    int32_t friendlyAliens = 0;
    int32_t currentShip = 0;
    SShipState ships[CAMPAIGN_SHIP_SLOTS];
    int32_t stationLimit = -1;
    int32_t stationLevel = -1;
    SMountRecord mounts[CAMPAIGN_MOUNTS];
    SStoreRecord store[CAMPAIGN_STORE_SIZE];
    SResearchRecord research[COMPONENT_KIND_COUNT];
    SWorkSlot researchSlot;
    SWorkSlot manufactureSlot;
    SPilotRecord pilot;
};
