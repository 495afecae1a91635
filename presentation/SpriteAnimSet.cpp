#include "presentation/SpriteAnimSet.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "presentation/DefinitionBlocks.h"
#include "presentation/SpriteOwner.h"

#include <new>

CSpriteAnimSet::CSpriteAnimSet()
{
    for (int32_t& handle : m_objects)
        handle = -1;
}

CSpriteAnimSet::~CSpriteAnimSet()
{
    Destroy();
}

bool CSpriteAnimSet::Load(const CDataTree& node, const SSpriteOwner& owner, CDefinitionProblems& problems)
{
    Destroy();
    if (const CDataTree* sprites = node.FindBlock("sprites"))
    {
        if (!m_sprites.Load(*sprites, owner, problems))
            return false;
    }
    int32_t pathCount = 0, trackCount = 0;
    if (!ReadDefinitionCount(node, "numPaths", MAX_PATHS, pathCount, problems) ||
        !ReadDefinitionCount(node, "numAnims", MAX_TRACKS, trackCount, problems))
        return false;
    m_paths.reset(new (std::nothrow) CPathSlot[static_cast<size_t>(pathCount)]);
    m_tracks.reset(new (std::nothrow) CKeyTrack[static_cast<size_t>(trackCount)]);
    if (!m_paths || !m_tracks)
    {
        problems.AddFatal(&node, "no memory for the animation set");
        Destroy();
        return false;
    }
    m_pathCount = static_cast<size_t>(pathCount);
    m_trackCount = static_cast<size_t>(trackCount);
    bool complete = true;
    for (int32_t i = 0; i < pathCount; ++i)
    {
        const CDataTree* path = FindNumberedBlock(node, "path", i, true, problems);
        if (path)
            m_paths[static_cast<size_t>(i)].Load(*path, problems);
        complete = complete && path;
    }
    for (int32_t i = 0; i < trackCount; ++i)
    {
        const CDataTree* track = FindNumberedBlock(node, "anim", i, true, problems);
        if (track)
            m_tracks[static_cast<size_t>(i)].Load(*track, *this, problems);
        complete = complete && track;
    }
    return complete;
}

void CSpriteAnimSet::Destroy()
{
    m_tracks.reset();
    m_trackCount = 0;
    m_paths.reset();
    m_pathCount = 0;
    m_sprites.Destroy();
}

void CSpriteAnimSet::Update(const SSpriteOwner& owner)
{
    for (size_t i = 0; i < m_trackCount; ++i)
        m_tracks[i].Update(*this, owner);
    for (size_t i = 0; i < m_pathCount; ++i)
        m_paths[i].Update(owner);
    // After the paths, so that shapes tied to riding sprites go where the sprites went.
    for (size_t i = 0; i < m_trackCount; ++i)
        m_tracks[i].MoveTaggedShapes(*this, owner);
}

void CSpriteAnimSet::RestartTrack(int index)
{
    for (size_t i = 0; i < m_trackCount; ++i)
        if (index < 0 || static_cast<size_t>(index) == i)
            m_tracks[i].Restart();
}

void CSpriteAnimSet::StopTrack(int index, bool show)
{
    for (size_t i = 0; i < m_trackCount; ++i)
        if (index < 0 || static_cast<size_t>(index) == i)
            m_tracks[i].Stop(*this, show);
}

void CSpriteAnimSet::SetVisible(bool visible)
{
    for (size_t i = 0; i < m_sprites.GetSpriteCount(); ++i)
    {
        if (visible)
            m_sprites.GetSprite(i).Show();
        else
            m_sprites.GetSprite(i).Hide();
    }
}

void CSpriteAnimSet::SetObject(int slot, int32_t handle)
{
    if (slot >= 0 && slot < OBJECT_SLOTS)
        m_objects[slot] = handle;
}

int32_t CSpriteAnimSet::GetObject(int slot) const
{
    return slot >= 0 && slot < OBJECT_SLOTS ? m_objects[slot] : -1;
}
