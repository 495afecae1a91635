#pragma once
// Texts of the GUI controls: string-table texts by id, the pilot's name in place of
// "[p_name]", and word wrapping to a width.

#include "presentation/GuiControlDescs.h"

#include <string>
#include <vector>

class CFont;

// The tag a text holds where the pilot's name is shown (matched without case).
constexpr char16_t GUI_PILOT_TAG[] = u"[p_name]";
constexpr size_t GUI_PILOT_TAG_LENGTH = 8;

// The text of a string-table id in the selected language; empty when there is none.
std::u16string LookUpGuiText(uint32_t id);
// The string-table text of a text's id, or its literal text.
std::u16string ResolveGuiText(const SGuiText& text);
// The voice file named beside a string-table text (its second text), or "".
std::string LookUpGuiVoice(uint32_t id);

// A text a control shows: where it comes from (a string-table id or a literal) and
// what it gives now, looked up again on Refresh when it is a string-table text.
class CGuiShownText
{
public:
    CGuiShownText() = default;
    explicit CGuiShownText(const SGuiText& source) { Set(source); }

    void Set(const SGuiText& source);
    void SetNarrow(const char* text);
    void SetWide(const char16_t* text);
    void SetById(uint32_t id) { Set(SGuiText::FromId(id)); }
    // Looks the text up (again); false when it is a literal, which never changes.
    bool Refresh();
    const std::u16string& Get() const { return m_shown; }
    const SGuiText& GetSource() const { return m_source; }

private:
    SGuiText m_source;
    std::u16string m_shown;
};

// Whether the text starts with the pilot tag.
bool StartsWithPilotTag(const char16_t* text);
// The text with every pilot tag replaced by the name.
std::u16string ExpandPilotName(const std::u16string& text, const std::u16string& name);

// Word wrap: a word is what lies up to a space (or the end). Words are put on a line
// while the line's width so far, the word and 10 pixels still fit the width; each
// placed word is followed by a space. A word that begins with the pilot tag counts
// as eight "W" and the rest of its letters; a word wider than the whole width gets a
// line of its own. Lines are given without their last space.
std::vector<std::u16string> WrapGuiText(const std::u16string& text, const CFont& font, int width);
