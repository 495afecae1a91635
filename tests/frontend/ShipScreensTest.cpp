// The ship select and ship construction screens on the sample data, used as a player
// uses them: a new design named and built on a stored hull, components fitted from the
// stores through the lists and the grid (its keys: arrows, Q to fire, W the second
// button), pods taken back through the popup, backing out, selling and dismantling.

#include "core/RealTimeClock.h"
#include "frontend/GameFlow.h"
#include "frontend/InGameScreen.h"
#include "frontend/ResearchScreen.h"
#include "frontend/StoresScreen.h"
#include "frontend/ShipConstructScreen.h"
#include "frontend/ShipDesignRules.h"
#include "frontend/ShipSelectScreen.h"
#include "platform/input/DikCodes.h"
#include "presentation/GuiListButton.h"
#include "presentation/GuiManager.h"
#include "ships/ShipComponentDatabase.h"
#include "ships/ShipConstructGrid.h"
#include "tests/frontend/CampaignScreenFixture.h"
#include "world/Game.h"
#include "world/ZoneLink.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
using S = CShipSelectScreen;
using C = CShipConstructScreen;
constexpr int32_t SPARROW = 1;
constexpr int32_t DART = 2;
// The default keys of the grid's fire (Q) and second button (W).
constexpr int KEY_FIRE = 16;
constexpr int KEY_SECOND = 17;

class ShipScreensTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_fixture.IsReady());
        m_fixture.ClearStore();
        m_fixture.SetGems(0, 0, 0);
        // The sample game's own designs in slots 2 and 3 go: the player's slots are free.
        for (int slot = FIRST_PLAYER_DESIGN; slot <= LAST_PLAYER_DESIGN; ++slot)
            m_fixture.GetDatabase().RemoveShipConfig(slot);
    }

    CShipSelectScreen& Select()
    {
        return *static_cast<CShipSelectScreen*>(m_fixture.GetFlow().GetScreen(SCREEN_SHIP_SELECT));
    }
    CShipConstructScreen& Construct()
    {
        return *static_cast<CShipConstructScreen*>(m_fixture.GetFlow().GetScreen(SCREEN_SHIP_CONSTRUCT));
    }
    CShipConstructGrid& Grid() { return *m_fixture.GetFlow().GetConstructGrid(); }
    const CScreenLayout& SelectPage() { return m_fixture.GetPage(SCREEN_SHIP_SELECT); }
    const CScreenLayout& ConstructPage() { return m_fixture.GetPage(SCREEN_SHIP_CONSTRUCT); }
    const CScreenLayout& Popup(int screen) { return m_fixture.GetFlow().GetScreen(screen)->GetPopup(); }
    CCampaign& Campaign() { return m_fixture.GetCampaign(); }
    CShipComponentDatabase& Database() { return m_fixture.GetDatabase(); }
    std::string Text(int screen, int id) { return m_fixture.GetText(screen, id); }
    std::string Shown(uint32_t id)
    {
        const std::u16string text = LookUpText(id);
        return std::string(text.begin(), text.end());
    }
    // The name typed into the open name popup, then its confirm.
    void TypeName(const char16_t* name)
    {
        Popup(SCREEN_SHIP_SELECT).SetText(S::NAME_EDIT, name);
        ASSERT_TRUE(m_fixture.ActInPopup(SCREEN_SHIP_SELECT, S::CONFIRM));
    }
    // A key down for one frame; the grid reads it in the frame after, and takes no
    // more input for 250 ms.
    void GridKey(int key)
    {
        m_fixture.GetHarness().TapKey(key);
        m_fixture.GetHarness().RunFrames(8);
    }
    // A new design named in the slot, on the construction screen.
    void BuildNewDesign(int slot, const char16_t* name)
    {
        m_fixture.ShowScreen(SCREEN_SHIP_SELECT);
        ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_SELECT, S::GetSlotButton(slot)));
        m_fixture.GetHarness().WaitForInputGate();
        TypeName(name);
        ASSERT_EQ(m_fixture.GetFlow().GetCurrentScreenId(), SCREEN_SHIP_CONSTRUCT);
        m_fixture.GetHarness().WaitForInputGate();
    }
    // Add component, the kind and item chosen from the lists, placed at the cell.
    void AddComponent(int32_t kind, int x, int y)
    {
        ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_CONSTRUCT, C::ADD_COMPONENT));
        ASSERT_TRUE(Construct().IsAddMode());
        const std::vector<int32_t>& kinds = Construct().GetListedKinds();
        auto shown = [&]() { return kinds[m_fixture.GetListValue(SCREEN_SHIP_CONSTRUCT, C::CATEGORY_LIST)]; };
        for (size_t i = 0; i < kinds.size() && shown() != kind; ++i)
            m_fixture.Act(SCREEN_SHIP_CONSTRUCT, C::CATEGORY_LIST, GUI_ACTION_RIGHT);
        ASSERT_EQ(shown(), kind);
        ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_CONSTRUCT, C::CATEGORY_LIST));
        EXPECT_EQ(m_fixture.GetFocusId(), C::ITEM_LIST);
        ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_CONSTRUCT, C::ITEM_LIST));
        EXPECT_TRUE(Grid().IsPlacing());
        // No control keeps the focus (at most the page's window).
        EXPECT_TRUE(m_fixture.GetFocusId() == -1 || m_fixture.GetFocusId() == GetPageId(SCREEN_SHIP_CONSTRUCT));
        Grid().SetCursor(x, y);
        m_fixture.GetHarness().RunFrames(8);
        GridKey(KEY_FIRE);
    }

    CCampaignScreenFixture m_fixture;
};

