#include "platform/DebugOutput.h"
#include "platform/Tga.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
struct SBgra
{
    uint8_t b, g, r, a;
    bool operator==(const SBgra& o) const { return b == o.b && g == o.g && r == o.r && a == o.a; }
};

std::string s_debugText;
void CaptureDebug(const char* text)
{
    s_debugText += text;
}

// Captures the reader's reasons for the length of a test.
class CDebugCapture
{
public:
    CDebugCapture() { s_debugText.clear(); m_previous = SetDebugOutputSink(&CaptureDebug); }
    ~CDebugCapture() { SetDebugOutputSink(m_previous); }

private:
    DebugOutputSink m_previous;
};

void Put16(std::vector<uint8_t>& out, unsigned v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

std::vector<uint8_t> Header(uint8_t colourMapType, uint8_t type, unsigned first, unsigned count, uint8_t entryBits,
                            unsigned width, unsigned height, uint8_t depth, uint8_t descriptor, uint8_t idLength = 0)
{
    std::vector<uint8_t> out{idLength, colourMapType, type};
    Put16(out, first);
    Put16(out, count);
    out.push_back(entryBits);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, width);
    Put16(out, height);
    out.push_back(depth);
    out.push_back(descriptor);
    out.insert(out.end(), idLength, uint8_t('x'));
    return out;
}

// The file's form of one pixel at a true-colour depth.
std::vector<uint8_t> EncodePixel(const SBgra& c, int depth)
{
    std::vector<uint8_t> out;
    if (depth == 16)
        Put16(out, unsigned((c.r >> 3) << 11 | (c.g >> 2) << 5 | (c.b >> 3)));
    else
    {
        out = {c.b, c.g, c.r};
        if (depth == 32)
            out.push_back(c.a);
    }
    return out;
}

// What the reader must give for a pixel stored at a depth.
SBgra Expected(const SBgra& c, int depth)
{
    if (depth == 16)
        return SBgra{uint8_t((c.b >> 3) * 255 / 31), uint8_t((c.g >> 2) * 255 / 63), uint8_t((c.r >> 3) * 255 / 31), 255};
    if (depth == 24)
        return SBgra{c.b, c.g, c.r, 255};
    return c;
}

// A 4 x 3 image, top row first, with repeats so that run-length packets form.
std::vector<SBgra> TestImage()
{
    SBgra red{10, 20, 250, 255}, clear{200, 100, 50, 0}, half{1, 128, 77, 128}, white{255, 255, 255, 255};
    return {red, red, red, clear, clear, clear, half, half, white, white, white, red};
}

// Encodes an image: one-pixel raw packets of 1..3 pixels and runs of equal pixels,
// chosen so that packets cross row ends.
std::vector<uint8_t> RunLengthBody(const std::vector<std::vector<uint8_t>>& filePixels)
{
    std::vector<uint8_t> body;
    size_t i = 0;
    while (i < filePixels.size())
    {
        size_t run = 1;
        while (i + run < filePixels.size() && filePixels[i + run] == filePixels[i] && run < 128)
            ++run;
        if (run > 1)
        {
            body.push_back(uint8_t(0x80 | (run - 1)));
            body.insert(body.end(), filePixels[i].begin(), filePixels[i].end());
        }
        else
        {
            body.push_back(0);
            body.insert(body.end(), filePixels[i].begin(), filePixels[i].end());
        }
        i += run;
    }
    return body;
}

struct SCase
{
    int depth;
    bool topLeft;
    bool runLength;
};

std::vector<uint8_t> BuildFile(const SCase& c, const std::vector<SBgra>& image, int width, int height)
{
    std::vector<std::vector<uint8_t>> filePixels;
    std::vector<uint8_t> file;
    // File rows go top-down or bottom-up.
    for (int fileRow = 0; fileRow < height; ++fileRow)
    {
        int row = c.topLeft ? fileRow : height - 1 - fileRow;
        for (int x = 0; x < width; ++x)
        {
            const SBgra& p = image[size_t(row * width + x)];
            if (c.depth == 8)
                filePixels.push_back({uint8_t(row * width + x)});
            else
                filePixels.push_back(EncodePixel(p, c.depth));
        }
    }
    const uint8_t descriptor = uint8_t((c.topLeft ? 0x20 : 0) | (c.depth == 32 ? 8 : 0));
    if (c.depth == 8)
    {
        // The palette holds every pixel of the image at its own index, 32-bit entries.
        file = Header(1, c.runLength ? 9 : 1, 0, unsigned(image.size()), 32, unsigned(width), unsigned(height), 8,
                      descriptor, 3);
        for (const SBgra& p : image)
            file.insert(file.end(), {p.b, p.g, p.r, p.a});
    }
    else
        file = Header(0, c.runLength ? 10 : 2, 0, 0, 0, unsigned(width), unsigned(height), uint8_t(c.depth), descriptor, 3);
    if (c.runLength)
    {
        std::vector<uint8_t> body = RunLengthBody(filePixels);
        file.insert(file.end(), body.begin(), body.end());
    }
    else
        for (auto& p : filePixels)
            file.insert(file.end(), p.begin(), p.end());
    return file;
}

