#pragma once
// What the game needs of the HUD and its radar, which sit in a layer above. The
// base draws nothing and gives every object blip 0; the HUD installs itself on the
// game at start-up.

#include <cstdint>

class CGameObject;

class CHudLink
{
public:
    virtual ~CHudLink() = default;
    // The level's HUD is made and loaded with the level and goes with it.
    virtual void OnLevelStart() {}
    virtual void OnLevelEnd() {}
    virtual void Update() {}
    virtual void Draw(int32_t /*scrollX*/, int32_t /*scrollY*/) {}

    // The radar: a blip for every world object, moved every frame, removed as the
    // object leaves the world.
    virtual int32_t AddBlip(CGameObject&) { return 0; }
    virtual void UpdateBlip(int32_t /*blip*/, CGameObject&) {}
    virtual void RemoveBlip(int32_t /*blip*/) {}
};
