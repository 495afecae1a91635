// The front end on the real campaign: the hall of fame screen, the dead screen's
// results and the campaign services the game flow reaches them through.

#include "frontend/Campaign.h"
#include "frontend/CampaignServices.h"
#include "frontend/DeadScreen.h"
#include "frontend/GameFlow.h"
#include "frontend/HallOfFameScreen.h"
#include "frontend/ScoreCode.h"
#include "tests/support/TempDir.h"
#include "tests/support/frontend/FrontEndHarness.h"
#include "world/Game.h"

#include "tests/frontend/PilotFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
std::u16string U(const char* text)
{
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

class CampaignScreensTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = m_dir.GetPath() + "/";
        m_services = std::make_unique<CCampaignServices>(m_harness.GetGame(), m_campaign, m_folder.c_str());
        m_harness.GetFlow().SetCampaign(m_services.get());
        m_harness.RunFrame();
    }
    void TearDown() override { m_harness.GetFlow().SetCampaign(nullptr); }

    const CScreenLayout& Page(int screen) { return m_harness.GetFlow().GetScreen(screen)->GetPage(); }
    // The main menu clears the run's kind as it goes: the tests' runs start after it.
    void LeaveMainMenu() { m_harness.GetFlow().SetScreen(SCREEN_HUB); }
    void ShowScreen(int screen)
    {
        m_harness.GetFlow().SetScreen(screen);
        m_harness.WaitForInputGate();
    }

    CTempDir m_dir;
    std::string m_folder;
    CCampaign m_campaign;
    CFrontEndHarness m_harness;
    std::unique_ptr<CCampaignServices> m_services;
};
} // namespace

TEST_F(CampaignScreensTest, HallOfFameListsItsPilotsAndTheBestTime)
{
    CHallOfFame& hall = m_services->GetHallOfFame();
    hall.Insert(MakePilot("ACE", 1200));
    hall.Insert(MakePilot("NOVA", 800));
    ShowScreen(SCREEN_HALL_OF_FAME);
    const CScreenLayout& page = Page(SCREEN_HALL_OF_FAME);
    EXPECT_EQ(page.GetText(16003), u"ACE");
    EXPECT_EQ(page.GetText(16004), u"1200");
    EXPECT_EQ(page.GetText(16006), u"NOVA");
    EXPECT_EQ(page.GetText(16009), u"...");
    EXPECT_EQ(page.GetText(16010), u"...");
    EXPECT_EQ(page.GetText(16025), u"...");
    EXPECT_EQ(page.GetText(CHallOfFameScreen::BEST_TIME), CHallOfFameScreen::FormatBestTime(90000));
    EXPECT_EQ(m_harness.GetFocusId(), 16002);

    // An entry opens the gravity-drive screen on that pilot's record.
    m_harness.Activate(SCREEN_HALL_OF_FAME, 16005);
    EXPECT_EQ(m_harness.GetFlow().GetCurrentScreenId(), SCREEN_GRAV_DRIVE);
    EXPECT_EQ(m_services->GetShownEntry(), 1);
    EXPECT_EQ(m_services->GetShownPage(), 0);

    ShowScreen(SCREEN_HALL_OF_FAME);
    m_harness.Activate(SCREEN_HALL_OF_FAME, CHallOfFameScreen::BACK);
    EXPECT_EQ(m_harness.GetFlow().GetCurrentScreenId(), SCREEN_MAIN_MENU);
}

TEST(HallOfFameScreen, BestTimeShowsMinutesFromOneMinuteOn)
{
    // The sample string table's formats: "Best time %i:%02i" and "Best time %i seconds".
    CFrontEndHarness harness(false);
    EXPECT_EQ(CHallOfFameScreen::FormatBestTime(59999), U("Best time 59 seconds"));
    EXPECT_EQ(CHallOfFameScreen::FormatBestTime(60000), U("Best time 1:00"));
    EXPECT_EQ(CHallOfFameScreen::FormatBestTime(3725000), U("Best time 62:05"));
}

