// The parts of large objects as their owners read them from definitions: every
// block of the text, at any depth, is read as a docking port of an owner in a
// running world, which then takes objects in and launches them, opens, closes and
// is destroyed over a number of frames; then as a turret group choosing, aiming and
// firing at objects, and as a set of engine flames. Readers must report problems and never
// crash or hang whatever the keys hold. Each reader adds its lines to Exercise.

#include "core/DataFile.h"
#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "fuzz/FuzzGame.h"
#include "ships/DockingPort.h"
#include "ships/EngineFlameSet.h"
#include "ships/TurretGroup.h"
#include "world/Game.h"
#include "world/World.h"

#include <string>
#include <vector>

namespace
{
int32_t Spawn(CWorld& world, float x, float y)
{
    int32_t handle = NO_OBJECT;
    if (!world.CreateObject(OBJECT_DUMB, handle))
        return NO_OBJECT;
    world.GetObject(handle)->SetPosition(CVector2D(x, y));
    return handle;
}

void ExercisePort(CGame& game, const CDataTree& block)
{
    CWorld& world = *game.GetWorld();
    const int32_t owner = Spawn(world, 2000.0f, 2000.0f);
    const int32_t launched = Spawn(world, 2100.0f, 2000.0f);
    const int32_t taken = Spawn(world, 2000.0f, 1900.0f);
    CGameObject* ownerObject = world.GetObject(owner);
    if (!ownerObject)
        return;
    CDefinitionProblems problems;
    CDockingPort port;
    if (!port.ParseDefinition(block, *ownerObject, problems))
        return;
    port.TakeObject(launched, true, nullptr, nullptr);
    port.TakeIn(taken, false, nullptr, nullptr);
    for (int frame = 0; frame < 60; ++frame)
    {
        game.BeginFrame();
        world.Update();
        ownerObject->GetBody().angle += 3.0f;
        port.Update(*ownerObject, nullptr);
        if (frame == 20)
            port.Close();
        if (frame == 30)
            port.Open();
        if (frame == 40)
            world.RemoveObject(taken);
        game.EndFrame();
    }
    port.IsHitOnPort(*ownerObject);
    port.Destroy(*ownerObject, nullptr, true, false);
    for (int frame = 0; frame < 15; ++frame)
        port.Update(*ownerObject, nullptr);
}

// The block as a turret group and as a flame set of an owner among rocks and gems.
void ExerciseTurretsAndFlames(CGame& game, const CDataTree& block)
{
    CWorld& world = *game.GetWorld();
    const int32_t owner = Spawn(world, 2000.0f, 2000.0f);
    std::vector<int32_t> candidates;
    for (int i = 0; i < 4; ++i)
        candidates.push_back(Spawn(world, 2000.0f + 60.0f * static_cast<float>(i), 2100.0f));
    CGameObject* ownerObject = world.GetObject(owner);
    if (!ownerObject)
        return;
    CDefinitionProblems problems;
    CTurretGroup turrets;
    if (turrets.Parse(block, *ownerObject, problems))
    {
        for (int frame = 0; frame < 40; ++frame)
        {
            game.BeginFrame();
            world.Update();
            if (frame % 10 == 0)
                turrets.ChooseTargets(*ownerObject, candidates, frame == 30);
            turrets.Place(*ownerObject, nullptr, 0);
            turrets.Update(*ownerObject);
            if (frame == 20)
                world.RemoveObject(candidates[0]);
            game.EndFrame();
        }
        turrets.Damage(*ownerObject, nullptr, 5, false, -1);
        turrets.Damage(*ownerObject, nullptr, 5, true, 1);
        turrets.SetDisabled(true, 2);
        turrets.SpillGems(*ownerObject);
    }
    CEngineFlameSet flames;
    if (flames.Parse(block, *ownerObject, problems))
        for (int frame = 0; frame < 10; ++frame)
        {
            CVector2D thrust;
            thrust.SetFromAngle(static_cast<float>(frame * 40));
            flames.Update(*ownerObject, frame % 3 ? thrust : CVector2D(), nullptr);
        }
}

void Walk(CGame& game, const CDataTree& tree, int depth)
{
    ExercisePort(game, tree);
    game.GetWorld()->Clear();
    ExerciseTurretsAndFlames(game, tree);
    game.GetWorld()->Clear();
    if (depth > 6)
        return;
    for (size_t i = 0; CDataTree* child = tree.GetChildBlock(i); ++i)
        Walk(game, *child, depth + 1);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CGame& game = GetFuzzGame();
    if (!game.GetWorld())
        return 0;
    CDataNodeList nodes;
    ParseDataBytes(data, size, nodes);
    for (const auto& node : nodes)
        if (node->IsBlock())
            Walk(game, static_cast<const CDataTree&>(*node), 0);
    return 0;
}
