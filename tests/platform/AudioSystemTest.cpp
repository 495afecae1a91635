#include "platform/AudioSystem.h"

#include "core/Console.h"
#include "core/DataTree.h"
#include "platform/AudioStream.h"
#include "platform/sound/SoundDevice.h"
#include "platform/sound/WaveFile.h"
#include "tests/platform/OggEncode.h"
#include "tests/support/CurrentDir.h"
#include "tests/support/PackBytes.h"
#include "tests/support/TempDir.h"
#include "tests/support/core/ScopedConsole.h"
#include "utility/source/QelPackArchive.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace
{
SSoundCaps s_caps;

std::unique_ptr<CSoundDevice> MakeOfflineDevice()
{
    std::unique_ptr<CSoundDevice> device = CSoundDevice::Create(ESoundOutput::Offline);
    device->OverrideCaps(s_caps);
    return device;
}

std::unique_ptr<CSoundDevice> MakeNoDevice()
{
    return nullptr;
}

SSoundCaps FullCaps()
{
    std::unique_ptr<CSoundDevice> device = CSoundDevice::Create(ESoundOutput::Offline);
    SSoundCaps caps;
    device->GetCaps(caps);
    return caps;
}

std::string Wave16(uint16_t channels, uint32_t rate, const std::vector<int16_t>& samples)
{
    SSoundFormat format;
    format.channels = channels;
    format.rate = rate;
    format.bits = 16;
    std::vector<uint8_t> file = BuildWave(format, samples.data(), static_cast<uint32_t>(samples.size() * 2));
    return std::string(file.begin(), file.end());
}

struct SEndEvent
{
    void* user;
    int channel;
};
std::vector<SEndEvent> s_ended;

void RecordEnd(void* user, int channel)
{
    s_ended.push_back({user, channel});
}

class AudioSystemTest : public testing::Test
{
protected:
    void SetUp() override
    {
        s_caps = FullCaps();
        s_ended.clear();
        m_cwd = std::make_unique<CCurrentDir>(m_dir.GetPath());
        ASSERT_TRUE(m_dir.WriteFile("sounds/beep.wav", Wave16(1, 22050, std::vector<int16_t>(2205, 1000))));
        ASSERT_TRUE(m_dir.WriteFile("sounds/long.wav", Wave16(1, 22050, std::vector<int16_t>(22050, 1000))));
    }

    void TearDown() override
    {
        m_audio.reset();
        g_audio = nullptr;
    }

    CAudioSystem& Start(CAudioSystem::DeviceFactory factory = &MakeOfflineDevice)
    {
        m_audio = std::make_unique<CAudioSystem>(factory);
        g_audio = m_audio.get();
        m_audio->SetDefaultSettings();
        EXPECT_TRUE(m_audio->Init() || factory != &MakeOfflineDevice);
        return *m_audio;
    }

    int32_t ChannelAttenuation(int channel)
    {
        int32_t volume = 1;
        EXPECT_TRUE(m_audio->GetChannel(channel)->buffer->GetVolume(&volume));
        return volume;
    }

    bool ConsoleHas(const char* text) const { return m_console.Holds(text); }

    CTempDir m_dir;
    std::unique_ptr<CCurrentDir> m_cwd;
    CScopedConsole m_console;
    std::unique_ptr<CAudioSystem> m_audio;
};
} // namespace

TEST(AudioLevels, AttenuationOfEveryLevelAndThePanRule)
{
    const int32_t effects[10] = {-10000, -2777, -2555, -2333, -2111, -1888, -1666, -1444, -1222, -1000};
    const int32_t voice[10] = {-10000, -2666, -2333, -2000, -1666, -1333, -1000, -666, -333, 0};
    for (int level = 0; level <= 9; ++level)
    {
        EXPECT_EQ(CAudioSystem::ComputeAttenuation(level * 2.0 / 3.0 / 9.0, 1.0), effects[level]) << level;
        EXPECT_EQ(CAudioSystem::ComputeAttenuation(level / 9.0, 1.0), voice[level]) << level;
    }
    EXPECT_EQ(CAudioSystem::ComputeAttenuation(1.0, 0.0), -3000); // the volume's own floor
    EXPECT_EQ(CAudioSystem::ComputeAttenuation(2.0, 1.0), 0);     // never above full scale
    EXPECT_EQ(CAudioSystem::ComputePan(-1.0f), -2999);
    EXPECT_EQ(CAudioSystem::ComputePan(1.0f), 3000);
    EXPECT_EQ(CAudioSystem::ComputePan(0.0f), 0);
    EXPECT_EQ(CAudioSystem::ComputePan(0.5f), 1500);
}

