#include "tools/tesstool/SpriteFileCheck.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "core/FileBytes.h"
#include "presentation/SpriteRef.h"
#include "presentation/SpriteTypes.h"
#include "utility/source/QelPackArchive.h"

#include <string>
#include <strings.h>
#include <vector>

void CheckNamedSpriteFiles(const CDataTree& block, CDefinitionProblems& problems)
{
    // The sample sprites travel in the packs, as an installed game's do.
    if (!g_packArchive)
        InitPackArchive();
    for (size_t i = 0; i < block.GetChildCount(); ++i)
    {
        const CDataNode* child = block.GetChild(i);
        if (child->IsBlock())
        {
            CheckNamedSpriteFiles(*static_cast<const CDataTree*>(child), problems);
            continue;
        }
        if (!child->HasName(u"spriteFile"))
            continue;
        char name[DATA_VALUE_MAX + 1] = "";
        block.GetStringW(child->GetName().c_str(), name, sizeof(name));
        if (strcasecmp(name, CSpriteRef::NO_FILE) != 0)
            CheckSpriteFile(name, child, problems);
    }
}

void CheckSpriteFile(const char* name, const CDataNode* near, CDefinitionProblems& problems)
{
    if (!g_packArchive)
        InitPackArchive();
    std::vector<uint8_t> bytes;
    SSpriteFile file;
    std::string error;
    if (!ReadFileBytes(name, bytes))
        problems.AddFatal(near, "sprite file \"%s\" is not there", name);
    else if (!file.Read(bytes.data(), bytes.size(), error))
        problems.AddFatal(near, "sprite file \"%s\" does not read: %s", name, error.c_str());
}
