#include "platform/AudioSystem.h"

#include "platform/sound/SoundDevice.h"

bool CAudioSystem::PlaySample(int sample, int priority, uint32_t frequency, float volume, float pan,
                              bool startPaused, bool loop, AudioEndCallback callback, void* userValue, int& channel)
{
    channel = -1;
    if (sample == -1)
        return false;
    if (m_disabled)
        return true;
    if (!m_initialised || sample < 0 || sample >= static_cast<int>(m_samples.size()) || !m_samples[sample].buffer)
        return false;
    // An end callback that plays a sound would take over channels while we pick one.
    if (m_inPlaySample || m_channels.empty())
        return false;

    int picked = -1;
    for (int i = 0; i < GetChannelCount() && picked < 0; ++i)
    {
        if (!m_channels[i].buffer)
            picked = i;
    }
    if (picked < 0)
    {
        picked = 0;
        for (int i = 1; i < GetChannelCount(); ++i)
        {
            if (m_channels[i].priority < m_channels[picked].priority)
                picked = i;
        }
        // Only a sound that matters at least as much takes over a busy channel; a
        // free one is free whatever it last played.
        if (m_channels[picked].priority > priority)
            return false;
    }

    m_inPlaySample = true;
    SAudioChannel& target = m_channels[picked];
    if (target.buffer)
    {
        // Taken over: the old sound's owner hears of it first.
        CSoundBuffer* old = target.buffer;
        AudioEndCallback oldCallback = target.callback;
        void* oldUser = target.userValue;
        target = SAudioChannel();
        old->Stop();
        m_device->ReleaseBuffer(old);
        if (oldCallback)
            oldCallback(oldUser, picked);
    }

    const SSampleSlot& slot = m_samples[sample];
    CSoundBuffer* buffer = m_device->DuplicateBuffer(slot.buffer);
    if (!buffer)
    {
        m_inPlaySample = false;
        return false;
    }
    target = SAudioChannel();
    target.buffer = buffer;
    target.frequency = frequency ? frequency : slot.rate;
    target.volume = volume;
    target.pan = pan;
    target.priority = priority;
    target.callback = callback;
    target.userValue = userValue;
    target.looping = loop;
    target.playing = !startPaused;
    buffer->SetCurrentPosition(0);
    buffer->SetPan(ComputePan(pan));
    buffer->SetFrequency(target.frequency);
    buffer->SetVolume(ComputeAttenuation(m_fxGain, volume));
    if (!startPaused)
        buffer->Play(loop);
    channel = picked;
    m_inPlaySample = false;
    return true;
}

void CAudioSystem::Update()
{
    for (int i = 0; i < GetChannelCount(); ++i)
    {
        SAudioChannel& channel = m_channels[i];
        if (!channel.buffer)
            continue;
        if ((channel.playing && !channel.buffer->IsPlaying()) || channel.stopped)
        {
            // The channel is free before its owner hears of the end, so a callback
            // that plays a sound again may have it.
            CSoundBuffer* buffer = channel.buffer;
            AudioEndCallback callback = channel.callback;
            void* userValue = channel.userValue;
            channel.buffer = nullptr;
            channel.callback = nullptr;
            channel.userValue = nullptr;
            channel.playing = false;
            channel.stopped = false;
            m_device->ReleaseBuffer(buffer);
            if (callback)
                callback(userValue, i);
        }
    }
}

bool CAudioSystem::StartChannel(int channel)
{
    if (channel == -1 || m_disabled)
        return true;
    if (!IsChannelIndex(channel))
        return false;
    SAudioChannel& c = m_channels[channel];
    if (!c.buffer)
        return false;
    c.buffer->SetCurrentPosition(0);
    c.buffer->Play(c.looping);
    c.playing = true;
    c.stopped = false; // a stop not yet carried out must not end the restarted sound
    return true;
}

bool CAudioSystem::StopChannel(int channel)
{
    if (channel == -1 || m_disabled)
        return true;
    if (!IsChannelIndex(channel))
        return false;
    SAudioChannel& c = m_channels[channel];
    if (c.buffer)
    {
        c.buffer->Stop();
        c.stopped = true; // released at the next update
    }
    return true;
}

void CAudioSystem::StopAllChannels()
{
    for (int i = 0; i < GetChannelCount(); ++i)
        StopChannel(i);
}

bool CAudioSystem::SetChannelVolume(int channel, float volume)
{
    if (channel == -1 || m_disabled)
        return true;
    if (!IsChannelIndex(channel))
        return false;
    SAudioChannel& c = m_channels[channel];
    c.volume = volume;
    if (c.buffer)
        ApplyChannelVolume(c);
    return true;
}

float CAudioSystem::GetChannelVolume(int channel) const
{
    if (!IsChannelIndex(channel))
        return 0.0f;
    return m_channels[channel].volume;
}

bool CAudioSystem::SetChannelPan(int channel, float pan)
{
    if (channel == -1 || m_disabled)
        return true;
    if (!IsChannelIndex(channel))
        return false;
    SAudioChannel& c = m_channels[channel];
    c.pan = pan;
    if (c.buffer)
        c.buffer->SetPan(ComputePan(pan));
    return true;
}

bool CAudioSystem::SetChannelCallback(int channel, AudioEndCallback callback, void* userValue)
{
    if (channel == -1 || m_disabled)
        return true;
    if (!IsChannelIndex(channel))
        return false;
    m_channels[channel].callback = callback;
    m_channels[channel].userValue = userValue;
    return true;
}

bool CAudioSystem::SetChannelLoop(int channel, bool loop)
{
    if (channel == -1 || m_disabled)
        return true;
    if (!IsChannelIndex(channel))
        return false;
    SAudioChannel& c = m_channels[channel];
    c.looping = loop;
    if (c.buffer && c.playing)
        c.buffer->Play(loop);
    return true;
}

const SAudioChannel* CAudioSystem::GetChannel(int channel) const
{
    return IsChannelIndex(channel) ? &m_channels[channel] : nullptr;
}
