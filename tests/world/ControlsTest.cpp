#include "core/RealTimeClock.h"
#include "tests/support/world/WorldHarness.h"
#include "world/Controls.h"

#include <gtest/gtest.h>

namespace
{
constexpr int KEY_UP = 200;

// A joystick with one axis pair of range 0..1000 (centre 500) and four buttons.
class CJoystickInput : public CScriptedInput
{
public:
    bool GetJoystickState(int n, SJoystickState* state) override
    {
        if (n != 0)
            return false;
        *state = {};
        state->numAxisPairs = 1;
        state->numButtons = 4;
        state->axes[0][0] = x;
        state->axes[0][1] = y;
        state->buttons[0] = button0 ? 0x80 : 0;
        return true;
    }
    bool GetJoystickAxisRange(int n, int pair, int32_t* min1, int32_t* max1, int32_t* min2, int32_t* max2) override
    {
        if (n != 0 || pair != 0)
            return false;
        *min1 = *min2 = 0;
        *max1 = *max2 = 1000;
        return true;
    }
    int32_t x = 500;
    int32_t y = 500;
    bool button0 = false;
};

struct SStep
{
    uint32_t time;
    bool key;
    bool down, held, repressed;
};

void RunTimeline(const char* what, const std::vector<SStep>& steps)
{
    CControls controls;
    controls.SetDefaultKeys();
    CScriptedInput input;
    for (const SStep& step : steps)
    {
        input.SetKey(KEY_UP, step.key);
        controls.Poll(&input, step.time);
        const SControlAction& action = controls.GetAction(4);
        EXPECT_EQ(action.down, step.down) << what << " at " << step.time;
        EXPECT_EQ(action.held, step.held) << what << " at " << step.time;
        EXPECT_EQ(action.repressed, step.repressed) << what << " at " << step.time;
    }
}
} // namespace

TEST(Controls, HoldAndRepeatOnTheGameClock)
{
    // time, key, then down, held, repressed after the poll.
    RunTimeline("held past 250 ms: down, then held with down cleared",
                {{0, true, true, false, false},
                 {40, true, true, false, false},
                 {240, true, true, false, false},
                 {280, true, false, true, false},
                 {320, true, false, true, false},
                 {360, false, false, false, false}});
    RunTimeline("paused: the clock stands, nothing ages",
                {{40, true, true, false, false},
                 {40, true, true, false, false},
                 {40, true, true, false, false},
                 {40, true, true, false, false},
                 {40, true, true, false, false},
                 {40, true, true, false, false},
                 {40, true, true, false, false},
                 {40, true, true, false, false}});
    RunTimeline("a tap, then a press more than 250 ms after its release",
                {{0, true, true, false, false},
                 {40, false, false, false, false},
                 {200, true, true, false, false},  // 160 ms after the release: no
                 {240, false, false, false, false}, // a new release at 240
                 {520, true, true, false, true},   // 280 ms after it
                 {560, true, true, false, false}});
    RunTimeline("a release after a hold is not noted",
                {{0, true, true, false, false},
                 {280, true, false, true, false},
                 {320, false, false, false, false},
                 {640, true, true, false, false}});
}

TEST(Controls, UnboundActionsAndTheKeyboardSwitch)
{
    CControls controls;
    CScriptedInput input;
    for (int key = 0; key < 256; ++key)
        input.SetKey(key, true);
    controls.Reset();
    controls.Poll(&input, 0);
    for (int i = 0; i < CControls::ACTION_COUNT; ++i)
        EXPECT_FALSE(controls.GetAction(i).down) << i;
    controls.SetDefaultKeys();
    controls.SetKeyboardEnabled(false);
    controls.Poll(&input, 40);
    EXPECT_FALSE(controls.GetAction(0).down);
    controls.SetKeyboardEnabled(true);
    controls.Poll(&input, 80);
    EXPECT_TRUE(controls.GetAction(0).down);
    EXPECT_TRUE(controls.GetAction(8).down);
    EXPECT_FALSE(controls.GetAction(9).down); // no such action
}

TEST(Controls, AFlushLocksInputOutForRealTime)
{
    CManualClock clock;
    SetRealTimeClock(&clock);
    CControls controls;
    controls.SetDefaultKeys();
    CScriptedInput input;
    input.SetKey(KEY_UP, true);
    controls.Poll(&input, 0);
    ASSERT_TRUE(controls.GetAction(4).down);

    clock.Set(1000);
    controls.Flush(10);
    EXPECT_FALSE(controls.GetAction(4).down);
    clock.Set(1249);
    controls.Poll(&input, 40);
    EXPECT_FALSE(controls.GetAction(4).down) << "locked out";
    clock.Set(1250);
    controls.Poll(&input, 80);
    EXPECT_TRUE(controls.GetAction(4).down);

    // A flush on the very next frame neither clears nor locks again.
    controls.Flush(11);
    EXPECT_TRUE(controls.GetAction(4).down);
    controls.Poll(&input, 120);
    EXPECT_TRUE(controls.GetAction(4).down);
    controls.Flush(13);
    EXPECT_FALSE(controls.GetAction(4).down);
    controls.Poll(&input, 160);
    EXPECT_FALSE(controls.GetAction(4).down);
    SetRealTimeClock(nullptr);
}

TEST(Controls, JoystickButtonsAndAxesBeyondTheDeadZone)
{
    CControls controls;
    CJoystickInput input;
    controls.SetJoystick(0);
    controls.SetDeadZoneStep(2); // 2 x 5% of the half range 500: 50
    struct SCase
    {
        int32_t x, y;
        bool button;
        int action;
        bool down;
    } cases[] = {
        {550, 500, false, 7, false}, // right: exactly at the dead zone
        {551, 500, false, 7, true},
        {449, 500, false, 6, true},  // left
        {450, 500, false, 6, false},
        {500, 449, false, 4, true},  // thrust: up on the second axis
        {500, 551, false, 5, true},  // reverse
        {500, 500, true, 0, true},   // button 0
        {500, 500, false, 0, false},
    };
    for (const SCase& c : cases)
    {
        input.x = c.x;
        input.y = c.y;
        input.button0 = c.button;
        controls.Reset(); // keys unbound: only the joystick counts
        controls.Poll(&input, 0);
        EXPECT_EQ(controls.GetAction(c.action).down, c.down) << c.x << "," << c.y << " action " << c.action;
    }
    // No joystick chosen: none of it counts.
    controls.SetJoystick(-1);
    input.button0 = true;
    controls.Reset();
    controls.Poll(&input, 0);
    EXPECT_FALSE(controls.GetAction(0).down);
}

TEST(Controls, TheHarnessScriptsKeysByFrame)
{
    CWorldHarness harness;
    ASSERT_TRUE(harness.StartLevel());
    harness.ScriptKey(2, KEY_UP, true);
    harness.ScriptKey(4, KEY_UP, false);
    harness.RunFrames(2);
    EXPECT_FALSE(harness.GetGame().GetControls().GetAction(4).down);
    harness.RunFrame();
    EXPECT_TRUE(harness.GetGame().GetControls().GetAction(4).down);
    harness.RunFrames(2);
    EXPECT_FALSE(harness.GetGame().GetControls().GetAction(4).down);
}