TEST_F(AudioSystemTest, LevelsReachChannelsAndStreams)
{
    CAudioSystem& audio = Start();
    int sample = -1;
    ASSERT_TRUE(audio.LoadSample("sounds/long.wav", sample));
    int playing = -1, paused = -1;
    ASSERT_TRUE(audio.PlaySample(sample, 1, 0, 1.0f, 0.0f, false, false, nullptr, nullptr, playing));
    ASSERT_TRUE(audio.PlaySample(sample, 1, 0, 0.5f, 0.0f, true, false, nullptr, nullptr, paused));
    const int32_t effects[10] = {-10000, -2777, -2555, -2333, -2111, -1888, -1666, -1444, -1222, -1000};
    const int32_t voice[10] = {-10000, -2666, -2333, -2000, -1666, -1333, -1000, -666, -333, 0};
    for (int level = 0; level <= 9; ++level)
    {
        audio.SetFxVolume(level);
        audio.SetMusicVolume(level);
        audio.SetVoiceVolume(level);
        EXPECT_EQ(ChannelAttenuation(playing), effects[level]) << level;
        int32_t music = 1, spoken = 1;
        audio.GetMusicStream()->GetBuffer()->GetVolume(&music);
        audio.GetVoiceStream()->GetBuffer()->GetVolume(&spoken);
        EXPECT_EQ(music, effects[level]) << level;
        EXPECT_EQ(spoken, voice[level]) << level;
    }
    // The level setter leaves a paused channel to ApplyVolumes, which reaches every channel.
    int32_t before = ChannelAttenuation(paused);
    audio.SetFxVolume(0);
    EXPECT_EQ(ChannelAttenuation(paused), before);
    audio.ApplyVolumes();
    EXPECT_EQ(ChannelAttenuation(paused), -10000);
    audio.SetFxVolume(9);
    audio.ApplyVolumes();
    EXPECT_EQ(ChannelAttenuation(paused), CAudioSystem::ComputeAttenuation(9 * 2.0 / 3.0 / 9.0, 0.5));
    // Levels outside 0..9 are clamped, the voice's too.
    audio.SetFxVolume(12);
    EXPECT_EQ(audio.GetFxVolume(), 9);
    audio.SetVoiceVolume(20);
    int32_t spoken = 1;
    audio.GetVoiceStream()->GetBuffer()->GetVolume(&spoken);
    EXPECT_EQ(spoken, 0);
}

