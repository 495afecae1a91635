#pragma once
// The campaign's front-end screens on the sample data: the front-end harness (the game
// flow with the game's own screens), the first level started for its ship parts and
// designs, the game's HUD and the real campaign installed with a new game's research and the flow in the
// front end with a run going.
//
// Controls are used as a player uses them: Act focuses the control (which a hidden or
// disabled control refuses) and hands it a GUI action, so that list buttons step
// before they report and buttons raise their activation.

#include "frontend/Campaign.h"
#include "frontend/ScreenLayout.h"
#include "tests/support/frontend/FrontEndHarness.h"

#include <memory>

class CRenderer;
class CShipComponentDatabase;

class CCampaignScreenFixture
{
public:
    explicit CCampaignScreenFixture(std::unique_ptr<CRenderer> renderer = nullptr);
    ~CCampaignScreenFixture();
    CCampaignScreenFixture(const CCampaignScreenFixture&) = delete;
    CCampaignScreenFixture& operator=(const CCampaignScreenFixture&) = delete;

    // False (with a test failure) when the level or the campaign could not be set up.
    bool IsReady() const { return m_ready; }

    CFrontEndHarness& GetHarness() { return *m_harness; }
    CGameFlow& GetFlow() { return m_harness->GetFlow(); }
    CCampaign& GetCampaign() { return *m_campaign; }
    SCampaignState& GetState() { return m_campaign->GetState(); }
    CShipComponentDatabase& GetDatabase() { return *m_database; }

    // Makes the screen current and runs frames until its input gate has passed.
    void ShowScreen(int id);
    const CScreenLayout& GetPage(int id);
    // Focuses the control of the screen's page (or open popup) and gives it the action
    // (GUI_ACTION_SELECT activates); false when the control is missing or refuses the focus.
    bool Act(int screen, int controlId, int action = 0);
    bool ActInPopup(int screen, int controlId, int action = 0);
    int GetFocusId() const { return m_harness->GetFocusId(); }
    std::string GetText(int screen, int controlId);
    // The selection of a list button (-1 for none).
    int GetListValue(int screen, int controlId);

    // The stocks set, and every store record freed.
    void SetGems(int32_t normal, int32_t rare, int32_t veryRare);
    void ClearStore();

private:
    bool ActOn(const CScreenLayout& layout, int controlId, int action);

    std::unique_ptr<CFrontEndHarness> m_harness;
    CCampaign* m_campaign = nullptr;
    CShipComponentDatabase* m_database = nullptr;
    bool m_ready = false;
};
