#pragma once
// Our software mixer: creates buffers, duplicates them and mixes every playing one
// into a stereo output. The output is either the machine's audio device (played by
// SDL on its own thread) or offline, where the caller mixes into memory itself, which
// gives exact, repeatable results for tests.

#include "platform/sound/SoundBuffer.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

enum class ESoundOutput
{
    Device,  // the default audio device
    Offline, // nothing plays; MixOffline produces the output
};

enum ESoundCapsFlag : uint32_t
{
    SOUNDCAPS_CERTIFIED = 0x0001,
    SOUNDCAPS_EMULATED = 0x0002,
    SOUNDCAPS_CONTINUOUS_RATE = 0x0004,
    SOUNDCAPS_PRIMARY_16BIT = 0x0008,
    SOUNDCAPS_PRIMARY_8BIT = 0x0010,
    SOUNDCAPS_PRIMARY_MONO = 0x0020,
    SOUNDCAPS_PRIMARY_STEREO = 0x0040,
    SOUNDCAPS_SECONDARY_16BIT = 0x0080,
    SOUNDCAPS_SECONDARY_8BIT = 0x0100,
    SOUNDCAPS_SECONDARY_MONO = 0x0200,
    SOUNDCAPS_SECONDARY_STEREO = 0x0400,
};

struct SSoundCaps
{
    uint32_t flags = 0;
    uint32_t totalHardwareMemory = 0;
    uint32_t freeHardwareMemory = 0;
    uint32_t hardwareMixingBuffers = 0;
    uint32_t cpuOverheadPercent = 0;
};

enum class ESoundCooperation
{
    Normal,
    Priority, // may set the output format
};

class CSoundOutput;

class CSoundDevice
{
public:
    // Null when no output can be opened (no audio driver, no device).
    static std::unique_ptr<CSoundDevice> Create(ESoundOutput output);
    ~CSoundDevice();
    CSoundDevice(const CSoundDevice&) = delete;
    CSoundDevice& operator=(const CSoundDevice&) = delete;

    bool GetCaps(SSoundCaps& caps) const;
    // What the device reports from now on (tests use it to imitate other hardware).
    void OverrideCaps(const SSoundCaps& caps);
    bool SetCooperativeLevel(void* window, ESoundCooperation level);
    bool HasPriority() const { return m_cooperation == ESoundCooperation::Priority; }

    // The buffers stay owned by the device until ReleaseBuffer (or the device's end).
    CSoundBuffer* CreateBuffer(const SSoundBufferDesc& desc);
    CSoundBuffer* DuplicateBuffer(const CSoundBuffer* original);
    void ReleaseBuffer(CSoundBuffer* buffer);
    size_t GetBufferCount() const;

    SSoundFormat GetOutputFormat() const;
    bool IsOffline() const { return m_offline; }

    // Offline output only: mixes the next frames into out (frames * block align bytes).
    bool MixOffline(void* out, uint32_t frames);

private:
    friend class CSoundBuffer;
    friend class CSoundOutput;
    explicit CSoundDevice(bool offline);

    // Takes ownership; null when out of memory.
    CSoundBuffer* AddBuffer(CSoundBuffer* buffer);
    bool ReopenOutput(const SSoundFormat& format);
    // Called with the mixer lock held.
    void MixLocked(uint8_t* out, uint32_t frames);
    void MixBuffer(CSoundBuffer& buffer, uint32_t frames);

    const bool m_offline;
    mutable std::mutex m_mixLock; // guards every buffer's mixing state and the list
    std::vector<std::unique_ptr<CSoundBuffer>> m_buffers;
    std::vector<double> m_accumulator; // left, right per frame
    SSoundFormat m_outputFormat;
    int32_t m_primaryVolume = SOUND_VOLUME_FULL;
    SSoundCaps m_caps;
    ESoundCooperation m_cooperation = ESoundCooperation::Normal;
    std::unique_ptr<CSoundOutput> m_output;
};

// The gain of a volume in hundredths of a decibel: -10000 is true silence.
double GetSoundGain(int32_t volume);
