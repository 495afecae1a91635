#include "presentation/GuiTooltip.h"

#include "presentation/GuiDraw.h"
#include "presentation/GuiManager.h"
#include "presentation/GuiText.h"

CGuiTooltip::CGuiTooltip(const SGuiTooltipDesc& desc)
    : m_caption(desc.caption), m_fontId(desc.fontId), m_speechBubble(desc.speechBubble), m_bordered(desc.bordered)
{
    SetFromDesc(desc);
}

bool CGuiTooltip::Initialise()
{
    RefreshStrings();
    return true;
}

void CGuiTooltip::RefreshStrings()
{
    m_caption.Refresh();
    m_textWidth = m_manager ? m_manager->GetFontOrSystem(m_fontId).MeasureTextExact(m_caption.Get().c_str()) : 0;
}

void CGuiTooltip::ShowAsTooltip(bool show)
{
    if (show)
        Show();
    else
        Hide();
}

void CGuiTooltip::Show()
{
    if (m_visible || !m_manager)
        return;
    m_shownAt = m_lastDraw = m_manager->GetFrameTime();
    m_displayLeft = DISPLAY_MS;
    m_fadeLeft = FADE_MS;
    m_scrollOffset = 0;
    m_scrollWait = SCROLL_WAIT_MS;
    m_alpha = 255;
    m_visible = true;
}

void CGuiTooltip::Hide()
{
    m_visible = false;
}

void CGuiTooltip::CountDown(int32_t elapsed)
{
    if (m_displayLeft > 0)
    {
        m_displayLeft -= elapsed;
        if (m_displayLeft >= 0)
            return;
        elapsed = -m_displayLeft; // what is left over fades
        m_displayLeft = 0;
    }
    m_fadeLeft -= elapsed;
    if (m_fadeLeft <= 0)
    {
        m_alpha = 0;
        Hide();
        return;
    }
    m_alpha = uint32_t(m_fadeLeft * 255 / FADE_MS);
}

bool CGuiTooltip::DrawFrame(const SGuiRect& rect, uint32_t colour, float z)
{
    const SGuiSkin& skin = m_manager->GetSkin();
    const int bw = skin.tooltipBorderWidth, bh = skin.tooltipBorderHeight;
    const int p = GUI_PIECE_TOOLTIPS;
    // Pieces: tl, tr, bl, br, br speech bubble, top, left, right, bottom, background.
    const SGuiFramePieces pieces{p, p + 1, p + 2, m_speechBubble ? -1 : p + 3, p + 5, p + 6, p + 7, p + 8, p + 9};
    bool drawn = m_manager->DrawFrame(rect, pieces, bw, bh, colour, z, true, true, false);
    if (m_speechBubble)
    {
        // The bubble's corner at the usual place of the bottom-right one, in its own size.
        const SGuiRect corner{rect.x + rect.w - bw, rect.y + rect.h - bh, skin.tooltipSpeechBubbleWidth,
                              skin.tooltipSpeechBubbleHeight};
        drawn = m_manager->DrawSkinPiece(corner, p + 4, colour, z, true, false) && drawn;
    }
    return drawn;
}

bool CGuiTooltip::Draw(float z)
{
    if (!m_visible || !m_manager)
        return true;
    const uint32_t now = m_manager->GetFrameTime();
    int32_t elapsed = int32_t(now - m_lastDraw);
    m_lastDraw = now;
    const uint32_t colour = WithAlpha(GUI_COLOUR_WHITE, m_alpha);
    const SGuiRect rect = GetScreenRect();
    bool drawn = true;
    if (m_bordered)
        drawn = DrawFrame(rect, colour, z);
    const CFont& font = m_manager->GetFontOrSystem(m_fontId);
    const int border = m_manager->GetSkin().tooltipBorderWidth;
    const int inner = rect.w - 2 * border;
    const int textY = rect.y + (rect.h - font.GetGlyphHeight(u'W')) / 2;
    if (m_textWidth <= inner)
    {
        font.DrawDataTextWide(float(rect.x + border + (inner - m_textWidth) / 2), float(textY), z, m_caption.Get().c_str(),
                              colour);
        CountDown(elapsed);
        return drawn;
    }
    // A marquee: wait, scroll to the end, then count down.
    font.DrawTextClipped(float(rect.x + border - m_scrollOffset), float(textY), z, m_caption.Get().c_str(), colour,
                         float(rect.x + border), float(rect.y), float(inner), float(rect.h));
    if (m_scrollWait > 0)
    {
        if (!m_manager->IsModal())
            m_scrollWait -= elapsed > 99 ? 40 : elapsed;
    }
    else if (m_textWidth - m_scrollOffset > inner)
        m_scrollOffset += SCROLL_STEP;
    else
        CountDown(elapsed);
    return drawn;
}
