#include "tests/world/AsteroidWorld.h"

#include "tests/support/world/EffectScene.h"
#include "world/EffectCache.h"
#include "world/EffectDef.h"
#include "world/Emitter.h"
#include "world/World.h"

void AsteroidWorld::Start(std::vector<SAsteroidDefText> defs, uint32_t seed, int totalMass)
{
    if (defs.empty())
        defs = MakeStandardDefs();
    std::string effects;
    auto addEffect = [&effects](const std::string& name) {
        effects += DefinitionText("EFFECT { name " + name + "; maxParticles 4; maxEmitters 40;"
                                  " particle { appearance { type DUMMY } } controller { type STATIC }"
                                  " emitter { type SIMPLE_PARTICLE; randomNumCreated 1, 1; randomLife 1000, 1000 } }");
    };
    addEffect(CAsteroid::HEAL_EFFECT);
    for (SAsteroidDefText& def : defs)
    {
        def.deathEffect = def.type + "Death";
        def.contactEffect = def.type + "Touch";
        addEffect(def.deathEffect);
        addEffect(def.contactEffect);
    }
    harness = std::make_unique<CWorldHarness>(seed);
    ASSERT_TRUE(harness->GetGame().GetEffectCache().LoadFromBytes(effects, "test effects"));
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

int AsteroidWorld::CountEffects(const std::string& name) const
{
    const CEffectDef* definition = harness->GetGame().GetEffectCache().FindDefinition(name.c_str());
    int count = 0;
    for (int32_t i = 0; definition && i < definition->GetEmitter()->GetPoolSize(); ++i)
        count += definition->GetEmitter()->GetPoolEffect(i)->IsInUse() ? 1 : 0;
    return count;
}

CEffect* AsteroidWorld::FindEffect(const std::string& name) const
{
    const CEffectDef* definition = harness->GetGame().GetEffectCache().FindDefinition(name.c_str());
    for (int32_t i = 0; definition && i < definition->GetEmitter()->GetPoolSize(); ++i)
        if (definition->GetEmitter()->GetPoolEffect(i)->IsInUse())
            return definition->GetEmitter()->GetPoolEffect(i);
    return nullptr;
}
