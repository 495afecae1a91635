// The DirectInput-shaped keyboard, mouse and game controllers over CSdlInputSource.

#include "platform/GameWindow.h"
#include "platform/SdlVideo.h"
#include "platform/input/DikCodes.h"
#include "platform/input/SdlInputSource.h"

#include <cstring>

namespace
{
// Common acquisition rule: a foreground device is acquired only while the window has
// the focus, and loses its acquisition when the focus goes.
class CSdlDeviceBase : public CDiDevice
{
public:
    EDiResult Acquire() override
    {
        if (!m_hasFormat)
            return EDiResult::NotInitialised;
        CSdlInputSource& source = CSdlInputSource::Get();
        if (m_foreground && !source.HasFocus())
            return EDiResult::NotAcquired;
        m_acquired = true;
        m_epoch = source.GetFocusEpoch();
        return EDiResult::Ok;
    }

    EDiResult Poll() override { return CheckAcquired(); }

    const std::vector<SDiObjectInfo>& GetObjects() const override { return m_objects; }

protected:
    EDiResult CheckAcquired()
    {
        if (!m_acquired)
            return EDiResult::NotAcquired;
        if (m_foreground && CSdlInputSource::Get().GetFocusEpoch() != m_epoch)
        {
            m_acquired = false;
            return EDiResult::InputLost;
        }
        return EDiResult::Ok;
    }

    // Checks the size and acquisition, then zeroes the buffer for the caller to fill.
    EDiResult BeginState(uint32_t size, void* buffer)
    {
        if (!m_hasFormat || !buffer || size != m_format.dataSize)
            return EDiResult::InvalidParam;
        EDiResult result = CheckAcquired();
        if (result != EDiResult::Ok)
            return result;
        std::memset(buffer, 0, size);
        return EDiResult::Ok;
    }

    void PutInt32(void* buffer, uint32_t offset, int32_t value)
    {
        std::memcpy(static_cast<uint8_t*>(buffer) + offset, &value, sizeof(value));
    }

    std::vector<SDiObjectInfo> m_objects;
    uint32_t m_epoch = 0;
};

class CSdlKeyboard : public CSdlDeviceBase
{
public:
    CSdlKeyboard()
    {
        for (int code = 1; code < 256; ++code)
            if (const char* name = GetDikName(static_cast<uint8_t>(code)))
                m_objects.push_back({EDiObjectKind::Key, code, name});
    }
    EDiDeviceType GetType() const override { return EDiDeviceType::Keyboard; }
    std::string GetProductName() const override { return "Keyboard"; }

    EDiResult GetDeviceState(uint32_t size, void* buffer) override
    {
        EDiResult result = BeginState(size, buffer);
        if (result != EDiResult::Ok)
            return result;
        const auto& keys = CSdlInputSource::Get().GetKeyStates();
        for (size_t i = 0; i < m_format.objects.size(); ++i)
            if (m_boundObjects[i] >= 0)
                static_cast<uint8_t*>(buffer)[m_format.objects[i].offset] =
                    keys[static_cast<uint8_t>(m_objects[static_cast<size_t>(m_boundObjects[i])].instance)];
        return EDiResult::Ok;
    }
};

class CSdlMouse : public CSdlDeviceBase
{
public:
    CSdlMouse()
    {
        m_objects = {{EDiObjectKind::XAxis, 0, "X Axis"}, {EDiObjectKind::YAxis, 0, "Y Axis"},
                     {EDiObjectKind::ZAxis, 0, "Wheel"},  {EDiObjectKind::Button, 0, "Button 0"},
                     {EDiObjectKind::Button, 1, "Button 1"}, {EDiObjectKind::Button, 2, "Button 2"},
                     {EDiObjectKind::Button, 3, "Button 3"}};
    }
    EDiDeviceType GetType() const override { return EDiDeviceType::Mouse; }
    std::string GetProductName() const override { return "Mouse"; }

    EDiResult GetDeviceState(uint32_t size, void* buffer) override
    {
        EDiResult result = BeginState(size, buffer);
        if (result != EDiResult::Ok)
            return result;
        CSdlInputSource& source = CSdlInputSource::Get();
        int32_t motion[3];
        source.TakeMouseMotion(motion[0], motion[1], motion[2]);
        for (size_t i = 0; i < m_format.objects.size(); ++i)
        {
            if (m_boundObjects[i] < 0)
                continue;
            const SDiObjectInfo& object = m_objects[static_cast<size_t>(m_boundObjects[i])];
            uint32_t offset = m_format.objects[i].offset;
            if (object.kind == EDiObjectKind::Button)
                static_cast<uint8_t*>(buffer)[offset] = source.GetMouseButtons()[static_cast<size_t>(object.instance)];
            else
                PutInt32(buffer, offset, motion[static_cast<int>(object.kind)]);
        }
        return EDiResult::Ok;
    }
};

// Hat position as hundredths of a degree clockwise from up, or -1 when centred.
int32_t PovFromHat(Uint8 hat)
{
    switch (hat)
    {
    case SDL_HAT_UP: return 0;
    case SDL_HAT_RIGHTUP: return 4500;
    case SDL_HAT_RIGHT: return 9000;
    case SDL_HAT_RIGHTDOWN: return 13500;
    case SDL_HAT_DOWN: return 18000;
    case SDL_HAT_LEFTDOWN: return 22500;
    case SDL_HAT_LEFT: return 27000;
    case SDL_HAT_LEFTUP: return 31500;
    default: return -1;
    }
}

class CSdlJoystick : public CSdlDeviceBase
{
public:
    explicit CSdlJoystick(int instanceId) : m_id(instanceId)
    {
        m_foreground = false; // game controllers are read in the background too
        SDL_Joystick* joystick = Handle();
        if (!joystick)
            return;
        const char* name = SDL_JoystickName(joystick);
        m_name = name ? name : "";
        // Axes 0 to 5 are x, y, z and the three rotations; 6 and 7 the two sliders.
        static const EDiObjectKind AXES[] = {EDiObjectKind::XAxis,  EDiObjectKind::YAxis,  EDiObjectKind::ZAxis,
                                             EDiObjectKind::RxAxis, EDiObjectKind::RyAxis, EDiObjectKind::RzAxis};
        int axes = SDL_JoystickNumAxes(joystick);
        for (int i = 0; i < axes && i < 8; ++i)
        {
            SDiObjectInfo object {i < 6 ? AXES[i] : EDiObjectKind::Slider, i < 6 ? 0 : i - 6, "Axis"};
            m_objects.push_back(object);
            m_axisOf.push_back(i);
        }
        int buttons = SDL_JoystickNumButtons(joystick);
        for (int i = 0; i < buttons && i < 128; ++i)
        {
            m_objects.push_back({EDiObjectKind::Button, i, "Button"});
            m_axisOf.push_back(i);
        }
        if (SDL_JoystickNumHats(joystick) > 0)
        {
            m_objects.push_back({EDiObjectKind::Pov, 0, "Hat"});
            m_axisOf.push_back(0);
        }
    }

