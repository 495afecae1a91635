// The controls screen with the game's layout, driven by keys as a player presses
// them: a row takes the key pressed and the action that held it takes the row's old
// one, Escape keeps the old key (and leaves the screen alone), keys the row may not
// take are passed over, a joystick's button or axis binds the same way, and leaving
// the screen writes the key map.

#include "frontend/ControlsScreen.h"
#include "frontend/KeyMap.h"
#include "frontend/Options.h"
#include "platform/input/DikCodes.h"
#include "tests/support/frontend/FrontEndHarness.h"
#include "world/Controls.h"
#include "world/Game.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
constexpr int ROW_BUTTON = CControlsScreen::FIRST_ROW;
constexpr uint8_t KEY_Q = 16, KEY_W = 17, KEY_E = 18, KEY_R = 19, KEY_SPACE = 0x39;

class ControlsScreenTest : public ::testing::Test
{
protected:
    ControlsScreenTest()
    {
        m_harness.RunFrames(1);
        m_harness.GetFlow().SetScreen(SCREEN_CONTROLS);
        m_harness.WaitForInputGate();
    }

    CControlsScreen& GetScreen()
    {
        return *static_cast<CControlsScreen*>(m_harness.GetFlow().GetScreen(SCREEN_CONTROLS));
    }
    SKeyMap& GetMap() { return m_harness.GetFlow().GetOptions().GetKeyMap(); }
    CControls& GetControls() { return m_harness.GetGame().GetControls(); }

    // A key tapped for the GUI, which acts on it in the frame after. (The capture
    // reads the keyboard itself, in the frame of the tap.)
    void TapForGui(int code)
    {
        m_harness.TapKey(code);
        m_harness.RunFrames(1);
    }

    // Down moves the focus a row at a time; Return starts the capture, as a player
    // does it.
    void StartCaptureByKeys(int row)
    {
        for (int i = 0; i < row; ++i)
            TapForGui(Dik::DOWN);
        ASSERT_EQ(m_harness.GetFocusId(), ROW_BUTTON + 3 * row);
        TapForGui(Dik::RETURN);
        ASSERT_EQ(GetScreen().GetCaptureRow(), row);
        m_harness.RunFrames(CControlsScreen::CAPTURE_WAIT_FRAMES);
    }

    // The key map as written in the user folder.
    SKeyMap ReadSavedMap()
    {
        SKeyMap map;
        const std::string path = m_harness.GetUserFolder().Join("tessavar/data/keymap.dat");
        EXPECT_EQ(LoadKeyMapFile(path.c_str(), nullptr, map), EKeyMapRead::Read);
        return map;
    }

    CFrontEndHarness m_harness;
};
} // namespace

TEST_F(ControlsScreenTest, ARowTakesThePressedKeyAndItsHolderTakesTheOldOne)
{
    StartCaptureByKeys(2);
    // The row buttons wait, and the focus has left them.
    for (int row = 0; row < CControlsScreen::ROWS; ++row)
    {
        EXPECT_FALSE(GetScreen().GetPage().IsEnabled(ROW_BUTTON + 3 * row));
        EXPECT_NE(m_harness.GetFocusId(), ROW_BUTTON + 3 * row);
    }

    // Up belongs to thrust (action 4): the beam (row 2) takes it, thrust takes E.
    m_harness.TapKey(Dik::UP);
    EXPECT_EQ(GetScreen().GetCaptureRow(), -1);
    EXPECT_EQ(GetMap().keys[2], Dik::UP);
    EXPECT_EQ(GetMap().keys[4], KEY_E);
    // The game's controls have them at once, and the row shows its key's name.
    EXPECT_EQ(GetControls().GetKey(2), Dik::UP);
    EXPECT_EQ(GetControls().GetKey(4), KEY_E);
    const CScreenLayout& page = GetScreen().GetPage();
    EXPECT_EQ(page.GetText(ROW_BUTTON + 3 * 2 + 1), u"Up");
    EXPECT_EQ(page.GetText(ROW_BUTTON + 3 * 4 + 1), u"E");
    EXPECT_TRUE(page.IsEnabled(ROW_BUTTON + 3 * 5));
    EXPECT_EQ(m_harness.GetFocusId(), ROW_BUTTON + 3 * 2);

    // A key no other action holds simply replaces the row's.
    m_harness.RunFrames(8);
    TapForGui(Dik::RETURN);
    ASSERT_EQ(GetScreen().GetCaptureRow(), 2);
    m_harness.RunFrames(CControlsScreen::CAPTURE_WAIT_FRAMES);
    m_harness.TapKey(KEY_SPACE);
    EXPECT_EQ(GetMap().keys[2], KEY_SPACE);
    EXPECT_EQ(GetMap().keys[4], KEY_E);

    // Leaving the screen writes the key map.
    m_harness.RunFrames(8);
    m_harness.TapKey(Dik::ESCAPE);
    m_harness.RunFrames(1);
    EXPECT_EQ(m_harness.GetFlow().GetCurrentScreenId(), SCREEN_MAIN_MENU);
    const SKeyMap saved = ReadSavedMap();
    const int32_t expected[9] = {KEY_Q, KEY_W, KEY_SPACE, KEY_R, KEY_E, Dik::DOWN, Dik::LEFT, Dik::RIGHT, Dik::RETURN};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(saved.keys[i], expected[i]) << "action " << i;
}

