#pragma once
// RIFF WAVE files held in memory: the PCM format and samples, every chunk length
// checked against the file, and the conversion of the samples to another channel
// count or sample size.

#include "platform/sound/SoundBuffer.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct SWaveData
{
    SSoundFormat format;
    const uint8_t* samples = nullptr; // points into the file's memory
    uint32_t bytes = 0;               // whole frames only
};

// False with a short reason (e.g. "has no fmt chunk") for anything but 8- or 16-bit
// PCM with one or two channels and at least one frame.
bool ParseWave(const uint8_t* file, size_t size, SWaveData& wave, const char** reason);

// Bytes of the samples once converted to the given channels and bits.
uint32_t GetConvertedWaveSize(const SWaveData& wave, uint16_t channels, uint16_t bits);

// Converts channels first (two to one: the average; one to two: each sample twice),
// then bits (16 to 8: the high byte plus 128; 8 to 16: (byte - 128) * 256). out holds
// GetConvertedWaveSize bytes.
void ConvertWaveSamples(const SWaveData& wave, uint16_t channels, uint16_t bits, uint8_t* out);

// A canonical PCM file ("fmt " then "data") of the given samples, for tools and tests.
std::vector<uint8_t> BuildWave(const SSoundFormat& format, const void* samples, uint32_t bytes);
