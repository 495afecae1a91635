#include "platform/sound/SoundDevice.h"

#include "platform/sound/SoundOutput.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace
{
// Until the output format is set: 22050 Hz, 8-bit stereo, as a fresh device starts.
SSoundFormat DefaultOutputFormat()
{
    SSoundFormat format;
    format.channels = 2;
    format.rate = 22050;
    format.bits = 8;
    return format;
}

SSoundCaps SoftwareCaps()
{
    SSoundCaps caps;
    caps.flags = SOUNDCAPS_EMULATED | SOUNDCAPS_CONTINUOUS_RATE | SOUNDCAPS_PRIMARY_16BIT | SOUNDCAPS_PRIMARY_8BIT |
                 SOUNDCAPS_PRIMARY_MONO | SOUNDCAPS_PRIMARY_STEREO | SOUNDCAPS_SECONDARY_16BIT |
                 SOUNDCAPS_SECONDARY_8BIT | SOUNDCAPS_SECONDARY_MONO | SOUNDCAPS_SECONDARY_STEREO;
    return caps;
}

// One sample of a frame as a signed 16-bit value.
inline int32_t ReadSample(const uint8_t* data, uint32_t frame, uint32_t channel, const SSoundFormat& format)
{
    uint32_t index = frame * format.channels + channel;
    if (format.bits == 8)
        return (static_cast<int32_t>(data[index]) - 128) * 256;
    return static_cast<int16_t>(static_cast<uint16_t>(data[index * 2] | (data[index * 2 + 1] << 8)));
}

// Linear interpolation between two samples, frac in 1/2^32.
inline int32_t Interpolate(int32_t a, int32_t b, uint32_t frac)
{
    return a + static_cast<int32_t>((static_cast<int64_t>(b - a) * frac) >> 32);
}
} // namespace

double GetSoundGain(int32_t volume)
{
    if (volume <= SOUND_VOLUME_SILENT)
        return 0.0;
    return std::pow(10.0, std::min(volume, SOUND_VOLUME_FULL) / 2000.0);
}

void CSoundOutput::Pull(CSoundDevice& device, uint8_t* out, uint32_t frames)
{
    std::lock_guard<std::mutex> guard(device.m_mixLock);
    device.MixLocked(out, frames);
}

CSoundDevice::CSoundDevice(bool offline)
    : m_offline(offline), m_outputFormat(DefaultOutputFormat()), m_caps(SoftwareCaps())
{
}

CSoundDevice::~CSoundDevice()
{
    // The output thread must stop pulling before the buffers go.
    if (m_output)
        m_output->Close();
}

std::unique_ptr<CSoundDevice> CSoundDevice::Create(ESoundOutput output)
{
    std::unique_ptr<CSoundDevice> device(new (std::nothrow) CSoundDevice(output == ESoundOutput::Offline));
    if (!device || device->m_offline)
        return device;
    device->m_output = CreateSdlSoundOutput(*device);
    if (!device->m_output || !device->m_output->Open(device->m_outputFormat))
        return nullptr;
    return device;
}

bool CSoundDevice::GetCaps(SSoundCaps& caps) const
{
    caps = m_caps;
    return true;
}

void CSoundDevice::OverrideCaps(const SSoundCaps& caps)
{
    m_caps = caps;
}

bool CSoundDevice::SetCooperativeLevel(void* /*window*/, ESoundCooperation level)
{
    // Nothing else shares our mixer, so every level is granted.
    m_cooperation = level;
    return true;
}

CSoundBuffer* CSoundDevice::CreateBuffer(const SSoundBufferDesc& desc)
{
    std::shared_ptr<std::vector<uint8_t>> data;
    SSoundBufferDesc use = desc;
    if (desc.flags & SOUNDBUFFER_PRIMARY)
    {
        use.format = GetOutputFormat();
    }
    else
    {
        if (!desc.format.IsValid())
            return nullptr;
        uint32_t bytes = desc.bytes - desc.bytes % desc.format.GetBlockAlign();
        if (bytes == 0)
            return nullptr;
        try
        {
            data = std::make_shared<std::vector<uint8_t>>(bytes, desc.format.bits == 8 ? 128 : 0);
        }
        catch (const std::bad_alloc&)
        {
            return nullptr;
        }
    }
    return AddBuffer(new (std::nothrow) CSoundBuffer(*this, use, std::move(data)));
}

CSoundBuffer* CSoundDevice::DuplicateBuffer(const CSoundBuffer* original)
{
    if (!original || &original->m_device != this || (original->m_flags & SOUNDBUFFER_PRIMARY))
        return nullptr;
    SSoundBufferDesc desc;
    desc.flags = original->m_flags;
    desc.bytes = original->m_bytes;
    desc.format = original->m_format;
    return AddBuffer(new (std::nothrow) CSoundBuffer(*this, desc, original->m_data));
}

