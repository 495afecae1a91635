// The zone block of a save, read against the zones of fuzz/seeds/zones.txt. A block
// that reads must write back and read again to the same bytes; nothing may crash,
// hang or leak whatever the counts, indices, names and tags hold.

#include "core/DataFile.h"
#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "core/RealTimeClock.h"
#include "fuzz/FuzzSupport.h"
#include "utility/source/QelMemoryFile.h"
#include "world/Game.h"
#include "world/ZoneFile.h"
#include "world/ZoneManager.h"

#include "ZoneFuzzZones.h"

#include <cstring>

namespace
{
CZoneManager& GetFuzzZones()
{
    static CZoneManager* zones = [] {
        static CManualClock clock;
        SetRealTimeClock(&clock);
        GetFuzzScratchFolder();
        CGame* game = CreateGame();
        auto* made = new CZoneManager(*game);
        CDataNodeList nodes;
        ParseDataBytes(reinterpret_cast<const uint8_t*>(FUZZ_ZONES), std::strlen(FUZZ_ZONES), nodes);
        CDefinitionProblems problems;
        ZoneVector read;
        for (const auto& node : nodes)
            if (node->IsBlock() && ReadZones(static_cast<const CDataTree&>(*node), read, problems))
                break;
        if (read.empty())
            __builtin_trap(); // the harness's own zones must read
        made->SetZones(std::move(read));
        return made;
    }();
    return *zones;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    GetFuzzZones();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CZoneManager& zones = GetFuzzZones();
    CQelMemoryFile block(data, size);
    if (!zones.LoadState(block))
        return 0;
    CQelMemoryFile written;
    if (!zones.SaveState(written, zones.GetLoadedChecksum()))
        __builtin_trap();
    CQelMemoryFile again(written.GetBytes());
    CQelMemoryFile rewritten;
    if (!zones.LoadState(again) || !zones.SaveState(rewritten, zones.GetLoadedChecksum()) ||
        rewritten.GetBytes() != written.GetBytes())
        __builtin_trap();
    return 0;
}
