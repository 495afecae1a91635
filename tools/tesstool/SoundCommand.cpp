// tesstool sound: describes WAV and Ogg Vorbis files as the game reads them, and
// writes test tones as WAV files for the sample data.

#include "platform/OggStreamDecoder.h"
#include "platform/sound/WaveFile.h"
#include "tools/tesstool/ToolCommand.h"
#include "tools/tesstool/ToolFiles.h"
#include "utility/source/QelFile.h"

#include <algorithm>
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

// Numbers from the arguments, or false with a message.
bool ParseNumbers(const std::vector<std::string>& args, size_t first, double* numbers, size_t count)
{
    for (size_t i = first; i < args.size() && i - first < count; ++i)
    {
        if (!ParseNumber(args[i], numbers[i - first]))
        {
            std::fprintf(stderr, "tesstool: '%s' is not a number\n", args[i].c_str());
            return false;
        }
    }
    return true;
}

// 16-bit mono samples (values -1..1) written as a WAV file of the rate.
int WriteMono16(const std::string& path, uint32_t rate, const std::vector<double>& values)
{
    SSoundFormat format;
    format.rate = rate;
    format.channels = 1;
    format.bits = 16;
    std::vector<uint8_t> samples;
    samples.reserve(values.size() * 2);
    for (double v : values)
    {
        long s16 = std::lround(std::max(-1.0, std::min(1.0, v)) * 32767.0);
        samples.push_back(static_cast<uint8_t>(s16 & 0xFF));
        samples.push_back(static_cast<uint8_t>((s16 >> 8) & 0xFF));
    }
    if (!WriteToolFile(path, BuildWave(format, samples.data(), static_cast<uint32_t>(samples.size()))))
    {
        std::fprintf(stderr, "tesstool: cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}

// The share of full level at a moment: a 5 ms rise, then a fall to nothing at the end
// (a burst that dies away) when decaying, else a 5 ms fall at the end.
double Envelope(uint32_t i, uint32_t frames, uint32_t rate, bool decaying)
{
    const double edge = 0.005 * rate;
    double level = std::min(1.0, i / edge);
    if (decaying)
        return level * (1.0 - double(i) / frames) * (1.0 - double(i) / frames);
    return std::min(level, (frames - i) / edge);
}

// noise OUT RATE SECONDS [LEVEL]: a burst of noise that dies away (explosions, sparks),
// the same every time.
int Noise(const std::vector<std::string>& args)
{
    double numbers[3] = {0, 0, 0.5};
    if (!ParseNumbers(args, 2, numbers, 3))
        return 2;
    const uint32_t rate = static_cast<uint32_t>(numbers[0]);
    if (rate < 100 || rate > 200000 || numbers[1] <= 0 || numbers[1] > 60 || numbers[2] < 0 || numbers[2] > 1)
    {
        std::fprintf(stderr, "tesstool: noise needs a rate of 100 to 200000 Hz, up to 60 s and a level of 0 to 1\n");
        return 2;
    }
    const uint32_t frames = static_cast<uint32_t>(numbers[1] * rate);
    std::vector<double> values(frames);
    uint32_t state = 0x12345678u;
    double low = 0.0;
    for (uint32_t i = 0; i < frames; ++i)
    {
        state = state * 1664525u + 1013904223u;
        const double white = double(state >> 8) / double(1u << 24) * 2.0 - 1.0;
        // A little low-pass makes it rumble rather than hiss.
        low += (white - low) * 0.35;
        values[i] = numbers[2] * low * Envelope(i, frames, rate, true);
    }
    return WriteMono16(args[1], rate, values);
}

// sweep OUT RATE FROM_HZ TO_HZ SECONDS [LEVEL]: a tone gliding from one pitch to another
// (shots, charges, warps).
int Sweep(const std::vector<std::string>& args)
{
    double numbers[5] = {0, 0, 0, 0, 0.5};
    if (!ParseNumbers(args, 2, numbers, 5))
        return 2;
    const uint32_t rate = static_cast<uint32_t>(numbers[0]);
    const double from = numbers[1], to = numbers[2], seconds = numbers[3], level = numbers[4];
    if (rate < 100 || rate > 200000 || from <= 0 || to <= 0 || seconds <= 0 || seconds > 60 || level < 0 ||
        level > 1)
    {
        std::fprintf(stderr, "tesstool: a sweep needs a rate of 100 to 200000 Hz, pitches above 0, up to 60 s and "
                             "a level of 0 to 1\n");
        return 2;
    }
    const uint32_t frames = static_cast<uint32_t>(seconds * rate);
    std::vector<double> values(frames);
    double phase = 0.0;
    for (uint32_t i = 0; i < frames; ++i)
    {
        const double hz = from + (to - from) * double(i) / frames;
        phase += 2.0 * M_PI * hz / rate;
        values[i] = level * std::sin(phase) * Envelope(i, frames, rate, false);
    }
    return WriteMono16(args[1], rate, values);
}

// tone OUT RATE CHANNELS BITS HZ SECONDS [LEVEL]
int Tone(const std::vector<std::string>& args)
{
    double numbers[6] = {0, 0, 0, 0, 0, 0.5};
    if (!ParseNumbers(args, 2, numbers, 6))
        return 2;
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
    if (!WriteToolFile(args[1], BuildWave(format, samples.data(), static_cast<uint32_t>(samples.size()))))
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
    if (args.size() >= 4 && args.size() <= 5 && args[0] == "noise")
        return Noise(args);
    if (args.size() >= 6 && args.size() <= 7 && args[0] == "sweep")
        return Sweep(args);
    std::fprintf(stderr, "usage: tesstool sound info FILE.wav|FILE.ogg\n"
                         "       tesstool sound tone OUT.wav RATE CHANNELS BITS HZ SECONDS [LEVEL]\n"
                         "       tesstool sound noise OUT.wav RATE SECONDS [LEVEL]\n"
                         "       tesstool sound sweep OUT.wav RATE FROM_HZ TO_HZ SECONDS [LEVEL]\n");
    return 2;
}

CToolCommand s_sound("sound",
                     "info FILE | tone OUT.wav RATE CHANNELS BITS HZ SECONDS [LEVEL] | noise OUT.wav RATE SECONDS "
                     "[LEVEL] | sweep OUT.wav RATE FROM_HZ TO_HZ SECONDS [LEVEL]",
                     &RunSoundCommand);
} // namespace
