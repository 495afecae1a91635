// Game controllers through SDL's virtual joysticks: a real SDL path with no hardware.

#include "core/DataTree.h"
#include "core/WString.h"
#include "platform/CoreInputDI.h"
#include "platform/input/SdlInputSource.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace
{
class VirtualJoystick : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
        m_index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 12, 1);
        ASSERT_GE(m_index, 0) << SDL_GetError();
        m_joystick = SDL_JoystickOpen(m_index);
        ASSERT_NE(m_joystick, nullptr);
    }
    void TearDown() override
    {
        if (m_joystick)
            SDL_JoystickClose(m_joystick);
        if (m_index >= 0)
            SDL_JoystickDetachVirtual(m_index);
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }
    void Set(int axis, Sint16 value) { SDL_JoystickSetVirtualAxis(m_joystick, axis, value); }

    int m_index = -1;
    SDL_Joystick* m_joystick = nullptr;
};
} // namespace

TEST_F(VirtualJoystick, Version8StateRangesAndHat)
{
    CCoreInputDI8 input;
    CDataTree settings;
    settings.AddBool("i_fudgezrelative", true);
    input.ReadSettings(&settings);
    ASSERT_TRUE(input.Init(nullptr));
    CWString name;
    ASSERT_TRUE(input.GetJoystickName(0, &name));
    EXPECT_GT(name.GetTextLength(), 0u);
    EXPECT_FALSE(input.GetJoystickName(1, &name));
    ASSERT_EQ(input.GetJoystickCount(), 1);
    EXPECT_TRUE(input.IsJoystickActive(0));
    EXPECT_FALSE(input.IsJoystickActive(1));
    EXPECT_FALSE(input.IsJoystickActive(-1));

    Set(0, 1000);   // x
    Set(1, -2000);  // y
    Set(2, 32767);  // z
    Set(5, -5);     // rz
    SDL_JoystickSetVirtualButton(m_joystick, 0, 1);
    SDL_JoystickSetVirtualButton(m_joystick, 11, 1);
    SDL_JoystickSetVirtualHat(m_joystick, 0, SDL_HAT_RIGHT);
    input.Poll();

    SJoystickState state {};
    ASSERT_TRUE(input.GetJoystickState(0, &state));
    // Six axes make three pairs; the hat makes a fourth.
    EXPECT_EQ(state.numAxisPairs, 4);
    EXPECT_EQ(state.numButtons, 12);
    EXPECT_EQ(state.axes[0][0], 1000);
    EXPECT_EQ(state.axes[0][1], -2000);
    EXPECT_EQ(state.axes[1][0], 32767);
    EXPECT_EQ(state.axes[2][1], -5);
    EXPECT_EQ(state.buttons[0], 0x80);
    EXPECT_EQ(state.buttons[1], 0);
    EXPECT_EQ(state.buttons[11], 0x80);
    EXPECT_EQ(state.pov, 9000);
    EXPECT_EQ(state.axes[3][0], 255);
    EXPECT_EQ(state.axes[3][1], 0);

    int32_t min1, max1, min2, max2;
    ASSERT_TRUE(input.GetJoystickAxisRange(0, 0, &min1, &max1, &min2, &max2));
    EXPECT_EQ(min1, -32768);
    EXPECT_EQ(max2, 32767);
    // The pair holding z is made symmetric while "i_fudgezrelative" is on.
    ASSERT_TRUE(input.GetJoystickAxisRange(0, 1, &min1, &max1, &min2, &max2));
    EXPECT_EQ(min1, -32767);
    EXPECT_EQ(min2, -32767);
    ASSERT_TRUE(input.GetJoystickAxisRange(0, 3, &min1, &max1, &min2, &max2));
    EXPECT_EQ(min1, -255);
    EXPECT_EQ(max1, 255);
    EXPECT_EQ(min2, -255);
    EXPECT_EQ(max2, 255);
    EXPECT_FALSE(input.GetJoystickAxisRange(0, 4, &min1, &max1, &min2, &max2));
    EXPECT_FALSE(input.GetJoystickAxisRange(1, 0, &min1, &max1, &min2, &max2));
}

TEST_F(VirtualJoystick, SettingsKeyDefaultsToOffAndIsWrittenBack)
{
    CCoreInputDI8 input;
    CDataTree empty;
    input.ReadSettings(&empty);
    ASSERT_TRUE(input.Init(nullptr));
    int32_t min1, max1, min2, max2;
    ASSERT_TRUE(input.GetJoystickAxisRange(0, 1, &min1, &max1, &min2, &max2));
    EXPECT_EQ(min1, -32768); // the pair holding z keeps the device's range

    CDataTree written;
    input.WriteSettings(&written);
    bool fudge = true;
    ASSERT_TRUE(written.GetBool("i_fudgezrelative", fudge));
    EXPECT_FALSE(fudge);
}

TEST_F(VirtualJoystick, Version5UsesOnlyItsAxes)
{
    CCoreInputDI5 input;
    ASSERT_TRUE(input.Init(nullptr));
    ASSERT_EQ(input.GetJoystickCount(), 1);
    Set(2, 1234);   // z: not read by this version
    Set(3, 777);    // rx
    SDL_JoystickSetVirtualHat(m_joystick, 0, SDL_HAT_LEFTUP);
    input.Poll();
    SJoystickState state {};
    ASSERT_TRUE(input.GetJoystickState(0, &state));
    EXPECT_EQ(state.numAxisPairs, 3); // (x, y), (rx, ry), the hat
    EXPECT_EQ(state.axes[1][0], 777);
    EXPECT_EQ(state.pov, 31500);
    EXPECT_EQ(state.axes[2][0], -255);
    EXPECT_EQ(state.axes[2][1], -255);
}

TEST_F(VirtualJoystick, UnpluggedControllerGoesInactiveAndIsDropped)
{
    CCoreInputDI8 input;
    ASSERT_TRUE(input.Init(nullptr));
    ASSERT_EQ(input.GetJoystickCount(), 1);
    int id = SDL_JoystickInstanceID(m_joystick);
    SDL_JoystickClose(m_joystick);
    m_joystick = nullptr;
    SDL_JoystickDetachVirtual(m_index);
    m_index = -1;
    SDL_Event removed {};
    removed.type = SDL_JOYDEVICEREMOVED;
    removed.jdevice.which = id;
    CSdlInputSource::Get().OnEvent(removed);

    input.Poll();
    EXPECT_FALSE(input.IsJoystickActive(0));
    SJoystickState state;
    EXPECT_FALSE(input.GetJoystickState(0, &state));
    input.ReenumerateJoysticks();
    EXPECT_EQ(input.GetJoystickCount(), 0);

    // A controller plugged in later is found by the next enumeration.
    m_index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 0);
    ASSERT_GE(m_index, 0);
    m_joystick = SDL_JoystickOpen(m_index);
    input.ReenumerateJoysticks();
    EXPECT_EQ(input.GetJoystickCount(), 1);
}
