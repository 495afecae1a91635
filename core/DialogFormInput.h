#pragma once
// How a shown form answers the player's mouse and keys: focus, check boxes, radio
// groups, the open list of a combo box, and the button that ends the form. A view
// feeds it events and draws what it reports.

#include "core/DialogForm.h"

enum class EDialogKey
{
    Tab,
    ShiftTab,
    Escape,
    Enter,
    Space,
    Up,
    Down,
    Left,
    Right,
};

class CDialogFormInput
{
public:
    // The focus starts on the first control that can take it.
    explicit CDialogFormInput(CDialogForm& form);

    void OnKey(EDialogKey key);
    void OnMouseDown(int x, int y);
    void OnMouseUp(int x, int y);
    // The window was closed: the form's cancel button.
    void OnClose() { m_result = m_form.GetCancelButton(); }

    // The id of the button that ended the form, 0 while it runs.
    int GetResult() const { return m_result; }
    // Indices into the form's controls, -1 for none.
    int GetFocus() const { return m_focus; }
    int GetPressedButton() const { return m_pressed; }
    int GetOpenCombo() const { return m_openCombo; }
    // Where entry `item` of an open combo box's list lies.
    static void GetComboItemRect(const SDialogControl& combo, int item, int& x, int& y, int& width, int& height);

private:
    int HitTest(int x, int y) const;
    void Activate(int index);
    void MoveFocus(int step);
    void MoveInGroup(int step);

    CDialogForm& m_form;
    int m_focus = -1;
    int m_pressed = -1;   // button held down by the mouse
    int m_openCombo = -1; // combo box whose list shows
    int m_result = 0;
};
