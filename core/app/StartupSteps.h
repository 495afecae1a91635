#pragma once
// The game's start-up steps, in order; StartupSteps.cpp says how to add one.

#include "core/app/StartupSequence.h"

#include <cstddef>

const SStartupStep* GetStartupSteps(size_t& count);

// All floating-point exceptions masked, rounding to nearest: at start-up and again at
// the start of every frame.
void SetFpuControlWord();
