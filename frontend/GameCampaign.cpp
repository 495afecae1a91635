#include "frontend/GameCampaign.h"

#include "frontend/Campaign.h"
#include "frontend/CampaignServices.h"
#include "frontend/GameFlow.h"
#include "world/Game.h"

#include <memory>
#include <new>

namespace
{
std::unique_ptr<CCampaign> s_campaign;
std::unique_ptr<CCampaignServices> s_services;

CGameFlow* FindGameFlow(CGame& game)
{
    return dynamic_cast<CGameFlow*>(&game.GetGameFlow());
}
} // namespace

bool InstallGameCampaign(CGame& game)
{
    RemoveGameCampaign(game);
    s_campaign.reset(new (std::nothrow) CCampaign());
    if (!s_campaign)
        return false;
    s_services.reset(new (std::nothrow) CCampaignServices(game, *s_campaign));
    if (!s_services)
    {
        s_campaign.reset();
        return false;
    }
    s_campaign->LoadOverlayTexture();
    game.SetCampaign(s_campaign.get());
    if (CGameFlow* flow = FindGameFlow(game))
        flow->SetCampaign(s_services.get());
    return true;
}

void RemoveGameCampaign(CGame& game)
{
    if (!s_campaign)
        return;
    if (CGameFlow* flow = FindGameFlow(game))
        flow->SetCampaign(nullptr);
    game.SetCampaign(nullptr);
    s_services.reset();
    s_campaign.reset();
}

CCampaign* GetGameCampaign()
{
    return s_campaign.get();
}

CCampaignServices* GetGameCampaignServices()
{
    return s_services.get();
}
