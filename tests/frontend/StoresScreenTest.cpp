#include "frontend/GameFlow.h"
#include "frontend/StoresScreen.h"
#include "ships/ShipComponentDatabase.h"
#include "tests/frontend/CampaignScreenFixture.h"

#include <gtest/gtest.h>

namespace
{
using S = CStoresScreen;

class StoresScreenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_fixture.IsReady());
        m_fixture.ClearStore();
        m_fixture.SetGems(0, 0, 0);
    }

    CStoresScreen& Screen() { return *static_cast<CStoresScreen*>(m_fixture.GetFlow().GetScreen(SCREEN_STORES)); }
    const CScreenLayout& Page() { return m_fixture.GetPage(SCREEN_STORES); }
    bool Act(int id, int action = GUI_ACTION_SELECT) { return m_fixture.Act(SCREEN_STORES, id, action); }
    // Items of every kind that has definitions, one unit each, until `count` records are used.
    void FillStore(int count)
    {
        const CShipComponentDatabase& database = m_fixture.GetDatabase();
        for (int32_t kind = 1; kind < COMPONENT_KIND_COUNT && m_fixture.GetCampaign().CountStoredItems() < count; ++kind)
            for (int32_t def = 0; def < database.GetCategory(kind)->m_defCount &&
                                  m_fixture.GetCampaign().CountStoredItems() < count;
                 ++def)
                m_fixture.GetCampaign().AddStoredItem(kind, def);
        ASSERT_EQ(m_fixture.GetCampaign().CountStoredItems(), count);
    }

    CCampaignScreenFixture m_fixture;
};

TEST_F(StoresScreenTest, RowsShowTheUsedRecordsInRecordOrder)
{
    FillStore(3);
    m_fixture.GetCampaign().AddStoredItem(COMPONENT_ENGINE, 0); // a second unit
    m_fixture.ShowScreen(SCREEN_STORES);
    EXPECT_EQ(m_fixture.GetFocusId(), S::ENTRY);
    ASSERT_EQ(Screen().GetShownRows(), 3);
    // The store fills from its highest record down: record order is the reverse.
    EXPECT_LT(Screen().GetRowRecord(0), Screen().GetRowRecord(1));
    for (int row = 0; row < S::ROWS; ++row)
    {
        const int id = S::GetRowId(row);
        EXPECT_EQ(Page().IsVisible(id), row < 3) << row;
        EXPECT_EQ(Page().IsVisible(id + S::ROW_BACKING), row < 3) << row;
        EXPECT_EQ(Page().IsEnabled(id), row < 3) << row;
    }
    const SStoreRecord& first = m_fixture.GetState().store[Screen().GetRowRecord(0)];
    const std::u16string name =
        LookUpText(m_fixture.GetDatabase().GetComponentDef(first.kind, first.definition)->m_displayStringId);
    EXPECT_EQ(Page().GetText(S::FIRST_ROW + S::ROW_NAME), name);
    EXPECT_EQ(Page().GetText(S::FIRST_ROW + S::ROW_COUNT), first.count == 2 ? u"2" : u"1");
    EXPECT_EQ(Page().GetText(S::GetRowId(5) + S::ROW_NAME), u"");
    EXPECT_FALSE(Page().IsEnabled(S::SCROLL_UP));
    EXPECT_FALSE(Page().IsEnabled(S::SCROLL_DOWN));
    // The entry leads to the first row; back leads to the back button.
    ASSERT_TRUE(Act(S::ENTRY));
    EXPECT_EQ(m_fixture.GetFocusId(), S::FIRST_ROW);
    Act(S::FIRST_ROW, GUI_ACTION_BACK);
    EXPECT_EQ(m_fixture.GetFocusId(), S::BACK);
}

