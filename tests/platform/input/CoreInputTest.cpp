#include "platform/CoreInputDI.h"
#include "platform/input/SdlInputSource.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace
{
SDL_Event KeyEvent(SDL_Scancode scancode, bool down)
{
    SDL_Event event {};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.keysym.scancode = scancode;
    return event;
}

SDL_Event FocusEvent(bool gained)
{
    SDL_Event event {};
    event.type = SDL_WINDOWEVENT;
    event.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
    return event;
}

class CoreInputSdl : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CSdlInputSource::Get().SetFocus(true);
        CSdlInputSource::Get().ClearState();
    }
    CSdlInputSource& Source() { return CSdlInputSource::Get(); }
};
} // namespace

TEST_F(CoreInputSdl, KeysMouseAndFocus)
{
    CCoreInputDI8 input;
    ASSERT_TRUE(input.Init(nullptr));
    EXPECT_TRUE(input.IsKeyboardPresent());
    EXPECT_TRUE(input.IsMouseAttached());
    EXPECT_STREQ(GetKeyName(0x57), "F11");
    EXPECT_GT(GetKeyNameCount(), 100);

    Source().OnEvent(KeyEvent(SDL_SCANCODE_F11, true));
    Source().OnEvent(KeyEvent(SDL_SCANCODE_RCTRL, true));
    SDL_Event motion {};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.xrel = 5;
    motion.motion.yrel = -3;
    Source().OnEvent(motion);
    Source().OnEvent(motion);
    SDL_Event button {};
    button.type = SDL_MOUSEBUTTONDOWN;
    button.button.button = SDL_BUTTON_RIGHT;
    Source().OnEvent(button);
    input.Poll();

    EXPECT_TRUE(input.IsKeyDown(0x57));
    EXPECT_TRUE(input.IsKeyDown(0x9D));
    EXPECT_FALSE(input.IsKeyDown(0x1D));
    EXPECT_FALSE(input.IsKeyDown(-1));
    EXPECT_FALSE(input.IsKeyDown(256));
    int32_t x = 0, y = 0;
    input.GetMouseDelta(&x, &y);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, -6);
    bool left = true, right = false, middle = true;
    input.GetMouseButtons(&left, &right, &middle);
    EXPECT_FALSE(left);
    EXPECT_TRUE(right);
    EXPECT_FALSE(middle);

    // Movement is reported once: the next poll without events has none.
    input.Poll();
    input.GetMouseDelta(&x, &y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);

    // While the window is inactive the last active poll's keys stay.
    Source().OnEvent(FocusEvent(false));
    input.Poll();
    EXPECT_TRUE(input.IsKeyDown(0x57));

    // Back in focus the devices are acquired again and read the cleared state.
    Source().OnEvent(FocusEvent(true));
    input.Poll();
    EXPECT_FALSE(input.IsKeyDown(0x57));
    Source().OnEvent(KeyEvent(SDL_SCANCODE_A, true));
    input.Poll();
    EXPECT_TRUE(input.IsKeyDown(0x1E));
}

TEST_F(CoreInputSdl, WheelNotchesAndKeyUp)
{
    CCoreInputDI5 input;
    ASSERT_TRUE(input.Init(nullptr));
    SDL_Event wheel {};
    wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.y = -2;
    Source().OnEvent(wheel);
    int32_t x, y, z;
    Source().TakeMouseMotion(x, y, z);
    EXPECT_EQ(z, -240);

    Source().OnEvent(KeyEvent(SDL_SCANCODE_SPACE, true));
    input.Poll();
    EXPECT_TRUE(input.IsKeyDown(0x39));
    Source().OnEvent(KeyEvent(SDL_SCANCODE_SPACE, false));
    input.Poll();
    EXPECT_FALSE(input.IsKeyDown(0x39));
}
