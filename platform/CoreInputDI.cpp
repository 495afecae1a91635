#include "platform/CoreInputDI.h"

#include "core/Console.h"
#include "core/DataTree.h"
#include "core/WString.h"
#include "platform/Renderer.h"
#include "platform/input/SdlInputSource.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

CCoreInput* g_input = nullptr;

namespace
{
constexpr uint32_t OWN_FORMAT_SIZE = 60;
constexpr uint32_t STANDARD_FORMAT_SIZE = 80;
constexpr uint32_t EXTENDED_FORMAT_SIZE = 272;
constexpr uint32_t MOUSE_STATE_SIZE = 16;
constexpr int32_t POV_PAIR_RANGE = 255;

char s_keyNames[256][260];
int s_keyNameCount = 0;

CDiProvider* s_provider = nullptr;

void PrintMessage(const char* text)
{
    if (g_console)
        g_console->Printf("%s", text);
    else
        std::fprintf(stderr, "%s\n", text);
}

int32_t GetInt32(const uint8_t* buffer, uint32_t offset)
{
    int32_t value;
    std::memcpy(&value, buffer + offset, sizeof(value));
    return value;
}

// The fixed layouts: axes x, y, z, rx, ry, rz, two sliders, four hats, then buttons.
void BuildFixedFormat(SDiDataFormat& format, uint32_t size, int buttons)
{
    static const EDiObjectKind AXES[] = {EDiObjectKind::XAxis,  EDiObjectKind::YAxis,  EDiObjectKind::ZAxis,
                                         EDiObjectKind::RxAxis, EDiObjectKind::RyAxis, EDiObjectKind::RzAxis};
    format = SDiDataFormat();
    format.dataSize = size;
    uint32_t offset = 0;
    for (EDiObjectKind kind : AXES)
    {
        format.objects.push_back({kind, DI_ANY_INSTANCE, offset, true});
        offset += 4;
    }
    for (int slider = 0; slider < 2; ++slider, offset += 4)
        format.objects.push_back({EDiObjectKind::Slider, DI_ANY_INSTANCE, offset, true});
    for (int hat = 0; hat < 4; ++hat, offset += 4)
        format.objects.push_back({EDiObjectKind::Pov, DI_ANY_INSTANCE, offset, true});
    for (int button = 0; button < buttons; ++button)
        format.objects.push_back({EDiObjectKind::Button, DI_ANY_INSTANCE, offset++, true});
}

// The fixed layouts' pairs: (x, y), (z, rz), (rx, ry), (slider 0, slider 1), by byte offset.
constexpr uint32_t FIXED_PAIR_OFFSETS[4][2] = {{0, 4}, {8, 20}, {12, 16}, {24, 28}};

// Own format: each axis the device has in the next 32-bit slot after the two counts,
// up to sixteen buttons from byte 40, the hat at byte 56.
void BuildOwnLayout(const SJoystickRecord& record, const EDiObjectKind* axes, size_t axisCount, SDiDataFormat& format)
{
    format = SDiDataFormat();
    format.dataSize = OWN_FORMAT_SIZE;
    const auto& objects = record.device->GetObjects();
    uint32_t slot = 8;
    for (size_t a = 0; a < axisCount && slot < 40; ++a)
    {
        int instances = 0;
        for (const SDiObjectInfo& object : objects)
        {
            if (object.kind == axes[a] && slot < 40)
            {
                format.objects.push_back({axes[a], object.instance, slot, false});
                slot += 4;
                if (++instances == 2)
                    break;
            }
        }
    }
    uint32_t button = 40;
    for (const SDiObjectInfo& object : objects)
        if (object.kind == EDiObjectKind::Button && button < 56)
            format.objects.push_back({EDiObjectKind::Button, object.instance, button++, false});
    for (const SDiObjectInfo& object : objects)
    {
        if (object.kind == EDiObjectKind::Pov)
        {
            format.objects.push_back({EDiObjectKind::Pov, object.instance, 56, false});
            break;
        }
    }
}

const char* FormatErrorText(EDiResult result)
{
    switch (result)
    {
    case EDiResult::NotInitialised: return "Error, not initialised";
    case EDiResult::InvalidParam: return "Error, invalid param";
    case EDiResult::Acquired: return "Error, device has been acquired";
    default: return "Error, some other error";
    }
}

// The hat as a stick: full deflection towards where it points.
void PovToAxes(int32_t pov, int32_t& x, int32_t& y)
{
    x = y = 0;
    if (pov < 0 || pov >= 36000)
        return;
    if (pov > 0 && pov < 18000)
        x = POV_PAIR_RANGE;
    else if (pov > 18000)
        x = -POV_PAIR_RANGE;
    if (pov < 9000 || pov > 27000)
        y = -POV_PAIR_RANGE;
    else if (pov > 9000 && pov < 27000)
        y = POV_PAIR_RANGE;
}

// Devices are read only while the game window is active.
bool IsInputWindowActive()
{
    return g_renderer ? g_renderer->IsActive() : CSdlInputSource::Get().HasFocus();
}

std::u16string Widen(const std::string& text)
{
    // Product names are shown as they are; bytes above 127 are taken as Latin-1.
    std::u16string wide;
    for (unsigned char c : text.substr(0, 259))
        wide.push_back(static_cast<char16_t>(c));
    return wide;
}
} // namespace

