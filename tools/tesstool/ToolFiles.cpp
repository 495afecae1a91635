#include "tools/tesstool/ToolFiles.h"

#include "utility/source/QelFile.h"

#include <memory>

bool WriteToolFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::unique_ptr<CFileInterface> file(CreateFileObject());
    uint32_t written = 0;
    if (!file || !OpenFileByPath(*file, path.c_str(), FILE_OPEN_WRITE))
        return false;
    bool ok = file->Write(bytes.data(), static_cast<uint32_t>(bytes.size()), &written) && written == bytes.size();
    return file->Close() && ok;
}
