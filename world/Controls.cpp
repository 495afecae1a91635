#include "world/Controls.h"

#include "core/RealTimeClock.h"
#include "platform/CoreInput.h"

const int32_t CControls::DEFAULT_KEYS[ACTION_COUNT] = {16, 17, 18, 19, 200, 208, 203, 205, 28};

namespace
{
SControlAction s_noAction;
SJoystickBinding s_noBinding;
} // namespace

CControls::CControls()
{
    SetDefaultBindings();
}

const SControlAction& CControls::GetAction(int index) const
{
    return index >= 0 && index < ACTION_COUNT ? m_actions[index] : s_noAction;
}

void CControls::Reset()
{
    for (SControlAction& action : m_actions)
        action = SControlAction();
}

void CControls::SetKey(int action, int32_t key)
{
    if (action >= 0 && action < ACTION_COUNT)
        m_actions[action].key = key;
}

int32_t CControls::GetKey(int action) const
{
    return GetAction(action).key;
}

void CControls::SetDefaultKeys()
{
    for (int i = 0; i < ACTION_COUNT; ++i)
        m_actions[i].key = DEFAULT_KEYS[i];
}

void CControls::SetBinding(int action, const SJoystickBinding& binding)
{
    if (action >= 0 && action < JOYSTICK_ACTIONS)
        m_bindings[action] = binding;
}

const SJoystickBinding& CControls::GetBinding(int action) const
{
    return action >= 0 && action < JOYSTICK_ACTIONS ? m_bindings[action] : s_noBinding;
}

// Actions 0 to 3 on buttons 0 to 3; thrust and reverse on the first pair's second
// axis (up is negative), the turns on its first axis.
void CControls::SetDefaultBindings()
{
    for (int i = 0; i < 4; ++i)
        m_bindings[i] = {i, true, false, false};
    m_bindings[4] = {0, false, false, false};
    m_bindings[5] = {0, false, true, false};
    m_bindings[6] = {0, false, false, true};
    m_bindings[7] = {0, false, true, true};
}

void CControls::Flush(uint32_t frameCounter)
{
    if (!m_hasFlushed || frameCounter - m_lastFlushFrame > 1)
    {
        for (SControlAction& action : m_actions)
        {
            action.down = action.wasDown = action.held = action.repressed = false;
            action.hasPressStart = action.hasReleaseTime = false;
            action.pressStart = action.releaseTime = 0;
        }
        m_lockoutUntil = GetRealTimeClock().GetMs() + FLUSH_LOCKOUT_MS;
        m_lockedOut = true;
    }
    m_lastFlushFrame = frameCounter;
    m_hasFlushed = true;
}

bool CControls::IsJoystickDown(CCoreInput& input, int action, const SJoystickState& state) const
{
    const SJoystickBinding& binding = m_bindings[action];
    if (binding.isButton)
        return binding.number >= 0 && binding.number < 16 && binding.number < state.numButtons &&
               (state.buttons[binding.number] & 0x80) != 0;
    if (binding.number < 0 || binding.number > 3 || binding.number >= state.numAxisPairs)
        return false;
    int32_t min1 = 0, max1 = 0, min2 = 0, max2 = 0;
    if (!input.GetJoystickAxisRange(m_joystick, binding.number, &min1, &max1, &min2, &max2))
        return false;
    int32_t min = binding.firstAxis ? min1 : min2;
    int32_t max = binding.firstAxis ? max1 : max2;
    float centre = (static_cast<float>(min) + static_cast<float>(max)) * 0.5f;
    float deadZone = static_cast<float>(m_deadZoneStep) * 0.05f * (static_cast<float>(max) - static_cast<float>(min)) * 0.5f;
    float position = static_cast<float>(state.axes[binding.number][binding.firstAxis ? 0 : 1]);
    return binding.positive ? position > centre + deadZone : position < centre - deadZone;
}

void CControls::UpdateTiming(SControlAction& action, bool down, uint32_t now)
{
    action.held = false;
    action.repressed = false;
    action.down = down;
    if (down)
    {
        if (action.hasPressStart)
        {
            if (now - action.pressStart > HOLD_MS)
            {
                action.held = true;
                action.down = false;
            }
        }
        else
        {
            action.hasPressStart = true;
            action.pressStart = now;
        }
        if (action.hasReleaseTime && now - action.releaseTime > REPEAT_MS)
        {
            action.hasReleaseTime = false;
            action.releaseTime = 0;
            action.repressed = true;
        }
    }
    else
    {
        action.hasPressStart = false;
        action.pressStart = 0;
        if (action.wasDown)
        {
            action.hasReleaseTime = true;
            action.releaseTime = now;
        }
    }
    action.wasDown = action.down;
}

void CControls::Poll(CCoreInput* input, uint32_t gameTimeMs)
{
    if (m_lockedOut)
    {
        if (static_cast<int32_t>(GetRealTimeClock().GetMs() - m_lockoutUntil) < 0)
            return;
        m_lockedOut = false;
    }
    SJoystickState joystick = {};
    bool haveJoystick = input && m_joystick >= 0 && input->GetJoystickState(m_joystick, &joystick);
    for (int i = 0; i < ACTION_COUNT; ++i)
    {
        SControlAction& action = m_actions[i];
        bool down = input && m_keyboardEnabled && action.key >= 0 && action.key < 256 && input->IsKeyDown(action.key);
        if (!down && haveJoystick && i < JOYSTICK_ACTIONS)
            down = IsJoystickDown(*input, i, joystick);
        UpdateTiming(action, down, gameTimeMs);
    }
}
