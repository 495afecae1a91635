#pragma once
// TGA images: the reader behind every texture file and the 32-bit writer behind
// screenshots and the developer tool.

#include <cstddef>
#include <cstdint>
#include <vector>

// A decoded image: rows from the top down, four bytes per pixel in the order
// blue, green, red, alpha; alpha 255 where the file has none.
struct STgaImage
{
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;
};

// The fixed 18-byte header, as stored.
struct STgaHeader
{
    uint8_t idLength = 0;
    uint8_t colourMapType = 0;
    uint8_t imageType = 0;
    uint16_t colourMapFirst = 0;
    uint16_t colourMapCount = 0;
    uint8_t colourMapEntryBits = 0;
    uint16_t originX = 0;
    uint16_t originY = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t pixelDepth = 0;
    uint8_t descriptor = 0;

    bool IsTopLeft() const { return (descriptor & 0x20) != 0; }
    bool IsRunLength() const { return imageType == 9 || imageType == 10; }
};

constexpr size_t TGA_HEADER_SIZE = 18;

// False when fewer than 18 bytes are given.
bool ReadTgaHeader(const uint8_t* data, size_t size, STgaHeader& header);

// Decodes a whole file held in memory. Every size, offset and run is checked against
// the bytes given; on failure the image is left empty and a reason goes to the
// debug output.
bool DecodeTga(const uint8_t* data, size_t size, STgaImage& image);

// Reads a file through the file layer (loose file first, then the pack archive).
bool LoadTga(const char* fileName, STgaImage& image);
// The file's bytes, read the same way.
bool ReadTgaFileBytes(const char* fileName, std::vector<uint8_t>& bytes);

// A 32-bit, top-left-origin, uncompressed TGA of top-down blue-green-red-alpha rows.
std::vector<uint8_t> EncodeTga32(int32_t width, int32_t height, const uint8_t* pixels);

// Writes EncodeTga32's bytes to a temporary name and renames it over the file.
bool SaveTga32(const char* fileName, int32_t width, int32_t height, const uint8_t* pixels);
