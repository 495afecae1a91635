#include "platform/sound/WaveFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{
SSoundFormat Format(uint16_t channels, uint16_t bits, uint32_t rate = 22050)
{
    SSoundFormat format;
    format.channels = channels;
    format.bits = bits;
    format.rate = rate;
    return format;
}

std::vector<uint8_t> Chunk(const char* id, const std::vector<uint8_t>& body, bool pad = true)
{
    std::vector<uint8_t> chunk(id, id + 4);
    uint32_t n = static_cast<uint32_t>(body.size());
    for (int i = 0; i < 4; ++i)
        chunk.push_back(static_cast<uint8_t>(n >> (8 * i)));
    chunk.insert(chunk.end(), body.begin(), body.end());
    if (pad && (n & 1))
        chunk.push_back(0);
    return chunk;
}

std::vector<uint8_t> FmtBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, size_t size = 16)
{
    std::vector<uint8_t> body(size, 0);
    auto put = [&body](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n && at + i < body.size(); ++i)
            body[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    put(0, tag, 2);
    put(2, channels, 2);
    put(4, rate, 4);
    put(8, rate * channels * bits / 8, 4);
    put(12, channels * bits / 8, 2);
    put(14, bits, 2);
    return body;
}

std::vector<uint8_t> Riff(const std::vector<std::vector<uint8_t>>& chunks, const char* riff = "RIFF",
                          const char* wave = "WAVE")
{
    std::vector<uint8_t> file(riff, riff + 4);
    file.insert(file.end(), {0, 0, 0, 0});
    file.insert(file.end(), wave, wave + 4);
    for (const auto& c : chunks)
        file.insert(file.end(), c.begin(), c.end());
    return file;
}

bool Parse(const std::vector<uint8_t>& file, SWaveData& wave, std::string* why = nullptr)
{
    const char* reason = nullptr;
    bool ok = ParseWave(file.data(), file.size(), wave, &reason);
    if (why)
        *why = reason ? reason : "";
    return ok;
}
} // namespace

