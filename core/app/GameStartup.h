#pragma once
// The game's start-up step and its teardown: the game singleton, the object types of
// every layer and the game's console commands.

#include "core/app/StartupSequence.h"

// Creates the game, registers the object types and level sections of the world and
// ships layers, initialises it on the sprite bank and registers its commands.
EStepResult StartGame();
// Ends a running level, shuts the game down and deletes it (nothing when there is none).
void StopGame(ETeardownReason reason);
