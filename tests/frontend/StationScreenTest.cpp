#include "frontend/GameFlow.h"
#include "frontend/StationScreen.h"
#include "presentation/GuiListButton.h"
#include "tests/frontend/CampaignScreenFixture.h"

#include <gtest/gtest.h>

namespace
{
using S = CStationScreen;

TEST(StationCondition, WholePercentOfTheKeptMaximum)
{
    struct SCase
    {
        int32_t health, maximum, percent;
    };
    const SCase cases[] = {
        {300, 300, 100}, {150, 300, 50}, {299, 300, 99}, {1, 300, 0}, {0, 300, 0},
        {-5, 300, 0},    // a station at its end
        {-1, -1, 100},   // a new game's station, not yet made
        {50, 0, 100},    // no maximum to divide by
    };
    for (const SCase& c : cases)
        EXPECT_EQ(GetStationConditionPercent(c.health, c.maximum), c.percent) << c.health << " of " << c.maximum;
}

class StationScreenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_fixture.IsReady());
        m_fixture.ClearStore();
        for (SMountRecord& mount : m_fixture.GetState().mounts)
            mount = SMountRecord();
    }

    S& Screen() { return *static_cast<S*>(m_fixture.GetFlow().GetScreen(SCREEN_STATION)); }
    const CScreenLayout& Page() { return m_fixture.GetPage(SCREEN_STATION); }
    bool Act(int id, int action = GUI_ACTION_SELECT) { return m_fixture.Act(SCREEN_STATION, id, action); }
    // The text a mount's list shows at its position.
    std::u16string MountText(int mount)
    {
        const CGuiListButton* list = Page().FindList(S::MOUNT_FIRST + mount);
        return list ? list->GetOptionText(list->GetSelection()) : u"(none)";
    }
    // Activates a mount once the screen takes input again.
    bool ActMount(int mount)
    {
        m_fixture.GetHarness().WaitForInputGate();
        return Act(S::MOUNT_FIRST + mount);
    }
    bool Choose(int id)
    {
        m_fixture.GetHarness().WaitForInputGate();
        return m_fixture.ActInPopup(SCREEN_STATION, id);
    }
    // Mount 2 carries a station weapon of definition 3 (the sample parts have no
    // station items: its list names it "?").
    SMountRecord& FitMountTwo()
    {
        SMountRecord& mount = m_fixture.GetState().mounts[1];
        mount.definition = 3;
        mount.weapon = true;
        mount.fitted = true;
        return mount;
    }

    CCampaignScreenFixture m_fixture;
};

TEST_F(StationScreenTest, EmptyMountsShowDotsAndOpenNoPopup)
{
    m_fixture.GetState().stationLimit = 400;
    m_fixture.GetState().stationLevel = 100;
    m_fixture.ShowScreen(SCREEN_STATION);
    EXPECT_EQ(m_fixture.GetFocusId(), S::BACK);
    EXPECT_EQ(Page().GetText(S::CONDITION), u"Station 25%");
    for (int mount = 0; mount < CAMPAIGN_MOUNTS; ++mount)
    {
        EXPECT_EQ(MountText(mount), u"...") << mount;
        EXPECT_EQ(m_fixture.GetListValue(SCREEN_STATION, S::MOUNT_FIRST + mount), 0);
    }
    ASSERT_TRUE(Act(S::MOUNT_FIRST));
    EXPECT_FALSE(Screen().IsPopupOpen());
    EXPECT_FALSE(m_fixture.GetState().mounts[0].fitted);

    // The tutorial's fitting step keeps the player on the station.
    m_fixture.GetFlow().GetDirector().SetTutorialStep(S::TUTORIAL_STEP_FIT);
    m_fixture.ShowScreen(SCREEN_HUB);
    m_fixture.ShowScreen(SCREEN_STATION);
    EXPECT_FALSE(Page().IsEnabled(S::BACK));
    EXPECT_EQ(m_fixture.GetFocusId(), S::MOUNT_FIRST + 1);
}

