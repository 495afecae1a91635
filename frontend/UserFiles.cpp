#include "frontend/UserFiles.h"

#include "utility/source/QelShellPaths.h"

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