TEST_F(AudioSystemTest, SamplesAreSharedByNameWithReferenceCounts)
{
    CAudioSystem& audio = Start();
    int a = -1, b = -1, c = -1, d = -1;
    ASSERT_TRUE(audio.LoadSample("sounds/beep.wav", a));
    ASSERT_TRUE(audio.LoadSample("SOUNDS/BEEP.WAV", b));
    EXPECT_EQ(a, b);
    EXPECT_EQ(audio.GetSampleSlot(a)->refCount, 2);
    ASSERT_TRUE(audio.LoadSample("sounds\\beep.wav", c)); // only letter case is ignored
    EXPECT_NE(c, a);
    audio.ReleaseSample(a);
    EXPECT_EQ(audio.GetSampleSlot(a)->refCount, 1);
    audio.ReleaseSample(a);
    EXPECT_EQ(audio.GetSampleSlot(a)->buffer, nullptr);
    EXPECT_TRUE(audio.GetSampleSlot(a)->name.IsEmpty());
    audio.ReleaseSample(a); // already free
    audio.ReleaseSample(-2);
    audio.ReleaseSample(CAudioSystem::SAMPLE_SLOTS);
    EXPECT_EQ(audio.GetSampleSlot(c)->refCount, 1);
    ASSERT_TRUE(audio.LoadSample("sounds/long.wav", d));
    EXPECT_EQ(d, a); // the first free slot

    EXPECT_FALSE(audio.LoadSample("sounds/missing.wav", d));
    EXPECT_EQ(d, -1);
    ASSERT_TRUE(m_dir.WriteFile("sounds/bad.wav", "RIFF\x04\0\0\0WAVEjunk"));
    EXPECT_FALSE(audio.LoadSample("sounds/bad.wav", d));
    EXPECT_TRUE(ConsoleHas("sounds/bad.wav"));

    // Eighty slots, then no more.
    int loaded = 2;
    for (int i = 0; loaded < CAudioSystem::SAMPLE_SLOTS; ++i, ++loaded)
    {
        std::string name = "sounds/s" + std::to_string(i) + ".wav";
        ASSERT_TRUE(m_dir.WriteFile(name, Wave16(1, 11025, {1, 2})));
        ASSERT_TRUE(audio.LoadSample(name.c_str(), d)) << name;
    }
    ASSERT_TRUE(m_dir.WriteFile("sounds/extra.wav", Wave16(1, 11025, {1, 2})));
    EXPECT_FALSE(audio.LoadSample("sounds/extra.wav", d));
    EXPECT_TRUE(audio.LoadSample("sounds/long.wav", d)); // a loaded one is still found
}

TEST_F(AudioSystemTest, SampleBuffersHoldTheConvertedSamplesOnly)
{
    struct SCase
    {
        const char* name;
        uint32_t removedCaps;
        bool force8Bit;
        uint16_t channels;
        uint16_t bits;
        std::vector<uint8_t> bytes;
    };
    // Stereo 16-bit frames (1000, 3000) and (-500, -1500).
    const SCase cases[] = {
        {"stereo output", 0, false, 2, 16, {0xE8, 0x03, 0xB8, 0x0B, 0x0C, 0xFE, 0x24, 0xFA}},
        {"mono output averages", SOUNDCAPS_PRIMARY_STEREO, false, 1, 16, {0xD0, 0x07, 0x18, 0xFC}},
        {"8-bit output", SOUNDCAPS_PRIMARY_16BIT, false, 2, 8, {131, 139, 126, 122}},
        {"forced 8 bits on mono", SOUNDCAPS_PRIMARY_STEREO, true, 1, 8, {135, 124}},
    };
    for (const SCase& c : cases)
    {
        ASSERT_TRUE(m_dir.WriteFile("stereo.wav", Wave16(2, 22050, {1000, 3000, -500, -1500})));
        s_caps = FullCaps();
        s_caps.flags &= ~c.removedCaps;
        CScopedConsole console; // its variables point into this audio system only
        CAudioSystem audio(&MakeOfflineDevice);
        audio.SetDefaultSettings();
        console->ExecuteLine(c.force8Bit ? "/set a_force8bitSamples true" : "/set a_force8bitSamples false");
        ASSERT_TRUE(audio.Init());
        int sample = -1;
        ASSERT_TRUE(audio.LoadSample("stereo.wav", sample)) << c.name;
        CSoundBuffer* buffer = audio.GetSampleSlot(sample)->buffer;
        EXPECT_EQ(buffer->GetFormat().channels, c.channels) << c.name;
        EXPECT_EQ(buffer->GetFormat().bits, c.bits) << c.name;
        EXPECT_EQ(buffer->GetFormat().rate, 22050u) << c.name;
        ASSERT_EQ(buffer->GetSize(), c.bytes.size()) << c.name;
        SSoundLock lock;
        ASSERT_TRUE(buffer->Lock(0, buffer->GetSize(), lock));
        EXPECT_EQ(std::vector<uint8_t>(lock.first, lock.first + lock.firstBytes), c.bytes) << c.name;
        buffer->Unlock(lock);
        EXPECT_EQ(audio.UsesEightBitSamples(), c.bits == 8) << c.name;
        audio.Shutdown();
    }
}

