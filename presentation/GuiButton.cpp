#include "presentation/GuiButton.h"

#include "core/DataTree.h"
#include "presentation/GuiDraw.h"
#include "presentation/GuiManager.h"
#include "presentation/GuiText.h"

CGuiButton::CGuiButton(const SGuiButtonDesc& desc)
    : m_caption(desc.caption), m_fontId(desc.fontId), m_sticky(desc.sticky), m_centred(desc.centered),
      m_alphaTest(desc.alphaTest), m_alphaBlend(desc.alphaBlend), m_selectName(desc.selectEffect),
      m_backoutName(desc.backoutEffect)
{
    SetFromDesc(desc);
}

bool CGuiButton::Initialise()
{
    m_captionText = ResolveGuiText(m_caption);
    m_select.Load(m_selectName);
    m_backout.Load(m_backoutName);
    return true;
}

void CGuiButton::SetCaption(const char* text)
{
    m_caption = SGuiText::FromLiteral(WidenToU16(text ? text : ""));
    m_captionText = m_caption.literal;
}

void CGuiButton::SetCaptionWide(const char16_t* text)
{
    m_caption = SGuiText::FromLiteral(text ? text : u"");
    m_captionText = m_caption.literal;
}

void CGuiButton::SetCaptionById(uint32_t id)
{
    m_caption = SGuiText::FromId(id);
    m_captionText = LookUpGuiText(id);
}

void CGuiButton::RefreshStrings()
{
    if (m_caption.HasId())
        m_captionText = LookUpGuiText(m_caption.id);
}

void CGuiButton::ResolveSounds()
{
    m_select.Resolve();
    m_backout.Resolve();
}

bool CGuiButton::IsPressed() const
{
    if (!m_pressed)
        return false;
    return m_sticky || !m_manager || m_manager->GetFrameTime() - m_pressTime < PRESSED_LOOK_MS;
}

void CGuiButton::Press()
{
    m_pressed = m_sticky ? !m_pressed : true;
    if (m_manager)
        m_pressTime = m_manager->GetFrameTime();
}

bool CGuiButton::PointerClick(const SGuiPoint&)
{
    if (!m_visible || !m_enabled || !m_parent || !m_manager)
        return false;
    m_manager->SetFocus(m_handle);
    Press();
    PlayGuiSound(m_select.Get(m_manager->GetDefaultSound(CGuiManager::SOUND_SELECT)));
    RaiseEvent(GUI_EVENT_ACTIVATED, 0);
    return true;
}

void CGuiButton::Action(int code)
{
    if (!m_manager)
        return;
    switch (code)
    {
    case GUI_ACTION_SELECT:
    case GUI_ACTION_SELECT_2:
        Press();
        PlayGuiSound(m_select.Get(m_manager->GetDefaultSound(CGuiManager::SOUND_SELECT)));
        RaiseEvent(GUI_EVENT_ACTIVATED, 0);
        break;
    case GUI_ACTION_BACK:
        PlayGuiSound(m_backout.Get(m_manager->GetDefaultSound(CGuiManager::SOUND_BACKOUT)));
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

bool CGuiButton::TakeFocus()
{
    if (!m_visible || !m_enabled)
        return false;
    m_focused = true;
    return true;
}

bool CGuiButton::AcceptHoverFocus()
{
    if (!m_visible || !m_enabled || !m_manager)
        return false;
    if (!m_focused)
        PlayGuiSound(m_manager->GetDefaultSound(CGuiManager::SOUND_NAVIGATE));
    return true;
}

void CGuiButton::OnFocusGained()
{
    RaiseEvent(GUI_EVENT_FOCUS_GAINED, 0);
}

bool CGuiButton::Draw(float z)
{
    if (!m_visible || !m_manager)
        return true;
    uint32_t colour = GetFocusColour(*m_manager, m_enabled, m_focused);
    if (m_enabled && IsPressed())
        colour = m_focused ? GUI_COLOUR_WHITE : GUI_COLOUR_NORMAL;
    const SGuiSkin& skin = m_manager->GetSkin();
    const SGuiRect rect = GetScreenRect();
    const int bw = skin.buttonBorderWidth, bh = skin.buttonBorderHeight;
    bool drawn = m_manager->DrawFrame(rect, GetWindowFramePieces(0), bw, bh, colour, z, true, m_alphaBlend, m_alphaTest);
    const CFont& font = m_manager->GetFontOrSystem(m_fontId);
    const int textY = rect.y + bh + (rect.h - 2 * bh - font.GetGlyphHeight(u'a')) / 2;
    const int textX = m_centred ? rect.x + (rect.w - font.MeasureTextWide(m_captionText.c_str())) / 2 : rect.x + bw;
    font.DrawDataTextWide(float(textX), float(textY), z, m_captionText.c_str(), colour);
    return drawn;
}
