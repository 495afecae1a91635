#include "tests/support/GoldenImage.h"

#include <algorithm>
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

namespace
{
void PushPixel(std::string& bytes, uint32_t pixel)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<char>((pixel >> shift) & 0xFF));
}

// Run-length packets of one row: a run of equal pixels (up to 128) as a count byte with
// the top bit set and one pixel, other pixels in raw packets of up to 128.
void EncodeRow(std::string& bytes, const uint32_t* row, uint32_t width)
{
    uint32_t x = 0;
    while (x < width)
    {
        uint32_t run = 1;
        while (x + run < width && run < 128 && row[x + run] == row[x])
            ++run;
        if (run > 1)
        {
            bytes.push_back(static_cast<char>(0x80 | (run - 1)));
            PushPixel(bytes, row[x]);
            x += run;
            continue;
        }
        uint32_t raw = 1;
        while (x + raw < width && raw < 128 && (x + raw + 1 >= width || row[x + raw] != row[x + raw + 1]))
            ++raw;
        bytes.push_back(static_cast<char>(raw - 1));
        for (uint32_t i = 0; i < raw; ++i)
            PushPixel(bytes, row[x + i]);
        x += raw;
    }
}

bool DecodeRunLength(std::ifstream& in, std::vector<unsigned char>& bytes)
{
    size_t at = 0;
    while (at < bytes.size())
    {
        char header = 0;
        unsigned char pixel[4];
        if (!in.get(header))
            return false;
        const size_t count = (static_cast<unsigned char>(header) & 0x7F) + 1u;
        if (at + count * 4 > bytes.size())
            return false;
        const bool run = (static_cast<unsigned char>(header) & 0x80) != 0;
        for (size_t i = 0; i < count; ++i)
        {
            if ((!run || i == 0) && !in.read(reinterpret_cast<char*>(pixel), 4))
                return false;
            std::copy(pixel, pixel + 4, bytes.begin() + static_cast<std::ptrdiff_t>(at));
            at += 4;
        }
    }
    return true;
}
} // namespace

bool WriteImageTga(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint32_t>& argb)
{
    if (argb.size() != size_t{width} * height || width > 0xFFFF || height > 0xFFFF)
        return false;
    std::string bytes(18, '\0');
    bytes[2] = 10; // true colour, run-length
    bytes[12] = static_cast<char>(width & 0xFF);
    bytes[13] = static_cast<char>(width >> 8);
    bytes[14] = static_cast<char>(height & 0xFF);
    bytes[15] = static_cast<char>(height >> 8);
    bytes[16] = 32;
    bytes[17] = 0x28;  // top-left origin, 8 alpha bits
    for (uint32_t y = 0; y < height; ++y)
        EncodeRow(bytes, argb.data() + size_t{y} * width, width);
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
    const bool runLength = header[2] == 10;
    if (header[0] != 0 || header[1] != 0 || (header[2] != 2 && !runLength) || header[16] != 32 ||
        (header[17] & 0x30) != 0x20)
        return false;
    width = header[12] | (header[13] << 8);
    height = header[14] | (header[15] << 8);
    std::vector<unsigned char> bytes(size_t{width} * height * 4);
    if (runLength ? !DecodeRunLength(in, bytes)
                  : !in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
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
