#pragma once
// The CPU rasteriser behind CSoftD3DDevice. It knows nothing of the device API: the device
// hands it a target, a snapshot of the state that affects pixels, and triangles or line
// segments in screen space. Rows are split into bands of 2^kBandShift rows; a call draws only
// the rows of the bands it is given, so threads can share one draw without sharing a pixel.

#include "platform/d3d8/SoftD3DTypes.h"

#include <cstddef>
#include <cstdint>

struct SRasterVertex
{
    float x;
    float y;
    float z;
    uint32_t colour;  // 0xAARRGGBB
    float u;
    float v;
};

struct SRasterTarget
{
    uint32_t* colour = nullptr;  // 0xAARRGGBB, width x height, rows top first
    uint32_t* depth = nullptr;   // null: no depth buffer
    int width = 0;
    int height = 0;
    int clipX0 = 0;  // drawing is limited to [clipX0, clipX1) x [clipY0, clipY1)
    int clipY0 = 0;
    int clipX1 = 0;
    int clipY1 = 0;
    uint32_t depthBits = 16;  // 16 or 24
};

// Where a stage-0 channel value comes from: ESoftTextureOp and two ESoftTextureArg values
// resolved to "texture" or "diffuse".
struct SRasterCombine
{
    enum EOp : uint8_t
    {
        SelectA,
        Modulate,
    };
    EOp op = SelectA;
    bool aIsTexture = false;
    bool bIsTexture = false;
};

struct SRasterState
{
    bool zTest = false;
    bool zWrite = false;
    uint32_t zFunc = SOFT_CMP_LESSEQUAL;
    bool alphaTest = false;
    uint32_t alphaFunc = SOFT_CMP_ALWAYS;
    uint32_t alphaRef = 0;
    bool blend = false;
    uint32_t srcBlend = SOFT_BLEND_ONE;
    uint32_t dstBlend = SOFT_BLEND_ZERO;
    SRasterCombine colour;
    SRasterCombine alpha;
    // Texture sampled by the stage; null samples as opaque white.
    const uint32_t* texels = nullptr;
    int texWidth = 0;
    int texHeight = 0;
    int texPitch = 0;          // texels from one row to the next; 0 means texWidth
    bool texBordered = false;  // one texel of border around, repeating the edge texels
    bool wrapU = true;
    bool wrapV = true;
    bool magLinear = false;
    bool minLinear = false;
    ESpanLoops spanLoops = ESpanLoops::Best;
};

// 32 rows: a sprite crosses one band edge or two at most, so few triangles are set up again
// in a second band, and a frame still gives each of 8 threads a few bands to take.
constexpr int kBandShift = 5;

struct SRasterBands
{
    int count = 1;  // rows belong to band (y >> kBandShift) % count
    int index = 0;  // the band this call draws
};

// Depth value stored for z (clamped to [0,1]) in a buffer of `depthBits`.
uint32_t QuantizeSoftDepth(float z, uint32_t depthBits);

// Draws `count` triangles (3 vertices each), or, with `which`, the `count` triangles whose
// numbers it lists (in that order).
void RasterizeTriangles(const SRasterTarget& target, const SRasterState& state,
                        const SRasterVertex* vertices, size_t count, const SRasterBands& bands,
                        const uint32_t* which = nullptr);

// Draws `count` segments (2 vertices each); the last pixel of a segment is left out so that
// a closed strip draws each corner once.
void RasterizeLines(const SRasterTarget& target, const SRasterState& state,
                    const SRasterVertex* vertices, size_t count, const SRasterBands& bands,
                    const uint32_t* which = nullptr);