const char* GetKeyName(int code)
{
    if (code < 0 || code > 255 || !s_keyNames[code][0])
        return nullptr;
    return s_keyNames[code];
}

int GetKeyNameCount()
{
    return s_keyNameCount;
}

CDiProvider* GetSystemDiProvider()
{
    static CSdlInputProvider s_sdl;
    return s_provider ? s_provider : &s_sdl;
}

void SetSystemDiProvider(CDiProvider* provider)
{
    s_provider = provider;
}

CCoreInputDIBase::CCoreInputDIBase(uint32_t version, CDiProvider* provider)
    : m_version(version), m_provider(provider ? provider : GetSystemDiProvider())
{
}

const char* CCoreInputDIBase::GetMessagePrefix() const
{
    return m_version >= 0x0800 ? "(CCoreInput - 8)" : "(CCoreInput - 5)";
}

void CCoreInputDIBase::ReadSettings(CDataTree* tree)
{
    // Without the key the fresh file's value holds, so both ways of starting agree.
    bool fudge = false;
    if (tree)
        tree->GetBool("i_fudgezrelative", fudge);
    m_fudgeZRelative = fudge;
}

void CCoreInputDIBase::WriteSettings(CDataTree* tree)
{
    if (tree)
        tree->AddBool("i_fudgezrelative", m_fudgeZRelative);
}

bool CCoreInputDIBase::Init(void* /*instance*/)
{
    if (!m_provider->CreateDirectInput(m_version))
        return false;
    m_ready = true;
    if (g_renderer)
        g_renderer->GetWindowHandle(&m_window);
    if (m_provider->GetDeviceStatus(EDiDeviceType::Keyboard) != EDiResult::NotAttached)
        m_keyboardPresent = CreateKeyboard();
    if (m_provider->GetDeviceStatus(EDiDeviceType::Mouse) != EDiResult::NotAttached)
        m_mousePresent = CreateMouse();
    EnumerateJoysticks();
    return true;
}

bool CCoreInputDIBase::CreateKeyboard()
{
    m_keyboard = m_provider->CreateSystemDevice(EDiDeviceType::Keyboard);
    if (!m_keyboard)
        return false;
    SDiDataFormat format;
    format.dataSize = 256;
    for (uint32_t code = 0; code < 256; ++code)
        format.objects.push_back({EDiObjectKind::Key, static_cast<int>(code), code, true});
    if (m_keyboard->SetCooperativeLevel(m_window, true) != EDiResult::Ok ||
        m_keyboard->SetDataFormat(format) != EDiResult::Ok)
    {
        m_keyboard.reset();
        return false;
    }
    std::memset(s_keyNames, 0, sizeof(s_keyNames));
    s_keyNameCount = 0;
    for (const SDiObjectInfo& object : m_keyboard->GetObjects())
    {
        if (object.kind != EDiObjectKind::Key || object.instance < 0 || object.instance > 255)
            continue;
        std::snprintf(s_keyNames[object.instance], sizeof(s_keyNames[0]), "%s", object.name.c_str());
        ++s_keyNameCount;
    }
    m_keyboard->Acquire();
    return true;
}

