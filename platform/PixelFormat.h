#pragma once
// Pixel layouts of textures, sprite pages and memory images, and the row converter
// between them. Codes are stored in sprite files, so their numbers are fixed.

#include <cstdint>

enum EPixelCode : int
{
    PIXEL_BGRA8888 = 0,   // bytes blue, green, red, alpha
    PIXEL_A1R5G5B5 = 1,   // alpha bit 15, red 10-14, green 5-9, blue 0-4
    PIXEL_R5G6B5 = 2,     // red 11-15, green 5-10, blue 0-4
    PIXEL_A4R4G4B4 = 3,   // alpha 12-15, red 8-11, green 4-7, blue 0-3
    PIXEL_PALETTE8 = 4,   // index into 256 code-0 entries
    PIXEL_ALPHA8 = 5,     // alpha only
    PIXEL_BLOCK16 = 6,    // 16-byte units copied as they are
    PIXEL_OPAQUE32 = 7,   // 32 bits, known by size only
};

// Bytes per pixel of a code; 0 for an unknown code.
int GetPixelSize(int code);

// Converts a width x height rectangle row by row. The palette (256 entries, code 0)
// is needed only for a source of code 4. A pair that has no conversion writes
// nothing and gives false, so callers never use an unwritten destination.
bool ConvertPixels(int width, int height, int sourceCode, const void* source, int sourcePitch,
                   const uint32_t* palette, int destCode, void* dest, int destPitch);

// True when ConvertPixels handles the pair.
bool CanConvertPixels(int sourceCode, int destCode);
