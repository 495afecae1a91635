#pragma once
// A single-line edit box (type 5) in overwrite mode: its text always fills its
// maximum length (1 to 256 characters), padded with spaces, and typing writes over
// the character at the cursor. Letters a-z are written in upper case.
//
// Typed codes: 8 backspace, Delete, the left and right arrows move the cursor, up and
// down leave the box along its links (event 1), Enter completes it (event 1, the focus
// to its completed-focus control), Escape puts back the text it had when it took the
// focus (event 3, the focus to its cancelled-focus control). Codes from 32 to 255 are
// written; the cursor may stand after the last character, where nothing more is
// written, and goes back to the first place whenever the box takes the focus. While
// it has the focus the game's keyboard controls rest.

#include "presentation/GuiFocusable.h"

#include <string>

class CGuiEditBox : public CGuiFocusable
{
public:
    static constexpr int MAX_LENGTH = SGuiEditBoxDesc::MAX_LENGTH;

    explicit CGuiEditBox(const SGuiEditBoxDesc& desc);

    int GetType() const override { return GUI_TYPE_EDIT_BOX; }
    void CharInput(uint32_t code) override;
    void Action(int code) override;
    bool TakeFocus() override;
    void LoseFocus() override;
    bool Draw(float z) override;

    // 8-bit text, cut to the maximum length and padded with spaces; the cursor stays
    // where it was (within the length).
    void SetText(const char* text);
    // 16-bit text made 8-bit (units above 127 become spaces).
    void SetTextWide(const char16_t* text);
    // The text (maximum-length characters, padded) into a buffer of size bytes; always
    // terminated when size > 0.
    void GetText(char* buffer, size_t size) const;
    const char* GetBuffer() const { return m_text; }
    int GetMaxLength() const { return m_maxLength; }
    int GetCursor() const { return m_cursor; }

private:
    void Complete();
    void Cancel();
    // Gives the focus to the control named by id (near this one); false when none.
    bool FocusControl(int controlId);
    void PlayIncDec() const;

    // The text and the copy taken when the focus came, each with room for the terminator.
    char m_text[MAX_LENGTH + 1];
    char m_backup[MAX_LENGTH + 1];
    int m_maxLength;
    int m_cursor = 0;
    int m_completedFocusId;
    int m_cancelledFocusId;
    int m_fontId;
    bool m_bordered;
    bool m_alphaTest;
    bool m_alphaBlend;
};