TEST_F(ShipScreensTest, TheSelectScreenShowsSlotsAndNamesANewDesign)
{
    Campaign().AddStoredItem(COMPONENT_HULL, SPARROW);
    Campaign().AddStoredItem(COMPONENT_HULL, DART);
    m_fixture.GetState().ships[0].storedHealth = 20; // of the escape pod's 40
    std::strcpy(Campaign().GetPilot().ships[1].name, "Wanderer");
    m_fixture.ShowScreen(SCREEN_SHIP_SELECT);
    for (int slot = FIRST_PLAYER_DESIGN; slot <= LAST_PLAYER_DESIGN; ++slot)
    {
        EXPECT_EQ(Text(SCREEN_SHIP_SELECT, S::GetSlotButton(slot)), Shown(0x24000001)) << slot;
        EXPECT_FALSE(SelectPage().IsVisible(S::FIRST_CONDITION + slot - 2)) << slot;
    }
    EXPECT_EQ(Text(SCREEN_SHIP_SELECT, S::CURRENT_CONDITION), "Hull 50%");
    EXPECT_EQ(m_fixture.GetFocusId(), S::FIRST_SLOT);
    for (int id : {S::MODIFY, S::SELL, S::DISMANTLE})
        EXPECT_FALSE(SelectPage().IsEnabled(id)) << id;

    // An empty slot asks for a name, slot 3's by default.
    ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_SELECT, S::GetSlotButton(3)));
    ASSERT_EQ(Select().GetPending(), S::PENDING_NAME);
    EXPECT_EQ(TrimDesignName(Popup(SCREEN_SHIP_SELECT).GetEditText(S::NAME_EDIT, 49)), Shown(0xac000004));
    EXPECT_FALSE(Popup(SCREEN_SHIP_SELECT).IsVisible(S::NAME_WARNING));
    m_fixture.GetHarness().WaitForInputGate();
    // A name of the pilot record (compared in its nine characters) or one with "//" is
    // refused with the warning; blanks alone do nothing.
    for (const char16_t* refused : {u"Wanderer", u"Red//Wing"})
    {
        TypeName(refused);
        EXPECT_EQ(Select().GetPending(), S::PENDING_NAME);
        EXPECT_TRUE(Popup(SCREEN_SHIP_SELECT).IsVisible(S::NAME_WARNING));
        EXPECT_EQ(Database().GetShipConfig(3), nullptr);
    }
    Popup(SCREEN_SHIP_SELECT).SetVisible(S::NAME_WARNING, false);
    TypeName(u"   ");
    EXPECT_EQ(Select().GetPending(), S::PENDING_NAME);
    EXPECT_FALSE(Popup(SCREEN_SHIP_SELECT).IsVisible(S::NAME_WARNING));
    TypeName(u"  Kestrel ");

    // The construction screen opens on the new design, on the first stored hull (the
    // store fills from its last record: the dart comes first), the chooser focused.
    ASSERT_EQ(m_fixture.GetFlow().GetCurrentScreenId(), SCREEN_SHIP_CONSTRUCT);
    const CShipConfig* design = Database().GetShipConfig(3);
    ASSERT_NE(design, nullptr);
    EXPECT_EQ(design->m_ident, "Kestrel");
    EXPECT_TRUE(Construct().IsNewDesign());
    EXPECT_EQ(design->m_hull, DART);
    EXPECT_EQ(Campaign().GetStoredHealth(3), 80);
    EXPECT_EQ(m_fixture.GetFocusId(), C::HULL_CHOOSER);
    EXPECT_EQ(Text(SCREEN_SHIP_CONSTRUCT, C::IDENT), "Kestrel");
    EXPECT_EQ(Construct().GetHullPicture().GetFrame(), uint32_t(DART - 1));
    EXPECT_EQ(Grid().GetSelectedSlot(), 3);
    EXPECT_TRUE(Grid().IsFinished());
    // Nothing to fit yet: add and edit are off.
    EXPECT_FALSE(ConstructPage().IsEnabled(C::ADD_COMPONENT));
    EXPECT_FALSE(ConstructPage().IsEnabled(C::EDIT_PODS));
}

