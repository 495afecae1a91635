#include "frontend/GameFlow.h"
#include "frontend/ResearchScreen.h"
#include "frontend/StoresScreen.h"
#include "presentation/GuiManager.h"
#include "ships/ShipComponentDatabase.h"
#include "tests/frontend/CampaignScreenFixture.h"

#include <gtest/gtest.h>

namespace
{
using R = CResearchScreen;
constexpr int SELECT = GUI_ACTION_SELECT;
constexpr int LEFT = GUI_ACTION_LEFT;
constexpr int RIGHT = GUI_ACTION_RIGHT;

class ResearchScreenTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_fixture.IsReady()); }

    CResearchScreen& Screen() { return *static_cast<CResearchScreen*>(m_fixture.GetFlow().GetScreen(SCREEN_RESEARCH)); }
    const CScreenLayout& Page() { return m_fixture.GetPage(SCREEN_RESEARCH); }
    bool Act(int id, int action = SELECT) { return m_fixture.Act(SCREEN_RESEARCH, id, action); }
    std::string Text(int id) { return m_fixture.GetText(SCREEN_RESEARCH, id); }
    // Steps the kind list until it shows the kind (false when it never does).
    bool SelectKind(int32_t kind)
    {
        for (int i = 0; i < COMPONENT_KIND_COUNT; ++i)
            Act(R::KIND_LIST, LEFT);
        for (int i = 0; i < COMPONENT_KIND_COUNT && Screen().GetSelectedKind() != kind; ++i)
            Act(R::KIND_LIST, RIGHT);
        return Screen().GetSelectedKind() == kind;
    }
    void SetCrew(int crew)
    {
        for (int i = 0; i < 10; ++i)
            Act(R::CREW, LEFT);
        for (int i = 0; i < crew; ++i)
            Act(R::CREW, RIGHT);
    }
    // Enters the manufacture tab and starts `units` of the kind's first buildable part
    // with the whole crew.
    void StartManufacture(int32_t kind)
    {
        ASSERT_TRUE(Act(R::MANUFACTURE_TAB));
        ASSERT_TRUE(SelectKind(kind));
        SetCrew(5);
        ASSERT_TRUE(Act(R::START));
    }
    // Runs the campaign's slots on by steps of 10 s of zone time until `done` or 200 steps.
    template <typename Done>
    bool AdvanceUntil(Done done)
    {
        for (int step = 0; step < 200 && !done(); ++step)
        {
            m_zoneClock += CCampaign::SLOT_STEP_MIN_MS;
            m_fixture.GetCampaign().AdvanceResearch(m_zoneClock);
        }
        return done();
    }

    CCampaignScreenFixture m_fixture;
    uint32_t m_zoneClock = 1;
};

TEST_F(ResearchScreenTest, ShowingPreviewsTheManufactureTab)
{
    m_fixture.SetGems(25, 12, 6);
    m_fixture.ShowScreen(SCREEN_RESEARCH);
    EXPECT_FALSE(Screen().IsResearchTab());
    EXPECT_FALSE(Screen().IsPanelOpen());
    EXPECT_EQ(m_fixture.GetFocusId(), R::MANUFACTURE_TAB);
    for (int id = R::KIND_LIST; id <= R::CREW; ++id)
        EXPECT_FALSE(Page().IsEnabled(id)) << id;
    // A new game has projects ready: the research tab is offered.
    EXPECT_TRUE(Page().IsVisible(R::RESEARCH_TAB));
    EXPECT_TRUE(Page().IsEnabled(R::RESEARCH_TAB));
    EXPECT_EQ(Text(R::STOCK_NORMAL), "25");
    EXPECT_EQ(Text(R::STOCK_VERY_RARE), "6");
    EXPECT_EQ(Text(R::FREE_CREW), "5");
    // The research tab gaining the focus previews it.
    ASSERT_TRUE(m_fixture.GetHarness().GetGui().SetFocus(Page().FindHandle(R::RESEARCH_TAB)));
    EXPECT_TRUE(Screen().IsResearchTab());
    EXPECT_FALSE(Screen().IsPanelOpen());
}

