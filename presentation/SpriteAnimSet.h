#pragma once
// An animation set: sprites, waypoint paths that carry riders, and keyframe tracks
// that show, tint, scale and start sprites (and world objects) on the paths. The
// object that holds it loads it from its definition and updates it once a frame.

#include "presentation/KeyTrack.h"
#include "presentation/SpritePath.h"
#include "presentation/SpriteSet.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class CDataTree;
class CDefinitionProblems;
struct SSpriteOwner;

class CSpriteAnimSet
{
public:
    static constexpr int32_t MAX_PATHS = 16;
    static constexpr int32_t MAX_TRACKS = 32;
    // World objects that tracks may carry ("firstGameObjId" counts from 0 here); the
    // holder puts their handles in with SetObject.
    static constexpr int32_t OBJECT_SLOTS = 8;

    CSpriteAnimSet();
    ~CSpriteAnimSet();
    CSpriteAnimSet(const CSpriteAnimSet&) = delete;
    CSpriteAnimSet& operator=(const CSpriteAnimSet&) = delete;

    // The block "sprites" (placed at the owner, given its scale, hidden), "numPaths"
    // with blocks "path%i", "numAnims" with blocks "anim%i". A missing numbered block
    // or a count outside the tables is fatal (false).
    bool Load(const CDataTree& node, const SSpriteOwner& owner, CDefinitionProblems& problems);
    void Destroy();

    // Every track, then every path, then the tracks' tagged shapes.
    void Update(const SSpriteOwner& owner);
    // Index -1 means every track.
    void RestartTrack(int index);
    void StopTrack(int index, bool show);
    void SetVisible(bool visible);

    void SetObject(int slot, int32_t handle);
    int32_t GetObject(int slot) const;

    CSpriteSet& GetSprites() { return m_sprites; }
    const CSpriteSet& GetSprites() const { return m_sprites; }
    size_t GetPathCount() const { return m_pathCount; }
    CPathSlot& GetPath(size_t index) { return m_paths[index]; }
    const CPathSlot& GetPath(size_t index) const { return m_paths[index]; }
    size_t GetTrackCount() const { return m_trackCount; }
    CKeyTrack& GetTrack(size_t index) { return m_tracks[index]; }

private:
    CSpriteSet m_sprites;
    std::unique_ptr<CPathSlot[]> m_paths;
    size_t m_pathCount = 0;
    std::unique_ptr<CKeyTrack[]> m_tracks;
    size_t m_trackCount = 0;
    int32_t m_objects[OBJECT_SLOTS];
};
