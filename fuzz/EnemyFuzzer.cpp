// Enemy definition files as the game reads them: every top-level section of a drone,
// a fighter, a worm, the station, a mothership or a boss becomes an enemy of a running
// world (the worms' segments linked in a chain), which then hunts a target, launches,
// runs its script, fights and dies over a number of frames. Readers must report
// problems and never crash or hang whatever the keys
// hold; a definition the game could not run is taken out before it plays.

#include "core/DataFile.h"
#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "fuzz/FuzzGame.h"
#include "ships/EnemyObject.h"
#include "world/EffectCache.h"
#include "world/Game.h"
#include "world/World.h"

namespace
{
const struct
{
    const char* section;
    EObjectType type;
} KINDS[] = {{"ENEMY_DRONE", OBJECT_ENEMY_DRONE},   {"ENEMY_FIGHTER", OBJECT_ENEMY_FIGHTER},
             {"WORM", OBJECT_WORM},                {"STATION", OBJECT_STATION},
             {"ENEMY_MOTHERSHIP", OBJECT_ENEMY_MOTHERSHIP}, {"STAR_BOSS", OBJECT_STAR_BOSS},
             {"MAGMA_BOS", OBJECT_MAGMA_BOSS},     {"RAIN_BOSS", OBJECT_RAIN_BOSS},
             {"TRON_BOSS", OBJECT_TRON_BOSS},      {"DISC_BOSS", OBJECT_DISC_BOSS}};

// The enemy of the section, placed; NO_OBJECT when the section is none or broken.
int32_t SpawnEnemy(CWorld& world, const CDataNode& node, float x)
{
    for (const auto& kind : KINDS)
    {
        if (!IsDefinitionSection(node, kind.section))
            continue;
        int32_t handle = NO_OBJECT;
        if (!world.CreateObject(kind.type, handle))
            return NO_OBJECT;
        CEnemyObject* enemy = dynamic_cast<CEnemyObject*>(world.GetObject(handle));
        CDefinitionProblems problems;
        if (!enemy || !enemy->ReadDefinition(static_cast<const CDataTree&>(node), problems))
        {
            world.RemoveObject(handle);
            return NO_OBJECT;
        }
        enemy->SetPosition(CVector2D(x, 1500.0f));
        enemy->PlaceShape();
        return handle;
    }
    return NO_OBJECT;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CGame& game = GetFuzzGame();
    CWorld* world = game.GetWorld();
    if (!world)
        return 0;
    CDataNodeList nodes;
    ParseDataBytes(data, size, nodes);
    int32_t target = NO_OBJECT;
    if (world->CreateObject(OBJECT_DUMB, target))
        world->GetObject(target)->SetPosition(CVector2D(2000.0f, 2000.0f));
    game.SetPlayerShipHandle(target);
    float x = 1000.0f;
    int32_t previousWorm = NO_OBJECT;
    for (const auto& node : nodes)
    {
        const int32_t handle = SpawnEnemy(*world, *node, x);
        CGameObject* enemy = world->GetObject(handle);
        if (!enemy)
            continue;
        x += 40.0f;
        if (enemy->GetType() == OBJECT_WORM)
        {
            enemy->SetWormLinks(previousWorm, NO_OBJECT);
            if (CGameObject* ahead = world->GetObject(previousWorm))
                ahead->SetWormLinks(NO_OBJECT, handle);
            previousWorm = handle;
        }
    }
    for (int frame = 0; frame < 40; ++frame)
    {
        game.BeginFrame();
        world->Update();
        game.GetEffectCache().Update();
        if (frame == 20)
            for (int32_t slot = 0; slot < world->GetSlotCount(); ++slot)
                if (CGameObject* object = world->GetSlot(slot))
                    object->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, frame % 2, 25);
        game.EndFrame();
    }
    world->Clear();
    return 0;
}
