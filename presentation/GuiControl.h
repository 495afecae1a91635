#pragma once
// The base of every GUI control: windows and the controls that live in them.
//
// A control belongs to the GUI manager (GuiManager.h), which keeps it in its table
// under a handle (0 to 1023) and deletes it. A control made by a layout also has a
// control id (by which screens find it) and the owner value of its window (which its
// events carry). Positions are in the 640 x 480 GUI space; a child's x and y are
// relative to its parent window's inner rectangle.
//
// Writing a control class:
// - GetType gives its type code (EGuiControlType); the other operations have do-nothing
//   defaults, so a class overrides what it takes part in: Draw, the pointer operations,
//   CharInput and Action (the GUI action codes of GuiTypes.h), TakeFocus and
//   AcceptHoverFocus (accepting sets m_focused), HitTest.
// - CharInput receives the codes of the renderer's key ring: typed characters (8
//   backspace, 13 Enter, 27 Escape, printable codes) and the pressed keys of
//   InputRing.h (KEY_RING_LEFT, KEY_RING_UP, KEY_RING_RIGHT, KEY_RING_DOWN,
//   KEY_RING_DELETE), which carry a bit above the 16-bit units.
// - RaiseEvent calls the one event callback. The handler may close windows, this
//   control's own among them: a closed control leaves the manager's table at once
//   (its handle no longer resolves) but is deleted only when the manager's current
//   step ends, so code after RaiseEvent may still read its members.
// - Navigate(action) moves the focus along a link the way every control does.

#include "presentation/GuiControlDescs.h"
#include "presentation/GuiTypes.h"

#include <cstdint>

class CGuiManager;
class CGuiWindow;

class CGuiControl
{
public:
    CGuiControl() = default;
    virtual ~CGuiControl() = default;

    // Runs once the manager has taken the control (so it has its handle): loads what
    // it draws or plays and looks its texts up. False when the control cannot work;
    // the manager then removes it again.
    virtual bool Initialise();
    CGuiControl(const CGuiControl&) = delete;
    CGuiControl& operator=(const CGuiControl&) = delete;

    // Closes the control and takes it out of the GUI (a window closes its children
    // first). The base removes the control from the manager.
    virtual void Close();
    // The left button went down at a point; true when taken.
    virtual bool PointerPress(const SGuiPoint& point);
    // A click (press and release in one place); true when taken.
    virtual bool PointerClick(const SGuiPoint& point);
    virtual void PointerMove(const SGuiPoint& point);
    // Window dragging; the pointer step of the manager never starts one.
    virtual bool BeginDrag(const SGuiPoint& point, bool& dragged);
    virtual void EndDrag(const SGuiPoint& point);
    // Draws at depth z; false when the renderer refused.
    virtual bool Draw(float z);
    virtual void DrawDragOutline();
    // Sets the rectangle's position (relative to the parent, if any).
    virtual void MoveTo(const SGuiPoint& position);
    virtual bool IsBusy() const;
    virtual void CharInput(uint32_t code);
    virtual void Action(int code);
    virtual bool TakeFocus();
    virtual bool AcceptHoverFocus();
    virtual void LoseFocus();
    // Visible and the point inside the rectangle on the screen (GetScreenRect).
    virtual bool HitTest(const SGuiPoint& point) const;
    // Looks string-table texts up again by their ids.
    virtual void RefreshStrings();
    virtual void OnFocusGained();
    virtual int GetType() const = 0;
    virtual void RemoveChild(CGuiControl* child);
    // Hiding or disabling the focused control moves the focus (SetFocus -1).
    virtual void SetVisible(bool visible);
    virtual void SetEnabled(bool enabled);
    // Windows: the first child under the point that accepts hover focus gets it.
    virtual bool FocusChildAt(const SGuiPoint& point);
    // How a control named as another's tooltip is shown and hidden (tooltips
    // override it with their timed show); by default its visibility.
    virtual void ShowAsTooltip(bool show);
    // Looks the control's own sample names up again after the audio restarts.
    virtual void ResolveSounds();

    // Hides this control's tooltip (when the new control's is another) and shows the
    // new control's tooltip.
    void SwitchTooltip(CGuiControl* newControl);
    // Follows the link of an up, down, left or right action past disabled controls;
    // when a control results, switches the tooltip, gives it the focus, plays the
    // navigate sound and gives true.
    bool Navigate(int action);
    // The link of an action (up, down, left, right), -1 for none or any other action.
    int GetLink(int action) const;
    void SetLinks(int up, int down, int left, int right);
    // The place, ids, links and owner a description gives.
    void SetFromDesc(const SGuiControlDesc& desc);
    // Calls the event callback with this control's owner value and control id.
    void RaiseEvent(int event, int value) const;

    // The rectangle in GUI coordinates: a child's position added to its parent's
    // inner rectangle.
    SGuiRect GetScreenRect() const;
    // The top-level window this control lives in (itself for a top-level window).
    const CGuiControl* GetTopLevel() const;

    CGuiManager* GetManager() const { return m_manager; }
    int GetHandle() const { return m_handle; }
    CGuiWindow* GetParent() const { return m_parent; }
    void SetParent(CGuiWindow* parent) { m_parent = parent; }
    int GetControlId() const { return m_controlId; }
    void SetControlId(int id) { m_controlId = id; }
    int GetTooltipControlId() const { return m_tooltipControlId; }
    void SetTooltipControlId(int id) { m_tooltipControlId = id; }
    int32_t GetOwner() const { return m_owner; }
    void SetOwner(int32_t owner) { m_owner = owner; }
    bool IsVisible() const { return m_visible; }
    bool IsEnabled() const { return m_enabled; }
    bool IsFocused() const { return m_focused; }
    void ClearFocusedFlag() { m_focused = false; }
    const SGuiRect& GetRect() const { return m_rect; }
    void SetRect(const SGuiRect& rect) { m_rect = rect; }

protected:
    friend class CGuiManager;

    CGuiManager* m_manager = nullptr; // set when the manager takes the control
    int m_handle = -1;
    CGuiWindow* m_parent = nullptr;   // null for a top-level window
    int m_upId = -1, m_downId = -1, m_leftId = -1, m_rightId = -1;
    int m_controlId = -1;
    int m_tooltipControlId = -1;
    int32_t m_owner = 0;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_focused = false;
    SGuiRect m_rect;
};
