#pragma once
// Turning texture pixels of every texture format into the 0xAARRGGBB texels the rasteriser
// samples.

#include "platform/d3d8/SoftD3DTypes.h"

#include <cstdint>

// Decodes width x height pixels of `format` (rows `pitch` bytes apart) into `texels` (rows
// `texelPitch` texels apart). Returns false for a format that is not a texture format.
bool DecodeSoftPixels(ESoftFormat format, const uint8_t* pixels, uint32_t pitch, uint32_t width,
                      uint32_t height, uint32_t* texels, uint32_t texelPitch);
