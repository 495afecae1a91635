#include "core/app/FlightDemo.h"

#include "core/Console.h"
#include "core/app/PreWorldDisplay.h"
#include "ships/PlayerShip.h"
#include "world/AsteroidField.h"
#include "world/Game.h"
#include "world/GameFlowLink.h"
#include "world/World.h"
#include "world/ZoneLink.h"
#include "world/ZoneNode.h"

namespace
{
constexpr int32_t STARTER_DESIGN = 1;
const CVector2D START(2000.0f, 2000.0f);

// While the flight runs the game is in flight mode; the game flow that will choose
// modes is not there yet.
class CFlightMode : public CGameFlowLink
{
public:
    EGameMode GetMode() const override { return GAME_MODE_FLIGHT; }
};

// The flight plays one normal node of the first level's zone, with an asteroid field
// of its own; the zones that will keep nodes are not there yet.
class CFlightZone : public CZoneLink
{
public:
    int GetZoneIndex() const override { return 1; }
    SZoneNode* GetCurrentNode() override { return &m_node; }
    void OnObjectRemoved(CGameObject& object) override
    {
        if (object.GetType() == OBJECT_ASTEROID && !object.GetInfo().notCountedAsEnemy)
            m_node.ForgetAsteroid(object.GetHandle());
    }
    SZoneNode m_node;
};

CFlightMode s_flightMode;
CFlightZone s_flightZone;
bool s_flying = false;

void StartFlight(CGame& game)
{
    game.SetZones(&s_flightZone);
    if (!game.StartLevel())
    {
        game.SetZones(nullptr);
        return;
    }
    int32_t handle = NO_OBJECT;
    CPlayerShip* ship = nullptr;
    if (game.GetWorld()->CreateObject(OBJECT_PLAYER_SHIP, handle))
        ship = dynamic_cast<CPlayerShip*>(game.GetWorld()->GetObject(handle));
    if (!ship || !ship->ApplyConfig(STARTER_DESIGN))
    {
        if (g_console)
            g_console->Printf("The level has no starter ship to fly");
        game.EndLevel();
        game.SetZones(nullptr);
        return;
    }
    ship->SetPosition(START);
    ship->GetBody().previousPosition = START;
    ship->PlaceShape();
    ship->SetFrozen(false);
    game.SetPlayerShipHandle(handle);
    game.SetGameFlow(&s_flightMode);
    game.GetCamera().CenterOn(handle, *game.GetWorld());
    game.GetCamera().Follow(handle, false);
    // The node's field, placed clear of the ship.
    s_flightZone.m_node = SZoneNode();
    s_flightZone.m_node.asteroidCount = GenerateAsteroidMap(s_flightZone.m_node.asteroidMap, 1, ZONE_NODE_NORMAL, 5, false);
    PlaceSectorAsteroids();
    SetPreWorldDisplayVisible(false);
    s_flying = true;
}

void FlightCommand(void*, const char*)
{
    CGame* game = GetGame();
    if (!game)
        return;
    if (s_flying)
        StopFlightDemo();
    else
        StartFlight(*game);
}
} // namespace

void RegisterFlightDemoCommand()
{
    if (g_console)
        g_console->RegisterFunction("/flight", &FlightCommand, nullptr);
}

void StopFlightDemo()
{
    if (!s_flying)
        return;
    s_flying = false;
    SetPreWorldDisplayVisible(true);
    CGame* game = GetGame();
    if (!game)
        return;
    game->SetGameFlow(nullptr);
    game->EndLevel();
    game->SetZones(nullptr);
}
