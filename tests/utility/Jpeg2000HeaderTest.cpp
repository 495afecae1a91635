#include "tests/support/Jpeg2000Streams.h"
#include "utility/source/QelJpeg2000.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
using SComponents = std::vector<std::array<uint8_t, 3>>;
const std::array<uint8_t, 3> k8Bit = {7, 1, 1};
const std::array<uint8_t, 3> kHalf = {7, 2, 2};

struct SHeaderCase
{
    const char* name;
    SSizeMarker marker;
    bool subsampledAlike;
    const char* refusal; // a piece of the reason; null when the header passes
    uint32_t width;      // of the decoded picture when it passes
    uint32_t height;
    uint32_t tiles;
};

SSizeMarker Marker(uint32_t x1, uint32_t y1, uint32_t tileWidth, uint32_t tileHeight,
                   SComponents components = {k8Bit, k8Bit, k8Bit})
{
    SSizeMarker marker;
    marker.x1 = x1;
    marker.y1 = y1;
    marker.tileWidth = tileWidth;
    marker.tileHeight = tileHeight;
    marker.components = components;
    return marker;
}

SSizeMarker WithOrigin(SSizeMarker marker, uint32_t x0, uint32_t y0, uint32_t tileX0, uint32_t tileY0)
{
    marker.x0 = x0;
    marker.y0 = y0;
    marker.tileX0 = tileX0;
    marker.tileY0 = tileY0;
    return marker;
}

const SHeaderCase kHeaderCases[] = {
    {"one tile, three components", Marker(64, 48, 64, 48), false, nullptr, 64, 48, 1},
    {"four components, picture off the origin", WithOrigin(Marker(110, 70, 128, 128, {k8Bit, k8Bit, k8Bit, k8Bit}), 10, 20, 0, 0),
     false, nullptr, 100, 50, 1},
    {"a fifth component is allowed", Marker(8, 8, 8, 8, {k8Bit, k8Bit, k8Bit, k8Bit, {15, 1, 1}}), false, nullptr, 8,
     8, 1},
    {"1-bit colours", Marker(8, 8, 8, 8, {{0, 1, 1}, {0, 1, 1}, {0, 1, 1}}), false, nullptr, 8, 8, 1},
    // 64 / 2 = 32 tiles a side: 1024 in all, the most taken; 66 wide needs 33 x 32.
    {"the largest tile grid", Marker(64, 64, 2, 2), false, nullptr, 64, 64, 1024},
    {"one tile column too many", Marker(66, 64, 2, 2), false, "too many tiles", 0, 0, 0},
    {"millions of 1-pixel tiles", Marker(16384, 16384, 1, 1), false, "too many tiles", 0, 0, 0},
    {"tile grid past 32 bits", Marker(0xFFFFFFFFu, 0xFFFFFFFFu, 1, 1), false, "too many tiles", 0, 0, 0},
    {"the largest side", Marker(16384, 1, 16384, 1), false, nullptr, 16384, 1, 1},
    {"a side too large", Marker(16385, 1, 16385, 1), false, "too large", 0, 0, 0},
    {"empty picture", WithOrigin(Marker(64, 64, 64, 64), 64, 0, 0, 0), false, "empty", 0, 0, 0},
    {"tile of width 0", Marker(64, 64, 0, 64), false, "tile grid", 0, 0, 0},
    {"tile grid starts right of the picture", WithOrigin(Marker(64, 64, 64, 64), 4, 0, 8, 0), false, "tile grid", 0, 0, 0},
    {"first tile ends before the picture", WithOrigin(Marker(64, 64, 4, 64), 8, 0, 0, 0), false, "tile grid", 0, 0,
     0},
    {"two components", Marker(8, 8, 8, 8, {k8Bit, k8Bit}), false, "fewer than three", 0, 0, 0},
    {"seventeen components", Marker(8, 8, 8, 8, SComponents(17, k8Bit)), false, "too many components", 0, 0, 0},
    {"12-bit colour", Marker(8, 8, 8, 8, {k8Bit, {11, 1, 1}, k8Bit}), false, "at most 8 bits", 0, 0, 0},
    {"signed colour", Marker(8, 8, 8, 8, {k8Bit, k8Bit, {0x87, 1, 1}}), false, "unsigned", 0, 0, 0},
    {"12-bit alpha", Marker(8, 8, 8, 8, {k8Bit, k8Bit, k8Bit, {11, 1, 1}}), false, "at most 8 bits", 0, 0, 0},
    {"subsampling step of 0", Marker(8, 8, 8, 8, {k8Bit, {7, 0, 1}, k8Bit}), true, "step of 0", 0, 0, 0},
    {"subsampled where the reader takes full resolution", Marker(64, 64, 64, 64, {kHalf, kHalf, kHalf}), false,
     "subsampled", 0, 0, 0},
    // Components of ceil(65 / 2) = 33 by 32 samples.
    {"subsampled alike", Marker(65, 64, 65, 64, {kHalf, kHalf, kHalf}), true, nullptr, 33, 32, 1},
    {"subsampled alike with a full-resolution fifth", Marker(64, 64, 64, 64, {kHalf, kHalf, kHalf, kHalf, k8Bit}),
     true, "larger than the picture", 0, 0, 0},
    {"one colour subsampled", Marker(64, 64, 64, 64, {k8Bit, kHalf, k8Bit}), true, "differ in size", 0, 0, 0},
    {"subsampled to nothing", WithOrigin(Marker(2, 64, 2, 64, {{7, 4, 1}, {7, 4, 1}, {7, 4, 1}}), 1, 0, 0, 0), true,
     "empty", 0, 0, 0},
};

