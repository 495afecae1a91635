// Sounds of the world on an audio system that mixes offline: the play rules, volume
// by distance from the middle of the screen, and fading.

#include "core/DataTree.h"
#include "platform/AudioSystem.h"
#include "platform/sound/SoundDevice.h"
#include "platform/sound/WaveFile.h"
#include "tests/support/CurrentDir.h"
#include "tests/support/TempDir.h"
#include "tests/support/world/WorldHarness.h"
#include "world/SoundEffect.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
std::unique_ptr<CSoundDevice> MakeOfflineDevice()
{
    return CSoundDevice::Create(ESoundOutput::Offline);
}

// The harness's world with an audio system that plays (offline) in place of its silent one.
class SoundEffectTest : public testing::Test
{
protected:
    void SetUp() override
    {
        SSoundFormat format;
        format.channels = 1;
        format.rate = 22050;
        std::vector<int16_t> samples(22050, 1000); // one second
        std::vector<uint8_t> wave =
            BuildWave(format, samples.data(), static_cast<uint32_t>(samples.size() * sizeof(int16_t)));
        ASSERT_TRUE(m_dir.WriteFile("hum.wav", std::string(wave.begin(), wave.end())));
        m_cwd = std::make_unique<CCurrentDir>(m_dir.GetPath());
        m_harness = std::make_unique<CWorldHarness>();
        ASSERT_TRUE(m_harness->StartLevel());
        m_silent = g_audio;
        m_audio = std::make_unique<CAudioSystem>(&MakeOfflineDevice);
        m_audio->SetDefaultSettings();
        ASSERT_TRUE(m_audio->Init());
        g_audio = m_audio.get();
    }

    void TearDown() override
    {
        m_effects.clear();
        if (m_harness)
            m_harness->GetGame().UpdateFadingSounds();
        m_harness.reset();
        g_audio = m_silent;
        m_audio.reset();
        m_cwd.reset();
    }

    CSoundEffect& MakeEffect(bool allowMultiple, bool loop, bool screenClip = true)
    {
        CDataTree tree;
        tree.AddString("sfxName", "hum.wav");
        tree.AddString("sfxVolume", "0.8");
        tree.AddBool("allowMultipleSfx", allowMultiple);
        tree.AddBool("loopSfx", loop);
        tree.AddBool("screenClip", screenClip);
        m_effects.push_back(std::make_unique<CSoundEffect>());
        EXPECT_TRUE(m_effects.back()->Read(tree));
        return *m_effects.back();
    }

    int CountPlaying() const
    {
        int count = 0;
        for (int i = 0; i < m_audio->GetChannelCount(); ++i)
            count += m_audio->GetChannel(i)->buffer ? 1 : 0;
        return count;
    }

    CTempDir m_dir;
    std::unique_ptr<CCurrentDir> m_cwd;
    std::unique_ptr<CWorldHarness> m_harness;
    std::unique_ptr<CAudioSystem> m_audio;
    CAudioSystem* m_silent = nullptr;
    std::vector<std::unique_ptr<CSoundEffect>> m_effects;
};
} // namespace

TEST_F(SoundEffectTest, AnEffectStartsAtMostOnceIn50MillisecondsOfGameTime)
{
    CSoundEffect& boom = MakeEffect(true, false);
    CSoundEmitter first(&boom), second(&boom);
    m_harness->RunFrames(2);
    EXPECT_TRUE(first.PlayAt(false, nullptr));
    EXPECT_FALSE(second.PlayAt(false, nullptr)) << "the same moment";
    m_harness->RunFrames(1); // 40 ms later
    EXPECT_FALSE(second.PlayAt(false, nullptr));
    m_harness->RunFrames(1); // 80 ms
    EXPECT_TRUE(second.PlayAt(false, nullptr));
    EXPECT_EQ(CountPlaying(), 2);
    const SAudioChannel* channel = m_audio->GetChannel(first.GetChannel());
    ASSERT_NE(channel, nullptr);
    EXPECT_FLOAT_EQ(channel->volume, 0.8f);
    EXPECT_EQ(channel->priority, 1);
    EXPECT_FALSE(channel->looping);
}

TEST_F(SoundEffectTest, AnEffectOfOneInstanceWaitsForItsSoundToEnd)
{
    CSoundEffect& engine = MakeEffect(false, true);
    CSoundEmitter emitter(&engine);
    EXPECT_TRUE(emitter.PlayAt(false, nullptr));
    EXPECT_TRUE(m_audio->GetChannel(emitter.GetChannel())->looping);
    m_harness->RunFrames(3);
    EXPECT_FALSE(emitter.PlayAt(false, nullptr)) << "still playing";
    EXPECT_EQ(CountPlaying(), 1);
    emitter.Stop();
    m_audio->Update();
    EXPECT_EQ(CountPlaying(), 0);
    EXPECT_TRUE(emitter.PlayAt(false, nullptr)) << "a stopped emitter plays again";
}

TEST_F(SoundEffectTest, AnEffectWithoutASampleNameNeverPlays)
{
    CDataTree tree;
    tree.AddString("sfxVolume", "1.0");
    CSoundEffect quiet;
    EXPECT_FALSE(quiet.Read(tree));
    EXPECT_FALSE(quiet.IsLoaded());
    CSoundEmitter emitter(&quiet);
    EXPECT_FALSE(emitter.PlayAt(false, nullptr));
    EXPECT_EQ(CountPlaying(), 0);
    // A name longer than the field is refused the same way.
    CSoundEffect tooLong;
    EXPECT_FALSE(tooLong.Set(std::string(60, 'a').c_str(), 1.0f, false, false));
    EXPECT_STREQ(tooLong.GetFileName(), "");
}