    EDiDeviceType GetType() const override { return EDiDeviceType::Joystick; }
    std::string GetProductName() const override { return m_name; }

    EDiResult Acquire() override
    {
        SDL_Joystick* joystick = Handle();
        if (!joystick || !SDL_JoystickGetAttached(joystick))
            return EDiResult::NotAttached;
        return CSdlDeviceBase::Acquire();
    }

    EDiResult Poll() override
    {
        SDL_Joystick* joystick = Handle();
        if (!joystick || !SDL_JoystickGetAttached(joystick))
        {
            m_acquired = false;
            return EDiResult::InputLost;
        }
        SDL_JoystickUpdate();
        return CheckAcquired();
    }

    EDiResult GetDeviceState(uint32_t size, void* buffer) override
    {
        SDL_Joystick* joystick = Handle();
        if (!joystick || !SDL_JoystickGetAttached(joystick))
        {
            m_acquired = false;
            return EDiResult::InputLost;
        }
        EDiResult result = BeginState(size, buffer);
        if (result != EDiResult::Ok)
            return result;
        for (size_t i = 0; i < m_format.objects.size(); ++i)
        {
            int bound = m_boundObjects[i];
            uint32_t offset = m_format.objects[i].offset;
            if (bound < 0)
            {
                // A hat the device lacks reads as centred.
                if (m_format.objects[i].kind == EDiObjectKind::Pov)
                    PutInt32(buffer, offset, -1);
                continue;
            }
            const SDiObjectInfo& object = m_objects[static_cast<size_t>(bound)];
            int sdlIndex = m_axisOf[static_cast<size_t>(bound)];
            if (object.kind == EDiObjectKind::Button)
                static_cast<uint8_t*>(buffer)[offset] = SDL_JoystickGetButton(joystick, sdlIndex) ? 0x80 : 0;
            else if (object.kind == EDiObjectKind::Pov)
                PutInt32(buffer, offset, PovFromHat(SDL_JoystickGetHat(joystick, sdlIndex)));
            else
                PutInt32(buffer, offset, SDL_JoystickGetAxis(joystick, sdlIndex));
        }
        return EDiResult::Ok;
    }

    EDiResult GetAxisRange(EDiObjectKind kind, int instance, int32_t& minimum, int32_t& maximum) const override
    {
        for (const SDiObjectInfo& object : m_objects)
        {
            if (object.kind == kind && object.instance == instance && IsDiAxisKind(kind))
            {
                minimum = -32768;
                maximum = 32767;
                return EDiResult::Ok;
            }
        }
        return EDiResult::InvalidParam;
    }

private:
    SDL_Joystick* Handle() const { return CSdlInputSource::Get().GetJoystick(m_id); }

    int m_id;
    std::string m_name;
    std::vector<int> m_axisOf; // per object, the SDL axis, button or hat index
};
} // namespace

namespace
{
void FeedInputSource(const void* platformEvent)
{
    CSdlInputSource::Get().OnEvent(*static_cast<const SDL_Event*>(platformEvent));
}
} // namespace

bool CSdlInputProvider::CreateDirectInput(uint32_t)
{
    // Both versions read SDL's events, which the window's message pump passes on.
    ApplySdlProcessHints();
    if (SDL_WasInit(SDL_INIT_EVENTS) == 0 && SDL_InitSubSystem(SDL_INIT_EVENTS) != 0)
        return false;
    SetRawEventObserver(&FeedInputSource);
    return true;
}

EDiResult CSdlInputProvider::GetDeviceStatus(EDiDeviceType type)
{
    return type == EDiDeviceType::Joystick ? EDiResult::NotAttached : EDiResult::Ok;
}

std::unique_ptr<CDiDevice> CSdlInputProvider::CreateSystemDevice(EDiDeviceType type)
{
    if (type == EDiDeviceType::Keyboard)
        return std::make_unique<CSdlKeyboard>();
    if (type == EDiDeviceType::Mouse)
        return std::make_unique<CSdlMouse>();
    return nullptr;
}

bool CSdlInputProvider::EnumJoysticks(std::vector<int>& joystickIds)
{
    return CSdlInputSource::Get().ListJoysticks(joystickIds);
}

std::unique_ptr<CDiDevice> CSdlInputProvider::CreateJoystick(int joystickId)
{
    if (!CSdlInputSource::Get().GetJoystick(joystickId))
        return nullptr;
    return std::make_unique<CSdlJoystick>(joystickId);
}
