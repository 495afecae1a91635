#include "platform/sound/SoundDevice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace
{
constexpr uint32_t ALL_CONTROLS = SOUNDBUFFER_CTRL_FREQUENCY | SOUNDBUFFER_CTRL_PAN | SOUNDBUFFER_CTRL_VOLUME;

// An offline device whose output is 16-bit stereo (or 8-bit) at the given rate.
std::unique_ptr<CSoundDevice> MakeDevice(uint32_t rate = 44100, uint16_t bits = 16)
{
    std::unique_ptr<CSoundDevice> device = CSoundDevice::Create(ESoundOutput::Offline);
    EXPECT_TRUE(device->SetCooperativeLevel(nullptr, ESoundCooperation::Priority));
    SSoundBufferDesc primary;
    primary.flags = SOUNDBUFFER_PRIMARY | SOUNDBUFFER_CTRL_VOLUME;
    CSoundBuffer* output = device->CreateBuffer(primary);
    SSoundFormat format;
    format.channels = 2;
    format.rate = rate;
    format.bits = bits;
    EXPECT_TRUE(output->SetFormat(format));
    return device;
}

CSoundBuffer* MakeBuffer16(CSoundDevice& device, const std::vector<int16_t>& samples, uint16_t channels = 1,
                           uint32_t rate = 44100)
{
    SSoundBufferDesc desc;
    desc.flags = SOUNDBUFFER_STATIC | ALL_CONTROLS;
    desc.bytes = static_cast<uint32_t>(samples.size() * 2);
    desc.format.channels = channels;
    desc.format.rate = rate;
    desc.format.bits = 16;
    CSoundBuffer* buffer = device.CreateBuffer(desc);
    SSoundLock lock;
    EXPECT_TRUE(buffer->Lock(0, desc.bytes, lock));
    std::memcpy(lock.first, samples.data(), desc.bytes); // the test machine is little-endian
    EXPECT_TRUE(buffer->Unlock(lock));
    return buffer;
}

// Mixed 16-bit stereo frames as left/right pairs.
std::vector<int16_t> Mix(CSoundDevice& device, uint32_t frames)
{
    std::vector<int16_t> out(frames * 2);
    EXPECT_TRUE(device.MixOffline(out.data(), frames));
    return out;
}

int16_t Attenuated(int32_t sample, double hundredthsOfDb)
{
    return static_cast<int16_t>(std::lround(sample * std::pow(10.0, hundredthsOfDb / 2000.0)));
}
} // namespace

TEST(SoundDevice, PlaysAOneShotBufferOnceOnBothSidesAndStops)
{
    auto device = MakeDevice();
    CSoundBuffer* buffer = MakeBuffer16(*device, {1000, -2000, 32767, -32768});
    ASSERT_TRUE(buffer->Play(false));
    std::vector<int16_t> out = Mix(*device, 6);
    EXPECT_EQ(out, (std::vector<int16_t>{1000, 1000, -2000, -2000, 32767, 32767, -32768, -32768, 0, 0, 0, 0}));
    EXPECT_FALSE(buffer->IsPlaying());
    // Stopped after its last frame even when the mix ended exactly there.
    ASSERT_TRUE(buffer->Play(false));
    Mix(*device, 4);
    EXPECT_FALSE(buffer->IsPlaying());
}

TEST(SoundDevice, VolumeAndPanAttenuateInHundredthsOfADecibel)
{
    struct SCase
    {
        int32_t volume;
        int32_t pan;
        double leftDb;
        double rightDb;
    };
    const SCase cases[] = {
        {0, 0, 0, 0},           {-600, 0, -600, -600},     {-1000, 0, -1000, -1000},
        {-3000, 0, -3000, -3000}, {0, 3000, -3000, 0},     {0, -2999, 0, -2999},
        {-1000, 600, -1600, -1000}, {0, 10000, -100000, 0}, {0, -10000, 0, -100000},
    };
    for (const SCase& c : cases)
    {
        auto device = MakeDevice();
        CSoundBuffer* buffer = MakeBuffer16(*device, {20000, -12345});
        ASSERT_TRUE(buffer->SetVolume(c.volume));
        ASSERT_TRUE(buffer->SetPan(c.pan));
        ASSERT_TRUE(buffer->Play(false));
        std::vector<int16_t> out = Mix(*device, 2);
        SCOPED_TRACE(testing::Message() << "volume " << c.volume << " pan " << c.pan);
        EXPECT_EQ(out[0], Attenuated(20000, c.leftDb));
        EXPECT_EQ(out[1], Attenuated(20000, c.rightDb));
        EXPECT_EQ(out[2], Attenuated(-12345, c.leftDb));
        EXPECT_EQ(out[3], Attenuated(-12345, c.rightDb));
    }
    // -10000 is true silence, not merely -100 dB.
    auto device = MakeDevice();
    CSoundBuffer* buffer = MakeBuffer16(*device, {32767});
    ASSERT_TRUE(buffer->SetVolume(SOUND_VOLUME_SILENT));
    ASSERT_TRUE(buffer->Play(true));
    for (int16_t v : Mix(*device, 64))
        ASSERT_EQ(v, 0);
}

