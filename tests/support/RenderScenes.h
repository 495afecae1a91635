#pragma once
// Small fixed scenes described as renderer-independent draw calls, for golden-image tests of
// every back-end. Positions are in pixels with (0, 0) at the top-left corner of the top-left
// pixel (a back-end whose pixel centres lie on whole numbers shifts them by -0.5); colours are
// 0xAARRGGBB (a back-end with another vertex colour order swaps them); blend and alpha-test
// codes are the renderer's: blend 0 zero, 1 one, 2 source alpha, 3 one minus source alpha;
// alpha test 0 equal, 1 less, 2 less or equal, 3 greater, 4 greater or equal.

#include <cstdint>
#include <string>
#include <vector>

struct SSceneVertex
{
    float x;
    float y;
    float z;
    uint32_t argb;
    float u;
    float v;
};

struct SSceneTexture
{
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint32_t> argb;  // rows top first
};

enum class ESceneStageOp
{
    Modulate,          // colour and alpha: texture x vertex
    Decal,             // colour and alpha: texture
    ColourFromVertex,  // colour: vertex, alpha: texture
    Untextured,        // colour and alpha: vertex
};

enum class EScenePrimitive
{
    TriangleList,
    TriangleStrip,
    LineStrip,
};

struct SSceneDraw
{
    int texture = -1;  // index into the scene's textures
    ESceneStageOp op = ESceneStageOp::Modulate;
    bool linear = false;
    bool wrap = false;
    bool blend = false;
    int sourceBlend = 1;
    int destBlend = 0;
    bool alphaTest = false;
    int alphaFunction = 3;
    float alphaReference = 0.0f;  // 0..1
    bool depthTest = false;       // less or equal
    bool depthWrite = false;
    EScenePrimitive primitive = EScenePrimitive::TriangleList;
    std::vector<SSceneVertex> vertices;
    std::vector<uint16_t> indices;  // empty: draw the vertices in order
};

struct SRenderScene
{
    std::string name;
    uint32_t width = 64;
    uint32_t height = 64;
    uint32_t clearArgb = 0xFF000000;  // depth clears to 1
    std::vector<SSceneTexture> textures;
    std::vector<SSceneDraw> draws;
};

std::vector<SRenderScene> MakeRenderScenes();
