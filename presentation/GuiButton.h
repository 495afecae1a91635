#pragma once
// A push button (type 3): a frame of set 0 with its caption. Select or a click
// activates it (event 1) and shows it pressed for 350 ms, or, when sticky, turns its
// pressed state over; back raises event 0 with 1; the four directions move the focus
// along its links and raise event 0 with their code. Gaining the focus raises event 5.

#include "presentation/GuiControl.h"
#include "presentation/GuiSample.h"

#include <string>

class CGuiButton : public CGuiControl
{
public:
    static constexpr uint32_t PRESSED_LOOK_MS = 350;

    explicit CGuiButton(const SGuiButtonDesc& desc);

    int GetType() const override { return GUI_TYPE_BUTTON; }
    bool Initialise() override;
    bool PointerClick(const SGuiPoint& point) override;
    void Action(int code) override;
    bool TakeFocus() override;
    bool AcceptHoverFocus() override;
    void OnFocusGained() override;
    bool Draw(float z) override;
    void RefreshStrings() override;
    void ResolveSounds() override;

    void SetCaption(const char* text);
    void SetCaptionWide(const char16_t* text);
    void SetCaptionById(uint32_t id);
    const std::u16string& GetCaption() const { return m_captionText; }
    // Pressed: a sticky button's state, or a pressed look not yet 350 ms old.
    bool IsPressed() const;
    void SetPressed(bool pressed) { m_pressed = pressed; }

private:
    void Press();

    SGuiText m_caption;
    std::u16string m_captionText;
    int m_fontId;
    bool m_sticky;
    bool m_centred;
    bool m_alphaTest;
    bool m_alphaBlend;
    bool m_pressed = false;
    uint32_t m_pressTime = 0;
    std::string m_selectName;
    std::string m_backoutName;
    CGuiSample m_select;
    CGuiSample m_backout;
};
