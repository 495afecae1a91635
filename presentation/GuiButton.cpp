#include "presentation/GuiButton.h"

#include "presentation/GuiDraw.h"
#include "presentation/GuiManager.h"

// ---- what buttons and image buttons share -----------------------------------------

int CGuiPushControl::GetSelectSample() const
{
    return m_manager ? m_manager->GetDefaultSound(CGuiManager::SOUND_SELECT) : -1;
}

int CGuiPushControl::GetBackoutSample() const
{
    return m_manager ? m_manager->GetDefaultSound(CGuiManager::SOUND_BACKOUT) : -1;
}

bool CGuiPushControl::IsPressed() const
{
    if (!m_pressed)
        return false;
    return m_sticks || !m_manager || m_manager->GetFrameTime() - m_pressTime < PRESSED_LOOK_MS;
}

void CGuiPushControl::Press()
{
    m_pressed = m_sticks ? !m_pressed : true;
    m_pressTime = m_manager ? m_manager->GetFrameTime() : 0;
}

bool CGuiPushControl::Click(bool sound)
{
    if (!m_visible || !m_enabled || !m_parent || !m_manager)
        return false;
    m_manager->SetFocus(m_handle);
    Press();
    if (sound)
        PlayGuiSound(GetSelectSample());
    RaiseEvent(GUI_EVENT_ACTIVATED, 0);
    return true;
}

void CGuiPushControl::Action(int code)
{
    if (!m_manager)
        return;
    switch (code)
    {
    case GUI_ACTION_SELECT:
    case GUI_ACTION_SELECT_2:
        Press();
        PlayGuiSound(GetSelectSample());
        RaiseEvent(GUI_EVENT_ACTIVATED, 0);
        break;
    case GUI_ACTION_BACK:
        PlayGuiSound(GetBackoutSample());
        RaiseEvent(GUI_EVENT_ACTION, code);
        break;
    case GUI_ACTION_UP:
    case GUI_ACTION_DOWN:
    case GUI_ACTION_LEFT:
    case GUI_ACTION_RIGHT:
        Navigate(code);
        RaiseEvent(GUI_EVENT_ACTION, code);
        break;
    default:
        break;
    }
}

uint32_t CGuiPushControl::GetDrawColour() const
{
    if (m_enabled && IsPressed())
        return m_focused ? GUI_COLOUR_WHITE : GUI_COLOUR_NORMAL;
    return GetFocusColour(*m_manager, m_enabled, m_focused);
}

// ---- button -----------------------------------------------------------------------

CGuiButton::CGuiButton(const SGuiButtonDesc& desc)
    : CGuiPushControl(desc.sticky), m_caption(desc.caption), m_fontId(desc.fontId), m_centred(desc.centered),
      m_alphaTest(desc.alphaTest), m_alphaBlend(desc.alphaBlend), m_selectName(desc.selectEffect),
      m_backoutName(desc.backoutEffect)
{
    SetFromDesc(desc);
}

bool CGuiButton::Initialise()
{
    m_select.Load(m_selectName);
    m_backout.Load(m_backoutName);
    return true;
}

void CGuiButton::RefreshStrings()
{
    m_caption.Refresh();
}

void CGuiButton::ResolveSounds()
{
    m_select.Resolve();
    m_backout.Resolve();
}

int CGuiButton::GetSelectSample() const
{
    return m_select.Get(CGuiPushControl::GetSelectSample());
}

int CGuiButton::GetBackoutSample() const
{
    return m_backout.Get(CGuiPushControl::GetBackoutSample());
}

bool CGuiButton::PointerClick(const SGuiPoint&)
{
    return Click(true);
}

void CGuiButton::OnFocusGained()
{
    RaiseEvent(GUI_EVENT_FOCUS_GAINED, 0);
}

bool CGuiButton::Draw(float z)
{
    if (!m_visible || !m_manager)
        return true;
    const uint32_t colour = GetDrawColour();
    const SGuiSkin& skin = m_manager->GetSkin();
    const SGuiRect rect = GetScreenRect();
    const int bw = skin.buttonBorderWidth, bh = skin.buttonBorderHeight;
    bool drawn = m_manager->DrawFrame(rect, GetWindowFramePieces(0), bw, bh, colour, z, true, m_alphaBlend, m_alphaTest);
    const CFont& font = m_manager->GetFontOrSystem(m_fontId);
    const std::u16string& caption = m_caption.Get();
    const int textY = rect.y + bh + (rect.h - 2 * bh - font.GetGlyphHeight(u'a')) / 2;
    const int textX = m_centred ? rect.x + (rect.w - font.MeasureTextWide(caption.c_str())) / 2 : rect.x + bw;
    font.DrawDataTextWide(float(textX), float(textY), z, caption.c_str(), colour);
    return drawn;
}