TEST_F(AudioSystemTest, SamplesLoadFromThePackToo)
{
    SPackRecordBytes record;
    record.name = "sounds/Packed.wav";
    record.data = Wave16(1, 22050, {100, 200, 300});
    ASSERT_TRUE(m_dir.WriteFile("Tessavar.000", MakePackRecord(record)));
    ASSERT_TRUE(InitPackArchive());
    CAudioSystem& audio = Start();
    int sample = -1;
    EXPECT_TRUE(audio.LoadSample("SOUNDS\\packed.wav", sample));
    ASSERT_NE(sample, -1);
    EXPECT_EQ(audio.GetSampleSlot(sample)->buffer->GetSize(), 6u);
    m_audio.reset();
    FreePackArchive();
}

TEST_F(AudioSystemTest, EveryPcmFormatLoadsOnEveryOutput)
{
    struct SOutput
    {
        uint32_t removedCaps;
        uint16_t channels; // for a stereo file
        uint16_t bits;     // for a 16-bit file
    };
    const SOutput outputs[] = {{0, 2, 16}, {SOUNDCAPS_PRIMARY_STEREO, 1, 16}, {SOUNDCAPS_PRIMARY_16BIT, 2, 8}};
    const uint32_t frames = 10;
    for (const SOutput& output : outputs)
    {
        s_caps = FullCaps();
        s_caps.flags &= ~output.removedCaps;
        CScopedConsole console;
        {
            CAudioSystem audio(&MakeOfflineDevice);
            audio.SetDefaultSettings();
            ASSERT_TRUE(audio.Init());
            for (uint16_t channels : {1, 2})
            {
                for (uint16_t bits : {8, 16})
                {
                    SSoundFormat format;
                    format.channels = channels;
                    format.bits = bits;
                    format.rate = 8000u * channels * bits / 8;
                    std::vector<uint8_t> samples(frames * format.GetBlockAlign(), 0x40);
                    std::vector<uint8_t> file = BuildWave(format, samples.data(), static_cast<uint32_t>(samples.size()));
                    std::string name = "f" + std::to_string(channels) + "x" + std::to_string(bits) + ".wav";
                    ASSERT_TRUE(m_dir.WriteFile(name, std::string(file.begin(), file.end())));
                    int sample = -1, channel = -1;
                    ASSERT_TRUE(audio.LoadSample(name.c_str(), sample)) << name;
                    const SSampleSlot* slot = audio.GetSampleSlot(sample);
                    uint16_t wantChannels = channels == 2 ? output.channels : 1;
                    uint16_t wantBits = output.bits == 8 ? 8 : bits;
                    SCOPED_TRACE(testing::Message() << name << " on output " << output.removedCaps);
                    EXPECT_EQ(slot->rate, format.rate);
                    EXPECT_EQ(slot->buffer->GetFormat().channels, wantChannels);
                    EXPECT_EQ(slot->buffer->GetFormat().bits, wantBits);
                    EXPECT_EQ(slot->buffer->GetSize(), frames * wantChannels * wantBits / 8);
                    EXPECT_TRUE(audio.PlaySample(sample, 1, 0, 1.0f, 0.0f, false, false, nullptr, nullptr, channel));
                }
            }
        }
    }
}

