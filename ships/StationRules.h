#pragma once
// The station's arithmetic, apart from the object so that it can be checked alone:
// its health in a new game, what a hit costs it, the emergency repair from the gem
// stocks, the pace of unloading, where an unloaded gem goes and what its surplus mends,
// and how much it wants to keep clear of edges and crowds.

#include <cstdint>

struct SStationHit
{
    int32_t amount = 0;
    bool halve = false;
    int32_t sourceType = 0;
    bool magmaSpecialPart = false; // a magma boss's special part in its striking states
    bool crusher = false;          // a mothership of the crusher configuration
};

// A new game's station: base + trunc(zone x base x 0.5).
int32_t GetNewGameStationHealth(int32_t baseHealth, int32_t zoneIndex);
// What the hit takes: halved (1 + trunc(amount / 2)), or x50 from a magma boss's
// special part, x20 from a mounted part, x2 from a crusher.
int32_t GetStationDamage(const SStationHit& hit);
// While the health is below a fifth of the maximum: the gem value the repair asks of
// the stocks (at least 1); 0 when no repair is due (or the maximum is not above 0).
int32_t GetEmergencyRepairCost(int32_t health, int32_t maximum);
// The ms between unloaded items with n aboard: 2000 / n above 24 items, else 80
// (never below 1).
uint32_t GetUnloadInterval(int32_t items);
// The surplus points a gem of stock 1, 2 or 3 becomes when its stock is full.
int32_t GetGemSurplus(int stock);
// Whether a stock takes another gem (it is not above 99).
bool DoesStockTakeGem(int32_t stock);

// Station icon 2 calls at a zone's first alien node (zone 0 to 4) once the alien's
// first chat has shown, until the node's business is done: the chat of a later visit
// has shown and the reward is had (zone 0: friendly aliens brought in; zones 1 to 3:
// the gems paid). Zone 4 has that first chat only and gives its research on
// arrival: its business is done with the chat.
bool IsAlienNodeCalling(int zone, bool firstChatShown, bool laterChatShown, bool rewardHad);

// Keep-clear: the edge term (1 - distance / 300 within 300 of an edge) and the crowd
// term (1 - 3 / n for more than 3 objects that are not gems).
float GetEdgeTerm(float edgeDistance);
float GetCrowdTerm(int32_t nonGems);
// Docking: 1 within 300 of the ship, falling to 0 at 500.
float GetDockScore(float distance);
