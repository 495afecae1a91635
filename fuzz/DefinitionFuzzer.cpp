// Definition files as the game's readers take them: the text as a level file, and
// every block of it, at any depth, handed to each definition reader, which must
// report problems and never crash whatever the keys hold. Each reader of a
// definition block adds one line to ReadWithEveryReader.

#include "core/DataFile.h"
#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "presentation/CollisionShape.h"
#include "presentation/ObjectBody.h"
#include "presentation/SpriteAnimSet.h"
#include "presentation/SpriteOwner.h"
#include "presentation/TiledSprite.h"
#include "core/Random.h"
#include "world/AsteroidDefs.h"
#include "world/AsteroidField.h"
#include "world/Backdrop.h"
#include "world/LevelConfig.h"
#include "world/ProceduralBackdrop.h"

#include <string>

namespace
{
void ReadWithEveryReader(const CDataTree& block)
{
    CDefinitionProblems problems;
    CollisionChain chain = ReadCollisionShapes(block, problems);
    if (chain)
    {
        chain->SetPosition(CVector2D(1.0f, 2.0f));
        CollisionChain copy = chain->CloneChain();
        CVector2D point;
        CVector2D data;
        chain->Collide(*copy, &point, &data, nullptr);
    }
    // Without a sprite bank no file loads: sprites keep positions and angles only.
    CTiledSpriteDef picture;
    picture.Load(block, problems);
    SSpriteOwner owner;
    CObjectBody body;
    if (body.Load(block, owner, problems))
    {
        body.Update(owner);
        int part = -1;
        body.HitPart(owner, 10, part);
        body.DestroyPart(owner, 0);
        body.Flash(false);
        body.AreTaggedPartsDestroyed();
    }
    CSpriteAnimSet set;
    if (set.Load(block, owner, problems))
    {
        set.RestartTrack(-1);
        for (int frame = 0; frame < 30; ++frame)
        {
            owner.angle += 7.0f;
            set.Update(owner);
        }
        set.StopTrack(-1, true);
    }
    CAsteroidTable asteroids;
    if (asteroids.Load(block, true, problems))
    {
        CRandom random(1);
        SAsteroidMapEntry map[ASTEROID_MAP_SIZE];
        SAsteroidFieldRequest field;
        field.totalMass = 500;
        field.ratioSmall = 0.5f;
        field.ratioMedium = 0.8f;
        field.worldWidth = 4000.0f;
        field.nodeKind = 5;
        GenerateAsteroidMap(asteroids, field, random, map);
        field.nodeKind = 0;
        field.restrained = true;
        GenerateAsteroidMap(asteroids, field, random, map);
    }
    CRandom random(2);
    CBackdrop backdrop;
    backdrop.Load(block, 4000.0f, true, random, problems);
    backdrop.SpinItems();
    backdrop.SetZoneBackdropFrame(0, 3);
    backdrop.Show(false);
    CProceduralBackdrop front;
    front.LoadSection(block, true, random, problems);
    front.Update();
}

void Walk(const CDataTree& tree, int depth)
{
    ReadWithEveryReader(tree);
    if (depth > 8)
        return;
    for (size_t i = 0; CDataTree* child = tree.GetChildBlock(i); ++i)
        Walk(*child, depth + 1);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The whole text as a level file: sections found by their braces, each parsed alone.
    CLevelConfig level;
    if (level.LoadFromBytes(std::string(reinterpret_cast<const char*>(data), size), "fuzz"))
        level.LoadSections(nullptr);

    CDataNodeList nodes;
    ParseDataBytes(data, size, nodes);
    for (const auto& node : nodes)
        Walk(static_cast<const CDataTree&>(*node), 0);
    return 0;
}
