#include "tests/world/AsteroidWorld.h"

#include "world/World.h"

void AsteroidWorld::Start(std::vector<SAsteroidDefText> defs, uint32_t seed, int totalMass)
{
    if (defs.empty())
        defs = MakeStandardDefs();
    for (SAsteroidDefText& def : defs)
    {
        def.deathEffect = def.type + "Death";
        def.contactEffect = def.type + "Touch";
    }
    harness = std::make_unique<CWorldHarness>(seed);
    harness->GetGame().SetZones(&zone);
    harness->GetGame().SetDirector(&director);
    harness->GetGame().SetCampaign(&campaign);
    ASSERT_TRUE(harness->StartLevel(MakeAsteroidLevel(defs, totalMass)));
}

CAsteroid* AsteroidWorld::Spawn(bool recorded, int32_t kind, float x, float y, int32_t spawner)
{
    const CVector2D point(x, y);
    return SpawnAsteroid(recorded, kind, nullptr, &point, spawner);
}

void AsteroidWorld::RunFor(uint32_t ms)
{
    const uint32_t end = Now() + ms;
    while (static_cast<int32_t>(Now() - end) < 0)
        harness->RunFrame();
}

CAsteroid* AsteroidWorld::Find(int32_t handle) const
{
    return harness->FindAs<CAsteroid>(handle);
}

int AsteroidWorld::CountAsteroids() const
{
    int count = 0;
    CWorld& world = harness->GetWorld();
    for (int32_t slot = 0; slot < world.GetSlotCount(); ++slot)
        if (CGameObject* object = world.GetSlot(slot))
            count += object->GetType() == OBJECT_ASTEROID;
    return count;
}
