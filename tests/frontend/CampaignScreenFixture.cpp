#include "tests/frontend/CampaignScreenFixture.h"

#include "core/FileBytes.h"
#include "frontend/FrontEndScreen.h"
#include "frontend/GameCampaign.h"
#include "frontend/GameHud.h"
#include "platform/Renderer.h"
#include "presentation/GuiControl.h"
#include "presentation/GuiListButton.h"
#include "presentation/GuiManager.h"
#include "ships/ShipLevelData.h"

#include <gtest/gtest.h>

CCampaignScreenFixture::CCampaignScreenFixture(std::unique_ptr<CRenderer> renderer)
    : m_harness(std::make_unique<CFrontEndHarness>(true, nullptr, std::move(renderer)))
{
    InstallGameHud(m_harness->GetGame());
    std::vector<uint8_t> level;
    if (!ReadFileBytes("data/init1.txt", level) ||
        !m_harness->GetWorld().StartLevel(std::string(level.begin(), level.end())))
    {
        ADD_FAILURE() << "the sample level does not start";
        return;
    }
    m_database = GetLevelShipDatabase();
    if (!m_database || !InstallGameCampaign(m_harness->GetGame()))
    {
        ADD_FAILURE() << "no ship parts or no campaign";
        return;
    }
    m_campaign = GetGameCampaign();
    m_campaign->SetNewGameResearch();
    // The first frame brings the main menu; the campaign's screens come from the hub.
    m_harness->RunFrame();
    GetFlow().SetRunActive(true);
    m_ready = true;
}

CCampaignScreenFixture::~CCampaignScreenFixture()
{
    if (m_campaign)
        RemoveGameCampaign(m_harness->GetGame());
    RemoveGameHud(m_harness->GetGame());
}

void CCampaignScreenFixture::ShowScreen(int id)
{
    GetFlow().SetScreen(id);
    m_harness->WaitForInputGate();
}

const CScreenLayout& CCampaignScreenFixture::GetPage(int id)
{
    return GetFlow().GetScreen(id)->GetPage();
}

bool CCampaignScreenFixture::ActOn(const CScreenLayout& layout, int controlId, int action)
{
    const int handle = layout.FindHandle(controlId);
    CGuiControl* control = handle >= 0 ? g_gui->GetControl(handle) : nullptr;
    if (!control || !control->IsVisible() || !control->IsEnabled() || !g_gui->SetFocus(handle))
        return false;
    control->Action(action);
    return true;
}

bool CCampaignScreenFixture::Act(int screen, int controlId, int action)
{
    return ActOn(GetPage(screen), controlId, action);
}

bool CCampaignScreenFixture::ActInPopup(int screen, int controlId, int action)
{
    return ActOn(GetFlow().GetScreen(screen)->GetPopup(), controlId, action);
}

std::string CCampaignScreenFixture::GetText(int screen, int controlId)
{
    const std::u16string text = GetPage(screen).GetText(controlId);
    return std::string(text.begin(), text.end());
}

int CCampaignScreenFixture::GetListValue(int screen, int controlId)
{
    const CGuiListButton* list = GetPage(screen).FindList(controlId);
    return list ? list->GetSelection() : -1;
}

void CCampaignScreenFixture::SetGems(int32_t normal, int32_t rare, int32_t veryRare)
{
    SGemStock& gems = GetState().gems;
    gems.count[GEM_NORMAL] = normal;
    gems.count[GEM_RARE] = rare;
    gems.count[GEM_VERY_RARE] = veryRare;
}

void CCampaignScreenFixture::ClearStore()
{
    for (SStoreRecord& record : GetState().store)
        record = SStoreRecord();
}