TEST_F(SoundEffectTest, AScreenClippedSoundStartsWithin600OfTheView)
{
    // The view is at (0, 0) and 640 x 480 wide.
    CSoundEffect& clipped = MakeEffect(true, false, true);
    CSoundEffect& everywhere = MakeEffect(true, false, false);
    CSoundEmitter emitter(&clipped), free(&everywhere);
    const CVector2D beyond(640.0f + 601.0f, 100.0f), within(-599.0f, 480.0f + 599.0f);
    EXPECT_FALSE(emitter.PlayAt(false, &beyond));
    EXPECT_TRUE(free.PlayAt(false, &beyond));
    EXPECT_TRUE(emitter.PlayAt(false, &within));
}

TEST_F(SoundEffectTest, VolumeFallsFrom300To1000UnitsAndBeyondTheSoundFadesOut)
{
    CSoundEffect& engine = MakeEffect(false, true, false);
    CSoundEmitter emitter(&engine);
    // The middle of the screen is (320, 240).
    struct SCase
    {
        float distance;
        float volume; // of the effect's 0.8
    };
    const SCase cases[] = {{0.0f, 0.8f}, {300.0f, 0.8f}, {650.0f, 0.4f}, {1000.0f, 0.0f}};
    for (const SCase& c : cases)
    {
        emitter.UpdatePositional(CVector2D(320.0f, 240.0f + c.distance));
        ASSERT_GE(emitter.GetChannel(), 0) << c.distance;
        const SAudioChannel* channel = m_audio->GetChannel(emitter.GetChannel());
        EXPECT_NEAR(channel->volume, c.volume, 1e-5f) << c.distance;
        EXPECT_FLOAT_EQ(channel->pan, 0.0f) << "sounds play in the middle";
        EXPECT_TRUE(channel->looping);
    }
    const int channel = emitter.GetChannel();
    m_audio->SetChannelVolume(channel, 1.0f);
    emitter.UpdatePositional(CVector2D(320.0f + 1001.0f, 240.0f));
    EXPECT_EQ(emitter.GetChannel(), -1) << "handed to the game";
    ASSERT_EQ(m_harness->GetGame().GetFadingSounds().size(), 1u);
    // 0.05 a frame: 19 frames leave 0.05, the 20th and 21st stop it.
    for (int frame = 1; frame <= 19; ++frame)
    {
        m_harness->RunFrame();
        EXPECT_NEAR(m_audio->GetChannelVolume(channel), 1.0f - 0.05f * static_cast<float>(frame), 1e-4f) << frame;
    }
    m_harness->RunFrames(2);
    EXPECT_TRUE(m_harness->GetGame().GetFadingSounds().empty());
    m_audio->Update();
    EXPECT_EQ(m_audio->GetChannel(channel)->buffer, nullptr);
}

TEST_F(SoundEffectTest, AFadingChannelTakenByAnotherSoundLeavesTheFadingList)
{
    CSoundEffect& engine = MakeEffect(true, true);
    CSoundEmitter emitter(&engine);
    ASSERT_TRUE(emitter.PlayAt(false, nullptr));
    const int channel = emitter.GetChannel();
    // Every other channel busy with sounds of the same priority.
    std::vector<std::unique_ptr<CSoundEmitter>> others;
    for (int i = 1; i < m_audio->GetChannelCount(); ++i)
    {
        others.push_back(std::make_unique<CSoundEmitter>(&MakeEffect(true, true)));
        ASSERT_TRUE(others.back()->PlayAt(false, nullptr));
    }
    emitter.FadeOut();
    ASSERT_EQ(m_harness->GetGame().GetFadingSounds().size(), 1u);
    m_harness->RunFrames(2);
    // A new sound takes the channel that went busy first: the fading one.
    CSoundEmitter newcomer(&MakeEffect(true, true));
    ASSERT_TRUE(newcomer.PlayAt(false, nullptr));
    EXPECT_EQ(newcomer.GetChannel(), channel);
    EXPECT_TRUE(m_harness->GetGame().GetFadingSounds().empty());
    m_harness->RunFrames(25);
    const SAudioChannel* taken = m_audio->GetChannel(channel);
    EXPECT_FLOAT_EQ(taken->volume, 0.8f) << "the new sound is not faded";
    EXPECT_NE(taken->buffer, nullptr);
}

TEST_F(SoundEffectTest, ALoopThatStopsLoopingPlaysOutItsPass)
{
    CSoundEffect& engine = MakeEffect(false, true);
    CSoundEmitter emitter(&engine);
    ASSERT_TRUE(emitter.PlayAt(false, nullptr));
    emitter.StopLooping();
    const int index = emitter.GetChannel();
    const SAudioChannel* channel = m_audio->GetChannel(index);
    EXPECT_FALSE(channel->looping);
    EXPECT_TRUE(channel->playing);
    // Restart rewinds the channel it holds.
    emitter.Restart(nullptr);
    EXPECT_EQ(emitter.GetChannel(), index);
    EXPECT_EQ(CountPlaying(), 1);
}