CSoundBuffer* CSoundDevice::AddBuffer(CSoundBuffer* buffer)
{
    if (!buffer)
        return nullptr;
    std::unique_ptr<CSoundBuffer> owned(buffer);
    std::lock_guard<std::mutex> guard(m_mixLock);
    try
    {
        m_buffers.push_back(std::move(owned));
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
    return buffer;
}

void CSoundDevice::ReleaseBuffer(CSoundBuffer* buffer)
{
    std::unique_ptr<CSoundBuffer> doomed;
    {
        std::lock_guard<std::mutex> guard(m_mixLock);
        auto it = std::find_if(m_buffers.begin(), m_buffers.end(),
                               [buffer](const std::unique_ptr<CSoundBuffer>& b) { return b.get() == buffer; });
        if (it == m_buffers.end())
            return;
        doomed = std::move(*it);
        m_buffers.erase(it);
    }
}

size_t CSoundDevice::GetBufferCount() const
{
    std::lock_guard<std::mutex> guard(m_mixLock);
    return m_buffers.size();
}

SSoundFormat CSoundDevice::GetOutputFormat() const
{
    std::lock_guard<std::mutex> guard(m_mixLock);
    return m_outputFormat;
}

bool CSoundDevice::ReopenOutput(const SSoundFormat& format)
{
    // The output thread takes the mixer lock, so it is closed without holding it.
    if (m_output)
        m_output->Close();
    {
        std::lock_guard<std::mutex> guard(m_mixLock);
        m_outputFormat = format;
    }
    return !m_output || m_output->Open(format);
}

bool CSoundDevice::MixOffline(void* out, uint32_t frames)
{
    if (!m_offline || !out)
        return false;
    std::lock_guard<std::mutex> guard(m_mixLock);
    MixLocked(static_cast<uint8_t*>(out), frames);
    return true;
}

void CSoundDevice::MixLocked(uint8_t* out, uint32_t frames)
{
    if (m_accumulator.size() < frames * 2u)
        m_accumulator.resize(frames * 2u);
    std::fill(m_accumulator.begin(), m_accumulator.begin() + frames * 2u, 0.0);
    for (const std::unique_ptr<CSoundBuffer>& buffer : m_buffers)
    {
        if (buffer->m_playing && !(buffer->m_flags & SOUNDBUFFER_PRIMARY))
            MixBuffer(*buffer, frames);
    }

    double master = GetSoundGain(m_primaryVolume);
    const SSoundFormat& format = m_outputFormat;
    for (uint32_t i = 0; i < frames; ++i)
    {
        double left = m_accumulator[i * 2] * master;
        double right = m_accumulator[i * 2 + 1] * master;
        double values[2] = {left, right};
        if (format.channels == 1)
            values[0] = (left + right) / 2.0;
        for (uint32_t c = 0; c < format.channels; ++c)
        {
            if (format.bits == 8)
            {
                long v = std::lround(values[c] / 256.0) + 128;
                *out++ = static_cast<uint8_t>(std::clamp(v, 0L, 255L));
            }
            else
            {
                long v = std::clamp(std::lround(values[c]), -32768L, 32767L);
                uint16_t bits = static_cast<uint16_t>(static_cast<int16_t>(v));
                *out++ = static_cast<uint8_t>(bits & 0xFF);
                *out++ = static_cast<uint8_t>(bits >> 8);
            }
        }
    }
}

void CSoundDevice::MixBuffer(CSoundBuffer& buffer, uint32_t frames)
{
    const uint32_t count = buffer.m_frames;
    if (count == 0)
    {
        buffer.m_playing = false;
        return;
    }
    // Pan attenuates only the far side, by as many hundredths of a decibel.
    double gain = GetSoundGain(buffer.m_volume);
    double leftGain = buffer.m_pan > 0 ? gain * GetSoundGain(-buffer.m_pan) : gain;
    double rightGain = buffer.m_pan < 0 ? gain * GetSoundGain(buffer.m_pan) : gain;
    const uint64_t step = (static_cast<uint64_t>(buffer.m_frequency) << 32) / m_outputFormat.rate;
    const uint64_t end = static_cast<uint64_t>(count) << 32;
    const uint8_t* data = buffer.m_data->data();
    const SSoundFormat& format = buffer.m_format;

    uint64_t position = buffer.m_position;
    for (uint32_t i = 0; i < frames; ++i)
    {
        if (position >= end)
        {
            if (!buffer.m_looping)
            {
                buffer.m_playing = false;
                position = 0;
                break;
            }
            position %= end;
        }
        uint32_t frame = static_cast<uint32_t>(position >> 32);
        uint32_t frac = static_cast<uint32_t>(position);
        uint32_t next = frame + 1 < count ? frame + 1 : (buffer.m_looping ? 0 : frame);
        int32_t left = Interpolate(ReadSample(data, frame, 0, format), ReadSample(data, next, 0, format), frac);
        int32_t right = left;
        if (format.channels == 2)
            right = Interpolate(ReadSample(data, frame, 1, format), ReadSample(data, next, 1, format), frac);
        m_accumulator[i * 2] += left * leftGain;
        m_accumulator[i * 2 + 1] += right * rightGain;
        position += step;
    }
    // A one-shot buffer that just played its last frame stops now, not a mix later.
    if (position >= end)
    {
        if (buffer.m_looping)
        {
            position %= end;
        }
        else
        {
            buffer.m_playing = false;
            position = 0;
        }
    }
    buffer.m_position = position;
}
