// What the sequence director hands to the layers around it, with the real director and
// the game's own pages and chat boxes: the bosses' go flags and the last boss's queen
// as the ships read and give them through the world's director link, and the GUI's
// focus given back to the screen under a chat box.

#include "frontend/DirectorPages.h"
#include "frontend/SequenceDirector.h"
#include "presentation/GuiControl.h"
#include "presentation/GuiManager.h"
#include "tests/support/frontend/FrontEndHarness.h"
#include "world/DirectorLink.h"
#include "world/Game.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
constexpr int BOSS_COUNT = 5;
// Main-menu buttons: New game (focused when the menu comes) and one further down.
constexpr int NEW_GAME_BUTTON = 2001;
constexpr int LOWER_BUTTON = 2006;

class DirectorHandOverTest : public ::testing::Test
{
protected:
    DirectorHandOverTest()
    {
        m_director = std::make_unique<CSequenceDirector>(m_harness.GetGame(), m_harness.GetFlow(), m_pages);
        m_director->Install();
    }
    ~DirectorHandOverTest() override
    {
        m_pages.CloseChatBox();
        m_director.reset();
    }

    // The link the world's objects call, not the director's own face.
    CDirectorLink& Link() { return m_harness.GetGame().GetDirector(); }

    int HandleOf(int controlId) const
    {
        int handle = -1;
        return g_gui && g_gui->FindControlById(controlId, handle) ? handle : -1;
    }

    CFrontEndHarness m_harness;
    CDirectorPages m_pages;
    std::unique_ptr<CSequenceDirector> m_director;
};
} // namespace

TEST_F(DirectorHandOverTest, ABossesGoFlagStandsOnlyOnceTheDirectorHasRaisedIt)
{
    ASSERT_EQ(&Link(), static_cast<CDirectorLink*>(m_director.get()));
    // A new game holds every boss back (the stand-in without a director lets all go).
    m_director->ResetForNewGame();
    for (int boss = 0; boss < BOSS_COUNT; ++boss)
        EXPECT_FALSE(Link().IsFlagRaised(DIRECTOR_BOSS_CHAT, DIRECTOR_BOSS_GO_FIRST + boss)) << boss;

    // Zone 2's boss: its flag alone, and not the same byte of another group.
    Link().RaiseFlag(DIRECTOR_BOSS_CHAT, DIRECTOR_BOSS_GO_FIRST + 2);
    for (int boss = 0; boss < BOSS_COUNT; ++boss)
        EXPECT_EQ(Link().IsFlagRaised(DIRECTOR_BOSS_CHAT, DIRECTOR_BOSS_GO_FIRST + boss), boss == 2) << boss;
    EXPECT_FALSE(Link().IsFlagRaised(DIRECTOR_VISIT_CHAT, DIRECTOR_BOSS_GO_FIRST + 2));
    // Flags outside the group are never raised, whatever is asked.
    for (int flag : {-1, static_cast<int>(CSequenceDirector::BOSS_BYTES), 1000})
    {
        Link().RaiseFlag(DIRECTOR_BOSS_CHAT, flag);
        EXPECT_FALSE(Link().IsFlagRaised(DIRECTOR_BOSS_CHAT, flag)) << flag;
    }

    // A save keeps them: a director that reads the block lets the same boss go.
    std::vector<uint8_t> block;
    m_director->WriteState(block);
    CSequenceDirector loaded(m_harness.GetGame(), m_harness.GetFlow(), m_pages);
    ASSERT_TRUE(loaded.ReadState(block.data(), block.size()));
    for (int boss = 0; boss < BOSS_COUNT; ++boss)
        EXPECT_EQ(loaded.IsFlagRaised(DIRECTOR_BOSS_CHAT, DIRECTOR_BOSS_GO_FIRST + boss), boss == 2) << boss;

    // The campaign's end raises them all.
    m_director->SetBossGoFlags();
    for (int boss = 0; boss < BOSS_COUNT; ++boss)
        EXPECT_TRUE(Link().IsFlagRaised(DIRECTOR_BOSS_CHAT, DIRECTOR_BOSS_GO_FIRST + boss)) << boss;
}

TEST_F(DirectorHandOverTest, TheQueenHandedOverIsTheDirectorsUntilANewGameOrALoad)
{
    EXPECT_EQ(m_director->GetQueenHandle(), -1);
    Link().SetQueenHandle(77);
    EXPECT_EQ(m_director->GetQueenHandle(), 77);
    // Her events are not saved: a load starts without her, as a new game does.
    std::vector<uint8_t> block;
    m_director->WriteState(block);
    ASSERT_TRUE(m_director->ReadState(block.data(), block.size()));
    EXPECT_EQ(m_director->GetQueenHandle(), -1);
    Link().SetQueenHandle(78);
    m_director->ResetForNewGame();
    EXPECT_EQ(m_director->GetQueenHandle(), -1);
}

TEST_F(DirectorHandOverTest, AClosedChatBoxGivesTheFocusBackToTheControlThatHadIt)
{
    m_harness.RunFrames(1);
    ASSERT_EQ(m_harness.GetFocusId(), NEW_GAME_BUTTON);
    const int lower = HandleOf(LOWER_BUTTON);
    ASSERT_GE(lower, 0);
    ASSERT_TRUE(g_gui->SetFocus(lower));

    ASSERT_TRUE(m_pages.ShowChatBox("feTut0.txt"));
    EXPECT_EQ(m_harness.GetFocusId(), CDirectorPages::CHAT_OK);
    EXPECT_FALSE(m_pages.IsChatBoxAcknowledged());
    m_pages.CloseChatBox();
    EXPECT_EQ(m_harness.GetFocusId(), LOWER_BUTTON) << "not the first control of the menu's layer";
    EXPECT_TRUE(m_pages.IsChatBoxAcknowledged());
}

TEST_F(DirectorHandOverTest, AChatBoxGivesNoFocusBackToAControlThatHasGoneOutOfSight)
{
    m_harness.RunFrames(1);
    const int lower = HandleOf(LOWER_BUTTON);
    ASSERT_GE(lower, 0);
    ASSERT_TRUE(g_gui->SetFocus(lower));
    ASSERT_TRUE(m_pages.ShowChatBox("feTut0.txt"));
    g_gui->GetControl(lower)->SetVisible(false);
    m_pages.CloseChatBox();
    EXPECT_NE(m_harness.GetFocusId(), LOWER_BUTTON);
}

TEST_F(DirectorHandOverTest, AChatBoxShownOverAnotherKeepsTheFocusOfTheScreenUnderBoth)
{
    m_harness.RunFrames(1);
    const int lower = HandleOf(LOWER_BUTTON);
    ASSERT_GE(lower, 0);
    ASSERT_TRUE(g_gui->SetFocus(lower));
    const GuiEventCallback screens = g_gui->GetEventCallback();
    ASSERT_TRUE(m_pages.ShowChatBox("feTut0.txt"));
    // The second box replaces the first before its OK: what it gives back is still the
    // screen's, not the first box's button.
    ASSERT_TRUE(m_pages.ShowChatBox("feTut1.txt"));
    m_pages.CloseChatBox();
    EXPECT_EQ(m_harness.GetFocusId(), LOWER_BUTTON);
    EXPECT_EQ(g_gui->GetEventCallback(), screens);
}
