// The instance pool, the planes' file registrations and instance groups.

#include "presentation/SpriteBank.h"

#include <new>

namespace
{
bool IsPlane(int plane)
{
    return plane >= 0 && plane < SPRITE_PLANE_COUNT;
}
} // namespace

void CSpriteBank::RegisterFile(SSpriteFile& file, int plane)
{
    if (file.m_registered[plane])
        return;
    SSpritePlane& target = m_planes[plane];
    file.m_planePrev[plane] = target.m_lastFile;
    file.m_planeNext[plane] = nullptr;
    if (target.m_lastFile)
        target.m_lastFile->m_planeNext[plane] = &file;
    else
        target.m_firstFile = &file;
    target.m_lastFile = &file;
    file.m_registered[plane] = true;
    file.m_markedForRemoval[plane] = false;
}

void CSpriteBank::UnregisterFile(SSpriteFile& file, int plane)
{
    if (!file.m_registered[plane])
        return;
    SSpritePlane& target = m_planes[plane];
    SSpriteFile* prev = file.m_planePrev[plane];
    SSpriteFile* next = file.m_planeNext[plane];
    if (prev)
        prev->m_planeNext[plane] = next;
    else
        target.m_firstFile = next;
    if (next)
        next->m_planePrev[plane] = prev;
    else
        target.m_lastFile = prev;
    file.m_planePrev[plane] = file.m_planeNext[plane] = nullptr;
    file.m_registered[plane] = false;
    file.m_markedForRemoval[plane] = false;
}

// Off the free list, reset to a hidden, unrotated sprite with frame 0, white, scale 1
// at the origin (every creator sets its own values anyway).
SSpriteInstance* CSpriteBank::TakeInstance(SSpriteFile& file, int plane)
{
    SSpriteInstance* instance = m_freeList.m_first;
    if (!instance)
        return nullptr;
    m_freeList.Remove(instance);
    *instance = SSpriteInstance();
    instance->m_file = &file;
    instance->m_plane = plane;
    ++file.m_instanceCount;
    ++m_liveInstances;
    return instance;
}

bool CSpriteBank::CreateInstance(int plane, int fileIndex, SSpriteInstance*& instance)
{
    instance = nullptr;
    if (!IsPlane(plane) || !IsValidSlot(fileIndex))
        return false;
    SSpriteFile& file = m_files[fileIndex];
    SSpriteInstance* taken = TakeInstance(file, plane);
    if (!taken)
        return false;
    file.m_hidden[plane].Append(taken);
    RegisterFile(file, plane);
    instance = taken;
    return true;
}

void CSpriteBank::DestroyInstance(SSpriteInstance* instance)
{
    // A record that is not one of ours, or already free, is left alone.
    if (!instance || !m_instances || instance < &m_instances[0] ||
        instance >= &m_instances[SPRITE_INSTANCE_COUNT] || instance->m_plane < 0)
        return;
    if (instance->m_list)
        instance->m_list->Remove(instance);
    if (instance->m_file && instance->m_file->m_instanceCount > 0)
        --instance->m_file->m_instanceCount;
    if (instance == m_testInstance)
        m_testInstance = nullptr;
    *instance = SSpriteInstance();
    m_freeList.Append(instance);
    --m_liveInstances;
}

void CSpriteBank::SetInstancePlane(SSpriteInstance* instance, int plane)
{
    if (!instance || !IsPlane(plane) || instance->m_group || instance->m_plane < 0 || !instance->m_file)
        return;
    SSpriteFile& file = *instance->m_file;
    instance->m_list->Remove(instance);
    (instance->IsVisible() ? file.m_visible : file.m_hidden)[plane].Append(instance);
    RegisterFile(file, plane);
    instance->m_plane = plane;
}

bool CSpriteBank::CreateGroup(int plane, SSpriteGroup*& group)
{
    group = nullptr;
    if (!IsPlane(plane) || !m_instances)
        return false;
    SSpriteGroup* made = new (std::nothrow) SSpriteGroup();
    if (!made)
        return false;
    made->m_plane = plane;
    SSpritePlane& target = m_planes[plane];
    made->m_prev = target.m_lastGroup;
    if (target.m_lastGroup)
        target.m_lastGroup->m_next = made;
    else
        target.m_firstGroup = made;
    target.m_lastGroup = made;
    group = made;
    return true;
}

bool CSpriteBank::CreateGroupInstance(SSpriteGroup* group, int fileIndex, SSpriteInstance*& instance)
{
    instance = nullptr;
    if (!group || !IsValidSlot(fileIndex))
        return false;
    SSpriteInstance* taken = TakeInstance(m_files[fileIndex], group->m_plane);
    if (!taken)
        return false;
    group->m_members.Append(taken);
    taken->m_group = group;
    instance = taken;
    return true;
}

void CSpriteBank::DestroyGroup(SSpriteGroup* group)
{
    if (!group || !IsPlane(group->m_plane))
        return;
    SSpritePlane& plane = m_planes[group->m_plane];
    SSpriteGroup* found = plane.m_firstGroup;
    while (found && found != group)
        found = found->m_next;
    if (!found)
        return;
    while (group->m_members.m_first)
        DestroyInstance(group->m_members.m_first);
    if (group->m_prev)
        group->m_prev->m_next = group->m_next;
    else
        plane.m_firstGroup = group->m_next;
    if (group->m_next)
        group->m_next->m_prev = group->m_prev;
    else
        plane.m_lastGroup = group->m_prev;
    delete group;
}

void CSpriteBank::SetCameraPosition(int32_t x, int32_t y)
{
    m_cameraX = x;
    m_cameraY = y;
}

void CSpriteBank::SetPlaneScale(int plane, float factor)
{
    if (IsPlane(plane))
        m_planes[plane].m_movementFactor = factor;
}

void CSpriteBank::SetPlaneNoBlend(int plane, bool noBlend)
{
    if (IsPlane(plane))
        m_planes[plane].m_noBlend = noBlend ? 1 : 0;
}

void CSpriteBank::SetDrawHook(int plane, SpriteDrawHook hook, uint32_t userValue)
{
    if (!IsPlane(plane))
        return;
    m_planes[plane].m_drawHook = hook;
    m_planes[plane].m_hookValue = userValue;
}
