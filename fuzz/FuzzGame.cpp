#include "fuzz/FuzzGame.h"

#include "fuzz/FuzzWorld.h"
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
        RegisterWorldObjectTypes();
        RegisterShipObjectTypes();
        return CreateFuzzGame(LEVEL);
    }();
    return *game;
}

// The game and its world are made once, before the first input.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    GetFuzzGame();
    return 0;
}