TEST_F(AudioSystemTest, BusyChannelsGoToTheLowestPriorityAfterTheirCallback)
{
    CAudioSystem& audio = Start();
    ASSERT_EQ(audio.GetChannelCount(), 32);
    int sample = -1;
    ASSERT_TRUE(audio.LoadSample("sounds/long.wav", sample));
    int users[32];
    for (int i = 0; i < 32; ++i)
    {
        int channel = -1;
        ASSERT_TRUE(audio.PlaySample(sample, 2, 0, 1.0f, 0.0f, false, true, &RecordEnd, &users[i], channel));
        EXPECT_EQ(channel, i);
    }
    int channel = 99;
    EXPECT_FALSE(audio.PlaySample(sample, 1, 0, 1.0f, 0.0f, false, false, nullptr, nullptr, channel));
    EXPECT_EQ(channel, -1);
    EXPECT_TRUE(s_ended.empty());

    // An equal priority takes over the first of them, whose owner hears of it first.
    ASSERT_TRUE(audio.PlaySample(sample, 2, 0, 1.0f, 0.0f, false, false, nullptr, nullptr, channel));
    EXPECT_EQ(channel, 0);
    ASSERT_EQ(s_ended.size(), 1u);
    EXPECT_EQ(s_ended[0].user, &users[0]);
    EXPECT_EQ(s_ended[0].channel, 0);

    // Each request takes the first channel of the lowest priority: raising all but
    // the last leaves that one to go next, and then nothing below 3 gets in.
    for (int i = 0; i < 31; ++i)
    {
        ASSERT_TRUE(audio.PlaySample(sample, 5, 0, 1.0f, 0.0f, false, true, nullptr, nullptr, channel));
        EXPECT_EQ(channel, i);
    }
    ASSERT_TRUE(audio.PlaySample(sample, 3, 0, 1.0f, 0.0f, false, false, nullptr, nullptr, channel));
    EXPECT_EQ(channel, 31);
    EXPECT_FALSE(audio.PlaySample(sample, 2, 0, 1.0f, 0.0f, false, false, nullptr, nullptr, channel));

    // A freed channel takes any request, whatever priority it last had.
    ASSERT_TRUE(audio.StopChannel(4));
    audio.Update();
    ASSERT_TRUE(audio.PlaySample(sample, 0, 0, 1.0f, 0.0f, false, false, nullptr, nullptr, channel));
    EXPECT_EQ(channel, 4);

    // Bad indices are refused and write -1.
    for (int bad : {-2, CAudioSystem::SAMPLE_SLOTS, 79})
    {
        channel = 5;
        EXPECT_FALSE(audio.PlaySample(bad, 9, 0, 1.0f, 0.0f, false, false, nullptr, nullptr, channel)) << bad;
        EXPECT_EQ(channel, -1);
    }
    EXPECT_FALSE(audio.PlaySample(-1, 9, 0, 1.0f, 0.0f, false, false, nullptr, nullptr, channel));
    EXPECT_TRUE(audio.StopChannel(-1));
    EXPECT_FALSE(audio.StopChannel(32));
    EXPECT_TRUE(audio.SetChannelVolume(-1, 0.5f));
    EXPECT_FALSE(audio.SetChannelPan(-3, 0.5f));
}

namespace
{
int s_replayed = -1;
int s_sample = -1;

void PlayAgain(void*, int)
{
    g_audio->PlaySample(s_sample, 1, 0, 1.0f, 0.0f, false, false, nullptr, nullptr, s_replayed);
}
} // namespace

TEST_F(AudioSystemTest, EndedSoundsFreeTheirChannelBeforeTheCallback)
{
    CAudioSystem& audio = Start();
    ASSERT_TRUE(audio.LoadSample("sounds/beep.wav", s_sample));
    int user = 0, channel = -1;
    ASSERT_TRUE(audio.PlaySample(s_sample, 1, 0, 1.0f, 0.0f, false, false, &RecordEnd, &user, channel));
    // A tenth of a second at 22050 Hz on a 44100 Hz output.
    std::vector<int16_t> mix(2 * 4000);
    ASSERT_TRUE(audio.GetSoundDevice()->MixOffline(mix.data(), 4000));
    audio.Update();
    EXPECT_TRUE(s_ended.empty()); // still playing
    ASSERT_TRUE(audio.GetSoundDevice()->MixOffline(mix.data(), 4000));
    audio.Update();
    ASSERT_EQ(s_ended.size(), 1u);
    EXPECT_EQ(s_ended[0].user, &user);
    EXPECT_EQ(s_ended[0].channel, channel);
    EXPECT_EQ(audio.GetChannel(channel)->buffer, nullptr);
    EXPECT_EQ(audio.GetChannel(channel)->priority, 1); // kept

    // A callback that plays a sound again gets the channel, and that sound lives on.
    ASSERT_TRUE(audio.PlaySample(s_sample, 1, 0, 1.0f, 0.0f, false, false, &PlayAgain, nullptr, channel));
    ASSERT_TRUE(audio.StopChannel(channel));
    EXPECT_NE(audio.GetChannel(channel)->buffer, nullptr); // freed at the update, not before
    audio.Update();
    EXPECT_EQ(s_replayed, channel);
    ASSERT_NE(audio.GetChannel(channel)->buffer, nullptr);
    EXPECT_TRUE(audio.GetChannel(channel)->buffer->IsPlaying());
    EXPECT_EQ(audio.GetChannel(channel)->callback, nullptr);

    // A paused sound waits for StartChannel; it plays from the start, looping per its flag.
    int pausedChannel = -1;
    ASSERT_TRUE(audio.PlaySample(s_sample, 1, 11025, 1.0f, -1.0f, true, true, nullptr, nullptr, pausedChannel));
    const SAudioChannel* paused = audio.GetChannel(pausedChannel);
    EXPECT_FALSE(paused->buffer->IsPlaying());
    uint32_t hz = 0;
    int32_t pan = 0;
    paused->buffer->GetFrequency(&hz);
    paused->buffer->GetPan(&pan);
    EXPECT_EQ(hz, 11025u);
    EXPECT_EQ(pan, -2999);
    ASSERT_TRUE(audio.StartChannel(pausedChannel));
    EXPECT_TRUE(paused->buffer->IsPlaying());
    EXPECT_TRUE(paused->playing);
    // Stopped and started again before the update: it plays on.
    ASSERT_TRUE(audio.StopChannel(pausedChannel));
    ASSERT_TRUE(audio.StartChannel(pausedChannel));
    audio.Update();
    ASSERT_NE(paused->buffer, nullptr);
    EXPECT_TRUE(paused->buffer->IsPlaying());
}

