// What the level files' asteroid definitions and backdrops name: the sprite files of
// the asteroids, starfields (the zone backdrop's for the word "background", each star
// layer's "name") and front-end backdrops, the effects of the asteroids in the game's
// effect list, the procedural backdrops' keys, and starfields whose planes would
// reach the asteroids' own.

#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "core/Random.h"
#include "presentation/DefinitionBlocks.h"
#include "tools/tesstool/DataCheck.h"
#include "tools/tesstool/EffectNameCheck.h"
#include "tools/tesstool/SpriteFileCheck.h"
#include "world/Backdrop.h"
#include "world/ObjectTypes.h"
#include "world/ProceduralBackdrop.h"

#include <cstring>
#include <strings.h>

namespace
{
bool IsLevelFile(const std::string& file)
{
    const char* name = file.c_str() + file.rfind('/') + 1;
    return strncasecmp(name, "init", 4) == 0;
}

bool NameBegins(const CDataNode& node, const char* prefix)
{
    char name[128] = "";
    size_t i = 0;
    for (char16_t unit : node.GetName())
        if (i + 1 < sizeof(name))
            name[i++] = static_cast<char>(unit < 128 ? unit : '?');
    return node.IsBlock() && strncasecmp(name, prefix, std::strlen(prefix)) == 0;
}

void CheckAsteroids(const CDataTree& section, CDefinitionProblems& problems)
{
    CheckNamedSpriteFiles(section, problems);
    for (size_t i = 0; i < section.GetChildCount(); ++i)
        if (const CDataTree* def = section.GetChildBlock(i))
            if (NameBegins(*def, "def"))
            {
                CheckEffectName(*def, "deathEffect", problems);
                CheckEffectName(*def, "collisionContactEffect", problems);
            }
}

void CheckStarfield(const CDataTree& section, CDefinitionProblems& problems)
{
    for (size_t i = 0; i < section.GetChildCount(); ++i)
    {
        const CDataTree* item = section.GetChildBlock(i);
        if (!item)
            continue;
        if (NameBegins(*item, "background"))
        {
            char file[DATA_VALUE_MAX + 1] = "";
            if (item->GetString("spriteFile", file, sizeof(file)))
                CheckSpriteFile(strcasecmp(file, CBackdrop::ZONE_BACKDROP_WORD) == 0 ? CBackdrop::ZONE_BACKDROP_FILE
                                                                                      : file,
                                item->FindChild("spriteFile"), problems);
            if (const CDataTree* sprite = item->FindBlock("sprite"))
                CheckNamedSpriteFiles(*sprite, problems);
        }
        else if (NameBegins(*item, "layer"))
            for (size_t j = 0; j < item->GetChildCount(); ++j)
                if (const CDataTree* stars = item->GetChildBlock(j))
                {
                    char file[DATA_VALUE_MAX + 1] = "";
                    if (stars->GetString("name", file, sizeof(file)))
                        CheckSpriteFile(file, stars->FindChild("name"), problems);
                }
    }
    CBackdrop backdrop;
    CRandom random;
    CDefinitionProblems planes;
    backdrop.Load(section, 0.0f, false, random, planes);
    const int32_t world = GetDefaultDrawPlane(OBJECT_ASTEROID);
    if (backdrop.GetPlaneCount() > world)
        problems.AddWarning(&section, "the backdrop's %d planes reach plane %d, where asteroids are drawn",
                            backdrop.GetPlaneCount(), world);
}

void CheckProceduralBackdrop(const CDataTree& section, CDefinitionProblems& problems)
{
    CProceduralBackdrop backdrop;
    CRandom random;
    backdrop.LoadSection(section, false, random, problems);
    CheckNamedSpriteFiles(section, problems);
}

void CheckAsteroidsAndBackdrops(CDataCheckReport& report)
{
    for (const std::string& file : ListDataFiles(".txt"))
    {
        if (!IsLevelFile(file))
            continue;
        CDataNodeList nodes;
        if (!LoadDataFileNodes(file.c_str(), nodes))
            continue; // the level files' checker names it
        CDefinitionProblems problems;
        for (const auto& node : nodes)
        {
            if (!node->IsBlock())
                continue;
            const CDataTree& section = static_cast<const CDataTree&>(*node);
            if (NameBegins(section, "ASTEROID_DEFS"))
                CheckAsteroids(section, problems);
            else if (NameBegins(section, "STARFIELD"))
                CheckStarfield(section, problems);
            else if (NameBegins(section, "PROC"))
                CheckProceduralBackdrop(section, problems);
        }
        report.Add(file, problems);
    }
}

CDataChecker s_asteroids("asteroids and backdrops", &CheckAsteroidsAndBackdrops);
} // namespace
