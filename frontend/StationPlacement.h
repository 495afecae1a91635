#pragma once
// Where the station comes in beside the last zone's queen: from a free spot the spawn
// search found at distance d from her, the spot moved along the direction from her by
// 1000 - d (back by d - 1000 beyond 1000), that direction turned by 0, 45, ... 315
// degrees until the point lies inside the world. When none of the eight does, the
// free spot itself.

#include "core/Vector2D.h"

constexpr float QUEEN_STATION_DISTANCE = 1000.0f;

CVector2D PlaceStationNearQueen(const CVector2D& queen, const CVector2D& spot, float worldWidth);
