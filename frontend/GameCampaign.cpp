#include "frontend/GameCampaign.h"

#include "frontend/Campaign.h"
#include "world/Game.h"

#include <new>

namespace
{
CCampaign* s_campaign = nullptr;
} // namespace

bool InstallGameCampaign(CGame& game)
{
    RemoveGameCampaign(game);
    s_campaign = new (std::nothrow) CCampaign();
    if (!s_campaign)
        return false;
    s_campaign->LoadOverlayTexture();
    game.SetCampaign(s_campaign);
    return true;
}

void RemoveGameCampaign(CGame& game)
{
    if (!s_campaign)
        return;
    game.SetCampaign(nullptr);
    delete s_campaign;
    s_campaign = nullptr;
}

CCampaign* GetGameCampaign()
{
    return s_campaign;
}