TEST_F(ShipScreensTest, WithoutAStoredHullNoDesignIsBegun)
{
    m_fixture.ShowScreen(SCREEN_SHIP_SELECT);
    ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_SELECT, S::GetSlotButton(2)));
    EXPECT_FALSE(Select().IsPopupOpen());
    EXPECT_EQ(Database().GetShipConfig(2), nullptr);
}

TEST_F(ShipScreensTest, ComponentsAreFittedFromTheStoresAndTheHullLocks)
{
    Campaign().AddStoredItem(COMPONENT_HULL, SPARROW);
    Campaign().AddStoredItem(COMPONENT_HULL, DART);
    Campaign().AddStoredItem(COMPONENT_ENGINE, 1);
    Campaign().AddStoredItem(COMPONENT_PROJECTILE_GUN, 0);
    const int32_t built = Campaign().GetPilot().progress[PILOT_SHIPS_BUILT];
    BuildNewDesign(2, u"Kestrel");
    // The chooser steps to the sparrow: its slots and health.
    ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_CONSTRUCT, C::HULL_CHOOSER, GUI_ACTION_RIGHT));
    CShipConfig* design = Database().GetShipConfig(2);
    ASSERT_NE(design, nullptr);
    EXPECT_EQ(design->m_hull, SPARROW);
    EXPECT_EQ(design->m_podCount, 7);
    EXPECT_EQ(Campaign().GetStoredHealth(2), 120);
    EXPECT_EQ(Construct().GetHullPicture().GetFrame(), 0u);
    // The grid draws a frame on each of the sparrow's seven slots.
    m_fixture.GetHarness().RunFrame();
    EXPECT_EQ(Grid().GetUsedCount(CShipConstructGrid::SET_FRAME_16X16), 7);
    EXPECT_TRUE(Grid().GetSprite(CShipConstructGrid::SET_FRAME_16X16, 6).IsVisible());
    EXPECT_TRUE(Construct().GetHullPicture().IsVisible());
    EXPECT_EQ(Text(SCREEN_SHIP_CONSTRUCT, C::FIRST_FIGURE), "100/0!");

    // The engine goes to the sparrow's engine slot (1, 2).
    AddComponent(COMPONENT_ENGINE, 1, 2);
    const int32_t pod = design->FindPodAt(CVector2D(1.0f, 2.0f));
    ASSERT_GE(pod, 0);
    EXPECT_EQ(design->m_pods[pod].m_kind, COMPONENT_ENGINE);
    EXPECT_EQ(design->m_pods[pod].m_defIndex, 1);
    EXPECT_EQ(Campaign().FindStoredItem(COMPONENT_ENGINE, 1), -1);
    EXPECT_FALSE(Construct().IsAddMode());
    EXPECT_EQ(Text(SCREEN_SHIP_CONSTRUCT, C::FIRST_FIGURE), "120/220");
    // The gun is still there to fit: add keeps the focus.
    EXPECT_EQ(m_fixture.GetFocusId(), C::ADD_COMPONENT);
    EXPECT_TRUE(ConstructPage().IsEnabled(C::EDIT_PODS));
    // A component fitted: the hull stays.
    m_fixture.Act(SCREEN_SHIP_CONSTRUCT, C::HULL_CHOOSER, GUI_ACTION_RIGHT);
    EXPECT_EQ(design->m_hull, SPARROW);

    // A one-cell gun on the internal slot (0, 1) is refused and the grid waits; at
    // (0, 0) it goes into group 1.
    AddComponent(COMPONENT_PROJECTILE_GUN, 0, 1);
    EXPECT_TRUE(Grid().IsPlacing());
    EXPECT_EQ(design->m_pods[design->FindPodAt(CVector2D(0.0f, 1.0f))].m_kind, COMPONENT_NONE);
    Grid().SetCursor(0, 0);
    GridKey(KEY_FIRE);
    const int32_t gun = design->FindPodAt(CVector2D(0.0f, 0.0f));
    EXPECT_EQ(design->m_pods[gun].m_kind, COMPONENT_PROJECTILE_GUN);
    EXPECT_TRUE(design->IsInWeaponGroup(1, gun));
    EXPECT_EQ(Text(SCREEN_SHIP_CONSTRUCT, C::FIRST_FIGURE + FIGURE_GROUP_1), "1");
    // Nothing left to fit: the focus goes to edit pods.
    EXPECT_FALSE(ConstructPage().IsEnabled(C::ADD_COMPONENT));
    EXPECT_EQ(m_fixture.GetFocusId(), C::EDIT_PODS);

    // Done commits the new design: the sparrow leaves the stores, a ship is built.
    ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_CONSTRUCT, C::DONE));
    EXPECT_EQ(m_fixture.GetFlow().GetCurrentScreenId(), SCREEN_SHIP_SELECT);
    EXPECT_EQ(Campaign().FindStoredItem(COMPONENT_HULL, SPARROW), -1);
    EXPECT_GE(Campaign().FindStoredItem(COMPONENT_HULL, DART), 0);
    EXPECT_EQ(Campaign().GetPilot().progress[PILOT_SHIPS_BUILT], built + 1);
    EXPECT_FALSE(Construct().IsNewDesign());
    EXPECT_EQ(Text(SCREEN_SHIP_SELECT, S::GetSlotButton(2)), "Kestrel");
    EXPECT_EQ(Text(SCREEN_SHIP_SELECT, S::FIRST_CONDITION), "Hull 100%");
    EXPECT_EQ(Grid().GetUsedCount(CShipConstructGrid::SET_FRAME_16X16), 0) << "icons hidden";
}

