#pragma once
// The table of every live object of the running level. Objects are made here only
// (by type id, through the factory) and destroyed here only (by handle, deferred to
// the start of the next update); other code keeps handles, never pointers, across
// frames.
//
// A handle is slot | generation << 24. A slot's generation moves on at every
// creation in it and skips 0 when it wraps, so no live object ever has handle 0 or
// -1 (NO_OBJECT), and a handle kept after its object went resolves to nothing.
// Free slots are a stack: the highest comes out first, the last freed is reused first.

#include "world/Effect.h"
#include "world/GameObject.h"
#include "world/WarpOverlay.h"

#include <cstdint>
#include <memory>
#include <vector>

class CGame;
class CWorld;
struct SWarpEntry;

// Runs one step of an entry's warp sequence; the warp effects install it.
using WarpStepFunction = void (*)(CWorld& world, SWarpEntry& entry);

// An object warping in or out, and what its sequence holds (world/WarpEffects.h
// runs it). Ending an entry gives its effect back and takes its overlay down.
struct SWarpEntry
{
    int32_t handle = NO_OBJECT;
    uint32_t startTime = 0;    // game ms; a skip moves it back
    bool started = false;      // the first step has run
    bool skipped = false;      // the player skipped the station's sequence
    bool fullScreen = false;   // the station's sequence darkens the screen
    bool effectStarted = false;
    uint8_t onceSteps = 0;     // the station's one-time steps done (bits)
    float duration = 0.0f;     // ms of growing or shrinking
    SEffectRef effect;
    std::unique_ptr<CWarpOverlay> overlay;
};

class CWorld
{
public:
    static constexpr int32_t DEFAULT_SLOTS = 256;
    static constexpr int32_t WARP_ENTRIES = 80;
    static constexpr int32_t HANDLE_SLOT_MASK = 0x00FFFFFF;

    // The game gives the world its quadtree, push grid, camera and links; a world
    // without a game runs on its own (tests), without them.
    explicit CWorld(CGame* game = nullptr);
    ~CWorld();
    CWorld(const CWorld&) = delete;
    CWorld& operator=(const CWorld&) = delete;

    // The tables, every slot free. More slots than the game's 256 serve benchmarks.
    bool Init(int32_t slots = DEFAULT_SLOTS);

    // A new object of the type, its handle in the out-parameter; false when the
    // table is full or the type cannot be made. It joins the passes from the next update.
    bool CreateObject(int32_t type, int32_t& handle);
    // The live object of the handle, or null.
    CGameObject* GetObject(int32_t handle) const;
    bool GetObject(int32_t handle, CGameObject*& object) const;
    // Queues the object for destruction at the start of the next update (once).
    void RemoveObject(int32_t handle);
    void FlushRemovals();
    // Every object goes at once (leaving a zone node).
    void Clear();

    // A walk over the occupied slots: First starts at the object's slot (or the
    // first occupied one), Next moves on and wraps past the last slot once, setting
    // the flag (and giving null for that call when nothing lies behind).
    CGameObject* First(CGameObject* from);
    CGameObject* Next(bool& wrapped);

    // Key -1: the first mothership, boss or mounted part in slot order; else the
    // mothership of that boss key.
    CGameObject* FindBoss(int32_t key) const;
    CGameObject* FindAsteroidByKind(int32_t kind) const;
    int32_t CountEnemies() const;
    int32_t CountRemovedEnemies() const;
    // Every living enemy but one: those on screen take a fatal hit, the rest vanish.
    void DestroyEnemies(int32_t exceptHandle);
    void SetObjectsVisible(bool visible);
    // Stores the object for the warp sequences; nothing when all 80 entries are busy.
    void AddWarp(int32_t handle);
    const SWarpEntry* GetWarpEntries() const { return m_warps; }
    SWarpEntry* GetWarpEntries() { return m_warps; }
    // Ends an entry (its sequence is over).
    void EndWarp(SWarpEntry& entry);
    void SetWarpStep(WarpStepFunction step) { m_warpStep = step; }
    // Whether warp sequences run (a warp with no step would never end).
    bool HasWarpStep() const { return m_warpStep != nullptr; }
    int32_t GetActiveWarpCount() const { return m_activeWarps; }
    // The byte the station's sequences share: their sound has started.
    bool IsWarpSoundStarted() const { return m_warpSoundStarted; }
    void SetWarpSoundStarted(bool started) { m_warpSoundStarted = started; }

    // One frame's passes (nothing while a text page shows): file new objects in the
    // quadtree, flush removals, warp step, think, move (with refiling and the push
    // grid), sprites and radar, collisions.
    void Update();

    // A fingerprint of the state: every live object's handle, type, position,
    // velocity, angle and health, in handle order. Equal runs give equal values.
    uint64_t ComputeChecksum() const;

    int32_t GetSlotCount() const { return static_cast<int32_t>(m_objects.size()); }
    int32_t CountObjects() const;
    // The object of a slot (null when free), for walks in slot order.
    CGameObject* GetSlot(int32_t slot) const;

private:
    void Destroy(int32_t slot, bool withBlip);
    void DropWarp(int32_t handle);
    static void ReleaseWarp(SWarpEntry& entry);
    uint32_t GetFrameCounter() const;

    CGame* m_game;
    std::vector<int32_t> m_removals;
    std::vector<CGameObject*> m_objects;
    std::vector<uint8_t> m_generations;
    std::vector<int32_t> m_freeSlots;
    std::vector<uint8_t> m_queuedThisFrame;
    uint32_t m_queueFrame = 0;
    SWarpEntry m_warps[WARP_ENTRIES];
    int32_t m_activeWarps = 0;
    bool m_warpSoundStarted = false;
    WarpStepFunction m_warpStep = nullptr;
    int32_t m_cursor = -1;
};
