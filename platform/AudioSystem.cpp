#include "platform/AudioSystem.h"

#include "core/Console.h"
#include "core/DataTree.h"
#include "platform/AudioStream.h"
#include "platform/Renderer.h"
#include "platform/sound/SoundDevice.h"
#include "platform/sound/SoundOutput.h"

#include <algorithm>
#include <cmath>
#include <new>

CAudioSystem* g_audio = nullptr;

namespace
{
const uint32_t OUTPUT_RATES[] = {44100, 22050, 11025};

std::unique_ptr<CSoundDevice> OpenMachineDevice()
{
    return CSoundDevice::Create(ESoundOutput::Device);
}

void RestartCommand(void*, const char*)
{
    if (g_audio)
        g_audio->Restart();
}

void Print(const char* text)
{
    if (g_console)
        g_console->Printf("%s", text);
}

int ClampLevel(int level)
{
    return std::clamp(level, 0, CAudioSystem::LEVEL_MAX);
}
} // namespace

CAudioSystem::CAudioSystem(DeviceFactory factory) : m_factory(factory ? factory : &OpenMachineDevice)
{
    // The variables point into this object: they go with it.
    if (g_console)
    {
        m_consoleEntries.AddVariable(g_console, "a_force8bitSamples", &m_force8Bit, CONSOLE_VAR_BOOL);
        m_consoleEntries.AddVariable(g_console, "a_outputFrequencyId", &m_outputFrequencyId, CONSOLE_VAR_INT);
        m_consoleEntries.AddVariable(g_console, "a_maxSimultaneousSamples", &m_channelCount, CONSOLE_VAR_INT);
        m_consoleEntries.AddVariable(g_console, "a_disableAudio", &m_disabled, CONSOLE_VAR_BOOL);
        m_consoleEntries.AddFunction(g_console, "/audiorestart", &RestartCommand, nullptr);
    }
}

CAudioSystem::~CAudioSystem()
{
    m_consoleEntries.RemoveAll();
    Shutdown();
    while (SRestartCallback* callback = m_restartCallbacks.PopFront())
        delete callback;
}

int32_t CAudioSystem::ComputeAttenuation(double gain, double volume)
{
    if (gain < 0.000001)
        return -10000;
    // Never louder than full scale, never below silence: the buffer would refuse it.
    double value = (0.3 * gain * volume + 0.7) * 10000.0 - 10000.0;
    return static_cast<int32_t>(std::clamp(value, -10000.0, 0.0));
}

int32_t CAudioSystem::ComputePan(float pan)
{
    double value = static_cast<double>(pan) * 3000.0 + 0.7;
    return static_cast<int32_t>(std::clamp(value, -10000.0, 10000.0));
}

void CAudioSystem::SetDefaultSettings()
{
    m_disabled = false;
    m_force8Bit = false;
    m_outputFrequencyId = 0;
    m_channelCount = 32;
    m_fxLevel = 6;
    m_musicLevel = 6;
    m_voiceLevel = 6;
}

void CAudioSystem::ReadSettings(const CDataTree& tree)
{
    bool disabled = false;
    m_disabled = tree.GetBool("a_disableAudio", disabled) && disabled;
    m_force8Bit = false;
    auto readInt = [&tree](const char* name, int32_t low, int32_t high, int32_t fallback) {
        int32_t value = 0;
        if (!tree.GetInt(name, value) || value < low || value > high)
            return fallback;
        return value;
    };
    m_outputFrequencyId = readInt("a_outputFrequencyId", 0, 2, 0);
    m_channelCount = readInt("a_maxSimultaneousSamples", 4, 64, 32);
    m_fxLevel = readInt("a_masterfxvolume", 0, LEVEL_MAX, 6);
    m_musicLevel = readInt("a_mastermusicvolume", 0, LEVEL_MAX, 6);
    m_voiceLevel = readInt("a_mastervoicevolume", 0, LEVEL_MAX, 6);
}

void CAudioSystem::WriteSettings(CDataTree& tree) const
{
    tree.SetBool("a_disableAudio", m_disabled);
    tree.SetBool("a_force8bitSamples", m_force8Bit);
    tree.SetInt("a_outputFrequencyId", m_outputFrequencyId);
    tree.SetInt("a_maxSimultaneousSamples", m_channelCount);
    tree.SetInt("a_masterfxvolume", m_fxLevel);
    tree.SetInt("a_mastermusicvolume", m_musicLevel);
    tree.SetInt("a_mastervoicevolume", m_voiceLevel);
}

