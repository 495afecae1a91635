#pragma once
// The sequence director: made on the game and its game flow, its chat pages loaded
// and the start-up logo playing; taken out before the game goes.

#include "core/app/StartupSequence.h"

EStepResult StartDirector();
void StopDirector(ETeardownReason reason);
