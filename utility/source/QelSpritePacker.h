#pragma once
// Packs frames of one size onto power-of-two pages, row by row, and describes them
// as a sprite file (see QelSpriteFormat.h). Used by tesstool and by tests.

#include "utility/source/QelSpriteFormat.h"

#include <cstdint>
#include <vector>

struct SSpritePackOptions
{
    int32_t pixelFormat = 2;
    uint32_t storage = spritefile::kStorageRaw;
    // Largest page side; a page holds as many frames as fit, further frames start a new page.
    uint32_t maxPageSide = 256;
};

// frames: each frameWidth x frameHeight pixels of blue, green, red, alpha. False when
// there are no frames, a frame has the wrong size or a frame does not fit on a page.
bool PackSpriteFrames(const std::vector<std::vector<uint8_t>>& frames, uint32_t frameWidth, uint32_t frameHeight,
                      const SSpritePackOptions& options, SSpriteFileData& out);
