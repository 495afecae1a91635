// A save slot's zone file as a load reads it, against the zones of fuzz/seeds/zones.txt
// with a campaign: the head, the zone block with the campaign's block, the director's
// block (older or with its tail) and nothing after it. A slot that passes the check
// must also be taken when applied, and must write back and read again to the same
// bytes; nothing may crash, hang or leak.

#include "frontend/Campaign.h"
#include "frontend/DirectorBlock.h"
#include "frontend/SaveSlots.h"
#include "fuzz/FuzzWorld.h"
#include "utility/source/QelMemoryFile.h"
#include "world/Game.h"
#include "world/ZoneManager.h"

#include <string>

namespace
{
struct SFuzzSlotGame
{
    CGame* game = nullptr;
    CZoneManager* zones = nullptr;
    CCampaign* campaign = nullptr;
};

SFuzzSlotGame& GetFuzzGame()
{
    static SFuzzSlotGame made = [] {
        SFuzzSlotGame fuzz;
        fuzz.game = CreateFuzzGame();
        fuzz.campaign = new CCampaign();
        fuzz.game->SetCampaign(fuzz.campaign);
        fuzz.zones = CreateFuzzZones(*fuzz.game);
        return fuzz;
    }();
    return made;
}

// The slot checked as a load checks it; the director's block on success.
bool CheckSlot(SFuzzSlotGame& fuzz, const std::vector<uint8_t>& bytes, SDirectorBlock& director)
{
    CQelMemoryFile head(bytes);
    SSaveHead read;
    std::string why;
    if (!ReadSaveHead(head, read, why))
        return false;
    CQelMemoryFile file(bytes);
    return fuzz.zones->LoadState(file, false) &&
           ReadDirectorBlock(bytes.data() + file.GetPosition(), file.GetRemaining(), director);
}

std::vector<uint8_t> WriteSlot(SFuzzSlotGame& fuzz, const SDirectorBlock& director)
{
    CQelMemoryFile written;
    std::vector<uint8_t> block;
    WriteDirectorBlock(director, block);
    uint32_t count = 0;
    if (!fuzz.zones->SaveState(written, fuzz.zones->GetLoadedChecksum()) ||
        !written.Write(block.data(), static_cast<uint32_t>(block.size()), &count))
        __builtin_trap();
    return written.GetBytes();
}

void Apply(SFuzzSlotGame& fuzz, const std::vector<uint8_t>& bytes)
{
    fuzz.zones->Reset();
    CQelMemoryFile file(bytes);
    if (!fuzz.zones->LoadState(file, true))
        __builtin_trap(); // a checked slot must be taken
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    GetFuzzGame();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SFuzzSlotGame& fuzz = GetFuzzGame();
    const std::vector<uint8_t> bytes(data, data + size);
    SDirectorBlock director;
    if (!CheckSlot(fuzz, bytes, director))
        return 0;
    Apply(fuzz, bytes);
    const std::vector<uint8_t> written = WriteSlot(fuzz, director);
    SDirectorBlock again;
    if (!CheckSlot(fuzz, written, again))
        __builtin_trap();
    Apply(fuzz, written);
    if (WriteSlot(fuzz, again) != written)
        __builtin_trap();
    return 0;
}
