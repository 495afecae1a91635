// Stepping sprite and text tracks.

#include "presentation/CasTracks.h"

#include "platform/AudioSystem.h"
#include "presentation/CasTrackClock.h"
#include "presentation/SpriteTypes.h"

#include <cmath>

namespace
{
uint32_t PackChannel(float value, int shift)
{
    // Written so that a value that is not a number fails the first test.
    const float clamped = value > 0.0f ? (value < 255.0f ? value : 255.0f) : 0.0f;
    return static_cast<uint32_t>(std::lround(clamped)) << shift;
}
} // namespace

uint32_t PackCasColour(const SCasColourKey& key)
{
    return PackChannel(key.m_alpha, 24) | PackChannel(key.m_red, 16) | PackChannel(key.m_green, 8) |
           PackChannel(key.m_blue, 0);
}

int GetCasPlane(const SCasPositionKey& key)
{
    const float last = static_cast<float>(SPRITE_PLANE_COUNT - 1);
    const float clamped = key.m_z > 0.0f ? (key.m_z < last ? key.m_z : last) : 0.0f;
    return static_cast<int>(std::lround(clamped));
}

void ApplySpriteKeys(SCasSpriteTrack& track)
{
    SSpriteInstance* instance = track.m_instance;
    if (!instance)
        return;
    if (!track.m_frame.IsEmpty())
        instance->m_frame = track.m_frame.Current().m_value;
    if (!track.m_position.IsEmpty())
    {
        instance->m_x = track.m_position.Current().m_x;
        instance->m_y = track.m_position.Current().m_y;
    }
    if (!track.m_rotation.IsEmpty())
        instance->m_rotation = track.m_rotation.Current().m_value;
    if (!track.m_scale.IsEmpty())
    {
        instance->m_scaleX = track.m_scale.Current().m_x;
        instance->m_scaleY = track.m_scale.Current().m_y;
    }
    if (!track.m_colour.IsEmpty())
        instance->m_colour = PackCasColour(track.m_colour.Current());
    if (!track.m_visible.IsEmpty())
        instance->SetVisible(track.m_visible.Current().m_value != 0);
}

void StepSpriteTrack(SCasSpriteTrack& track)
{
    ApplySpriteKeys(track);
    AdvanceCasTrack(track);
}

void ApplyTextKeys(SCasTextTrack& track, CAudioSystem* audio)
{
    if (!track.m_position.IsEmpty())
    {
        track.m_x = track.m_position.Current().m_x;
        track.m_y = track.m_position.Current().m_y;
        track.m_z = track.m_position.Current().m_z;
    }
    if (track.m_colour.IsEmpty())
        return;
    const SCasColourKey& colour = track.m_colour.Current();
    track.m_colourValue = PackCasColour(colour);
    if (!(colour.m_alpha > 0.0f) || track.m_voiceStarted || track.m_voice.IsEmpty())
        return;
    track.m_voiceStarted = true;
    char path[512];
    if (audio && track.m_voice.ToNarrow(path, sizeof path))
    {
        audio->StopVoiceNow();
        audio->PlayVoice(path);
    }
}

void StepTextTrack(SCasTextTrack& track, CAudioSystem* audio)
{
    ApplyTextKeys(track, audio);
    AdvanceCasTrack(track);
}
