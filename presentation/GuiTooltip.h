#pragma once
// A tooltip (type 15): a framed line of text shown when the control that names it
// takes the focus. Shown, it stays fully visible for 5 seconds, fades out over 2.5
// seconds and hides. A text wider than the tooltip first waits 2.5 seconds, then
// scrolls 2 pixels a frame until its end is in view, and only then starts the 5
// seconds. Times are the GUI's real time.

#include "presentation/GuiControl.h"
#include "presentation/GuiText.h"

#include <string>

class CGuiTooltip : public CGuiControl
{
public:
    static constexpr int32_t DISPLAY_MS = 5000;
    static constexpr int32_t FADE_MS = 2500;
    static constexpr int32_t SCROLL_WAIT_MS = 2500;
    static constexpr int SCROLL_STEP = 2;

    explicit CGuiTooltip(const SGuiTooltipDesc& desc);

    int GetType() const override { return GUI_TYPE_TOOLTIP; }
    bool Initialise() override;
    bool Draw(float z) override;
    void RefreshStrings() override;
    void ShowAsTooltip(bool show) override;

    // Starts showing (nothing when already shown); hides.
    void Show();
    void Hide();
    // The alpha it draws with now (0 to 255).
    uint32_t GetAlpha() const { return m_alpha; }
    int GetScrollOffset() const { return m_scrollOffset; }
    const std::u16string& GetText() const { return m_caption.Get(); }

private:
    // The frame and the text, in the current alpha.
    bool DrawFrame(const SGuiRect& rect, uint32_t colour, float z);
    // Runs the display and fade times down by the time since the last draw.
    void CountDown(int32_t elapsed);

    CGuiShownText m_caption;
    int m_textWidth = 0;
    int m_fontId;
    bool m_speechBubble;
    bool m_bordered;
    uint32_t m_shownAt = 0;
    uint32_t m_lastDraw = 0;
    int32_t m_displayLeft = 0;
    int32_t m_fadeLeft = 0;
    int32_t m_scrollWait = 0;
    int m_scrollOffset = 0;
    uint32_t m_alpha = 255;
};
