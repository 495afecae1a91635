#include "frontend/AlienNodeChats.h"

#include "world/ZoneDefinition.h"

namespace
{
constexpr int FIRST_CHAT = 30;
constexpr int BROKEN_STATION_CHAT = 63;
} // namespace

int ChooseAlienNodeChat(const SAlienNodeVisit& visit)
{
    if (visit.zone < 0 || visit.zone > ZONE_LAST)
        return -1;
    if (visit.secondNode)
        return visit.zone == 0 && visit.brokenStationHandled ? BROKEN_STATION_CHAT : -1;
    const int first = FIRST_CHAT + 2 * visit.zone;
    if (visit.firstVisit)
        return first;
    return visit.zone != ZONE_LAST && visit.rewarded ? first + 1 : -1;
}
