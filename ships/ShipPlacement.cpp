#include "ships/ShipPlacement.h"

#include "world/Game.h"
#include "world/GameObject.h"

CVector2D ToWorldPoint(const CGameObject& ship, const CVector2D& offset)
{
    CVector2D turned = offset;
    turned.Rotate(ship.GetBody().angle);
    return ship.GetPosition() + turned;
}

CVector2D VelocityPerSecond(const CGameObject& ship)
{
    return ship.GetBody().velocity * static_cast<float>(CMotionBody::TICKS_PER_SECOND);
}

uint32_t GetShipClock()
{
    const CGame* game = GetGame();
    return game ? game->GetTime() : 0;
}
