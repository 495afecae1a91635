#pragma once
// The step counter of a track and the current keys of its key lists. A key list
// moves to its next key when the counter becomes exactly that key's step, so
// keys out of order or at the same step are passed over as the counter passes them.

#include "presentation/CasTypes.h"

#include <algorithm>

template <typename TKey>
void AdvanceCasKeys(SCasKeyList<TKey>& list, uint32_t step)
{
    if (list.m_current + 1 < list.m_keys.size() && list.m_keys[list.m_current + 1].m_step == step)
        ++list.m_current;
}

// Where stepping from 0 to target one step at a time would leave the list, without
// walking every step (a damaged length could ask for billions).
template <typename TKey>
void SeekCasKeys(SCasKeyList<TKey>& list, uint32_t target)
{
    list.m_current = 0;
    uint32_t at = 0;
    while (list.m_current + 1 < list.m_keys.size())
    {
        const uint32_t next = list.m_keys[list.m_current + 1].m_step;
        if (next <= at || next > target)
            break;
        at = next;
        ++list.m_current;
    }
}

// Calls visit with every key list of the track.
template <typename TVisit>
void VisitCasKeyLists(SCasSpriteTrack& track, TVisit visit)
{
    visit(track.m_position);
    visit(track.m_rotation);
    visit(track.m_scale);
    visit(track.m_colour);
    visit(track.m_frame);
    visit(track.m_visible);
}

template <typename TVisit>
void VisitCasKeyLists(SCasTextTrack& track, TVisit visit)
{
    visit(track.m_position);
    visit(track.m_colour);
}

template <typename TVisit>
void VisitCasKeyLists(SCasSoundTrack& track, TVisit visit)
{
    visit(track.m_pan);
    visit(track.m_volume);
    visit(track.m_play);
}

// The counter and every key list at step.
template <typename TTrack>
void SeekCasTrack(TTrack& track, uint32_t step)
{
    track.m_clock.m_step = step;
    VisitCasKeyLists(track, [step](auto& list) { SeekCasKeys(list, step); });
}

// A new play of the track: its range and loop flag, then the counter at start.
template <typename TTrack>
void StartCasTrack(TTrack& track, uint32_t start, uint32_t end, bool loop)
{
    track.m_clock.m_loopStart = start;
    track.m_clock.m_end = end;
    track.m_clock.m_loop = loop;
    SeekCasTrack(track, start);
}

// After the current keys were applied: the counter grows by one (it never passes
// the end). At the end a looping track whose range is not empty starts again at
// its loop start (true); otherwise nothing more changes. Before the end every key
// list whose next key begins at the new step moves to it.
template <typename TTrack>
bool AdvanceCasTrack(TTrack& track)
{
    SCasTrackClock& clock = track.m_clock;
    if (clock.m_step < clock.m_end)
        ++clock.m_step;
    if (clock.m_step >= clock.m_end)
    {
        if (!clock.m_loop || clock.m_end == clock.m_loopStart)
            return false;
        SeekCasTrack(track, clock.m_loopStart);
        return true;
    }
    const uint32_t step = clock.m_step;
    VisitCasKeyLists(track, [step](auto& list) { AdvanceCasKeys(list, step); });
    return false;
}