TEST_F(ResearchScreenTest, AManufactureRunsOnZoneTimeIntoTheStoresAndSellsForHalfItsCost)
{
    m_fixture.SetGems(60, 0, 0);
    m_fixture.ClearStore();
    m_fixture.ShowScreen(SCREEN_RESEARCH);
    ASSERT_TRUE(Act(R::MANUFACTURE_TAB));
    EXPECT_TRUE(Screen().IsPanelOpen());
    EXPECT_FALSE(Page().IsVisible(R::RESEARCH_TAB));
    EXPECT_FALSE(Page().IsEnabled(R::BACK));
    EXPECT_EQ(m_fixture.GetFocusId(), R::KIND_LIST);
    ASSERT_TRUE(SelectKind(COMPONENT_CARGO));
    const CShipComponentDef* cargo = m_fixture.GetDatabase().GetComponentDef(COMPONENT_CARGO, 0);
    ASSERT_NE(cargo, nullptr);
    EXPECT_EQ(Screen().GetSelectedDefinition(), 0);
    EXPECT_EQ(Text(R::COST_NORMAL), std::to_string(static_cast<int>(cargo->m_cost[GEM_NORMAL])));
    EXPECT_EQ(m_fixture.GetListValue(SCREEN_RESEARCH, R::UNITS), 1);
    // Without crew nothing can start.
    EXPECT_FALSE(Page().IsEnabled(R::START));
    SetCrew(5);
    m_fixture.GetHarness().RunFrame();
    EXPECT_EQ(Text(R::FREE_CREW), "0");
    ASSERT_TRUE(Page().IsEnabled(R::START));
    ASSERT_TRUE(Act(R::START));
    // Starting leaves the panel.
    EXPECT_FALSE(Screen().IsPanelOpen());
    EXPECT_EQ(m_fixture.GetFocusId(), R::MANUFACTURE_TAB);
    const SWorkSlot& slot = m_fixture.GetState().manufactureSlot;
    ASSERT_TRUE(slot.IsActive());
    EXPECT_EQ(slot.kind, COMPONENT_CARGO);
    EXPECT_EQ(slot.units, 1);
    EXPECT_EQ(slot.rate, 5);
    EXPECT_EQ(slot.remaining.gems[GEM_NORMAL], cargo->m_cost[GEM_NORMAL]);

    // The zone's time builds the cargo pod into the stores; the screen sees the slot idle.
    ASSERT_TRUE(AdvanceUntil([&]() { return !slot.IsActive(); }));
    const int record = m_fixture.GetCampaign().FindStoredItem(COMPONENT_CARGO, 0);
    ASSERT_GE(record, 0);
    EXPECT_EQ(m_fixture.GetState().store[record].count, 1);
    m_fixture.GetHarness().RunFrame();
    EXPECT_EQ(Text(R::STORED_COUNT), "1");

    // Sold from the stores: half the cost comes back (a whole number of gems each).
    m_fixture.SetGems(0, 0, 0);
    m_fixture.ShowScreen(SCREEN_STORES);
    ASSERT_EQ(m_fixture.GetFlow().GetCurrentScreenId(), SCREEN_STORES);
    ASSERT_TRUE(m_fixture.Act(SCREEN_STORES, CStoresScreen::FIRST_ROW));
    for (int g = 0; g < GEM_KIND_COUNT; ++g)
        EXPECT_EQ(m_fixture.GetState().gems.count[g], static_cast<int32_t>(cargo->m_cost[g] * 0.5f)) << g;
    EXPECT_EQ(m_fixture.GetCampaign().FindStoredItem(COMPONENT_CARGO, 0), -1);
}

