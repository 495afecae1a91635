// Drawing of the GUI layers, the focus highlight, skin pieces and the cursor.

#include "presentation/GuiManager.h"

#include "platform/Renderer.h"
#include "presentation/GuiControl.h"
#include "presentation/GuiStep.h"
#include "presentation/ScreenQuad.h"
#include "presentation/SpriteBank.h"
#include "presentation/SpriteQuad.h"

#include <algorithm>
#include <cmath>

constexpr int CGuiManager::LAYER_PLANES[CGuiManager::LAYER_COUNT];

void CGuiManager::InstallLayerDrawCallbacks(CSpriteBank& bank)
{
    for (int layer = 0; layer < LAYER_COUNT; ++layer)
        bank.SetDrawHook(LAYER_PLANES[layer], &CGuiManager::LayerHook, uint32_t(layer));
}

void CGuiManager::LayerHook(uint32_t layer, float depth)
{
    if (g_gui)
        g_gui->DrawLayer(int(layer), depth);
}

void CGuiManager::StepHighlight()
{
    const uint32_t level = uint32_t(m_highlightLevel);
    m_highlightColour = 0xFF000000u | level << 16 | level << 8 | level;
    if (m_highlightRising)
    {
        m_highlightLevel += 10;
        if (m_highlightLevel > 254)
        {
            m_highlightLevel = 255;
            m_highlightRising = false;
        }
    }
    else
    {
        m_highlightLevel -= 10;
        if (m_highlightLevel <= 128)
        {
            m_highlightLevel = 128;
            m_highlightRising = true;
        }
    }
}

void CGuiManager::DrawLayer(int layer, float z)
{
    if (layer < 0 || layer >= LAYER_COUNT || m_layersHidden)
        return;
    CGuiStep step(*this);
    if (layer == 0)
    {
        // Scaled-up pieces sample a little inside their edges, so neighbours do not bleed in.
        m_insetU = std::max(0.0f, (m_renderer.GetVirtualScaleX() - 1.0f) * m_skin.invWidth);
        m_insetV = std::max(0.0f, (m_renderer.GetVirtualScaleY() - 1.0f) * m_skin.invHeight);
    }
    StepHighlight();
    const SDisplaySettings& display = m_renderer.GetSettings();
    m_renderer.ResetViewport();
    m_renderer.SetOrtho2D(0.0f, 0.0f, float(display.width), float(display.height));
    std::vector<int> windows = m_layers[layer];
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if (CGuiControl* window = GetControl(*it))
            window->Draw(z);
    if (layer == LAYER_COUNT - 1 && m_cursorShowCount > 0)
        DrawCursor(z);
}

void CGuiManager::MakeScreenQuad(float x, float y, float z, float w, float h, const SGuiUvRect& piece,
                                 uint32_t colour, SScreenVertex out[6]) const
{
    const float sx = m_renderer.GetVirtualScaleX(), sy = m_renderer.GetVirtualScaleY();
    const float shift = m_renderer.GetPixelCentreShift();
    const float x0 = x * sx + shift, y0 = y * sy + shift;
    const float x1 = (x + w) * sx + shift, y1 = (y + h) * sy + shift;
    const float u0 = piece.u0 + m_insetU, v0 = piece.v0 + m_insetV;
    const float u1 = piece.u1 - m_insetU, v1 = piece.v1 - m_insetV;
    FillScreenQuad(out, x0, y0, x1, y1, z, ToVertexColour(colour, m_renderer.IsColourArgb()), u0, v0, u1, v1);
}

bool CGuiManager::DrawSkinPiece(const SGuiRect& rect, int piece, uint32_t colour, float z, bool blend, bool alphaTest)
{
    if (m_skin.texture < 0 || piece < 0 || piece >= GUI_PIECE_COUNT || rect.w <= 0 || rect.h <= 0)
        return false;
    m_renderer.BeginBatch(&m_skin.texture, blend, alphaTest, false);
    SScreenVertex* v = nullptr;
    if (m_renderer.ReserveVertices(6, &v))
        MakeScreenQuad(float(rect.x), float(rect.y), z, float(rect.w), float(rect.h), m_skin.pieces[piece], colour, v);
    return m_renderer.FlushBatch(false);
}

bool CGuiManager::DrawFrame(const SGuiRect& r, const SGuiFramePieces& p, int bw, int bh, uint32_t colour, float z,
                            bool background, bool blend, bool alphaTest)
{
    if (m_skin.texture < 0)
        return false;
    struct SPart
    {
        int piece;
        SGuiRect rect;
        bool shown;
    };
    const bool wide = r.w > 10, tall = r.h > 10;
    const SPart parts[9] = {
        {p.background, {r.x + bw, r.y + bh, r.w - 2 * bw, r.h - 2 * bh}, background && wide && tall},
        {p.tl, {r.x, r.y, bw, bh}, true},
        {p.tr, {r.x + r.w - bw, r.y, bw, bh}, true},
        {p.bl, {r.x, r.y + r.h - bh, bw, bh}, true},
        {p.br, {r.x + r.w - bw, r.y + r.h - bh, bw, bh}, true},
        {p.top, {r.x + bw, r.y, r.w - 2 * bw, bh}, wide},
        {p.left, {r.x, r.y + bh, bw, r.h - 2 * bh}, tall},
        {p.right, {r.x + r.w - bw, r.y + bh, bw, r.h - 2 * bh}, tall},
        {p.bottom, {r.x + bw, r.y + r.h - bh, r.w - 2 * bw, bh}, wide},
    };
    m_renderer.BeginBatch(&m_skin.texture, blend, alphaTest, false);
    for (const SPart& part : parts)
    {
        if (!part.shown || part.rect.w <= 0 || part.rect.h <= 0 || part.piece < 0 || part.piece >= GUI_PIECE_COUNT)
            continue;
        SScreenVertex* v = nullptr;
        if (m_renderer.ReserveVertices(6, &v))
            MakeScreenQuad(float(part.rect.x), float(part.rect.y), z, float(part.rect.w), float(part.rect.h),
                           m_skin.pieces[part.piece], colour, v);
    }
    return m_renderer.FlushBatch(false);
}

void CGuiManager::DrawCursor(float z)
{
    if (m_skin.texture < 0)
        return;
    // Screen pixels, whatever the scale; the piece is not inset.
    const float sx = m_renderer.GetVirtualScaleX(), sy = m_renderer.GetVirtualScaleY();
    const float shift = m_renderer.GetPixelCentreShift();
    const float x0 = std::round(float(m_pointer.x) * sx), y0 = std::round(float(m_pointer.y) * sy);
    const float x1 = std::round(float(m_pointer.x) * sx + CURSOR_SIZE);
    const float y1 = std::round(float(m_pointer.y) * sy + CURSOR_SIZE);
    const SGuiUvRect& piece = m_skin.pieces[GUI_PIECE_MOUSE_NORMAL];
    const uint32_t c = ToVertexColour(0xFFFFFFFF, m_renderer.IsColourArgb());
    m_renderer.BeginBatch(&m_skin.texture, true, true, false);
    SScreenVertex* v = nullptr;
    if (m_renderer.ReserveVertices(6, &v))
        FillScreenQuad(v, x0 + shift, y0 + shift, x1 + shift, y1 + shift, z, c, piece.u0, piece.v0, piece.u1, piece.v1);
    m_renderer.FlushBatch(false);
}
