// The zone block of a save, read against the zones of fuzz/seeds/zones.txt. A block
// that reads must write back and read again to the same bytes; nothing may crash,
// hang or leak whatever the counts, indices, names and tags hold.

#include "fuzz/FuzzWorld.h"
#include "utility/source/QelMemoryFile.h"
#include "world/ZoneManager.h"

namespace
{
CZoneManager& GetFuzzZones()
{
    static CZoneManager* zones = CreateFuzzZones(*CreateFuzzGame());
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
