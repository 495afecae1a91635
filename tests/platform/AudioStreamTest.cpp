#include "platform/AudioStream.h"

#include "platform/sound/SoundDevice.h"
#include "tests/platform/OggEncode.h"
#include "tests/support/CurrentDir.h"
#include "tests/support/PackBytes.h"
#include "tests/support/TempDir.h"
#include "utility/source/QelPackArchive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace
{
constexpr uint32_t OUTPUT_RATE = 44100;
constexpr double TONE_HZ = 1000.0;
constexpr double TONE_LEVEL = 0.5;
const double TONE_RMS = TONE_LEVEL * 32767.0 / std::sqrt(2.0);

class AudioStreamTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_cwd = std::make_unique<CCurrentDir>(m_dir.GetPath());
        m_device = CSoundDevice::Create(ESoundOutput::Offline);
        ASSERT_TRUE(m_device->SetCooperativeLevel(nullptr, ESoundCooperation::Priority));
        SSoundBufferDesc primary;
        primary.flags = SOUNDBUFFER_PRIMARY;
        SSoundFormat format;
        format.rate = OUTPUT_RATE;
        ASSERT_TRUE(m_device->CreateBuffer(primary)->SetFormat(format));
    }

    void WriteTone(const std::string& name, uint32_t rate, double seconds, int channels = 1)
    {
        ASSERT_TRUE(m_dir.WriteFile(name, EncodeOggTone(rate, channels, seconds, TONE_HZ, TONE_LEVEL)));
    }

    // A stream whose passes the test runs itself, at full volume.
    void Prepare(CAudioStream& stream, uint32_t rate, bool eightBit = false, bool manual = true)
    {
        stream.SetManualPasses(manual);
        ASSERT_TRUE(stream.CreateBuffer(*m_device, rate, eightBit));
        ASSERT_TRUE(stream.SetVolume(SOUND_VOLUME_FULL));
    }

    // Mixes frames in small steps with a few passes after each, as a thread that
    // runs more often than the output pulls; gives the left channel.
    std::vector<int16_t> PlayOut(CAudioStream& stream, uint32_t frames, uint32_t step = 256)
    {
        std::vector<int16_t> left;
        std::vector<int16_t> mix(step * 2);
        for (uint32_t done = 0; done < frames; done += step)
        {
            EXPECT_TRUE(m_device->MixOffline(mix.data(), step));
            for (uint32_t i = 0; i < step; ++i)
                left.push_back(mix[i * 2]);
            for (int pass = 0; pass < 3; ++pass)
                stream.RunPass();
        }
        return left;
    }

    // The stretch from the first to the last sample that is not silence.
    static std::vector<int16_t> Audible(const std::vector<int16_t>& samples)
    {
        auto loud = [](int16_t s) { return std::abs(s) > 64; };
        auto first = std::find_if(samples.begin(), samples.end(), loud);
        auto last = std::find_if(samples.rbegin(), samples.rend(), loud);
        if (first == samples.end())
            return {};
        return std::vector<int16_t>(first, last.base());
    }

    // The length of the tone (nothing lost or played twice), its level and its pitch.
    static void ExpectTone(const std::vector<int16_t>& audible, double seconds)
    {
        EXPECT_NEAR(static_cast<double>(audible.size()), seconds * OUTPUT_RATE, 0.02 * seconds * OUTPUT_RATE);
        // Measured away from the encoder's fade-in and fade-out.
        std::vector<int16_t> middle(audible.begin() + audible.size() / 4, audible.end() - audible.size() / 4);
        EXPECT_NEAR(MeasureRms(middle), TONE_RMS, 0.05 * TONE_RMS);
        EXPECT_NEAR(MeasurePitch(middle, OUTPUT_RATE), TONE_HZ, 5.0);
    }

    CTempDir m_dir;
    std::unique_ptr<CCurrentDir> m_cwd;
    std::unique_ptr<CSoundDevice> m_device;
};
} // namespace

