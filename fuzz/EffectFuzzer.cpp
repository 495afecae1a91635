// Effect files as the cache reads them: every definition the bytes make is spawned
// for an owner in a small running world, placed, started, run for some frames with
// its events, trails, hits and beams, stopped and released; then the cache is reset
// and freed. Whatever the keys hold, nothing may crash, hang or leak.

#include "fuzz/FuzzWorld.h"
#include "world/EffectCache.h"
#include "world/EffectDef.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/ObjectFactory.h"
#include "world/World.h"

#include <string>

namespace
{
const char LEVEL[] = "LEVEL\n{\nworldWidth 2000\ntreeDepth 4\n}\n";

// A game with a level and two objects of opposite sides near the middle.
CGame& Game(int32_t& owner)
{
    static int32_t s_owner = NO_OBJECT;
    static CGame* s_game = [] {
        RegisterWorldObjectTypes();
        CGame* game = CreateFuzzGame(LEVEL);
        const float places[2][2] = {{1000, 1000}, {1060, 1000}};
        for (int i = 0; i < 2; ++i)
        {
            int32_t handle = NO_OBJECT;
            if (!game->GetWorld()->CreateObject(OBJECT_DUMB, handle))
                continue;
            CGameObject* object = game->GetWorld()->GetObject(handle);
            object->SetPosition(CVector2D(places[i][0], places[i][1]));
            object->GetBody().radius = 10.0f;
            object->GetBody().health = 1000;
            object->GetBody().shape = CollisionChain(new CCollisionCircle(10.0f, true));
            object->GetInfo().team = i == 0 ? GOOD_TEAM : BAD_TEAM;
            object->PlaceShape();
            if (i == 0)
                s_owner = handle;
        }
        game->GetWorld()->Update();
        return game;
    }();
    owner = s_owner;
    return *s_game;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    int32_t ownerHandle = NO_OBJECT;
    CGame& game = Game(ownerHandle);
    CEffectCache& cache = game.GetEffectCache();
    cache.FreeAll();
    cache.LoadFromBytes(std::string(reinterpret_cast<const char*>(data), size), "fuzz");
    CGameObject* owner = game.GetWorld()->GetObject(ownerHandle);
    for (int32_t i = 0; i < cache.GetDefinitionCount(); ++i)
    {
        const char* name = cache.GetDefinition(i)->GetName();
        for (int copy = 0; copy < 2; ++copy)
        {
            CEffect* effect = cache.SpawnEffect(name, copy ? nullptr : owner, copy == 0);
            if (!effect)
                continue;
            effect->SetPosition(CVector2D(1000.0f, 1000.0f));
            effect->SetHeading(copy ? 90.0f : 0.0f);
            effect->SetVelocity(CVector2D(5.0f, -3.0f));
            effect->SetStartArea(8.0f);
            effect->SetEmissionScale(1.5f);
            effect->Start();
        }
    }
    for (int frame = 0; frame < 12; ++frame)
    {
        game.BeginFrame();
        cache.Update();
        game.EndFrame();
        if (frame == 6)
            for (int32_t i = 0; i < CEffectCache::LIVE_SLOTS; ++i)
                if (CEffect* effect = cache.GetLiveEffect(i))
                    effect->StopEmitting();
    }
    for (int32_t i = 0; i < CEffectCache::LIVE_SLOTS; ++i)
        if (CEffect* effect = cache.GetLiveEffect(i))
            effect->Stop();
    cache.Reset();
    cache.FreeAll();
    return 0;
}
