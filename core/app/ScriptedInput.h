#pragma once
// TESSAVAR_SCRIPT in the running game: the script is read at the end of start-up, and
// each frame's input is posted to the game window's queue before that frame runs.

#include <cstdint>

// True when there is no script or it was read; false (with a message on standard
// error) when it cannot be read.
bool LoadInputScript();
// Posts the input of frames up to this one (nothing without a script).
void PostScriptedInput(uint32_t frame);
