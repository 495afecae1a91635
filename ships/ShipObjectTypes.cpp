#include "ships/ShipObjectTypes.h"

#include "ships/PlayerShip.h"
#include "ships/ShipLevelData.h"
#include "world/LevelConfig.h"
#include "world/ObjectFactory.h"

void RegisterShipObjectTypes()
{
    // One RegisterObjectType line per actor class of this layer, as each is built.
    RegisterObjectType(OBJECT_PLAYER_SHIP, &CreateObjectOf<CPlayerShip>);
    RegisterLevelSectionReader("LEVEL", &ReadLevelShips);
}
