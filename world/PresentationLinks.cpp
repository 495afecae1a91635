#include "world/PresentationLinks.h"

#include "presentation/AnimationClock.h"
#include "presentation/EffectRequests.h"
#include "presentation/RiderObjects.h"
#include "world/EffectCache.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/World.h"

#include <cstdint>

namespace
{
class CGameClockLink : public CAnimationClock
{
public:
    uint32_t GetGameTimeMs() const override { return m_game ? m_game->GetTime() : 0; }
    const CGame* m_game = nullptr;
};

// Path riders by handle: looked up in the world on every call, so an object that
// went away (or a stale handle) is no rider.
class CWorldRiders : public CRiderObjects
{
public:
    bool GetObjectPosition(int32_t handle, CVector2D& position) const override
    {
        const CGameObject* object = Find(handle);
        if (!object)
            return false;
        position = object->GetPosition();
        return true;
    }
    void SetObjectPosition(int32_t handle, const CVector2D& position) override
    {
        if (CGameObject* object = Find(handle))
        {
            object->SetPosition(position);
            object->PlaceShape();
        }
    }
    void SetObjectDrawPlane(int32_t handle, int plane) override
    {
        if (CGameObject* object = Find(handle))
            object->SetDrawPlane(static_cast<uint8_t>(plane));
    }
    void SetObjectVisible(int32_t handle, bool visible) override
    {
        if (CGameObject* object = Find(handle))
            object->SetVisible(visible);
    }

    const CGame* m_game = nullptr;

private:
    CGameObject* Find(int32_t handle) const
    {
        CWorld* world = m_game ? m_game->GetWorld() : nullptr;
        return world ? world->GetObject(handle) : nullptr;
    }
};

// Effects that bodies and sprites ask for (a part's death), spawned in the game's cache
// for the owner: tracked, recyclable, placed, given the velocity and started.
class CGameEffectRequests : public CEffectRequests
{
public:
    void StartEffect(const char* name, int32_t ownerHandle, const CVector2D& position,
                     const CVector2D& velocity) override
    {
        if (!m_game || !name || !name[0])
            return;
        CWorld* world = m_game->GetWorld();
        CGameObject* owner = world ? world->GetObject(ownerHandle) : nullptr;
        SEffectOwner who = SEffectOwner::Of(owner);
        if (!owner)
            who.handle = ownerHandle;
        CEffect* effect = m_game->GetEffectCache().SpawnEffect(name, who, true);
        if (!effect)
            return;
        effect->SetPosition(position);
        effect->SetVelocity(velocity);
        effect->Start();
    }

    const CGame* m_game = nullptr;
};

CGameClockLink s_clock;
CWorldRiders s_riders;
CGameEffectRequests s_effects;
} // namespace

void InstallPresentationLinks(const CGame& game)
{
    s_clock.m_game = &game;
    s_riders.m_game = &game;
    s_effects.m_game = &game;
    InstallAnimationClock(&s_clock);
    InstallRiderObjects(&s_riders);
    InstallEffectRequests(&s_effects);
}

void RemovePresentationLinks(const CGame& game)
{
    if (s_clock.m_game != &game)
        return;
    InstallEffectRequests(nullptr);
    InstallRiderObjects(nullptr);
    InstallAnimationClock(nullptr);
    s_clock.m_game = nullptr;
    s_riders.m_game = nullptr;
    s_effects.m_game = nullptr;
}
