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
