#include "ships/ShipObjectTypes.h"

#include "ships/Bosses.h"
#include "ships/EnemyDrone.h"
#include "ships/EnemyFighter.h"
#include "ships/Mothership.h"
#include "ships/MountedPart.h"
#include "ships/PlayerShip.h"
#include "ships/ShipLevelData.h"
#include "ships/Station.h"
#include "ships/StationFlow.h"
#include "ships/Worm.h"
#include "world/LevelConfig.h"
#include "world/ObjectFactory.h"

void RegisterShipObjectTypes()
{
    // One RegisterObjectType line per actor class of this layer, as each is built.
    RegisterObjectType(OBJECT_PLAYER_SHIP, &CreateObjectOf<CPlayerShip>);
    RegisterObjectType(OBJECT_ENEMY_DRONE, &CreateObjectOf<CEnemyDrone>);
    RegisterObjectType(OBJECT_ENEMY_FIGHTER, &CreateObjectOf<CEnemyFighter>);
    RegisterObjectType(OBJECT_ENEMY_MOTHERSHIP, &CreateObjectOf<CEnemyMothership>);
    RegisterObjectType(OBJECT_STAR_BOSS, &CreateObjectOf<CStarBoss>);
    RegisterObjectType(OBJECT_MAGMA_BOSS, &CreateObjectOf<CMagmaBoss>);
    RegisterObjectType(OBJECT_RAIN_BOSS, &CreateObjectOf<CRainBoss>);
    RegisterObjectType(OBJECT_TRON_BOSS, &CreateObjectOf<CTronBoss>);
    RegisterObjectType(OBJECT_DISC_BOSS, &CreateObjectOf<CDiscBoss>);
    RegisterObjectType(OBJECT_MOUNTED_PART, &CreateObjectOf<CMountedPart>);
    RegisterObjectType(OBJECT_WORM, &CreateObjectOf<CWorm>);
    RegisterObjectType(OBJECT_STATION, &CreateObjectOf<CStation>);
    InstallStationLinks();
    RegisterLevelSectionReader("LEVEL", &ReadLevelShips);
}
