#include "frontend/FileWriteLayer.h"

#include "utility/source/QelFile.h"

namespace
{
CFileWriteLayer s_gameLayer;
CFileWriteLayer* s_layer = nullptr;
} // namespace

std::unique_ptr<CFileInterface> CFileWriteLayer::OpenForWriting(const std::string& path)
{
    auto file = std::make_unique<CQelFile>();
    if (!OpenFileByPath(*file, path.c_str(), FILE_OPEN_WRITE))
        return nullptr;
    return file;
}

CFileWriteLayer& GetFileWriteLayer()
{
    return s_layer ? *s_layer : s_gameLayer;
}

void SetFileWriteLayer(CFileWriteLayer* layer)
{
    s_layer = layer;
}

bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::unique_ptr<CFileInterface> file = GetFileWriteLayer().OpenForWriting(path);
    if (!file)
        return false;
    uint32_t written = 0;
    if (!bytes.empty() && (!file->Write(bytes.data(), static_cast<uint32_t>(bytes.size()), &written) ||
                           written != bytes.size()))
        return false;  // abandoned as the file goes
    return file->Close();
}

bool ReadWholeUserFile(const std::string& path, std::vector<uint8_t>& bytes, size_t limit)
{
    CQelFile file;
    if (!OpenFileByPath(file, path.c_str(), FILE_OPEN_READ) || file.IsInPack())
        return false;
    const uint32_t size = file.GetFileSize();
    if (size > limit)
        return false;
    bytes.resize(size);
    uint32_t got = 0;
    const bool ok = size == 0 || (file.Read(bytes.data(), size, &got) && got == size);
    file.Close();
    return ok;
}
