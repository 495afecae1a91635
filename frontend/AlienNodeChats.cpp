#include "frontend/AlienNodeChats.h"

namespace
{
constexpr int FIRST_CHAT = 30;
constexpr int BROKEN_STATION_CHAT = 63;
constexpr int LAST_ZONE = 4;
} // namespace

int ChooseAlienNodeChat(const SAlienNodeVisit& visit)
{
    if (visit.zone < 0 || visit.zone > LAST_ZONE)
        return -1;
    if (visit.secondNode)
        return visit.zone == 0 && visit.brokenStationHandled ? BROKEN_STATION_CHAT : -1;
    const int first = FIRST_CHAT + 2 * visit.zone;
    if (visit.firstVisit)
        return first;
    return visit.zone != LAST_ZONE && visit.rewarded ? first + 1 : -1;
}
