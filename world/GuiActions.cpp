#include "world/GuiActions.h"

#include "world/Controls.h"

SGuiActionInput GetGuiActions(const CControls& controls)
{
    SGuiActionInput input;
    for (int row = 0; row < GUI_ACTION_ROWS && row < CControls::ACTION_COUNT; ++row)
    {
        const SControlAction& action = controls.GetAction(row);
        input.pressed[row] = action.down || action.held;
    }
    return input;
}
