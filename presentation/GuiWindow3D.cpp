#include "presentation/GuiWindow3D.h"

#include "platform/Renderer.h"
#include "presentation/GuiManager.h"

#include <cmath>

bool CGuiWindow3D::Draw(float z)
{
    if (!IsVisible() || !GetManager())
        return true;
    if (!CGuiWindow::Draw(z))
        return false;
    CRenderer& renderer = GetManager()->GetRenderer();
    const SGuiRect inner = GetInnerRect();
    const float sx = renderer.GetVirtualScaleX(), sy = renderer.GetVirtualScaleY();
    const int x = int(std::lround(float(inner.x) * sx)), y = int(std::lround(float(inner.y) * sy));
    const int w = int(std::lround(float(inner.w) * sx)), h = int(std::lround(float(inner.h) * sy));
    if (w <= 0 || h <= 0)
        return true;
    renderer.DisableTexturing();
    renderer.DrawRectF(float(x), float(y), float(w), float(h), 0.0f, 0.0f, 0.0f, 1.0f, false);
    renderer.SetViewport(x, y, w, h);
    renderer.SetPerspective(w, h);
    if (m_callback)
        m_callback(*this, z, m_user);
    const SDisplaySettings& display = renderer.GetSettings();
    renderer.ResetViewport();
    renderer.SetOrtho2D(0.0f, 0.0f, float(display.width), float(display.height));
    return true;
}
