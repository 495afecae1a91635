#include "platform/DebugOutput.h"
#include "platform/Tga.h"
#include "utility/source/QelFile.h"

#include <new>

bool ReadTgaFileBytes(const char* fileName, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    CQelFile file;
    if (!fileName || !OpenFileByPath(file, fileName, FILE_OPEN_READ))
    {
        DebugOutput("TGA loader, could not open %s\n", fileName ? fileName : "(null)");
        return false;
    }
    try
    {
        bytes.resize(file.GetFileSize());
    }
    catch (const std::bad_alloc&)
    {
        DebugOutput("TGA loader, out of memory\n");
        return false;
    }
    uint32_t got = 0;
    if (!bytes.empty() && (!file.Read(bytes.data(), uint32_t(bytes.size()), &got) || got != bytes.size()))
    {
        bytes.clear();
        DebugOutput("TGA loader, File read failed\n");
        return false;
    }
    return true;
}

bool LoadTga(const char* fileName, STgaImage& image)
{
    image = STgaImage();
    std::vector<uint8_t> bytes;
    return ReadTgaFileBytes(fileName, bytes) && DecodeTga(bytes.data(), bytes.size(), image);
}

bool SaveTga32(const char* fileName, int32_t width, int32_t height, const uint8_t* pixels)
{
    std::vector<uint8_t> bytes = EncodeTga32(width, height, pixels);
    if (bytes.empty() || !fileName)
        return false;
    // The file layer writes under a temporary name and renames it at Close.
    CQelFile file;
    if (!OpenFileByPath(file, fileName, FILE_OPEN_WRITE))
        return false;
    uint32_t written = 0;
    if (!file.Write(bytes.data(), uint32_t(bytes.size()), &written) || written != bytes.size())
    {
        file.Abandon();
        return false;
    }
    return file.Close();
}
