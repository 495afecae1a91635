#pragma once
// Texts of the GUI: a text box (type 12), which wraps its text word by word inside
// its rectangle and draws the lines clipped to it, and a static text (type 14), one
// line drawn from its place.

#include "presentation/GuiControl.h"
#include "presentation/GuiText.h"

#include <string>
#include <vector>

class CGuiTextBox : public CGuiControl
{
public:
    explicit CGuiTextBox(const SGuiTextBoxDesc& desc);

    int GetType() const override { return GUI_TYPE_TEXT_BOX; }
    bool Initialise() override;
    bool TakeFocus() override;
    bool Draw(float z) override;
    void RefreshStrings() override;

    // 8-bit text (widened) or a string-table text; both wrap the lines again.
    void SetText(const char* text);
    void SetTextWide(const char16_t* text);
    void SetTextById(uint32_t id);
    const std::vector<std::u16string>& GetLines() const { return m_lines; }
    // Kept for the screens: whether the text may scroll, and after how long.
    bool IsScrolling() const { return m_scroll; }
    int32_t GetScrollDelay() const { return m_scrollDelay; }

private:
    void Wrap();

    CGuiShownText m_text;
    std::vector<std::u16string> m_lines;
    bool m_bordered;
    bool m_singleChar;
    bool m_singleWord;
    bool m_scroll;
    int32_t m_scrollDelay;
    int m_fontId;
    bool m_alphaTest;
    bool m_alphaBlend;
};

class CGuiStaticText : public CGuiControl
{
public:
    explicit CGuiStaticText(const SGuiStaticTextDesc& desc);

    int GetType() const override { return GUI_TYPE_STATIC_TEXT; }
    bool Draw(float z) override;
    void RefreshStrings() override;

    // Own texts (the string id is dropped), or a string-table text looked up now and
    // again whenever the strings are refreshed.
    void SetText(const char* text) { m_text.SetNarrow(text); }
    void SetTextWide(const char16_t* text) { m_text.SetWide(text); }
    void SetTextById(uint32_t id) { m_text.SetById(id); }
    const std::u16string& GetText() const { return m_text.Get(); }

private:
    CGuiShownText m_text;
    int m_fontId;
};
