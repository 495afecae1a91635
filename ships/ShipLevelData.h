#pragma once
// The ship components and designs of the running level: the LEVEL section names
// the component file ("playerShipResFile") and the design file
// ("playerShipCfgFile", replaced by the player's own, the quick-ship or the
// survival file by the game's mode). Both are loaded as the level starts and kept
// with the level's settings.
//
// The game's own files must load: a broken one ends the program naming file, line
// and reason. A design file of the player's (from a save) that does not load is
// refused: the level has no designs from it and says so among its problems.

#include "ships/ShipComponentDatabase.h"
#include "world/LevelConfig.h"

class CGame;

class CShipLevelData : public CLevelData
{
public:
    CShipComponentDatabase m_database;
    bool m_designsRefused = false;
};

// The level's ship data, or null (no level, or one without ships).
CShipLevelData* GetShipLevelData(const CGame& game);
// The component database of the running game's level, or null.
CShipComponentDatabase* GetLevelShipDatabase();
// Reads the LEVEL section's ship files for the game (nothing while only checked).
void ReadLevelShips(const CDataTree& section, CGame* game, CDefinitionProblems& problems);
