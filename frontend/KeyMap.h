#pragma once
// The player's key map and joystick set-up, as "keymap.dat" in the user's data folder
// stores them: 100 bytes, little-endian.
//
//   offset  field
//   0       the key codes of actions 0 to 8, 9 x 32-bit
//   36      the joystick's dead-zone step, 32-bit (in 5% of an axis's half range)
//   40      the joystick's device index, 32-bit, -1 none
//   44      the joystick bindings of actions 0 to 7, 7 bytes each: the number (32-bit,
//           a button or an axis pair 0 to 3), is-button, positive direction, first
//           axis (one byte each, 0 or 1)
//
// Whatever cannot be used falls back to the defaults, never half-applied: a file of
// another size, or one with a key code above 255 (compared unsigned, so a negative
// one is above too), gives the whole default map; a dead-zone step outside 0 to
// MAX_DEAD_ZONE_STEP is cut into that range; a joystick index that names no device
// present gives no joystick and the default bindings; bindings that do not fit the
// joystick (a button or axis pair beyond its counts, a flag byte other than 0 or 1)
// give the default bindings.

#include "world/Controls.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CCoreInput;

struct SKeyMap
{
    static constexpr size_t FILE_SIZE = 100;
    static constexpr int32_t NO_JOYSTICK = -1;
    static constexpr int32_t DEFAULT_DEAD_ZONE_STEP = 2;
    // Up to half of an axis's half range.
    static constexpr int32_t MAX_DEAD_ZONE_STEP = 10;

    int32_t keys[CControls::ACTION_COUNT];
    int32_t deadZoneStep = DEFAULT_DEAD_ZONE_STEP;
    int32_t joystick = NO_JOYSTICK;
    SJoystickBinding bindings[CControls::JOYSTICK_ACTIONS];

    // The default keys (Q, W, E, R, the cursor keys, Return), no joystick, the
    // default bindings.
    SKeyMap();
    void SetDefaultKeys();
    void SetDefaultBindings();
};

// How a key map's bytes were taken.
enum class EKeyMapRead
{
    Read,            // every field as stored (the bindings only with a joystick)
    DefaultsWhole,   // the file was damaged: the whole default map
    DefaultBindings, // keys and dead zone as stored; the joystick is gone or its bindings did not fit
};

// Two bindings are equal when number and kind agree and, for axes, both direction
// flags agree too.
bool AreBindingsEqual(const SJoystickBinding& a, const SJoystickBinding& b);

// Whether every binding names a button below the joystick's button count or an axis
// pair below its pair count, as its state reports them. False without an input
// device or when the joystick is not active.
bool DoBindingsFit(const SJoystickBinding* bindings, int count, CCoreInput* input, int32_t joystick);

// Reads the bytes of a key map into `map` (always left usable: defaults where the
// bytes could not be used). The joystick index and the bindings are checked against
// the devices `input` reports (none without one). `reason` says what was not used.
EKeyMapRead ParseKeyMap(const uint8_t* data, size_t size, CCoreInput* input, SKeyMap& map,
                        std::string* reason = nullptr);

// The 100 bytes of a key map.
std::vector<uint8_t> EncodeKeyMap(const SKeyMap& map);

// The file on disk: a missing or unreadable file gives the defaults
// (EKeyMapRead::DefaultsWhole). Writing goes through the player's file-write layer
// (FileWriteLayer.h), so a failed write keeps the old file; false when it failed.
EKeyMapRead LoadKeyMapFile(const char* path, CCoreInput* input, SKeyMap& map, std::string* reason = nullptr);
bool SaveKeyMapFile(const char* path, const SKeyMap& map);