TEST(SoundDevice, FrequencyResamplesLinearly)
{
    // A 22050 Hz buffer on a 44100 Hz output: each frame twice as long, the halves between interpolated.
    auto device = MakeDevice(44100);
    CSoundBuffer* slow = MakeBuffer16(*device, {0, 1000, -3000}, 1, 22050);
    ASSERT_TRUE(slow->Play(false));
    std::vector<int16_t> out = Mix(*device, 7);
    std::vector<int16_t> left;
    for (size_t i = 0; i < out.size(); i += 2)
        left.push_back(out[i]);
    EXPECT_EQ(left, (std::vector<int16_t>{0, 500, 1000, -1000, -3000, -3000, 0}));
    EXPECT_FALSE(slow->IsPlaying());

    // SetFrequency overrides the format's rate; 0 restores it.
    CSoundBuffer* fast = MakeBuffer16(*device, {1, 2, 3, 4, 5, 6}, 1, 44100);
    ASSERT_TRUE(fast->SetFrequency(88200));
    ASSERT_TRUE(fast->Play(false));
    out = Mix(*device, 4);
    EXPECT_EQ(out, (std::vector<int16_t>{1, 1, 3, 3, 5, 5, 0, 0}));
    uint32_t hz = 0;
    ASSERT_TRUE(fast->SetFrequency(0));
    ASSERT_TRUE(fast->GetFrequency(&hz));
    EXPECT_EQ(hz, 44100u);
    EXPECT_FALSE(fast->SetFrequency(SOUND_FREQUENCY_MIN - 1));
    EXPECT_FALSE(fast->SetFrequency(SOUND_FREQUENCY_MAX + 1));
}

TEST(SoundDevice, LoopingWrapsUntilStopped)
{
    auto device = MakeDevice();
    CSoundBuffer* buffer = MakeBuffer16(*device, {10, 20, 30});
    ASSERT_TRUE(buffer->Play(true));
    std::vector<int16_t> out = Mix(*device, 7);
    std::vector<int16_t> left;
    for (size_t i = 0; i < out.size(); i += 2)
        left.push_back(out[i]);
    EXPECT_EQ(left, (std::vector<int16_t>{10, 20, 30, 10, 20, 30, 10}));
    EXPECT_TRUE(buffer->IsPlaying());
    uint32_t play = 99;
    ASSERT_TRUE(buffer->GetCurrentPosition(&play, nullptr));
    EXPECT_EQ(play, 2u); // one frame into the third lap, in bytes

    // Stop keeps the position; playing again goes on from there.
    ASSERT_TRUE(buffer->Stop());
    EXPECT_EQ(Mix(*device, 1), (std::vector<int16_t>{0, 0}));
    ASSERT_TRUE(buffer->Play(false));
    EXPECT_EQ(Mix(*device, 3), (std::vector<int16_t>{20, 20, 30, 30, 0, 0}));
}

TEST(SoundDevice, DuplicatesShareDataButNotControlsAndSumWithClamping)
{
    auto device = MakeDevice();
    CSoundBuffer* original = MakeBuffer16(*device, {30000, 20000, 100});
    CSoundBuffer* a = device->DuplicateBuffer(original);
    CSoundBuffer* b = device->DuplicateBuffer(original);
    ASSERT_TRUE(a && b);
    ASSERT_TRUE(b->SetVolume(-600));
    ASSERT_TRUE(b->SetPan(10000)); // b only on the right
    device->ReleaseBuffer(original); // the data lives on in the duplicates
    ASSERT_TRUE(a->Play(false));
    ASSERT_TRUE(b->Play(false));
    std::vector<int16_t> out = Mix(*device, 3);
    EXPECT_EQ(out[0], 30000);
    EXPECT_EQ(out[1], 32767); // the sum clamps
    EXPECT_EQ(out[3], 20000 + Attenuated(20000, -600));
    EXPECT_EQ(out[4], 100);
    EXPECT_EQ(out[5], 100 + Attenuated(100, -600));
    EXPECT_EQ(device->GetBufferCount(), 3u); // the primary and the two duplicates
    EXPECT_EQ(device->DuplicateBuffer(nullptr), nullptr);
}

