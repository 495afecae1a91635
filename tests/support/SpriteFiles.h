#pragma once
// Pictures and sprite files made with the game's own packer, for the tests of the
// sprite reader and of the unpacker.

#include "utility/source/QelSpriteFormat.h"

#include <cstdint>
#include <string>
#include <vector>

// width x height pixels of blue, green, red, alpha that differ from pixel to pixel.
std::vector<uint8_t> MakePixels(uint32_t width, uint32_t height, uint8_t seed);

// A small valid file: five 8 x 8 frames, four on a 16 x 16 page and one on an 8 x 8 page.
SSpriteFileData MakeSpriteData(int32_t format, uint32_t storage);

// The bytes of a sprite file of `count` frames of the size (pixels as MakePixels),
// for tests that put sprite files into a program folder; empty when packing fails.
std::string MakeSpriteFileBytes(uint32_t width, uint32_t height, int count);
