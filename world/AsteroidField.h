#pragma once
// Asteroid fields: a node's asteroid map generated from the level's mass budget,
// the map turned into asteroids when the player enters the node, single asteroids
// spawned (pieces of a broken rock, crew released by a site, pods and prizes), and
// the worms that explosive rocks release. Everything draws from the game's
// generator; the level's settings and asteroid table come from the running game.

#include "core/Vector2D.h"
#include "world/AsteroidMap.h"

#include <cstdint>

class CAsteroid;
class CAsteroidTable;
class CGameObject;
class CRandom;

// A new asteroid of the kind, or null (no entry for the kind and size, a full world
// table, or a recorded asteroid while the node already counts 200). It breaks off
// the parent (near its rim, with its size index when the kind has it), stands near
// the point, or else at the left edge (x = 1) for the caller to place. Recorded at a
// node that is not dangerous, it enters the node's asteroid map (when the node has a
// record and the kind fits the map); otherwise it is transient. The spawner type
// (-1 none) is the type of the object that released it.
CAsteroid* SpawnAsteroid(bool recorded, int32_t kind, CGameObject* parent, const CVector2D* point,
                         int32_t spawnerType = -1);

// Makes the current node's present map entries into asteroids at their stored
// places, searching (and storing) a place round a spawn site for those without one;
// at a dangerous node they are transient. Then, away from the boss node, one world
// update files them.
void PlaceSectorAsteroids();

// What a node's map is made from.
struct SAsteroidFieldRequest
{
    int32_t totalMass = 0;      // the level's totalAsteroidMass
    float ratioSmall = 0.0f;    // a draw r of 0.01 to 1.00: small below ratioSmall,
    float ratioMedium = 0.0f;   // medium below ratioMedium, else large (explosive
                                // at a dangerous node)
    float worldWidth = 0.0f;
    int32_t nodeKind = 0;
    int32_t zoneIndex = 0;
    int32_t nodeIndex = 0;
    bool restrained = false;    // small fields of size-0 rocks (outside danger nodes)
};

// Fills the map (emptied first) until the budget is spent or all 200 entries are
// made, at least one entry when any can be made; gives the number of entries. The
// budget: the whole mass at a dangerous node, 0.3 of it at zone 0's start node,
// else between 0.2 and 1.0 of it. Kinds without an entry of the wanted size are
// drawn again; when none can be made the map stays empty.
int32_t GenerateAsteroidMap(const CAsteroidTable& table, const SAsteroidFieldRequest& request, CRandom& random,
                            SAsteroidMapEntry map[ASTEROID_MAP_SIZE]);

// The same with the running game's level settings and asteroid table (nothing
// without a running level).
int32_t GenerateAsteroidMap(SAsteroidMapEntry map[ASTEROID_MAP_SIZE], int32_t zoneIndex, int32_t nodeKind,
                            int32_t nodeIndex, bool restrained);

// Releases a worm of 3 to 12 segments (type 14, "data\enemies\worm.txt") to the right
// of the point, and raises the director's worm flag. Stops at a full world table.
void SpawnWorm(const CVector2D& position);