TEST_F(StoresScreenTest, ScrollingOverNineRecords)
{
    FillStore(9);
    m_fixture.ShowScreen(SCREEN_STORES);
    EXPECT_EQ(Screen().GetShownRows(), S::ROWS);
    EXPECT_FALSE(Page().IsEnabled(S::SCROLL_UP));
    EXPECT_TRUE(Page().IsEnabled(S::SCROLL_DOWN));
    const int second = Screen().GetRowRecord(1);
    ASSERT_TRUE(Act(S::SCROLL_DOWN));
    EXPECT_EQ(Screen().GetScrollPosition(), 1);
    EXPECT_EQ(Screen().GetRowRecord(0), second);
    // Eight records at or below the top row still scroll.
    EXPECT_TRUE(Page().IsEnabled(S::SCROLL_DOWN));
    EXPECT_EQ(m_fixture.GetFocusId(), S::SCROLL_DOWN);
    ASSERT_TRUE(Act(S::SCROLL_DOWN));
    EXPECT_EQ(Screen().GetScrollPosition(), 2);
    EXPECT_FALSE(Page().IsEnabled(S::SCROLL_DOWN));
    EXPECT_EQ(m_fixture.GetFocusId(), S::ENTRY);
    // Up on the first row scrolls back, the focus staying there.
    ASSERT_TRUE(Act(S::FIRST_ROW, GUI_ACTION_UP));
    EXPECT_EQ(Screen().GetScrollPosition(), 1);
    EXPECT_EQ(m_fixture.GetFocusId(), S::FIRST_ROW);
    // Down on the last row scrolls on.
    ASSERT_TRUE(Act(S::LAST_ROW, GUI_ACTION_DOWN));
    EXPECT_EQ(Screen().GetScrollPosition(), 2);
    EXPECT_EQ(m_fixture.GetFocusId(), S::LAST_ROW);
    ASSERT_TRUE(Act(S::LAST_ROW, GUI_ACTION_DOWN)); // nothing more below
    EXPECT_EQ(Screen().GetScrollPosition(), 2);
}

TEST_F(StoresScreenTest, SellingTheLastUnitOnAScrolledListScrollsBack)
{
    FillStore(8);
    m_fixture.ShowScreen(SCREEN_STORES);
    ASSERT_TRUE(Act(S::SCROLL_DOWN));
    ASSERT_EQ(Screen().GetScrollPosition(), 1);
    const int sold = Screen().GetRowRecord(S::ROWS - 1);
    const SStoreRecord item = m_fixture.GetState().store[sold];
    ASSERT_TRUE(Act(S::LAST_ROW));
    EXPECT_FALSE(m_fixture.GetState().store[sold].used);
    EXPECT_EQ(Screen().GetScrollPosition(), 0);
    EXPECT_EQ(Screen().GetShownRows(), S::ROWS);
    EXPECT_EQ(m_fixture.GetFocusId(), S::LAST_ROW);
    // Half the cost came back into the empty stocks.
    const CShipComponentDef* def = m_fixture.GetDatabase().GetComponentDef(item.kind, item.definition);
    for (int g = 0; g < GEM_KIND_COUNT; ++g)
        EXPECT_EQ(m_fixture.GetState().gems.count[g], static_cast<int32_t>(def->m_cost[g] * 0.5f)) << g;
}

TEST_F(StoresScreenTest, NothingIsSoldIntoFullStocks)
{
    FillStore(1);
    m_fixture.GetCampaign().AddStoredItem(m_fixture.GetState().store[CAMPAIGN_STORE_SIZE - 1].kind,
                                          m_fixture.GetState().store[CAMPAIGN_STORE_SIZE - 1].definition);
    m_fixture.SetGems(100, 100, 100);
    m_fixture.ShowScreen(SCREEN_STORES);
    ASSERT_TRUE(Act(S::FIRST_ROW));
    EXPECT_EQ(m_fixture.GetState().store[CAMPAIGN_STORE_SIZE - 1].count, 2);
    EXPECT_EQ(m_fixture.GetState().gems.count[GEM_NORMAL], 100);
    // Selling the last unit of the only item leaves no row: the focus goes to the entry.
    m_fixture.SetGems(0, 0, 0);
    ASSERT_TRUE(Act(S::FIRST_ROW));
    ASSERT_TRUE(Act(S::FIRST_ROW));
    EXPECT_EQ(Screen().GetShownRows(), 0);
    EXPECT_EQ(m_fixture.GetFocusId(), S::ENTRY);
    ASSERT_TRUE(Act(S::BACK));
    EXPECT_EQ(m_fixture.GetFlow().GetCurrentScreenId(), SCREEN_HUB);
}
} // namespace
