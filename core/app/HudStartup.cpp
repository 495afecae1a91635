#include "core/app/HudStartup.h"

#include "core/app/Application.h"
#include "frontend/GameHud.h"
#include "world/Game.h"

EStepResult StartHud()
{
    CGame* game = GetGame();
    if (!game || !InstallGameHud(*game))
        return FailStartup("Error during startup - Failed to create the HUD");
    return EStepResult::Continue;
}

void StopHud(ETeardownReason)
{
    if (CGame* game = GetGame())
        RemoveGameHud(*game);
}
