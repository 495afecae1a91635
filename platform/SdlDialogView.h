#pragma once
// Shows the set-up dialogs to the player before the game window opens: forms with
// only buttons as a message box, the others in a small window of their own with
// check boxes, radio buttons and combo boxes, used by mouse or keyboard (Tab moves
// the focus, Space toggles, the arrows pick, Enter confirms, Escape cancels).

#include "core/DialogForm.h"

class CSdlDialogView : public CDialogView
{
public:
    // Without a display the form is answered with its default button.
    int RunForm(CDialogForm& form) override;
};
