#pragma once
// The process's one source of keyboard, mouse and game-controller input. The window
// layer hands it every SDL event; the DirectInput-shaped devices read it. Internal to
// the platform layer (it sees SDL).

#include "platform/input/DInputLayer.h"

#include <SDL.h>
#include <array>
#include <cstdint>
#include <map>

class CSdlInputSource
{
public:
    static CSdlInputSource& Get();

    // Takes one event from the window's message pump (or a test).
    void OnEvent(const SDL_Event& event);

    // Focus: devices bound in the foreground are lost when it goes.
    bool HasFocus() const { return m_focused; }
    uint32_t GetFocusEpoch() const { return m_focusEpoch; }
    void SetFocus(bool focused);

    const std::array<uint8_t, 256>& GetKeyStates() const { return m_keys; }

    // Mouse movement since the last call, and the four buttons (bit 7 down).
    void TakeMouseMotion(int32_t& x, int32_t& y, int32_t& z);
    const std::array<uint8_t, 4>& GetMouseButtons() const { return m_mouseButtons; }

    // Game controllers by SDL instance id; opened on first use, kept until unplugged.
    bool ListJoysticks(std::vector<int>& instanceIds);
    SDL_Joystick* GetJoystick(int instanceId) const;

    // Forgets every key and button (used when focus goes, and by tests).
    void ClearState();

private:
    CSdlInputSource();
    ~CSdlInputSource();

    std::array<uint8_t, 256> m_keys {};
    std::array<uint8_t, 4> m_mouseButtons {};
    int32_t m_mouseX = 0, m_mouseY = 0, m_mouseZ = 0;
    bool m_focused = true; // a window counts as active from the start
    uint32_t m_focusEpoch = 0;
    bool m_joystickReady = false;
    std::map<int, SDL_Joystick*> m_joysticks;
};

// The DirectInput-shaped provider over CSdlInputSource.
class CSdlInputProvider : public CDiProvider
{
public:
    bool CreateDirectInput(uint32_t version) override;
    EDiResult GetDeviceStatus(EDiDeviceType type) override;
    std::unique_ptr<CDiDevice> CreateSystemDevice(EDiDeviceType type) override;
    bool EnumJoysticks(std::vector<int>& joystickIds) override;
    std::unique_ptr<CDiDevice> CreateJoystick(int joystickId) override;
};