TEST_F(StationScreenTest, RemovingAFittedItemPutsItBackUnlessTheStoresAreFull)
{
    FitMountTwo();
    m_fixture.ShowScreen(SCREEN_STATION);
    ASSERT_TRUE(ActMount(1));
    ASSERT_TRUE(Screen().IsPopupOpen());
    // Choosing: remove, sell and keep; then apply and back.
    const CScreenLayout& popup = Screen().GetPopup();
    EXPECT_TRUE(popup.IsEnabled(S::MODIFY_REMOVE));
    EXPECT_FALSE(popup.IsEnabled(S::MODIFY_APPLY));
    EXPECT_EQ(m_fixture.GetFocusId(), S::MODIFY_REMOVE);
    ASSERT_TRUE(Choose(S::MODIFY_REMOVE));
    EXPECT_EQ(Screen().GetModifyChoice(), S::MODIFY_CHOICE_REMOVE);
    EXPECT_FALSE(popup.IsEnabled(S::MODIFY_REMOVE));
    EXPECT_TRUE(popup.IsEnabled(S::MODIFY_APPLY));
    EXPECT_EQ(m_fixture.GetFocusId(), S::MODIFY_APPLY);
    ASSERT_TRUE(Choose(S::MODIFY_BACK));
    EXPECT_TRUE(popup.IsEnabled(S::MODIFY_KEEP));

    // Stores without a free record keep the item on its mount.
    for (int32_t kind = COMPONENT_ENGINE; m_fixture.GetCampaign().CountStoredItems() < CAMPAIGN_STORE_SIZE; ++kind)
        for (int32_t def = 0; def < CAMPAIGN_DEFS_PER_KIND; ++def)
            if (kind != COMPONENT_STATION_WEAPON)
                m_fixture.GetCampaign().AddStoredItem(kind, def);
    ASSERT_TRUE(Choose(S::MODIFY_REMOVE));
    ASSERT_TRUE(Choose(S::MODIFY_APPLY));
    EXPECT_FALSE(Screen().IsPopupOpen());
    EXPECT_EQ(m_fixture.GetFocusId(), S::MOUNT_FIRST + 1);
    EXPECT_TRUE(m_fixture.GetState().mounts[1].fitted);
    EXPECT_LT(m_fixture.GetCampaign().FindStoredItem(COMPONENT_STATION_WEAPON, 3), 0);

    // With room it goes back into the stores as a station weapon.
    m_fixture.ClearStore();
    ASSERT_TRUE(ActMount(1));
    ASSERT_TRUE(Choose(S::MODIFY_REMOVE));
    ASSERT_TRUE(Choose(S::MODIFY_APPLY));
    EXPECT_FALSE(m_fixture.GetState().mounts[1].fitted);
    const int record = m_fixture.GetCampaign().FindStoredItem(COMPONENT_STATION_WEAPON, 3);
    ASSERT_GE(record, 0);
    EXPECT_EQ(m_fixture.GetState().store[record].count, 1);
    EXPECT_EQ(MountText(1), u"...");
}

TEST_F(StationScreenTest, KeepChangesNothingAndAnUnsellableItemStays)
{
    FitMountTwo();
    m_fixture.SetGems(1, 2, 3);
    m_fixture.ShowScreen(SCREEN_STATION);
    for (const int choice : {S::MODIFY_KEEP, S::MODIFY_SELL})
    {
        SCOPED_TRACE(choice);
        ASSERT_TRUE(ActMount(1));
        ASSERT_TRUE(Choose(choice));
        ASSERT_TRUE(Choose(S::MODIFY_APPLY));
        EXPECT_FALSE(Screen().IsPopupOpen());
        // The sample parts price no station weapon: the sale is refused.
        EXPECT_TRUE(m_fixture.GetState().mounts[1].fitted);
        EXPECT_EQ(m_fixture.GetState().gems.count[GEM_NORMAL], 1);
        EXPECT_EQ(m_fixture.GetCampaign().CountStoredItems(), 0);
    }
}
} // namespace