bool CCoreInputDIBase::CreateMouse()
{
    m_mouse = m_provider->CreateSystemDevice(EDiDeviceType::Mouse);
    if (!m_mouse)
        return false;
    SDiDataFormat format;
    format.dataSize = MOUSE_STATE_SIZE;
    format.absoluteAxes = false;
    format.objects = {{EDiObjectKind::XAxis, DI_ANY_INSTANCE, 0, false},
                      {EDiObjectKind::YAxis, DI_ANY_INSTANCE, 4, false},
                      {EDiObjectKind::ZAxis, DI_ANY_INSTANCE, 8, true},
                      {EDiObjectKind::Button, DI_ANY_INSTANCE, 12, false},
                      {EDiObjectKind::Button, DI_ANY_INSTANCE, 13, false},
                      {EDiObjectKind::Button, DI_ANY_INSTANCE, 14, true},
                      {EDiObjectKind::Button, DI_ANY_INSTANCE, 15, true}};
    if (m_mouse->SetCooperativeLevel(m_window, true) != EDiResult::Ok || m_mouse->SetDataFormat(format) != EDiResult::Ok)
    {
        m_mouse.reset();
        return false;
    }
    m_mouse->Acquire();
    return true;
}

void CCoreInputDIBase::EnumerateJoysticks()
{
    std::vector<int> ids;
    if (!m_provider->EnumJoysticks(ids))
    {
        char text[128];
        std::snprintf(text, sizeof(text), "%s - EnumDevices failed, no joysticks enumerated", GetMessagePrefix());
        PrintMessage(text);
        return;
    }
    for (int id : ids)
    {
        auto record = std::make_unique<SJoystickRecord>();
        record->device = m_provider->CreateJoystick(id);
        if (!record->device)
            continue;
        std::string name = record->device->GetProductName();
        record->name = name.empty() ? u"Unknown device" : Widen(name);
        if (SetUpJoystick(*record))
            m_joysticks.push_back(std::move(record));
    }
}

bool CCoreInputDIBase::SetUpJoystick(SJoystickRecord& record)
{
    SDiDataFormat format;
    BuildOwnFormat(record, format);
    record.format = EJoystickFormat::Own;
    EDiResult result = record.device->SetDataFormat(format);
    if (result != EDiResult::Ok && HasFormatFallback())
    {
        BuildFixedFormat(format, STANDARD_FORMAT_SIZE, 32);
        record.format = EJoystickFormat::Standard;
        result = record.device->SetDataFormat(format);
        if (result != EDiResult::Ok)
        {
            BuildFixedFormat(format, EXTENDED_FORMAT_SIZE, 128);
            record.format = EJoystickFormat::Extended;
            result = record.device->SetDataFormat(format);
        }
    }
    if (result != EDiResult::Ok)
    {
        PrintMessage(FormatErrorText(result));
        return false;
    }
    record.hasPov = false;
    record.numButtons = 0;
    for (const SDiObjectInfo& object : record.device->GetObjects())
    {
        record.hasPov = record.hasPov || object.kind == EDiObjectKind::Pov;
        if (object.kind == EDiObjectKind::Button)
            ++record.numButtons;
    }
    record.numButtons = std::min(record.numButtons, 16);
    ReadAxisRanges(record, format);
    record.active = true;
    record.device->Acquire();
    return true;
}

