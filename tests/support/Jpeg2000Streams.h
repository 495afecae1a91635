#pragma once
// Hand-made JPEG-2000 headers for the readers' tests: size markers no encoder of ours
// writes, and pictures whose components are subsampled.

#include <array>
#include <cstdint>
#include <vector>

struct SSizeMarker
{
    uint32_t x1 = 64; // picture right and bottom edges, then its top-left corner
    uint32_t y1 = 64;
    uint32_t x0 = 0;
    uint32_t y0 = 0;
    uint32_t tileWidth = 64;
    uint32_t tileHeight = 64;
    uint32_t tileX0 = 0;
    uint32_t tileY0 = 0;
    // Per component: precision - 1 (with 0x80 for signed values), then the horizontal and
    // vertical subsampling steps.
    std::vector<std::array<uint8_t, 3>> components = {{7, 1, 1}, {7, 1, 1}, {7, 1, 1}};
};

// A code stream's start: SOC, the size marker, then the first tile-part marker.
std::vector<uint8_t> BuildCodeStreamHead(const SSizeMarker& marker);

// A code stream in a JP2 file: signature and file-type boxes, then the code-stream box.
std::vector<uint8_t> WrapInJp2(const std::vector<uint8_t>& codeStream);

// Restates an encoded picture (either container, one tile, top-left at 0) as a picture
// of twice its width and height whose components are all subsampled by 2: the samples,
// and so the decoded components, stay those of the source. False when no size marker is
// found.
bool SubsampleJpeg2000Alike(std::vector<uint8_t>& encoded);
