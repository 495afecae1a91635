#include "presentation/GuiText.h"

#include "core/DataTree.h"
#include "core/StringTable.h"
#include "presentation/Font.h"

#include <cstring>

std::u16string LookUpGuiText(uint32_t id)
{
    const CWString* text = nullptr;
    if (id == SGuiText::NO_ID || !g_stringTable || !g_stringTable->GetText(id, text) || !text)
        return std::u16string();
    return text->GetText();
}

std::u16string ResolveGuiText(const SGuiText& text)
{
    return text.HasId() ? LookUpGuiText(text.id) : text.literal;
}

std::string LookUpGuiVoice(uint32_t id)
{
    const CWString* text = nullptr;
    const CWString* voice = nullptr;
    if (id == SGuiText::NO_ID || !g_stringTable || !g_stringTable->GetTexts(id, text, voice) || !voice ||
        voice->GetTextLength() == 0)
        return std::string();
    char name[260];
    voice->ToNarrow(name, sizeof(name));
    return name;
}

void CGuiShownText::Set(const SGuiText& source)
{
    m_source = source;
    m_shown = ResolveGuiText(source);
}

void CGuiShownText::SetNarrow(const char* text)
{
    Set(SGuiText::FromLiteral(WidenToU16(text ? text : "")));
}

void CGuiShownText::SetWide(const char16_t* text)
{
    Set(SGuiText::FromLiteral(text ? text : u""));
}

bool CGuiShownText::Refresh()
{
    if (!m_source.HasId())
        return false;
    m_shown = LookUpGuiText(m_source.id);
    return true;
}

bool StartsWithPilotTag(const char16_t* text)
{
    for (size_t i = 0; i < GUI_PILOT_TAG_LENGTH; ++i)
    {
        char16_t unit = text[i];
        if (unit >= u'A' && unit <= u'Z')
            unit = char16_t(unit - u'A' + u'a');
        if (unit != GUI_PILOT_TAG[i])
            return false;
    }
    return true;
}

std::u16string ExpandPilotName(const std::u16string& text, const std::u16string& name)
{
    std::u16string out;
    for (size_t i = 0; i < text.size();)
    {
        if (text.size() - i >= GUI_PILOT_TAG_LENGTH && StartsWithPilotTag(text.c_str() + i))
        {
            out += name;
            i += GUI_PILOT_TAG_LENGTH;
        }
        else
            out += text[i++];
    }
    return out;
}

namespace
{
int MeasureWord(const std::u16string& word, const CFont& font)
{
    if (word.size() >= GUI_PILOT_TAG_LENGTH && StartsWithPilotTag(word.c_str()))
        return 8 * font.GetGlyphAdvance(u'W') + font.MeasureTextWide(word.c_str() + GUI_PILOT_TAG_LENGTH);
    return font.MeasureTextWide(word.c_str());
}

void PushLine(std::vector<std::u16string>& lines, std::u16string line)
{
    while (!line.empty() && line.back() == u' ')
        line.pop_back();
    lines.push_back(line);
}
} // namespace

std::vector<std::u16string> WrapGuiText(const std::u16string& text, const CFont& font, int width)
{
    std::vector<std::u16string> lines;
    const int space = font.GetGlyphAdvance(u' ');
    std::u16string line;
    int lineWidth = 0;
    size_t start = 0;
    while (start <= text.size())
    {
        size_t end = text.find(u' ', start);
        if (end == std::u16string::npos)
            end = text.size();
        const std::u16string word = text.substr(start, end - start);
        start = end + 1;
        if (word.empty() && end == text.size())
            break;
        const int wordWidth = MeasureWord(word, font);
        if (!line.empty() && lineWidth + wordWidth + 10 > width)
        {
            PushLine(lines, line);
            line.clear();
            lineWidth = 0;
        }
        if (line.empty() && wordWidth + 10 > width)
        {
            PushLine(lines, word); // wider than the whole line: a line of its own
            continue;
        }
        line += word + u" ";
        lineWidth += wordWidth + space;
    }
    if (!line.empty())
        PushLine(lines, line);
    return lines;
}
