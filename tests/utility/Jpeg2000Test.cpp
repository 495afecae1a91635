#include "utility/source/QelJpeg2000.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
std::vector<uint8_t> MakePicture(uint32_t width, uint32_t height, uint32_t seed)
{
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    uint32_t state = seed;
    for (uint8_t& byte : pixels)
    {
        state = state * 1103515245u + 12345u;
        byte = static_cast<uint8_t>(state >> 16);
    }
    return pixels;
}

struct SRoundTrip
{
    uint32_t width, height;
    bool alpha, jp2;
};

class Jpeg2000RoundTrip : public ::testing::TestWithParam<SRoundTrip>
{
};

TEST_P(Jpeg2000RoundTrip, DecodesToTheEncodedPixelsExactly)
{
    const SRoundTrip& c = GetParam();
    std::vector<uint8_t> source = MakePicture(c.width, c.height, c.width * 31 + c.height);
    std::vector<uint8_t> encoded;
    ASSERT_TRUE(EncodeJpeg2000(source.data(), c.width, c.height, c.alpha, c.jp2, encoded));
    EXPECT_EQ(DetectJpeg2000(encoded.data(), encoded.size()),
              c.jp2 ? EJpeg2000Kind::Jp2File : EJpeg2000Kind::CodeStream);

    SDecodedImage image;
    ASSERT_TRUE(DecodeJpeg2000(encoded.data(), encoded.size(), image));
    EXPECT_EQ(image.width, c.width);
    EXPECT_EQ(image.height, c.height);
    EXPECT_EQ(image.componentCount, c.alpha ? 4u : 3u);
    if (!c.alpha)
        for (size_t i = 3; i < source.size(); i += 4)
            source[i] = 255;
    EXPECT_TRUE(image.pixels == source);
}

INSTANTIATE_TEST_SUITE_P(Sizes, Jpeg2000RoundTrip,
                         ::testing::Values(SRoundTrip{1, 1, true, true}, SRoundTrip{5, 3, false, false},
                                           SRoundTrip{37, 19, true, false}, SRoundTrip{64, 64, false, true},
                                           SRoundTrip{128, 32, true, true}));

TEST(Jpeg2000, DetectsContainerByFirstBytes)
{
    const uint8_t jp2[12] = {0, 0, 0, 0x0C, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A};
    const uint8_t j2k[4] = {0xFF, 0x4F, 0xFF, 0x51};
    const uint8_t other[12] = {'S', 'P', 'R', 5};
    EXPECT_EQ(DetectJpeg2000(jp2, sizeof(jp2)), EJpeg2000Kind::Jp2File);
    EXPECT_EQ(DetectJpeg2000(j2k, sizeof(j2k)), EJpeg2000Kind::CodeStream);
    EXPECT_EQ(DetectJpeg2000(jp2, 11), EJpeg2000Kind::None);
    EXPECT_EQ(DetectJpeg2000(j2k, 3), EJpeg2000Kind::None);
    EXPECT_EQ(DetectJpeg2000(other, sizeof(other)), EJpeg2000Kind::None);
    EXPECT_EQ(DetectJpeg2000(nullptr, 0), EJpeg2000Kind::None);
}

TEST(Jpeg2000, BrokenDataIsRefusedWithoutCrash)
{
    std::vector<uint8_t> source = MakePicture(32, 32, 7);
    for (bool jp2 : {true, false})
    {
        std::vector<uint8_t> encoded;
        ASSERT_TRUE(EncodeJpeg2000(source.data(), 32, 32, true, jp2, encoded));
        SDecodedImage image;
        // Cut short at a spread of lengths, header included.
        for (size_t length : {size_t(4), size_t(12), size_t(40), encoded.size() / 4, encoded.size() / 2})
        {
            EXPECT_FALSE(DecodeJpeg2000(encoded.data(), length, image)) << "length " << length;
            EXPECT_TRUE(image.pixels.empty());
        }
        // Scrambled bodies must fail or decode to a well-formed picture, never crash.
        for (uint32_t seed = 1; seed <= 20; ++seed)
        {
            std::vector<uint8_t> damaged = encoded;
            std::srand(seed);
            for (int i = 0; i < 8; ++i)
                damaged[20 + static_cast<size_t>(std::rand()) % (damaged.size() - 20)] ^= 0x5A;
            if (DecodeJpeg2000(damaged.data(), damaged.size(), image))
            {
                EXPECT_EQ(image.pixels.size(), size_t(image.width) * image.height * 4);
            }
        }
    }
}

TEST(Jpeg2000, EncoderRefusesEmptyPictures)
{
    uint8_t pixel[4] = {1, 2, 3, 4};
    std::vector<uint8_t> out;
    EXPECT_FALSE(EncodeJpeg2000(pixel, 0, 1, false, true, out));
    EXPECT_FALSE(EncodeJpeg2000(pixel, 1, 0, false, true, out));
    EXPECT_FALSE(EncodeJpeg2000(nullptr, 1, 1, false, true, out));
}
} // namespace
