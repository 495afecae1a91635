#include "platform/GameWindow.h"
#include "platform/Renderer.h"

void CRenderer::HandleWindowEvent(const SWindowEvent& event)
{
    switch (event.type)
    {
    case EWindowEventType::Activate:
        OnActivate();
        return;
    case EWindowEventType::Deactivate:
        OnDeactivate();
        return;
    case EWindowEventType::Close:
        OnCloseRequest();
        return;
    default:
        break;
    }
    // Input reaches the rings only while the game is active.
    if (!m_isActive)
        return;
    switch (event.type)
    {
    case EWindowEventType::Character:
        m_keyRing.Push(event.code);
        return;
    case EWindowEventType::KeyDown:
        if (event.repeat)
            return;
        if (event.code >= VIRTUAL_KEY_LEFT && event.code <= VIRTUAL_KEY_DOWN)
            m_keyRing.Push(KEY_RING_PRESSED_KEY | event.code);
        else if (event.code == VIRTUAL_KEY_DELETE)
            m_keyRing.Push(KEY_RING_DELETE);
        return;
    case EWindowEventType::MouseMove:
    {
        SMouseRingEvent move{event.x, event.y, MOUSE_RING_MOVE};
        if (!m_mouseRing.Push(move))
        {
            // Full: the newest move still waiting takes the new position.
            SMouseRingEvent* newest = m_mouseRing.PeekNewest();
            if (newest && newest->event == MOUSE_RING_MOVE)
                *newest = move;
        }
        return;
    }
    case EWindowEventType::MouseButton:
    {
        int32_t code = event.button == 0 ? (event.pressed ? MOUSE_RING_LEFT_DOWN : MOUSE_RING_LEFT_UP)
                                         : (event.pressed ? MOUSE_RING_RIGHT_DOWN : MOUSE_RING_RIGHT_UP);
        m_mouseRing.Push(SMouseRingEvent{event.x, event.y, code});
        return;
    }
    default:
        return;
    }
}

void CRenderer::ConstrainPointer(bool constrain)
{
    ConstrainPointerToWindow(m_window, constrain);
}

void CRenderer::OnCloseRequest()
{
}
