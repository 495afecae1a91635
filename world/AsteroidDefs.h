#pragma once
// The asteroid definitions of the running level, read from its section
// "ASTEROID_DEFS": up to five entries per kind (an entry's place within its kind is
// its size index), each with its picture, collision shape and numbers, and the spawn
// sites round which fields are laid out.
//
//   ASTEROID_DEFS
//   {
//       numDefs 2
//       def0 { type small  minRotSec 30  maxRotSec 90  mass 5  health 2  velLimit 120
//              inertialDampening 0.99  scale 1, 1  deathEffect ROCK_BREAK
//              collisionContactEffect ROCK_HIT  bigSprite false
//              sprite { spriteFile data\sprites\rocks.spr }  collision { ... } }
//       def1 { ... }
//       spawnSites { numSites 1  site0 { randomVel no  initVelMin 0, 0  initVelMax 0, 0
//                                        centre 0.5, 0.5  radius 0.4 } }
//   }
//
// "numDefs", every "type", "spawnSites", "numSites" and every site key are required;
// an unknown type, a sixth definition of a kind or a broken collision block is fatal
// too. The other keys default to 0, except "inertialDampening" (1: no damping) and
// "scale" (1, 1).

#include "core/Vector2D.h"
#include "presentation/CollisionShape.h"
#include "presentation/SpriteRef.h"
#include "presentation/TiledSprite.h"
#include "world/AsteroidKinds.h"

#include <cstdint>
#include <memory>
#include <vector>

class CDataTree;
class CDefinitionProblems;
class CRandom;

struct SAsteroidDef
{
    static constexpr size_t EFFECT_NAME_MAX = 48;

    // The picture: the big (tiled) sprite when "bigSprite" is true (null otherwise),
    // else the sprite.
    std::unique_ptr<CTiledSpriteDef> bigSprite;
    CSpriteRef sprite;
    CollisionChain shape;
    int32_t minRotSec = 0;
    int32_t maxRotSec = 0;
    int32_t mass = 0;
    int32_t health = 0;
    int32_t kind = 0;
    int32_t sizeIndex = 0;
    int32_t velLimit = 0; // world units a second
    float inertialDampening = 1.0f;
    float scale[2] = {1.0f, 1.0f};
    char deathEffect[EFFECT_NAME_MAX + 1] = "";
    char collisionContactEffect[EFFECT_NAME_MAX + 1] = "";

    // The size of one frame of the picture (a big sprite: the whole grid of cells);
    // 0 while no sprite file is loaded.
    uint32_t GetFrameWidth() const;
    uint32_t GetFrameHeight() const;
};

struct SAsteroidSpawnSite
{
    CVector2D initVelMin;
    CVector2D initVelMax;
    CVector2D centre; // fractions of the world width
    float radius = 0.0f; // fraction of the world width
    bool randomVel = false;
};

class CAsteroidTable
{
public:
    static constexpr int32_t ENTRIES_PER_KIND = 5;
    static constexpr int32_t MAX_DEFINITIONS = ASTEROID_KIND_COUNT * ENTRIES_PER_KIND;
    static constexpr int32_t MAX_SITES = 64;

    CAsteroidTable() = default;
    CAsteroidTable(const CAsteroidTable&) = delete;
    CAsteroidTable& operator=(const CAsteroidTable&) = delete;

    // Reads the section into an empty table. With makeSprites the pictures are loaded
    // through the sprite bank; without, only the keys are checked. False when a fatal
    // problem was found (the table is then emptied).
    bool Load(const CDataTree& section, bool makeSprites, CDefinitionProblems& problems);
    // Every entry, picture and shape released, the sites gone (level end).
    void Free();

    int32_t GetCount(int32_t kind) const;
    // Null for a kind or size index without an entry.
    const SAsteroidDef* GetEntry(int32_t kind, int32_t sizeIndex) const;
    const std::vector<SAsteroidSpawnSite>& GetSites() const { return m_sites; }
    bool IsEmpty() const;

    // The size index a new asteroid of the kind takes when no parent gives one: with
    // fewer than 3 entries, 1 for the rocks (so their second entry must exist) and 0
    // for the rest; else one of 1 to count - 1 (entry 0 is kept for restrained fields).
    int32_t PickSizeIndex(int32_t kind, CRandom& random) const;

private:
    bool LoadDefinition(const CDataTree& node, bool makeSprites, CDefinitionProblems& problems);
    bool LoadSites(const CDataTree& section, CDefinitionProblems& problems);

    std::unique_ptr<SAsteroidDef> m_entries[ASTEROID_KIND_COUNT][ENTRIES_PER_KIND];
    int32_t m_counts[ASTEROID_KIND_COUNT] = {};
    std::vector<SAsteroidSpawnSite> m_sites;
};
