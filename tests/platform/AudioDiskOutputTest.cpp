// The whole road to a real output: SDL's disk driver writes what the audio device
// would have played, paced in real time, to a raw file that the test measures.

#include "platform/AudioSystem.h"

#include "platform/sound/WaveFile.h"
#include "tests/platform/OggEncode.h"
#include "tests/support/CurrentDir.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace
{
constexpr double LEVEL = 0.5;
constexpr double SECONDS = 0.5;
const double SOURCE_RMS = LEVEL * 32767.0 / std::sqrt(2.0);
// Level 9 of effects and music: (0.3 * 2/3 + 0.7) * 10000 - 10000 = -1000, i.e. -10 dB.
const double LEVEL_NINE_GAIN = std::pow(10.0, -1000.0 / 2000.0);

class AudioDiskOutputTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_cwd = std::make_unique<CCurrentDir>(m_dir.GetPath());
        const char* driver = std::getenv("SDL_AUDIODRIVER");
        m_hadDriver = driver != nullptr;
        if (driver)
            m_savedDriver = driver;
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", m_dir.Join("out.raw").c_str(), 1);
    }

    void TearDown() override
    {
        if (m_hadDriver)
            setenv("SDL_AUDIODRIVER", m_savedDriver.c_str(), 1);
        else
            unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
    }

    // The left channel of what was written (16-bit stereo at 44100 Hz).
    std::vector<int16_t> ReadOutput()
    {
        std::string bytes;
        EXPECT_TRUE(m_dir.ReadFile("out.raw", bytes));
        std::vector<int16_t> left(bytes.size() / 4);
        for (size_t i = 0; i < left.size(); ++i)
            std::memcpy(&left[i], bytes.data() + i * 4, 2);
        return left;
    }

    static void ExpectTone(const std::vector<int16_t>& left, double hz)
    {
        auto loud = [](int16_t s) { return std::abs(s) > 200; };
        auto first = std::find_if(left.begin(), left.end(), loud);
        auto last = std::find_if(left.rbegin(), left.rend(), loud).base();
        ASSERT_TRUE(first < last) << "nothing audible was written";
        std::vector<int16_t> audible(first, last);
        EXPECT_NEAR(static_cast<double>(audible.size()), SECONDS * 44100, 0.05 * SECONDS * 44100);
        std::vector<int16_t> middle(audible.begin() + audible.size() / 4, audible.end() - audible.size() / 4);
        EXPECT_NEAR(MeasureRms(middle), SOURCE_RMS * LEVEL_NINE_GAIN, 0.05 * SOURCE_RMS * LEVEL_NINE_GAIN);
        EXPECT_NEAR(MeasurePitch(middle, 44100), hz, hz * 0.01);
    }

    template <class Condition>
    static bool WaitFor(Condition condition, int seconds)
    {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        while (!condition() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return condition();
    }

    CTempDir m_dir;
    std::unique_ptr<CCurrentDir> m_cwd;
    bool m_hadDriver = false;
    std::string m_savedDriver;
};
} // namespace

TEST_F(AudioDiskOutputTest, ASampleIsWrittenAtItsLevelAndPitch)
{
    std::vector<int16_t> tone(static_cast<size_t>(SECONDS * 22050));
    for (size_t i = 0; i < tone.size(); ++i)
        tone[i] = static_cast<int16_t>(std::lround(LEVEL * 32767.0 * std::sin(2.0 * M_PI * 1000.0 * i / 22050)));
    SSoundFormat format;
    format.channels = 1;
    format.rate = 22050;
    format.bits = 16;
    std::vector<uint8_t> wave = BuildWave(format, tone.data(), static_cast<uint32_t>(tone.size() * 2));
    ASSERT_TRUE(m_dir.WriteFile("tone.wav", std::string(wave.begin(), wave.end())));
    {
        CAudioSystem audio;
        audio.SetDefaultSettings();
        ASSERT_TRUE(audio.Init());
        audio.SetFxVolume(9);
        int sample = -1, channel = -1;
        ASSERT_TRUE(audio.LoadSample("tone.wav", sample));
        ASSERT_TRUE(audio.PlaySample(sample, 1, 0, 1.0f, 0.0f, false, false, nullptr, nullptr, channel));
        EXPECT_TRUE(WaitFor([&] {
            audio.Update();
            return audio.GetChannel(channel)->buffer == nullptr;
        }, 5));
        audio.Shutdown();
    }
    ExpectTone(ReadOutput(), 1000.0);
}

TEST_F(AudioDiskOutputTest, MusicIsStreamedAtItsLevelAndPitch)
{
    ASSERT_TRUE(m_dir.WriteFile("music/tone.ogg", EncodeOggTone(22050, 1, SECONDS, 440.0, LEVEL)));
    {
        CAudioSystem audio;
        audio.SetDefaultSettings();
        ASSERT_TRUE(audio.Init());
        audio.SetMusicVolume(9);
        ASSERT_TRUE(audio.PlayMusic("music/tone.ogg"));
        EXPECT_TRUE(WaitFor([&] { return audio.IsMusicFinished(); }, 5));
        // The tail still in the ring plays out.
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        audio.Shutdown();
    }
    ExpectTone(ReadOutput(), 440.0);
}
