#include "presentation/AnimationManager.h"

#include <cstdint>

namespace
{
uint32_t Later(uint32_t step, uint32_t offset)
{
    return step > UINT32_MAX - offset ? UINT32_MAX : step + offset;
}

template <typename TKey>
void ShiftList(SCasKeyList<TKey>& list, uint32_t offset)
{
    for (TKey& key : list.m_keys)
        key.m_step = Later(key.m_step, offset);
}

void ShiftClock(SCasTrackClock& clock, uint32_t offset)
{
    // The track lasts as much longer as its keys start later.
    clock.m_length = Later(clock.m_length, offset);
    clock.m_end = clock.m_length;
}
} // namespace

bool CAnimationManager::ShiftKeys(int slot, uint32_t offset)
{
    SCasAnimation* animation = GetSlot(slot);
    if (!animation || animation->m_playing)
        return false;
    uint32_t length = 0;
    for (SCasSpriteTrack& track : animation->m_spriteTracks)
    {
        ShiftList(track.m_position, offset);
        ShiftList(track.m_rotation, offset);
        ShiftList(track.m_scale, offset);
        ShiftList(track.m_colour, offset);
        ShiftList(track.m_frame, offset);
        ShiftList(track.m_visible, offset);
        ShiftClock(track.m_clock, offset);
        length = track.m_clock.m_length > length ? track.m_clock.m_length : length;
    }
    for (SCasTextTrack& track : animation->m_textTracks)
    {
        ShiftList(track.m_position, offset);
        ShiftList(track.m_colour, offset);
        ShiftClock(track.m_clock, offset);
        length = track.m_clock.m_length > length ? track.m_clock.m_length : length;
    }
    for (SCasSoundTrack& track : animation->m_soundTracks)
    {
        ShiftList(track.m_pan, offset);
        ShiftList(track.m_volume, offset);
        ShiftList(track.m_play, offset);
        ShiftClock(track.m_clock, offset);
        length = track.m_clock.m_length > length ? track.m_clock.m_length : length;
    }
    animation->m_length = length;
    animation->m_endFrame = length;
    return true;
}
