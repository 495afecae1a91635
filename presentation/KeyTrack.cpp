#include "presentation/KeyTrack.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "core/Vector2D.h"
#include "core/Vector3.h"
#include "presentation/AnimationClock.h"
#include "presentation/CollisionShape.h"
#include "presentation/CollisionTag.h"
#include "presentation/RiderObjects.h"
#include "presentation/SpriteAnimSet.h"
#include "presentation/SpriteOwner.h"

#include <cmath>
#include <cstdio>

namespace
{
float Finite(float value, float fallback)
{
    return std::isfinite(value) ? value : fallback;
}

uint32_t ColourChannel(float value)
{
    return static_cast<uint32_t>(value <= 0.0f ? 0.0f : (value >= 255.0f ? 255.0f : value));
}

// Keeps [first, first + count) within [0, limit); what falls outside is dropped with a
// warning.
void ClampRange(const CDataTree& node, const char* what, int32_t limit, int32_t& first, int32_t& count,
                CDefinitionProblems& problems)
{
    if (count <= 0)
    {
        count = 0;
        return;
    }
    if (first < 0 || first >= limit)
    {
        problems.AddWarning(&node, "%s from %d: there are %d", what, static_cast<int>(first), static_cast<int>(limit));
        first = 0;
        count = 0;
        return;
    }
    if (count > limit - first)
    {
        problems.AddWarning(&node, "%d %s from %d: there are %d", static_cast<int>(count), what,
                            static_cast<int>(first), static_cast<int>(limit));
        count = limit - first;
    }
}
} // namespace

void CKeyTrack::Load(const CDataTree& node, const CSpriteAnimSet& set, CDefinitionProblems& problems)
{
    *this = CKeyTrack();
    node.GetInt("firstSpriteId", m_firstSprite);
    node.GetInt("numSprites", m_spriteCount);
    node.GetInt("firstGameObjId", m_firstObject);
    node.GetInt("numGameObjs", m_objectCount);
    node.GetInt("pathId", m_pathId);
    node.GetFloat("offsetAnimStartTime", m_startDelay);
    m_startDelay = Finite(m_startDelay, 0.0f);
    node.GetBool("reverse", m_reverse);
    ClampRange(node, "sprites", static_cast<int32_t>(set.GetSprites().GetSpriteCount()), m_firstSprite, m_spriteCount,
               problems);
    ClampRange(node, "game objects", CSpriteAnimSet::OBJECT_SLOTS, m_firstObject, m_objectCount, problems);
    if (m_pathId != -1 && (m_pathId < 0 || static_cast<size_t>(m_pathId) >= set.GetPathCount() ||
                           !set.GetPath(static_cast<size_t>(m_pathId)).IsLoaded()))
    {
        problems.AddWarning(&node, "path %d does not exist: the track has no path", static_cast<int>(m_pathId));
        m_pathId = -1;
    }

    const CDataTree* keys = node.FindBlock("keys");
    if (!keys)
        return;
    keys->GetFloat("offsetStartTime", m_stagger);
    m_stagger = Finite(m_stagger, 0.0f);
    keys->GetBool("pulseKeys", m_pulse);
    int32_t count = 0;
    keys->GetInt("numKeys", count);
    if (count > MAX_KEYS)
    {
        problems.AddWarning(keys, "%d keys: the first %d are used", static_cast<int>(count), MAX_KEYS);
        count = MAX_KEYS;
    }
    m_keyCount = count > 0 ? static_cast<size_t>(count) : 0;
    for (size_t i = 0; i < m_keyCount; ++i)
    {
        SKeyFrame& key = m_keys[i];
        char name[32];
        std::snprintf(name, sizeof(name), "time%d", static_cast<int>(i));
        keys->GetFloat(name, key.m_time);
        std::snprintf(name, sizeof(name), "rgb%d", static_cast<int>(i));
        CVector3 rgb;
        if (keys->GetVec3(name, rgb))
        {
            key.m_red = rgb.x;
            key.m_green = rgb.y;
            key.m_blue = rgb.z;
        }
        std::snprintf(name, sizeof(name), "alpha%d", static_cast<int>(i));
        keys->GetFloat(name, key.m_alpha);
        std::snprintf(name, sizeof(name), "scale%d", static_cast<int>(i));
        CVector2D scale(key.m_scaleX, key.m_scaleY);
        if (keys->GetVec2(name, scale))
        {
            key.m_scaleX = scale.x;
            key.m_scaleY = scale.y;
        }
        std::snprintf(name, sizeof(name), "rot%d", static_cast<int>(i));
        keys->GetFloat(name, key.m_rotation);
        key.m_time = Finite(key.m_time, 0.0f);
    }
}

