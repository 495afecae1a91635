// The in-game menu over a flight of the sample level: its ships as the level's
// designs give them, their hulls in percent, repairs paid in gems, an empty slot
// that does nothing, and leaving for flight. The score page opens once a run.

#include "frontend/GameFlow.h"
#include "frontend/InGameScreen.h"
#include "frontend/WebPages.h"
#include "tests/support/frontend/FrontEndHarness.h"
#include "world/ZoneLink.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
class InGameScreenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_harness.RunFrame();
        CGameFlow& flow = m_harness.GetFlow();
        ASSERT_TRUE(flow.StartNewGame()); // the sample level and its four designs
        flow.GetDirector().SetProgressStage(STAGE_TUTORIAL);
        flow.SetMode(GAME_MODE_FLIGHT);
        m_harness.RunFrame();
        ASSERT_EQ(flow.GetMode(), GAME_MODE_FLIGHT);
        // The tutorial's Sparrow stands at 36 of 120; the Dart (80) has 20 stored.
        flow.GetCampaign().SetStoredHull(2, 20);
        flow.SetMode(GAME_MODE_IN_GAME_MENU);
        m_harness.WaitForInputGate();
    }
    const CScreenLayout& Page() { return m_harness.GetFlow().GetScreen(SCREEN_IN_GAME)->GetPage(); }
    void Press(int controlId) { m_harness.Activate(SCREEN_IN_GAME, controlId); }

    CFrontEndHarness m_harness;
};

std::vector<std::string> s_opened;
bool RecordOpen(const char* address)
{
    s_opened.push_back(address);
    return true;
}
} // namespace

TEST_F(InGameScreenTest, ShipsShowTheirHullsAndAnEmptySlotDoesNothing)
{
    ASSERT_EQ(m_harness.GetFlow().GetCurrentScreenId(), SCREEN_IN_GAME);
    EXPECT_FALSE(m_harness.GetGame().IsPaused());
    const CScreenLayout& page = Page();
    // 36 of 120 is 30%; 20 of 80 is 25%; the Bulwark has nothing stored.
    EXPECT_EQ(page.GetText(CInGameScreen::FIRST_HULL), u"30%");
    EXPECT_EQ(page.GetText(CInGameScreen::FIRST_HULL + 1), u"25%");
    EXPECT_EQ(page.GetText(CInGameScreen::FIRST_HULL + 2), u"0%");
    EXPECT_EQ(page.GetText(CInGameScreen::FIRST_HULL + 3), u"...");
    EXPECT_EQ(page.GetText(CInGameScreen::FIRST_SHIP + 1), u"Dart");
    EXPECT_FALSE(page.IsEnabled(CInGameScreen::FIRST_SHIP + 3));
    EXPECT_FALSE(page.IsEnabled(CInGameScreen::FIRST_REPAIR + 3));
    // The current ship's button has the focus.
    EXPECT_EQ(m_harness.GetFocusId(), CInGameScreen::FIRST_SHIP);
    Press(CInGameScreen::FIRST_SHIP + 3);
    Press(CInGameScreen::FIRST_REPAIR + 3);
    EXPECT_EQ(m_harness.GetFlow().GetMode(), GAME_MODE_IN_GAME_MENU);
}

TEST_F(InGameScreenTest, ARepairIsPaidInGemsAndNothingWithoutThem)
{
    CCampaignFlowLink& campaign = m_harness.GetFlow().GetCampaign();
    Press(CInGameScreen::FIRST_REPAIR); // no gems: nothing
    EXPECT_EQ(campaign.GetStoredHull(1), 36);
    campaign.SetGemStock(GEM_NORMAL, 5);
    // A tenth of 120 is 12 missing at most, for 1 gem: 36 + 10.
    Press(CInGameScreen::FIRST_REPAIR);
    EXPECT_EQ(campaign.GetStoredHull(1), 46);
    EXPECT_EQ(campaign.GetGemStock(GEM_NORMAL), 4);
    EXPECT_EQ(Page().GetText(CInGameScreen::FIRST_HULL), u"38%");
}

TEST_F(InGameScreenTest, ChoosingAShipFliesIt)
{
    Press(CInGameScreen::FIRST_SHIP + 1);
    EXPECT_EQ(m_harness.GetGame().GetZones().GetCurrentShip(), 2);
    EXPECT_EQ(m_harness.GetFlow().GetMode(), GAME_MODE_FLIGHT);
    EXPECT_FALSE(Page().IsVisible(GetPageId(SCREEN_IN_GAME)));
}

TEST(ScorePage, OpensOnceARunWithTheCodeInCapitals)
{
    s_opened.clear();
    SetWebPageOpener(&RecordOpen);
    ResetScoreSubmission();
    EXPECT_TRUE(SubmitScoreOnline("00ab12cd", "https://scores.invalid/post"));
    EXPECT_FALSE(SubmitScoreOnline("ffff", "https://scores.invalid/post"));
    ASSERT_EQ(s_opened.size(), 1u);
    EXPECT_EQ(s_opened[0], "https://scores.invalid/post?score=00AB12CD&exe=1");
    SetWebPageOpener(nullptr);
    ResetScoreSubmission();
}
