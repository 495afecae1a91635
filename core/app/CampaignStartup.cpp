#include "core/app/CampaignStartup.h"

#include "core/app/Application.h"
#include "frontend/GameCampaign.h"
#include "world/Game.h"

EStepResult StartCampaign()
{
    CGame* game = GetGame();
    if (!game || !InstallGameCampaign(*game))
        return FailStartup("Error during startup - Failed to create the campaign");
    return EStepResult::Continue;
}

void StopCampaign(ETeardownReason)
{
    if (CGame* game = GetGame())
        RemoveGameCampaign(*game);
}