TEST_F(ShipScreensTest, EditingPodsTakesAComponentBackThroughThePopup)
{
    Campaign().AddStoredItem(COMPONENT_HULL, SPARROW);
    Campaign().AddStoredItem(COMPONENT_GENERATOR, 1);
    Campaign().AddStoredItem(COMPONENT_PROJECTILE_GUN, 0);
    BuildNewDesign(4, u"Kestrel");
    AddComponent(COMPONENT_GENERATOR, 1, 1);
    AddComponent(COMPONENT_PROJECTILE_GUN, 2, 0);
    CShipConfig* design = Database().GetShipConfig(4);
    ASSERT_NE(design, nullptr);
    const int32_t generator = design->FindPodAt(CVector2D(1.0f, 1.0f));
    const int32_t gun = design->FindPodAt(CVector2D(2.0f, 0.0f));
    ASSERT_EQ(design->m_pods[generator].m_kind, COMPONENT_GENERATOR);
    ASSERT_EQ(design->m_pods[gun].m_kind, COMPONENT_PROJECTILE_GUN);

    // Edit pods: the grid takes the input; the pod under the cursor shows in the lists.
    ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_CONSTRUCT, C::EDIT_PODS));
    EXPECT_TRUE(Construct().IsEditMode());
    EXPECT_FALSE(ConstructPage().IsEnabled(C::DONE));
    EXPECT_FALSE(Grid().IsFinished());
    Grid().SetCursor(1, 1);
    m_fixture.GetHarness().RunFrames(8);
    const CShipComponentDef* def = Database().GetComponentDef(COMPONENT_GENERATOR, 1);
    EXPECT_EQ(ConstructPage().FindList(C::ITEM_LIST)->GetOptionText(0), LookUpText(def->m_displayStringId));
    // The cursor steps onto the gun by the turn and thrust keys.
    GridKey(Dik::RIGHT);
    GridKey(Dik::UP);
    EXPECT_EQ(Grid().GetCursor().x, 2);
    EXPECT_EQ(Grid().GetCursor().y, 0);
    GridKey(KEY_FIRE);
    ASSERT_TRUE(Construct().IsPopupOpen());
    EXPECT_TRUE(Grid().IsFinished());
    // A weapon may change its group: into group 2.
    EXPECT_TRUE(Popup(SCREEN_SHIP_CONSTRUCT).IsEnabled(C::MODIFY_GROUP_1));
    EXPECT_FALSE(Popup(SCREEN_SHIP_CONSTRUCT).IsEnabled(C::MODIFY_APPLY));
    m_fixture.GetHarness().WaitForInputGate();
    ASSERT_TRUE(m_fixture.ActInPopup(SCREEN_SHIP_CONSTRUCT, C::MODIFY_GROUP_2));
    EXPECT_EQ(Construct().GetModifyChoice(), C::MODIFY_GROUP_2);
    EXPECT_FALSE(Popup(SCREEN_SHIP_CONSTRUCT).IsEnabled(C::MODIFY_REMOVE));
    ASSERT_TRUE(m_fixture.ActInPopup(SCREEN_SHIP_CONSTRUCT, C::MODIFY_APPLY));
    EXPECT_FALSE(Construct().IsPopupOpen());
    EXPECT_FALSE(Construct().IsEditMode());
    EXPECT_TRUE(design->IsInWeaponGroup(2, gun));
    EXPECT_FALSE(design->IsInWeaponGroup(1, gun));
    EXPECT_EQ(Text(SCREEN_SHIP_CONSTRUCT, C::FIRST_FIGURE + FIGURE_GROUP_2), "1");

    // The generator, no weapon, goes back into the stores.
    ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_CONSTRUCT, C::EDIT_PODS));
    Grid().SetCursor(1, 1);
    m_fixture.GetHarness().RunFrames(8);
    GridKey(KEY_FIRE);
    ASSERT_TRUE(Construct().IsPopupOpen());
    EXPECT_FALSE(Popup(SCREEN_SHIP_CONSTRUCT).IsEnabled(C::MODIFY_GROUP_1));
    EXPECT_FALSE(Popup(SCREEN_SHIP_CONSTRUCT).IsEnabled(C::MODIFY_GROUP_2));
    m_fixture.GetHarness().WaitForInputGate();
    ASSERT_TRUE(m_fixture.ActInPopup(SCREEN_SHIP_CONSTRUCT, C::MODIFY_REMOVE));
    ASSERT_TRUE(m_fixture.ActInPopup(SCREEN_SHIP_CONSTRUCT, C::MODIFY_APPLY));
    EXPECT_EQ(design->m_pods[generator].m_kind, COMPONENT_NONE);
    EXPECT_GE(Campaign().FindStoredItem(COMPONENT_GENERATOR, 1), 0);
    // It can be fitted again.
    EXPECT_EQ(m_fixture.GetFocusId(), C::ADD_COMPONENT);
}

