#pragma once
// The games the harnesses of the world's readers run in: a manual clock (frames pass
// without sleeping), the scratch folder current (FuzzSupport.h), no renderer and no
// sprite bank.

class CGame;
class CZoneManager;

// A new game; with level text given, initialised and that level started.
CGame* CreateFuzzGame(const char* level = nullptr);

// A zone manager of the game holding the zones of fuzz/seeds/zones.txt, which must read.
CZoneManager* CreateFuzzZones(CGame& game);
