#pragma once
// The HUD's start-up step and its teardown: the real HUD installed on the game in
// place of its do-nothing one.

#include "core/app/StartupSequence.h"

// Installs the HUD on the game (made by the step before); fails without memory.
EStepResult StartHud();
// Takes the HUD out of the game again (nothing when there is none).
void StopHud(ETeardownReason reason);
