#include "frontend/KeyMap.h"

#include "frontend/FileWriteLayer.h"
#include "platform/CoreInput.h"
#include "utility/source/QelMemoryReader.h"

#include <algorithm>

namespace
{
constexpr int32_t MAX_AXIS_PAIRS = 4;
constexpr size_t READ_LIMIT = 4096;

void SetReason(std::string* reason, const char* text)
{
    if (reason)
        *reason = text;
}

bool ReadFlag(CQelMemoryReader& reader, bool& flag)
{
    uint8_t byte = 0;
    if (!reader.Read(&byte, 1) || byte > 1)
        return false;
    flag = byte != 0;
    return true;
}

// The 8 bindings, each 7 bytes; false when a flag byte is neither 0 nor 1.
bool ReadBindings(CQelMemoryReader& reader, SJoystickBinding* bindings)
{
    for (int i = 0; i < CControls::JOYSTICK_ACTIONS; ++i)
    {
        uint32_t number = 0;
        SJoystickBinding& binding = bindings[i];
        if (!reader.ReadU32(number) || !ReadFlag(reader, binding.isButton) || !ReadFlag(reader, binding.positive) ||
            !ReadFlag(reader, binding.firstAxis))
            return false;
        binding.number = static_cast<int32_t>(number);
    }
    return true;
}

void PutU32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}
} // namespace

SKeyMap::SKeyMap()
{
    SetDefaultKeys();
    SetDefaultBindings();
}

void SKeyMap::SetDefaultKeys()
{
    std::copy(CControls::DEFAULT_KEYS, CControls::DEFAULT_KEYS + CControls::ACTION_COUNT, keys);
}

void SKeyMap::SetDefaultBindings()
{
    CControls defaults;
    for (int i = 0; i < CControls::JOYSTICK_ACTIONS; ++i)
        bindings[i] = defaults.GetBinding(i);
}

bool AreBindingsEqual(const SJoystickBinding& a, const SJoystickBinding& b)
{
    if (a.number != b.number || a.isButton != b.isButton)
        return false;
    return a.isButton || (a.positive == b.positive && a.firstAxis == b.firstAxis);
}

bool DoBindingsFit(const SJoystickBinding* bindings, int count, CCoreInput* input, int32_t joystick)
{
    SJoystickState state = {};
    if (!input || joystick < 0 || !input->IsJoystickActive(joystick) || !input->GetJoystickState(joystick, &state))
        return false;
    const int32_t buttons = std::min<int32_t>(state.numButtons, 16);
    const int32_t pairs = std::min(state.numAxisPairs, MAX_AXIS_PAIRS);
    for (int i = 0; i < count; ++i)
    {
        const int32_t limit = bindings[i].isButton ? buttons : pairs;
        if (bindings[i].number < 0 || bindings[i].number >= limit)
            return false;
    }
    return true;
}

EKeyMapRead ParseKeyMap(const uint8_t* data, size_t size, CCoreInput* input, SKeyMap& map, std::string* reason)
{
    map = SKeyMap();
    if (!data || size != SKeyMap::FILE_SIZE)
    {
        SetReason(reason, size < SKeyMap::FILE_SIZE ? "is too short" : "is too long");
        return EKeyMapRead::DefaultsWhole;
    }
    CQelMemoryReader reader;
    reader.Open(data, size);
    SKeyMap read;
    for (int32_t& key : read.keys)
    {
        uint32_t code = 0;
        reader.ReadU32(code);
        if (code > 255)
        {
            SetReason(reason, "holds a key code above 255");
            return EKeyMapRead::DefaultsWhole;
        }
        key = static_cast<int32_t>(code);
    }
    uint32_t step = 0;
    uint32_t joystick = 0;
    reader.ReadU32(step);
    reader.ReadU32(joystick);
    std::copy(read.keys, read.keys + CControls::ACTION_COUNT, map.keys);
    // Unsigned, so a negative step is the largest of all.
    map.deadZoneStep = static_cast<int32_t>(std::min<uint32_t>(step, SKeyMap::MAX_DEAD_ZONE_STEP));
    const int32_t index = static_cast<int32_t>(joystick);
    const int32_t present = input ? input->GetJoystickCount() : 0;
    if (index == SKeyMap::NO_JOYSTICK)
        return EKeyMapRead::Read;
    if (index < 0 || index >= present)
    {
        SetReason(reason, "names a joystick that is not present");
        return EKeyMapRead::DefaultBindings;
    }
    map.joystick = index;
    if (!ReadBindings(reader, read.bindings))
    {
        SetReason(reason, "holds a binding flag other than 0 or 1");
        return EKeyMapRead::DefaultBindings;
    }
    if (!DoBindingsFit(read.bindings, CControls::JOYSTICK_ACTIONS, input, index))
    {
        SetReason(reason, "holds bindings that do not fit the joystick");
        return EKeyMapRead::DefaultBindings;
    }
    std::copy(read.bindings, read.bindings + CControls::JOYSTICK_ACTIONS, map.bindings);
    return EKeyMapRead::Read;
}

std::vector<uint8_t> EncodeKeyMap(const SKeyMap& map)
{
    std::vector<uint8_t> out;
    out.reserve(SKeyMap::FILE_SIZE);
    for (int32_t key : map.keys)
        PutU32(out, static_cast<uint32_t>(key));
    PutU32(out, static_cast<uint32_t>(map.deadZoneStep));
    PutU32(out, static_cast<uint32_t>(map.joystick));
    for (const SJoystickBinding& binding : map.bindings)
    {
        PutU32(out, static_cast<uint32_t>(binding.number));
        out.push_back(binding.isButton ? 1 : 0);
        out.push_back(binding.positive ? 1 : 0);
        out.push_back(binding.firstAxis ? 1 : 0);
    }
    return out;
}

EKeyMapRead LoadKeyMapFile(const char* path, CCoreInput* input, SKeyMap& map, std::string* reason)
{
    map = SKeyMap();
    // Room for a longer file, to say so.
    std::vector<uint8_t> bytes;
    if (!path || !ReadWholeUserFile(path, bytes, READ_LIMIT))
    {
        SetReason(reason, "cannot be read");
        return EKeyMapRead::DefaultsWhole;
    }
    return ParseKeyMap(bytes.data(), bytes.size(), input, map, reason);
}

bool SaveKeyMapFile(const char* path, const SKeyMap& map)
{
    return path && WriteWholeFile(path, EncodeKeyMap(map));
}