bool CAudioSystem::Init()
{
    bool ok = true;
    if (!m_disabled && !m_initialised)
    {
        m_device = m_factory();
        if (!m_device)
        {
            Print("Audio: no sound output could be opened, the game runs silent");
            ok = false;
        }
        else
        {
            if (g_console && !m_device->IsOffline())
            {
                const char* driver = GetSdlSoundDriverName();
                g_console->Printf("Audio: sound plays through SDL's %s driver", driver ? driver : "unnamed");
            }
            LogCaps();
            SSoundCaps caps;
            m_device->GetCaps(caps);
            if ((caps.flags & SOUNDCAPS_PRIMARY_16BIT) && !m_force8Bit)
                m_eightBitSamples = false;
            else
                m_eightBitSamples = (caps.flags & SOUNDCAPS_SECONDARY_8BIT) != 0;
            m_stereoOutput = (caps.flags & SOUNDCAPS_PRIMARY_STEREO) != 0;

            m_samples.assign(SAMPLE_SLOTS, SSampleSlot());
            // The count may have been changed on the console since the settings were read.
            m_channels.assign(static_cast<size_t>(std::clamp(m_channelCount, 1, 64)), SAudioChannel());

            void* window = nullptr;
            if (g_renderer)
                g_renderer->GetWindowHandle(&window);
            bool priority = m_device->SetCooperativeLevel(window, ESoundCooperation::Priority);
            SSoundBufferDesc primary;
            primary.flags = SOUNDBUFFER_PRIMARY | SOUNDBUFFER_CTRL_VOLUME;
            m_primary = m_device->CreateBuffer(primary);
            if (!m_primary)
            {
                ok = false;
            }
            else if (priority)
            {
                SSoundFormat format;
                format.channels = 2;
                format.rate = OUTPUT_RATES[std::clamp(m_outputFrequencyId, 0, 2)];
                format.bits = m_eightBitSamples ? 8 : 16;
                if (!m_primary->SetFormat(format))
                    Print("Audio: the output format could not be set");
            }
            if (ok)
            {
                m_music = CreateStream(MUSIC_RATE, "music", "music");
                m_voice = CreateStream(VOICE_RATE, "voice", "spoken dialogue");
                m_initialised = true;
            }
        }
    }
    Print("---------------------------------------------------------------------------");
    if (!ok)
        Shutdown();
    return ok;
}

std::unique_ptr<CAudioStream> CAudioSystem::CreateStream(uint32_t rate, const char* what, const char* disabledWhat)
{
    std::unique_ptr<CAudioStream> stream(new (std::nothrow) CAudioStream);
    if (!stream)
    {
        if (g_console)
            g_console->Printf("Failed to create %s streaming object, %s will be disabled", what, disabledWhat);
        return nullptr;
    }
    if (!stream->CreateBuffer(*m_device, rate, m_eightBitSamples))
    {
        if (g_console)
            g_console->Printf("Failed to create %s streaming buffer, %s will be disabled", what, disabledWhat);
        return nullptr;
    }
    if (!stream->StartThread())
        return nullptr;
    return stream;
}

void CAudioSystem::LogCaps() const
{
    SSoundCaps caps;
    m_device->GetCaps(caps);
    Print("Caps:");
    Print("    Flags:");
    const std::pair<uint32_t, const char*> flags[] = {
        {SOUNDCAPS_CERTIFIED, "        Certified driver"},
        {SOUNDCAPS_EMULATED, "        Emulated driver"},
        {SOUNDCAPS_CONTINUOUS_RATE, "        Continuous Rate"},
        {SOUNDCAPS_PRIMARY_16BIT, "        16 bit primary buffer available"},
        {SOUNDCAPS_PRIMARY_8BIT, "        8 bit primary buffer available"},
        {SOUNDCAPS_PRIMARY_MONO, "        Mono primary buffer available"},
        {SOUNDCAPS_PRIMARY_STEREO, "        Stereo primary buffer available"},
        {SOUNDCAPS_SECONDARY_16BIT, "        16 bit secondary buffers available"},
        {SOUNDCAPS_SECONDARY_8BIT, "        8 bit secondary buffers available"},
        {SOUNDCAPS_SECONDARY_MONO, "        Mono secondary buffers available"},
        {SOUNDCAPS_SECONDARY_STEREO, "        Stereo secondary buffers available"},
    };
    for (const auto& flag : flags)
    {
        if (caps.flags & flag.first)
            Print(flag.second);
    }
    Print("");
    if (!g_console)
        return;
    g_console->Printf("    Total audio memory (hw) = %d", static_cast<int>(caps.totalHardwareMemory));
    g_console->Printf("    Available audio memory (hw) = %d", static_cast<int>(caps.freeHardwareMemory));
    g_console->Printf("    Number of hardware mixing buffers = %d", static_cast<int>(caps.hardwareMixingBuffers));
    g_console->Printf("    Approximate CPU overhead = %d", static_cast<int>(caps.cpuOverheadPercent));
}