SBgra PixelAt(const STgaImage& image, int x, int y)
{
    const uint8_t* p = &image.pixels[size_t(y * image.width + x) * 4];
    return SBgra{p[0], p[1], p[2], p[3]};
}

bool Decode(const std::vector<uint8_t>& file, STgaImage& image)
{
    return DecodeTga(file.data(), file.size(), image);
}
} // namespace

TEST(TgaReader, EveryDepthBothOriginsRawAndRunLength)
{
    const std::vector<SBgra> image = TestImage();
    for (int depth : {8, 16, 24, 32})
        for (bool topLeft : {false, true})
            for (bool runLength : {false, true})
            {
                SCase c{depth, topLeft, runLength};
                SCOPED_TRACE(testing::Message() << "depth " << depth << " topLeft " << topLeft << " rle " << runLength);
                STgaImage out;
                ASSERT_TRUE(Decode(BuildFile(c, image, 4, 3), out));
                ASSERT_EQ(out.width, 4);
                ASSERT_EQ(out.height, 3);
                ASSERT_EQ(out.pixels.size(), 4u * 3u * 4u);
                for (int y = 0; y < 3; ++y)
                    for (int x = 0; x < 4; ++x)
                        EXPECT_EQ(PixelAt(out, x, y), Expected(image[size_t(y * 4 + x)], depth == 8 ? 32 : depth))
                            << x << "," << y;
            }
}

