#include "ships/StationFlowLink.h"

#include "world/GameObject.h"

namespace
{
CStationFlowLink s_base;
CStationFlowLink* s_link = nullptr;
} // namespace

int32_t CStationFlowLink::GetHull(const CGameObject& station) const
{
    return station.GetBody().health;
}

int32_t CStationFlowLink::GetFullHull(const CGameObject& station) const
{
    return station.GetBody().health;
}

void CStationFlowLink::SetHull(CGameObject& station, int32_t hull) const
{
    station.GetBody().health = hull;
}

CStationFlowLink& GetStationFlowLink()
{
    return s_link ? *s_link : s_base;
}

void SetStationFlowLink(CStationFlowLink* link)
{
    s_link = link;
}