TEST(WaveFile, EveryPcmFormatLoads)
{
    const SSoundFormat formats[] = {Format(1, 8), Format(2, 8), Format(1, 16, 44100), Format(2, 16, 11025)};
    const uint8_t samples[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    for (const SSoundFormat& format : formats)
    {
        std::vector<uint8_t> file = BuildWave(format, samples, sizeof(samples));
        SWaveData wave;
        ASSERT_TRUE(Parse(file, wave)) << format.channels << "x" << format.bits;
        EXPECT_EQ(wave.format.channels, format.channels);
        EXPECT_EQ(wave.format.bits, format.bits);
        EXPECT_EQ(wave.format.rate, format.rate);
        EXPECT_EQ(wave.bytes, 8u);
        EXPECT_EQ(std::memcmp(wave.samples, samples, 8), 0);
    }
}

TEST(WaveFile, ChunksAreFoundInAnyOrderPastOthersAndPadding)
{
    const std::vector<uint8_t> data = {10, 0, 20, 0, 30, 0};
    struct SCase
    {
        const char* name;
        std::vector<uint8_t> file;
        uint32_t bytes;
    };
    const SCase cases[] = {
        {"fmt after data", Riff({Chunk("data", data), Chunk("fmt ", FmtBody(1, 1, 22050, 16))}), 6},
        {"odd LIST chunk padded", Riff({Chunk("LIST", {1, 2, 3}), Chunk("fmt ", FmtBody(1, 1, 22050, 16)),
                                        Chunk("data", data)}), 6},
        {"odd chunk unpadded", Riff({Chunk("junk", {1, 2, 3}, false), Chunk("fmt ", FmtBody(1, 1, 22050, 16)),
                                     Chunk("data", data)}), 6},
        {"lower-case ids", Riff({Chunk("fmt ", FmtBody(1, 1, 22050, 16)), Chunk("data", data)}, "riff", "wave"), 6},
        {"fmt with extra bytes", Riff({Chunk("fmt ", FmtBody(1, 1, 22050, 16, 18)), Chunk("data", data)}), 6},
        {"partial last frame dropped", Riff({Chunk("fmt ", FmtBody(1, 2, 22050, 16)), Chunk("data", data)}), 4},
        {"trailing bytes ignored", [&] {
             std::vector<uint8_t> f = Riff({Chunk("fmt ", FmtBody(1, 1, 22050, 16)), Chunk("data", data)});
             f.insert(f.end(), {'x', 'y', 'z'});
             return f;
         }(), 6},
    };
    for (const SCase& c : cases)
    {
        SWaveData wave;
        std::string why;
        ASSERT_TRUE(Parse(c.file, wave, &why)) << c.name << ": " << why;
        EXPECT_EQ(wave.bytes, c.bytes) << c.name;
        EXPECT_EQ(wave.samples[0], 10) << c.name;
    }
}

TEST(WaveFile, BadFilesAreRefusedWithAReason)
{
    const std::vector<uint8_t> data = {1, 0, 2, 0};
    const std::vector<uint8_t> good = Riff({Chunk("fmt ", FmtBody(1, 1, 22050, 16)), Chunk("data", data)});
    std::vector<uint8_t> overlong = good;
    overlong[40] = 5; // the data chunk claims a byte more than the file holds
    std::vector<uint8_t> huge = good;
    std::memset(&huge[40], 0xFF, 4);
    struct SCase
    {
        const char* name;
        std::vector<uint8_t> file;
    };
    const SCase cases[] = {
        {"empty", {}},
        {"header only", std::vector<uint8_t>(good.begin(), good.begin() + 11)},
        {"not RIFF", Riff({}, "RIFX")},
        {"not WAVE", Riff({}, "RIFF", "AVI ")},
        {"no fmt", Riff({Chunk("data", data)})},
        {"no data", Riff({Chunk("fmt ", FmtBody(1, 1, 22050, 16))})},
        {"float", Riff({Chunk("fmt ", FmtBody(3, 1, 22050, 16)), Chunk("data", data)})},
        {"extensible", Riff({Chunk("fmt ", FmtBody(0xFFFE, 1, 22050, 16)), Chunk("data", data)})},
        {"24 bits", Riff({Chunk("fmt ", FmtBody(1, 1, 22050, 24)), Chunk("data", {1, 2, 3})})},
        {"three channels", Riff({Chunk("fmt ", FmtBody(1, 3, 22050, 16)), Chunk("data", {1, 2, 3, 4, 5, 6})})},
        {"no channels", Riff({Chunk("fmt ", FmtBody(1, 0, 22050, 16)), Chunk("data", data)})},
        {"rate 0", Riff({Chunk("fmt ", FmtBody(1, 1, 0, 16)), Chunk("data", data)})},
        {"short fmt", Riff({Chunk("fmt ", FmtBody(1, 1, 22050, 16, 14)), Chunk("data", data)})},
        {"data past the end", overlong},
        {"huge length", huge},
        {"truncated data", std::vector<uint8_t>(good.begin(), good.end() - 1)},
        {"no whole frame", Riff({Chunk("fmt ", FmtBody(1, 2, 22050, 16)), Chunk("data", {1, 2})})},
    };
    for (const SCase& c : cases)
    {
        SWaveData wave;
        std::string why;
        EXPECT_FALSE(Parse(c.file, wave, &why)) << c.name;
        EXPECT_FALSE(why.empty()) << c.name;
    }
    SWaveData wave;
    EXPECT_TRUE(Parse(good, wave));
}

TEST(WaveFile, ConversionTakesChannelsFirstThenBits)
{
    struct SCase
    {
        const char* name;
        SSoundFormat from;
        std::vector<uint8_t> in;
        uint16_t channels;
        uint16_t bits;
        std::vector<uint8_t> out;
    };
    auto s16 = [](std::initializer_list<int16_t> values) {
        std::vector<uint8_t> bytes;
        for (int16_t v : values)
        {
            bytes.push_back(static_cast<uint8_t>(static_cast<uint16_t>(v) & 0xFF));
            bytes.push_back(static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8));
        }
        return bytes;
    };
    const SCase cases[] = {
        {"stereo to mono averages, truncating toward zero", Format(2, 16), s16({3, -6, 1000, 3000, -32768, -32767}),
         1, 16, s16({-1, 2000, -32767})},
        {"16 to 8 bits keeps the high byte", Format(1, 16), s16({-32768, -1, 0, 255, 256, 32767}), 1, 8,
         {0, 127, 128, 128, 129, 255}},
        {"stereo 16 to mono 8", Format(2, 16), s16({512, 1024, -512, -1024}), 1, 8, {128 + 3, 128 - 3}},
        {"8 to 16 bits", Format(1, 8), {0, 128, 255}, 1, 16, s16({-32768, 0, 32512})},
        {"stereo 8 to mono 8", Format(2, 8), {0, 255, 100, 101}, 1, 8, {127, 100}},
        {"mono to stereo doubles", Format(1, 16), s16({5, -7}), 2, 16, s16({5, 5, -7, -7})},
        {"unchanged", Format(2, 8), {1, 2, 3, 4}, 2, 8, {1, 2, 3, 4}},
    };
    for (const SCase& c : cases)
    {
        std::vector<uint8_t> file = BuildWave(c.from, c.in.data(), static_cast<uint32_t>(c.in.size()));
        SWaveData wave;
        ASSERT_TRUE(Parse(file, wave)) << c.name;
        ASSERT_EQ(GetConvertedWaveSize(wave, c.channels, c.bits), c.out.size()) << c.name;
        std::vector<uint8_t> out(c.out.size());
        ConvertWaveSamples(wave, c.channels, c.bits, out.data());
        EXPECT_EQ(out, c.out) << c.name;
    }
}