SKeyFrame CKeyTrack::Sample(float seconds) const
{
    if (m_keyCount == 0)
        return SKeyFrame();
    if (m_keyCount == 1 || seconds < m_keys[0].m_time)
        return m_keys[0];
    // Between two keys the values are interpolated; of keys with equal times the later
    // one holds, and past the last key its values hold.
    for (size_t i = 0; i + 1 < m_keyCount; ++i)
    {
        const SKeyFrame& from = m_keys[i];
        const SKeyFrame& to = m_keys[i + 1];
        if (from.m_time <= seconds && seconds < to.m_time)
        {
            const float share = (seconds - from.m_time) / (to.m_time - from.m_time);
            SKeyFrame key;
            key.m_red = from.m_red + (to.m_red - from.m_red) * share;
            key.m_green = from.m_green + (to.m_green - from.m_green) * share;
            key.m_blue = from.m_blue + (to.m_blue - from.m_blue) * share;
            key.m_scaleX = from.m_scaleX + (to.m_scaleX - from.m_scaleX) * share;
            key.m_scaleY = from.m_scaleY + (to.m_scaleY - from.m_scaleY) * share;
            key.m_alpha = from.m_alpha + (to.m_alpha - from.m_alpha) * share;
            key.m_rotation = from.m_rotation + (to.m_rotation - from.m_rotation) * share;
            key.m_time = seconds;
            return key;
        }
    }
    return m_keys[m_keyCount - 1];
}

CAnimatedSprite* CKeyTrack::GetSprite(CSpriteAnimSet& set, int32_t index) const
{
    const size_t at = static_cast<size_t>(m_firstSprite + index);
    return at < set.GetSprites().GetSpriteCount() ? &set.GetSprites().GetSprite(at) : nullptr;
}

void CKeyTrack::StartRiders(CSpriteAnimSet& set, const SSpriteOwner& owner)
{
    CPathSlot* path = m_pathId >= 0 ? &set.GetPath(static_cast<size_t>(m_pathId)) : nullptr;
    for (int32_t i = 0; i < m_spriteCount; ++i)
        if (CAnimatedSprite* sprite = GetSprite(set, i))
        {
            if (path)
                path->AddSpriteRider(*sprite, owner);
            sprite->Show();
        }
    for (int32_t i = 0; i < m_objectCount; ++i)
    {
        const int32_t handle = set.GetObject(m_firstObject + i);
        if (handle == -1 || handle == 0)
            continue;
        if (path)
            path->AddObjectRider(handle, owner);
        GetRiderObjects().SetObjectVisible(handle, true);
    }
}

void CKeyTrack::ReleaseRiders(CSpriteAnimSet& set)
{
    if (m_pathId < 0)
        return;
    CPathSlot& path = set.GetPath(static_cast<size_t>(m_pathId));
    for (int32_t i = 0; i < m_spriteCount; ++i)
        if (CAnimatedSprite* sprite = GetSprite(set, i))
            path.ReleaseSpriteRider(*sprite);
    for (int32_t i = 0; i < m_objectCount; ++i)
        path.ReleaseObjectRider(set.GetObject(m_firstObject + i));
}