TEST_F(AudioSystemTest, ALoopTurnedOffPlaysToTheEndOfItsPassAndEnds)
{
    CAudioSystem& audio = Start();
    ASSERT_TRUE(audio.LoadSample("sounds/beep.wav", s_sample));
    int user = 0, channel = -1;
    ASSERT_TRUE(audio.PlaySample(s_sample, 1, 0, 1.0f, 0.0f, false, true, &RecordEnd, &user, channel));
    // 0.15 s of a 0.1 s sample: the loop carries it into its second pass.
    std::vector<int16_t> mix(2 * 6615);
    ASSERT_TRUE(audio.GetSoundDevice()->MixOffline(mix.data(), 6615));
    audio.Update();
    EXPECT_TRUE(s_ended.empty());
    ASSERT_TRUE(audio.SetChannelLoop(channel, false));
    EXPECT_FALSE(audio.GetChannel(channel)->looping);
    EXPECT_TRUE(audio.GetChannel(channel)->buffer->IsPlaying()); // the pass goes on
    ASSERT_TRUE(audio.GetSoundDevice()->MixOffline(mix.data(), 6615));
    audio.Update();
    ASSERT_EQ(s_ended.size(), 1u);
    EXPECT_EQ(s_ended[0].channel, channel);
    // Channel -1 is nothing to do; an index out of range is refused.
    EXPECT_TRUE(audio.SetChannelLoop(-1, true));
    EXPECT_FALSE(audio.SetChannelLoop(audio.GetChannelCount(), true));
}

