#pragma once
// Where the mixer's output goes when it is not offline: an audio device that pulls
// mixed frames from its own thread.

#include "platform/sound/SoundBuffer.h"

#include <cstdint>
#include <memory>

class CSoundDevice;

class CSoundOutput
{
public:
    virtual ~CSoundOutput() = default;
    // Opens (or reopens) the device with a stereo format; false when it cannot play.
    virtual bool Open(const SSoundFormat& format) = 0;
    // Stops pulling frames; returns only when no mix is running.
    virtual void Close() = 0;

protected:
    // Mixes frames of the device's output format under its mixer lock.
    static void Pull(CSoundDevice& device, uint8_t* out, uint32_t frames);
};

// The machine's default audio device through SDL; null when SDL has no audio driver.
std::unique_ptr<CSoundOutput> CreateSdlSoundOutput(CSoundDevice& device);
// The name of SDL's audio driver in use ("pulseaudio", "alsa", ...), or null.
const char* GetSdlSoundDriverName();
