#include "presentation/DefinitionBlocks.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"

#include <cstdio>

bool ReadDefinitionCount(const CDataTree& node, const char* key, int32_t max, int32_t& count,
                         CDefinitionProblems& problems)
{
    int32_t value = 0;
    node.GetInt(key, value);
    if (value < 0 || value > max)
    {
        problems.AddFatal(node.FindChild(key), "\"%s\" is %d (0 to %d)", key, static_cast<int>(value),
                          static_cast<int>(max));
        count = 0;
        return false;
    }
    count = value;
    return true;
}

const CDataTree* FindNumberedBlock(const CDataTree& node, const char* prefix, int32_t index, bool required,
                                   CDefinitionProblems& problems)
{
    char name[48];
    std::snprintf(name, sizeof(name), "%s%d", prefix, static_cast<int>(index));
    const CDataTree* block = node.FindBlock(name);
    if (!block && required)
        problems.AddMissingKey(&node, name);
    return block;
}