TEST(Jpeg2000Header, SizeMarkerIsCheckedAgainstWhatTheReaderTakes)
{
    for (const SHeaderCase& c : kHeaderCases)
    {
        SJpeg2000Limits limits;
        limits.subsampledAlike = c.subsampledAlike;
        const std::vector<uint8_t> stream = BuildCodeStreamHead(c.marker);
        for (const std::vector<uint8_t>& bytes : {stream, WrapInJp2(stream)})
        {
            SJpeg2000Header header;
            std::string reason;
            const bool read = ReadJpeg2000Header(bytes.data(), bytes.size(), header, limits, &reason);
            if (c.refusal)
            {
                EXPECT_FALSE(read) << c.name;
                EXPECT_NE(reason.find(c.refusal), std::string::npos) << c.name << ": " << reason;
                EXPECT_EQ(header.width, 0u) << c.name;
                // The decoder refuses it for the same reason, before it is made.
                SDecodedImage image;
                std::string decodeReason;
                EXPECT_FALSE(DecodeJpeg2000(bytes.data(), bytes.size(), image, 1, limits, &decodeReason));
                EXPECT_EQ(decodeReason, reason) << c.name;
                continue;
            }
            ASSERT_TRUE(read) << c.name << ": " << reason;
            EXPECT_EQ(header.width, c.width) << c.name;
            EXPECT_EQ(header.height, c.height) << c.name;
            EXPECT_EQ(header.componentCount, c.marker.components.size()) << c.name;
            EXPECT_EQ(header.tileCount, c.tiles) << c.name;
        }
    }
}

TEST(Jpeg2000Header, CallerLimitsTheSide)
{
    const std::vector<uint8_t> stream = BuildCodeStreamHead(Marker(300, 200, 300, 200));
    SJpeg2000Limits limits;
    SJpeg2000Header header;
    limits.maxSide = 300;
    EXPECT_TRUE(ReadJpeg2000Header(stream.data(), stream.size(), header, limits));
    limits.maxSide = 299;
    EXPECT_FALSE(ReadJpeg2000Header(stream.data(), stream.size(), header, limits));
}

