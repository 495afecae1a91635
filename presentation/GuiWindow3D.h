#pragma once
// A window with a 3D view (type 1): drawn as a window, then its inner rectangle is
// filled black and handed to a draw callback as a viewport with a perspective of its
// own size; the whole back buffer's 2D projection comes back afterwards.

#include "presentation/GuiWindow.h"

class CGuiWindow3D;

// Draws the 3D view; the viewport and projection are set.
using GuiWindow3DCallback = void (*)(CGuiWindow3D& window, float z, void* user);

class CGuiWindow3D : public CGuiWindow
{
public:
    explicit CGuiWindow3D(const SGuiWindowDesc& desc) : CGuiWindow(desc) {}

    bool Draw(float z) override;
    void Set3DCallback(GuiWindow3DCallback callback, void* user)
    {
        m_callback = callback;
        m_user = user;
    }

private:
    GuiWindow3DCallback m_callback = nullptr;
    void* m_user = nullptr;
};
