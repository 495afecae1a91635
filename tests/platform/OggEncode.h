#pragma once
// Ogg Vorbis files made in the test: a sine tone of a given pitch and level.

#include <cstdint>
#include <string>
#include <vector>

std::string EncodeOggTone(uint32_t rate, int channels, double seconds, double hz, double amplitude);

// Signed 16-bit mono helpers for measuring what the mixer produced.
double MeasureRms(const std::vector<int16_t>& samples);
// The dominant pitch from the rate of upward zero crossings.
double MeasurePitch(const std::vector<int16_t>& samples, uint32_t rate);
