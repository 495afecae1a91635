#pragma once
// One buffer of our software mixer: PCM data with its own play position, frequency,
// volume in hundredths of a decibel (-10000 silent .. 0 full) and pan (-10000 left ..
// 10000 right). Duplicates share the data and keep their own position and controls.
// Every operation reports failure as false.

#include <cstdint>
#include <memory>
#include <vector>

class CSoundDevice;

enum ESoundBufferFlag : uint32_t
{
    SOUNDBUFFER_PRIMARY = 0x0001,            // the output itself: format and volume only
    SOUNDBUFFER_STATIC = 0x0002,             // a whole sample, filled once
    SOUNDBUFFER_CTRL_FREQUENCY = 0x0004,
    SOUNDBUFFER_CTRL_PAN = 0x0008,
    SOUNDBUFFER_CTRL_VOLUME = 0x0010,
    SOUNDBUFFER_CTRL_POSITION_NOTIFY = 0x0020,
    SOUNDBUFFER_ACCURATE_POSITION = 0x0040,
};

constexpr int32_t SOUND_VOLUME_SILENT = -10000;
constexpr int32_t SOUND_VOLUME_FULL = 0;
constexpr int32_t SOUND_PAN_LEFT = -10000;
constexpr int32_t SOUND_PAN_RIGHT = 10000;
constexpr uint32_t SOUND_FREQUENCY_MIN = 100;
constexpr uint32_t SOUND_FREQUENCY_MAX = 200000;

// Interleaved PCM: 8-bit samples are unsigned (silence 128), 16-bit ones signed.
struct SSoundFormat
{
    uint16_t channels = 2;
    uint32_t rate = 22050;
    uint16_t bits = 16;

    uint32_t GetBlockAlign() const { return channels * (bits / 8u); }
    bool IsValid() const;
};

struct SSoundBufferDesc
{
    uint32_t flags = 0;
    uint32_t bytes = 0; // ignored for the primary buffer
    SSoundFormat format;
};

// The regions a lock hands out: the second is used when the range wraps past the end.
struct SSoundLock
{
    uint8_t* first = nullptr;
    uint32_t firstBytes = 0;
    uint8_t* second = nullptr;
    uint32_t secondBytes = 0;
};

class CSoundBuffer
{
public:
    CSoundBuffer(const CSoundBuffer&) = delete;
    CSoundBuffer& operator=(const CSoundBuffer&) = delete;

    bool Play(bool loop);
    bool Stop();
    bool IsPlaying() const;
    bool SetCurrentPosition(uint32_t byteOffset);
    // Play cursor in bytes; the write cursor is where writing is safe again.
    bool GetCurrentPosition(uint32_t* play, uint32_t* write) const;

    bool SetVolume(int32_t volume);
    bool GetVolume(int32_t* volume) const;
    bool SetPan(int32_t pan);
    bool GetPan(int32_t* pan) const;
    // 0 restores the format's own rate.
    bool SetFrequency(uint32_t hz);
    bool GetFrequency(uint32_t* hz) const;

    // Writable regions for [offset, offset + bytes) of the data, wrapping at the end;
    // the data is written back by Unlock. A buffer holds one lock at a time, so the
    // mixer never reads half-written memory.
    bool Lock(uint32_t offset, uint32_t bytes, SSoundLock& regions);
    bool Unlock(const SSoundLock& regions);

    // Primary buffer only: the output's format (the device is reopened with it).
    bool SetFormat(const SSoundFormat& format);

    const SSoundFormat& GetFormat() const { return m_format; }
    uint32_t GetSize() const { return m_bytes; }
    uint32_t GetFlags() const { return m_flags; }

private:
    friend class CSoundDevice;
    CSoundBuffer(CSoundDevice& device, const SSoundBufferDesc& desc, std::shared_ptr<std::vector<uint8_t>> data);

    CSoundDevice& m_device;
    const uint32_t m_flags;
    SSoundFormat m_format;
    uint32_t m_bytes;
    uint32_t m_frames;
    std::shared_ptr<std::vector<uint8_t>> m_data; // shared with duplicates

    // Guarded by the device's mixer lock.
    uint64_t m_position = 0; // frames, 32.32 fixed point
    uint32_t m_frequency;
    int32_t m_volume = SOUND_VOLUME_FULL;
    int32_t m_pan = 0;
    bool m_playing = false;
    bool m_looping = false;

    // Owned by whoever holds the lock (one caller at a time).
    std::vector<uint8_t> m_staging;
    bool m_locked = false;
    uint32_t m_lockOffset = 0;
    uint32_t m_lockBytes = 0;
};
