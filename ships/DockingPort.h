#pragma once
// An animated opening of a large object (the station, a mothership, a boss) through
// which other objects are taken in and launched out along a path. The port is a
// member of its owner, read from a "port%i" block of the owner's definition, and
// updated by the owner once a frame while the owner is shown.
//
// Its animation set holds the open animations (their paths carry the doors: forwards
// opens, backwards closes), the looping standby animations and the entrance
// animation, whose path carries objects: outwards from its start point when one is
// launched, inwards from its far end when one is taken in. Objects are held by
// handle and looked up on every update; one that went away is dropped.
//
// States: opening -> open, closing -> closed, open -> launching / taking in -> open,
// and destroyed for good.

#include "core/Vector2D.h"
#include "presentation/SpriteAnimSet.h"

#include <cstdint>
#include <string>
#include <vector>

class CDataTree;
class CDefinitionProblems;
class CGameObject;
class CObjectBody;
class CPathSlot;
struct SSpriteOwner;

enum EDockingPortState : int32_t
{
    PORT_OPENING = 0,
    PORT_CLOSING = 1,
    PORT_LAUNCHING = 2,
    PORT_TAKING_IN = 3,
    PORT_CLOSED = 4,
    PORT_OPEN = 5,
    PORT_DESTROYED = 6,
};

class CDockingPort
{
public:
    using Callback = void (*)(void* argument);

    // Sprites of a destroyed port vanish this long after its death effects start.
    static constexpr uint32_t HIDE_DELAY_MS = 500;
    static constexpr size_t MAX_DEATH_EFFECT = 47;

    CDockingPort() = default;
    // Lets go of every object it holds.
    ~CDockingPort();
    CDockingPort(const CDockingPort&) = delete;
    CDockingPort& operator=(const CDockingPort&) = delete;

    // "anims" (the animation set), "openAnimIdx" with "numOpenAnims",
    // "openStandbyAnimIdx" with "numOpenStandbyAnims", "objEntranceAnimIdx",
    // "objCatchment" (the entrance point, from the owner), "pushOnExit", "deathEffect".
    // Animation ranges outside the set are cut to it with a warning. The doors are
    // shown closed. False when the animation set is broken.
    bool ParseDefinition(const CDataTree& node, const CGameObject& owner, CDefinitionProblems& problems);

    // Opens a closed or closing port (the doors run forwards).
    void Open();
    // Closes an open or opening port (the doors run backwards); nothing while an
    // object is in transit.
    void Close();
    // Hides the object and queues it to be launched; the callback is not called for
    // launches. The flag and callback are the port's: the last call's hold.
    void TakeObject(int32_t handle, bool closeWhenDone, Callback callback, void* argument);
    // Queues the object to be taken in; the callback is called once it is inside.
    void TakeIn(int32_t handle, bool closeWhenDone, Callback callback, void* argument);

    // Once a frame from the owner's move; the body is the owner's (its parts tagged like
    // the port's sprites go when the port does), or null.
    void Update(CGameObject& owner, CObjectBody* body);

    // For good: everything held is let go; with effects (and a death effect named) the
    // effect starts at every door sprite and the doors vanish 500 ms later; otherwise,
    // with hideNow, the doors vanish at once.
    void Destroy(const CGameObject& owner, CObjectBody* body, bool withEffects, bool hideNow);
    // Every object held (in transit and queued) is unfrozen, shown at scale 1 and let go.
    void ReleaseAll();
    // Whether the shape of the object last hit carries the tag of one of the port's
    // sprites (a sprite standing for n shapes has the tags "0xxx" to "(n-1)xxx").
    bool IsHitOnPort(const CGameObject& object) const;
    void SetVisible(bool visible);

    // Queued either way or in transit.
    bool Holds(int32_t handle) const;
    EDockingPortState GetState() const { return m_state; }
    int32_t GetTransit() const { return m_transit; }
    size_t GetLaunchQueueLength() const { return m_launchQueue.size(); }
    size_t GetTakeInQueueLength() const { return m_takeInQueue.size(); }
    const CVector2D& GetCatchment() const { return m_catchment; }
    // The owner's position plus the catchment offset.
    CVector2D GetEntrancePoint(const CGameObject& owner) const;
    float GetPushOnExit() const { return m_pushOnExit; }
    const std::string& GetDeathEffect() const { return m_deathEffect; }
    CSpriteAnimSet& GetAnimSet() { return m_anims; }
    // The path that carries objects, or null when the entrance animation has none.
    CPathSlot* GetEntrancePath();
    // The sprite of the animation's first sprite (turrets ride on port animations), or null.
    CAnimatedSprite* GetAnimationSprite(int32_t animation);

private:
    void CheckRanges(const CDataTree& node, CDefinitionProblems& problems);
    void RunOpenAnimations(bool opening);
    bool HaveOpenAnimationsEnded();
    void HideDoors(const SSpriteOwner& owner, CObjectBody* body);
    void LoopStandby();
    void UpdateQueues(const SSpriteOwner& owner);
    void UpdateRide();
    void StartLaunch(int32_t handle, const SSpriteOwner& owner);
    void StartTakeIn(int32_t handle, const SSpriteOwner& owner);
    void EndRide();
    CVector2D GetWaitingPoint(const SSpriteOwner& owner);
    // The unit direction of the entrance path's last segment; false without one.
    bool GetExitDirection(CVector2D& direction);

    int32_t m_openAnim = 0;
    int32_t m_openCount = 0;
    int32_t m_standbyAnim = 0;
    int32_t m_standbyCount = 0;
    int32_t m_entranceAnim = -1;
    CSpriteAnimSet m_anims;
    EDockingPortState m_state = PORT_CLOSED;
    uint32_t m_hideTime = 0;
    int32_t m_transit = -1;
    std::vector<int32_t> m_launchQueue;
    std::vector<int32_t> m_takeInQueue;
    float m_pushOnExit = 0.0f;
    CVector2D m_catchment;
    Callback m_callback = nullptr;
    void* m_callbackArgument = nullptr;
    std::string m_deathEffect;
    bool m_closeWhenDone = false;
};
