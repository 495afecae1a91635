#include "presentation/TextPageFile.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "core/StringTable.h"
#include "core/Utf8Text.h"
#include "core/WString.h"
#include "presentation/GuiText.h"

#include <climits>
#include <cstdio>
#include <iterator>

namespace
{
// A value name that is a whole number (digits, an optional "-" first).
bool ParseNumberName(const std::u16string& name, int32_t& number)
{
    size_t i = name.size() > 0 && name[0] == u'-' ? 1 : 0;
    if (i == name.size() || name.size() - i > 9)
        return false;
    int32_t value = 0;
    for (; i < name.size(); ++i)
    {
        if (name[i] < u'0' || name[i] > u'9')
            return false;
        value = value * 10 + (name[i] - u'0');
    }
    number = name[0] == u'-' ? -value : value;
    return true;
}

void ReadImages(const CDataTree& block, STextPageFileDesc& out, CDefinitionProblems& problems)
{
    for (size_t i = 0; i < block.GetChildCount(); ++i)
    {
        const CDataNode* child = block.GetChild(i);
        int32_t id = 0;
        if (child->IsBlock() || !ParseNumberName(child->GetName(), id))
            continue;
        if (id < 0)
        {
            problems.AddWarning(child, "picture %d can never show: \"[-1]\" takes the picture away", id);
            continue;
        }
        bool repeated = false;
        for (const STextPageImageDesc& image : out.images)
            repeated = repeated || image.id == id;
        if (repeated)
        {
            problems.AddWarning(child, "picture %d is named twice; the first is shown", id);
            continue;
        }
        STextPageImageDesc image;
        image.id = id;
        image.node = child;
        char file[DATA_VALUE_MAX + 1] = "";
        block.GetStringW(child->GetName().c_str(), file, sizeof(file));
        image.file = file;
        char key[32];
        std::snprintf(key, sizeof(key), "alignleft%d", static_cast<int>(id));
        block.GetBool(key, image.alignLeft);
        out.images.push_back(image);
    }
}

void ReadSize(const CDataTree& root, const char* key, int32_t& out, CDefinitionProblems& problems)
{
    if (!root.GetInt(key, out))
        return;
    if (out < 0 || out > TEXT_PAGE_MAX_SIZE)
    {
        problems.AddWarning(&root, "\"%s\" %d is outside 0 to %d", key, static_cast<int>(out),
                            static_cast<int>(TEXT_PAGE_MAX_SIZE));
        out = out < 0 ? 0 : TEXT_PAGE_MAX_SIZE;
    }
}

// "textid": decimal, or hexadecimal after "0x" as string ids are usually written.
bool ReadTextId(const CDataTree& page, uint32_t& id)
{
    const CDataValue* value = page.FindValue("textid");
    if (!value)
        return false;
    const std::u16string text = value->GetTrimmedText();
    if (text.size() < 3 || text[0] != u'0' || (text[1] != u'x' && text[1] != u'X'))
        return page.GetUInt("textid", id);
    if (text.size() > 10)
        return false;
    uint32_t result = 0;
    for (size_t i = 2; i < text.size(); ++i)
    {
        const char16_t unit = text[i];
        uint32_t digit = 0;
        if (unit >= u'0' && unit <= u'9')
            digit = unit - u'0';
        else if (unit >= u'a' && unit <= u'f')
            digit = unit - u'a' + 10;
        else if (unit >= u'A' && unit <= u'F')
            digit = unit - u'A' + 10;
        else
            return false;
        result = result << 4 | digit;
    }
    id = result;
    return true;
}

bool ReadStringPage(const CDataTree& page, const CStringTable* strings, STextPageSource& source,
                    CDefinitionProblems& problems)
{
    uint32_t id = 0;
    CWString key;
    const bool byKey = page.GetWString("textidstring", key);
    if (byKey)
    {
        if (!strings || !strings->FindIdW(key.GetText(), id))
        {
            problems.AddFatal(&page, "the string table has no text \"%s\"", Utf16ToUtf8(key.GetText()).c_str());
            return false;
        }
    }
    else if (!ReadTextId(page, id))
    {
        problems.AddFatal(page.FindChild("textid"), "\"textid\" is no string id (decimal, or hexadecimal after 0x)");
        return false;
    }
    const CWString* text = nullptr;
    const CWString* voice = nullptr;
    if (!strings || !strings->GetTexts(id, text, voice) || !text)
    {
        problems.AddFatal(&page, "the string table has no text 0x%08x", static_cast<unsigned>(id));
        return false;
    }
    source.fromTable = true;
    source.stringId = id;
    source.text = text->GetText();
    if (voice && voice->GetTextLength() > 0)
    {
        char name[260];
        voice->ToNarrow(name, sizeof(name));
        source.voice = name;
    }
    return true;
}

void ReadLiteralLines(const CDataTree& page, STextPageSource& source, CDefinitionProblems& problems)
{
    for (int line = 0;; ++line)
    {
        char key[32];
        std::snprintf(key, sizeof(key), "line%d", line);
        const CDataValue* value = page.FindValue(key);
        if (!value)
            break;
        if (line == TEXT_PAGE_MAX_LINES)
        {
            problems.AddWarning(value, "a page shows at most %d lines; the rest are left out", TEXT_PAGE_MAX_LINES);
            break;
        }
        source.lines.push_back(value->GetTrimmedText());
    }
    if (source.lines.empty())
        problems.AddWarning(&page, "the page has no \"textidstring\", \"textid\" or \"line0\": it shows nothing");
}
} // namespace

