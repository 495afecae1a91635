#include "platform/sound/WaveFile.h"

#include <cctype>
#include <cstring>

namespace
{
uint16_t ReadU16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t ReadU32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

bool MatchesNoCase(const uint8_t* p, const char* id)
{
    for (int i = 0; i < 4; ++i)
    {
        if (std::tolower(p[i]) != std::tolower(static_cast<unsigned char>(id[i])))
            return false;
    }
    return true;
}

int32_t ReadRaw(const uint8_t* samples, uint32_t index, uint16_t bits)
{
    return bits == 8 ? samples[index] : static_cast<int16_t>(ReadU16(samples + index * 2));
}

void WriteSample(uint8_t*& out, int32_t raw, uint16_t fromBits, uint16_t toBits)
{
    if (toBits == 8)
    {
        // 16 to 8 bits: the high byte, moved from signed to unsigned.
        int32_t value = fromBits == 8 ? raw : (raw >> 8) + 128;
        *out++ = static_cast<uint8_t>(value);
    }
    else
    {
        int32_t value = fromBits == 8 ? (raw - 128) * 256 : raw;
        uint16_t bits = static_cast<uint16_t>(static_cast<int16_t>(value));
        *out++ = static_cast<uint8_t>(bits & 0xFF);
        *out++ = static_cast<uint8_t>(bits >> 8);
    }
}
} // namespace

bool ParseWave(const uint8_t* file, size_t size, SWaveData& wave, const char** reason)
{
    const char* dummy = nullptr;
    const char*& why = reason ? *reason : dummy;
    if (!file || size < 12 || !MatchesNoCase(file, "RIFF") || !MatchesNoCase(file + 8, "WAVE"))
    {
        why = "is not a RIFF WAVE file";
        return false;
    }
    const uint8_t* format = nullptr;
    const uint8_t* data = nullptr;
    uint32_t dataBytes = 0;
    size_t pos = 12;
    while (size - pos >= 8)
    {
        const uint8_t* id = file + pos;
        uint32_t length = ReadU32(file + pos + 4);
        pos += 8;
        if (length > size - pos)
        {
            why = "has a chunk running past the end of the file";
            return false;
        }
        if (!format && MatchesNoCase(id, "fmt "))
        {
            if (length < 16)
            {
                why = "has a short fmt chunk";
                return false;
            }
            format = file + pos;
        }
        else if (!data && MatchesNoCase(id, "data"))
        {
            data = file + pos;
            dataBytes = length;
        }
        pos += length;
        // Writers pad odd chunks to an even length; no chunk id starts with a NUL.
        if ((length & 1) && pos < size && file[pos] == 0)
            ++pos;
    }
    if (!format)
    {
        why = "has no fmt chunk";
        return false;
    }
    if (!data)
    {
        why = "has no data chunk";
        return false;
    }
    if (ReadU16(format) != 1)
    {
        why = "is not PCM";
        return false;
    }
    wave.format.channels = ReadU16(format + 2);
    wave.format.rate = ReadU32(format + 4);
    wave.format.bits = ReadU16(format + 14);
    if (!wave.format.IsValid())
    {
        why = "has an unsupported sample format";
        return false;
    }
    wave.samples = data;
    wave.bytes = dataBytes - dataBytes % wave.format.GetBlockAlign();
    if (wave.bytes == 0)
    {
        why = "holds no samples";
        return false;
    }
    return true;
}

uint32_t GetConvertedWaveSize(const SWaveData& wave, uint16_t channels, uint16_t bits)
{
    uint32_t frames = wave.bytes / wave.format.GetBlockAlign();
    return frames * channels * (bits / 8u);
}

void ConvertWaveSamples(const SWaveData& wave, uint16_t channels, uint16_t bits, uint8_t* out)
{
    const uint16_t inChannels = wave.format.channels;
    const uint16_t inBits = wave.format.bits;
    const uint32_t frames = wave.bytes / wave.format.GetBlockAlign();
    for (uint32_t f = 0; f < frames; ++f)
    {
        uint32_t first = f * inChannels;
        if (inChannels == 2 && channels == 1)
        {
            // Averaged in the source's own sample size, truncated toward zero.
            int32_t mixed = (ReadRaw(wave.samples, first, inBits) + ReadRaw(wave.samples, first + 1, inBits)) / 2;
            WriteSample(out, mixed, inBits, bits);
        }
        else
        {
            for (uint16_t c = 0; c < channels; ++c)
            {
                uint32_t source = inChannels == 2 ? first + c : first;
                WriteSample(out, ReadRaw(wave.samples, source, inBits), inBits, bits);
            }
        }
    }
}

std::vector<uint8_t> BuildWave(const SSoundFormat& format, const void* samples, uint32_t bytes)
{
    std::vector<uint8_t> file;
    auto put32 = [&file](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            file.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    auto put16 = [&file](uint32_t v) {
        file.push_back(static_cast<uint8_t>(v));
        file.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto putId = [&file](const char* id) {
        for (int i = 0; i < 4; ++i)
            file.push_back(static_cast<uint8_t>(id[i]));
    };
    putId("RIFF");
    put32(36 + bytes + (bytes & 1));
    putId("WAVE");
    putId("fmt ");
    put32(16);
    put16(1);
    put16(format.channels);
    put32(format.rate);
    put32(format.rate * format.GetBlockAlign());
    put16(format.GetBlockAlign());
    put16(format.bits);
    putId("data");
    put32(bytes);
    const uint8_t* p = static_cast<const uint8_t*>(samples);
    file.insert(file.end(), p, p + bytes);
    if (bytes & 1)
        file.push_back(0);
    return file;
}
