#include "utility/source/QelTempFiles.h"

#include "utility/source/QelFile.h"
#include "utility/source/QelPathResolve.h"

#include <cstring>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// mkostemp's choice of characters, checked without the locale.
bool IsLetterOrDigit(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}
} // namespace

bool IsTemporaryFileName(const char* name)
{
    if (!name)
        return false;
    const size_t length = std::strlen(name);
    const size_t suffix = std::strlen(FILE_TEMP_SUFFIX);
    if (length <= suffix + FILE_TEMP_UNIQUE_LENGTH)
        return false;
    const char* tail = name + length - FILE_TEMP_UNIQUE_LENGTH;
    if (std::strncmp(tail - suffix, FILE_TEMP_SUFFIX, suffix) != 0)
        return false;
    for (size_t i = 0; i < FILE_TEMP_UNIQUE_LENGTH; ++i)
        if (!IsLetterOrDigit(tail[i]))
            return false;
    return true;
}

size_t RemoveTemporaryFiles(const char* folder)
{
    if (!folder || !*folder)
        return 0;
    const std::string path = ResolvePathNoCase(folder);
    DIR* listing = opendir(path.c_str());
    if (!listing)
        return 0;
    const std::string prefix = path.back() == '/' ? path : path + "/";
    size_t removed = 0;
    while (const dirent* entry = readdir(listing))
    {
        if (!IsTemporaryFileName(entry->d_name))
            continue;
        const std::string file = prefix + entry->d_name;
        struct stat info;
        if (lstat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) && unlink(file.c_str()) == 0)
            ++removed;
    }
    closedir(listing);
    return removed;
}
