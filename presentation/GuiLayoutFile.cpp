#include "presentation/GuiLayoutFile.h"

#include "core/DataFile.h"
#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "core/StringTable.h"
#include "core/Utf8Text.h"


namespace
{
const char* const CLASS_NAMES[] = {"window",    "button",     "imagebutton", "staticimage", "textbox",
                                   "editbox",   "listbutton", "statictext",  "tooltip",     "alertbox"};
constexpr int CLASS_COUNT = int(sizeof(CLASS_NAMES) / sizeof(CLASS_NAMES[0]));
constexpr int LAYER_COUNT = 4;
constexpr int FONT_COUNT = 4;
constexpr int FRAME_SETS = 4;

// The reading context: the string table and where problems go.
struct SReader
{
    const CStringTable* strings;
    CDefinitionProblems& problems;
};

// A numbered key: "option" and 3 give "option3".
std::string MakeKey(const char* prefix, int n)
{
    return prefix + std::to_string(n);
}

int32_t GetIntOr(const CDataTree& block, const char* key, int32_t fallback)
{
    block.GetInt(key, fallback);
    return fallback;
}

bool GetBoolOr(const CDataTree& block, const char* key, bool fallback)
{
    block.GetBool(key, fallback);
    return fallback;
}

std::string GetNarrow(const CDataTree& block, const char* key)
{
    char text[DATA_VALUE_MAX + 1] = {};
    block.GetString(key, text, sizeof(text));
    return text;
}

// A value's text as written (trimmed), 16-bit; false when there is no such value.
bool GetWide(const CDataTree& block, const char* key, std::u16string& out)
{
    const CDataValue* value = block.FindValue(key);
    if (!value)
        return false;
    out = value->GetTrimmedText();
    return true;
}

// Clamps into low..high, warning about the value taken.
int32_t Clamp(const CDataTree& block, const char* key, int32_t value, int32_t low, int32_t high, SReader& reader)
{
    int32_t taken = value < low ? low : (value > high ? high : value);
    if (taken != value)
        reader.problems.AddWarning(&block, "\"%s\" %d is taken as %d", key, int(value), int(taken));
    return taken;
}

// "fontId": -1 is the class's default; other values outside 0..3 are taken in range.
int ReadFontId(const CDataTree& block, int fallback, SReader& reader)
{
    int32_t id = GetIntOr(block, "fontId", fallback);
    return id == -1 ? fallback : Clamp(block, "fontId", id, 0, FONT_COUNT - 1, reader);
}

// The string-table key or the numeric id of a text; false when neither key is there
// (the caller then reads its literal form).
bool ReadTextId(const CDataTree& block, const char* keyName, const char* idName, uint32_t& id, SReader& reader)
{
    std::u16string key;
    if (GetWide(block, keyName, key))
    {
        id = SGuiText::NO_ID;
        if (!reader.strings || !reader.strings->FindIdW(key.c_str(), id))
        {
            id = SGuiText::NO_ID;
            reader.problems.AddWarning(block.FindValue(keyName), "the string table has no key \"%s\"",
                                       Utf16ToUtf8(key).c_str());
        }
        return true;
    }
    if (!block.FindValue(idName))
        return false;
    id = SGuiText::NO_ID;
    const CWString* text = nullptr;
    if (!block.GetUInt(idName, id))
        reader.problems.AddWarning(block.FindValue(idName), "\"%s\" is not a string id", idName);
    else if (reader.strings && !reader.strings->GetText(id, text))
        reader.problems.AddWarning(block.FindValue(idName), "the string table has no text %u", unsigned(id));
    return true;
}

// A text from a key, an id or the literal key.
SGuiText ReadText(const CDataTree& block, const char* keyName, const char* idName, const char* literalName,
                  SReader& reader)
{
    SGuiText text;
    if (!ReadTextId(block, keyName, idName, text.id, reader))
        GetWide(block, literalName, text.literal);
    return text;
}

void ReadRect(const CDataTree& block, SGuiControlDesc& desc)
{
    desc.x = GetIntOr(block, "x", 0);
    desc.y = GetIntOr(block, "y", 0);
    desc.w = GetIntOr(block, "w", 0);
    desc.h = GetIntOr(block, "h", 0);
}

void ReadIds(const CDataTree& block, SGuiControlDesc& desc)
{
    desc.controlId = GetIntOr(block, "controlid", -1);
    desc.tooltipControlId = GetIntOr(block, "tooltipcontrolid", -1);
}

void ReadLinks(const CDataTree& block, SGuiControlDesc& desc)
{
    desc.leftId = GetIntOr(block, "leftcontrolid", -1);
    desc.rightId = GetIntOr(block, "rightcontrolid", -1);
    desc.upId = GetIntOr(block, "upcontrolid", -1);
    desc.downId = GetIntOr(block, "downcontrolid", -1);
}

void ReadUvs(const CDataTree& block, float uvs[4])
{
    block.GetVec4("uvs", uvs);
}

SGuiButtonDesc ReadButton(const CDataTree& block, SReader& reader)
{
    SGuiButtonDesc desc;
    ReadRect(block, desc);
    ReadIds(block, desc);
    ReadLinks(block, desc);
    desc.caption = ReadText(block, "captionidstring", "captionid", "caption", reader);
    desc.alphaTest = GetBoolOr(block, "alphatest", false);
    desc.alphaBlend = GetBoolOr(block, "alphablend", true);
    desc.centered = GetBoolOr(block, "centered", true);
    desc.sticky = GetBoolOr(block, "sticky", false);
    desc.fontId = ReadFontId(block, 0, reader);
    desc.selectEffect = GetNarrow(block, "select_effect");
    desc.backoutEffect = GetNarrow(block, "backout_effect");
    return desc;
}

SGuiImageButtonDesc ReadImageButton(const CDataTree& block)
{
    SGuiImageButtonDesc desc;
    ReadRect(block, desc);
    ReadIds(block, desc);
    ReadLinks(block, desc);
    desc.imageName = GetNarrow(block, "imagename");
    ReadUvs(block, desc.uvs);
    desc.alphaTest = GetBoolOr(block, "alphatest", false);
    desc.alphaBlend = GetBoolOr(block, "alphablend", true);
    desc.bordered = GetBoolOr(block, "bordered", false);
    desc.stick = GetBoolOr(block, "stick", false);
    return desc;
}

SGuiStaticImageDesc ReadStaticImage(const CDataTree& block)
{
    SGuiStaticImageDesc desc;
    ReadRect(block, desc);
    ReadIds(block, desc);
    desc.imageName = GetNarrow(block, "imagename");
    ReadUvs(block, desc.uvs);
    desc.alphaTest = GetBoolOr(block, "alphatest", false);
    desc.alphaBlend = GetBoolOr(block, "alphablend", false);
    return desc;
}

// A text box's literal text is "string0", "string1", ... up to the first missing one,
// joined with a space each: the data tree trims the end of every value, so a space
// written at the end of a part could not separate it from the next.
SGuiTextBoxDesc ReadTextBox(const CDataTree& block, SReader& reader)
{
    SGuiTextBoxDesc desc;
    ReadRect(block, desc);
    ReadIds(block, desc);
    if (!ReadTextId(block, "captionidstring", "captionid", desc.text.id, reader))
    {
        std::u16string part;
        for (int n = 0; GetWide(block, MakeKey("string", n).c_str(), part); ++n)
            desc.text.literal += (n > 0 ? u" " : u"") + part;
    }
    desc.bordered = GetBoolOr(block, "bordered", true);
    desc.singleChar = GetBoolOr(block, "singlechar", false);
    desc.singleWord = GetBoolOr(block, "singleword", false);
    desc.scroll = GetBoolOr(block, "scroll", true);
    desc.scrollDelay = GetIntOr(block, "scrolldelay", 0);
    desc.fontId = ReadFontId(block, 1, reader);
    desc.alphaTest = GetBoolOr(block, "alphatest", false);
    desc.alphaBlend = GetBoolOr(block, "alphablend", false);
    return desc;
}

SGuiEditBoxDesc ReadEditBox(const CDataTree& block, SReader& reader)
{
    SGuiEditBoxDesc desc;
    ReadRect(block, desc);
    ReadIds(block, desc);
    ReadLinks(block, desc);
    desc.bordered = GetBoolOr(block, "bordered", false);
    desc.maxLength = Clamp(block, "maxstringlength", GetIntOr(block, "maxstringlength", SGuiEditBoxDesc::MAX_LENGTH),
                           1, SGuiEditBoxDesc::MAX_LENGTH, reader);
    desc.completedFocusId = GetIntOr(block, "completedfocuscontrol", -1);
    desc.cancelledFocusId = GetIntOr(block, "cancelledfocuscontrol", -1);
    desc.fontId = ReadFontId(block, 1, reader);
    desc.alphaTest = GetBoolOr(block, "alphatest", false);
    desc.alphaBlend = GetBoolOr(block, "alphablend", false);
    return desc;
}

SGuiListButtonDesc ReadListButton(const CDataTree& block, SReader& reader)
{
    SGuiListButtonDesc desc;
    ReadRect(block, desc);
    ReadIds(block, desc);
    ReadLinks(block, desc);
    desc.fontId = ReadFontId(block, 1, reader);
    desc.centered = GetBoolOr(block, "centered", true);
    desc.bordered = GetBoolOr(block, "bordered", true);
    desc.wrapAround = GetBoolOr(block, "wrapAround", true);
    for (int n = 0;; ++n)
    {
        const std::string key = MakeKey("optionidstring", n);
        const std::string id = MakeKey("optionid", n);
        const std::string literal = MakeKey("option", n);
        SGuiText option;
        if (!ReadTextId(block, key.c_str(), id.c_str(), option.id, reader) &&
            !GetWide(block, literal.c_str(), option.literal))
            break;
        desc.options.push_back(option);
    }
    // Number-range mode needs both ends.
    int32_t low = 0;
    int32_t high = 0;
    const bool hasLow = block.GetInt("numberrangelow", low);
    const bool hasHigh = block.GetInt("numberrangehigh", high);
    if (hasLow && hasHigh)
    {
        desc.numberRange = true;
        desc.rangeLow = low;
        desc.rangeHigh = high;
        if (high < low)
            reader.problems.AddWarning(&block, "the number range %d to %d has no numbers", int(low), int(high));
    }
    desc.alphaTest = GetBoolOr(block, "alphatest", false);
    desc.alphaBlend = GetBoolOr(block, "alphablend", true);
    return desc;
}

SGuiStaticTextDesc ReadStaticText(const CDataTree& block, SReader& reader)
{
    SGuiStaticTextDesc desc;
    desc.x = GetIntOr(block, "x", 0);
    desc.y = GetIntOr(block, "y", 0);
    ReadIds(block, desc);
    desc.fontId = ReadFontId(block, 1, reader);
    desc.text = ReadText(block, "captionidstring", "captionid", "string", reader);
    return desc;
}

SGuiTooltipDesc ReadTooltip(const CDataTree& block, SReader& reader)
{
    SGuiTooltipDesc desc;
    ReadRect(block, desc);
    ReadIds(block, desc);
    desc.fontId = ReadFontId(block, 1, reader);
    desc.caption = ReadText(block, "captionidstring", "captionid", "caption", reader);
    desc.speechBubble = GetBoolOr(block, "speechbubble", false);
    desc.bordered = GetBoolOr(block, "bordered", true);
    return desc;
}

// Pages "page0", "page1", ... up to the first missing one. Literal lines are numbered
// on across the pages: a page reads "line%d" from the number after the previous
// page's last line.
SGuiAlertBoxDesc ReadAlertBox(const CDataTree& block, SReader& reader)
{
    SGuiAlertBoxDesc desc;
    ReadRect(block, desc);
    ReadIds(block, desc);
    desc.fontId = ReadFontId(block, 1, reader);
    int nextLine = 0;
    for (int n = 0;; ++n)
    {
        const CDataTree* pageBlock = block.FindBlock(MakeKey("page", n).c_str());
        if (!pageBlock)
            break;
        SGuiAlertPage page;
        if (!ReadTextId(*pageBlock, "textidstring", "textid", page.textId, reader))
        {
            std::u16string line;
            while (GetWide(*pageBlock, MakeKey("line", nextLine).c_str(), line))
            {
                page.lines.push_back(line);
                ++nextLine;
            }
        }
        desc.pages.push_back(page);
    }
    desc.speechBubbleId = GetIntOr(block, "speechbubbleid", -1);
    desc.speechBubbleX = GetIntOr(block, "speechbubblex", 0);
    desc.speechBubbleY = GetIntOr(block, "speechbubbley", 0);
    return desc;
}

SGuiLayoutWindow ReadWindow(const CDataTree& block, bool topLevel, SReader& reader);

// The controls of a window block, in file order.
void ReadChildren(const CDataTree& windowBlock, SGuiLayoutWindow& window, SReader& reader)
{
    for (size_t i = 0; const CDataTree* block = windowBlock.GetChildBlock(i); ++i)
    {
        int kind = 0;
        while (kind < CLASS_COUNT && !block->HasName(WidenToU16(CLASS_NAMES[kind]).c_str()))
            ++kind;
        SGuiLayoutControl control;
        control.line = block->GetLine();
        switch (EGuiLayoutClass(kind))
        {
        case GUI_CLASS_WINDOW:
            control.desc = ReadWindow(*block, false, reader);
            break;
        case GUI_CLASS_BUTTON:
            control.desc = ReadButton(*block, reader);
            break;
        case GUI_CLASS_IMAGE_BUTTON:
            control.desc = ReadImageButton(*block);
            break;
        case GUI_CLASS_STATIC_IMAGE:
            control.desc = ReadStaticImage(*block);
            break;
        case GUI_CLASS_TEXT_BOX:
            control.desc = ReadTextBox(*block, reader);
            break;
        case GUI_CLASS_EDIT_BOX:
            control.desc = ReadEditBox(*block, reader);
            break;
        case GUI_CLASS_LIST_BUTTON:
            control.desc = ReadListButton(*block, reader);
            break;
        case GUI_CLASS_STATIC_TEXT:
            control.desc = ReadStaticText(*block, reader);
            break;
        case GUI_CLASS_TOOLTIP:
            control.desc = ReadTooltip(*block, reader);
            break;
        case GUI_CLASS_ALERT_BOX:
        {
            SGuiAlertBoxDesc alert = ReadAlertBox(*block, reader);
            if (alert.pages.empty())
            {
                reader.problems.AddWarning(block, "an alert box without \"page0\" makes nothing");
                continue;
            }
            control.desc = std::move(alert);
            break;
        }
        default:
            reader.problems.AddWarning(block, "\"%s\" is no control class; the block makes nothing",
                                       Utf16ToUtf8(block->GetName()).c_str());
            continue;
        }
        window.children.push_back(std::move(control));
    }
}

SGuiLayoutWindow ReadWindow(const CDataTree& block, bool topLevel, SReader& reader)
{
    SGuiLayoutWindow window;
    window.line = block.GetLine();
    window.x = GetIntOr(block, "x", 0);
    window.y = GetIntOr(block, "y", 0);
    window.w = GetIntOr(block, "w", 0);
    window.h = GetIntOr(block, "h", 0);
    window.window3d = GetBoolOr(block, "3dwindow", false);
    window.bordered = GetBoolOr(block, "bordered", true);
    window.clearArea = GetBoolOr(block, "cleararea", false);
    window.closeBox = GetBoolOr(block, "closebox", false);
    window.captioned = block.FindValue("caption") != nullptr;
    window.caption = GetNarrow(block, "caption");
    window.alphaTest = GetBoolOr(block, "alphatest", false);
    window.alphaBlend = GetBoolOr(block, "alphablend", false);
    window.frameIndex = GetIntOr(block, "frameidx", 0);
    if (window.frameIndex < 0 || window.frameIndex >= FRAME_SETS)
    {
        reader.problems.AddWarning(&block, "\"frameidx\" %d is taken as 0", window.frameIndex);
        window.frameIndex = 0;
    }
    window.controlId = GetIntOr(block, "controlid", -1);
    window.dummy = GetBoolOr(block, "dummy", false);
    if (topLevel)
        window.layer = Clamp(block, "layer", GetIntOr(block, "layer", 2), 0, LAYER_COUNT - 1, reader);
    ReadChildren(block, window, reader);
    return window;
}
} // namespace

const char* GetGuiLayoutClassName(EGuiLayoutClass kind)
{
    return (kind >= 0 && kind < CLASS_COUNT) ? CLASS_NAMES[kind] : "?";
}

void ReadGuiLayout(const CDataTree& root, const CStringTable* strings, SGuiLayout& out, CDefinitionProblems& problems)
{
    out.windows.clear();
    SReader reader{strings, problems};
    for (size_t i = 0; const CDataTree* block = root.GetChildBlock(i); ++i)
        if (block->HasName(u"window"))
            out.windows.push_back(ReadWindow(*block, true, reader));
}

bool LoadGuiLayoutFile(const char* path, const CStringTable* strings, SGuiLayout& out, CDefinitionProblems& problems)
{
    out.windows.clear();
    CDataTree* root = nullptr;
    if (!LoadDataTree(path, &root))
        return false;
    ReadGuiLayout(*root, strings, out, problems);
    FreeDataNode(&root);
    return true;
}
