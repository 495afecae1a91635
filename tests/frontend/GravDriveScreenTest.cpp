#include "frontend/GameFlow.h"
#include "frontend/GravDriveScreen.h"
#include "frontend/StationScreen.h"
#include "tests/frontend/CampaignScreenFixture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace
{
using S = CGravDriveScreen;

// The station's gravity drive on the running pilot's record.
class GravDriveScreenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_fixture.IsReady());
        SPilotRecord& pilot = m_fixture.GetCampaign().GetPilot();
        pilot.SetName("ACE");
        pilot.score = 1234;
        pilot.progress[PILOT_KILLS] = 7;
        pilot.progress[PILOT_GEMS_COLLECTED] = 40;
        pilot.progress[PILOT_SHIPS_BUILT] = 2;
        pilot.progress[PILOT_SAVES] = 3;
        pilot.difficulty = 2;
        m_fixture.ShowScreen(SCREEN_STATION);
        ASSERT_TRUE(m_fixture.Act(SCREEN_STATION, CStationScreen::GRAV_DRIVE));
        m_fixture.GetHarness().WaitForInputGate();
        ASSERT_EQ(m_fixture.GetFlow().GetCurrentScreenId(), SCREEN_GRAV_DRIVE);
    }

    std::u16string Text(int id) { return m_fixture.GetPage(SCREEN_GRAV_DRIVE).GetText(id); }
    S& Screen() { return *static_cast<S*>(m_fixture.GetFlow().GetScreen(SCREEN_GRAV_DRIVE)); }

    CCampaignScreenFixture m_fixture;
};

TEST_F(GravDriveScreenTest, TheStationShowsTheRunningPilotAndLeadsBack)
{
    EXPECT_TRUE(Screen().IsFromStation());
    EXPECT_EQ(m_fixture.GetFocusId(), S::BACK);
    EXPECT_EQ(Text(S::NAME), u"ACE");
    EXPECT_EQ(Text(S::SCORE), u"1234");
    EXPECT_EQ(Text(S::DIFFICULTY), u"Hard");
    // Kills, crew gained, zones cleared, gems, ships built, saves.
    const SPilotRecord& shown = Screen().GetShownRecord();
    EXPECT_EQ(Text(S::STAT_FIRST), u"7");
    EXPECT_EQ(Text(S::STAT_FIRST + 3), u"40");
    EXPECT_EQ(Text(S::STAT_FIRST + 4), u"2");
    EXPECT_EQ(Text(S::STAT_FIRST + 5), u"3");
    const uint32_t seconds = shown.playTime / 1000;
    char expected[16];
    std::snprintf(expected, sizeof(expected), "%02u:%02u:%02u", seconds / 3600, seconds / 60 % 60, seconds % 60);
    EXPECT_EQ(Text(S::TIME), std::u16string(expected, expected + std::strlen(expected)));

    ASSERT_TRUE(m_fixture.Act(SCREEN_GRAV_DRIVE, S::BACK));
    EXPECT_EQ(m_fixture.GetFlow().GetCurrentScreenId(), SCREEN_STATION);
}

TEST_F(GravDriveScreenTest, TalliesShowTheirStageOrAQuestionMarkUntilSet)
{
    const int32_t tallies[S::TALLIES] = {-1, 2, 0, 3, -1};
    m_fixture.GetFlow().GetCampaign().SetShownEntry(-1, 0);
    SPilotRecord& pilot = m_fixture.GetCampaign().GetPilot();
    for (int t = 0; t < S::TALLIES; ++t)
        pilot.arrayA[t] = tallies[t];
    // Research as a new game has it would refill the tallies: the kinds stay closed.
    for (SResearchRecord& research : m_fixture.GetState().research)
        research.enabled = false;
    m_fixture.ShowScreen(SCREEN_STATION);
    m_fixture.ShowScreen(SCREEN_GRAV_DRIVE);
    const std::u16string expected[S::TALLIES] = {u"?", u"2 ( 4 )", u"0 ( 3 )", u"3 ( 3 )", u"?"};
    for (int t = 0; t < S::TALLIES; ++t)
    {
        SCOPED_TRACE(t);
        EXPECT_EQ(Text(S::TALLY_FIRST + 2 * t + 1), expected[t]);
        if (tallies[t] == -1)
            EXPECT_EQ(Text(S::TALLY_FIRST + 2 * t), LookUpText(S::TALLY_UNSET_TEXT[t]));
        else
            EXPECT_NE(Text(S::TALLY_FIRST + 2 * t), LookUpText(S::TALLY_UNSET_TEXT[t]));
    }
}

TEST_F(GravDriveScreenTest, TheScoreCodePopupGivesTheCodeInCapitals)
{
    ASSERT_TRUE(m_fixture.Act(SCREEN_GRAV_DRIVE, S::SCORE_CODE));
    ASSERT_TRUE(Screen().IsPopupOpen());
    EXPECT_EQ(m_fixture.GetFocusId(), S::CODE_CLOSE);
    const std::u16string code = Screen().GetPopup().GetText(S::CODE_TEXT);
    EXPECT_FALSE(code.empty());
    EXPECT_LE(code.size(), 32u);
    for (const char16_t c : code)
        EXPECT_FALSE(c >= u'a' && c <= u'z') << static_cast<char>(c);
    m_fixture.GetHarness().WaitForInputGate();
    ASSERT_TRUE(m_fixture.ActInPopup(SCREEN_GRAV_DRIVE, S::CODE_CLOSE));
    EXPECT_FALSE(Screen().IsPopupOpen());
    EXPECT_EQ(m_fixture.GetFocusId(), S::BACK);
}
} // namespace