TEST_F(CampaignScreensTest, DeadScreenShowsTheQuickActionTimes)
{
    LeaveMainMenu();
    m_harness.GetGame().GetRun().quickShip = true;
    m_harness.GetFlow().SetRunTime(125400);
    m_services->RecordQuickActionTime(125400);  // beats 90000: the new best
    ShowScreen(SCREEN_DEAD);
    const CScreenLayout& page = Page(SCREEN_DEAD);
    EXPECT_EQ(page.GetText(CDeadScreen::RESULT_A), u"02:05");
    EXPECT_EQ(page.GetText(CDeadScreen::RESULT_B), u"02:05");
    m_harness.GetFlow().SetRunTime(4000000);  // an hour and more shows as 59:59
    ShowScreen(SCREEN_DEAD);
    EXPECT_EQ(page.GetText(CDeadScreen::RESULT_A), u"59:59");
    m_harness.GetGame().GetRun().quickShip = false;
}

TEST_F(CampaignScreensTest, DeadScreenShowsTheSurvivalScoreWithItsCode)
{
    LeaveMainMenu();
    CGame& game = m_harness.GetGame();
    game.GetZones().SetPilotName("ACE");
    SRunState& run = game.GetRun();
    run.survival = true;
    run.timedRun = true;
    m_services->SetScore(1234);
    m_harness.GetFlow().SetRunTime(3723000);
    m_services->RecordSurvivalScore(1, 1234);
    ShowScreen(SCREEN_DEAD);
    const CScreenLayout& page = Page(SCREEN_DEAD);
    const std::string code = FormatScoreCode(MakeScoreCode(1234, SCORE_CODE_SURVIVAL_TIMED, "ACE"));
    EXPECT_EQ(page.GetText(CDeadScreen::RESULT_A), U(("1234 - (" + code + ")").c_str()));
    EXPECT_EQ(page.GetText(CDeadScreen::RESULT_B), u"01:02:03");
    EXPECT_EQ(page.GetText(CDeadScreen::RESULT_C), u"1234");
    // A score below the best keeps its own code.
    m_services->SetScore(1000);
    m_services->RecordSurvivalScore(1, 1000);
    ShowScreen(SCREEN_DEAD);
    const std::string lower = FormatScoreCode(MakeScoreCode(1000, SCORE_CODE_SURVIVAL_TIMED, "ACE"));
    EXPECT_EQ(page.GetText(CDeadScreen::RESULT_A), U(("1000 - (" + lower + ")").c_str()));
    EXPECT_EQ(page.GetText(CDeadScreen::RESULT_C), u"1234");
    run.survival = false;
    run.timedRun = false;
}

TEST_F(CampaignScreensTest, RecordsAreWrittenWhenTheyChange)
{
    m_services->RecordQuickActionTime(50000);  // no better than 90000: nothing written
    CHallOfFame onDisk;
    EXPECT_FALSE(onDisk.Load(m_folder.c_str()));

    m_harness.GetGame().GetZones().SetPilotName("NOVA");
    m_services->SetScore(700);
    m_services->EnterHallOfFame();
    ASSERT_TRUE(onDisk.Load(m_folder.c_str()));
    EXPECT_STREQ(onDisk.GetEntry(0).name, "NOVA");
    EXPECT_EQ(onDisk.GetEntry(0).score, 700u);

    m_services->RecordSurvivalScore(0, 90);
    ASSERT_TRUE(onDisk.Load(m_folder.c_str()));
    EXPECT_EQ(onDisk.GetBestSurvivalScore(0), 90u);
    EXPECT_EQ(onDisk.GetSurvivalCode(0), MakeScoreCode(90, SCORE_CODE_SURVIVAL_OPEN, "NOVA"));

    // A services object made later finds them.
    CCampaign other;
    CCampaignServices later(m_harness.GetGame(), other, m_folder.c_str());
    EXPECT_EQ(later.GetBestSurvivalScore(0), 90);
    EXPECT_STREQ(later.GetHallOfFameEntry(0)->name, "NOVA");
}

