#pragma once
// Draws a renderer-independent test scene through the CRenderer interface, as the game's
// own drawing code would: vertex colours in the renderer's order, pixel centres shifted by
// -0.5 where the renderer puts them on whole numbers. Line strips have no counterpart in
// the interface and are left out.

#include "tests/support/RenderScenes.h"

#include <cstdint>
#include <string>
#include <vector>

class CRenderer;

// The scene without its line strips.
SRenderScene WithoutLines(const SRenderScene& scene);

// Draws one frame of the scene in the top-left corner of the back buffer and reads it back
// through a screenshot: the scene's rectangle, top row first, 0xAARRGGBB. Empty on failure.
std::vector<uint32_t> DrawSceneOnRenderer(CRenderer& renderer, const SRenderScene& scene,
                                          const std::string& shotPath);

// How far two images of width x height are apart in red, green and blue.
struct SImageDifference
{
    int maxChannel = 0;         // the largest difference in any channel of any pixel
    double differingShare = 0;  // share of pixels with any channel more than `tolerance` apart
    // Share of pixels that are also more than `neighbourTolerance` apart from every neighbour
    // of the expected pixel: what remains when an edge or texel boundary may move by one
    // pixel (the neighbour's vertex colour may differ a little, hence its own tolerance).
    double misplacedShare = 0;
};
SImageDifference CompareImages(const std::vector<uint32_t>& actual, const std::vector<uint32_t>& expected,
                               uint32_t width, int tolerance, int neighbourTolerance);
