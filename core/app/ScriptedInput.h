#pragma once
// TESSAVAR_SCRIPT in the running game: the script is read at the end of start-up, and
// each frame's input is posted to the game window's queue before that frame runs.

#include <cstdint>

// TESSAVAR_FIXED_CLOCK=1 (any value but "0"): real time is a clock of the game's own
// that moves only while the game waits for its next frame, 40 ms a frame, and waiting
// costs nothing. A run then shows the same frames on any machine under any load (the
// GUI's key taps, the loading picture's two seconds and every other real-time wait
// take the same frames), as fast as the machine can go.
void InstallFixedClock();

// True when there is no script or it was read; false (with a message on standard
// error) when it cannot be read.
bool LoadInputScript();
// Posts the input of frames up to this one (nothing without a script).
void PostScriptedInput(uint32_t frame);