TEST_F(ShipScreensTest, BackingOutEndsAddingAndEditing)
{
    Campaign().AddStoredItem(COMPONENT_HULL, SPARROW);
    Campaign().AddStoredItem(COMPONENT_ENGINE, 1);
    Campaign().AddStoredItem(COMPONENT_CARGO, 0);
    BuildNewDesign(2, u"Kestrel");
    // The back action on the lists.
    ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_CONSTRUCT, C::ADD_COMPONENT));
    EXPECT_FALSE(ConstructPage().IsEnabled(C::DONE));
    m_fixture.Act(SCREEN_SHIP_CONSTRUCT, C::CATEGORY_LIST, GUI_ACTION_BACK);
    EXPECT_FALSE(Construct().IsAddMode());
    EXPECT_EQ(m_fixture.GetFocusId(), C::ADD_COMPONENT);
    EXPECT_TRUE(ConstructPage().IsEnabled(C::DONE));
    EXPECT_FALSE(ConstructPage().IsEnabled(C::CATEGORY_LIST));
    // The second button while placing: nothing is placed.
    ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_CONSTRUCT, C::ADD_COMPONENT));
    ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_CONSTRUCT, C::CATEGORY_LIST));
    ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_CONSTRUCT, C::ITEM_LIST));
    ASSERT_TRUE(Grid().IsPlacing());
    GridKey(KEY_SECOND);
    EXPECT_FALSE(Construct().IsAddMode());
    EXPECT_FALSE(Grid().IsPlacing());
    EXPECT_TRUE(Grid().IsFinished());
    EXPECT_FALSE(HasFittedComponent(*Database().GetShipConfig(2)));
    EXPECT_EQ(m_fixture.GetFocusId(), C::ADD_COMPONENT);
    // Edit mode backs out the same way, to edit pods.
    AddComponent(COMPONENT_ENGINE, 1, 2);
    ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_CONSTRUCT, C::EDIT_PODS));
    GridKey(KEY_SECOND);
    EXPECT_FALSE(Construct().IsEditMode());
    EXPECT_EQ(m_fixture.GetFocusId(), C::EDIT_PODS);
    EXPECT_TRUE(ConstructPage().IsEnabled(C::DONE));
    // While the director holds the GUI's keys, nothing backs out.
    ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_CONSTRUCT, C::EDIT_PODS));
    m_fixture.GetFlow().SetChatClosed(false);
    GridKey(KEY_SECOND);
    EXPECT_TRUE(Construct().IsEditMode());
    m_fixture.GetFlow().SetChatClosed(true);
}

