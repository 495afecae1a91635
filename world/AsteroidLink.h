#pragma once
// The asteroid kinds as other parts of the game name them, and the spawning of an
// asteroid by kind, which the asteroids install when they are set up; until then no
// asteroid is made.

#include "core/Vector2D.h"

#include <cstdint>

class CGameObject;

enum EAsteroidKind : int32_t
{
    ASTEROID_SMALL = 0,
    ASTEROID_MEDIUM = 1,
    ASTEROID_LARGE = 2,
    ASTEROID_NORMAL_GEM = 3,
    ASTEROID_NORMAL_GEM_LARGE = 4,
    ASTEROID_RARE_GEM = 5,
    ASTEROID_RARE_GEM_LARGE = 6,
    ASTEROID_VERY_RARE_GEM = 7,
    ASTEROID_VERY_RARE_GEM_LARGE = 8,
    ASTEROID_EXPLOSIVE = 9,
    ASTEROID_CREW_SITE = 10,
    ASTEROID_CREW_MAN = 11,
    ASTEROID_WRECK_POD = 12,
    ASTEROID_DRIVE_POD = 13,
    ASTEROID_FRIENDLY_ALIEN_STATION = 14,
    ASTEROID_BROKEN_ALIEN_STATION = 15,
    ASTEROID_FRIENDLY_ALIEN = 16,
    ASTEROID_EQUIPMENT_POD = 17,
    ASTEROID_KIND_COUNT = 18,
};

// Made with the kind: recorded in the node's asteroid map or not, broken off a
// parent or placed near a point (either may be null), released by an object of the
// spawner type (-1 none). Null when nothing was made.
using AsteroidSpawnFunction = CGameObject* (*)(bool recorded, int32_t kind, CGameObject* parent,
                                               const CVector2D* point, int32_t spawnerType);
void SetAsteroidSpawner(AsteroidSpawnFunction spawner);
CGameObject* SpawnAsteroid(bool recorded, int32_t kind, CGameObject* parent, const CVector2D* point,
                           int32_t spawnerType = -1);
