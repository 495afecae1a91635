#pragma once
// Effects in a test world: the world harness in a temporary program folder that holds
// a particle sprite file "fx.spr" (eight 8 x 8 frames, alpha blended, each a disc of
// its own colour) and a beam texture "beam.tga", with helpers that load effect
// definitions from text and place targets that write down every hit they take.
//
//   CEffectScene scene;
//   ASSERT_TRUE(scene.Load(kSparkText));            // no problems, or the test fails
//   int32_t rock = scene.SpawnTarget(600, 500, 20, BAD_TEAM, 100);
//   CEffect* spark = scene.Cache().SpawnEffect("spark", nullptr, true);

#include "tests/support/TempDir.h"
#include "tests/support/world/WorldHarness.h"
#include "world/GameObject.h"

#include <memory>
#include <string>
#include <vector>

class CCurrentDir;
class CEffectCache;

// How many instances of the named definition are in use (0 for an unknown name).
int CountEffectsInUse(const CEffectCache& cache, const char* name);

// Definition text written compactly: "{" and "}" stand on lines of their own and ";"
// ends a value line, so "EFFECT { name spark; emitter { type SIMPLE_PARTICLE } }"
// gives the blocks a definition file holds.
std::string DefinitionText(const std::string& compact);

struct SRecordedHit
{
    int32_t sourceType;
    int32_t source; // handle, -1 for none
    int32_t kind;
    int32_t amount;
};

// A round target (type DUMB, PLAYER_SHIP, STATION or ASTEROID as spawned) of a side and
// health, whose hits are recorded; it never moves on its own.
class CTargetObject : public CGameObject
{
public:
    CTargetObject() : CGameObject(OBJECT_DUMB) {}
    void SetUp(float radius, ETeam team, int32_t health);
    // A square outline of the half size (for exact contact points) under the root circle.
    void SetSquare(float halfSize);
    bool TakeDamage(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount) override;
    bool Move() override;

    std::vector<SRecordedHit> m_hits;
    int32_t TotalDamage() const;
};

class CEffectScene
{
public:
    // seed: the game's random seed; renderer: the one to draw on (the harness's
    // recording renderer when null); registerMore: the object types of a layer above
    // (the targets still stand for DUMB, PLAYER_SHIP, STATION and ASTEROID).
    explicit CEffectScene(uint32_t seed = 1, std::unique_ptr<CRenderer> renderer = nullptr,
                          CWorldHarness::TypeRegistration registerMore = nullptr);
    ~CEffectScene();
    CEffectScene(const CEffectScene&) = delete;
    CEffectScene& operator=(const CEffectScene&) = delete;

    // Effect definitions from text; fails the test (false) when they report problems.
    bool Load(const std::string& text);
    // The same, but the problems are expected: gives their lines.
    std::vector<std::string> LoadWithProblems(const std::string& text);

    // A target of the type (DUMB, PLAYER_SHIP, STATION or ASTEROID), filed in the quadtree by
    // the next frame.
    int32_t SpawnTarget(float x, float y, float radius, ETeam team, int32_t health, int32_t type = OBJECT_DUMB);
    CTargetObject* Target(int32_t handle) const;

    CWorldHarness& Harness() { return *m_harness; }
    CEffectCache& Cache();
    CGame& Game() { return m_harness->GetGame(); }
    const CTempDir& Dir() const { return m_dir; }
    void RunFrames(uint32_t count) { m_harness->RunFrames(count); }

private:
    CTempDir m_dir;
    std::unique_ptr<CCurrentDir> m_cwd;
    std::unique_ptr<CWorldHarness> m_harness;
};
