#pragma once
// A control that takes the focus while it is visible and enabled, from navigation or
// from the pointer hovering over it (with the navigate sound when the focus is new to
// it): buttons, image buttons, list buttons and edit boxes.

#include "presentation/GuiControl.h"

class CGuiFocusable : public CGuiControl
{
public:
    bool TakeFocus() override;
    bool AcceptHoverFocus() override;
};
