#pragma once
// Drawing helpers of the control classes beside the manager's skin pieces: pictures
// from their own textures, solid bars, and the colour a control draws in.

#include "presentation/GuiTypes.h"

#include <cstdint>

class CGuiManager;
class CRenderer;

// A rectangle in GUI coordinates textured with part of a texture (u0, v0, u1, v1),
// in an ARGB colour; nothing for texture -1.
bool DrawGuiTexture(CRenderer& renderer, int texture, const SGuiRect& rect, const float uvs[4], uint32_t colour,
                    float z, bool blend, bool alphaTest);

// A solid rectangle given in screen pixels, in an ARGB colour.
void DrawGuiBar(CRenderer& renderer, float x, float y, float w, float h, uint32_t colour);

// The colour of a control that shows the focus: grey when disabled, the pulsing
// highlight when focused, else the normal off-white.
uint32_t GetFocusColour(const CGuiManager& manager, bool enabled, bool focused);

// An ARGB colour with its alpha replaced.
inline uint32_t WithAlpha(uint32_t colour, uint32_t alpha)
{
    return (colour & 0x00FFFFFFu) | (alpha & 0xFFu) << 24;
}
