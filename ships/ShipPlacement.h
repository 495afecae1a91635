#pragma once
// Where a ship's parts and effects go: points in ship space turned by the ship's
// heading, and the velocity effects take (units a second, where bodies move by
// the tick).

#include "core/Vector2D.h"

#include <cstdint>

class CGameObject;

// The ship's position plus the offset turned by the ship's angle.
CVector2D ToWorldPoint(const CGameObject& ship, const CVector2D& offset);
CVector2D VelocityPerSecond(const CGameObject& ship);
// The game clock (0 without a game).
uint32_t GetShipClock();
