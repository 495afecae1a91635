#include "presentation/GuiWindow.h"

#include "platform/Renderer.h"
#include "presentation/GuiManager.h"

CGuiWindow::CGuiWindow(const SGuiWindowDesc& desc)
{
    m_rect = SGuiRect{desc.x, desc.y, desc.w, desc.h};
    m_bordered = desc.bordered;
    m_captioned = desc.captioned;
    m_clearArea = desc.clearArea;
    m_closeBox = desc.closeBox;
    m_alphaTest = desc.alphaTest;
    m_alphaBlend = desc.alphaBlend;
    m_dummy = desc.dummy;
    m_frameIndex = (desc.frameIndex < 0 || desc.frameIndex > 3) ? 0 : desc.frameIndex;
    if (desc.caption)
        m_caption = desc.caption;
    m_owner = desc.owner;
    m_closeCallback = desc.closeCallback;
    m_drawCallback = desc.drawCallback;
    m_callbackUser = desc.callbackUser;
}

CGuiWindow::~CGuiWindow() = default;

void CGuiWindow::AddChild(CGuiControl* child)
{
    if (!child || child == this)
        return;
    child->SetParent(this);
    m_children.push_back(child);
}

void CGuiWindow::RemoveChild(CGuiControl* child)
{
    for (auto it = m_children.begin(); it != m_children.end(); ++it)
        if (*it == child)
        {
            m_children.erase(it);
            return;
        }
}

void CGuiWindow::SetCharCallback(GuiWindowCharCallback callback, void* user)
{
    m_charCallback = callback;
    m_charUser = user;
}

SGuiRect CGuiWindow::GetInnerRect() const
{
    SGuiRect inner = GetScreenRect();
    if (!m_manager)
        return inner;
    const SGuiSkin& skin = m_manager->GetSkin();
    if (m_bordered)
    {
        inner.x += skin.windowBorderWidth;
        inner.y += skin.windowBorderHeight;
        inner.w -= 2 * skin.windowBorderWidth;
        inner.h -= 2 * skin.windowBorderHeight;
    }
    if (m_captioned)
    {
        inner.y += skin.windowCaptionHeight;
        inner.h -= skin.windowCaptionHeight;
    }
    if (m_headerHandle >= 0 && m_manager->GetControl(m_headerHandle))
    {
        inner.y += HEADER_HEIGHT;
        inner.h -= HEADER_HEIGHT;
    }
    return inner;
}

void CGuiWindow::RunCloseCallback()
{
    if (m_closeCallbackRun)
        return;
    m_closeCallbackRun = true;
    if (m_closeCallback)
        m_closeCallback(*this, m_callbackUser);
}

void CGuiWindow::Close()
{
    if (m_closing)
        return;
    m_closing = true;
    RunCloseCallback();
    // Children that are not windows leave the table at once; child windows close
    // their own children first.
    std::vector<CGuiControl*> children = m_children;
    for (CGuiControl* child : children)
    {
        if (child->GetType() == GUI_TYPE_WINDOW)
            child->Close();
        else if (m_manager)
            m_manager->RemoveControl(child);
    }
    m_children.clear();
    m_caption.clear();
    if (m_manager)
        m_manager->RemoveControl(this);
}

bool CGuiWindow::PointerPress(const SGuiPoint& point)
{
    if (!HitTest(point))
        return false;
    std::vector<CGuiControl*> children = m_children;
    for (CGuiControl* child : children)
        if (child->PointerPress(point))
            break;
    return true;
}

bool CGuiWindow::PointerClick(const SGuiPoint& point)
{
    if (!m_visible)
        return false;
    std::vector<CGuiControl*> children = m_children;
    for (CGuiControl* child : children)
        if (child->HitTest(point) && child->PointerClick(point))
            return true;
    if (m_closeBox && m_manager)
    {
        const SGuiSkin& skin = m_manager->GetSkin();
        SGuiRect screen = GetScreenRect();
        SGuiRect box{screen.x + screen.w - skin.windowBorderWidth - skin.closeBoxWidth - 1, screen.y + 3,
                     skin.closeBoxWidth, skin.closeBoxHeight};
        if (box.Contains(point))
        {
            Close();
            return true;
        }
    }
    return false;
}

void CGuiWindow::PointerMove(const SGuiPoint& point)
{
    std::vector<CGuiControl*> children = m_children;
    for (CGuiControl* child : children)
        child->PointerMove(point);
}

