#include "frontend/StationPlacement.h"

CVector2D PlaceStationNearQueen(const CVector2D& queen, const CVector2D& spot, float worldWidth)
{
    CVector2D direction = spot - queen;
    const float distance = direction.Length();
    if (distance <= 0.0f)
        direction = CVector2D(1.0f, 0.0f);
    else
        direction.Normalise();
    for (int turn = 0; turn < 8; ++turn)
    {
        CVector2D turned = direction;
        turned.Rotate(45.0f * static_cast<float>(turn));
        const CVector2D point = spot + turned * (QUEEN_STATION_DISTANCE - distance);
        if (point.x >= 0.0f && point.y >= 0.0f && point.x <= worldWidth && point.y <= worldWidth)
            return point;
    }
    return spot;
}
