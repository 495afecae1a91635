#pragma once
// The campaign's start-up step and its teardown: the real campaign installed on the
// game in place of its do-nothing one.

#include "core/app/StartupSequence.h"

EStepResult StartCampaign();
void StopCampaign(ETeardownReason reason);
