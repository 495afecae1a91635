// GUI skins and layouts. A skin ("data/gui/NAME.skin") must read whole, its texture
// "data/gui/NAME.tga" must hold every piece, and its default sounds must be WAV files
// (its fonts are the font checker's). A layout is any definition file whose first
// block holds "window" blocks: everything the layout reader corrects or skips is a
// problem, and so are images and sounds its controls name that cannot be read, and
// string ids the table does not have.

#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "core/FileBytes.h"
#include "core/StringTable.h"
#include "platform/Tga.h"
#include "platform/sound/WaveFile.h"
#include "presentation/GuiLayoutFile.h"
#include "presentation/GuiSkinFile.h"
#include "tools/tesstool/DataCheck.h"

namespace
{
// A sample the game loads by file name; empty names are none.
void CheckSound(CDataCheckReport& report, const std::string& file, uint32_t line, const std::string& sound)
{
    if (sound.empty())
        return;
    std::vector<uint8_t> bytes;
    SWaveData wave;
    const char* reason = nullptr;
    if (!ReadFileBytes(sound.c_str(), bytes))
        report.Add(file, line, "the sound \"" + sound + "\" cannot be read");
    else if (!ParseWave(bytes.data(), bytes.size(), wave, &reason))
        report.Add(file, line, "the sound \"" + sound + "\" is no WAV file the game plays: " + (reason ? reason : "?"));
}

void CheckSkin(CDataCheckReport& report, const std::string& file)
{
    report.NoteChecked(file);
    CDataTree* tree = nullptr;
    if (!LoadDataTree(file.c_str(), &tree))
    {
        report.Add(file, 0, "cannot be read as a data tree");
        return;
    }
    SGuiSkinDefinition skin;
    CDefinitionProblems problems;
    const bool read = ReadGuiSkinDefinition(*tree, skin, problems);
    const uint32_t line = tree->GetLine();
    FreeDataNode(&tree);
    report.Add(file, problems);
    if (!read)
        return;
    std::string name = file.substr(file.rfind('/') + 1);
    name = name.substr(0, name.size() - 5);
    const std::string texture = GetGuiSkinTexturePath(name.c_str());
    STgaImage image;
    std::string reason;
    if (GetGuiSkinDefinitionPath(name.c_str()) != file)
        report.Add(file, line, "a skin is loaded from data/gui/ only");
    if (!LoadTga(texture.c_str(), image))
        report.Add(file, line, "its texture " + texture + " does not read as a TGA image");
    else if (!CheckGuiSkinPieces(skin, image.width, image.height, reason))
        report.Add(file, line, reason);
    for (const std::string& sound : skin.sounds)
        CheckSound(report, file, line, sound);
}

struct SLayoutCheck
{
    CDataCheckReport& report;
    const std::string& file;
};

void CheckImage(const SLayoutCheck& check, uint32_t line, const std::string& image)
{
    STgaImage picture;
    if (image.empty())
        check.report.Add(check.file, line, "the image control names no \"imagename\"");
    else if (!LoadTga(image.c_str(), picture))
        check.report.Add(check.file, line, "the image \"" + image + "\" does not read as a TGA image");
}

void CheckWindow(const SLayoutCheck& check, const SGuiLayoutWindow& window)
{
    for (const SGuiLayoutControl& control : window.children)
    {
        if (const SGuiLayoutWindow* inner = std::get_if<SGuiLayoutWindow>(&control.desc))
            CheckWindow(check, *inner);
        else if (const SGuiImageButtonDesc* image = std::get_if<SGuiImageButtonDesc>(&control.desc))
            CheckImage(check, control.line, image->imageName);
        else if (const SGuiStaticImageDesc* picture = std::get_if<SGuiStaticImageDesc>(&control.desc))
            CheckImage(check, control.line, picture->imageName);
        else if (const SGuiButtonDesc* button = std::get_if<SGuiButtonDesc>(&control.desc))
        {
            CheckSound(check.report, check.file, control.line, button->selectEffect);
            CheckSound(check.report, check.file, control.line, button->backoutEffect);
        }
    }
}

bool IsLayout(const CDataTree& root)
{
    return root.FindBlock("window") != nullptr;
}

void CheckLayouts(CDataCheckReport& report)
{
    CStringTable strings;
    const bool haveStrings = strings.Load(STRING_TABLE_PATH) && strings.SelectLanguage(0);
    for (const std::string& file : ListDataFiles(".txt"))
    {
        CDataTree* tree = nullptr;
        if (!LoadDataTree(file.c_str(), &tree))
            continue; // not a data tree (a font's glyph table): other checkers look at it
        if (IsLayout(*tree))
        {
            report.NoteChecked(file);
            SGuiLayout layout;
            CDefinitionProblems problems;
            ReadGuiLayout(*tree, haveStrings ? &strings : nullptr, layout, problems);
            report.Add(file, problems);
            const SLayoutCheck check{report, file};
            for (const SGuiLayoutWindow& window : layout.windows)
                CheckWindow(check, window);
        }
        FreeDataNode(&tree);
    }
}

void CheckSkins(CDataCheckReport& report)
{
    for (const std::string& file : ListDataFiles(".skin"))
        CheckSkin(report, file);
}

CDataChecker s_skins("GUI skins", &CheckSkins);
CDataChecker s_layouts("GUI layouts", &CheckLayouts);
} // namespace
