#pragma once
// Keyframe tracks of an animation set: after a start delay they show a range of the
// set's sprites (and world objects), start them on a path, and fade, tint and scale
// the sprites through up to five keys, each sprite a fixed time behind the one before.

#include <cstddef>
#include <cstdint>

class CDataTree;
class CDefinitionProblems;
class CSpriteAnimSet;
class CAnimatedSprite;
struct SSpriteOwner;

struct SKeyFrame
{
    float m_red = 255.0f;
    float m_green = 255.0f;
    float m_blue = 255.0f;
    float m_scaleX = 1.0f;
    float m_scaleY = 1.0f;
    float m_alpha = 255.0f;
    float m_rotation = 0.0f; // read, not applied
    float m_time = 0.0f;     // seconds
};

class CKeyTrack
{
public:
    static constexpr int MAX_KEYS = 5;

    // "firstSpriteId", "numSprites", "firstGameObjId", "numGameObjs", "pathId",
    // "offsetAnimStartTime", "reverse" and the block "keys" ("offsetStartTime",
    // "pulseKeys", "numKeys", then "time%i", "rgb%i", "alpha%i", "scale%i", "rot%i").
    // Ranges are checked against the set's sprites, object slots and loaded paths:
    // what lies outside is dropped with a warning.
    void Load(const CDataTree& node, const CSpriteAnimSet& set, CDefinitionProblems& problems);

    // One frame: start delay, riders, then the keys' values on the sprites.
    void Update(CSpriteAnimSet& set, const SSpriteOwner& owner);
    // Moves the owner's shapes tagged by the track's sprites to where the sprites are.
    void MoveTaggedShapes(CSpriteAnimSet& set, const SSpriteOwner& owner);
    // From the start at the next update (start delay included).
    void Restart();
    // Stops the track: its sprites are shown or hidden and its riders released.
    void Stop(CSpriteAnimSet& set, bool show);
    void SetPaused(bool paused) { m_paused = paused; }

    bool IsRunning() const { return m_running; }
    bool IsStartPending() const { return m_startPending; }
    // Restarted, and not updated since.
    bool IsRestartPending() const { return m_restart; }
    // Neither sprites nor objects: the track does nothing.
    bool IsEmpty() const { return m_spriteCount == 0 && m_objectCount == 0; }
    uint32_t GetElapsedMs() const { return m_elapsed; }
    int32_t GetPathId() const { return m_pathId; }
    int32_t GetFirstSprite() const { return m_firstSprite; }
    int32_t GetSpriteCount() const { return m_spriteCount; }
    size_t GetKeyCount() const { return m_keyCount; }
    const SKeyFrame& GetKey(size_t index) const { return m_keys[index]; }
    // The keys' values at a time in seconds.
    SKeyFrame Sample(float seconds) const;

private:
    void StartRiders(CSpriteAnimSet& set, const SSpriteOwner& owner);
    void ReleaseRiders(CSpriteAnimSet& set);
    CAnimatedSprite* GetSprite(CSpriteAnimSet& set, int32_t index) const;

    int32_t m_firstSprite = 0;
    int32_t m_spriteCount = 0;
    int32_t m_firstObject = 0;
    int32_t m_objectCount = 0;
    int32_t m_pathId = -1;
    float m_startDelay = 0.0f; // seconds
    bool m_reverse = false;
    float m_stagger = 0.0f;    // seconds between one sprite and the next
    bool m_pulse = false;
    size_t m_keyCount = 0;
    SKeyFrame m_keys[MAX_KEYS];
    uint32_t m_elapsed = 0;    // ms
    bool m_running = false;
    bool m_paused = false;
    bool m_startPending = true;
    bool m_restart = false;
};
