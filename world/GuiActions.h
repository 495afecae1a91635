#pragma once
// The game's nine actions as the GUI takes them each frame (CGuiManager::SetActionInput).
//
// The controls set "held" only once a press has lasted 250 ms and clear "down" from
// then on, while the GUI acts on the frame a key goes down and repeats every 350 ms.
// So that a normal tap (well under 250 ms) works on every control, an action counts
// as pressed for the GUI whenever it is down or held: from the first poll its key is
// down until the poll it is let go.

#include "presentation/GuiTypes.h"

class CControls;

SGuiActionInput GetGuiActions(const CControls& controls);
