#pragma once
// The two input devices over the DirectInput-shaped layer. They share everything but
// the data format they build for a game controller and the prefix of their messages.

#include "platform/CoreInput.h"
#include "platform/input/DInputLayer.h"

#include <memory>
#include <string>
#include <vector>

// Which layout a game controller's state buffer has.
enum class EJoystickFormat
{
    Own,      // built from the objects the device has (60 bytes, the caller's layout)
    Standard, // the fixed 80-byte layout
    Extended, // the fixed 272-byte layout
};

struct SJoystickRecord
{
    std::unique_ptr<CDiDevice> device;
    uint8_t state[272] = {};
    bool active = false;
    EJoystickFormat format = EJoystickFormat::Own;
    int numAxisPairs = 0;   // pairs of real axes
    int numButtons = 0;
    int32_t ranges[4][4] = {}; // per pair: min and max of the first axis, then of the second
    bool hasPov = false;
    std::u16string name;
};

class CCoreInputDIBase : public CCoreInput
{
public:
    void ReadSettings(CDataTree* tree) override;
    void WriteSettings(CDataTree* tree) override;
    bool Init(void* instance) override;
    void Poll() override;
    bool IsKeyboardPresent() override { return m_keyboardPresent; }
    bool IsMouseAttached() override { return m_mousePresent; }
    bool IsJoystickActive(int n) override;
    int GetJoystickCount() override { return static_cast<int>(m_joysticks.size()); }
    bool IsKeyDown(int code) override;
    const uint8_t* GetKeyStates() override { return m_keys; }
    void GetMouseDelta(int32_t* x, int32_t* y) override;
    void GetMouseButtons(bool* left, bool* right, bool* middle) override;
    bool GetJoystickState(int n, SJoystickState* state) override;
    bool GetJoystickName(int n, CWString* name) override;
    bool GetJoystickAxisRange(int n, int pair, int32_t* min1, int32_t* max1, int32_t* min2, int32_t* max2) override;
    void ReenumerateJoysticks() override;

    bool GetFudgeZRelative() const { return m_fudgeZRelative; }
    void SetFudgeZRelative(bool fudge) { m_fudgeZRelative = fudge; }

protected:
    // provider: where the devices come from (null: the system's).
    CCoreInputDIBase(uint32_t version, CDiProvider* provider);

    // The controller's own format; also says how its axes form pairs.
    virtual void BuildOwnFormat(const SJoystickRecord& record, SDiDataFormat& format) const = 0;
    // Whether the fixed layouts may be tried when the own one is refused.
    virtual bool HasFormatFallback() const = 0;
    const char* GetMessagePrefix() const;

private:
    bool CreateKeyboard();
    bool CreateMouse();
    void EnumerateJoysticks();
    bool SetUpJoystick(SJoystickRecord& record);
    void ReadAxisRanges(SJoystickRecord& record, const SDiDataFormat& format);
    void PollJoystick(SJoystickRecord& record);
    // Reads a device's state, acquiring once more when it was lost.
    static EDiResult ReadState(CDiDevice& device, uint32_t size, void* buffer);
    SJoystickRecord* FindJoystick(int n);

    uint32_t m_version;
    CDiProvider* m_provider;
    bool m_ready = false;
    void* m_window = nullptr;
    std::unique_ptr<CDiDevice> m_keyboard;
    std::unique_ptr<CDiDevice> m_mouse;
    bool m_keyboardPresent = false;
    bool m_mousePresent = false;
    uint8_t m_keys[256] = {};
    int32_t m_mouseState[3] = {};
    uint8_t m_mouseButtons[4] = {};
    std::vector<std::unique_ptr<SJoystickRecord>> m_joysticks;
    bool m_fudgeZRelative = false;
};

class CCoreInputDI8 : public CCoreInputDIBase
{
public:
    explicit CCoreInputDI8(CDiProvider* provider = nullptr) : CCoreInputDIBase(0x0800, provider) {}

protected:
    void BuildOwnFormat(const SJoystickRecord& record, SDiDataFormat& format) const override;
    bool HasFormatFallback() const override { return true; }
};

class CCoreInputDI5 : public CCoreInputDIBase
{
public:
    explicit CCoreInputDI5(CDiProvider* provider = nullptr) : CCoreInputDIBase(0x0500, provider) {}

protected:
    void BuildOwnFormat(const SJoystickRecord& record, SDiDataFormat& format) const override;
    bool HasFormatFallback() const override { return false; }
};

// The system's devices; tests replace it with a provider of their own.
CDiProvider* GetSystemDiProvider();
void SetSystemDiProvider(CDiProvider* provider);
