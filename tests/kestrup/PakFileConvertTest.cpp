#include "kestrup/PakFileConvert.h"
#include "platform/Tga.h"
#include "tests/kestrup/KestrupFixtures.h"
#include "tests/support/Jpeg2000Streams.h"
#include "utility/source/QelSpritePacker.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(PakFileConvert, KindAndEntryNameByWholeExtension)
{
    struct SCase
    {
        const char* m_name;
        EPakFileKind m_kind;
        const char* m_entry;
    };
    const SCase cases[] = {
        {"ship.jp2", EPakFileKind::Image, "data/gfx/ship.tga"},
        {"X.JP2", EPakFileKind::Image, "data/gfx/X.tga"},
        {"a.b.Jp2", EPakFileKind::Image, "data/gfx/a.b.tga"},
        {"ship.spr", EPakFileKind::Sprite, "data/gfx/ship.spr"},
        {"Y.SPR", EPakFileKind::Sprite, "data/gfx/Y.SPR"},
        {"ship.jp2x", EPakFileKind::Copy, "data/gfx/ship.jp2x"},
        {"ship.jp2.txt", EPakFileKind::Copy, "data/gfx/ship.jp2.txt"},
        {"jp2", EPakFileKind::Copy, "data/gfx/jp2"},
        {"music.ogg", EPakFileKind::Copy, "data/gfx/music.ogg"},
    };
    for (const SCase& c : cases)
    {
        EXPECT_EQ(GetPakFileKind(c.m_name), c.m_kind) << c.m_name;
        EXPECT_EQ(GetEntryName("data/gfx", c.m_name), c.m_entry);
    }
}

TEST(PakFileConvert, ImagesBecomeTgaWithTheSourcePixels)
{
    struct SCase
    {
        uint32_t m_width;
        uint32_t m_height;
        bool m_alpha;
        bool m_jp2File;
    };
    const SCase cases[] = {
        {37, 23, false, true}, {37, 23, true, true}, {33, 17, true, false},
        {1, 1, false, true},   {64, 64, false, false},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(testing::Message() << c.m_width << "x" << c.m_height << " alpha " << c.m_alpha);
        std::vector<uint8_t> source = MakePixels(c.m_width, c.m_height, 3);
        std::string encoded = EncodeImage(source, c.m_width, c.m_height, c.m_alpha, c.m_jp2File);
        std::vector<uint8_t> tga;
        std::string error;
        ASSERT_TRUE(ConvertImageToTga(reinterpret_cast<const uint8_t*>(encoded.data()), encoded.size(), tga, error))
            << error;
        const uint32_t bytesPerPixel = c.m_alpha ? 4 : 3;
        ASSERT_EQ(tga.size(), 18 + size_t(c.m_width) * c.m_height * bytesPerPixel);
        const uint8_t header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                    uint8_t(c.m_width), uint8_t(c.m_width >> 8), uint8_t(c.m_height),
                                    uint8_t(c.m_height >> 8), uint8_t(bytesPerPixel * 8), 0x20};
        EXPECT_EQ(std::memcmp(tga.data(), header, 18), 0);
        for (size_t i = 0; i < size_t(c.m_width) * c.m_height; ++i)
            ASSERT_EQ(std::memcmp(tga.data() + 18 + i * bytesPerPixel, source.data() + i * 4, bytesPerPixel), 0)
                << "pixel " << i;

        // The game's own TGA reader takes the file as written.
        STgaImage image;
        ASSERT_TRUE(DecodeTga(tga.data(), tga.size(), image));
        EXPECT_EQ(uint32_t(image.width), c.m_width);
        EXPECT_EQ(image.pixels[0], source[0]);
        EXPECT_EQ(image.pixels[3], c.m_alpha ? source[3] : 255);
    }
}

