#include "world/AsteroidLink.h"

namespace
{
AsteroidSpawnFunction s_spawner = nullptr;
}

void SetAsteroidSpawner(AsteroidSpawnFunction spawner)
{
    s_spawner = spawner;
}

CGameObject* SpawnAsteroid(bool recorded, int32_t kind, CGameObject* parent, const CVector2D* point,
                           int32_t spawnerType)
{
    return s_spawner ? s_spawner(recorded, kind, parent, point, spawnerType) : nullptr;
}
