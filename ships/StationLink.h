#pragma once
// What the player ship needs of the station, which is built later in this layer:
// raising its alert at a place when the player calls for help. The station installs
// its own; until then the call goes unheard.

#include "core/Vector2D.h"

class CGameObject;

using StationAlertFunction = void (*)(CGameObject& station, const CVector2D& position);
void SetStationAlert(StationAlertFunction alert);
void RaiseStationAlert(CGameObject& station, const CVector2D& position);