TEST(PakFileConvert, ColoursSubsampledAlikeBecomeATgaOfTheirSize)
{
    // A 40 x 26 picture whose components are all 20 x 13: the conversion takes components
    // of one size, so the image is the components' 20 x 13 pixels.
    for (bool alpha : {false, true})
    {
        std::vector<uint8_t> source = MakePixels(20, 13, 5);
        std::string encoded = EncodeImage(source, 20, 13, alpha);
        std::vector<uint8_t> bytes(encoded.begin(), encoded.end());
        ASSERT_TRUE(SubsampleJpeg2000Alike(bytes));
        std::vector<uint8_t> tga;
        std::string error;
        ASSERT_TRUE(ConvertImageToTga(bytes.data(), bytes.size(), tga, error)) << error;
        const size_t bytesPerPixel = alpha ? 4 : 3;
        ASSERT_EQ(tga.size(), 18 + 20 * 13 * bytesPerPixel);
        EXPECT_EQ(tga[12] | tga[13] << 8, 20);
        EXPECT_EQ(tga[14] | tga[15] << 8, 13);
        for (size_t i = 0; i < 20 * 13; ++i)
            ASSERT_EQ(std::memcmp(tga.data() + 18 + i * bytesPerPixel, source.data() + i * 4, bytesPerPixel), 0)
                << "pixel " << i;
    }
}

TEST(PakFileConvert, ImagesThatDoNotDecodeFail)
{
    std::vector<uint8_t> source = MakePixels(16, 16, 1);
    std::string good = EncodeImage(source, 16, 16, true);
    const std::string cases[] = {
        "", "not an image at all", good.substr(0, 12), good.substr(0, good.size() / 2),
    };
    for (const std::string& bytes : cases)
    {
        std::vector<uint8_t> tga;
        std::string error;
        EXPECT_FALSE(ConvertImageToTga(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), tga, error));
        EXPECT_FALSE(error.empty());
    }
}

TEST(PakFileConvert, SpritePagesBecomeRawWithTheSamePixels)
{
    for (int32_t format = 0; format < spritefile::kFormatCount; ++format)
    {
        SCOPED_TRACE(format);
        SSpriteFileData source = MakeSpriteData(format, spritefile::kStorageJpeg2000);
        std::string bytes = SpriteBytes(source);
        std::vector<uint8_t> out;
        std::string error;
        ASSERT_TRUE(CopySpriteFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out, error)) << error;

        SSpriteFileData converted;
        ASSERT_TRUE(ParseSpriteFile(out.data(), out.size(), converted, &error)) << error;
        EXPECT_EQ(converted.pixelFormat, format);
        ASSERT_EQ(converted.pages.size(), source.pages.size());
        ASSERT_EQ(converted.frames.size(), source.frames.size());
        for (size_t p = 0; p < source.pages.size(); ++p)
        {
            EXPECT_EQ(converted.pages[p].storage, spritefile::kStorageRaw);
            EXPECT_EQ(converted.pages[p].pixels, source.pages[p].pixels); // the parser decoded the source pages
        }
        for (size_t f = 0; f < source.frames.size(); ++f)
        {
            EXPECT_EQ(converted.frames[f].page, source.frames[f].page);
            EXPECT_EQ(converted.frames[f].leftU, source.frames[f].leftU);
            EXPECT_EQ(converted.frames[f].topV, source.frames[f].topV);
        }
    }
}

TEST(PakFileConvert, RawSpritesAreStoredByteForByte)
{
    for (int32_t format : {0, 2, 4})
    {
        std::string bytes = SpriteBytes(MakeSpriteData(format, spritefile::kStorageRaw));
        std::vector<uint8_t> out;
        std::string error;
        ASSERT_TRUE(CopySpriteFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out, error));
        EXPECT_EQ(std::string(out.begin(), out.end()), bytes) << format;
    }
}

TEST(PakFileConvert, BrokenSpritesFail)
{
    std::string good = SpriteBytes(MakeSpriteData(2, spritefile::kStorageJpeg2000));
    std::string oldVersion = good;
    oldVersion[3] = 4;
    std::string badMagic = good;
    badMagic[0] = 'X';
    const std::string cases[] = {oldVersion, badMagic, good.substr(0, good.size() - 1), good.substr(0, 40), ""};
    for (const std::string& bytes : cases)
    {
        std::vector<uint8_t> out;
        std::string error;
        EXPECT_FALSE(CopySpriteFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out, error));
        EXPECT_FALSE(error.empty());
    }
}