void CAudioSystem::Shutdown()
{
    // The stream threads end first: nothing may touch a buffer that goes away.
    for (std::unique_ptr<CAudioStream>* stream : {&m_music, &m_voice})
    {
        if (*stream)
        {
            (*stream)->EndThread();
            (*stream)->WaitForThread();
            stream->reset();
        }
    }
    if (m_device)
    {
        for (SAudioChannel& channel : m_channels)
        {
            if (channel.buffer)
            {
                channel.buffer->Stop();
                m_device->ReleaseBuffer(channel.buffer);
            }
        }
        for (SSampleSlot& slot : m_samples)
        {
            if (slot.buffer)
                m_device->ReleaseBuffer(slot.buffer);
        }
        if (m_primary)
            m_device->ReleaseBuffer(m_primary);
    }
    m_primary = nullptr;
    m_channels.clear();
    m_samples.clear();
    m_device.reset();
    m_inPlaySample = false;
    m_initialised = false;
}

bool CAudioSystem::Restart()
{
    Shutdown();
    if (!Init())
        return false;
    m_restartCallbacks.ForEach([](SRestartCallback* callback) { callback->function(callback->userValue); });
    ApplyVolumes();
    return true;
}

bool CAudioSystem::ApplyOutputSettings(bool disabled, int32_t frequencyId)
{
    m_disabled = disabled;
    m_outputFrequencyId = std::clamp(frequencyId, 0, 2);
    return Restart();
}

bool CAudioSystem::RegisterRestartCallback(AudioRestartCallback callback, void* userValue)
{
    if (!callback)
        return false;
    SRestartCallback* entry = new (std::nothrow) SRestartCallback{callback, userValue};
    if (!entry)
        return false;
    if (!m_restartCallbacks.Append(entry))
    {
        delete entry;
        return false;
    }
    return true;
}

void CAudioSystem::SetFxVolume(int level)
{
    if (m_disabled)
        return;
    m_fxLevel = ClampLevel(level);
    m_fxGain = m_fxLevel * 2.0 / 3.0 / 9.0;
    for (SAudioChannel& channel : m_channels)
    {
        if (channel.buffer && (channel.playing || channel.looping))
            ApplyChannelVolume(channel);
    }
}

void CAudioSystem::SetMusicVolume(int level)
{
    m_musicLevel = ClampLevel(level);
    m_musicGain = m_musicLevel * 2.0 / 3.0 / 9.0;
    ApplyStreamLevel(m_music.get(), m_musicLevel, m_musicGain);
}

void CAudioSystem::SetVoiceVolume(int level)
{
    m_voiceLevel = ClampLevel(level);
    m_voiceGain = m_voiceLevel / 9.0;
    ApplyStreamLevel(m_voice.get(), m_voiceLevel, m_voiceGain);
}

// Level 0 pauses a stream rather than only silencing it; any other level resumes it.
void CAudioSystem::ApplyStreamLevel(CAudioStream* stream, int level, double gain)
{
    if (!stream)
        return;
    stream->SetVolume(ComputeAttenuation(gain, 1.0));
    if (level == 0)
        stream->RequestPause();
    else
        stream->RequestResume();
}

void CAudioSystem::ApplyVolumes()
{
    SetFxVolume(m_fxLevel);
    SetMusicVolume(m_musicLevel);
    SetVoiceVolume(m_voiceLevel);
    for (SAudioChannel& channel : m_channels)
    {
        if (channel.buffer)
            ApplyChannelVolume(channel);
    }
}

void CAudioSystem::ApplyChannelVolume(SAudioChannel& channel)
{
    channel.buffer->SetVolume(ComputeAttenuation(m_fxGain, channel.volume));
}

bool CAudioSystem::PlayMusic(const char* fileName)
{
    return m_disabled || !m_music || m_music->PlayStream(fileName);
}

bool CAudioSystem::IsMusicFinished() const
{
    return m_disabled || !m_music || m_music->IsFinished();
}

void CAudioSystem::StopMusic()
{
    if (!m_disabled && m_music)
        m_music->StopNow();
}

void CAudioSystem::EndMusicThread()
{
    if (!m_disabled && m_music)
        m_music->EndThread();
}

bool CAudioSystem::WaitForMusicThread()
{
    return m_disabled || !m_music || m_music->WaitForThread();
}

bool CAudioSystem::PlayVoice(const char* fileName)
{
    return m_disabled || !m_voice || m_voice->PlayStream(fileName);
}

void CAudioSystem::StopVoice()
{
    if (!m_disabled && m_voice)
        m_voice->RequestStop();
}

void CAudioSystem::StopVoiceNow()
{
    if (!m_disabled && m_voice)
        m_voice->StopNow();
}

void CAudioSystem::EndVoiceThread()
{
    if (!m_disabled && m_voice)
        m_voice->EndThread();
}

bool CAudioSystem::WaitForVoiceThread()
{
    return m_disabled || !m_voice || m_voice->WaitForThread();
}
