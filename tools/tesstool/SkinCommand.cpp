// tesstool skin draw SOURCE OUTDIR: makes a GUI skin from a source ".skin" that gives
// its sizes, fonts and sounds but no pieces. Writes OUTDIR/NAME.tga (the pieces drawn
// from shapes, SkinAtlas.h) and OUTDIR/NAME.skin (the source with the pieces added
// before the end of its block), NAME being the source's name, and reads the result
// back through the game's skin reader.

#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "core/FileBytes.h"
#include "platform/Tga.h"
#include "presentation/GuiSkinFile.h"
#include "tools/tesstool/SkinAtlas.h"
#include "tools/tesstool/ToolCommand.h"
#include "tools/tesstool/ToolFiles.h"

#include <cstdio>

namespace
{
bool ReadSkinText(const std::vector<uint8_t>& bytes, SGuiSkinDefinition* definition, SGuiSkinSizes& sizes,
                  CDefinitionProblems& problems)
{
    CDataNodeList nodes;
    if (!ParseDataBytes(bytes.data(), bytes.size(), nodes) || nodes.empty())
    {
        problems.AddFatal(nullptr, "holds no block");
        return false;
    }
    const CDataTree& root = static_cast<const CDataTree&>(*nodes[0]);
    return definition ? ReadGuiSkinDefinition(root, *definition, problems) : ReadGuiSkinSizes(root, sizes, problems);
}

int Draw(const std::string& source, const std::string& folder)
{
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(source.c_str(), bytes))
    {
        std::fprintf(stderr, "tesstool skin: cannot read %s\n", source.c_str());
        return 1;
    }
    SGuiSkinSizes sizes;
    CDefinitionProblems problems;
    if (!ReadSkinText(bytes, nullptr, sizes, problems))
    {
        std::fprintf(stderr, "%s", problems.Describe(source.c_str()).c_str());
        return 1;
    }
    SSkinAtlas atlas;
    std::string error;
    if (!DrawSkinAtlas(sizes, atlas, error))
    {
        std::fprintf(stderr, "tesstool skin: %s: %s\n", source.c_str(), error.c_str());
        return 1;
    }
    std::string text(bytes.begin(), bytes.end());
    const size_t end = text.rfind('}');
    if (end == std::string::npos)
    {
        std::fprintf(stderr, "tesstool skin: %s has no closing brace\n", source.c_str());
        return 1;
    }
    text.insert(end, FormatSkinPieces(atlas.pieces));

    // What the game will read must be a whole skin whose pieces lie on the texture.
    SGuiSkinDefinition made;
    const std::vector<uint8_t> skinBytes(text.begin(), text.end());
    if (!ReadSkinText(skinBytes, &made, sizes, problems) ||
        !CheckGuiSkinPieces(made, atlas.width, atlas.height, error))
    {
        std::fprintf(stderr, "tesstool skin: the skin made from %s does not read back: %s%s\n", source.c_str(),
                     problems.Describe("skin").c_str(), error.c_str());
        return 1;
    }

    std::string name = source.substr(source.find_last_of("/\\") + 1);
    name = name.substr(0, name.rfind('.'));
    const std::string base = folder + "/" + name;
    if (!SaveTga32((base + ".tga").c_str(), atlas.width, atlas.height, atlas.pixels.data()) ||
        !WriteToolFile(base + ".skin", skinBytes))
    {
        std::fprintf(stderr, "tesstool skin: cannot write %s.tga or %s.skin\n", base.c_str(), base.c_str());
        return 1;
    }
    return 0;
}

int RunSkinCommand(const std::vector<std::string>& args)
{
    if (args.size() == 3 && args[0] == "draw")
        return Draw(args[1], args[2]);
    std::fprintf(stderr, "usage: tesstool skin draw SOURCE OUTDIR\n");
    return 2;
}

CToolCommand s_skin("skin", "draw SOURCE OUTDIR   (draws the pieces of a skin whose source gives its sizes)",
                    &RunSkinCommand);
} // namespace