bool CGuiWindow::FocusChildAt(const SGuiPoint& point)
{
    if (!HitTest(point) || !m_manager)
        return false;
    std::vector<CGuiControl*> children = m_children;
    for (CGuiControl* child : children)
        if (child->HitTest(point) && child->AcceptHoverFocus())
        {
            m_manager->SetFocus(child->GetHandle());
            return true;
        }
    return false;
}

void CGuiWindow::CharInput(uint32_t code)
{
    if (!m_visible)
        return;
    CGuiManager* manager = m_manager;
    int handle = m_handle;
    if (m_charCallback)
        m_charCallback(*this, m_charUser, code);
    // The callback may have closed the window.
    if (manager && manager->GetControl(handle) == this)
        RaiseEvent(GUI_EVENT_ACTION, int(code));
}

bool CGuiWindow::TakeFocus()
{
    if (!m_visible)
        return false;
    m_focused = true;
    return true;
}

void CGuiWindow::SetVisible(bool visible)
{
    if (!visible && m_manager)
    {
        for (CGuiControl* child : m_children)
        {
            if (child->IsFocused() || m_manager->GetFocusHandle() == child->GetHandle())
            {
                child->LoseFocus();
                m_manager->SetFocus(-1);
            }
            if (child->GetTooltipControlId() >= 0)
                if (CGuiControl* tooltip = m_manager->GetControl(m_manager->FindControlNear(*child, child->GetTooltipControlId())))
                    tooltip->ShowAsTooltip(false);
        }
    }
    CGuiControl::SetVisible(visible);
}

void CGuiWindow::RefreshStrings()
{
    for (CGuiControl* child : m_children)
        child->RefreshStrings();
}

void CGuiWindow::ResolveSounds()
{
    for (CGuiControl* child : m_children)
        child->ResolveSounds();
}

void CGuiWindow::DrawFrame(const SGuiRect& rect, float z)
{
    const SGuiSkin& skin = m_manager->GetSkin();
    const SGuiFramePieces pieces = GetWindowFramePieces(m_frameIndex);
    const uint32_t white = 0xFFFFFFFF;
    const int bw = skin.windowBorderWidth, bh = skin.windowBorderHeight;
    if (m_clearArea)
    {
        SGuiRect area = rect;
        if (m_bordered)
            area = SGuiRect{rect.x + bw, rect.y + bh, rect.w - 2 * bw, rect.h - 2 * bh};
        m_manager->DrawSkinPiece(area, pieces.background, white, z, m_alphaBlend, m_alphaTest);
    }
    if (!m_bordered)
        return;
    m_manager->DrawFrame(rect, pieces, bw, bh, white, z, false, m_alphaBlend, m_alphaTest);
    if (m_captioned)
    {
        SGuiRect bar{rect.x + bw, rect.y + bh, rect.w - 2 * bw, skin.windowCaptionHeight};
        m_manager->DrawSkinPiece(bar, m_frameIndex * GUI_FRAME_PIECES + GUI_FRAME_CAPTION, white, z, m_alphaBlend,
                                 m_alphaTest);
        m_manager->GetSystemFont().DrawDataText(float(rect.x + bw + 1), float(rect.y + bh + 1), z, m_caption.c_str(),
                                                white);
    }
    if (m_closeBox)
    {
        SGuiRect box{rect.x + rect.w - bw - skin.closeBoxWidth - 1, rect.y + 4, skin.closeBoxWidth,
                     skin.closeBoxHeight};
        m_manager->DrawSkinPiece(box, m_frameIndex * GUI_FRAME_PIECES + GUI_FRAME_CLOSEBOX, white, z, m_alphaBlend,
                                 m_alphaTest);
    }
}

bool CGuiWindow::Draw(float z)
{
    if (!m_visible || !m_manager)
        return true;
    // A top-level window placed beyond the back buffer comes back to its left or top edge.
    if (!m_parent)
    {
        const SDisplaySettings& display = m_manager->GetRenderer().GetSettings();
        if (m_rect.x > display.width)
            m_rect.x = 0;
        if (m_rect.y > display.height)
            m_rect.y = 0;
    }
    DrawFrame(GetScreenRect(), z);
    if (m_drawCallback)
        m_drawCallback(*this, z, m_callbackUser);
    if (CGuiControl* header = m_manager->GetControl(m_headerHandle))
        header->Draw(z);
    std::vector<CGuiControl*> children = m_children;
    for (CGuiControl* child : children)
        child->Draw(z);
    return true;
}
