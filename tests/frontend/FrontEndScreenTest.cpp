// The screen base: the input gate after Show, popups and their end with the screen,
// layouts without their page window, and the clock's wrap.

#include "frontend/FrontEndScreen.h"
#include "frontend/ScreenIds.h"
#include "presentation/GuiControl.h"
#include "presentation/GuiManager.h"
#include "tests/support/TempDir.h"
#include "tests/support/frontend/FrontEndHarness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

namespace
{
constexpr int SCREEN = SCREEN_OPTIONS;

// A page 14000 with a button, or without its page window; a popup 100 with 102 and 103.
void WriteLayouts(const std::string& folder)
{
    std::ofstream(folder + "/page.txt") << "page\n{\n\twindow\n\t{\n\t\tx\t0\n\t\ty\t0\n\t\tw\t640\n\t\th\t480\n"
                                           "\t\tcontrolid\t14000\n\t\twindow\n\t\t{\n\t\t\tcontrolid\t14001\n"
                                           "\t\t\tx\t10\n\t\t\ty\t10\n\t\t\tw\t50\n\t\t\th\t20\n\t\t}\n\t}\n}\n";
    std::ofstream(folder + "/nopage.txt") << "page\n{\n\twindow\n\t{\n\t\tx\t0\n\t\ty\t0\n\t\tw\t64\n\t\th\t48\n"
                                             "\t\tcontrolid\t777\n\t}\n}\n";
    std::ofstream(folder + "/popup.txt") << "popup\n{\n\twindow\n\t{\n\t\tx\t100\n\t\ty\t100\n\t\tw\t200\n\t\th\t100\n"
                                            "\t\tcontrolid\t100\n\t\tlayer\t3\n\t}\n}\n";
}

class CRecordingScreen : public CFrontEndScreen
{
public:
    // The file name must outlive the screen.
    CRecordingScreen(CGameFlow& flow, const std::string& layout) : CFrontEndScreen(flow, SCREEN, layout.c_str()) {}
    void Show() override
    {
        ShowPage();
        ArmInputGate();
    }
    bool Open(const std::string& file) { return OpenPopup(file.c_str(), POPUP_CONFIRM); }
    void Close() { ClosePopup(-1); }

    std::vector<int32_t> m_events;

protected:
    void HandleEvent(int32_t controlId, int32_t, int32_t) override { m_events.push_back(controlId); }
};

class FrontEndScreenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteLayouts(m_folder.GetPath());
        m_page = m_folder.GetPath() + "/page.txt";
        m_noPage = m_folder.GetPath() + "/nopage.txt";
        m_popupFile = m_folder.GetPath() + "/popup.txt";
    }

    CTempDir m_folder;
    std::string m_page, m_noPage, m_popupFile;
    CFrontEndHarness m_harness{false};
};
} // namespace

TEST_F(FrontEndScreenTest, AnEventBeforeTheGatePassesIsIgnoredAndOneAfterActs)
{
    CRecordingScreen screen(m_harness.GetFlow(), m_page);
    screen.Load();
    screen.Show();
    const uint32_t shown = m_harness.GetClock().GetMs();
    m_harness.GetClock().Set(shown + 200);
    m_harness.Activate(SCREEN, 14001);
    EXPECT_TRUE(screen.m_events.empty());
    m_harness.GetClock().Set(shown + 260);
    m_harness.Activate(SCREEN, 14001);
    ASSERT_EQ(screen.m_events.size(), 1u);
    EXPECT_EQ(screen.m_events[0], 14001);
}

TEST_F(FrontEndScreenTest, TheGateHoldsAcrossTheWrapOfTheRealClock)
{
    CRecordingScreen screen(m_harness.GetFlow(), m_page);
    screen.Load();
    m_harness.GetClock().Set(0xFFFFFFF0u);
    screen.Show();
    // The gate lies past the wrap, at 0x000000EA.
    m_harness.GetClock().Set(0xFFFFFFFFu);
    EXPECT_FALSE(screen.IsInputGateOpen());
    m_harness.GetClock().Set(0x00000010u);
    EXPECT_FALSE(screen.IsInputGateOpen());
    m_harness.GetClock().Set(0x00000100u);
    EXPECT_TRUE(screen.IsInputGateOpen());
}

TEST_F(FrontEndScreenTest, HidingWithAPopupOpenDestroysItAndShowingAgainStartsWithout)
{
    CRecordingScreen screen(m_harness.GetFlow(), m_page);
    screen.Load();
    screen.Show();
    ASSERT_TRUE(screen.Open(m_popupFile));
    EXPECT_TRUE(screen.IsPopupOpen());
    EXPECT_EQ(m_harness.CountWindows(POPUP_WINDOW), 1);
    screen.Hide();
    EXPECT_FALSE(screen.IsPopupOpen());
    m_harness.RunFrame(); // closed controls are deleted at the end of the GUI's step
    EXPECT_EQ(m_harness.CountWindows(POPUP_WINDOW), 0);
    EXPECT_FALSE(screen.GetPage().IsVisible(14000));
    screen.Hide(); // a second Hide is harmless
    screen.Show();
    EXPECT_FALSE(screen.IsPopupOpen());
    EXPECT_TRUE(screen.GetPage().IsVisible(14000));
}

TEST_F(FrontEndScreenTest, OpeningASecondPopupClosesTheFirst)
{
    CRecordingScreen screen(m_harness.GetFlow(), m_page);
    screen.Load();
    screen.Show();
    ASSERT_TRUE(screen.Open(m_popupFile));
    ASSERT_TRUE(screen.Open(m_popupFile));
    m_harness.RunFrame();
    EXPECT_EQ(m_harness.CountWindows(POPUP_WINDOW), 1);
    screen.Close();
    m_harness.RunFrame();
    EXPECT_EQ(m_harness.CountWindows(POPUP_WINDOW), 0);
}

TEST_F(FrontEndScreenTest, ALayoutWithoutItsPageWindowStillLoadsAndNothingIsHidden)
{
    CRecordingScreen screen(m_harness.GetFlow(), m_noPage);
    screen.Load();
    ASSERT_EQ(screen.GetPage().GetHandles().size(), 1u);
    // The layout's windows start hidden; Load hides no other control.
    EXPECT_EQ(screen.GetPage().FindHandle(14000), -1);
    screen.Show();
    EXPECT_FALSE(screen.IsInputGateOpen());
}

TEST_F(FrontEndScreenTest, AScreenGoesWithItsPageAndPopup)
{
    {
        CRecordingScreen screen(m_harness.GetFlow(), m_page);
        screen.Load();
        screen.Show();
        screen.Open(m_popupFile);
    }
    m_harness.RunFrame();
    EXPECT_EQ(m_harness.CountWindows(14000), 0);
    EXPECT_EQ(m_harness.CountWindows(POPUP_WINDOW), 0);
    // An event for the gone screen reaches nothing.
    m_harness.Activate(SCREEN, 14001);
}