TEST_F(ShipScreensTest, TheTutorialHoldsBackAndDoneWithItsChat)
{
    Campaign().AddStoredItem(COMPONENT_HULL, SPARROW);
    BuildNewDesign(2, u"Kestrel");
    m_fixture.GetFlow().GetDirector().SetTutorialStep(C::TUTORIAL_STEP_CHAT);
    ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_CONSTRUCT, C::DONE));
    EXPECT_EQ(m_fixture.GetFlow().GetCurrentScreenId(), SCREEN_SHIP_CONSTRUCT);
    EXPECT_TRUE(Construct().IsChatOpen());
    EXPECT_FALSE(m_fixture.GetFlow().IsChatClosed());
    m_fixture.GetHarness().Activate(SCREEN_SHIP_CONSTRUCT, C::CHAT_CLOSE);
    EXPECT_FALSE(Construct().IsChatOpen());
    EXPECT_TRUE(m_fixture.GetFlow().IsChatClosed());
    m_fixture.GetFlow().GetDirector().SetTutorialStep(S::TUTORIAL_STEP_NO_BACK);
    ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_CONSTRUCT, C::DONE));
    ASSERT_EQ(m_fixture.GetFlow().GetCurrentScreenId(), SCREEN_SHIP_SELECT);
    m_fixture.GetHarness().WaitForInputGate();
    ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_SELECT, S::BACK));
    EXPECT_EQ(m_fixture.GetFlow().GetCurrentScreenId(), SCREEN_SHIP_SELECT);
    m_fixture.GetFlow().GetDirector().SetTutorialStep(-1);
    ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_SELECT, S::BACK));
    EXPECT_EQ(m_fixture.GetFlow().GetCurrentScreenId(), SCREEN_HUB);
}

TEST_F(ShipScreensTest, LeavingByEscapeStillCommitsTheNewDesign)
{
    Campaign().AddStoredItem(COMPONENT_HULL, SPARROW);
    BuildNewDesign(2, u"Kestrel");
    m_fixture.GetHarness().TapKey(Dik::ESCAPE);
    m_fixture.GetHarness().RunFrame();
    EXPECT_EQ(m_fixture.GetFlow().GetCurrentScreenId(), SCREEN_HUB);
    EXPECT_EQ(Campaign().FindStoredItem(COMPONENT_HULL, SPARROW), -1);
    EXPECT_FALSE(Construct().IsNewDesign());
    ASSERT_NE(Database().GetShipConfig(2), nullptr);
}

