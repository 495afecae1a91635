// Stepping sound tracks: one channel a track, started by its play keys.

#include "presentation/CasTracks.h"

#include "platform/AudioSystem.h"
#include "presentation/CasTrackClock.h"

namespace
{
// The channel's sound ended or was taken over: the track plays nothing now, and
// its next play key starts the sample afresh.
void OnChannelEnd(void* userValue, int /*channel*/)
{
    SCasSoundTrack* track = static_cast<SCasSoundTrack*>(userValue);
    track->m_channel = -1;
    track->m_playing = false;
    track->m_started = false;
}

float CurrentVolume(const SCasSoundTrack& track)
{
    return track.m_volume.IsEmpty() ? 1.0f : track.m_volume.Current().m_value;
}

float CurrentPan(const SCasSoundTrack& track)
{
    if (track.m_pan.IsEmpty())
        return 0.0f;
    const float pan = track.m_pan.Current().m_value;
    return pan > -1.0f ? (pan < 1.0f ? pan : 1.0f) : -1.0f;
}

void ApplyPlayKey(SCasSoundTrack& track, CAudioSystem& audio)
{
    if (track.m_play.IsEmpty())
        return;
    const bool play = track.m_play.Current().m_value != 0;
    if (track.m_playing && !play)
    {
        audio.StopChannel(track.m_channel);
        track.m_playing = false;
    }
    else if (!track.m_playing && play)
    {
        // A channel paused by an earlier key resumes; otherwise the sample starts.
        if (track.m_started && audio.StartChannel(track.m_channel))
        {
            track.m_playing = true;
            return;
        }
        track.m_started = false;
        if (audio.PlaySample(track.m_sample, 1, 0, CurrentVolume(track), CurrentPan(track), false, track.m_loop,
                             &OnChannelEnd, &track, track.m_channel))
            track.m_playing = track.m_started = true;
    }
}
} // namespace

void StepSoundTrack(SCasSoundTrack& track, CAudioSystem* audio)
{
    if (audio && track.m_sample >= 0)
    {
        ApplyPlayKey(track, *audio);
        if (track.m_playing)
        {
            audio->SetChannelPan(track.m_channel, CurrentPan(track));
            audio->SetChannelVolume(track.m_channel, CurrentVolume(track));
        }
    }
    if (AdvanceCasTrack(track) && audio && track.m_started)
    {
        audio->SetChannelVolume(track.m_channel, 0.0f);
        audio->StopChannel(track.m_channel);
        track.m_playing = false;
    }
}

void StopSoundTrack(SCasSoundTrack& track, CAudioSystem* audio)
{
    if (audio && track.m_channel >= 0)
    {
        audio->SetChannelCallback(track.m_channel, nullptr, nullptr);
        audio->StopChannel(track.m_channel);
    }
    track.m_channel = -1;
    track.m_playing = false;
    track.m_started = false;
}