void CCoreInputDIBase::ReadAxisRanges(SJoystickRecord& record, const SDiDataFormat& format)
{
    std::memset(record.ranges, 0, sizeof(record.ranges));
    // Find which axis object fills each 32-bit slot of the pairs.
    auto rangeAt = [&](uint32_t offset, int32_t& minimum, int32_t& maximum, bool& isZ) {
        for (const SDiObjectFormat& object : format.objects)
        {
            if (object.offset != offset || !IsDiAxisKind(object.kind))
                continue;
            for (const SDiObjectInfo& info : record.device->GetObjects())
            {
                if (info.kind == object.kind && (object.instance == DI_ANY_INSTANCE || info.instance == object.instance) &&
                    record.device->GetAxisRange(info.kind, info.instance, minimum, maximum) == EDiResult::Ok)
                {
                    isZ = info.kind == EDiObjectKind::ZAxis;
                    return true;
                }
            }
        }
        return false;
    };

    record.numAxisPairs = 0;
    for (int pair = 0; pair < 4; ++pair)
    {
        uint32_t offsets[2];
        if (record.format == EJoystickFormat::Own)
        {
            offsets[0] = 8 + static_cast<uint32_t>(pair) * 8;
            offsets[1] = offsets[0] + 4;
        }
        else
        {
            offsets[0] = FIXED_PAIR_OFFSETS[pair][0];
            offsets[1] = FIXED_PAIR_OFFSETS[pair][1];
        }
        bool any = false, holdsZ = false;
        for (int axis = 0; axis < 2; ++axis)
        {
            bool isZ = false;
            if (rangeAt(offsets[axis], record.ranges[pair][axis * 2], record.ranges[pair][axis * 2 + 1], isZ))
            {
                any = true;
                holdsZ = holdsZ || isZ;
            }
        }
        if (record.format == EJoystickFormat::Own && !any)
            break;
        // A z axis that rests at one end of its range is treated as centred on zero.
        if (holdsZ && m_fudgeZRelative)
            for (int axis = 0; axis < 2; ++axis)
                record.ranges[pair][axis * 2] = -record.ranges[pair][axis * 2 + 1];
        record.numAxisPairs = pair + 1;
    }
    if (record.format != EJoystickFormat::Own)
        record.numAxisPairs = 4;
    // The hat stands for one more pair when there is room for it.
    if (record.hasPov && record.numAxisPairs < 4)
    {
        int32_t* range = record.ranges[record.numAxisPairs];
        range[0] = range[2] = -POV_PAIR_RANGE;
        range[1] = range[3] = POV_PAIR_RANGE;
    }
}

EDiResult CCoreInputDIBase::ReadState(CDiDevice& device, uint32_t size, void* buffer)
{
    EDiResult result = device.GetDeviceState(size, buffer);
    if (result == EDiResult::InputLost || result == EDiResult::NotAcquired)
    {
        if (device.Acquire() != EDiResult::Ok)
            return result;
        result = device.GetDeviceState(size, buffer);
    }
    return result;
}

void CCoreInputDIBase::Poll()
{
    if (!m_ready || !IsInputWindowActive())
        return;

    if (m_keyboardPresent)
    {
        ReadState(*m_keyboard, sizeof(m_keys), m_keys);
    }
    else
    {
        EDiResult status = m_provider->GetDeviceStatus(EDiDeviceType::Keyboard);
        if (status != EDiResult::NotAttached && status != EDiResult::InputLost && CreateKeyboard())
        {
            m_keyboardPresent = true;
            ReadState(*m_keyboard, sizeof(m_keys), m_keys);
        }
    }

    if (m_mousePresent)
    {
        uint8_t state[MOUSE_STATE_SIZE];
        if (ReadState(*m_mouse, sizeof(state), state) == EDiResult::Ok)
        {
            for (int axis = 0; axis < 3; ++axis)
                m_mouseState[axis] = GetInt32(state, static_cast<uint32_t>(axis) * 4);
            std::memcpy(m_mouseButtons, state + 12, 4);
        }
        else
        {
            // No movement is reported from a mouse that could not be read.
            std::memset(m_mouseState, 0, sizeof(m_mouseState));
        }
    }

    for (auto& record : m_joysticks)
        if (record->active)
            PollJoystick(*record);
}

void CCoreInputDIBase::PollJoystick(SJoystickRecord& record)
{
    CDiDevice& device = *record.device;
    EDiResult result = device.Poll();
    if (result == EDiResult::InputLost || result == EDiResult::NotAcquired)
    {
        EDiResult acquired = device.Acquire();
        if (acquired == EDiResult::NotAttached)
        {
            // Unplugged: its last state must not stay "held" for ever.
            record.active = false;
            return;
        }
        if (acquired != EDiResult::Ok)
            return; // skipped this frame
        device.Poll();
    }
    uint32_t size = record.format == EJoystickFormat::Own        ? OWN_FORMAT_SIZE
                    : record.format == EJoystickFormat::Standard ? STANDARD_FORMAT_SIZE
                                                                 : EXTENDED_FORMAT_SIZE;
    result = device.GetDeviceState(size, record.state);
    if (result == EDiResult::InputLost || result == EDiResult::NotAcquired)
    {
        if (device.Acquire() != EDiResult::Ok)
        {
            record.active = false;
            return;
        }
        result = device.GetDeviceState(size, record.state);
    }
    if (result != EDiResult::Ok)
        record.active = false;
}

SJoystickRecord* CCoreInputDIBase::FindJoystick(int n)
{
    if (n < 0 || n >= static_cast<int>(m_joysticks.size()))
        return nullptr;
    return m_joysticks[static_cast<size_t>(n)].get();
}

