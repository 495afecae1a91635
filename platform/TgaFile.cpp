#include "platform/DebugOutput.h"
#include "platform/Tga.h"
#include "utility/source/QelPathResolve.h"

#include <cstdio>
#include <string>

bool LoadTga(const char* fileName, STgaImage& image)
{
    image = STgaImage();
    if (!fileName)
        return false;
    std::FILE* file = std::fopen(ResolvePathNoCase(fileName).c_str(), "rb");
    if (!file)
    {
        DebugOutput("TGA loader, could not open %s\n", fileName);
        return false;
    }
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof(chunk), file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    std::fclose(file);
    return DecodeTga(bytes.data(), bytes.size(), image);
}

bool SaveTga32(const char* fileName, int32_t width, int32_t height, const uint8_t* pixels)
{
    std::vector<uint8_t> bytes = EncodeTga32(width, height, pixels);
    if (bytes.empty() || !fileName)
        return false;
    std::string path = ResolvePathNoCase(fileName);
    std::string temporary = path + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = (std::fclose(file) == 0) && written;
    if (!written || std::rename(temporary.c_str(), path.c_str()) != 0)
    {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
