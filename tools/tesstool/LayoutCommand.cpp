// tesstool layout [--strings TABLE] [--skin SKIN] FILE: the controls a GUI layout file
// makes, read through the game's layout reader, one a line and indented by window:
//   CLASS id ID at X,Y size WxH screen SX,SY "TEXT" and what else the class holds
// X, Y are as written (relative to the window's inner rectangle); SX, SY the place in
// the 640 x 480 GUI space, found with the skin's border sizes (by default
// data/gui/defaultSkin.skin; without a skin the borders count 0); a picture of size 0
// takes its image's. Texts named by key or
// id are looked up in the string table (by default data/Tessavar_Strings.tbl). What
// the reader corrected or skipped is listed on the error output as FILE:LINE: TEXT.

#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "core/StringTable.h"
#include "core/Utf8Text.h"
#include "presentation/GuiLayoutFile.h"
#include "platform/Tga.h"
#include "presentation/GuiSkinFile.h"
#include "tools/tesstool/ToolCommand.h"

#include <cstdio>

namespace
{
struct SPoint
{
    int32_t x, y;
};

struct SPrinter
{
    const CStringTable* strings;
    SGuiSkinSizes sizes;
};

std::string Quote(const std::u16string& text)
{
    return "\"" + Utf16ToUtf8(text) + "\"";
}

std::string TextOf(const SPrinter& printer, uint32_t id)
{
    const CWString* text = nullptr;
    char number[16];
    std::snprintf(number, sizeof(number), "%u", unsigned(id));
    if (!printer.strings || !printer.strings->GetText(id, text) || !text)
        return std::string("(text ") + number + " not found)";
    return Quote(text->GetText()) + " (text " + number + ")";
}

std::string TextOf(const SPrinter& printer, const SGuiText& text)
{
    return text.HasId() ? TextOf(printer, text.id) : Quote(text.literal);
}

void PrintPlace(const char* kind, const SGuiControlDesc& desc, int depth, const SPoint& origin)
{
    std::printf("%*s%s id %d at %d,%d size %dx%d screen %d,%d", depth * 2, "", kind, int(desc.controlId), int(desc.x),
                int(desc.y), int(desc.w), int(desc.h), int(origin.x + desc.x), int(origin.y + desc.y));
    if (desc.tooltipControlId >= 0)
        std::printf(" tooltip %d", int(desc.tooltipControlId));
    if (desc.upId >= 0 || desc.downId >= 0 || desc.leftId >= 0 || desc.rightId >= 0)
        std::printf(" links up %d down %d left %d right %d", int(desc.upId), int(desc.downId), int(desc.leftId),
                    int(desc.rightId));
}

void PrintWindow(const SPrinter& printer, const SGuiLayoutWindow& window, int depth, const SPoint& origin);

// A picture of width or height 0 takes its image's (and twice the button border when
// it is a bordered image button), as the control does when it is made.
template <typename TImage>
TImage WithImageSize(const SPrinter& printer, TImage desc, bool bordered)
{
    std::vector<uint8_t> bytes;
    STgaHeader header;
    if ((desc.w != 0 && desc.h != 0) || !ReadTgaFileBytes(desc.imageName.c_str(), bytes) ||
        !ReadTgaHeader(bytes.data(), bytes.size(), header))
        return desc;
    if (desc.w == 0)
        desc.w = header.width + (bordered ? 2 * printer.sizes.buttonBorderWidth : 0);
    if (desc.h == 0)
        desc.h = header.height + (bordered ? 2 * printer.sizes.buttonBorderHeight : 0);
    return desc;
}

SGuiStaticImageDesc Sized(const SPrinter& printer, const SGuiStaticImageDesc& desc)
{
    return WithImageSize(printer, desc, false);
}

SGuiImageButtonDesc Sized(const SPrinter& printer, const SGuiImageButtonDesc& desc)
{
    return WithImageSize(printer, desc, desc.bordered);
}

template <typename T>
const T& Sized(const SPrinter&, const T& desc)
{
    return desc;
}

void PrintControl(const SPrinter& printer, const SGuiLayoutControl& control, int depth, const SPoint& origin)
{
    const char* kind = GetGuiLayoutClassName(control.GetClass());
    std::visit(
        [&](const auto& desc) {
            using T = std::decay_t<decltype(desc)>;
            if constexpr (std::is_same_v<T, SGuiLayoutWindow>)
                PrintWindow(printer, desc, depth, origin);
            else
            {
                PrintPlace(kind, Sized(printer, desc), depth, origin);
                if constexpr (std::is_same_v<T, SGuiButtonDesc>)
                    std::printf(" %s font %d", TextOf(printer, desc.caption).c_str(), desc.fontId);
                else if constexpr (std::is_same_v<T, SGuiImageButtonDesc> || std::is_same_v<T, SGuiStaticImageDesc>)
                    std::printf(" image \"%s\"", desc.imageName.c_str());
                else if constexpr (std::is_same_v<T, SGuiTextBoxDesc> || std::is_same_v<T, SGuiStaticTextDesc>)
                    std::printf(" %s font %d", TextOf(printer, desc.text).c_str(), desc.fontId);
                else if constexpr (std::is_same_v<T, SGuiTooltipDesc>)
                    std::printf(" %s font %d", TextOf(printer, desc.caption).c_str(), desc.fontId);
                else if constexpr (std::is_same_v<T, SGuiEditBoxDesc>)
                    std::printf(" length %d font %d", int(desc.maxLength), desc.fontId);
                else if constexpr (std::is_same_v<T, SGuiListButtonDesc>)
                {
                    if (desc.numberRange)
                        std::printf(" numbers %d to %d", int(desc.rangeLow), int(desc.rangeHigh));
                    else
                    {
                        std::printf(" %zu options", desc.options.size());
                        for (const SGuiText& option : desc.options)
                            std::printf(" %s", TextOf(printer, option).c_str());
                    }
                }
                else if constexpr (std::is_same_v<T, SGuiAlertBoxDesc>)
                {
                    std::printf(" %zu pages", desc.pages.size());
                    for (size_t p = 0; p < desc.pages.size(); ++p)
                    {
                        std::printf("\n%*spage %zu:", depth * 2 + 2, "", p);
                        if (desc.pages[p].textId != SGuiText::NO_ID)
                            std::printf(" %s", TextOf(printer, desc.pages[p].textId).c_str());
                        for (const std::u16string& line : desc.pages[p].lines)
                            std::printf(" %s", Quote(line).c_str());
                    }
                }
                std::printf("\n");
            }
        },
        control.desc);
}

void PrintWindow(const SPrinter& printer, const SGuiLayoutWindow& window, int depth, const SPoint& origin)
{
    const SPoint screen{origin.x + window.x, origin.y + window.y};
    std::printf("%*s%s id %d at %d,%d size %dx%d screen %d,%d", depth * 2, "", window.window3d ? "window (3D)" : "window",
                int(window.controlId), int(window.x), int(window.y), int(window.w), int(window.h), int(screen.x),
                int(screen.y));
    if (depth == 0)
        std::printf(" layer %d", window.layer);
    if (window.captioned)
        std::printf(" \"%s\"", window.caption.c_str());
    std::printf("\n");
    SPoint inner = screen;
    if (window.bordered)
    {
        inner.x += printer.sizes.windowBorderWidth;
        inner.y += printer.sizes.windowBorderHeight;
    }
    if (window.captioned)
        inner.y += printer.sizes.windowCaptionHeight;
    for (const SGuiLayoutControl& control : window.children)
        PrintControl(printer, control, depth + 1, inner);
}

// The skin's sizes; false when the file is there but not a skin.
bool ReadSkinSizes(const std::string& path, bool required, SGuiSkinSizes& sizes)
{
    CDataTree* tree = nullptr;
    if (!LoadDataTree(path.c_str(), &tree))
        return !required;
    CDefinitionProblems problems;
    bool ok = ReadGuiSkinSizes(*tree, sizes, problems);
    FreeDataNode(&tree);
    if (!ok)
        std::fprintf(stderr, "%s", problems.Describe(path.c_str()).c_str());
    return ok;
}

int Run(const std::vector<std::string>& args)
{
    std::string tablePath = STRING_TABLE_PATH;
    std::string skinPath = GetGuiSkinDefinitionPath("defaultSkin");
    bool tableGiven = false;
    bool skinGiven = false;
    std::vector<std::string> files;
    for (size_t i = 0; i < args.size(); ++i)
    {
        if (args[i] == "--strings" && i + 1 < args.size())
        {
            tablePath = args[++i];
            tableGiven = true;
        }
        else if (args[i] == "--skin" && i + 1 < args.size())
        {
            skinPath = args[++i];
            skinGiven = true;
        }
        else
            files.push_back(args[i]);
    }
    if (files.size() != 1)
    {
        std::fprintf(stderr, "usage: tesstool layout [--strings TABLE] [--skin SKIN] FILE\n");
        return 2;
    }
    CStringTable strings;
    const bool haveStrings = strings.Load(tablePath.c_str()) && strings.SelectLanguage(0);
    if (tableGiven && !haveStrings)
    {
        std::fprintf(stderr, "tesstool layout: cannot read the string table %s\n", tablePath.c_str());
        return 1;
    }
    SPrinter printer{haveStrings ? &strings : nullptr, SGuiSkinSizes()};
    if (!ReadSkinSizes(skinPath, skinGiven, printer.sizes))
    {
        std::fprintf(stderr, "tesstool layout: %s is no skin\n", skinPath.c_str());
        return 1;
    }
    SGuiLayout layout;
    CDefinitionProblems problems;
    if (!LoadGuiLayoutFile(files[0].c_str(), printer.strings, layout, problems))
    {
        std::fprintf(stderr, "tesstool layout: cannot read %s as a data tree\n", files[0].c_str());
        return 1;
    }
    std::fprintf(stderr, "%s", problems.Describe(files[0].c_str()).c_str());
    for (const SGuiLayoutWindow& window : layout.windows)
        PrintWindow(printer, window, 0, SPoint{0, 0});
    return 0;
}

CToolCommand s_layout("layout", "[--strings TABLE] [--skin SKIN] FILE   (the controls a GUI layout makes)", &Run);
} // namespace
