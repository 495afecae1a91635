#pragma once
// The controls (screen 15): for each of the eight flight actions its key and its
// joystick binding, the joystick chosen from those present, and its dead zone.
//
// A row's button starts a capture: the row buttons are disabled and, two frames
// later, the screen watches the keyboard (and the chosen joystick) every frame. The
// first key pressed becomes the row's key, and the action that held it takes the
// row's old key, so that no key serves two actions. The confirm key (action 8) is
// never taken, nor, for rows other than the first, the key of action 0 (the GUI's
// select); Escape ends the capture with the old binding. A joystick's first pressed
// button, or else an axis pushed beyond the dead zone, becomes the row's binding in
// the same way. While a capture runs (and until its Escape is let go) the game flow
// leaves Escape to this screen. The key map is saved whenever the screen is left.

#include "frontend/FrontEndScreen.h"

#include <cstdint>
#include <string>

class COptions;
struct SJoystickBinding;

class CControlsScreen : public CFrontEndScreen
{
public:
    static constexpr const char* LAYOUT = "data/frontend/controls.txt";
    static constexpr int ROWS = 8;
    static constexpr int CAPTURE_WAIT_FRAMES = 2;
    static constexpr uint32_t RESCAN_PAUSE_MS = 1000;

    enum EControl : int
    {
        BACK = 15001,
        FIRST_ROW = 15002, // row k: button 15002 + 3k, key text and joystick text after it
        RESCAN = 15026,
        JOYSTICK_LIST = 15027,
        DEAD_ZONE_LIST = 15028,
    };
    enum EText : uint32_t
    {
        TEXT_AXIS = 0xeb000004,         // "%i %s": the pair and the direction
        TEXT_FIRST_NEGATIVE = 0x57000002,
        TEXT_FIRST_POSITIVE = 0xd7000004,
        TEXT_SECOND_POSITIVE = 0xd8000001,
        TEXT_SECOND_NEGATIVE = 0x1000003,
        TEXT_NO_JOYSTICK = 0x9e000002,  // the list's first choice
        TEXT_NONE_FOUND = 0xbe000002,   // a joystick's name could not be read
    };

    explicit CControlsScreen(CGameFlow& flow);

    void Show() override;
    void Hide() override;
    void Update() override;

    // The row being captured, -1 for none.
    int GetCaptureRow() const { return m_captureRow; }
    // A key's name as the rows show it ("?" for a code without one).
    static std::u16string DescribeKey(int32_t code);
    // A binding as the rows show it: "B%i" for a button, else the axis text.
    static std::u16string DescribeBinding(const SJoystickBinding& binding);

protected:
    void HandleEvent(int32_t controlId, int32_t event, int32_t value) override;

private:
    COptions& GetOptions() const;
    static int GetRowOfButton(int32_t controlId);
    void StartCapture(int row);
    void EndCapture();
    // The first key pressed that the row may take, 0 for none; 1 for Escape.
    int FindPressedKey(int row) const;
    bool TakeKey(int row, int32_t key);
    bool FindJoystickBinding(SJoystickBinding& binding) const;
    void TakeBinding(int row, const SJoystickBinding& binding);
    void FillJoystickList();
    void SelectJoystick(int choice);
    void Rescan();
    void RefreshRows();
    void SetRowsEnabled(bool enabled);

    int m_captureRow = -1;
    int m_captureWait = 0;
    // An Escape that ended a capture, still held.
    bool m_escapeHeld = false;
    uint32_t m_rescanUntil = 0;
    bool m_rescanPaused = false;
};
