#include "fuzz/FuzzGame.h"

#include "core/RealTimeClock.h"
#include "fuzz/FuzzSupport.h"
#include "ships/ShipObjectTypes.h"
#include "world/Game.h"
#include "world/ObjectFactory.h"

namespace
{
const char LEVEL[] = "LEVEL\n{\nworldWidth 4000\ntreeDepth 4\n}\n";
} // namespace

CGame& GetFuzzGame()
{
    static CGame* game = [] {
        static CManualClock clock;
        SetRealTimeClock(&clock);
        GetFuzzScratchFolder();
        RegisterWorldObjectTypes();
        RegisterShipObjectTypes();
        CGame* made = CreateGame();
        made->Init(nullptr);
        made->StartLevelFromBytes(LEVEL, "fuzz");
        return made;
    }();
    return *game;
}
