// The media of an animation: sprite files and instances, groups and samples.

#include "presentation/AnimationManager.h"

#include "platform/AudioSystem.h"
#include "presentation/CasTracks.h"
#include "presentation/SpriteBank.h"
#include "utility/source/QelFile.h"

namespace
{
bool NarrowName(const CWString& name, char (&path)[FILE_PATH_SIZE])
{
    return name.ToNarrow(path, sizeof path) && path[0] != 0;
}

// The group of the id, made on first use on the plane of the track that asks.
SSpriteGroup* FindOrMakeGroup(SCasAnimation& animation, int32_t id, int plane)
{
    for (const SCasGroup& group : animation.m_groups)
    {
        if (group.m_id == id)
            return group.m_group;
    }
    SSpriteGroup* made = nullptr;
    if (!g_spriteBank->CreateGroup(plane, made))
        return nullptr;
    animation.m_groups.push_back({id, made});
    return made;
}

bool LoadSpriteTrack(SCasAnimation& animation, SCasSpriteTrack& track)
{
    char path[FILE_PATH_SIZE];
    if (!g_spriteBank || !NarrowName(track.m_fileName, path) || !g_spriteBank->LoadFile(path, true, track.m_fileIndex))
    {
        track.m_fileIndex = -1;
        return false;
    }
    // Without a position key the instance goes on plane 0.
    const int plane = track.m_position.IsEmpty() ? 0 : GetCasPlane(track.m_position.m_keys[0]);
    bool made = false;
    if (track.m_groupId == -1)
        made = g_spriteBank->CreateInstance(plane, track.m_fileIndex, track.m_instance);
    else if (SSpriteGroup* group = FindOrMakeGroup(animation, track.m_groupId, plane))
        made = g_spriteBank->CreateGroupInstance(group, track.m_fileIndex, track.m_instance);
    if (!made)
    {
        track.m_instance = nullptr;
        return false;
    }
    track.m_instance->m_flags |= SPRITE_VIRTUAL;
    return true;
}

// Without an audio system the track stays silent, as with audio switched off.
bool LoadSoundTrack(SCasSoundTrack& track)
{
    char path[FILE_PATH_SIZE];
    track.m_sample = -1;
    if (!NarrowName(track.m_fileName, path))
        return false;
    return !g_audio || g_audio->LoadSample(path, track.m_sample);
}
} // namespace

bool CAnimationManager::LoadMedia(int slot)
{
    SCasAnimation* animation = GetSlot(slot);
    if (!animation)
        return false;
    if (animation->m_mediaLoaded)
        return true;
    // Marked first, so that a failure part-way gives back what was loaded.
    animation->m_mediaLoaded = true;
    for (SCasSpriteTrack& track : animation->m_spriteTracks)
    {
        if (!LoadSpriteTrack(*animation, track))
        {
            UnloadMedia(slot);
            return false;
        }
    }
    for (SCasSoundTrack& track : animation->m_soundTracks)
    {
        if (!LoadSoundTrack(track))
        {
            UnloadMedia(slot);
            return false;
        }
    }
    return true;
}

bool CAnimationManager::UnloadMedia(int slot)
{
    SCasAnimation* animation = GetSlot(slot);
    if (!animation)
        return false;
    if (animation->m_playing)
        Stop(slot);
    if (!animation->m_mediaLoaded)
        return true;
    for (SCasSpriteTrack& track : animation->m_spriteTracks)
    {
        // Group members go with their group.
        if (track.m_instance && !track.m_instance->m_group && g_spriteBank)
            g_spriteBank->DestroyInstance(track.m_instance);
        track.m_instance = nullptr;
    }
    for (SCasGroup& group : animation->m_groups)
    {
        if (g_spriteBank)
            g_spriteBank->DestroyGroup(group.m_group);
    }
    animation->m_groups.clear();
    for (SCasSpriteTrack& track : animation->m_spriteTracks)
    {
        if (track.m_fileIndex >= 0 && g_spriteBank)
            g_spriteBank->ReleaseFile(track.m_fileIndex);
        track.m_fileIndex = -1;
    }
    for (SCasSoundTrack& track : animation->m_soundTracks)
    {
        StopSoundTrack(track, g_audio);
        if (track.m_sample >= 0 && g_audio)
            g_audio->ReleaseSample(track.m_sample);
        track.m_sample = -1;
    }
    animation->m_mediaLoaded = false;
    return true;
}
