#include "world/WarpEffects.h"

#include "core/Random.h"
#include "world/DirectorLink.h"
#include "world/EffectCache.h"
#include "world/Game.h"
#include "world/World.h"
#include "world/ZoneLink.h"

namespace
{
// The effect of the entry, spawned for the object (not recyclable: the entry gives it
// back) and placed on it; null when there is none.
CEffect* SpawnWarpEffect(SWarpEntry& entry, CGameObject& object, const char* name)
{
    CGame* game = GetGame();
    if (!game)
        return nullptr;
    CEffect* effect = game->GetEffectCache().SpawnEffect(name, &object, false);
    if (effect)
        effect->SetPosition(object.GetPosition());
    entry.effect.Set(effect);
    return effect;
}
} // namespace

void RunWarpStep(CWorld& world, SWarpEntry& entry)
{
    CGameObject* object = world.GetObject(entry.handle);
    if (!object)
    {
        world.EndWarp(entry);
        return;
    }
    if (object->GetType() == OBJECT_STATION)
        StationWarpStep(world, entry);
    else
        WarpStep(world, entry);
}

void WarpStep(CWorld& world, SWarpEntry& entry)
{
    CGame* game = GetGame();
    CGameObject* object = world.GetObject(entry.handle);
    if (!game || !object)
    {
        world.EndWarp(entry);
        return;
    }
    const bool warpingIn = object->GetInfo().warpState != WARP_OUT;
    if (!entry.started)
    {
        entry.started = true;
        const bool mothership = object->GetType() == OBJECT_ENEMY_MOTHERSHIP;
        const char* name = mothership ? (warpingIn ? "WarpIn2" : "WarpOut2") : (warpingIn ? "WarpIn1" : "WarpOut1");
        if (CEffect* effect = SpawnWarpEffect(entry, *object, name))
            effect->Start();
        const int32_t spread = mothership ? 3000 : 2000;
        const int32_t least = mothership ? 1000 : 500;
        entry.duration = static_cast<float>(static_cast<int32_t>(GameRand() % static_cast<uint32_t>(spread)) + least);
    }
    const uint32_t t = game->GetTime() - entry.startTime;
    if (t < WARP_GROW_START_MS)
        return;
    const float grown = static_cast<float>(t - WARP_GROW_START_MS) / entry.duration;
    const bool done = static_cast<float>(t) >= entry.duration + static_cast<float>(WARP_GROW_START_MS);
    if (warpingIn)
    {
        object->SetVisible(true);
        SetWarpScale(*object, done ? 1.0f : grown);
    }
    else
    {
        SetWarpScale(*object, done ? 0.0f : 1.0f - grown);
        if (done)
            object->SetVisible(false);
    }
    if (!done)
        return;
    CEffect* effect = entry.effect.Get();
    if (effect)
        effect->StopEmitting();
    if (static_cast<float>(t) < entry.duration + static_cast<float>(WARP_GROW_START_MS + WARP_EFFECT_TAIL_MS))
        return;
    if (effect)
        effect->Stop();
    world.EndWarp(entry); // gives the effect back
    object->SetWarpState(WARP_NONE);
    if (warpingIn)
        return;
    game->GetZones().ReturnWarpedObject(*object);
    object->GetInfo().notCountedAsEnemy = true;
    world.RemoveObject(object->GetHandle());
}

void SetWarpScale(CGameObject& object, float scale)
{
    object.GetBody().scale[0] = scale;
    object.GetBody().scale[1] = scale;
}

bool IsStationWarpFullScreen(bool warpingIn)
{
    CGame* game = GetGame();
    if (!game || game->GetDirector().IsStationSequencePlaying())
        return false;
    const SRunState& run = game->GetRun();
    return !run.bossPresent || (run.bossState == 1 && warpingIn) || (run.bossState == 3 && !warpingIn);
}
