// Bitmap fonts: every glyph table of data/gui/ read as a font reads it, against the
// sizes of its pages; and every font a skin names must be there.

#include "core/DataFile.h"
#include "core/FileBytes.h"
#include "platform/Tga.h"
#include "presentation/Font.h"
#include "tools/tesstool/DataCheck.h"

#include <cstdio>
#include <strings.h>

namespace
{
const char* const GUI_FOLDER = "data/gui/";

// The page images of a font, as the font looks them up: numbered from 000 until one
// is missing, else the one named after the font alone.
std::vector<std::string> FindPages(const std::string& name)
{
    std::vector<std::string> pages;
    for (int i = 0; i < 1000; ++i)
    {
        char number[8];
        std::snprintf(number, sizeof(number), "%03d", i);
        std::string path = GUI_FOLDER + name + number + ".tga";
        std::vector<uint8_t> bytes;
        if (!ReadTgaFileBytes(path.c_str(), bytes))
            break;
        pages.push_back(path);
    }
    std::vector<uint8_t> bytes;
    if (pages.empty() && ReadTgaFileBytes((GUI_FOLDER + name + ".tga").c_str(), bytes))
        pages.push_back(GUI_FOLDER + name + ".tga");
    return pages;
}

std::string FontName(const std::string& file)
{
    size_t slash = file.rfind('/');
    return file.substr(slash + 1, file.size() - slash - 1 - 4);
}

void CheckFont(CDataCheckReport& report, const std::string& file)
{
    report.NoteChecked(file);
    std::vector<SFontPage> pages;
    for (const std::string& path : FindPages(FontName(file)))
    {
        STgaImage image;
        if (!LoadTga(path.c_str(), image))
        {
            report.Add(path, 0, "font page does not read as a TGA image");
            return;
        }
        pages.push_back(SFontPage{image.width, image.height, -1, 1.0f / float(image.width),
                                  1.0f / float(image.height)});
    }
    std::vector<uint8_t> bytes;
    std::vector<SFontRange> ranges;
    std::string reason;
    if (!ReadFileBytes(file.c_str(), bytes))
        report.Add(file, 0, "cannot be read");
    else if (!BuildFontGlyphs(bytes.data(), bytes.size(), pages, ranges, reason))
        report.Add(file, 0, "glyph table: " + reason);
    else if (ranges.empty())
        report.Add(file, 0, "glyph table without a glyph");
}

void CheckSkinFonts(CDataCheckReport& report, const std::string& skin)
{
    CDataTree* tree = nullptr;
    if (!LoadDataTree(skin.c_str(), &tree))
    {
        report.Add(skin, 0, "cannot be read as a data tree");
        return;
    }
    report.NoteChecked(skin);
    for (const char* key : {"systemfont", "font0", "font1", "font2", "font3"})
    {
        char name[256];
        if (!tree->GetString(key, name, sizeof(name)))
            continue;
        std::vector<uint8_t> bytes;
        if (!ReadFileBytes((GUI_FOLDER + std::string(name) + ".txt").c_str(), bytes))
            report.Add(skin, 0, std::string(key) + " names the font \"" + name + "\", which has no glyph table");
    }
    FreeDataNode(&tree);
}

void CheckFonts(CDataCheckReport& report)
{
    for (const std::string& file : ListDataFiles(".txt"))
        if (IsFontGlyphTable(file))
            CheckFont(report, file);
    for (const std::string& skin : ListDataFiles(".skin"))
        CheckSkinFonts(report, skin);
}

CDataChecker s_fonts("fonts", &CheckFonts);
} // namespace

bool IsFontGlyphTable(const std::string& file)
{
    const size_t folder = std::string(GUI_FOLDER).size();
    return file.size() > folder + 4 && strncasecmp(file.c_str(), GUI_FOLDER, folder) == 0 &&
           file.find('/', folder) == std::string::npos && !FindPages(FontName(file)).empty();
}