TEST_F(AudioSystemTest, SettingsAreReadWithTheirLimitsAndWrittenBack)
{
    struct SCase
    {
        const char* key;
        int32_t value;
        int channels;
        uint32_t rate;
        int fxLevel;
    };
    const SCase cases[] = {
        {"a_maxSimultaneousSamples", 100, 32, 44100, 6}, {"a_maxSimultaneousSamples", 3, 32, 44100, 6},
        {"a_maxSimultaneousSamples", 4, 4, 44100, 6},    {"a_maxSimultaneousSamples", 64, 64, 44100, 6},
        {"a_outputFrequencyId", 1, 32, 22050, 6},        {"a_outputFrequencyId", 2, 32, 11025, 6},
        {"a_outputFrequencyId", 3, 32, 44100, 6},        {"a_masterfxvolume", 0, 32, 44100, 0},
        {"a_masterfxvolume", 10, 32, 44100, 6},          {"a_masterfxvolume", -1, 32, 44100, 6},
    };
    for (const SCase& c : cases)
    {
        CDataTree tree;
        tree.SetInt(c.key, c.value);
        tree.SetBool("a_force8bitSamples", true); // never read from the file
        CAudioSystem audio(&MakeOfflineDevice);
        audio.SetDefaultSettings();
        audio.ReadSettings(tree);
        ASSERT_TRUE(audio.Init());
        SCOPED_TRACE(testing::Message() << c.key << " " << c.value);
        EXPECT_EQ(audio.GetChannelCount(), c.channels);
        EXPECT_EQ(audio.GetSoundDevice()->GetOutputFormat().rate, c.rate);
        EXPECT_EQ(audio.GetSoundDevice()->GetOutputFormat().bits, 16);
        EXPECT_EQ(audio.GetFxVolume(), c.fxLevel);
        EXPECT_FALSE(audio.UsesEightBitSamples());
    }

    CDataTree in;
    in.SetBool("a_disableAudio", true);
    in.SetInt("a_mastermusicvolume", 3);
    in.SetInt("a_mastervoicevolume", 8);
    CAudioSystem audio(&MakeOfflineDevice);
    audio.SetDefaultSettings();
    audio.ReadSettings(in);
    CDataTree out;
    audio.WriteSettings(out);
    bool flag = false;
    int32_t value = -1;
    EXPECT_TRUE(out.GetBool("a_disableAudio", flag) && flag);
    EXPECT_TRUE(out.GetBool("a_force8bitSamples", flag) && !flag);
    EXPECT_TRUE(out.GetInt("a_outputFrequencyId", value) && value == 0);
    EXPECT_TRUE(out.GetInt("a_maxSimultaneousSamples", value) && value == 32);
    EXPECT_TRUE(out.GetInt("a_masterfxvolume", value) && value == 6);
    EXPECT_TRUE(out.GetInt("a_mastermusicvolume", value) && value == 3);
    EXPECT_TRUE(out.GetInt("a_mastervoicevolume", value) && value == 8);
}

TEST_F(AudioSystemTest, DisabledOrWithoutOutputEverythingAnswersQuietly)
{
    for (bool disabled : {true, false})
    {
        SCOPED_TRACE(disabled ? "disabled" : "no output");
        CAudioSystem audio(disabled ? &MakeOfflineDevice : &MakeNoDevice);
        audio.SetDefaultSettings();
        CDataTree tree;
        tree.SetBool("a_disableAudio", disabled);
        audio.ReadSettings(tree);
        EXPECT_EQ(audio.Init(), disabled);
        EXPECT_FALSE(audio.IsInitialised());
        int sample = 5, channel = 5;
        EXPECT_TRUE(audio.LoadSample("sounds/beep.wav", sample));
        EXPECT_EQ(sample, -1);
        EXPECT_FALSE(audio.PlaySample(-1, 1, 0, 1.0f, 0.0f, false, false, nullptr, nullptr, channel));
        EXPECT_EQ(audio.PlaySample(0, 1, 0, 1.0f, 0.0f, false, false, nullptr, nullptr, channel), disabled);
        EXPECT_EQ(channel, -1);
        EXPECT_TRUE(audio.PlayMusic("music/none.ogg"));
        EXPECT_TRUE(audio.IsMusicFinished());
        EXPECT_TRUE(audio.PlayVoice("voice/none.ogg"));
        audio.StopVoice();
        audio.StopVoiceNow();
        audio.ApplyVolumes();
        audio.Update();
        EXPECT_TRUE(audio.StopChannel(-1));
        audio.EndMusicThread();
        EXPECT_TRUE(audio.WaitForMusicThread());
    }
}

namespace
{
std::vector<int> s_restarts;
void NoteRestart(void* user)
{
    s_restarts.push_back(*static_cast<int*>(user));
}
} // namespace

