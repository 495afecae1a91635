#pragma once
// An alert box (type 16): a modal message in the alert frame. Shown, it takes the
// focus (remembering which control had it), plays the alert sound and reveals the
// text of its first page one character a frame, the pilot's name in place of
// "[p_name]", with the page's voice when its text has one. A page from the string
// table is wrapped to the box; literal lines are shown as they are. When the page is
// complete a marker pulses at the bottom. Select, back or a click first completes the
// page, then closes the box: hidden, the voice stopped, event 1, and the focus back
// where it was.

#include "presentation/GuiControl.h"

#include <string>
#include <vector>

class CGuiAlertBox : public CGuiControl
{
public:
    explicit CGuiAlertBox(const SGuiAlertBoxDesc& desc);

    int GetType() const override { return GUI_TYPE_ALERT_BOX; }
    bool Initialise() override;
    bool PointerClick(const SGuiPoint& point) override;
    void Action(int code) override;
    bool TakeFocus() override;
    bool Draw(float z) override;
    void RefreshStrings() override;

    void Show();
    bool IsComplete() const { return m_complete; }
    // Characters of the page shown so far.
    int GetRevealed() const { return m_revealed; }
    // The lines of page n as they are shown (pilot's name in place).
    std::vector<std::u16string> GetPageLines(size_t n) const;
    size_t GetPageCount() const { return m_pages.size(); }
    // Where the layout asked for a speech bubble (its id and place), for the screens.
    int32_t GetSpeechBubbleId() const { return m_speechBubbleId; }
    SGuiPoint GetSpeechBubblePosition() const { return SGuiPoint{m_speechBubbleX, m_speechBubbleY}; }

private:
    struct SPage
    {
        uint32_t textId;
        std::vector<std::u16string> literal;
        std::vector<std::u16string> lines; // wrapped text, or the literal lines
    };

    void Advance();
    void Close() override;
    bool DrawText(const SGuiRect& inner, float z);

    std::vector<SPage> m_pages;
    int m_fontId;
    int32_t m_speechBubbleId;
    int32_t m_speechBubbleX;
    int32_t m_speechBubbleY;
    size_t m_page = 0;
    int m_revealed = 0;
    bool m_started = false;
    bool m_complete = false;
    // The control that had the focus when the box opened, by handle and its generation.
    int m_previousFocus = -1;
    uint32_t m_previousGeneration = 0;
};
