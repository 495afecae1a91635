#pragma once
// The text pages' start-up step, their frame step and their teardown.

#include "core/app/StartupSequence.h"

// Creates g_textPages on the GUI, hooks their drawing onto the sprite bank,
// installs them on the game and registers "/showpage NAME", which shows a page file
// of data\chat\ over whatever runs; fails with "Error during startup - code 0x8000000f".
EStepResult StartTextPages();
// Takes them out of the game and deletes them (nothing when there are none).
void StopTextPages(ETeardownReason reason);
// Once a frame after the controls' poll: every showing page types or turns.
void UpdateTextPages();
