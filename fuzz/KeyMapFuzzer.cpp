// "keymap.dat" as the options read it, on a machine with one pad of two axis pairs
// and eight buttons: whatever the bytes, the map is usable (keys up to 255, a dead
// zone in its range, no joystick or the pad, bindings the pad has); a map taken as
// stored writes the same 100 bytes back.

#include "frontend/KeyMap.h"
#include "platform/CoreInput.h"

#include <cstring>
#include <vector>

namespace
{
class CFuzzPad : public CCoreInput
{
public:
    void ReadSettings(CDataTree*) override {}
    void WriteSettings(CDataTree*) override {}
    bool Init(void*) override { return true; }
    void Poll() override {}
    bool IsKeyboardPresent() override { return true; }
    bool IsMouseAttached() override { return false; }
    bool IsJoystickActive(int n) override { return n == 0; }
    int GetJoystickCount() override { return 1; }
    bool IsKeyDown(int) override { return false; }
    const uint8_t* GetKeyStates() override { return m_keys; }
    void GetMouseDelta(int32_t* x, int32_t* y) override { *x = *y = 0; }
    void GetMouseButtons(bool* l, bool* r, bool* m) override { *l = *r = *m = false; }
    bool GetJoystickState(int n, SJoystickState* state) override
    {
        if (n != 0)
            return false;
        std::memset(state, 0, sizeof(*state));
        state->numAxisPairs = 2;
        state->numButtons = 8;
        state->pov = -1;
        return true;
    }
    bool GetJoystickName(int, CWString*) override { return false; }
    bool GetJoystickAxisRange(int, int, int32_t*, int32_t*, int32_t*, int32_t*) override { return false; }
    void ReenumerateJoysticks() override {}

private:
    uint8_t m_keys[256] = {};
};

// The dead-zone step as stored (at byte 36) lies in its range: it is kept as it is.
bool IsStoredStepInRange(const uint8_t* data)
{
    const uint32_t step = data[36] | data[37] << 8 | data[38] << 16 | static_cast<uint32_t>(data[39]) << 24;
    return step <= static_cast<uint32_t>(SKeyMap::MAX_DEAD_ZONE_STEP);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CFuzzPad pad;
    SKeyMap map;
    const EKeyMapRead read = ParseKeyMap(data, size, &pad, map);
    if (size != SKeyMap::FILE_SIZE && read != EKeyMapRead::DefaultsWhole)
        __builtin_trap();
    for (int32_t key : map.keys)
        if (key < 0 || key > 255)
            __builtin_trap();
    if (map.deadZoneStep < 0 || map.deadZoneStep > SKeyMap::MAX_DEAD_ZONE_STEP)
        __builtin_trap();
    if (map.joystick != SKeyMap::NO_JOYSTICK && map.joystick != 0)
        __builtin_trap();
    if (map.joystick == 0 && !DoBindingsFit(map.bindings, CControls::JOYSTICK_ACTIONS, &pad, 0))
        __builtin_trap();
    const std::vector<uint8_t> written = EncodeKeyMap(map);
    if (written.size() != SKeyMap::FILE_SIZE)
        __builtin_trap();
    SKeyMap again;
    if (ParseKeyMap(written.data(), written.size(), &pad, again) != EKeyMapRead::Read ||
        EncodeKeyMap(again) != written)
        __builtin_trap();
    // Taken as stored, with a joystick, the bytes come back the same.
    if (read == EKeyMapRead::Read && map.joystick == 0 && IsStoredStepInRange(data) &&
        written != std::vector<uint8_t>(data, data + size))
        __builtin_trap();
    return 0;
}
