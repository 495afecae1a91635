#pragma once
// Every explosion, spark, trail, beam and glow of the game: the effect definitions
// read from "data\effect.txt" and the files it names, their pre-made live effects,
// the table of tracked live effects updated every frame, and the timed pushes
// (shock waves that grow to their radius, damaging and pushing what they reach).
//
// Spawning never allocates: a spawn takes an idle instance of the definition's pool,
// or, when every one is in use, takes back the recyclable one taken longest ago.
// An unknown name, a pool with nothing to give or a full live table gives null, and
// the caller goes on without the effect (see world/Effect.h for the protocol).

#include "core/DefinitionProblems.h"
#include "core/Vector2D.h"
#include "world/Effect.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CDataNode;
class CEffectDef;
class CGameObject;

// An expanding push: from its start time to its end time its radius grows from 0 to
// the full radius; every object inside takes the damage each frame and is pushed out.
struct STimedPush
{
    CVector2D centre;
    uint32_t start = 0; // game clock ms; 0: the slot is free
    uint32_t end = 0;
    int32_t damage = 0; // also the strength of the push
    int32_t radius = 0;
    int32_t sourceType = 0; // the type of the object that caused it, or 0

    bool IsActive() const { return start != 0; }
};

// The problems one definition file gave, for the console and `tesstool check`.
struct SEffectFileProblems
{
    std::string file;
    CDefinitionProblems problems;
};

class CEffectCache
{
public:
    static constexpr int32_t MAX_DEFINITIONS = 232;
    static constexpr int32_t LIVE_SLOTS = 300;
    static constexpr int32_t TIMED_PUSHES = 20;
    // Names are compared over their first 48 characters.
    static constexpr size_t NAME_COMPARE = 48;
    // Files an EFFECT_CACHE block may name.
    static constexpr int32_t MAX_FILES = 64;

    CEffectCache();
    ~CEffectCache();
    CEffectCache(const CEffectCache&) = delete;
    CEffectCache& operator=(const CEffectCache&) = delete;

    // Clears the cache, then reads every top-level "EFFECT_CACHE" block of the file:
    // "numEffects" and the files "effect0", "effect1", ..., each read by LoadFile.
    // False when the file cannot be read.
    bool Load(const char* fileName);
    // Every top-level block named "EFFECT..." (but "EFFECT_CACHE") becomes a
    // definition by its upper-cased "name"; the first definition of a name wins.
    // False when the file cannot be read.
    bool LoadFile(const char* fileName);
    // The same from an effect file's text in memory (tests, checks).
    bool LoadFromBytes(const std::string& bytes, const char* name);

    // Gives a live effect of the named definition for the owner (null: none), or null.
    // Tracked effects (neither flag) are updated by the cache every frame and are
    // recyclable as asked; forceRecyclableUntracked gives a recyclable effect that is
    // not tracked (a trail); untracked gives it as it is, for its caller to update.
    CEffect* SpawnEffect(const char* name, CGameObject* owner, bool recyclable, bool forceRecyclableUntracked = false,
                         bool untracked = false);
    CEffect* SpawnEffect(const char* name, const SEffectOwner& owner, bool recyclable,
                         bool forceRecyclableUntracked = false, bool untracked = false);

    // The effect leaves its live slot (if it holds one) and becomes idle.
    void RemoveLiveEffect(CEffect* effect);

    // Once a frame: nothing while a text page shows, in the in-game menu or while the
    // exit warning is open; else every definition's frame (targets, delayed events),
    // every tracked effect, then every active timed push.
    void Update();
    // Between levels: every live effect back to its pool, delayed events dropped,
    // pushes freed; the definitions stay.
    void Reset();
    // The reset, then every definition deleted.
    void FreeAll();

    // The first free push, else the one that started first; its source type cleared.
    STimedPush& TakeTimedPush();
    const STimedPush* GetTimedPushes() const { return m_pushes; }

    const CEffectDef* FindDefinition(const char* name) const;
    int32_t GetDefinitionCount() const { return static_cast<int32_t>(m_definitions.size()); }
    CEffectDef* GetDefinition(int32_t index) const;
    int32_t CountLiveEffects() const;
    CEffect* GetLiveEffect(int32_t slot) const;
    const std::vector<SEffectFileProblems>& GetFileProblems() const { return m_fileProblems; }
    const std::vector<std::string>& GetLoadedFiles() const { return m_loadedFiles; }

private:
    CEffectDef* FindDefinitionByName(const char* name) const;
    void ReadEffectNodes(const std::vector<std::unique_ptr<CDataNode>>& nodes, SEffectFileProblems& report);
    void ReportProblems(const SEffectFileProblems& report);
    void UpdateTimedPush(STimedPush& push, uint32_t now);
    bool IsStandingStill() const;

    std::vector<std::unique_ptr<CEffectDef>> m_definitions;
    CEffect* m_live[LIVE_SLOTS];
    STimedPush m_pushes[TIMED_PUSHES];
    std::vector<SEffectFileProblems> m_fileProblems;
    std::vector<std::string> m_loadedFiles;
};
