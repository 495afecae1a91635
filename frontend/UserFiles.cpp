#include "frontend/UserFiles.h"

#include "utility/source/QelShellPaths.h"
#include "utility/source/QelTempFiles.h"

namespace
{
bool GetUserFolder(const char* below, std::string& folder)
{
    char documents[512];
    if (!GetDocumentsFolder(documents, sizeof(documents)))
        return false;
    folder = std::string(documents) + below;
    return true;
}
} // namespace

bool GetUserDataFolder(std::string& folder)
{
    return GetUserFolder("/tessavar/data/", folder);
}

bool GetSaveFolder(std::string& folder)
{
    return GetUserFolder("/tessavar/data/saves/", folder);
}

size_t RemoveUnfinishedUserFiles()
{
    size_t removed = 0;
    std::string folder;
    if (GetSaveFolder(folder))
        removed += RemoveTemporaryFiles(folder.c_str());
    if (GetUserDataFolder(folder))
        removed += RemoveTemporaryFiles(folder.c_str());
    return removed;
}
