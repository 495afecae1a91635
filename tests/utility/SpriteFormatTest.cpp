#include "tests/support/SpriteFiles.h"
#include "utility/source/QelJpeg2000.h"
#include "tests/support/Jpeg2000Streams.h"
#include "utility/source/QelSpriteFormat.h"
#include "utility/source/QelSpritePacker.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>

namespace
{
std::vector<uint8_t> Serialise(const SSpriteFileData& file)
{
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(WriteSpriteFile(file, bytes, &error)) << error;
    return bytes;
}

void SetU32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + static_cast<size_t>(i)] = static_cast<uint8_t>(value >> (8 * i));
}

struct SFormatCase
{
    int32_t format;
    uint32_t storage;
};

class SpriteFormatRoundTrip : public ::testing::TestWithParam<SFormatCase>
{
};

TEST_P(SpriteFormatRoundTrip, ParsesWhatWasWritten)
{
    const SFormatCase& c = GetParam();
    SSpriteFileData file = MakeSpriteData(c.format, c.storage);
    std::vector<uint8_t> bytes = Serialise(file);
    // Raw pages take 3 bytes a pixel for the opaque formats and 4 for the others.
    if (c.storage == spritefile::kStorageRaw)
    {
        size_t pixels = 0;
        for (const SSpritePageData& page : file.pages)
            pixels += size_t(page.width) * page.height;
        EXPECT_EQ(bytes.size(), 20 + 12 * file.pages.size() + pixels * (c.format >= 2 ? 4 : 3) + 4 +
                                    12 * file.frames.size());
    }

    SSpriteFileData read;
    std::string error;
    ASSERT_TRUE(ParseSpriteFile(bytes.data(), bytes.size(), read, &error)) << error;
    EXPECT_EQ(read.pixelFormat, c.format);
    EXPECT_EQ(read.frameWidth, 8u);
    EXPECT_EQ(read.frameHeight, 8u);
    ASSERT_EQ(read.pages.size(), file.pages.size());
    for (size_t p = 0; p < read.pages.size(); ++p)
    {
        EXPECT_EQ(read.pages[p].storage, c.storage);
        EXPECT_TRUE(read.pages[p].pixels == file.pages[p].pixels) << "page " << p;
        for (size_t i = 3; c.format < 2 && i < read.pages[p].pixels.size(); i += 4)
            ASSERT_EQ(read.pages[p].pixels[i], 255);
    }
    ASSERT_EQ(read.frames.size(), 5u);
    for (size_t f = 0; f < 5; ++f)
    {
        EXPECT_EQ(read.frames[f].page, file.frames[f].page);
        EXPECT_EQ(read.frames[f].leftU, file.frames[f].leftU);
        EXPECT_EQ(read.frames[f].topV, file.frames[f].topV);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryFormatAndStorage, SpriteFormatRoundTrip,
                         ::testing::Values(SFormatCase{0, 0}, SFormatCase{1, 0}, SFormatCase{2, 0}, SFormatCase{3, 0},
                                           SFormatCase{4, 0}, SFormatCase{0, 1}, SFormatCase{1, 1}, SFormatCase{2, 1},
                                           SFormatCase{3, 1}, SFormatCase{4, 1}));

TEST(SpriteFormat, JpegPageDecodesToTheRawPageItWasMadeFrom)
{
    for (int32_t format : {0, 2})
    {
        std::vector<uint8_t> raw = Serialise(MakeSpriteData(format, spritefile::kStorageRaw));
        std::vector<uint8_t> jpeg = Serialise(MakeSpriteData(format, spritefile::kStorageJpeg2000));
        SSpriteFileData fromRaw, fromJpeg;
        ASSERT_TRUE(ParseSpriteFile(raw.data(), raw.size(), fromRaw));
        ASSERT_TRUE(ParseSpriteFile(jpeg.data(), jpeg.size(), fromJpeg));
        ASSERT_EQ(fromRaw.pages.size(), fromJpeg.pages.size());
        for (size_t p = 0; p < fromRaw.pages.size(); ++p)
            EXPECT_TRUE(fromRaw.pages[p].pixels == fromJpeg.pages[p].pixels) << "format " << format;
    }
}

TEST(SpriteFormat, CodeStreamPagesAreReadToo)
{
    SSpriteFileData file = MakeSpriteData(3, spritefile::kStorageJpeg2000);
    for (SSpritePageData& page : file.pages)
        ASSERT_TRUE(EncodeJpeg2000(page.pixels.data(), page.width, page.height, true, false, page.encoded));
    std::vector<uint8_t> bytes = Serialise(file);
    SSpriteFileData read;
    ASSERT_TRUE(ParseSpriteFile(bytes.data(), bytes.size(), read));
    EXPECT_TRUE(read.pages[1].pixels == file.pages[1].pixels);
}

TEST(SpriteFormat, PackerPlacesFramesRowByRowOnPowerOfTwoPages)
{
    std::vector<std::vector<uint8_t>> frames;
    for (uint8_t i = 0; i < 5; ++i)
        frames.push_back(MakePixels(64, 32, i));
    SSpritePackOptions options;
    options.maxPageSide = 128;
    SSpriteFileData file;
    ASSERT_TRUE(PackSpriteFrames(frames, 64, 32, options, file));
    // Two columns and four rows fit on a 128 page: frames 0..4 all on page 0.
    ASSERT_EQ(file.pages.size(), 1u);
    EXPECT_EQ(file.pages[0].width, 128u);
    EXPECT_EQ(file.pages[0].height, 128u);
    EXPECT_FLOAT_EQ(file.frames[3].leftU, 0.5f);
    EXPECT_FLOAT_EQ(file.frames[3].topV, 0.25f);
    EXPECT_FLOAT_EQ(file.frames[4].leftU, 0.0f);
    EXPECT_FLOAT_EQ(file.frames[4].topV, 0.5f);
    // Frame 3's first row sits at (64, 32) on the page.
    EXPECT_EQ(std::memcmp(&file.pages[0].pixels[(32 * 128 + 64) * 4], frames[3].data(), 64 * 4), 0);

    options.maxPageSide = 64;
    ASSERT_TRUE(PackSpriteFrames(frames, 64, 32, options, file));
    ASSERT_EQ(file.pages.size(), 3u);
    EXPECT_EQ(file.pages[2].height, 32u);
    EXPECT_EQ(file.frames[4].page, 2u);
    EXPECT_FALSE(PackSpriteFrames(frames, 128, 16, options, file));
    EXPECT_FALSE(PackSpriteFrames({MakePixels(4, 4, 0)}, 8, 8, options, file));
}

TEST(SpriteFormat, EveryCutShortFileIsRefused)
{
    for (uint32_t storage : {spritefile::kStorageRaw, spritefile::kStorageJpeg2000})
    {
        std::vector<uint8_t> bytes = Serialise(MakeSpriteData(2, storage));
        SSpriteFileData read;
        for (size_t length = 0; length < bytes.size(); ++length)
        {
            ASSERT_FALSE(ParseSpriteFile(bytes.data(), length, read)) << "length " << length;
            ASSERT_TRUE(read.pages.empty());
        }
        EXPECT_TRUE(ParseSpriteFile(bytes.data(), bytes.size(), read));
    }
}

TEST(SpriteFormat, MalformedFieldsAreRefused)
{
    // Offsets in a raw format-2 file of 16 x 16 pages: header 20, page 0 at 20,
    // its pixels at 32 (1024 bytes), page 1 at 1056 (8 x 8), its pixels at 1068,
    // the frame count at 1324, frame records from 1328.
    const std::vector<uint8_t> good = Serialise(MakeSpriteData(2, spritefile::kStorageRaw));
    ASSERT_EQ(good.size(), 1328u + 60u);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    uint32_t nanBits;
    std::memcpy(&nanBits, &nan, 4);

    struct SCase
    {
        const char* name;
        std::function<void(std::vector<uint8_t>&)> damage;
    };
    const SCase cases[] = {
        {"magic", [](std::vector<uint8_t>& b) { b[1] = 'Q'; }},
        {"version 4", [](std::vector<uint8_t>& b) { b[3] = 4; }},
        {"format 5", [](std::vector<uint8_t>& b) { SetU32(b, 4, 5); }},
        {"format -1", [](std::vector<uint8_t>& b) { SetU32(b, 4, 0xFFFFFFFFu); }},
        {"frame width 0", [](std::vector<uint8_t>& b) { SetU32(b, 8, 0); }},
        {"frame height huge", [](std::vector<uint8_t>& b) { SetU32(b, 12, 1u << 20); }},
        {"page count 0", [](std::vector<uint8_t>& b) { SetU32(b, 16, 0); }},
        {"page count huge", [](std::vector<uint8_t>& b) { SetU32(b, 16, 0x40000000u); }},
        {"page width 0", [](std::vector<uint8_t>& b) { SetU32(b, 20, 0); }},
        {"page side beyond limit", [](std::vector<uint8_t>& b) { SetU32(b, 24, 65536); }},
        {"page bigger than file", [](std::vector<uint8_t>& b) { SetU32(b, 24, 4096); }},
        {"storage 2", [](std::vector<uint8_t>& b) { SetU32(b, 28, 2); }},
        {"frame count 0", [](std::vector<uint8_t>& b) { SetU32(b, 1324, 0); }},
        {"frame count huge", [](std::vector<uint8_t>& b) { SetU32(b, 1324, 0xFFFFFFF0u); }},
        {"page index = page count", [](std::vector<uint8_t>& b) { SetU32(b, 1328 + 12, 2); }},
        {"v not a number", [nanBits](std::vector<uint8_t>& b) { SetU32(b, 1328 + 4, nanBits); }},
        {"u beyond the page", [](std::vector<uint8_t>& b) { SetU32(b, 1328 + 8, 0x40000000u); }},
    };
    for (const SCase& c : cases)
    {
        std::vector<uint8_t> bytes = good;
        c.damage(bytes);
        SSpriteFileData read;
        std::string error;
        EXPECT_FALSE(ParseSpriteFile(bytes.data(), bytes.size(), read, &error)) << c.name;
        EXPECT_FALSE(error.empty()) << c.name;
        EXPECT_TRUE(read.pages.empty() && read.frames.empty()) << c.name;
    }
}

TEST(SpriteFormat, JpegPagesThatDoNotFitTheirPageAreRefused)
{
    struct SCase
    {
        const char* name;
        int32_t format;
        uint32_t encodedWidth, encodedHeight;
        bool encodedAlpha;
        bool ok;
        bool subsampled = false; // components of half the picture's size
    };
    const SCase cases[] = {
        {"matching", 2, 16, 16, true, true},
        {"three components for an alpha format", 2, 16, 16, false, false},
        {"three components for an opaque format", 0, 16, 16, false, true},
        {"narrower than its page", 2, 8, 16, true, false},
        {"taller than its page", 0, 16, 32, true, false},
        {"a 16 x 16 picture of 8 x 8 components", 2, 8, 8, true, false, true},
    };
    for (const SCase& c : cases)
    {
        SSpriteFileData file = MakeSpriteData(c.format, spritefile::kStorageJpeg2000);
        std::vector<uint8_t> other = MakePixels(c.encodedWidth, c.encodedHeight, 9);
        ASSERT_TRUE(EncodeJpeg2000(other.data(), c.encodedWidth, c.encodedHeight, c.encodedAlpha, true,
                                   file.pages[0].encoded));
        if (c.subsampled)
        {
            ASSERT_TRUE(SubsampleJpeg2000Alike(file.pages[0].encoded));
        }
        std::vector<uint8_t> bytes = Serialise(file);
        SSpriteFileData read;
        EXPECT_EQ(ParseSpriteFile(bytes.data(), bytes.size(), read), c.ok) << c.name;
    }

    // A length that runs past the end of the file, and bytes that are no picture.
    SSpriteFileData file = MakeSpriteData(0, spritefile::kStorageJpeg2000);
    std::vector<uint8_t> bytes = Serialise(file);
    std::vector<uint8_t> longer = bytes;
    SetU32(longer, 32, 0x7FFFFFFFu);
    SSpriteFileData read;
    EXPECT_FALSE(ParseSpriteFile(longer.data(), longer.size(), read));
    std::vector<uint8_t> garbage = bytes;
    std::memset(&garbage[36], 0x11, 16);
    EXPECT_FALSE(ParseSpriteFile(garbage.data(), garbage.size(), read));
}

TEST(SpriteFormat, PagesThatWouldDecodeToTooMuchAreRefusedBeforeAnyIsDecoded)
{
    // Pages of the largest side, each claimed by a few bytes of JPEG-2000: four may
    // be asked for, five are too much for one file. The bytes are no picture, so a
    // page that is decoded fails with a reason of its own.
    const uint32_t side = spritefile::kMaxPageSide;
    struct SCase
    {
        uint32_t pages;
        bool tooLarge;
    };
    for (const SCase& c : {SCase{4, false}, SCase{5, true}, SCase{1000, true}})
    {
        std::vector<uint8_t> bytes = {'S', 'P', 'R', spritefile::kVersion};
        auto put = [&bytes](uint32_t value) {
            bytes.resize(bytes.size() + 4);
            SetU32(bytes, bytes.size() - 4, value);
        };
        put(2); // format
        put(8);
        put(8);
        put(c.pages);
        for (uint32_t p = 0; p < c.pages; ++p)
        {
            put(side);
            put(side);
            put(spritefile::kStorageJpeg2000);
            put(4);
            put(0x11111111u);
        }
        put(1); // one frame: page 0, v 0, u 0
        put(0);
        put(0);
        put(0);
        SSpriteFileData read;
        std::string error;
        EXPECT_FALSE(ParseSpriteFile(bytes.data(), bytes.size(), read, &error)) << c.pages;
        EXPECT_EQ(error.find("once decoded") != std::string::npos, c.tooLarge) << c.pages << " pages: " << error;
    }

    // The writer holds to the same limit.
    SSpriteFileData file = MakeSpriteData(2, spritefile::kStorageJpeg2000);
    file.pages.resize(file.pages.size() + 5, SSpritePageData{side, side, spritefile::kStorageJpeg2000, {}, {0x11}});
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_FALSE(WriteSpriteFile(file, bytes, &error));
    EXPECT_NE(error.find("once decoded"), std::string::npos) << error;
}

TEST(SpriteFormat, WriterRefusesWhatTheReaderWouldRefuse)
{
    SSpriteFileData good = MakeSpriteData(2, spritefile::kStorageRaw);
    std::vector<uint8_t> bytes;
    std::vector<std::function<void(SSpriteFileData&)>> breaks = {
        [](SSpriteFileData& f) { f.pixelFormat = 7; },
        [](SSpriteFileData& f) { f.frameWidth = 0; },
        [](SSpriteFileData& f) { f.frames[0].page = 9; },
        [](SSpriteFileData& f) { f.pages[0].storage = 3; },
        [](SSpriteFileData& f) { f.pages[0].pixels.pop_back(); },
        [](SSpriteFileData& f) { f.frames.clear(); },
    };
    for (size_t i = 0; i < breaks.size(); ++i)
    {
        SSpriteFileData broken = good;
        breaks[i](broken);
        EXPECT_FALSE(WriteSpriteFile(broken, bytes)) << "case " << i;
        EXPECT_TRUE(bytes.empty());
    }
}
} // namespace
