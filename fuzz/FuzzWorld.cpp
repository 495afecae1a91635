#include "fuzz/FuzzWorld.h"

#include "core/DataFile.h"
#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "core/RealTimeClock.h"
#include "fuzz/FuzzSupport.h"
#include "world/Game.h"
#include "world/ZoneFile.h"
#include "world/ZoneManager.h"

#include "ZoneFuzzZones.h"

#include <cstring>

CGame* CreateFuzzGame(const char* level)
{
    static CManualClock clock;
    SetRealTimeClock(&clock);
    GetFuzzScratchFolder();
    CGame* game = CreateGame();
    if (level)
    {
        game->Init(nullptr);
        game->StartLevelFromBytes(level, "fuzz level");
    }
    return game;
}

CZoneManager* CreateFuzzZones(CGame& game)
{
    auto* zones = new CZoneManager(game);
    CDataNodeList nodes;
    ParseDataBytes(reinterpret_cast<const uint8_t*>(FUZZ_ZONES), std::strlen(FUZZ_ZONES), nodes);
    CDefinitionProblems problems;
    ZoneVector read;
    for (const auto& node : nodes)
        if (node->IsBlock() && ReadZones(static_cast<const CDataTree&>(*node), read, problems))
            break;
    if (read.empty())
        __builtin_trap(); // the harness's own zones must read
    zones->SetZones(std::move(read));
    return zones;
}
