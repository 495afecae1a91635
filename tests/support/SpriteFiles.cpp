#include "tests/support/SpriteFiles.h"

#include "utility/source/QelSpritePacker.h"

#include <gtest/gtest.h>

std::vector<uint8_t> MakePixels(uint32_t width, uint32_t height, uint8_t seed)
{
    std::vector<uint8_t> pixels(size_t(width) * height * 4);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<uint8_t>(i * 31 + seed * 17 + (i >> 6) * 3);
    return pixels;
}

SSpriteFileData MakeSpriteData(int32_t format, uint32_t storage)
{
    std::vector<std::vector<uint8_t>> frames;
    for (uint8_t i = 1; i <= 5; ++i)
        frames.push_back(MakePixels(8, 8, i));
    SSpritePackOptions options;
    options.pixelFormat = format;
    options.storage = storage;
    options.maxPageSide = 16;
    SSpriteFileData sprite;
    EXPECT_TRUE(PackSpriteFrames(frames, 8, 8, options, sprite));
    return sprite;
}

std::string MakeSpriteFileBytes(uint32_t width, uint32_t height, int count)
{
    std::vector<std::vector<uint8_t>> frames;
    for (int i = 0; i < count; ++i)
        frames.push_back(MakePixels(width, height, static_cast<uint8_t>(i + 1)));
    SSpritePackOptions options;
    options.maxPageSide = 1024;
    SSpriteFileData sprite;
    std::vector<uint8_t> bytes;
    if (!PackSpriteFrames(frames, width, height, options, sprite) || !WriteSpriteFile(sprite, bytes))
        return std::string();
    return std::string(bytes.begin(), bytes.end());
}
