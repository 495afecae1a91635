#include "core/app/GameStartup.h"

#include "core/Console.h"
#include "core/app/Application.h"
#include "frontend/GameFlow.h"
#include "frontend/LoadingScreen.h"
#include "presentation/SpriteBank.h"
#include "ships/EnemyCommands.h"
#include "ships/ShipObjectTypes.h"
#include "world/Game.h"
#include "world/GameCommands.h"
#include "world/ObjectFactory.h"

#include <memory>

namespace
{
std::unique_ptr<CGameFlow> s_flow;
} // namespace

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
        RegisterEnemyCommands(*g_console);
    }
    s_flow = std::make_unique<CGameFlow>(*game);
    game->SetGameFlow(s_flow.get());
    s_flow->CreateScreens();
    return EStepResult::Continue;
}

void StopGame(ETeardownReason)
{
    CGame* game = GetGame();
    if (game)
        game->SetGameFlow(nullptr);
    s_flow.reset();
    if (!game)
        return;
    if (game->GetState() == GAME_LEVEL_RUNNING)
        game->EndLevel();
    game->Shutdown();
    DestroyGame();
    ClearObjectTypes();
}

EStepResult ShowStartupLoadingScreen()
{
    ShowLoadingScreen();
    return EStepResult::Continue;
}

void ReleaseStartupLoadingScreen(ETeardownReason)
{
    ReleaseLoadingScreen();
}

EStepResult HideStartupLoadingScreen()
{
    HideLoadingScreen();
    return EStepResult::Continue;
}
