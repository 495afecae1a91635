#include "presentation/GuiDraw.h"

#include "platform/Renderer.h"
#include "presentation/GuiManager.h"
#include "presentation/ScreenQuad.h"
#include "presentation/SpriteQuad.h"

bool DrawGuiTexture(CRenderer& renderer, int texture, const SGuiRect& rect, const float uvs[4], uint32_t colour,
                    float z, bool blend, bool alphaTest)
{
    if (texture < 0 || rect.w <= 0 || rect.h <= 0)
        return false;
    const float sx = renderer.GetVirtualScaleX(), sy = renderer.GetVirtualScaleY();
    const float shift = renderer.GetPixelCentreShift();
    renderer.BeginBatch(&texture, blend, alphaTest, false);
    SScreenVertex* v = nullptr;
    if (renderer.ReserveVertices(6, &v))
        FillScreenQuad(v, float(rect.x) * sx + shift, float(rect.y) * sy + shift, float(rect.x + rect.w) * sx + shift,
                       float(rect.y + rect.h) * sy + shift, z, ToVertexColour(colour, renderer.IsColourArgb()), uvs[0],
                       uvs[1], uvs[2], uvs[3]);
    return renderer.FlushBatch(false);
}

void DrawGuiBar(CRenderer& renderer, float x, float y, float w, float h, uint32_t colour)
{
    renderer.DrawRectF(x, y, w, h, float(colour >> 16 & 0xFF) / 255.0f, float(colour >> 8 & 0xFF) / 255.0f,
                       float(colour & 0xFF) / 255.0f, float(colour >> 24) / 255.0f, true);
}

uint32_t GetFocusColour(const CGuiManager& manager, bool enabled, bool focused)
{
    if (!enabled)
        return GUI_COLOUR_DISABLED;
    return focused ? manager.GetHighlightColour() : GUI_COLOUR_NORMAL;
}