TEST_F(ResearchScreenTest, ResearchUnlocksTheNextDefinitionOverZoneTime)
{
    m_fixture.SetGems(100, 100, 100);
    m_fixture.GetState().pilot.difficulty = 0;
    m_fixture.ShowScreen(SCREEN_RESEARCH);
    ASSERT_TRUE(Act(R::RESEARCH_TAB));
    EXPECT_TRUE(Screen().IsResearchTab());
    EXPECT_FALSE(Page().IsEnabled(R::UNITS));
    ASSERT_TRUE(SelectKind(COMPONENT_ENGINE));
    EXPECT_EQ(Screen().GetSelectedDefinition(), 1);
    const SCostVector& cost = m_fixture.GetState().research[COMPONENT_ENGINE].cost[1];
    EXPECT_EQ(Text(R::COST_RARE), std::to_string(static_cast<int>(cost.gems[GEM_RARE])));
    SetCrew(5);
    ASSERT_TRUE(Act(R::START));
    const SWorkSlot& slot = m_fixture.GetState().researchSlot;
    ASSERT_TRUE(slot.IsActive());
    const uint32_t start = slot.startTime;
    // Nothing is drawn in the first 10 s after the slot's last entry.
    m_fixture.GetCampaign().AdvanceResearch(start + CCampaign::SLOT_STEP_MIN_MS - 1);
    EXPECT_EQ(slot.historyCount, 1);
    EXPECT_EQ(m_fixture.GetState().gems.count[GEM_VERY_RARE], 100);
    m_zoneClock = start;
    ASSERT_TRUE(AdvanceUntil([&]() { return !slot.IsActive(); }));
    EXPECT_EQ(m_fixture.GetState().research[COMPONENT_ENGINE].stage, 2);
    EXPECT_LE(m_fixture.GetState().gems.count[GEM_RARE], 100 - static_cast<int>(cost.gems[GEM_RARE]));
    // The research screen offers the next stage.
    m_fixture.GetHarness().RunFrame();
    ASSERT_TRUE(Act(R::RESEARCH_TAB));
    ASSERT_TRUE(SelectKind(COMPONENT_ENGINE));
    EXPECT_EQ(Screen().GetSelectedDefinition(), 2);
}

TEST_F(ResearchScreenTest, CrewComesOnlyFromTheFreeCrew)
{
    m_fixture.GetState().researchSlot.rate = 4;
    m_fixture.ShowScreen(SCREEN_RESEARCH);
    ASSERT_TRUE(Act(R::MANUFACTURE_TAB));
    Act(R::CREW, RIGHT);
    EXPECT_EQ(m_fixture.GetState().manufactureSlot.rate, 1);
    Act(R::CREW, RIGHT); // none free
    EXPECT_EQ(m_fixture.GetState().manufactureSlot.rate, 1);
    m_fixture.GetHarness().RunFrame();
    EXPECT_EQ(m_fixture.GetListValue(SCREEN_RESEARCH, R::CREW), 1);
    EXPECT_EQ(Text(R::FREE_CREW), "0");
    // Backing out gives an idle slot's crew back.
    Act(R::CREW, GUI_ACTION_BACK);
    EXPECT_FALSE(Screen().IsPanelOpen());
    EXPECT_EQ(m_fixture.GetFocusId(), R::BACK);
    EXPECT_EQ(m_fixture.GetState().manufactureSlot.rate, 0);
    EXPECT_EQ(m_fixture.GetState().researchSlot.rate, 0);
}

TEST_F(ResearchScreenTest, StarvedAndPausedSlotsOfferCancelAndResume)
{
    m_fixture.SetGems(100, 0, 0);
    m_fixture.ShowScreen(SCREEN_RESEARCH);
    StartManufacture(COMPONENT_CARGO);
    SWorkSlot& slot = m_fixture.GetState().manufactureSlot;
    ASSERT_TRUE(slot.IsActive());
    struct
    {
        const char* what;
        int32_t crew;
        bool stalled;
        uint32_t text;
        bool pause, cancel, start;
    } cases[] = {
        {"running", 5, false, 0x8c000003, true, true, false},
        {"no crew", 0, false, 0xd6000004, false, true, false},
        {"paused", 5, true, 0x83000001, false, true, true},
    };
    for (const auto& c : cases)
    {
        slot.rate = c.crew;
        slot.stalled = c.stalled;
        ASSERT_TRUE(Act(R::MANUFACTURE_TAB)) << c.what;
        EXPECT_EQ(m_fixture.GetFocusId(), R::CREW) << c.what;
        EXPECT_FALSE(Page().IsEnabled(R::KIND_LIST)) << c.what;
        const std::u16string text = LookUpText(c.text);
        EXPECT_EQ(Page().GetText(R::STATUS), text) << c.what;
        EXPECT_EQ(Page().IsEnabled(R::PAUSE), c.pause) << c.what;
        EXPECT_EQ(Page().IsEnabled(R::CANCEL), c.cancel) << c.what;
        EXPECT_EQ(Page().IsEnabled(R::START), c.start) << c.what;
        Act(R::CREW, GUI_ACTION_BACK);
    }
    // Resume, then pause and cancel by the buttons.
    ASSERT_TRUE(Act(R::MANUFACTURE_TAB));
    ASSERT_TRUE(Act(R::START));
    EXPECT_FALSE(slot.stalled);
    ASSERT_TRUE(Act(R::MANUFACTURE_TAB));
    ASSERT_TRUE(Act(R::PAUSE));
    EXPECT_TRUE(slot.stalled);
    ASSERT_TRUE(Act(R::MANUFACTURE_TAB));
    ASSERT_TRUE(Act(R::CANCEL));
    EXPECT_FALSE(slot.IsActive());
    EXPECT_EQ(slot.kind, COMPONENT_CARGO);
    EXPECT_EQ(slot.rate, 0);
}

