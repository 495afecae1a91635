#pragma once
// Two triangles of an axis-aligned textured rectangle in screen pixels, as the batch
// takes them: top-left, top-right, bottom-left, then top-right, bottom-right,
// bottom-left. The colour is already in the renderer's order.

#include "platform/ScreenVertex.h"

inline void FillScreenQuad(SScreenVertex out[6], float x0, float y0, float x1, float y1, float z, uint32_t colour,
                           float u0, float v0, float u1, float v1)
{
    const SScreenVertex tl{x0, y0, z, 1.0f, colour, u0, v0};
    const SScreenVertex tr{x1, y0, z, 1.0f, colour, u1, v0};
    const SScreenVertex bl{x0, y1, z, 1.0f, colour, u0, v1};
    const SScreenVertex br{x1, y1, z, 1.0f, colour, u1, v1};
    out[0] = tl;
    out[1] = tr;
    out[2] = bl;
    out[3] = tr;
    out[4] = br;
    out[5] = bl;
}