ETextPageTag FindTextPageTag(const char16_t* text, size_t length, size_t& tagLength, int32_t& image)
{
    if (length == 0 || text[0] != u'[')
        return TEXT_PAGE_NO_TAG;
    if (length >= GUI_PILOT_TAG_LENGTH && StartsWithPilotTag(text))
    {
        tagLength = GUI_PILOT_TAG_LENGTH;
        return TEXT_PAGE_PILOT_TAG;
    }
    size_t i = 1;
    const bool negative = i < length && text[i] == u'-';
    if (negative)
        ++i;
    const size_t digits = i;
    int64_t value = 0;
    for (; i < length && text[i] >= u'0' && text[i] <= u'9'; ++i)
        if (value <= INT32_MAX)
            value = value * 10 + (text[i] - u'0');
    if (i == digits || i >= length || text[i] != u']')
        return TEXT_PAGE_NO_TAG;
    tagLength = i + 1;
    image = value > INT32_MAX ? INT32_MIN : static_cast<int32_t>(negative ? -value : value);
    return TEXT_PAGE_IMAGE_TAG;
}

bool ReadTextPageFile(const CDataTree& root, int language, const CStringTable* strings, STextPageFileDesc& out,
                      CDefinitionProblems& problems)
{
    out = STextPageFileDesc();
    if (const CDataTree* images = root.FindBlock("PrecacheImages"))
        ReadImages(*images, out, problems);
    if (root.GetInt("fontidx", out.fontIndex) && (out.fontIndex < -1 || out.fontIndex > 3))
        problems.AddWarning(&root, "\"fontidx\" %d is no GUI font: the system font draws the text",
                            static_cast<int>(out.fontIndex));
    ReadSize(root, "x", out.x, problems);
    ReadSize(root, "y", out.y, problems);
    ReadSize(root, "width", out.width, problems);
    ReadSize(root, "imageheight", out.imageHeight, problems);
    ReadSize(root, "textheight", out.textHeight, problems);

    if (language < 0 || language >= static_cast<int>(std::size(TEXT_PAGE_LANGUAGES)))
    {
        problems.AddFatal(&root, "there is no language %d", language);
        return false;
    }
    const CDataTree* pages = root.FindBlock(TEXT_PAGE_LANGUAGES[language]);
    if (!pages)
    {
        problems.AddFatal(&root, "there is no \"%s\" block of pages", TEXT_PAGE_LANGUAGES[language]);
        return false;
    }
    bool ok = true;
    for (int index = 0;; ++index)
    {
        char key[32];
        std::snprintf(key, sizeof(key), "page%d", index);
        const CDataTree* page = pages->FindBlock(key);
        if (!page)
            break;
        if (index == TEXT_PAGE_MAX_PAGES)
        {
            problems.AddWarning(page, "a file holds at most %d pages; the rest are left out", TEXT_PAGE_MAX_PAGES);
            break;
        }
        STextPageSource source;
        source.node = page;
        if (page->FindChild("textidstring") || page->FindChild("textid"))
            ok = ReadStringPage(*page, strings, source, problems) && ok;
        else
            ReadLiteralLines(*page, source, problems);
        out.pages.push_back(std::move(source));
    }
    if (out.pages.empty())
    {
        problems.AddFatal(pages, "there is no \"page0\": the file has nothing to show");
        return false;
    }
    return ok;
}