TEST_F(ResearchScreenTest, TheStatusBlinksUnlessItSaysNone)
{
    m_fixture.SetGems(100, 0, 0);
    m_fixture.ShowScreen(SCREEN_RESEARCH);
    ASSERT_EQ(LookUpText(0x25000003).compare(0, 4, u"none"), 0) << "the idle text's wording";
    auto countChanges = [&]() {
        int changes = 0;
        bool shown = Page().IsVisible(R::STATUS);
        for (int frame = 0; frame < 20; ++frame)
        {
            m_fixture.GetHarness().RunFrame();
            changes += Page().IsVisible(R::STATUS) != shown ? 1 : 0;
            shown = Page().IsVisible(R::STATUS);
        }
        return changes;
    };
    EXPECT_EQ(countChanges(), 0);
    EXPECT_TRUE(Page().IsVisible(R::STATUS));
    StartManufacture(COMPONENT_CARGO);
    // 20 frames of 40 ms: a toggle every 250 ms.
    EXPECT_GE(countChanges(), 3);
}

TEST_F(ResearchScreenTest, TheTutorialsStepsRefuseOtherStartsWithTheirChat)
{
    m_fixture.SetGems(100, 100, 100);
    m_fixture.GetFlow().GetDirector().SetTutorialStep(TUTORIAL_STEP_HULL);
    m_fixture.ShowScreen(SCREEN_RESEARCH);
    // The research tab opens the chat instead.
    ASSERT_TRUE(Act(R::RESEARCH_TAB));
    EXPECT_TRUE(Screen().IsChatOpen());
    EXPECT_FALSE(m_fixture.GetFlow().IsChatClosed());
    EXPECT_TRUE(Screen().GetChat().IsVisible(R::CHAT_BOX));
    EXPECT_FALSE(Screen().IsPanelOpen());
    // While it shows, the page takes nothing.
    EXPECT_FALSE(Act(R::MANUFACTURE_TAB) && Screen().IsPanelOpen());
    ASSERT_TRUE(m_fixture.GetHarness().GetGui().SetFocus(Screen().GetChat().FindHandle(R::CHAT_CLOSE)));
    m_fixture.GetHarness().Activate(SCREEN_RESEARCH, R::CHAT_CLOSE);
    EXPECT_FALSE(Screen().IsChatOpen());
    EXPECT_TRUE(m_fixture.GetFlow().IsChatClosed());

    // A cargo pod is not the hull the step asks for.
    StartManufacture(COMPONENT_CARGO);
    EXPECT_TRUE(Screen().IsChatOpen());
    EXPECT_FALSE(m_fixture.GetState().manufactureSlot.IsActive());
    m_fixture.GetHarness().Activate(SCREEN_RESEARCH, R::CHAT_CLOSE);

    // The second hull of the list with the whole crew is.
    Act(R::CREW, GUI_ACTION_BACK);
    ASSERT_TRUE(Act(R::MANUFACTURE_TAB));
    ASSERT_TRUE(SelectKind(COMPONENT_HULL));
    Act(R::ITEM_LIST, RIGHT);
    SetCrew(5);
    ASSERT_TRUE(Act(R::START));
    EXPECT_FALSE(Screen().IsChatOpen());
    EXPECT_TRUE(m_fixture.GetState().manufactureSlot.IsActive());
    EXPECT_EQ(m_fixture.GetState().manufactureSlot.definition, 2);
}
} // namespace
