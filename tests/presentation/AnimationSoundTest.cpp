// Sound tracks on the offline mixer: play keys start, pause and resume a channel.

#include "tests/presentation/CasFixture.h"

#include "platform/AudioSystem.h"

namespace
{
class CasSound : public CCasFixture
{
protected:
    void SetUp() override
    {
        CCasFixture::SetUp();
        StartAudio();
    }

    const SCasSoundTrack& Track(int slot) const { return m_player->GetAnimation(slot)->m_soundTracks[0]; }
    const SAudioChannel* Channel(int slot) const { return m_audio->GetChannel(Track(slot).m_channel); }

    int BusyChannels() const
    {
        int busy = 0;
        for (int i = 0; i < m_audio->GetChannelCount(); ++i)
            busy += m_audio->GetChannel(i)->buffer != nullptr;
        return busy;
    }
};
} // namespace

TEST_F(CasSound, PlayKeysStartStopAndStartAgainWithTheCurrentVolumeAndPan)
{
    WriteSource("sound.cas", R"(animation
{
    sound
    {
        file   beep.wav
        length 12
        loop   true
        play   0, 1
        play   5, 0
        play   8, 1
        volume 0, 0.5
        volume 3, 1
        pan    0, -0.5
        pan    7, 0.25
    }
})");
    int slot = LoadPlayable("sound.cas");
    ASSERT_GE(Track(slot).m_sample, 0);
    ASSERT_TRUE(m_player->Play(slot, false));
    Step(1);
    ASSERT_TRUE(Track(slot).m_playing);
    const SAudioChannel* channel = Channel(slot);
    ASSERT_NE(channel, nullptr);
    EXPECT_NE(channel->buffer, nullptr);
    EXPECT_TRUE(channel->playing);
    EXPECT_TRUE(channel->looping);
    EXPECT_EQ(channel->priority, 1);
    EXPECT_EQ(channel->frequency, 22050u);
    EXPECT_EQ(channel->volume, 0.5f);
    EXPECT_EQ(channel->pan, -0.5f);
    Step(3); // step 3
    EXPECT_EQ(channel->volume, 1.0f);
    Step(2); // step 5: stopped
    EXPECT_FALSE(Track(slot).m_playing);
    EXPECT_TRUE(channel->stopped);
    m_audio->Update(); // the channel is freed and the track hears of it
    EXPECT_EQ(Track(slot).m_channel, -1);
    EXPECT_EQ(BusyChannels(), 0);
    Step(3); // step 8: the sample starts afresh, with the pan of step 7
    ASSERT_TRUE(Track(slot).m_playing);
    channel = Channel(slot);
    ASSERT_NE(channel, nullptr);
    EXPECT_TRUE(channel->playing);
    EXPECT_EQ(channel->pan, 0.25f);
    EXPECT_EQ(BusyChannels(), 1);
}

TEST_F(CasSound, AChannelStoppedThisFrameResumesAndALoopRestartSilencesIt)
{
    WriteSource("resume.cas", R"(animation
{
    sound
    {
        file beep.wav
        length 6
        play 0, 1
        play 2, 0
        play 3, 1
    }
})");
    int slot = LoadPlayable("resume.cas");
    ASSERT_TRUE(m_player->Play(slot, true));
    Step(1);
    const int first = Track(slot).m_channel;
    ASSERT_GE(first, 0);
    Step(2); // step 2 stops it; no audio update runs before step 3
    EXPECT_TRUE(m_audio->GetChannel(first)->stopped);
    Step(1);
    EXPECT_EQ(Track(slot).m_channel, first);
    EXPECT_TRUE(m_audio->GetChannel(first)->playing);
    EXPECT_FALSE(m_audio->GetChannel(first)->stopped);
    Step(2); // step 5, then the restart at the loop start
    EXPECT_EQ(m_audio->GetChannel(first)->volume, 0.0f);
    EXPECT_TRUE(m_audio->GetChannel(first)->stopped);
    EXPECT_FALSE(Track(slot).m_playing);
    Step(1); // step 0 again: the paused channel resumes at full volume
    EXPECT_EQ(Track(slot).m_channel, first);
    EXPECT_TRUE(m_audio->GetChannel(first)->playing);
    EXPECT_EQ(m_audio->GetChannel(first)->volume, 1.0f);
}

TEST_F(CasSound, PanIsClampedWhenApplied)
{
    SCasAnimation animation;
    animation.m_soundTracks.resize(1);
    SCasSoundTrack& track = animation.m_soundTracks[0];
    track.m_fileName.AssignNarrow("beep.wav");
    track.m_clock.m_length = 4;
    track.m_play.m_keys.push_back({0, 1});
    track.m_pan.m_keys.push_back({0, -3.0f});
    track.m_pan.m_keys.push_back({2, 7.5f});
    WriteAnimation("pan.cas", animation);
    int slot = LoadPlayable("pan.cas");
    ASSERT_TRUE(m_player->Play(slot, false));
    Step(1);
    ASSERT_NE(Channel(slot), nullptr);
    EXPECT_EQ(Channel(slot)->pan, -1.0f);
    Step(2);
    EXPECT_EQ(Channel(slot)->pan, 1.0f);
}

TEST_F(CasSound, PlayRangeIsMutedAndStopOrUnloadSilencesTheTrack)
{
    WriteSource("sound.cas", R"(animation
{
    sound
    {
        file beep.wav
        length 100
        play 0, 1
    }
})");
    int slot = LoadPlayable("sound.cas");
    ASSERT_TRUE(m_player->PlayRange(slot, 50, 99, false));
    Step(20);
    EXPECT_EQ(BusyChannels(), 0);
    EXPECT_EQ(m_player->GetCurrentFrame(slot), 70u);

    ASSERT_TRUE(m_player->Play(slot, false));
    Step(1);
    const int channel = Track(slot).m_channel;
    ASSERT_GE(channel, 0);
    ASSERT_TRUE(m_player->Stop(slot));
    EXPECT_TRUE(m_audio->GetChannel(channel)->stopped);
    EXPECT_EQ(m_audio->GetChannel(channel)->callback, nullptr);
    EXPECT_EQ(Track(slot).m_channel, -1);
    m_audio->Update();
    EXPECT_EQ(BusyChannels(), 0);

    ASSERT_TRUE(m_player->Play(slot, false));
    Step(1);
    const int sample = Track(slot).m_sample;
    ASSERT_TRUE(m_player->UnloadMedia(slot));
    m_audio->Update();
    EXPECT_EQ(BusyChannels(), 0);
    EXPECT_EQ(m_audio->GetSampleSlot(sample)->refCount, 0);
}
