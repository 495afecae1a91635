#pragma once
// Draws a renderer-independent test scene through the software device, setting states as
// the Direct3D renderer does with one texture stage.

#include "tests/support/RenderScenes.h"

#include <cstdint>
#include <vector>

// The presented frame, top row first; empty when the device could not be made.
std::vector<uint32_t> DrawSceneOnDevice(const SRenderScene& scene, uint32_t threads);
