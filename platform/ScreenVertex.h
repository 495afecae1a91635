#pragma once
// The one vertex layout of all 2D drawing. Its fields and widths are shared with the
// graphics device, so the order is fixed.

#include <cstdint>

struct SScreenVertex
{
    float x;          // pixels
    float y;          // pixels, 0 at the top
    float z;          // depth, 0 near
    float rhw;        // always 1
    uint32_t colour;  // packed in the renderer's colour order (see CRenderer::IsColourArgb)
    float u;
    float v;
};
static_assert(sizeof(SScreenVertex) == 28, "SScreenVertex is 28 bytes");

enum EPrimitiveKind : int
{
    PRIMITIVE_LIST = 0,
    PRIMITIVE_STRIP = 1,
};

enum EIndexKind : int
{
    INDEX_8 = 0,
    INDEX_16 = 1,
    INDEX_32 = 2,
};
