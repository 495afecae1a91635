#pragma once
// A small DirectInput-shaped device model. The input classes talk to keyboards, mice
// and game controllers only through these calls, with the same data-format rules,
// acquisition and error results that they were written against. The SDL provider
// (SdlInputSource.h) backs it with real devices; tests give their own.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum class EDiResult
{
    Ok,
    InputLost,      // the device was taken away (focus loss, unplugged)
    NotAcquired,    // acquire first (or acquiring is not possible now)
    InvalidParam,   // a data format the device cannot fill
    Acquired,       // the call is not allowed while acquired
    NotInitialised, // no data format set
    NotAttached,
    Other,
};

enum class EDiObjectKind : uint8_t
{
    XAxis,
    YAxis,
    ZAxis,
    RxAxis,
    RyAxis,
    RzAxis,
    Slider,
    Button,
    Pov,
    Key,
};

bool IsDiAxisKind(EDiObjectKind kind);

constexpr int DI_ANY_INSTANCE = -1;

// One object of a data format: where in the state buffer a device object goes.
struct SDiObjectFormat
{
    EDiObjectKind kind;
    int instance;    // which object of that kind, or DI_ANY_INSTANCE for the next unused one
    uint32_t offset; // byte offset in the state buffer
    bool optional;   // a device without such an object still accepts the format
};

struct SDiDataFormat
{
    uint32_t dataSize = 0;
    bool absoluteAxes = true;
    std::vector<SDiObjectFormat> objects;
};

struct SDiObjectInfo
{
    EDiObjectKind kind;
    int instance;
    std::string name;
};

// Checks a format against the objects a device has, by the rules a device applies
// when the format is set: a data size in whole 32-bit units; axes and hats in aligned
// 32-bit slots, buttons and keys in single bytes, all inside the data; every
// non-optional object present. On success, objectsFound[i] is the index into
// "objects" bound to format object i, or -1.
EDiResult ValidateDiDataFormat(const SDiDataFormat& format, const std::vector<SDiObjectInfo>& objects,
                               std::vector<int>* objectsFound);

enum class EDiDeviceType
{
    Keyboard,
    Mouse,
    Joystick,
};

class CDiDevice
{
public:
    virtual ~CDiDevice() = default;

    virtual EDiDeviceType GetType() const = 0;
    virtual std::string GetProductName() const = 0;
    virtual const std::vector<SDiObjectInfo>& GetObjects() const = 0;

    // The window the device belongs to, and whether it is only read while that window
    // has the focus. Recorded; the provider decides what focus means.
    virtual EDiResult SetCooperativeLevel(void* window, bool foreground);
    virtual EDiResult SetDataFormat(const SDiDataFormat& format);
    virtual EDiResult Acquire() = 0;
    virtual EDiResult Unacquire();
    virtual EDiResult Poll() = 0;
    // Fills "size" bytes (the data format's size) with the current state.
    virtual EDiResult GetDeviceState(uint32_t size, void* buffer) = 0;
    // Range of an axis object (by kind and instance).
    virtual EDiResult GetAxisRange(EDiObjectKind kind, int instance, int32_t& minimum, int32_t& maximum) const;

protected:
    bool m_acquired = false;
    bool m_foreground = true;
    void* m_window = nullptr;
    SDiDataFormat m_format;
    std::vector<int> m_boundObjects; // per format object, the device object index or -1
    bool m_hasFormat = false;
};

// What DirectInput gives the input classes: devices by type, the game controllers
// attached now, and the status of the system keyboard and mouse.
class CDiProvider
{
public:
    virtual ~CDiProvider() = default;

    // Makes the device library of this version ready; false when it cannot start.
    virtual bool CreateDirectInput(uint32_t version) = 0;

    // Ok or NotAttached.
    virtual EDiResult GetDeviceStatus(EDiDeviceType type) = 0;
    virtual std::unique_ptr<CDiDevice> CreateSystemDevice(EDiDeviceType type) = 0;
    // The attached game controllers; false when they cannot be listed.
    virtual bool EnumJoysticks(std::vector<int>& joystickIds) = 0;
    virtual std::unique_ptr<CDiDevice> CreateJoystick(int joystickId) = 0;
};