TEST_F(ShipScreensTest, SellingAndDismantlingAskFirst)
{
    ASSERT_TRUE(CreateDesign(Campaign(), Database(), 2, "Kestrel"));
    ASSERT_TRUE(SetDesignHull(Campaign(), Database(), 2, SPARROW));
    ASSERT_TRUE(CreateDesign(Campaign(), Database(), 4, "Heron"));
    ASSERT_TRUE(SetDesignHull(Campaign(), Database(), 4, DART));
    m_fixture.GetState().ships[4].storedHealth = 20;
    m_fixture.GetHarness().GetGame().GetZones().SetCurrentShip(4);
    m_fixture.ShowScreen(SCREEN_SHIP_SELECT);
    EXPECT_EQ(Text(SCREEN_SHIP_SELECT, S::FIRST_CONDITION + 2), "Hull 25%");
    ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_SELECT, S::GetSlotButton(4)));
    EXPECT_EQ(Select().GetSlotInHand(), 4);
    EXPECT_EQ(m_fixture.GetFocusId(), S::MODIFY);
    // Dismantle, cancelled: nothing changes.
    ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_SELECT, S::DISMANTLE));
    ASSERT_EQ(Select().GetPending(), S::PENDING_DISMANTLE);
    EXPECT_EQ(m_fixture.GetFocusId(), S::CANCEL);
    m_fixture.GetHarness().WaitForInputGate();
    ASSERT_TRUE(m_fixture.ActInPopup(SCREEN_SHIP_SELECT, S::CANCEL));
    EXPECT_NE(Database().GetShipConfig(4), nullptr);
    // Dismantled: the dart's hull is in the stores, the current ship is ship 1.
    ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_SELECT, S::GetSlotButton(4)));
    ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_SELECT, S::DISMANTLE));
    m_fixture.GetHarness().WaitForInputGate();
    ASSERT_TRUE(m_fixture.ActInPopup(SCREEN_SHIP_SELECT, S::CONFIRM));
    EXPECT_EQ(Database().GetShipConfig(4), nullptr);
    EXPECT_GE(Campaign().FindStoredItem(COMPONENT_HULL, DART), 0);
    EXPECT_EQ(m_fixture.GetHarness().GetGame().GetZones().GetCurrentShip(), FALLBACK_SHIP);
    EXPECT_EQ(Text(SCREEN_SHIP_SELECT, S::GetSlotButton(4)), Shown(0x24000001));
    // Sold: the sparrow's hull (40, 0, 0) pays 20.
    ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_SELECT, S::GetSlotButton(2)));
    ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_SELECT, S::SELL));
    m_fixture.GetHarness().WaitForInputGate();
    ASSERT_TRUE(m_fixture.ActInPopup(SCREEN_SHIP_SELECT, S::CONFIRM));
    EXPECT_EQ(Database().GetShipConfig(2), nullptr);
    EXPECT_EQ(m_fixture.GetState().gems.count[GEM_NORMAL], 20);
}
} // namespace

