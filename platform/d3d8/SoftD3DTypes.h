#pragma once
// Constants and records of the software 3D device (see SoftD3DDevice.h). Only the states,
// formats and primitives that the game's Direct3D 8 renderer uses exist; everything else the
// device does implicitly: solid fill, Gouraud shading, no culling, no lighting, no fog, all
// colour channels written, one texture stage.

#include <cstdint>
#include <vector>

enum class ESoftResult
{
    Ok,
    DeviceLost,      // the device cannot draw or be reset yet
    DeviceNotReset,  // the device can be reset now
    InvalidCall,
    OutOfMemory,
};

enum class ESoftFormat : uint32_t
{
    Unknown,
    A8R8G8B8,
    X8R8G8B8,
    R5G6B5,
    X1R5G5B5,
    A1R5G5B5,
    A4R4G4B4,
    R8G8B8,  // only as a desktop format: never a texture or back buffer
    P8,      // only as a desktop format: never a texture or back buffer
    D16,
    D24X8,
};

// Bytes per pixel of a colour format; 0 for depth and unknown formats.
uint32_t GetSoftFormatSize(ESoftFormat format);

enum ESoftRenderState : uint32_t
{
    SOFT_RS_ZENABLE,           // bool; default true
    SOFT_RS_ZWRITEENABLE,      // bool; default true
    SOFT_RS_ZFUNC,             // ESoftCompare; default LESSEQUAL
    SOFT_RS_ALPHATESTENABLE,   // bool; default false
    SOFT_RS_ALPHAFUNC,         // ESoftCompare; default ALWAYS
    SOFT_RS_ALPHAREF,          // 0..255; default 0
    SOFT_RS_ALPHABLENDENABLE,  // bool; default false
    SOFT_RS_SRCBLEND,          // ESoftBlend; default ONE
    SOFT_RS_DESTBLEND,         // ESoftBlend; default ZERO
    SOFT_RS_COUNT
};

enum ESoftCompare : uint32_t
{
    SOFT_CMP_LESS = 1,
    SOFT_CMP_EQUAL,
    SOFT_CMP_LESSEQUAL,
    SOFT_CMP_GREATER,
    SOFT_CMP_GREATEREQUAL,
    SOFT_CMP_ALWAYS,
};

enum ESoftBlend : uint32_t
{
    SOFT_BLEND_ZERO = 1,
    SOFT_BLEND_ONE,
    SOFT_BLEND_SRCALPHA,
    SOFT_BLEND_INVSRCALPHA,
};

enum ESoftStageState : uint32_t
{
    SOFT_TSS_COLOROP,    // ESoftTextureOp; stage 0 default MODULATE
    SOFT_TSS_COLORARG1,  // ESoftTextureArg; default TEXTURE
    SOFT_TSS_COLORARG2,  // ESoftTextureArg; default CURRENT
    SOFT_TSS_ALPHAOP,    // ESoftTextureOp; stage 0 default SELECTARG1
    SOFT_TSS_ALPHAARG1,  // default TEXTURE
    SOFT_TSS_ALPHAARG2,  // default CURRENT
    SOFT_TSS_ADDRESSU,   // ESoftAddress; default WRAP
    SOFT_TSS_ADDRESSV,
    SOFT_TSS_MAGFILTER,  // ESoftFilter POINT or LINEAR; default POINT
    SOFT_TSS_MINFILTER,
    SOFT_TSS_MIPFILTER,  // NONE only: textures have one level
    SOFT_TSS_COUNT
};

enum ESoftTextureOp : uint32_t
{
    SOFT_TOP_DISABLE = 1,  // on stage 0: the diffuse colour passes through
    SOFT_TOP_SELECTARG1,
    SOFT_TOP_SELECTARG2,
    SOFT_TOP_MODULATE,
};

enum ESoftTextureArg : uint32_t
{
    SOFT_TA_DIFFUSE = 1,
    SOFT_TA_CURRENT,  // on stage 0 the same as DIFFUSE
    SOFT_TA_TEXTURE,
};

enum ESoftAddress : uint32_t
{
    SOFT_TADDRESS_WRAP = 1,
    SOFT_TADDRESS_CLAMP,
};

enum ESoftFilter : uint32_t
{
    SOFT_TEXF_NONE = 0,
    SOFT_TEXF_POINT,
    SOFT_TEXF_LINEAR,
};

enum ESoftPrimitive : uint32_t
{
    SOFT_PT_LINESTRIP = 1,
    SOFT_PT_TRIANGLELIST,
    SOFT_PT_TRIANGLESTRIP,
};

enum ESoftClearFlags : uint32_t
{
    SOFT_CLEAR_TARGET = 1,
    SOFT_CLEAR_ZBUFFER = 2,
};

// The one vertex format: pretransformed position with rhw, diffuse colour, one texture
// coordinate set.
constexpr uint32_t SOFT_FVF_SCREEN = 1;

// Vertex layout of SOFT_FVF_SCREEN. Vertex data is passed as bytes with a stride; this record
// only documents and checks the layout.
struct SSoftVertex
{
    float x;          // pixels; pixel centres lie on whole numbers
    float y;          // pixels, 0 at the top
    float z;          // 0 near .. 1 far; values outside are clamped
    float rhw;        // the device interpolates without perspective, as for rhw = 1
    uint32_t colour;  // 0xAARRGGBB
    float u;
    float v;
};
static_assert(sizeof(SSoftVertex) == 28, "SSoftVertex must match the 28-byte vertex layout");

struct SSoftDisplayMode
{
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t refreshRate = 0;
    ESoftFormat format = ESoftFormat::Unknown;
};

// What an adapter offers. Tests pass their own; the default comes from the SDL desktop.
struct SSoftAdapterProfile
{
    SSoftDisplayMode desktop;
    std::vector<SSoftDisplayMode> modes;        // full-screen modes
    std::vector<ESoftFormat> textureFormats;    // formats CreateTexture accepts
    std::vector<ESoftFormat> depthFormats;      // formats a depth buffer may use
    uint32_t textureStages = 1;
};

struct SSoftPresentParams
{
    uint32_t backBufferWidth = 0;
    uint32_t backBufferHeight = 0;
    ESoftFormat backBufferFormat = ESoftFormat::Unknown;
    bool windowed = true;
    bool autoDepthStencil = false;
    ESoftFormat depthFormat = ESoftFormat::Unknown;  // D16 or D24X8 when autoDepthStencil
    bool presentImmediate = false;  // the caller's wish; the device never waits for a refresh
    void* window = nullptr;  // SDL_Window* to present into; null: headless (no presenting)
};

struct SSoftCaps
{
    uint32_t maxTextureBlendStages = 1;
    uint32_t maxSimultaneousTextures = 1;
    uint32_t maxTextureWidth = 0;
    uint32_t maxTextureHeight = 0;
};

struct SSoftViewport
{
    uint32_t x = 0;
    uint32_t y = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    float minZ = 0.0f;
    float maxZ = 1.0f;
};

struct SSoftSurfaceDesc
{
    ESoftFormat format = ESoftFormat::Unknown;
    uint32_t width = 0;
    uint32_t height = 0;
};

struct SSoftLockedRect
{
    int pitch = 0;  // bytes from one row to the next
    void* bits = nullptr;
};

// The span loops that shade pixels: the fastest this processor runs, or one kind by name
// (the tests hold each fast kind to the reference loop). The pixels never depend on it.
enum class ESpanLoops : uint8_t
{
    Best,
    Sse2,
    Avx2,
    Reference,
};
