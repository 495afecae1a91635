#pragma once
// The base of every front-end screen. The game flow (GameFlow.h) owns one object of
// each screen in its screen table and drives it only through the operations below:
// Load once, then Show and Hide in turn as screens change, Update every frame while
// the screen is current.
//
// A screen builds its page from one layout file under "data/frontend/" whose page
// window carries the control id screen id x 1000. Its controls report to one static
// callback, installed by Show, that hands every event to the screen's HandleEvent,
// unless the screen's input gate (real time, 250 ms after Show or a popup's opening)
// still stands, so that the key or click that opened the screen cannot act on it.
// At most one popup (a small layout of its own, window 100, message 101, confirm
// 102, cancel 103) is open on a screen at a time.

#include "frontend/ScreenLayout.h"
#include "frontend/ScreenTime.h"

#include <cstdint>

class CGameFlow;

class CFrontEndScreen
{
public:
    static constexpr uint32_t INPUT_GATE_MS = 250;

    CFrontEndScreen(CGameFlow& flow, int screenId, const char* layoutFile);
    // Moves the focus away and destroys the page and any popup.
    virtual ~CFrontEndScreen();
    CFrontEndScreen(const CFrontEndScreen&) = delete;
    CFrontEndScreen& operator=(const CFrontEndScreen&) = delete;

    // Once a frame while the screen is current.
    virtual void Update() {}
    // Loads the page (hidden); a layout without its page window still loads.
    virtual void Load();
    // Makes the screen visible: page shown, callback installed, focus, control
    // states, the input gate armed.
    virtual void Show() = 0;
    // Closes the popup and hides the page; safe to call when hidden already.
    virtual void Hide();
    virtual bool IsBusy() const { return false; }
    // The quote panels and sprites of the screens that show them.
    virtual void HideExtras() {}

    int GetId() const { return m_id; }
    const CScreenLayout& GetPage() const { return m_page; }
    const CScreenLayout& GetPopup() const { return m_popup; }
    bool IsPopupOpen() const;
    // Real time before which events are ignored.
    uint32_t GetInputGate() const { return m_inputGate; }
    void ArmInputGate(uint32_t ms = INPUT_GATE_MS);
    bool IsInputGateOpen() const;

    // The callback every screen installs: finds the screen by the owner value its
    // controls carry (the screen id) and hands it the event when its gate is open.
    static void DispatchEvent(int32_t owner, int32_t controlId, int32_t event, int32_t value);

protected:
    // What the screen does with an event of its page or popup.
    virtual void HandleEvent(int32_t /*controlId*/, int32_t /*event*/, int32_t /*value*/) {}

    // Shows the page window and installs the callback.
    void ShowPage();
    void HidePage();
    // Loads and shows a popup (closing one that is open), gives its message control
    // (101) the text when an id is given, and the focus to focusId.
    bool OpenPopup(const char* file, int focusId, uint32_t messageId = NO_TEXT);
    // Destroys the popup, then gives the focus back to the page's control (-1: none).
    void ClosePopup(int focusId);
    // The back action on one of a list of buttons moves the focus to the screen's
    // back button when it is shown; true when the event was such an action.
    bool FocusBackOnBackAction(int32_t event, int32_t value, int backId);
    // Hides the page, stops the screen's sequence and makes `screen` current.
    void LeavePageFor(int screen);

    static constexpr uint32_t NO_TEXT = 0xFFFFFFFFu;

    CGameFlow& m_flow;
    const int m_id;
    const char* const m_layoutFile;
    CScreenLayout m_page;
    CScreenLayout m_popup;
    uint32_t m_inputGate = 0;
};