namespace
{
// A whole stay between flights: from the bridge the research screen builds a cargo pod
// over zone time, the stores list it, a new ship is named, built on a stored hull and
// fitted with it, and the in-game menu of the next flight offers the ship.
TEST_F(ShipScreensTest, AManufacturedPartIsFittedOnANewShipThatTheInGameMenuOffers)
{
    Campaign().AddStoredItem(COMPONENT_HULL, SPARROW);
    m_fixture.SetGems(60, 5, 0);
    m_fixture.ShowScreen(SCREEN_HUB);
    ASSERT_TRUE(m_fixture.Act(SCREEN_HUB, 5004)); // research
    ASSERT_EQ(m_fixture.GetFlow().GetCurrentScreenId(), SCREEN_RESEARCH);
    m_fixture.GetHarness().WaitForInputGate();
    ASSERT_TRUE(m_fixture.Act(SCREEN_RESEARCH, CResearchScreen::MANUFACTURE_TAB));
    for (int i = 0; i < COMPONENT_KIND_COUNT; ++i)
        m_fixture.Act(SCREEN_RESEARCH, CResearchScreen::KIND_LIST, GUI_ACTION_LEFT);
    auto& research = *static_cast<CResearchScreen*>(m_fixture.GetFlow().GetScreen(SCREEN_RESEARCH));
    for (int i = 0; i < COMPONENT_KIND_COUNT && research.GetSelectedKind() != COMPONENT_CARGO; ++i)
        m_fixture.Act(SCREEN_RESEARCH, CResearchScreen::KIND_LIST, GUI_ACTION_RIGHT);
    ASSERT_EQ(research.GetSelectedKind(), COMPONENT_CARGO);
    const int32_t cargo = research.GetSelectedDefinition();
    ASSERT_GE(cargo, 0);
    for (int i = 0; i < 5; ++i)
        m_fixture.Act(SCREEN_RESEARCH, CResearchScreen::CREW, GUI_ACTION_RIGHT);
    ASSERT_TRUE(m_fixture.Act(SCREEN_RESEARCH, CResearchScreen::START));
    const SWorkSlot& slot = m_fixture.GetState().manufactureSlot;
    ASSERT_TRUE(slot.IsActive());
    // Zone time passes (a flight's), 10 s at a time, until the pod is built.
    uint32_t clock = slot.startTime;
    for (int step = 0; step < 200 && slot.IsActive(); ++step)
        Campaign().AdvanceResearch(clock += CCampaign::SLOT_STEP_MIN_MS);
    ASSERT_FALSE(slot.IsActive());

    // The stores list it.
    m_fixture.ShowScreen(SCREEN_STORES);
    bool listed = false;
    for (int row = 0; row < CStoresScreen::ROWS; ++row)
    {
        const int record = static_cast<CStoresScreen*>(m_fixture.GetFlow().GetScreen(SCREEN_STORES))->GetRowRecord(row);
        listed = listed || (record >= 0 && m_fixture.GetState().store[record].kind == COMPONENT_CARGO &&
                            m_fixture.GetState().store[record].definition == cargo);
    }
    EXPECT_TRUE(listed);

    // A new ship in bay 4 with the cargo pod in an inner slot.
    m_fixture.ShowScreen(SCREEN_HUB);
    ASSERT_TRUE(m_fixture.Act(SCREEN_HUB, 5003)); // ship select
    ASSERT_EQ(m_fixture.GetFlow().GetCurrentScreenId(), SCREEN_SHIP_SELECT);
    m_fixture.GetHarness().WaitForInputGate();
    ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_SELECT, S::GetSlotButton(4)));
    m_fixture.GetHarness().WaitForInputGate();
    TypeName(u"Kestrel");
    ASSERT_EQ(m_fixture.GetFlow().GetCurrentScreenId(), SCREEN_SHIP_CONSTRUCT);
    m_fixture.GetHarness().WaitForInputGate();
    AddComponent(COMPONENT_CARGO, 0, 1);
    const CShipConfig* design = Database().GetShipConfig(4);
    ASSERT_NE(design, nullptr);
    EXPECT_EQ(design->m_pods[design->FindPodAt(CVector2D(0.0f, 1.0f))].m_kind, COMPONENT_CARGO);
    ASSERT_TRUE(m_fixture.Act(SCREEN_SHIP_CONSTRUCT, C::DONE));
    EXPECT_EQ(Campaign().FindStoredItem(COMPONENT_CARGO, cargo), -1);

    // The next flight's in-game menu offers it as ship 4.
    m_fixture.GetFlow().SetMode(GAME_MODE_FLIGHT);
    m_fixture.GetHarness().RunFrame();
    ASSERT_EQ(m_fixture.GetFlow().GetMode(), GAME_MODE_FLIGHT);
    m_fixture.GetFlow().SetMode(GAME_MODE_IN_GAME_MENU);
    m_fixture.GetHarness().WaitForInputGate();
    const CScreenLayout& menu = m_fixture.GetPage(SCREEN_IN_GAME);
    EXPECT_TRUE(menu.IsEnabled(CInGameScreen::FIRST_SHIP + 3));
    EXPECT_EQ(menu.GetText(CInGameScreen::FIRST_SHIP + 3), u"Kestrel");
    EXPECT_EQ(menu.GetText(CInGameScreen::FIRST_HULL + 3), u"100%");
}
} // namespace