TEST_F(CampaignScreensTest, ARunStartsFromAFreshCampaignAtTheChosenDifficulty)
{
    m_services->SetDifficulty(2);
    m_services->SetGemStock(GEM_RARE, 40);
    m_services->SetScore(5000);
    m_campaign.GetPilot().SetName("OLD");
    m_campaign.AddStoredItem(COMPONENT_BOMB, 1);
    m_services->OnRunStarted();
    EXPECT_EQ(m_services->GetDifficulty(), 2);
    EXPECT_EQ(m_services->GetGemStock(GEM_RARE), 0);
    EXPECT_EQ(m_services->GetScore(), 0);
    EXPECT_EQ(m_campaign.CountStoredItems(), 0);
    EXPECT_EQ(m_campaign.GetState().crew, 5);
    m_harness.GetGame().GetZones().SetPilotName("NEW");
    m_services->RefreshPilotRecord();
    EXPECT_STREQ(m_campaign.GetPilot().name, "NEW");

    m_services->SetGemStock(GEM_NORMAL, 250);
    EXPECT_EQ(m_services->GetGemStock(GEM_NORMAL), 100);
    m_services->SetDifficulty(7);
    EXPECT_EQ(m_services->GetDifficulty(), 2);
}

TEST_F(CampaignScreensTest, ANewGamesShipsAreWholeInTheRecord)
{
    // The sample designs: the escape pod (hull 40), Sparrow (120), Dart (80) and
    // Bulwark (260) in slots 0 to 3; slot 4 holds no ship.
    m_services->SetStoredHull(4, 9);
    ASSERT_TRUE(m_harness.GetFlow().StartNewGame());
    EXPECT_EQ(m_services->GetStoredHull(0), 40);
    EXPECT_EQ(m_services->GetStoredHull(1), 120);
    EXPECT_EQ(m_services->GetStoredHull(2), 80);
    EXPECT_EQ(m_services->GetStoredHull(3), 260);
    EXPECT_EQ(m_services->GetStoredHull(4), 0);
}

TEST_F(CampaignScreensTest, ResearchSlotStatesFollowTheSlots)
{
    SCampaignState& state = m_campaign.GetState();
    EXPECT_EQ(m_services->GetResearchSlotState(0), RESEARCH_SLOT_EMPTY);
    SWorkSlot& lab = state.researchSlot;
    lab.startTime = 100;
    lab.historyCount = 1;
    lab.remaining = SCostVector{{0, 5, 0}};
    lab.rate = 2;
    EXPECT_EQ(m_services->GetResearchSlotState(0), RESEARCH_SLOT_WAITING);  // no rare gems
    state.gems.count[GEM_RARE] = 1;
    EXPECT_EQ(m_services->GetResearchSlotState(0), RESEARCH_SLOT_WORKING);
    lab.rate = 0;
    EXPECT_EQ(m_services->GetResearchSlotState(0), RESEARCH_SLOT_WAITING);
    lab.stalled = true;
    EXPECT_EQ(m_services->GetResearchSlotState(0), RESEARCH_SLOT_PAUSED);
    EXPECT_EQ(m_services->GetResearchSlotState(1), RESEARCH_SLOT_EMPTY);
}

TEST_F(CampaignScreensTest, SkippedTutorialHandsOutItsParts)
{
    m_services->AddSkippedTutorialRewards();
    EXPECT_EQ(m_campaign.CountStoredItems(), 6);
    EXPECT_EQ(m_campaign.GetState().store[m_campaign.FindStoredItem(COMPONENT_PROJECTILE_GUN, 0)].count, 2);
    EXPECT_GE(m_campaign.FindStoredItem(COMPONENT_HULL, 2), 0);
    // The station gun the tutorial builds is fitted on an outer mount, not stored.
    bool fitted = false, weapon = false;
    uint32_t definition = 99;
    ASSERT_TRUE(m_campaign.GetStationMount(1, fitted, weapon, definition));
    EXPECT_TRUE(fitted);
    EXPECT_TRUE(weapon);
    EXPECT_EQ(definition, 0u);
    ASSERT_TRUE(m_campaign.GetStationMount(0, fitted, weapon, definition));
    EXPECT_FALSE(fitted);
    EXPECT_EQ(m_campaign.FindStoredItem(COMPONENT_STATION_WEAPON, 0), -1);
}