TEST(SoundDevice, EightBitSourcesAndOutputAreCentredOn128)
{
    auto device = MakeDevice(22050, 8);
    std::vector<uint8_t> silence(4);
    ASSERT_TRUE(device->MixOffline(silence.data(), 2));
    EXPECT_EQ(silence, (std::vector<uint8_t>{128, 128, 128, 128}));

    SSoundBufferDesc desc;
    desc.flags = SOUNDBUFFER_STATIC | ALL_CONTROLS;
    desc.bytes = 3;
    desc.format.channels = 1;
    desc.format.rate = 22050;
    desc.format.bits = 8;
    CSoundBuffer* buffer = device->CreateBuffer(desc);
    SSoundLock lock;
    ASSERT_TRUE(buffer->Lock(0, 3, lock));
    EXPECT_EQ(lock.first[0], 128); // a new 8-bit buffer holds silence
    const uint8_t bytes[] = {200, 0, 255};
    std::memcpy(lock.first, bytes, 3);
    ASSERT_TRUE(buffer->Unlock(lock));
    ASSERT_TRUE(buffer->Play(false));
    std::vector<uint8_t> out(6);
    ASSERT_TRUE(device->MixOffline(out.data(), 3));
    EXPECT_EQ(out, (std::vector<uint8_t>{200, 200, 0, 0, 255, 255}));
}

TEST(SoundDevice, StreamingLockWrapsAndTheCursorFollowsTheMix)
{
    auto device = MakeDevice();
    SSoundBufferDesc desc;
    desc.flags = SOUNDBUFFER_CTRL_VOLUME | SOUNDBUFFER_ACCURATE_POSITION;
    desc.bytes = 16; // eight mono frames
    desc.format.channels = 1;
    desc.format.rate = 44100;
    desc.format.bits = 16;
    CSoundBuffer* ring = device->CreateBuffer(desc);
    ASSERT_NE(ring, nullptr);

    SSoundLock lock;
    ASSERT_TRUE(ring->Lock(12, 8, lock));
    EXPECT_EQ(lock.firstBytes, 4u);
    EXPECT_EQ(lock.secondBytes, 4u);
    SSoundLock second;
    EXPECT_FALSE(ring->Lock(0, 2, second)); // one lock at a time
    const int16_t values[] = {7, 8, 1, 2};
    std::memcpy(lock.first, values, 4);
    std::memcpy(lock.second, values + 2, 4);
    ASSERT_TRUE(ring->Unlock(lock));
    EXPECT_FALSE(ring->Unlock(lock));

    ASSERT_TRUE(ring->SetCurrentPosition(12));
    ASSERT_TRUE(ring->Play(true));
    std::vector<int16_t> out = Mix(*device, 4);
    EXPECT_EQ(out, (std::vector<int16_t>{7, 7, 8, 8, 1, 1, 2, 2}));
    uint32_t play = 0;
    ASSERT_TRUE(ring->GetCurrentPosition(&play, nullptr));
    EXPECT_EQ(play, 4u);

    // Out-of-range requests are refused.
    EXPECT_FALSE(ring->Lock(16, 1, second));
    EXPECT_FALSE(ring->Lock(0, 17, second));
    EXPECT_FALSE(ring->SetCurrentPosition(16));
    EXPECT_FALSE(ring->SetPan(0)); // created without pan control
    EXPECT_FALSE(ring->SetVolume(1));
    EXPECT_FALSE(ring->SetVolume(-10001));
}

TEST(SoundDevice, PrimaryVolumeScalesTheWholeMixAndFormatNeedsPriority)
{
    std::unique_ptr<CSoundDevice> device = CSoundDevice::Create(ESoundOutput::Offline);
    SSoundBufferDesc primaryDesc;
    primaryDesc.flags = SOUNDBUFFER_PRIMARY | SOUNDBUFFER_CTRL_VOLUME;
    CSoundBuffer* primary = device->CreateBuffer(primaryDesc);
    SSoundFormat format;
    format.rate = 44100;
    EXPECT_FALSE(primary->SetFormat(format)); // normal level may not set the format
    ASSERT_TRUE(device->SetCooperativeLevel(nullptr, ESoundCooperation::Priority));
    ASSERT_TRUE(primary->SetFormat(format));
    EXPECT_EQ(device->GetOutputFormat().rate, 44100u);
    format.bits = 24;
    EXPECT_FALSE(primary->SetFormat(format));

    CSoundBuffer* buffer = MakeBuffer16(*device, {30000});
    ASSERT_TRUE(primary->SetVolume(-1000));
    ASSERT_TRUE(buffer->Play(false));
    std::vector<int16_t> out = Mix(*device, 1);
    EXPECT_EQ(out[0], Attenuated(30000, -1000));
}
