#include "tools/tesstool/ToolFiles.h"

#include "utility/source/QelFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

bool WriteToolFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::unique_ptr<CFileInterface> file(CreateFileObject());
    uint32_t written = 0;
    if (!file || !OpenFileByPath(*file, path.c_str(), FILE_OPEN_WRITE))
        return false;
    bool ok = file->Write(bytes.data(), static_cast<uint32_t>(bytes.size()), &written) && written == bytes.size();
    return file->Close() && ok;
}

std::string DescribeUnreadable(const std::string& path)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return std::strerror(errno);
    if (S_ISDIR(info.st_mode))
        return "it is a folder";
    int handle = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (handle < 0)
        return std::strerror(errno);
    close(handle);
    return std::string();
}
