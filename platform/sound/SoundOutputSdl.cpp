#include "platform/sound/SoundOutput.h"

#include "platform/sound/AlsaMessages.h"
#include "platform/sound/SoundDevice.h"

#include <SDL.h>

namespace
{
class CSdlSoundOutput final : public CSoundOutput
{
public:
    explicit CSdlSoundOutput(CSoundDevice& device) : m_device(device) {}

    ~CSdlSoundOutput() override
    {
        Close();
        if (m_started)
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    bool Start()
    {
        RouteAlsaMessagesToDebugOutput();
        m_started = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
        return m_started;
    }

    bool Open(const SSoundFormat& format) override
    {
        Close();
        SDL_AudioSpec want;
        SDL_zero(want);
        want.freq = static_cast<int>(format.rate);
        want.format = format.bits == 8 ? AUDIO_U8 : AUDIO_S16LSB;
        want.channels = static_cast<Uint8>(format.channels);
        // Small blocks keep the play cursor of streaming buffers moving smoothly.
        want.samples = 512;
        want.callback = &CSdlSoundOutput::Callback;
        want.userdata = this;
        SDL_AudioSpec have;
        // No changes allowed: SDL converts to what the hardware takes.
        m_id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (m_id == 0)
            return false;
        m_blockAlign = format.GetBlockAlign();
        SDL_PauseAudioDevice(m_id, 0);
        return true;
    }

    void Close() override
    {
        if (m_id != 0)
        {
            SDL_CloseAudioDevice(m_id);
            m_id = 0;
        }
    }

private:
    static void SDLCALL Callback(void* user, Uint8* stream, int length)
    {
        auto* self = static_cast<CSdlSoundOutput*>(user);
        Pull(self->m_device, stream, static_cast<uint32_t>(length) / self->m_blockAlign);
    }

    CSoundDevice& m_device;
    SDL_AudioDeviceID m_id = 0;
    uint32_t m_blockAlign = 4;
    bool m_started = false;
};
} // namespace

std::unique_ptr<CSoundOutput> CreateSdlSoundOutput(CSoundDevice& device)
{
    std::unique_ptr<CSdlSoundOutput> output(new CSdlSoundOutput(device));
    if (!output->Start())
        return nullptr;
    return output;
}

const char* GetSdlSoundDriverName()
{
    return SDL_GetCurrentAudioDriver();
}
