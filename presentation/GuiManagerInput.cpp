// The GUI manager's keyboard and pointer steps.

#include "presentation/GuiManager.h"

#include "platform/Renderer.h"
#include "presentation/GuiControl.h"
#include "presentation/GuiStep.h"
#include "presentation/GuiWindow.h"

#include <algorithm>
#include <cmath>

namespace
{
// The actions of the keyboard step, in their order, beside their repeat stamps.
constexpr int STEP_ACTIONS[6] = {GUI_ACTION_UP, GUI_ACTION_DOWN, GUI_ACTION_LEFT, GUI_ACTION_RIGHT, GUI_ACTION_SELECT,
                                 GUI_ACTION_BACK};

// Flag bits of a pointer event.
constexpr int32_t POINTER_DOWN = 1;
constexpr int32_t POINTER_LEFT = 4;
constexpr int32_t POINTER_RIGHT = 8;
} // namespace

bool CGuiManager::IsActionPressed(const SGuiActionInput& input, int action)
{
    return action >= 0 && action < GUI_ACTION_ROWS && input.pressed[action];
}

void CGuiManager::ApplyConstrainMouse()
{
    // The game window hides the system pointer itself (the GUI draws its own), so only
    // the clip follows the variable.
    const bool constrain = m_constrainMouse && *m_constrainMouse;
    if (constrain == m_pointerConstrained)
        return;
    m_renderer.ConstrainPointer(constrain);
    m_pointerConstrained = constrain;
}

void CGuiManager::Update()
{
    CGuiStep step(*this);
    ApplyConstrainMouse();

    // Typed characters go to the focus; with none they are dropped. The focus is read
    // again for each one: a character may close the focused window.
    uint32_t character = 0;
    while (m_renderer.GetKeyRing().Pop(character))
        if (CGuiControl* focus = GetControl(m_focus))
            focus->CharInput(character);

    if (!GetControl(m_focus))
        return;
    for (int i = 0; i < 6; ++i)
    {
        const int action = STEP_ACTIONS[i];
        bool pressed = IsActionPressed(m_actions, action);
        int code = action;
        if (action == GUI_ACTION_SELECT && !pressed && IsActionPressed(m_actions, GUI_ACTION_SELECT_2))
        {
            pressed = true;
            code = GUI_ACTION_SELECT_2;
        }
        if (action == GUI_ACTION_BACK)
            pressed = pressed || m_rightHeld;
        if (!pressed)
        {
            m_repeatStamps[i] = int32_t(m_frameTime) - ACTION_REPEAT_MS;
            continue;
        }
        if (int32_t(m_frameTime) - m_repeatStamps[i] <= ACTION_REPEAT_MS)
            continue;
        CGuiControl* focus = GetControl(m_focus);
        if (!focus)
            return;
        m_repeatStamps[i] = int32_t(m_frameTime);
        focus->Action(code);
    }
}

template <typename Offer>
void CGuiManager::WalkWindows(bool skipDummies, Offer offer)
{
    for (int layer = LAYER_COUNT - 1; layer >= 0; --layer)
    {
        // A copy: an offer may close windows or reorder the layer.
        std::vector<int> windows = m_layers[layer];
        for (int handle : windows)
        {
            CGuiWindow* window = GetWindow(handle);
            if (!window)
                continue;
            const bool dummy = window->IsDummy();
            const bool real = window->IsVisible() && window->IsEnabled() && !dummy;
            if (!(skipDummies && dummy) && offer(handle, *window))
                return;
            if (real)
                return;
        }
    }
}

void CGuiManager::UpdateMouse()
{
    CGuiStep step(*this);
    m_freeClick = false;
    SMouseRingEvent event;
    while (m_renderer.GetMouseRing().Pop(event))
    {
        HandlePointerEvent(event.x, event.y, event.event);
    }
}

void CGuiManager::HandlePointerEvent(int32_t x, int32_t y, int32_t flags)
{
    const SDisplaySettings& display = m_renderer.GetSettings();
    x = std::clamp(x, 0, std::max(display.width - 1, 0));
    y = std::clamp(y, 0, std::max(display.height - 1, 0));
    m_previousPointer = m_pointer;
    m_pointer.x = int32_t(std::lround(float(x) / m_renderer.GetVirtualScaleX()));
    m_pointer.y = int32_t(std::lround(float(y) / m_renderer.GetVirtualScaleY()));
    const SGuiPoint point = m_pointer;

    // Hover: only the topmost real window takes the focus from the pointer.
    if (std::abs(point.x - m_previousPointer.x) > 2 || std::abs(point.y - m_previousPointer.y) > 2)
        WalkWindows(false, [&](int, CGuiWindow& window) { return window.FocusChildAt(point); });

    if (flags & POINTER_RIGHT)
        m_rightHeld = (flags & POINTER_DOWN) != 0;

    if (!(flags & POINTER_LEFT))
        return;
    if (flags & POINTER_DOWN)
    {
        WalkWindows(true, [&](int, CGuiWindow& window) { return window.PointerPress(point); });
        if (!m_buttonDown)
        {
            m_pressPosition = point;
            m_dragging = false;
        }
        m_buttonDown = true;
        return;
    }

    const int dx = point.x - m_pressPosition.x, dy = point.y - m_pressPosition.y;
    const bool clickGap = !m_clickedBefore || int32_t(m_frameTime - m_lastClickTime) > CLICK_GAP_MS;
    if (m_buttonDown && dx * dx + dy * dy < 4 && !m_dragging && clickGap)
    {
        m_lastClickTime = m_frameTime;
        m_clickedBefore = true;
        bool taken = false;
        WalkWindows(true, [&](int handle, CGuiWindow& window) {
            if (!window.HitTest(point))
                return false;
            taken = window.PointerClick(point);
            // The click may have closed the window: find it again by its handle.
            CGuiWindow* still = GetWindow(handle);
            if (still && still->GetLayer() >= 0 && !GetLayer(still->GetLayer()).empty() &&
                GetLayer(still->GetLayer()).front() != handle)
                BringWindowToFront(handle);
            return true;
        });
        if (!taken)
        {
            m_freeClick = true;
            m_freeClickPoint = point;
        }
    }
    m_buttonDown = false;
}

bool CGuiManager::TakeFreeClick(int& x, int& y)
{
    if (!m_freeClick)
        return false;
    m_freeClick = false;
    x = m_freeClickPoint.x;
    y = m_freeClickPoint.y;
    return true;
}
