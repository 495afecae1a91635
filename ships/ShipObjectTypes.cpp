#include "ships/ShipObjectTypes.h"

#include "world/ObjectFactory.h"

void RegisterShipObjectTypes()
{
    // One RegisterObjectType line per actor class of this layer, as each is built.
}
