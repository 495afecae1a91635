#include "ships/StationRules.h"

#include "world/ObjectTypes.h"
#include "world/ZoneDefinition.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float REPAIR_THRESHOLD = 0.2f;
constexpr float REPAIR_SHARE = 0.1f;
constexpr int32_t MANY_ITEMS = 24;
constexpr uint32_t UNLOAD_SPAN_MS = 2000;
constexpr uint32_t UNLOAD_STEP_MS = 80;
constexpr float EDGE_RANGE = 300.0f;
constexpr int32_t CROWD_LIMIT = 3;
constexpr float DOCK_NEAR = 300.0f;
constexpr float DOCK_FAR = 500.0f;
constexpr float DOCK_FALL = 0.005f;

int32_t Clamped(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}
} // namespace

int32_t GetNewGameStationHealth(int32_t baseHealth, int32_t zoneIndex)
{
    const double extra = static_cast<double>(zoneIndex) * baseHealth * 0.5;
    return Clamped(static_cast<int64_t>(baseHealth) + static_cast<int64_t>(std::trunc(extra)));
}

int32_t GetStationDamage(const SStationHit& hit)
{
    if (hit.halve)
        return Clamped(1 + static_cast<int64_t>(std::trunc(hit.amount * 0.5)));
    int64_t factor = 1;
    if (hit.sourceType == OBJECT_MAGMA_BOSS && hit.magmaSpecialPart)
        factor = 50;
    else if (hit.sourceType == OBJECT_MOUNTED_PART)
        factor = 20;
    else if (hit.sourceType == OBJECT_ENEMY_MOTHERSHIP && hit.crusher)
        factor = 2;
    return Clamped(static_cast<int64_t>(hit.amount) * factor);
}

int32_t GetEmergencyRepairCost(int32_t health, int32_t maximum)
{
    if (maximum <= 0 || static_cast<float>(health) / static_cast<float>(maximum) >= REPAIR_THRESHOLD)
        return 0;
    const int32_t floor = static_cast<int32_t>(REPAIR_THRESHOLD * static_cast<float>(maximum));
    const int32_t wanted = static_cast<int32_t>((floor - health) * REPAIR_SHARE);
    return std::max(1, wanted);
}

uint32_t GetUnloadInterval(int32_t items)
{
    if (items > MANY_ITEMS)
        return std::max<uint32_t>(1, UNLOAD_SPAN_MS / static_cast<uint32_t>(items));
    return UNLOAD_STEP_MS;
}

int32_t GetGemSurplus(int stock)
{
    return 2 * std::clamp(stock, 1, 3);
}

bool DoesStockTakeGem(int32_t stock)
{
    return stock <= 99;
}

bool IsAlienNodeCalling(int zone, bool firstChatShown, bool laterChatShown, bool rewardHad)
{
    if (zone < 0 || zone > ZONE_LAST || !firstChatShown)
        return false;
    const bool done = zone == ZONE_LAST || (laterChatShown && rewardHad);
    return !done;
}

float GetEdgeTerm(float edgeDistance)
{
    return edgeDistance < EDGE_RANGE ? 1.0f - edgeDistance / EDGE_RANGE : 0.0f;
}

float GetCrowdTerm(int32_t nonGems)
{
    return nonGems > CROWD_LIMIT ? 1.0f - static_cast<float>(CROWD_LIMIT) / static_cast<float>(nonGems) : 0.0f;
}

float GetDockScore(float distance)
{
    if (distance < DOCK_NEAR)
        return 1.0f;
    if (distance <= DOCK_FAR)
        return 1.0f - (distance - DOCK_NEAR) * DOCK_FALL;
    return 0.0f;
}
