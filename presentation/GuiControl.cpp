#include "presentation/GuiControl.h"

#include "presentation/GuiManager.h"
#include "presentation/GuiWindow.h"

bool CGuiControl::Initialise()
{
    return true;
}

void CGuiControl::Close()
{
    if (m_manager)
        m_manager->RemoveControl(this);
}

bool CGuiControl::PointerPress(const SGuiPoint&)
{
    return false;
}

bool CGuiControl::PointerClick(const SGuiPoint&)
{
    return false;
}

void CGuiControl::PointerMove(const SGuiPoint&)
{
}

bool CGuiControl::BeginDrag(const SGuiPoint&, bool& dragged)
{
    dragged = false;
    return false;
}

void CGuiControl::EndDrag(const SGuiPoint&)
{
}

bool CGuiControl::Draw(float)
{
    return true;
}

void CGuiControl::DrawDragOutline()
{
}

void CGuiControl::MoveTo(const SGuiPoint& position)
{
    m_rect.x = position.x;
    m_rect.y = position.y;
}

bool CGuiControl::IsBusy() const
{
    return false;
}

void CGuiControl::CharInput(uint32_t)
{
}

void CGuiControl::Action(int)
{
}

bool CGuiControl::TakeFocus()
{
    return false;
}

bool CGuiControl::AcceptHoverFocus()
{
    return false;
}

void CGuiControl::LoseFocus()
{
    m_focused = false;
}

bool CGuiControl::HitTest(const SGuiPoint& point) const
{
    return m_visible && GetScreenRect().Contains(point);
}

void CGuiControl::RefreshStrings()
{
}

void CGuiControl::OnFocusGained()
{
}

void CGuiControl::RemoveChild(CGuiControl*)
{
}

void CGuiControl::SetVisible(bool visible)
{
    m_visible = visible;
    if (!visible && m_manager && m_manager->GetFocusHandle() == m_handle && m_handle >= 0)
        m_manager->SetFocus(-1);
}

void CGuiControl::SetEnabled(bool enabled)
{
    m_enabled = enabled;
    if (!enabled && m_manager && m_manager->GetFocusHandle() == m_handle && m_handle >= 0)
        m_manager->SetFocus(-1);
}

bool CGuiControl::FocusChildAt(const SGuiPoint&)
{
    return false;
}

void CGuiControl::ShowAsTooltip(bool show)
{
    SetVisible(show);
}

void CGuiControl::ResolveSounds()
{
}

void CGuiControl::SwitchTooltip(CGuiControl* newControl)
{
    if (!m_manager)
        return;
    int mine = m_tooltipControlId >= 0 ? m_manager->FindControlNear(*this, m_tooltipControlId) : -1;
    int theirs = -1;
    if (newControl && newControl->m_tooltipControlId >= 0)
        theirs = m_manager->FindControlNear(*newControl, newControl->m_tooltipControlId);
    if (mine >= 0 && mine != theirs)
        if (CGuiControl* tooltip = m_manager->GetControl(mine))
            tooltip->ShowAsTooltip(false);
    if (theirs >= 0)
        if (CGuiControl* tooltip = m_manager->GetControl(theirs))
            tooltip->ShowAsTooltip(true);
}

int CGuiControl::GetLink(int action) const
{
    switch (action)
    {
    case GUI_ACTION_UP:
        return m_upId;
    case GUI_ACTION_DOWN:
        return m_downId;
    case GUI_ACTION_LEFT:
        return m_leftId;
    case GUI_ACTION_RIGHT:
        return m_rightId;
    default:
        return -1;
    }
}

void CGuiControl::SetLinks(int up, int down, int left, int right)
{
    m_upId = up;
    m_downId = down;
    m_leftId = left;
    m_rightId = right;
}

void CGuiControl::SetFromDesc(const SGuiControlDesc& desc)
{
    m_rect = SGuiRect{desc.x, desc.y, desc.w, desc.h};
    m_controlId = desc.controlId;
    m_tooltipControlId = desc.tooltipControlId;
    SetLinks(desc.upId, desc.downId, desc.leftId, desc.rightId);
    m_owner = desc.owner;
}

bool CGuiControl::Navigate(int action)
{
    if (!m_manager)
        return false;
    int target = m_manager->FindNavigationTarget(*this, GetLink(action), action);
    CGuiControl* control = m_manager->GetControl(target);
    if (!control)
        return false;
    CGuiManager* manager = m_manager; // this control may be gone after the calls below
    SwitchTooltip(control);
    manager->SetFocus(target);
    PlayGuiSound(manager->GetDefaultSound(CGuiManager::SOUND_NAVIGATE));
    return true;
}

void CGuiControl::RaiseEvent(int event, int value) const
{
    if (m_manager)
        m_manager->RaiseEvent(m_owner, m_controlId, event, value);
}

SGuiRect CGuiControl::GetScreenRect() const
{
    SGuiRect rect = m_rect;
    if (m_parent)
    {
        SGuiRect inner = m_parent->GetInnerRect();
        rect.x += inner.x;
        rect.y += inner.y;
    }
    return rect;
}

const CGuiControl* CGuiControl::GetTopLevel() const
{
    const CGuiControl* control = this;
    while (control->m_parent)
        control = control->m_parent;
    return control;
}