TEST(Jpeg2000Header, BrokenContainersAndMarkersAreRefused)
{
    const std::vector<uint8_t> good = BuildCodeStreamHead(SSizeMarker());
    struct SCase
    {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* refusal;
    };
    std::vector<SCase> cases;
    // Cut inside the size marker.
    cases.push_back({"cut short", std::vector<uint8_t>(good.begin(), good.begin() + 40), "size marker"});
    // The length field says one component more than the count field.
    std::vector<uint8_t> length = good;
    length[5] += 3;
    cases.push_back({"length against count", length, "length"});
    // Another marker between SOC and SIZ (a raw code stream so made is not taken for one).
    std::vector<uint8_t> order = {0xFF, 0x4F, 0xFF, 0x64, 0x00, 0x04, 'h', 'i'};
    order.insert(order.end(), good.begin() + 2, good.end());
    cases.push_back({"size marker not first", WrapInJp2(order), "size marker"});
    // A second size marker in the main header, before the first tile.
    std::vector<uint8_t> twice(good.begin(), good.end() - 4);
    twice.insert(twice.end(), good.begin() + 2, good.end());
    cases.push_back({"second size marker", twice, "second size marker"});
    // JP2: no code-stream box; a box claiming less than its own header.
    std::vector<uint8_t> jp2 = WrapInJp2(good);
    std::vector<uint8_t> noStream(jp2.begin(), jp2.begin() + 32);
    cases.push_back({"JP2 without code stream", noStream, "no code stream"});
    std::vector<uint8_t> shortBox = jp2;
    shortBox[15] = 4; // the file-type box's length
    cases.push_back({"JP2 box of length 4", shortBox, "shorter than its own header"});
    for (const SCase& c : cases)
    {
        SJpeg2000Header header;
        std::string reason;
        EXPECT_FALSE(ReadJpeg2000Header(c.bytes.data(), c.bytes.size(), header, SJpeg2000Limits(), &reason)) << c.name;
        EXPECT_NE(reason.find(c.refusal), std::string::npos) << c.name << ": " << reason;
    }

    // A code-stream box found after a box of a 64-bit length, and one running to the end.
    std::vector<uint8_t> longBox(jp2.begin(), jp2.begin() + 32);
    longBox.insert(longBox.end(), {0, 0, 0, 1, 'f', 'r', 'e', 'e', 0, 0, 0, 0, 0, 0, 0, 20, 1, 2, 3, 4});
    longBox.insert(longBox.end(), {0, 0, 0, 0, 'j', 'p', '2', 'c'});
    longBox.insert(longBox.end(), good.begin(), good.end());
    SJpeg2000Header header;
    std::string reason;
    EXPECT_TRUE(ReadJpeg2000Header(longBox.data(), longBox.size(), header, SJpeg2000Limits(), &reason)) << reason;
    EXPECT_EQ(header.width, 64u);
}

std::vector<uint8_t> MakeGradient(uint32_t width, uint32_t height)
{
    std::vector<uint8_t> pixels(size_t(width) * height * 4);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
        {
            uint8_t* p = &pixels[(size_t(y) * width + x) * 4];
            p[0] = uint8_t(x * 7 + y);
            p[1] = uint8_t(y * 5);
            p[2] = uint8_t(x ^ y);
            p[3] = uint8_t(255 - x);
        }
    return pixels;
}

TEST(Jpeg2000Header, ComponentsSubsampledAlikeDecodeAtTheirOwnSize)
{
    for (bool jp2 : {true, false})
        for (bool alpha : {false, true})
        {
            const std::vector<uint8_t> source = MakeGradient(24, 10);
            std::vector<uint8_t> encoded;
            ASSERT_TRUE(EncodeJpeg2000(source.data(), 24, 10, alpha, jp2, encoded));
            ASSERT_TRUE(SubsampleJpeg2000Alike(encoded));

            SJpeg2000Limits alike;
            alike.subsampledAlike = true;
            SDecodedImage image;
            std::string reason;
            ASSERT_TRUE(DecodeJpeg2000(encoded.data(), encoded.size(), image, 1, alike, &reason)) << reason;
            EXPECT_EQ(image.width, 24u);
            EXPECT_EQ(image.height, 10u);
            EXPECT_EQ(image.componentCount, alpha ? 4u : 3u);
            for (size_t i = 0; i < source.size(); ++i)
                ASSERT_EQ(image.pixels[i], (i % 4 == 3 && !alpha) ? 255 : source[i]) << "byte " << i;

            // A reader that needs full resolution refuses the same picture.
            EXPECT_FALSE(DecodeJpeg2000(encoded.data(), encoded.size(), image));
        }
}

TEST(Jpeg2000Header, DecoderGetsTheThreadsItIsGiven)
{
    if (!HasJpeg2000Threads())
        GTEST_SKIP() << "this OpenJPEG is built without threads";
    const std::vector<uint8_t> source = MakeGradient(256, 256);
    std::vector<uint8_t> encoded;
    ASSERT_TRUE(EncodeJpeg2000(source.data(), 256, 256, true, true, encoded));
    SDecodedImage one;
    SDecodedImage several;
    ASSERT_TRUE(DecodeJpeg2000(encoded.data(), encoded.size(), one, 1));
    ASSERT_TRUE(DecodeJpeg2000(encoded.data(), encoded.size(), several, 4));
    EXPECT_EQ(one.decoderThreads, 1);
    EXPECT_EQ(several.decoderThreads, 4);
    EXPECT_TRUE(one.pixels == several.pixels);
    EXPECT_TRUE(one.pixels == source);
}
} // namespace
