// The sample definitions of "data/samples": tiled pictures (planet.txt), and the
// scout's body with its patrol (scout.txt), read as the game reads them, with the
// sprite files they name.

#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "presentation/ObjectBody.h"
#include "presentation/SpriteAnimSet.h"
#include "presentation/SpriteOwner.h"
#include "presentation/TiledSprite.h"
#include "tools/tesstool/DataCheck.h"
#include "tools/tesstool/SpriteFileCheck.h"

namespace
{
const char* const kPictures = "data/samples/planet.txt";
const char* const kScout = "data/samples/scout.txt";

const CDataTree* FindTopBlock(const CDataNodeList& nodes, const char* name)
{
    for (const auto& node : nodes)
        if (node->IsBlock() && node->HasName(WidenToU16(name).c_str()))
            return static_cast<const CDataTree*>(node.get());
    return nullptr;
}

// Every top-level block is a tiled picture.
void CheckPictures(CDataCheckReport& report, CDefinitionProblems& problems)
{
    CDataNodeList nodes;
    if (!LoadDataFileNodes(kPictures, nodes))
    {
        report.Add(kPictures, 0, "cannot be read");
        return;
    }
    for (const auto& node : nodes)
    {
        const CDataTree& block = static_cast<const CDataTree&>(*node);
        CTiledSpriteDef picture;
        picture.Load(block, problems);
        CheckNamedSpriteFiles(block, problems);
    }
    report.NoteChecked(kPictures);
}

// The body "SCOUT" and the animation set "PATROL".
void CheckScout(CDataCheckReport& report, CDefinitionProblems& problems)
{
    CDataNodeList nodes;
    if (!LoadDataFileNodes(kScout, nodes))
    {
        report.Add(kScout, 0, "cannot be read");
        return;
    }
    SSpriteOwner owner;
    const CDataTree* body = FindTopBlock(nodes, "SCOUT");
    const CDataTree* patrol = FindTopBlock(nodes, "PATROL");
    if (!body || !patrol)
        report.Add(kScout, 0, "needs the blocks SCOUT and PATROL");
    if (body)
    {
        CObjectBody scout;
        scout.Load(*body, owner, problems);
        CheckNamedSpriteFiles(*body, problems);
    }
    if (patrol)
    {
        CSpriteAnimSet set;
        set.Load(*patrol, owner, problems);
        CheckNamedSpriteFiles(*patrol, problems);
    }
    report.NoteChecked(kScout);
}

void CheckSamples(CDataCheckReport& report)
{
    CDefinitionProblems pictures;
    CheckPictures(report, pictures);
    report.Add(kPictures, pictures);
    CDefinitionProblems scout;
    CheckScout(report, scout);
    report.Add(kScout, scout);
}

CDataChecker s_samples("sample sprites, pictures and bodies", &CheckSamples);
} // namespace
