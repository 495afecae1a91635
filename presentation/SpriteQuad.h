#pragma once
// The screen quad of one sprite instance: position relative to the camera, size by
// frame and scale, rotation, mirroring, snapping, virtual-screen scaling, the
// half-pixel shift and the vertex colour order of the renderer, and culling.

#include "platform/ScreenVertex.h"
#include "presentation/SpriteTypes.h"

struct SQuadContext
{
    float cameraX = 0.0f; // camera position times the plane's movement factor
    float cameraY = 0.0f;
    float depth = 0.0f;   // the plane's depth
    float halfFrameWidth = 0.0f;
    float halfFrameHeight = 0.0f;
    float screenWidth = 0.0f; // back buffer, for culling
    float screenHeight = 0.0f;
    float virtualScaleX = 1.0f;
    float virtualScaleY = 1.0f;
    bool halfPixelShift = false; // devices that sample at pixel corners
    bool colourIsArgb = true;    // false: red and blue exchanged
    // Groups snap rotated quads before virtual scaling and the shift, file batches after.
    bool snapBeforeScaling = false;
};

// Corners in the order top-left, top-right, bottom-left, bottom-right (before
// rotation). False when the quad lies off the screen.
bool BuildSpriteQuad(const SSpriteInstance& instance, const SSpriteFrame& frame, const SQuadContext& context,
                     SScreenVertex corners[4]);

// Moves each corner that lies within 1.5 units (in x and in y) of one of the earlier
// vertices onto it; of several, the last one wins. Closes seams between tiles.
void WeldQuadCorners(SScreenVertex corners[4], const SScreenVertex* earlier, int earlierCount);

// An ARGB colour in the renderer's order.
uint32_t ToVertexColour(uint32_t argb, bool colourIsArgb);