bool CCoreInputDIBase::IsJoystickActive(int n)
{
    SJoystickRecord* record = FindJoystick(n);
    return record && record->active;
}

bool CCoreInputDIBase::IsKeyDown(int code)
{
    return code >= 0 && code < 256 && m_keys[code] != 0;
}

void CCoreInputDIBase::GetMouseDelta(int32_t* x, int32_t* y)
{
    if (x)
        *x = m_mouseState[0];
    if (y)
        *y = m_mouseState[1];
}

void CCoreInputDIBase::GetMouseButtons(bool* left, bool* right, bool* middle)
{
    if (left)
        *left = (m_mouseButtons[0] & 0x80) != 0;
    if (right)
        *right = (m_mouseButtons[1] & 0x80) != 0;
    if (middle)
        *middle = (m_mouseButtons[2] & 0x80) != 0;
}

bool CCoreInputDIBase::GetJoystickState(int n, SJoystickState* state)
{
    SJoystickRecord* record = FindJoystick(n);
    if (!record || !record->active || !state)
        return false;
    std::memset(state, 0, sizeof(*state));
    const uint8_t* raw = record->state;
    if (record->format == EJoystickFormat::Own)
    {
        for (int pair = 0; pair < 4; ++pair)
            for (int axis = 0; axis < 2; ++axis)
                state->axes[pair][axis] = GetInt32(raw, 8 + static_cast<uint32_t>(pair * 8 + axis * 4));
        std::memcpy(state->buttons, raw + 40, 16);
        state->pov = record->hasPov ? GetInt32(raw, 56) : -1;
    }
    else
    {
        for (int pair = 0; pair < 4; ++pair)
            for (int axis = 0; axis < 2; ++axis)
                state->axes[pair][axis] = GetInt32(raw, FIXED_PAIR_OFFSETS[pair][axis]);
        std::memcpy(state->buttons, raw + 48, 16);
        state->pov = record->hasPov ? GetInt32(raw, 32) : -1;
    }
    state->numAxisPairs = record->numAxisPairs;
    state->numButtons = record->numButtons;
    if (record->hasPov && record->numAxisPairs < 4)
    {
        PovToAxes(state->pov, state->axes[record->numAxisPairs][0], state->axes[record->numAxisPairs][1]);
        state->numAxisPairs = record->numAxisPairs + 1;
    }
    return true;
}

bool CCoreInputDIBase::GetJoystickName(int n, CWString* name)
{
    SJoystickRecord* record = FindJoystick(n);
    if (!record || !name)
        return false;
    name->AssignWideN(record->name.data(), record->name.size());
    return true;
}

bool CCoreInputDIBase::GetJoystickAxisRange(int n, int pair, int32_t* min1, int32_t* max1, int32_t* min2, int32_t* max2)
{
    SJoystickRecord* record = FindJoystick(n);
    if (!record || pair < 0 || pair > 3)
        return false;
    const int32_t* range = record->ranges[pair];
    if (min1)
        *min1 = range[0];
    if (max1)
        *max1 = range[1];
    if (min2)
        *min2 = range[2];
    if (max2)
        *max2 = range[3];
    return true;
}

void CCoreInputDIBase::ReenumerateJoysticks()
{
    m_joysticks.clear();
    if (m_ready)
        EnumerateJoysticks();
}

void CCoreInputDI8::BuildOwnFormat(const SJoystickRecord& record, SDiDataFormat& format) const
{
    static const EDiObjectKind AXES[] = {EDiObjectKind::XAxis,  EDiObjectKind::YAxis,  EDiObjectKind::ZAxis,
                                         EDiObjectKind::RxAxis, EDiObjectKind::RyAxis, EDiObjectKind::RzAxis,
                                         EDiObjectKind::Slider};
    BuildOwnLayout(record, AXES, sizeof(AXES) / sizeof(AXES[0]), format);
}

void CCoreInputDI5::BuildOwnFormat(const SJoystickRecord& record, SDiDataFormat& format) const
{
    static const EDiObjectKind AXES[] = {EDiObjectKind::XAxis, EDiObjectKind::YAxis, EDiObjectKind::RxAxis,
                                         EDiObjectKind::RyAxis};
    BuildOwnLayout(record, AXES, sizeof(AXES) / sizeof(AXES[0]), format);
}
