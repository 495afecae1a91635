#include "platform/input/SdlInputSource.h"

#include "platform/SdlVideo.h"
#include "platform/input/DikCodes.h"

#include <cstring>

namespace
{
constexpr int32_t WHEEL_NOTCH = 120; // movement of one wheel notch, as the game expects it

uint8_t ButtonIndex(uint8_t sdlButton)
{
    switch (sdlButton)
    {
    case SDL_BUTTON_LEFT: return 0;
    case SDL_BUTTON_RIGHT: return 1;
    case SDL_BUTTON_MIDDLE: return 2;
    case SDL_BUTTON_X1: return 3;
    default: return 255;
    }
}
} // namespace

CSdlInputSource& CSdlInputSource::Get()
{
    static CSdlInputSource s_source;
    return s_source;
}

CSdlInputSource::CSdlInputSource() = default;

CSdlInputSource::~CSdlInputSource()
{
    for (auto& entry : m_joysticks)
        SDL_JoystickClose(entry.second);
    if (m_joystickReady)
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
}

void CSdlInputSource::SetFocus(bool focused)
{
    if (m_focused && !focused)
    {
        ClearState();
        ++m_focusEpoch;
    }
    m_focused = focused;
}

void CSdlInputSource::ClearState()
{
    m_keys.fill(0);
    m_mouseButtons.fill(0);
    m_mouseX = m_mouseY = m_mouseZ = 0;
}

void CSdlInputSource::OnEvent(const SDL_Event& event)
{
    switch (event.type)
    {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (uint8_t code = DikFromScancode(event.key.keysym.scancode))
            m_keys[code] = event.type == SDL_KEYDOWN ? 0x80 : 0x00;
        break;
    case SDL_MOUSEMOTION:
        m_mouseX += event.motion.xrel;
        m_mouseY += event.motion.yrel;
        break;
    case SDL_MOUSEWHEEL:
        m_mouseZ += (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y) * WHEEL_NOTCH;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    {
        uint8_t index = ButtonIndex(event.button.button);
        if (index < m_mouseButtons.size())
            m_mouseButtons[index] = event.type == SDL_MOUSEBUTTONDOWN ? 0x80 : 0x00;
        break;
    }
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
            SetFocus(false);
        else if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
            SetFocus(true);
        break;
    case SDL_JOYDEVICEREMOVED:
    {
        auto found = m_joysticks.find(event.jdevice.which);
        if (found != m_joysticks.end())
        {
            SDL_JoystickClose(found->second);
            m_joysticks.erase(found);
        }
        break;
    }
    default:
        break;
    }
}

void CSdlInputSource::TakeMouseMotion(int32_t& x, int32_t& y, int32_t& z)
{
    x = m_mouseX;
    y = m_mouseY;
    z = m_mouseZ;
    m_mouseX = m_mouseY = m_mouseZ = 0;
}

bool CSdlInputSource::ListJoysticks(std::vector<int>& instanceIds)
{
    instanceIds.clear();
    if (!m_joystickReady)
    {
        ApplySdlProcessHints();
        if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0)
            return false;
        m_joystickReady = true;
    }
    SDL_JoystickUpdate();
    int count = SDL_NumJoysticks();
    if (count < 0)
        return false;
    for (int index = 0; index < count; ++index)
    {
        int id = SDL_JoystickGetDeviceInstanceID(index);
        if (id < 0)
            continue;
        if (!m_joysticks.count(id))
        {
            SDL_Joystick* joystick = SDL_JoystickOpen(index);
            if (!joystick)
                continue;
            m_joysticks[id] = joystick;
        }
        instanceIds.push_back(id);
    }
    return true;
}

SDL_Joystick* CSdlInputSource::GetJoystick(int instanceId) const
{
    auto found = m_joysticks.find(instanceId);
    return found == m_joysticks.end() ? nullptr : found->second;
}