TEST_F(AudioStreamTest, PlaysAFileAtItsLevelAndPitchThenGoesSilent)
{
    WriteTone("music/tone.ogg", 22050, 0.5);
    CAudioStream stream;
    Prepare(stream, 22050);
    ASSERT_TRUE(stream.PlayStream("music/tone.ogg"));
    EXPECT_FALSE(stream.IsFinished());

    // The first pass fills the ring from the write position and starts it there;
    // what does not fit waits as pending data.
    ASSERT_TRUE(stream.RunPass());
    EXPECT_TRUE(stream.GetBuffer()->IsPlaying());
    uint32_t pending = stream.GetPendingBytes();
    uint32_t write = stream.GetWritePosition();
    EXPECT_GT(pending, 0u);
    EXPECT_LE(pending, CAudioStream::BLOCK_BYTES);
    EXPECT_LT((CAudioStream::BUFFER_BYTES - write) % CAudioStream::BUFFER_BYTES, pending);

    std::vector<int16_t> left = PlayOut(stream, OUTPUT_RATE); // one second
    EXPECT_TRUE(stream.IsFinished());
    ExpectTone(Audible(left), 0.5);
    // A whole lap of the ring after the end holds nothing but silence.
    for (size_t i = left.size() - 8192; i < left.size(); ++i)
        ASSERT_EQ(left[i], 0) << i;
}

TEST_F(AudioStreamTest, ASecondFileWaitsForAStopAndBadFilesAreRefused)
{
    WriteTone("a.ogg", 22050, 0.5);
    WriteTone("b.ogg", 44100, 0.2);
    WriteTone("odd.ogg", 32000, 0.2);
    ASSERT_TRUE(m_dir.WriteFile("garbage.ogg", std::string(3000, 'x')));
    ASSERT_TRUE(m_dir.WriteFile("empty.ogg", ""));
    CAudioStream stream;
    Prepare(stream, 22050);
    ASSERT_TRUE(stream.PlayStream("a.ogg"));
    stream.RunPass();
    EXPECT_FALSE(stream.PlayStream("b.ogg"));
    ASSERT_GT(stream.GetPendingBytes(), 0u);
    stream.RequestStop();
    EXPECT_TRUE(stream.PlayStream("b.ogg")); // the stop is carried out at once
    EXPECT_FALSE(stream.IsFinished());
    EXPECT_EQ(stream.GetPendingBytes(), 0u); // nothing of the old file plays on
    stream.RequestStop();
    stream.RunPass();
    EXPECT_TRUE(stream.IsFinished());

    for (const char* bad : {"missing.ogg", "garbage.ogg", "empty.ogg", "odd.ogg"})
    {
        EXPECT_FALSE(stream.PlayStream(bad)) << bad;
        EXPECT_TRUE(stream.IsFinished()) << bad;
    }
    EXPECT_TRUE(stream.PlayStream("A.OGG")); // names are found in any case
}

TEST_F(AudioStreamTest, PauseHoldsThePlaceAndResumeGoesOnFromIt)
{
    WriteTone("tone.ogg", 22050, 1.0);
    CAudioStream stream;
    Prepare(stream, 22050);
    ASSERT_TRUE(stream.PlayStream("tone.ogg"));
    PlayOut(stream, 4096);
    stream.RequestPause();
    stream.RunPass();
    EXPECT_TRUE(stream.IsPaused());
    EXPECT_FALSE(stream.GetBuffer()->IsPlaying());
    uint32_t before = 0, after = 0;
    stream.GetBuffer()->GetCurrentPosition(&before, nullptr);
    uint32_t write = stream.GetWritePosition();
    std::vector<int16_t> paused = PlayOut(stream, 4096);
    EXPECT_TRUE(std::all_of(paused.begin(), paused.end(), [](int16_t s) { return s == 0; }));
    stream.GetBuffer()->GetCurrentPosition(&after, nullptr);
    EXPECT_EQ(after, before);
    EXPECT_EQ(stream.GetWritePosition(), write);

    stream.RequestResume();
    stream.RunPass();
    EXPECT_FALSE(stream.IsPaused());
    std::vector<int16_t> resumed = PlayOut(stream, 8192);
    EXPECT_NEAR(MeasureRms(resumed), TONE_RMS, 0.05 * TONE_RMS);
    EXPECT_FALSE(stream.IsFinished());
    // A pause asked for and taken back before a pass never happens.
    stream.RequestPause();
    stream.RequestResume();
    stream.RunPass();
    EXPECT_FALSE(stream.IsPaused());
}

