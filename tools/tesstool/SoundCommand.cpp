// tesstool sound: describes WAV and Ogg Vorbis files as the game reads them, and
// writes test tones as WAV files for the sample data.

#include "platform/OggStreamDecoder.h"
#include "platform/sound/WaveFile.h"
#include "tools/tesstool/ToolCommand.h"
#include "utility/source/QelFile.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace
{
bool EndsWithNoCase(const std::string& text, const char* suffix)
{
    std::string tail(suffix);
    if (text.size() < tail.size())
        return false;
    for (size_t i = 0; i < tail.size(); ++i)
    {
        char a = text[text.size() - tail.size() + i];
        if (std::tolower(static_cast<unsigned char>(a)) != tail[i])
            return false;
    }
    return true;
}

int OggInfo(const std::string& path)
{
    COggStreamDecoder decoder;
    if (!decoder.Open(path.c_str()))
    {
        std::fprintf(stderr, "tesstool: %s is not an Ogg Vorbis file the game reads\n", path.c_str());
        return 1;
    }
    uint32_t rate = decoder.GetRate();
    std::vector<uint8_t> block(4096);
    uint64_t bytes = 0;
    long got = 0;
    while ((got = decoder.Read(block.data(), static_cast<uint32_t>(block.size()), false)) > 0)
        bytes += static_cast<uint64_t>(got);
    bool playable = got == 0 && (rate == 22050 || rate == 44100);
    // The stream buffers are mono: the decoded 16-bit words are played as they come.
    std::printf("%s: Ogg Vorbis, %u Hz, %.3f s as mono%s\n", path.c_str(), rate,
                rate ? static_cast<double>(bytes) / 2.0 / rate : 0.0,
                got < 0 ? " (decoding fails part-way)" : (playable ? "" : " (the game refuses its rate)"));
    return playable ? 0 : 1;
}

int WaveInfo(const std::string& path)
{
    std::unique_ptr<CFileInterface> file(CreateFileObject());
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    bool isCopy = false;
    if (!file || !OpenFileByPath(*file, path.c_str(), FILE_OPEN_READ) ||
        !file->ReadWholeFile(path.c_str(), data, size, isCopy))
    {
        std::fprintf(stderr, "tesstool: cannot read %s\n", path.c_str());
        return 1;
    }
    SWaveData wave;
    const char* reason = nullptr;
    bool ok = ParseWave(data, size, wave, &reason);
    if (ok)
        std::printf("%s: WAV, %u Hz, %u channel%s, %u bits, %.3f s\n", path.c_str(), wave.format.rate,
                    wave.format.channels, wave.format.channels == 1 ? "" : "s", wave.format.bits,
                    static_cast<double>(wave.bytes) / wave.format.GetBlockAlign() / wave.format.rate);
    else
        std::fprintf(stderr, "tesstool: %s %s\n", path.c_str(), reason);
    ReleaseWholeFile(data, isCopy);
    return ok ? 0 : 1;
}

bool ParseNumber(const std::string& text, double& value)
{
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == '\0';
}

// tone OUT RATE CHANNELS BITS HZ SECONDS [LEVEL]
int Tone(const std::vector<std::string>& args)
{
    double numbers[6] = {0, 0, 0, 0, 0, 0.5};
    for (size_t i = 2; i < args.size() && i < 8; ++i)
    {
        if (!ParseNumber(args[i], numbers[i - 2]))
        {
            std::fprintf(stderr, "tesstool: '%s' is not a number\n", args[i].c_str());
            return 2;
        }
    }
    SSoundFormat format;
    format.rate = static_cast<uint32_t>(numbers[0]);
    format.channels = static_cast<uint16_t>(numbers[1]);
    format.bits = static_cast<uint16_t>(numbers[2]);
    double hz = numbers[3], seconds = numbers[4], level = numbers[5];
    if (!format.IsValid() || seconds <= 0 || seconds > 600 || level < 0 || level > 1)
    {
        std::fprintf(stderr, "tesstool: a tone needs a rate of 100 to 200000 Hz, 1 or 2 channels, 8 or 16 bits, "
                             "up to 600 s and a level of 0 to 1\n");
        return 2;
    }
    uint32_t frames = static_cast<uint32_t>(seconds * format.rate);
    std::vector<uint8_t> samples;
    samples.reserve(static_cast<size_t>(frames) * format.GetBlockAlign());
    for (uint32_t i = 0; i < frames; ++i)
    {
        double v = level * std::sin(2.0 * M_PI * hz * i / format.rate);
        long s16 = std::lround(v * 32767.0);
        for (uint16_t c = 0; c < format.channels; ++c)
        {
            if (format.bits == 8)
            {
                samples.push_back(static_cast<uint8_t>(std::lround(v * 127.0) + 128));
            }
            else
            {
                samples.push_back(static_cast<uint8_t>(s16 & 0xFF));
                samples.push_back(static_cast<uint8_t>((s16 >> 8) & 0xFF));
            }
        }
    }
    std::vector<uint8_t> wave = BuildWave(format, samples.data(), static_cast<uint32_t>(samples.size()));
    std::unique_ptr<CFileInterface> file(CreateFileObject());
    uint32_t written = 0;
    if (!file || !OpenFileByPath(*file, args[1].c_str(), FILE_OPEN_WRITE) ||
        !file->Write(wave.data(), static_cast<uint32_t>(wave.size()), &written) || written != wave.size() ||
        !file->Close())
    {
        std::fprintf(stderr, "tesstool: cannot write %s\n", args[1].c_str());
        return 1;
    }
    return 0;
}

int RunSoundCommand(const std::vector<std::string>& args)
{
    if (args.size() == 2 && args[0] == "info")
        return EndsWithNoCase(args[1], ".ogg") ? OggInfo(args[1]) : WaveInfo(args[1]);
    if (args.size() >= 7 && args.size() <= 8 && args[0] == "tone")
        return Tone(args);
    std::fprintf(stderr, "usage: tesstool sound info FILE.wav|FILE.ogg\n"
                         "       tesstool sound tone OUT.wav RATE CHANNELS BITS HZ SECONDS [LEVEL]\n");
    return 2;
}

CToolCommand s_sound("sound", "info FILE | tone OUT.wav RATE CHANNELS BITS HZ SECONDS [LEVEL]", &RunSoundCommand);
} // namespace
