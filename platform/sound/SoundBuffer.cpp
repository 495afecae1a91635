#include "platform/sound/SoundBuffer.h"

#include "platform/sound/SoundDevice.h"

#include <algorithm>
#include <cstring>

bool SSoundFormat::IsValid() const
{
    return (channels == 1 || channels == 2) && (bits == 8 || bits == 16) && rate >= SOUND_FREQUENCY_MIN &&
           rate <= SOUND_FREQUENCY_MAX;
}

CSoundBuffer::CSoundBuffer(CSoundDevice& device, const SSoundBufferDesc& desc,
                           std::shared_ptr<std::vector<uint8_t>> data)
    : m_device(device), m_flags(desc.flags), m_format(desc.format),
      m_bytes(data ? static_cast<uint32_t>(data->size()) : 0), m_frames(m_bytes / desc.format.GetBlockAlign()),
      m_data(std::move(data)), m_frequency(desc.format.rate)
{
    if (!(m_flags & SOUNDBUFFER_PRIMARY))
        m_staging.resize(m_bytes);
}

bool CSoundBuffer::Play(bool loop)
{
    std::lock_guard<std::mutex> guard(m_device.m_mixLock);
    if (m_flags & SOUNDBUFFER_PRIMARY)
        return true; // the output always runs
    m_playing = true;
    m_looping = loop;
    return true;
}

bool CSoundBuffer::Stop()
{
    std::lock_guard<std::mutex> guard(m_device.m_mixLock);
    m_playing = false;
    return true;
}

bool CSoundBuffer::IsPlaying() const
{
    std::lock_guard<std::mutex> guard(m_device.m_mixLock);
    return m_playing;
}

bool CSoundBuffer::SetCurrentPosition(uint32_t byteOffset)
{
    std::lock_guard<std::mutex> guard(m_device.m_mixLock);
    if ((m_flags & SOUNDBUFFER_PRIMARY) || byteOffset >= m_bytes)
        return false;
    m_position = static_cast<uint64_t>(byteOffset / m_format.GetBlockAlign()) << 32;
    return true;
}

bool CSoundBuffer::GetCurrentPosition(uint32_t* play, uint32_t* write) const
{
    std::lock_guard<std::mutex> guard(m_device.m_mixLock);
    if (m_flags & SOUNDBUFFER_PRIMARY)
        return false;
    // The mixer reads a buffer only while it mixes, so writing is safe right at the
    // play cursor between mixes.
    uint32_t offset = static_cast<uint32_t>(m_position >> 32) * m_format.GetBlockAlign();
    if (play)
        *play = offset;
    if (write)
        *write = offset;
    return true;
}

bool CSoundBuffer::SetVolume(int32_t volume)
{
    if (!(m_flags & SOUNDBUFFER_CTRL_VOLUME) || volume < SOUND_VOLUME_SILENT || volume > SOUND_VOLUME_FULL)
        return false;
    std::lock_guard<std::mutex> guard(m_device.m_mixLock);
    if (m_flags & SOUNDBUFFER_PRIMARY)
        m_device.m_primaryVolume = volume;
    else
        m_volume = volume;
    return true;
}

bool CSoundBuffer::GetVolume(int32_t* volume) const
{
    if (!(m_flags & SOUNDBUFFER_CTRL_VOLUME) || !volume)
        return false;
    std::lock_guard<std::mutex> guard(m_device.m_mixLock);
    *volume = (m_flags & SOUNDBUFFER_PRIMARY) ? m_device.m_primaryVolume : m_volume;
    return true;
}

bool CSoundBuffer::SetPan(int32_t pan)
{
    if (!(m_flags & SOUNDBUFFER_CTRL_PAN) || pan < SOUND_PAN_LEFT || pan > SOUND_PAN_RIGHT)
        return false;
    std::lock_guard<std::mutex> guard(m_device.m_mixLock);
    m_pan = pan;
    return true;
}

bool CSoundBuffer::GetPan(int32_t* pan) const
{
    if (!(m_flags & SOUNDBUFFER_CTRL_PAN) || !pan)
        return false;
    std::lock_guard<std::mutex> guard(m_device.m_mixLock);
    *pan = m_pan;
    return true;
}

bool CSoundBuffer::SetFrequency(uint32_t hz)
{
    if (!(m_flags & SOUNDBUFFER_CTRL_FREQUENCY) || (m_flags & SOUNDBUFFER_PRIMARY))
        return false;
    if (hz == 0)
        hz = m_format.rate;
    if (hz < SOUND_FREQUENCY_MIN || hz > SOUND_FREQUENCY_MAX)
        return false;
    std::lock_guard<std::mutex> guard(m_device.m_mixLock);
    m_frequency = hz;
    return true;
}

bool CSoundBuffer::GetFrequency(uint32_t* hz) const
{
    if (!hz || (m_flags & SOUNDBUFFER_PRIMARY))
        return false;
    std::lock_guard<std::mutex> guard(m_device.m_mixLock);
    *hz = m_frequency;
    return true;
}

bool CSoundBuffer::Lock(uint32_t offset, uint32_t bytes, SSoundLock& regions)
{
    std::lock_guard<std::mutex> guard(m_device.m_mixLock);
    if ((m_flags & SOUNDBUFFER_PRIMARY) || m_locked || bytes == 0 || offset >= m_bytes || bytes > m_bytes)
        return false;
    uint32_t first = std::min(bytes, m_bytes - offset);
    // The caller may read what is there and change only part of it.
    std::memcpy(m_staging.data(), m_data->data() + offset, first);
    std::memcpy(m_staging.data() + first, m_data->data(), bytes - first);
    regions.first = m_staging.data();
    regions.firstBytes = first;
    regions.second = bytes > first ? m_staging.data() + first : nullptr;
    regions.secondBytes = bytes - first;
    m_locked = true;
    m_lockOffset = offset;
    m_lockBytes = bytes;
    return true;
}

bool CSoundBuffer::Unlock(const SSoundLock& regions)
{
    std::lock_guard<std::mutex> guard(m_device.m_mixLock);
    if (!m_locked || regions.first != m_staging.data() || regions.firstBytes + regions.secondBytes != m_lockBytes)
        return false;
    std::memcpy(m_data->data() + m_lockOffset, m_staging.data(), regions.firstBytes);
    std::memcpy(m_data->data(), m_staging.data() + regions.firstBytes, regions.secondBytes);
    m_locked = false;
    return true;
}

bool CSoundBuffer::SetFormat(const SSoundFormat& format)
{
    if (!(m_flags & SOUNDBUFFER_PRIMARY) || !format.IsValid() || !m_device.HasPriority())
        return false;
    if (!m_device.ReopenOutput(format))
        return false;
    m_format = format;
    return true;
}