TEST(TgaReader, BottomLeftTwoByTwoPutsLastFileRowFirst)
{
    std::vector<uint8_t> file = Header(0, 2, 0, 0, 0, 2, 2, 24, 0);
    file.insert(file.end(), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    STgaImage out;
    ASSERT_TRUE(Decode(file, out));
    EXPECT_EQ(PixelAt(out, 0, 0), (SBgra{7, 8, 9, 255}));
    EXPECT_EQ(PixelAt(out, 1, 0), (SBgra{10, 11, 12, 255}));
    EXPECT_EQ(PixelAt(out, 0, 1), (SBgra{1, 2, 3, 255}));
    EXPECT_EQ(PixelAt(out, 1, 1), (SBgra{4, 5, 6, 255}));
}

TEST(TgaReader, RunPastTheLastPixelStopsAtTheImageEnd)
{
    // 2 x 2, one run of 128 pixels: four are used, nothing beyond the image is written.
    std::vector<uint8_t> file = Header(0, 10, 0, 0, 0, 2, 2, 32, 0x28);
    file.insert(file.end(), {0xFF, 9, 8, 7, 6});
    STgaImage out;
    ASSERT_TRUE(Decode(file, out));
    ASSERT_EQ(out.pixels.size(), 16u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(PixelAt(out, i % 2, i / 2), (SBgra{9, 8, 7, 6}));
}

TEST(TgaReader, ColourMapMustFitTwoHundredFiftySixEntries)
{
    for (unsigned count : {56u, 57u})
    {
        std::vector<uint8_t> file = Header(1, 1, 200, count, 24, 1, 1, 8, 0);
        for (unsigned i = 0; i < count; ++i)
            file.insert(file.end(), {uint8_t(i), 1, 2});
        file.push_back(uint8_t(200 + 5)); // the sixth entry
        STgaImage out;
        CDebugCapture capture;
        EXPECT_EQ(Decode(file, out), count == 56) << count;
        if (count == 56)
            EXPECT_EQ(PixelAt(out, 0, 0), (SBgra{5, 1, 2, 255}));
        else
            EXPECT_NE(s_debugText.find("> 256 entries"), std::string::npos);
    }
}

TEST(TgaReader, FifteenAndSixteenBitColourMapsScaleByTruncation)
{
    // Entry 0: 15-bit red 31, green 1, blue 16; the same bits as a 16-bit entry are 5-6-5.
    const unsigned value = (31u << 10) | (1u << 5) | 16u;
    struct
    {
        uint8_t bits;
        SBgra expected;
    } cases[] = {
        {15, SBgra{uint8_t(16 * 255 / 31), uint8_t(1 * 255 / 31), 255, 255}},
        {16, SBgra{uint8_t(16 * 255 / 31), uint8_t(((value >> 5) & 63) * 255 / 63), uint8_t((value >> 11) * 255 / 31), 255}},
    };
    for (const auto& c : cases)
    {
        std::vector<uint8_t> file = Header(1, 1, 0, 1, c.bits, 1, 1, 8, 0);
        Put16(file, value);
        file.push_back(0);
        STgaImage out;
        ASSERT_TRUE(Decode(file, out)) << int(c.bits);
        EXPECT_EQ(PixelAt(out, 0, 0), c.expected) << int(c.bits);
    }
}

TEST(TgaReader, IndicesOutsideTheMapAreBlack)
{
    std::vector<uint8_t> file = Header(1, 1, 10, 1, 32, 2, 1, 8, 0);
    file.insert(file.end(), {1, 2, 3, 4});
    file.insert(file.end(), {10, 11});
    STgaImage out;
    ASSERT_TRUE(Decode(file, out));
    EXPECT_EQ(PixelAt(out, 0, 0), (SBgra{1, 2, 3, 4}));
    EXPECT_EQ(PixelAt(out, 1, 0), (SBgra{0, 0, 0, 0}));
}

TEST(TgaReader, EveryTruncationFails)
{
    for (const SCase& c : {SCase{8, false, true}, SCase{24, true, false}, SCase{32, false, true}, SCase{16, true, true}})
    {
        std::vector<uint8_t> file = BuildFile(c, TestImage(), 4, 3);
        for (size_t length = 0; length < file.size(); ++length)
        {
            STgaImage out;
            out.width = 99;
            out.pixels.assign(3, 1);
            EXPECT_FALSE(DecodeTga(file.data(), length, out)) << "depth " << c.depth << " length " << length;
            EXPECT_TRUE(out.pixels.empty());
            EXPECT_EQ(out.width, 0);
        }
    }
}

TEST(TgaReader, UnsupportedFilesAreRefusedWithTheirReason)
{
    struct
    {
        const char* name;
        std::vector<uint8_t> file;
        const char* reason;
    } cases[] = {
        {"colour map type 2", Header(2, 2, 0, 0, 0, 1, 1, 24, 0), "colorMapType != 0 or 1"},
        {"grey-scale type 3", Header(0, 3, 0, 0, 0, 1, 1, 8, 0), "unsupported type"},
        {"alpha depth 9", Header(0, 2, 0, 0, 0, 1, 1, 32, 9), "alpha depth"},
        {"colour map on 24 bits", Header(1, 2, 0, 1, 24, 1, 1, 24, 0), "> 8 bits per pixel"},
        {"map entries of 8 bits", Header(1, 1, 0, 1, 8, 1, 1, 8, 0), "Unsupported color map depth"},
        {"right to left", Header(0, 2, 0, 0, 0, 1, 1, 24, 0x10), "right to left"},
        {"true colour of 15 bits", Header(0, 2, 0, 0, 0, 1, 1, 15, 0), "unsupported pixel depth"},
        {"no pixels", Header(0, 2, 0, 0, 0, 0, 5, 24, 0), "no pixels"},
        {"huge size, 2 bytes", Header(0, 10, 0, 0, 0, 65535, 65535, 32, 0), "File read failed"},
    };
    for (auto& c : cases)
    {
        c.file.insert(c.file.end(), {0, 0, 0, 0, 0, 0, 0, 0});
        CDebugCapture capture;
        STgaImage out;
        EXPECT_FALSE(Decode(c.file, out)) << c.name;
        EXPECT_NE(s_debugText.find(c.reason), std::string::npos) << c.name << ": " << s_debugText;
    }
}

TEST(TgaWriter, WrittenImageReadsBackUnchanged)
{
    std::vector<uint8_t> pixels;
    for (int i = 0; i < 5 * 3; ++i)
        pixels.insert(pixels.end(), {uint8_t(i), uint8_t(i * 7), uint8_t(255 - i), uint8_t(i * 13)});
    std::vector<uint8_t> file = EncodeTga32(5, 3, pixels.data());
    STgaHeader header;
    ASSERT_TRUE(ReadTgaHeader(file.data(), file.size(), header));
    EXPECT_EQ(header.imageType, 2);
    EXPECT_EQ(header.pixelDepth, 32);
    EXPECT_EQ(header.descriptor, 0x20);
    EXPECT_EQ(file.size(), TGA_HEADER_SIZE + pixels.size());
    STgaImage out;
    ASSERT_TRUE(Decode(file, out));
    EXPECT_EQ(out.pixels, pixels);
    EXPECT_TRUE(EncodeTga32(0, 3, pixels.data()).empty());
    EXPECT_TRUE(EncodeTga32(70000, 1, pixels.data()).empty());
}
