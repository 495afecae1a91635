#pragma once
// Mono samples (-1 to 1) as an Ogg Vorbis file, through libvorbisenc.

#include <cstdint>
#include <vector>

// The whole file, or nothing when the encoder refuses the rate.
std::vector<uint8_t> EncodeOggVorbis(const std::vector<float>& samples, uint32_t rate, float quality);