TEST_F(AudioSystemTest, RestartRunsItsCallbacksInOrderAfterANewStart)
{
    CAudioSystem& audio = Start();
    s_restarts.clear();
    int first = 1, second = 2;
    ASSERT_TRUE(audio.RegisterRestartCallback(&NoteRestart, &first));
    ASSERT_TRUE(audio.RegisterRestartCallback(&NoteRestart, &second));
    int sample = -1, channel = -1;
    ASSERT_TRUE(audio.LoadSample("sounds/long.wav", sample));
    ASSERT_TRUE(audio.PlaySample(sample, 1, 0, 1.0f, 0.0f, false, true, nullptr, nullptr, channel));
    audio.SetMusicVolume(9);

    m_console->ExecuteLine("/set a_maxSimultaneousSamples 8");
    m_console->ExecuteLine("/audiorestart");
    EXPECT_EQ(s_restarts, (std::vector<int>{1, 2}));
    EXPECT_TRUE(audio.IsInitialised());
    EXPECT_EQ(audio.GetChannelCount(), 8);
    EXPECT_EQ(audio.GetSampleSlot(sample)->buffer, nullptr); // owners load them again
    EXPECT_EQ(audio.GetChannel(channel)->buffer, nullptr);
    int32_t music = 1;
    audio.GetMusicStream()->GetBuffer()->GetVolume(&music);
    EXPECT_EQ(music, -1000); // the levels were applied again
    EXPECT_TRUE(ConsoleHas("    Approximate CPU overhead = 0"));
    EXPECT_STREQ(m_console->GetLine(m_console->GetLineCount() - 1), std::string(75, '-').c_str());

    // Disabled through the console and restarted: silent, and the callbacks still run.
    m_console->ExecuteLine("/set a_disableAudio true");
    EXPECT_TRUE(audio.Restart());
    EXPECT_FALSE(audio.IsInitialised());
    EXPECT_EQ(s_restarts.size(), 4u);
}

TEST_F(AudioSystemTest, MusicLevelZeroPausesTheStreamAndRaisingItResumes)
{
    ASSERT_TRUE(m_dir.WriteFile("music/tune.ogg", EncodeOggTone(22050, 1, 3.0, 440.0, 0.5)));
    CAudioSystem& audio = Start();
    audio.ApplyVolumes();
    ASSERT_TRUE(audio.PlayMusic("music/tune.ogg"));
    EXPECT_FALSE(audio.PlayMusic("music/tune.ogg")); // one at a time
    EXPECT_FALSE(audio.IsMusicFinished());
    CAudioStream* music = audio.GetMusicStream();
    auto waitFor = [](auto condition) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!condition() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return condition();
    };
    ASSERT_TRUE(waitFor([music] { return music->GetBuffer()->IsPlaying(); }));
    audio.SetMusicVolume(0);
    EXPECT_TRUE(waitFor([music] { return music->IsPaused(); }));
    EXPECT_FALSE(music->GetBuffer()->IsPlaying());
    audio.SetMusicVolume(0); // every frame: stays paused
    audio.SetMusicVolume(4);
    EXPECT_TRUE(waitFor([music] { return !music->IsPaused() && music->GetBuffer()->IsPlaying(); }));

    audio.EndMusicThread();
    EXPECT_TRUE(audio.WaitForMusicThread());
    EXPECT_TRUE(audio.IsMusicFinished());
}

TEST_F(AudioSystemTest, TheMachineDeviceOpensWithTheDummyDriverAndAMissingOneRunsSilent)
{
    const char* before = std::getenv("SDL_AUDIODRIVER");
    std::string saved = before ? before : "";
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    {
        CAudioSystem audio;
        audio.SetDefaultSettings();
        EXPECT_TRUE(audio.Init());
        EXPECT_FALSE(audio.GetSoundDevice()->IsOffline());
        int sample = -1, channel = -1;
        ASSERT_TRUE(audio.LoadSample("sounds/beep.wav", sample));
        EXPECT_TRUE(audio.PlaySample(sample, 1, 0, 1.0f, 0.0f, false, false, nullptr, nullptr, channel));
        EXPECT_TRUE(audio.Restart());
    }
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    {
        CAudioSystem audio;
        audio.SetDefaultSettings();
        EXPECT_FALSE(audio.Init());
        EXPECT_FALSE(audio.IsInitialised());
        int sample = 3;
        EXPECT_TRUE(audio.LoadSample("sounds/beep.wav", sample));
        EXPECT_EQ(sample, -1);
    }
    if (before)
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
}
