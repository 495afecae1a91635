#pragma once
// The game's start-up steps and their teardown: the game singleton, the object types
// of every layer, the game's console commands and the game flow with its screens; the
// loading picture over start-up.

#include "core/app/StartupSequence.h"

// Creates the game, registers the object types and level sections of the world and
// ships layers, initialises it on the sprite bank and registers its commands; then
// the game flow, installed on the game, builds its screens.
EStepResult StartGame();
// The game flow and its screens go, a running level ends, the game shuts down and is
// deleted (nothing when there is none).
void StopGame(ETeardownReason reason);

// The loading picture goes up once the screen is black, and down (after at least two
// seconds) when start-up is over; its sprite goes back with the game's teardown.
EStepResult ShowStartupLoadingScreen();
void ReleaseStartupLoadingScreen(ETeardownReason reason);
EStepResult HideStartupLoadingScreen();

// The music stays silent for the first seconds, through the logo.
EStepResult HoldStartupMusic();
