#pragma once
// What the enemies hunt and flee: the player ship and the station, measured by
// surface distance (centre distance less the target's radius and a margin, never
// below 0), and the nearest edge of the playfield. Targets are found afresh every
// time from the game's handles; no enemy keeps a pointer to one.

#include "core/Vector2D.h"

class CGameObject;

struct SEnemyTarget
{
    CGameObject* object = nullptr; // null: none
    CVector2D direction;           // unit vector from the point to its centre
    float distance = 0.0f;         // surface distance
};

// The target measured from the point (direction 0 when the point is its centre).
SEnemyTarget MeasureTarget(CGameObject& object, const CVector2D& point, float margin);

// The nearer of the player ship and the station that exist, the player ship on a tie.
// Touching (distance 0) counts as nearest, so an enemy at its target's surface has it.
SEnemyTarget FindClosestTarget(const CVector2D& point, float margin);

// The fighters' rule: the nearer of the two when both lie beyond touching, the player
// ship on a tie; otherwise (one touches or is missing) the player ship when it exists,
// else the station, else none.
SEnemyTarget FindNearerPlayerTarget(const CVector2D& point, float margin);

// The vector from the point to the nearest edge of the playfield (top, bottom, left,
// right; a tie keeps the earlier) and its length.
struct SWorldEdge
{
    CVector2D vector;
    float length = 0.0f;
};
SWorldEdge FindNearestWorldEdge(const CVector2D& point, float worldWidth);

// The heading of a vector in degrees, 0 to 360 (0 along +x); 0 for a zero vector.
float HeadingOf(const CVector2D& vector);
// The signed turn from one heading to another, -180 to 180.
float TurnBetween(float from, float to);
// An angle put into 0 to 360.
float WrapDegrees(float degrees);
