#include "tests/support/GoldenImage.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

std::vector<uint32_t> ArgbFromBgraBytes(const std::vector<uint8_t>& bytes)
{
    std::vector<uint32_t> argb(bytes.size() / 4);
    for (size_t i = 0; i < argb.size(); ++i)
        argb[i] = uint32_t{bytes[i * 4]} | uint32_t{bytes[i * 4 + 1]} << 8 | uint32_t{bytes[i * 4 + 2]} << 16 |
                  uint32_t{bytes[i * 4 + 3]} << 24;
    return argb;
}

bool WriteImageTga(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint32_t>& argb)
{
    if (argb.size() != size_t{width} * height || width > 0xFFFF || height > 0xFFFF)
        return false;
    std::string bytes(18, '\0');
    bytes[2] = 2;
    bytes[12] = static_cast<char>(width & 0xFF);
    bytes[13] = static_cast<char>(width >> 8);
    bytes[14] = static_cast<char>(height & 0xFF);
    bytes[15] = static_cast<char>(height >> 8);
    bytes[16] = 32;
    bytes[17] = 0x28;  // top-left origin, 8 alpha bits
    for (uint32_t pixel : argb)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<char>((pixel >> shift) & 0xFF));
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary);
        if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())))
            return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

bool ReadImageTga(const std::string& path, uint32_t& width, uint32_t& height, std::vector<uint32_t>& argb)
{
    std::ifstream in(path, std::ios::binary);
    unsigned char header[18];
    if (!in.read(reinterpret_cast<char*>(header), 18))
        return false;
    if (header[0] != 0 || header[1] != 0 || header[2] != 2 || header[16] != 32 || (header[17] & 0x30) != 0x20)
        return false;
    width = header[12] | (header[13] << 8);
    height = header[14] | (header[15] << 8);
    std::vector<unsigned char> bytes(size_t{width} * height * 4);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
        return false;
    argb.resize(size_t{width} * height);
    for (size_t i = 0; i < argb.size(); ++i)
        argb[i] = bytes[i * 4] | (bytes[i * 4 + 1] << 8) | (bytes[i * 4 + 2] << 16) |
                  (static_cast<uint32_t>(bytes[i * 4 + 3]) << 24);
    return true;
}

::testing::AssertionResult MatchesGolden(const std::string& folder, const std::string& name, uint32_t width,
                                         uint32_t height, const std::vector<uint32_t>& argb, int tolerance)
{
    const std::string goldenPath = std::string(TESS_SOURCE_DIR) + "/tests/" + folder + "/golden/" + name + ".tga";
    const char* update = std::getenv("TESS_UPDATE_GOLDENS");
    if (update != nullptr && std::string(update) == "1")
    {
        if (!WriteImageTga(goldenPath, width, height, argb))
            return ::testing::AssertionFailure() << "cannot write " << goldenPath;
        return ::testing::AssertionSuccess() << "rewrote " << goldenPath;
    }
    uint32_t goldenWidth = 0;
    uint32_t goldenHeight = 0;
    std::vector<uint32_t> golden;
    const std::string actualPath = name + ".actual.tga";
    if (!ReadImageTga(goldenPath, goldenWidth, goldenHeight, golden))
    {
        WriteImageTga(actualPath, width, height, argb);
        return ::testing::AssertionFailure() << "no golden image " << goldenPath << "; wrote " << actualPath;
    }
    if (goldenWidth != width || goldenHeight != height)
        return ::testing::AssertionFailure() << name << ": size " << width << "x" << height << ", golden "
                                             << goldenWidth << "x" << goldenHeight;
    size_t differing = 0;
    size_t first = 0;
    for (size_t i = 0; i < argb.size(); ++i)
    {
        for (int shift = 0; shift < 32; shift += 8)
        {
            const int a = static_cast<int>((argb[i] >> shift) & 0xFF);
            const int b = static_cast<int>((golden[i] >> shift) & 0xFF);
            if (std::abs(a - b) > tolerance)
            {
                if (differing++ == 0)
                    first = i;
                break;
            }
        }
    }
    if (differing == 0)
        return ::testing::AssertionSuccess();
    WriteImageTga(actualPath, width, height, argb);
    char pixel[64];
    std::snprintf(pixel, sizeof(pixel), "%08X, golden %08X", argb[first], golden[first]);
    return ::testing::AssertionFailure() << name << ": " << differing << " pixels differ, first at ("
                                         << first % width << ", " << first / width << "): " << pixel
                                         << "; wrote " << actualPath;
}
