// The parts of large objects as their owners read them from definitions: every
// block of the text, at any depth, is read as a docking port of an owner in a
// running world, which then takes objects in and launches them, opens, closes and
// is destroyed over a number of frames. Readers must report problems and never
// crash or hang whatever the keys hold. Each reader adds its lines to Exercise.

#include "core/DataFile.h"
#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "fuzz/FuzzGame.h"
#include "ships/DockingPort.h"
#include "world/Game.h"
#include "world/World.h"

#include <string>

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

void Walk(CGame& game, const CDataTree& tree, int depth)
{
    ExercisePort(game, tree);
    game.GetWorld()->Clear();
    if (depth > 6)
        return;
    for (size_t i = 0; CDataTree* child = tree.GetChildBlock(i); ++i)
        Walk(game, *child, depth + 1);
}
} // namespace

// The game and its world are made once, before the first input.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    GetFuzzGame();
    return 0;
}

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