void CKeyTrack::Restart()
{
    m_elapsed = 0;
    m_running = true;
    m_restart = true;
}

void CKeyTrack::Stop(CSpriteAnimSet& set, bool show)
{
    m_running = false;
    for (int32_t i = 0; i < m_spriteCount; ++i)
        if (CAnimatedSprite* sprite = GetSprite(set, i))
        {
            if (show)
                sprite->Show();
            else
                sprite->Hide();
        }
    ReleaseRiders(set);
}

void CKeyTrack::Update(CSpriteAnimSet& set, const SSpriteOwner& owner)
{
    if (m_spriteCount == 0 && m_objectCount == 0)
        return;
    if (m_restart)
    {
        // A restarted track waits out its start delay again and starts its riders anew.
        m_restart = false;
        m_startPending = true;
        ReleaseRiders(set);
    }
    if (m_running && !m_paused)
        m_elapsed += GAME_TICK_MS;
    if (m_startPending)
    {
        const float delayMs = m_startDelay > 0.0f ? m_startDelay * 1000.0f : 0.0f;
        if (!m_running || static_cast<float>(m_elapsed) <= delayMs)
            return;
        m_elapsed -= static_cast<uint32_t>(delayMs);
        m_startPending = false;
        StartRiders(set, owner);
    }

    const float last = m_keyCount > 0 ? m_keys[m_keyCount - 1].m_time : 0.0f;
    const bool pulsing = m_pulse && last > 0.0f;
    float seconds = static_cast<float>(m_elapsed) / 1000.0f;
    if (pulsing && seconds > last)
    {
        m_elapsed = static_cast<uint32_t>(std::fmod(static_cast<float>(m_elapsed), last * 1000.0f));
        seconds = static_cast<float>(m_elapsed) / 1000.0f;
    }
    for (int32_t k = 0; k < m_spriteCount; ++k)
    {
        CAnimatedSprite* sprite = GetSprite(set, m_reverse ? m_spriteCount - 1 - k : k);
        if (!sprite)
            continue;
        sprite->SetPosition(owner.position, owner.scaleX, owner.scaleY);
        if (m_keyCount == 0)
            continue;
        float own = seconds + m_stagger * static_cast<float>(k);
        if (pulsing && (own > last || own < 0.0f))
        {
            own = std::fmod(own, last);
            own = own < 0.0f ? own + last : own;
        }
        const SKeyFrame key = Sample(own);
        sprite->SetColour(ColourChannel(key.m_alpha) << 24 | ColourChannel(key.m_red) << 16 |
                          ColourChannel(key.m_green) << 8 | ColourChannel(key.m_blue));
        sprite->SetScale(key.m_scaleX * owner.scaleX, key.m_scaleY * owner.scaleY);
    }
}

void CKeyTrack::MoveTaggedShapes(CSpriteAnimSet& set, const SSpriteOwner& owner)
{
    if (!owner.shapes || m_startPending)
        return;
    for (int32_t i = 0; i < m_spriteCount; ++i)
    {
        CAnimatedSprite* sprite = GetSprite(set, i);
        if (!sprite || sprite->GetCollisionTag() == 0)
            continue;
        const CVector2D offset = sprite->GetPosition() - owner.position;
        const uint32_t tags = sprite->GetCollisionTagCount();
        if (tags <= 1)
        {
            if (CCollisionShape* shape = owner.shapes->FindByTag(sprite->GetCollisionTag(), 0))
                shape->SetPartOffset(offset);
            continue;
        }
        // Several shapes: the tag with its first character replaced by "0", "1", ...
        for (uint32_t n = 0; n < tags && n < 10; ++n)
        {
            const uint32_t tag = ReplaceTagFirstCharacter(sprite->GetCollisionTag(), static_cast<char>('0' + n));
            if (CCollisionShape* shape = owner.shapes->FindByTag(tag, 0))
                shape->SetPartOffset(offset);
        }
    }
}
