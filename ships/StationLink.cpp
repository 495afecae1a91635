#include "ships/StationLink.h"

namespace
{
StationAlertFunction s_alert = nullptr;
}

void SetStationAlert(StationAlertFunction alert)
{
    s_alert = alert;
}

void RaiseStationAlert(CGameObject& station, const CVector2D& position)
{
    if (s_alert)
        s_alert(station, position);
}
