#pragma once
// The sprite file format (".spr"), read from and written to memory. The game's
// sprite bank loads through it, the unpacker rewrites JPEG-2000 pages as raw ones
// through it, and tesstool builds sample sprites with it.
//
// Layout, little-endian: "SPR", version 5, pixel format (int32), frame width and
// height, page count, pages, frame count, frames. A page is width, height, storage
// (0 raw, 1 JPEG-2000), then raw pixels (3 bytes B, G, R for formats 0 and 1,
// 4 bytes B, G, R, A for formats 2 to 4) or a 32-bit length and a JPEG-2000 image.
// A frame is page index, top v, left u (v before u).

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace spritefile
{
const uint8_t kVersion = 5;
const int32_t kFormatCount = 5;
const uint32_t kStorageRaw = 0;
const uint32_t kStorageJpeg2000 = 1;
// Sane limits: a page side beyond this, or more pages or frames than these, is a
// broken file rather than a sprite.
const uint32_t kMaxPageSide = 4096;
const uint32_t kMaxPages = 1024;
const uint32_t kMaxFrames = 65536;
// All pages of one file together, once decoded (4 bytes a pixel): four pages of the
// largest side. A few hundred bytes of JPEG-2000 can describe a page of the largest
// side, so without this a small file could ask for gigabytes.
const uint64_t kMaxDecodedBytes = uint64_t(256) << 20;

// Bytes a pixel takes in a raw page of this format (3 or 4).
uint32_t GetStoredPixelSize(int32_t pixelFormat);
// True when the format keeps an alpha channel (formats 2 to 4).
bool HasAlpha(int32_t pixelFormat);
} // namespace spritefile

struct SSpritePageData
{
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t storage = spritefile::kStorageRaw;
    // width x height x 4 bytes: blue, green, red, alpha (alpha 255 for formats 0 and 1).
    std::vector<uint8_t> pixels;
    // The JPEG-2000 image as stored, for storage 1 (kept by the parser; when empty
    // the writer encodes the pixels).
    std::vector<uint8_t> encoded;
};

struct SSpriteFrameData
{
    uint32_t page = 0;
    float topV = 0.0f;
    float leftU = 0.0f;
};

struct SSpriteFileData
{
    int32_t pixelFormat = 0;
    uint32_t frameWidth = 0;
    uint32_t frameHeight = 0;
    std::vector<SSpritePageData> pages;
    std::vector<SSpriteFrameData> frames;
};

// Parses a whole sprite file. Every count, size, storage word, page index and
// texture coordinate is checked against the bytes present and the limits above
// (the pages' decoded size before any page is decoded),
// and every JPEG-2000 page must decode to exactly its page's size with the
// components its format needs. On failure gives false, a one-line reason in
// error (when given) and an empty out.
bool ParseSpriteFile(const uint8_t* data, size_t size, SSpriteFileData& out, std::string* error = nullptr);

// Serialises a sprite file. Pages of storage 1 are written from their encoded
// bytes, or encoded losslessly from their pixels when those are empty. False when
// the data breaks the rules the parser enforces or encoding fails.
bool WriteSpriteFile(const SSpriteFileData& file, std::vector<uint8_t>& out, std::string* error = nullptr);
