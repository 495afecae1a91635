#pragma once
// The abstract input device: keyboard state by key code (DikCodes.h), relative mouse
// movement and buttons, and any number of game controllers. Two implementations
// keep the behaviour of the two device-library versions the game was built for:
// CCoreInputDI8 (the default) and CCoreInputDI5 (forced by "i_forcedi5" or when
// version 8 cannot start).

#include <cstdint>

class CDataTree;
class CWString;
class CDiProvider;

// The state of one game controller as callers see it.
struct SJoystickState
{
    int32_t numAxisPairs;
    int32_t numButtons;
    int32_t axes[4][2];   // pair 0 is x and y
    uint8_t buttons[16];  // bit 7 down
    int32_t pov;          // hundredths of a degree clockwise from up, -1 centred
};

class CCoreInput
{
public:
    virtual ~CCoreInput() = default;

    virtual void ReadSettings(CDataTree* tree) = 0;
    virtual void WriteSettings(CDataTree* tree) = 0;
    virtual bool Init(void* instance) = 0;
    virtual void Poll() = 0;
    virtual bool IsKeyboardPresent() = 0;
    virtual bool IsMouseAttached() = 0;
    virtual bool IsJoystickActive(int n) = 0;
    virtual int GetJoystickCount() = 0;
    virtual bool IsKeyDown(int code) = 0;
    virtual const uint8_t* GetKeyStates() = 0;
    virtual void GetMouseDelta(int32_t* x, int32_t* y) = 0;
    virtual void GetMouseButtons(bool* left, bool* right, bool* middle) = 0;
    virtual bool GetJoystickState(int n, SJoystickState* state) = 0;
    virtual bool GetJoystickName(int n, CWString* name) = 0;
    virtual bool GetJoystickAxisRange(int n, int pair, int32_t* min1, int32_t* max1, int32_t* min2,
                                      int32_t* max2) = 0;
    virtual void ReenumerateJoysticks() = 0;
};

extern CCoreInput* g_input;

// Names of the keys by code, filled while a keyboard is created (for the key-map screen).
const char* GetKeyName(int code);
int GetKeyNameCount();
