#include "utility/source/QelPathResolve.h"

#include <cerrno>
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

std::string NormaliseSeparators(const std::string& path)
{
    std::string result(path);
    for (char& c : result)
        if (c == '\\')
            c = '/';
    return result;
}

namespace
{
bool Exists(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

// The entry of folder whose name equals name ignoring case, or empty.
std::string FindNoCase(const std::string& folder, const std::string& name)
{
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return std::string();
    std::string found;
    while (dirent* entry = readdir(dir))
    {
        if (strcasecmp(entry->d_name, name.c_str()) == 0)
        {
            found = entry->d_name;
            break;
        }
    }
    closedir(dir);
    return found;
}
} // namespace

std::string ResolvePathNoCase(const std::string& path)
{
    std::string normal = NormaliseSeparators(path);
    if (normal.empty() || Exists(normal))
        return normal;

    // Walk component by component; "result" always names an existing folder (or "").
    std::string result;
    size_t at = 0;
    if (normal[0] == '/')
    {
        result = "/";
        at = 1;
    }
    bool resolving = true;
    while (at <= normal.size())
    {
        size_t slash = normal.find('/', at);
        if (slash == std::string::npos)
            slash = normal.size();
        std::string part = normal.substr(at, slash - at);
        std::string folder = result;
        std::string candidate = folder + part;
        if (resolving && !part.empty() && part != "." && part != ".." && !Exists(candidate))
        {
            std::string match = FindNoCase(folder.empty() ? "." : folder, part);
            if (match.empty())
                resolving = false;
            else
                candidate = folder + match;
        }
        result = candidate;
        if (slash < normal.size())
            result += '/';
        at = slash + 1;
    }
    return result;
}

namespace
{
bool MakeFolder(const std::string& path, mode_t mode)
{
    std::string resolved = ResolvePathNoCase(path);
    while (resolved.size() > 1 && resolved.back() == '/')
        resolved.pop_back();
    struct stat info;
    if (stat(resolved.c_str(), &info) == 0)
        return S_ISDIR(info.st_mode);
    return mkdir(resolved.c_str(), mode) == 0 || errno == EEXIST;
}
} // namespace

bool CreateFolderNoCase(const std::string& path)
{
    return MakeFolder(path, 0755);
}

bool CreateFolderTreeNoCase(const std::string& path)
{
    std::string normal = NormaliseSeparators(path);
    if (normal.empty())
        return false;
    // Each level in turn from the first one below the root; a level that cannot be
    // made (a file in the way, no permission) ends the walk.
    for (size_t slash = normal.find('/', 1); slash != std::string::npos; slash = normal.find('/', slash + 1))
        if (!MakeFolder(normal.substr(0, slash), 0700))
            return false;
    return MakeFolder(normal, 0700);
}
