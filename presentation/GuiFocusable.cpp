#include "presentation/GuiFocusable.h"

#include "presentation/GuiManager.h"

bool CGuiFocusable::TakeFocus()
{
    if (!m_visible || !m_enabled)
        return false;
    m_focused = true;
    return true;
}

bool CGuiFocusable::AcceptHoverFocus()
{
    if (!m_visible || !m_enabled || !m_manager)
        return false;
    if (!m_focused)
        PlayGuiSound(m_manager->GetDefaultSound(CGuiManager::SOUND_NAVIGATE));
    return true;
}
