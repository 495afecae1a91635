#pragma once
// Shows the set-up dialogs to the player before the game window opens, one window for
// all of them: each form in turn takes its size, caption and controls (buttons, check
// boxes, radio buttons, combo boxes), used by mouse or keyboard (Tab moves the focus,
// Space toggles or presses, the arrows pick, Enter confirms, Escape cancels).

#include "core/DialogForm.h"

#include <memory>

struct SDialogWindow;

class CSdlDialogView : public CDialogView
{
public:
    CSdlDialogView();
    ~CSdlDialogView() override;

    // Without a display the form is answered with its default button.
    int RunForm(CDialogForm& form) override;

private:
    std::unique_ptr<SDialogWindow> m_window;
};
