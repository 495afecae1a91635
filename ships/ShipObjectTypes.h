#pragma once
// The object types of the ships layer (player ship, station, enemies, bosses,
// mounted parts, worms) registered with the world's factory, and the level-file
// sections this layer reads (the ship components of LEVEL). The application shell
// calls it at start-up and the tests' world harness calls it too; each actor class
// adds its one line as it is built.

void RegisterShipObjectTypes();
