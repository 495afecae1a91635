#include "core/FileBytes.h"

#include "utility/source/QelFile.h"

#include <memory>

bool ReadFileBytes(const char* path, std::vector<uint8_t>& bytes)
{
    std::unique_ptr<CFileInterface> file(CreateFileObject());
    if (!file || !OpenFileByPath(*file, path, FILE_OPEN_READ))
        return false;
    bytes.resize(file->GetFileSize());
    uint32_t read = 0;
    bool ok = bytes.empty() ||
              (file->Read(bytes.data(), static_cast<uint32_t>(bytes.size()), &read) && read == bytes.size());
    file->Close();
    return ok;
}

bool WriteFileBytes(const char* path, const std::vector<uint8_t>& bytes)
{
    std::unique_ptr<CQelFile> file(new CQelFile);
    if (!OpenFileByPath(*file, path, FILE_OPEN_WRITE))
        return false;
    uint32_t written = 0;
    if (!file->Write(bytes.data(), static_cast<uint32_t>(bytes.size()), &written) || written != bytes.size())
    {
        file->Abandon();
        return false;
    }
    return file->Close();
}
