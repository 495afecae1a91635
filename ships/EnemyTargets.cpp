#include "ships/EnemyTargets.h"

#include "world/Game.h"
#include "world/GameObject.h"
#include "world/World.h"

#include <cmath>

namespace
{
struct SCandidates
{
    SEnemyTarget ship;
    SEnemyTarget station;
};

SCandidates MeasureCandidates(const CVector2D& point, float margin)
{
    SCandidates found;
    CGame* game = GetGame();
    CWorld* world = game ? game->GetWorld() : nullptr;
    if (!world)
        return found;
    if (CGameObject* ship = world->GetObject(game->GetPlayerShipHandle()))
        found.ship = MeasureTarget(*ship, point, margin);
    if (CGameObject* station = world->GetObject(game->GetStationHandle()))
        found.station = MeasureTarget(*station, point, margin);
    return found;
}
} // namespace

SEnemyTarget MeasureTarget(CGameObject& object, const CVector2D& point, float margin)
{
    SEnemyTarget target;
    target.object = &object;
    CVector2D between = object.GetPosition() - point;
    const float centre = std::sqrt(between.x * between.x + between.y * between.y);
    if (centre > 0.0f)
        target.direction = between * (1.0f / centre);
    target.distance = centre - *object.GetRadius() - margin;
    if (!(target.distance > 0.0f))
        target.distance = 0.0f;
    return target;
}

SEnemyTarget FindClosestTarget(const CVector2D& point, float margin)
{
    SCandidates found = MeasureCandidates(point, margin);
    if (!found.ship.object)
        return found.station;
    if (found.station.object && found.station.distance < found.ship.distance)
        return found.station;
    return found.ship;
}

SEnemyTarget FindNearerPlayerTarget(const CVector2D& point, float margin)
{
    SCandidates found = MeasureCandidates(point, margin);
    if (found.ship.object && found.station.object && found.ship.distance > 0.0f && found.station.distance > 0.0f)
        return found.station.distance < found.ship.distance ? found.station : found.ship;
    return found.ship.object ? found.ship : found.station;
}

SWorldEdge FindNearestWorldEdge(const CVector2D& point, float worldWidth)
{
    const CVector2D edges[4] = {
        CVector2D(0.0f, -point.y),             // top
        CVector2D(0.0f, worldWidth - point.y), // bottom
        CVector2D(-point.x, 0.0f),             // left
        CVector2D(worldWidth - point.x, 0.0f), // right
    };
    SWorldEdge nearest;
    for (int i = 0; i < 4; ++i)
    {
        const float length = std::fabs(edges[i].x) + std::fabs(edges[i].y);
        if (i == 0 || length < nearest.length)
        {
            nearest.vector = edges[i];
            nearest.length = length;
        }
    }
    return nearest;
}

float HeadingOf(const CVector2D& vector)
{
    if (vector.x == 0.0f && vector.y == 0.0f)
        return 0.0f;
    return WrapDegrees(std::atan2(vector.y, vector.x) * (180.0f / 3.14159265f));
}

float TurnBetween(float from, float to)
{
    float turn = std::fmod(to - from, 360.0f);
    if (turn > 180.0f)
        turn -= 360.0f;
    else if (turn <= -180.0f)
        turn += 360.0f;
    return turn;
}

float WrapDegrees(float degrees)
{
    if (!std::isfinite(degrees))
        return 0.0f;
    float wrapped = std::fmod(degrees, 360.0f);
    if (wrapped < 0.0f)
        wrapped += 360.0f;
    return wrapped >= 360.0f ? 0.0f : wrapped;
}
