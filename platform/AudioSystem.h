#pragma once
// The process's sound: WAV samples by name in 80 reference-counted slots, played on
// a fixed number of channels chosen by priority; the music and voice streams; three
// levels (effects, music, voice) of 0 to 9. With "a_disableAudio" set, or when no
// output could be opened, the game runs silent and every operation still answers.

#include "core/ConsoleRegistrations.h"
#include "core/LinkedList.h"
#include "core/WString.h"

#include <cstdint>
#include <memory>
#include <vector>

class CAudioStream;
class CDataTree;
class CSoundBuffer;
class CSoundDevice;

// Runs when a channel's sound ends or is taken over: user value, channel index.
using AudioEndCallback = void (*)(void* userValue, int channel);
// Runs after a restart, when every sample has to be loaded again.
using AudioRestartCallback = void (*)(void* userValue);

struct SSampleSlot
{
    CWString name;
    CSoundBuffer* buffer = nullptr; // the whole sample; channels play duplicates
    uint32_t rate = 0;
    int refCount = 0;
};

struct SAudioChannel
{
    CSoundBuffer* buffer = nullptr; // null: free
    uint32_t frequency = 0;
    float volume = 1.0f;
    float pan = 0.0f;
    int priority = 0; // kept when the channel is freed
    AudioEndCallback callback = nullptr;
    void* userValue = nullptr;
    bool playing = false; // started and not paused
    bool looping = false;
    bool stopped = false; // by StopChannel; freed at the next update
};

class CAudioSystem
{
public:
    static constexpr int SAMPLE_SLOTS = 80;
    static constexpr int LEVEL_MAX = 9;
    static constexpr uint32_t STREAM_BUFFER_BYTES = 8192;
    static constexpr uint32_t MUSIC_RATE = 22050;
    static constexpr uint32_t VOICE_RATE = 44100;

    // Where Init gets its output; the default opens the machine's audio device.
    using DeviceFactory = std::unique_ptr<CSoundDevice> (*)();

    explicit CAudioSystem(DeviceFactory factory = nullptr);
    ~CAudioSystem();
    CAudioSystem(const CAudioSystem&) = delete;
    CAudioSystem& operator=(const CAudioSystem&) = delete;

    bool Init();
    void Shutdown();
    bool Restart();
    // Every frame: ends the channels whose sound is over.
    void Update();
    // Every frame and on window activation.
    void ApplyVolumes();

    bool LoadSample(const char* fileName, int& index);
    void ReleaseSample(int index);

    // frequency 0 plays at the sample's own rate; volume 0..1, pan -1..1. The
    // channel index (or -1) is always written.
    bool PlaySample(int sample, int priority, uint32_t frequency, float volume, float pan, bool startPaused,
                    bool loop, AudioEndCallback callback, void* userValue, int& channel);
    bool StartChannel(int channel);
    bool StopChannel(int channel);
    void StopAllChannels();
    bool SetChannelVolume(int channel, float volume);
    float GetChannelVolume(int channel) const;
    bool SetChannelPan(int channel, float pan);
    bool SetChannelCallback(int channel, AudioEndCallback callback, void* userValue);
    // A playing channel keeps its place: without looping it ends at the end of this pass.
    bool SetChannelLoop(int channel, bool loop);

    void SetFxVolume(int level);
    int GetFxVolume() const { return m_fxLevel; }
    void SetMusicVolume(int level);
    int GetMusicVolume() const { return m_musicLevel; }
    void SetVoiceVolume(int level);
    int GetVoiceVolume() const { return m_voiceLevel; }

    bool PlayMusic(const char* fileName);
    bool IsMusicFinished() const;
    // Silences the music at once and forgets its file.
    void StopMusic();
    void EndMusicThread();
    bool WaitForMusicThread();
    bool PlayVoice(const char* fileName);
    void StopVoice();
    void StopVoiceNow();
    void EndVoiceThread();
    bool WaitForVoiceThread();

    bool RegisterRestartCallback(AudioRestartCallback callback, void* userValue);

    void ReadSettings(const CDataTree& tree);
    void WriteSettings(CDataTree& tree) const;
    void SetDefaultSettings();
    // Sound switched off or on, at an output frequency id (0 to 2): the system
    // restarts with them, releasing its channels and samples; the owners of samples
    // load them again through their restart callbacks. False when the restart failed.
    bool ApplyOutputSettings(bool disabled, int32_t frequencyId);
    int32_t GetOutputFrequencyId() const { return m_outputFrequencyId; }

    // A buffer's attenuation in hundredths of a decibel for a gain and a volume.
    static int32_t ComputeAttenuation(double gain, double volume);
    // A buffer's pan for a pan of -1..1.
    static int32_t ComputePan(float pan);

    bool IsInitialised() const { return m_initialised; }
    bool IsDisabled() const { return m_disabled; }
    bool UsesEightBitSamples() const { return m_eightBitSamples; }
    bool HasStereoOutput() const { return m_stereoOutput; }
    int GetChannelCount() const { return static_cast<int>(m_channels.size()); }
    const SAudioChannel* GetChannel(int channel) const;
    const SSampleSlot* GetSampleSlot(int index) const;
    CSoundDevice* GetSoundDevice() const { return m_device.get(); }
    CAudioStream* GetMusicStream() const { return m_music.get(); }
    CAudioStream* GetVoiceStream() const { return m_voice.get(); }

private:
    struct SRestartCallback
    {
        AudioRestartCallback function;
        void* userValue;
    };

    void LogCaps() const;
    std::unique_ptr<CAudioStream> CreateStream(uint32_t rate, const char* what, const char* disabledWhat);
    bool IsChannelIndex(int channel) const { return channel >= 0 && channel < GetChannelCount(); }
    void ApplyChannelVolume(SAudioChannel& channel);
    void ApplyStreamLevel(CAudioStream* stream, int level, double gain);
    bool FillSampleBuffer(SSampleSlot& slot, const char* fileName, const uint8_t* file, uint32_t size);

    DeviceFactory m_factory;
    CConsoleRegistrations m_consoleEntries; // the "a_" variables and "/audiorestart"
    bool m_force8Bit = false;
    bool m_disabled = false;
    int32_t m_outputFrequencyId = 0;
    int32_t m_channelCount = 32;
    std::vector<SSampleSlot> m_samples;
    std::vector<SAudioChannel> m_channels;
    bool m_initialised = false;
    std::unique_ptr<CSoundDevice> m_device;
    CSoundBuffer* m_primary = nullptr;
    bool m_eightBitSamples = false;
    bool m_stereoOutput = false;
    bool m_inPlaySample = false;
    std::unique_ptr<CAudioStream> m_music;
    std::unique_ptr<CAudioStream> m_voice;
    CLinkedList<SRestartCallback> m_restartCallbacks;
    int m_fxLevel = 1;
    int m_musicLevel = 1;
    int m_voiceLevel = 1;
    double m_fxGain = 1.0;
    double m_musicGain = 1.0;
    double m_voiceGain = 1.0;
};

extern CAudioSystem* g_audio;