TEST_F(ControlsScreenTest, EscapeEndsTheCaptureWithTheOldKeyAndStaysOnTheScreen)
{
    StartCaptureByKeys(1);
    m_harness.PressKey(Dik::ESCAPE);
    m_harness.RunFrames(10);
    EXPECT_EQ(GetScreen().GetCaptureRow(), -1);
    EXPECT_EQ(m_harness.GetFlow().GetCurrentScreenId(), SCREEN_CONTROLS);
    EXPECT_EQ(GetMap().keys[1], KEY_W);
    EXPECT_EQ(GetControls().GetKey(1), KEY_W);
    EXPECT_TRUE(m_harness.GetFlow().GetOptions().IsCapturing()) << "Escape still held";

    // Once it is let go, Escape leads back again.
    m_harness.ReleaseKey(Dik::ESCAPE);
    m_harness.RunFrames(10);
    EXPECT_EQ(m_harness.GetFlow().GetCurrentScreenId(), SCREEN_CONTROLS);
    m_harness.TapKey(Dik::ESCAPE);
    m_harness.RunFrames(1);
    EXPECT_EQ(m_harness.GetFlow().GetCurrentScreenId(), SCREEN_MAIN_MENU);
}

TEST_F(ControlsScreenTest, TheConfirmKeyAndForLaterRowsTheSelectKeyAreNotTaken)
{
    StartCaptureByKeys(3);
    // Return (action 8) and Q (action 0, the GUI's select) are held: still waiting.
    m_harness.PressKey(Dik::RETURN);
    m_harness.PressKey(KEY_Q);
    m_harness.RunFrames(3);
    EXPECT_EQ(GetScreen().GetCaptureRow(), 3);
    // Down, held with them, is taken: reverse (action 5) gets R.
    m_harness.PressKey(Dik::DOWN);
    m_harness.RunFrames(1);
    EXPECT_EQ(GetScreen().GetCaptureRow(), -1);
    EXPECT_EQ(GetMap().keys[3], Dik::DOWN);
    EXPECT_EQ(GetMap().keys[5], KEY_R);
    EXPECT_EQ(GetMap().keys[0], KEY_Q);
    EXPECT_EQ(GetMap().keys[8], Dik::RETURN);
}

// The first row may take the select key's place: W for fire group 1 gives group 2 Q.
TEST_F(ControlsScreenTest, TheFirstRowSwapsWithAnyKeyButConfirm)
{
    StartCaptureByKeys(0);
    m_harness.TapKey(KEY_W);
    EXPECT_EQ(GetMap().keys[0], KEY_W);
    EXPECT_EQ(GetMap().keys[1], KEY_Q);
}

TEST(ControlsScreenJoystick, AButtonOrAnAxisBeyondTheDeadZoneBindsAndSwaps)
{
    CFrontEndHarness harness;
    SScriptedJoystick pad;
    pad.state.numAxisPairs = 2;
    pad.state.numButtons = 8;
    harness.GetWorld().GetInput().m_joysticks.push_back(pad);
    harness.RunFrames(1);
    COptions& options = harness.GetFlow().GetOptions();
    SKeyMap& map = options.GetKeyMap();
    map.joystick = 0;
    map.deadZoneStep = 4; // 20% of the half range of -1000 to 1000: 200
    options.ApplyKeyMap();
    harness.GetFlow().SetScreen(SCREEN_CONTROLS);
    harness.WaitForInputGate();
    auto* screen = static_cast<CControlsScreen*>(harness.GetFlow().GetScreen(SCREEN_CONTROLS));
    SJoystickState& state = harness.GetWorld().GetInput().m_joysticks[0].state;

    struct SCase
    {
        const char* what;
        int row;
        int axisPair, axis, position; // the axis set; a button expected comes after it
        SJoystickBinding expected;
        int swappedAction; // the action that held the binding, -1 none
    };
    const SCase cases[] = {
        // Reverse's binding (pair 0, second axis, positive) goes to fire group 1,
        // reverse takes button 0.
        {"second axis pushed down", 0, 0, 1, 900, {0, false, true, false}, 5},
        {"axis within the dead zone, then a button", 2, 1, 0, 200, {6, true, false, false}, -1},
        {"first axis of pair 1 pushed left", 7, 1, 0, -201, {1, false, false, true}, -1},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.what);
        const SJoystickBinding old = map.bindings[c.row];
        harness.Activate(SCREEN_CONTROLS, CControlsScreen::FIRST_ROW + 3 * c.row);
        harness.RunFrames(CControlsScreen::CAPTURE_WAIT_FRAMES);
        state.axes[c.axisPair][c.axis] = c.position;
        harness.RunFrames(1);
        if (c.expected.isButton)
        {
            EXPECT_EQ(screen->GetCaptureRow(), c.row) << "an axis within the dead zone does not bind";
            state.buttons[6] = 0x80;
            harness.RunFrames(1);
        }
        EXPECT_EQ(screen->GetCaptureRow(), -1);
        EXPECT_TRUE(AreBindingsEqual(map.bindings[c.row], c.expected));
        EXPECT_TRUE(AreBindingsEqual(harness.GetGame().GetControls().GetBinding(c.row), c.expected));
        if (c.swappedAction >= 0)
        {
            EXPECT_TRUE(AreBindingsEqual(map.bindings[c.swappedAction], old));
        }
        state = pad.state;
        harness.RunFrames(8);
    }
    EXPECT_EQ(screen->GetPage().GetText(CControlsScreen::FIRST_ROW + 2), u"Joystick axis pair 0 down");
    EXPECT_EQ(screen->GetPage().GetText(CControlsScreen::FIRST_ROW + 3 * 2 + 2), u"B6");
    EXPECT_EQ(screen->GetPage().GetText(CControlsScreen::FIRST_ROW + 3 * 5 + 2), u"B0");
}
