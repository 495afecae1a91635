// "records.bin" as the hall of fame reads it: a file it takes is written again and
// must read back to the same bytes, and pilots are entered into its table; a file it
// refuses must leave the defaults.

#include "frontend/HallOfFame.h"
#include "utility/source/QelMemoryFile.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CQelMemoryFile file(data, size);
    CHallOfFame hall;
    std::string why;
    if (!hall.Read(file, why))
    {
        if (why.empty() || hall.GetBestQuickActionTime() != CHallOfFame::DEFAULT_QUICK_ACTION_TIME)
            __builtin_trap();
        return 0;
    }
    CQelMemoryFile written;
    if (!hall.Write(written))
        __builtin_trap();
    CQelMemoryFile again(written.GetBytes());
    CHallOfFame reread;
    CQelMemoryFile rewritten;
    if (!reread.Read(again, why) || !reread.Write(rewritten) || rewritten.GetBytes() != written.GetBytes())
        __builtin_trap();
    for (int i = 0; i < HALL_OF_FAME_SIZE; ++i)
    {
        SPilotRecord pilot = hall.GetEntry(i);
        pilot.score += 1;
        hall.Insert(pilot);
    }
    hall.RecordSurvivalScore(1, hall.GetBestSurvivalScore(1) + 1, hall.GetEntry(0).name);
    return 0;
}
