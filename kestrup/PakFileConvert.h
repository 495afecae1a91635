#pragma once
// What the unpacker stores for each file of the resource pack: JPEG-2000 images
// (".jp2") become uncompressed TGA images (".tga"), sprite files (".spr") get raw
// pages in place of JPEG-2000 ones, and every other file is stored as it is.

#include "utility/source/QelJpeg2000.h"
#include "utility/source/QelPakFile.h"

#include <cstdint>
#include <string>
#include <vector>

enum class EPakFileKind
{
    Copy,
    Sprite,
    Image,
};

// By the whole extension, ignoring case (".JP2" is an image, ".jp2x" is not).
EPakFileKind GetPakFileKind(const char* fileName);

// The entry name of a file: its folder path, "/", its name; for an image the
// extension becomes ".tga".
std::string GetEntryName(const std::string& folderPath, const char* fileName);

// One file ready to be stored: the bytes come from the pack itself or from the
// buffer the conversion made.
struct SConvertedFile
{
    bool m_ok = false;
    std::string m_error;
    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
    std::vector<uint8_t> m_buffer;
};

// Converts one file as its kind says. A file that cannot be converted fails
// with a reason; nothing is ever stored for it. threadCount is handed to the
// JPEG-2000 decoder.
bool ConvertPakFile(const SQelPakFileFile& file, SConvertedFile& out, int threadCount = 1);

// Bytes of memory converting the file is expected to take at its peak (0 for a
// stored copy, which is read in place).
uint64_t EstimateConvertCost(const SQelPakFileFile& file);

// A decoded image as rows of blue, green, red (pixel format 4) or blue, green,
// red, alpha (pixel format 3). False when the image has not the 3 or 4 components
// the conversion needs.
bool ConvertImageToRGB8(const SDecodedImage& image, std::vector<uint8_t>& pixels, uint32_t& width,
                        uint32_t& height, int& pixelFormat);
bool ConvertImageToARGB8(const SDecodedImage& image, std::vector<uint8_t>& pixels, uint32_t& width,
                         uint32_t& height, int& pixelFormat);

// The 18-byte header of an uncompressed true-colour TGA with its first row at the top.
void BuildTgaHeader(uint8_t header[18], uint16_t width, uint16_t height, uint8_t bitsPerPixel);

// A JPEG-2000 image as a whole TGA file.
bool ConvertImageToTga(const uint8_t* data, size_t size, std::vector<uint8_t>& tga, std::string& error,
                       int threadCount = 1);

// A sprite file with every page stored raw. The file is checked whole first; a
// sprite that does not read is a failure, never stored half-converted.
bool CopySpriteFile(const uint8_t* data, size_t size, std::vector<uint8_t>& out, std::string& error);
