#include "core/app/GameStartup.h"

#include "core/Console.h"
#include "core/app/Application.h"
#include "core/app/FlightDemo.h"
#include "presentation/SpriteBank.h"
#include "ships/ShipObjectTypes.h"
#include "world/Game.h"
#include "world/GameCommands.h"
#include "world/ObjectFactory.h"

EStepResult StartGame()
{
    RegisterWorldObjectTypes();
    RegisterShipObjectTypes();
    CGame* game = CreateGame();
    if (!game || !game->Init(g_spriteBank))
        return FailStartup("Error during startup - Failed to create the game");
    // The key map's keys until the options give the player's own.
    game->GetControls().SetDefaultKeys();
    if (g_console)
    {
        RegisterGameCommands(*g_console);
        RegisterFlightDemoCommand();
    }
    return EStepResult::Continue;
}

void StopGame(ETeardownReason)
{
    CGame* game = GetGame();
    if (!game)
        return;
    StopFlightDemo();
    if (game->GetState() == GAME_LEVEL_RUNNING)
        game->EndLevel();
    game->Shutdown();
    DestroyGame();
    ClearObjectTypes();
}
