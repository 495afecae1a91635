#include "core/app/GameStartup.h"

#include "core/Console.h"
#include "core/app/Application.h"
#include "frontend/FatalError.h"
#include "frontend/GameFlow.h"
#include "frontend/LoadingScreen.h"
#include "frontend/Options.h"
#include "frontend/ScreenTime.h"
#include "platform/MessageBox.h"
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

// A failure the game cannot go on from: the message box, and a failing exit status
// once the game flow has ended the program.
void ShowFatalError(const char* caption, const char* text)
{
    GetAppState().endedByFailure = true;
    ShowMessageBox(caption, text, EMessageIcon::Error);
}
} // namespace

EStepResult StartGame()
{
    RegisterWorldObjectTypes();
    RegisterShipObjectTypes();
    CGame* game = CreateGame();
    if (!game || !game->Init(g_spriteBank))
        return FailStartup("Error during startup - Failed to create the game");
    if (g_console)
    {
        RegisterGameCommands(*g_console);
        RegisterEnemyCommands(*g_console);
    }
    SetFatalErrorHandler(&ShowFatalError);
    // The game flow's options give the controls the player's key map.
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
    SetFatalErrorHandler(nullptr);
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

EStepResult HoldStartupMusic()
{
    if (s_flow)
        s_flow->GetOptions().HoldMusic(GetScreenTime() + COptions::LOGO_HOLD_MS);
    return EStepResult::Continue;
}
