#pragma once
// The nine game actions, read every frame from the keyboard through the key map
// and from a joystick.
//
// Rows (GetAction index): in flight 0 fire group 1, 1 fire group 2, 2 gravity
// beam, 3 call the station, 4 thrust, 5 reverse, 6 turn left, 7 turn right, 8 a
// second confirm; in the GUI 0 and 8 select, 1 back, 4 up, 5 down, 6 left, 7 right.
//
// Timing, on the game clock (nothing ages while the game is paused):
// - down: the key (or joystick binding) is down this poll;
// - held ("long hold"): the press has lasted more than 250 ms; down is then cleared
//   for as long as held is set;
// - repressed ("short press"): set on a poll where the action is down and its last
//   release came more than 250 ms earlier (only a release that ends a press shorter
//   than the hold time is noted).
// A flush clears every state and ignores all input for 250 ms of real time.

#include <cstdint>

class CCoreInput;

struct SControlAction
{
    int32_t key = -1;        // key code, -1 unbound
    bool down = false;
    bool wasDown = false;    // down in the previous poll
    bool held = false;
    bool repressed = false;
    bool hasPressStart = false;
    bool hasReleaseTime = false;
    uint32_t pressStart = 0;   // game-clock ms
    uint32_t releaseTime = 0;  // game-clock ms
};

// A joystick binding of one of the actions 0 to 7: a button, or one direction of
// one axis of an axis pair.
struct SJoystickBinding
{
    int32_t number = 0;      // button number or axis pair 0 to 3
    bool isButton = true;
    bool positive = false;   // axes: towards the positive end
    bool firstAxis = false;  // axes: the pair's first axis (x), else its second (y)
};

class CControls
{
public:
    static constexpr int ACTION_COUNT = 9;
    static constexpr int JOYSTICK_ACTIONS = 8;
    static constexpr uint32_t HOLD_MS = 250;
    static constexpr uint32_t REPEAT_MS = 250;
    static constexpr uint32_t FLUSH_LOCKOUT_MS = 250;
    // The keys of actions 0 to 8 out of the box: Q, W, E, R, the cursor keys, Return.
    static const int32_t DEFAULT_KEYS[ACTION_COUNT];

    CControls();

    const SControlAction& GetAction(int index) const;
    // Every key -1, every state cleared, times none.
    void Reset();
    // Clears every state and ignores input for 250 ms of real time, unless a flush
    // came in the last frame already; notes the frame either way.
    void Flush(uint32_t frameCounter);
    // One poll (the caller skips it while the console is open or the window inactive).
    void Poll(CCoreInput* input, uint32_t gameTimeMs);

    void SetKey(int action, int32_t key);
    int32_t GetKey(int action) const;
    void SetDefaultKeys();
    void SetKeyboardEnabled(bool enabled) { m_keyboardEnabled = enabled; }
    bool IsKeyboardEnabled() const { return m_keyboardEnabled; }

    // The joystick of the options (-1 none), its dead-zone step (in 5% of an axis's
    // half range) and the bindings of actions 0 to 7.
    void SetJoystick(int32_t device) { m_joystick = device; }
    int32_t GetJoystick() const { return m_joystick; }
    void SetDeadZoneStep(int32_t step) { m_deadZoneStep = step; }
    int32_t GetDeadZoneStep() const { return m_deadZoneStep; }
    void SetBinding(int action, const SJoystickBinding& binding);
    const SJoystickBinding& GetBinding(int action) const;
    void SetDefaultBindings();

private:
    bool IsJoystickDown(CCoreInput& input, int action, const struct SJoystickState& state) const;
    void UpdateTiming(SControlAction& action, bool down, uint32_t now);

    SControlAction m_actions[ACTION_COUNT];
    SJoystickBinding m_bindings[JOYSTICK_ACTIONS];
    int32_t m_joystick = -1;
    int32_t m_deadZoneStep = 2;
    uint32_t m_lockoutUntil = 0;
    bool m_lockedOut = false;
    uint32_t m_lastFlushFrame = 0;
    bool m_hasFlushed = false;
    bool m_keyboardEnabled = true;
};
