#pragma once
// Push buttons: a button (type 3), a frame of set 0 with its caption, and the base it
// shares with the image button (GuiImage.h). Select or a click activates one (event 1)
// and shows it pressed for 350 ms, or, when it sticks, turns its pressed state over;
// back raises event 0 with 1; the four directions move the focus along its links and
// raise event 0 with their code. A button gaining the focus raises event 5.

#include "presentation/GuiFocusable.h"
#include "presentation/GuiSample.h"
#include "presentation/GuiText.h"

#include <string>

class CGuiPushControl : public CGuiFocusable
{
public:
    static constexpr uint32_t PRESSED_LOOK_MS = 350;

    void Action(int code) override;

    // Pressed: a sticking control's state, or a pressed look not yet 350 ms old.
    bool IsPressed() const;
    void SetPressed(bool pressed) { m_pressed = pressed; }

protected:
    explicit CGuiPushControl(bool sticks) : m_sticks(sticks) {}
    // The samples select and back play (-1: none).
    virtual int GetSelectSample() const;
    virtual int GetBackoutSample() const;
    // Pressed (or turned over) now.
    void Press();
    // A click on the control: the focus, the press and event 1; the select sample too
    // when asked. False when it is hidden, disabled or in no window.
    bool Click(bool sound);
    // The draw colour: grey when disabled; white (focused) or off-white while pressed;
    // else the highlight when focused, off-white when not.
    uint32_t GetDrawColour() const;

private:
    bool m_sticks;
    bool m_pressed = false;
    uint32_t m_pressTime = 0;
};

class CGuiButton : public CGuiPushControl
{
public:
    explicit CGuiButton(const SGuiButtonDesc& desc);

    int GetType() const override { return GUI_TYPE_BUTTON; }
    bool Initialise() override;
    bool PointerClick(const SGuiPoint& point) override;
    void OnFocusGained() override;
    bool Draw(float z) override;
    void RefreshStrings() override;
    void ResolveSounds() override;

    void SetCaption(const char* text) { m_caption.SetNarrow(text); }
    void SetCaptionWide(const char16_t* text) { m_caption.SetWide(text); }
    void SetCaptionById(uint32_t id) { m_caption.SetById(id); }
    const std::u16string& GetCaption() const { return m_caption.Get(); }

protected:
    int GetSelectSample() const override;
    int GetBackoutSample() const override;

private:
    CGuiShownText m_caption;
    int m_fontId;
    bool m_centred;
    bool m_alphaTest;
    bool m_alphaBlend;
    std::string m_selectName;
    std::string m_backoutName;
    CGuiSample m_select;
    CGuiSample m_backout;
};
