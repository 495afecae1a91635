// The controls as the GUI takes them: a tap shorter than the controls' hold time acts
// once, and a long press acts at once and then every 350 ms.

#include "presentation/GuiManager.h"
#include "presentation/GuiWindow.h"
#include "tests/support/platform/VertexRecordingRenderer.h"
#include "tests/support/world/WorldHarness.h"
#include "world/Controls.h"
#include "world/GuiActions.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
constexpr int KEY_DOWN_ARROW = 0xD0; // action 5 (down) of the default keys

uint32_t s_now = 0;
uint32_t Clock()
{
    return s_now;
}

// A window that counts the down actions that reach it.
class CCountingWindow : public CGuiWindow
{
public:
    CCountingWindow() : CGuiWindow(SGuiWindowDesc()) {}
    void Action(int code) override
    {
        if (code == GUI_ACTION_DOWN)
            fired.push_back(frame);
    }
    std::vector<int> fired;
    int frame = 0;
};

// Frames of 40 ms in the order of the game's frame: the GUI with the actions of the
// last poll, then the poll (game clock and real time alike). The key is down in the
// frames given.
std::vector<int> RunFrames(int frames, const std::vector<int>& keyDownFrames)
{
    CVertexRecordingRenderer renderer;
    CGuiManager gui(renderer);
    gui.SetClock(&Clock);
    auto* window = new CCountingWindow();
    int handle = -1;
    EXPECT_TRUE(gui.AddControl(window, handle));
    gui.AddWindowToLayer(handle, 2);
    gui.SetFocus(-1);
    CControls controls;
    controls.SetDefaultKeys();
    CScriptedInput input;
    s_now = 100000;
    for (int frame = 0; frame < frames; ++frame)
    {
        s_now += 40;
        window->frame = frame;
        gui.SetActionInput(GetGuiActions(controls));
        gui.StampFrameTime();
        gui.Update();
        bool down = std::find(keyDownFrames.begin(), keyDownFrames.end(), frame) != keyDownFrames.end();
        input.SetKey(KEY_DOWN_ARROW, down);
        controls.Poll(&input, uint32_t(frame) * 40);
    }
    return window->fired;
}
} // namespace

TEST(GuiActions, PressedWhileDownOrHeld)
{
    CControls controls;
    controls.SetDefaultKeys();
    CScriptedInput input;
    input.SetKey(KEY_DOWN_ARROW, true);
    for (uint32_t t = 0; t <= 400; t += 40)
    {
        controls.Poll(&input, t);
        EXPECT_TRUE(GetGuiActions(controls).pressed[GUI_ACTION_DOWN]) << t;
        EXPECT_FALSE(GetGuiActions(controls).pressed[GUI_ACTION_UP]) << t;
    }
    EXPECT_TRUE(controls.GetAction(5).held); // past the hold time, down is cleared
    input.SetKey(KEY_DOWN_ARROW, false);
    controls.Poll(&input, 440);
    EXPECT_FALSE(GetGuiActions(controls).pressed[GUI_ACTION_DOWN]);
}

TEST(GuiActions, ATapActsOnceAndAPressRepeatsEvery350Milliseconds)
{
    // The key down in the poll of frame 2 only: the GUI acts in frame 3.
    EXPECT_EQ(RunFrames(12, {2}), (std::vector<int>{3}));
    // Two taps with a frame between them act twice.
    EXPECT_EQ(RunFrames(12, {2, 4}), (std::vector<int>{3, 5}));
    // Down in frames 2 to 21: acts in frame 3, then 9 frames (360 ms) later, twice.
    std::vector<int> held;
    for (int f = 2; f <= 21; ++f)
        held.push_back(f);
    EXPECT_EQ(RunFrames(25, held), (std::vector<int>{3, 12, 21}));
}