TEST_F(AudioStreamTest, EightBitStreamsAreUnsignedAndStopNowFillsWith128)
{
    WriteTone("voice.ogg", 44100, 0.3);
    CAudioStream stream;
    Prepare(stream, 44100, true);
    ASSERT_TRUE(stream.PlayStream("voice.ogg"));
    ExpectTone(Audible(PlayOut(stream, OUTPUT_RATE / 2)), 0.3);

    ASSERT_TRUE(stream.PlayStream("voice.ogg"));
    PlayOut(stream, 2048);
    stream.StopNow();
    EXPECT_TRUE(stream.IsFinished());
    EXPECT_FALSE(stream.GetBuffer()->IsPlaying());
    SSoundLock lock;
    ASSERT_TRUE(stream.GetBuffer()->Lock(0, CAudioStream::BUFFER_BYTES, lock));
    EXPECT_TRUE(std::all_of(lock.first, lock.first + lock.firstBytes, [](uint8_t b) { return b == 0x80; }));
    stream.GetBuffer()->Unlock(lock);
}

TEST_F(AudioStreamTest, ADecodingErrorEndsTheThreadAsFinishedAndTheNextFilePlays)
{
    std::string ogg = EncodeOggTone(22050, 1, 4.0, TONE_HZ, TONE_LEVEL);
    // Past the headers, inside the audio pages.
    const size_t damage = ogg.size() * 3 / 4;
    for (size_t i = damage; i < damage + 64; ++i)
        ogg[i] = static_cast<char>(ogg[i] ^ 0x5A);
    ASSERT_TRUE(m_dir.WriteFile("broken.ogg", ogg));
    WriteTone("good.ogg", 22050, 0.3);
    CAudioStream stream;
    Prepare(stream, 22050);
    ASSERT_TRUE(stream.PlayStream("broken.ogg"));
    for (int i = 0; i < 2000 && stream.IsRunning(); ++i)
        PlayOut(stream, 256);
    EXPECT_FALSE(stream.IsRunning());
    EXPECT_TRUE(stream.IsFinished());
    EXPECT_FALSE(stream.GetBuffer()->IsPlaying());

    ASSERT_TRUE(stream.PlayStream("good.ogg"));
    EXPECT_TRUE(stream.IsRunning());
    ExpectTone(Audible(PlayOut(stream, OUTPUT_RATE / 2)), 0.3);
}

TEST_F(AudioStreamTest, TheThreadPlaysAFileFromThePackAndEnds)
{
    SPackRecordBytes record;
    record.name = "music/Theme.ogg";
    record.data = EncodeOggTone(22050, 1, 0.4, TONE_HZ, TONE_LEVEL);
    ASSERT_TRUE(m_dir.WriteFile("Tessavar.000", MakePackRecord(record)));
    ASSERT_TRUE(InitPackArchive());
    ASSERT_NE(g_packArchive, nullptr);
    {
        CAudioStream stream;
        Prepare(stream, 22050, false, false);
        ASSERT_TRUE(stream.PlayStream("MUSIC\\theme.ogg"));
        EXPECT_TRUE(stream.IsRunning());
        // The test plays the part of the output device, faster than real time but never
        // ahead of the thread: it mixes only while the ring holds half a lap or more.
        auto keptUp = [&stream] {
            uint32_t play = 0;
            stream.GetBuffer()->GetCurrentPosition(&play, nullptr);
            uint32_t room = (play + CAudioStream::BUFFER_BYTES - stream.GetWritePosition()) % CAudioStream::BUFFER_BYTES;
            return room < CAudioStream::BUFFER_BYTES / 2 || stream.IsFinished();
        };
        std::vector<int16_t> left;
        std::vector<int16_t> mix(512);
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        uint32_t afterEnd = 0;
        while (afterEnd < 16384 && std::chrono::steady_clock::now() < deadline)
        {
            while (!keptUp() && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (stream.IsFinished())
                afterEnd += 256;
            ASSERT_TRUE(m_device->MixOffline(mix.data(), 256));
            for (uint32_t i = 0; i < 256; ++i)
                left.push_back(mix[i * 2]);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_TRUE(stream.IsFinished());
        ExpectTone(Audible(left), 0.4);

        stream.EndThread();
        EXPECT_TRUE(stream.WaitForThread());
        EXPECT_FALSE(stream.IsRunning());
    }
    FreePackArchive();
}
