#pragma once
// A pilot record of a name and a score, for the tests of the hall of fame.

#include "frontend/PilotRecord.h"

inline SPilotRecord MakePilot(const char* name, uint32_t score)
{
    SPilotRecord record;
    record.SetName(name);
    record.score = score;
    return record;
}
