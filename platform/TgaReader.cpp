#include "platform/DebugOutput.h"
#include "platform/Tga.h"

#include <cstring>
#include <new>

namespace
{
uint16_t Get16(const uint8_t* p)
{
    return uint16_t(p[0] | (p[1] << 8));
}

void PutBgra(uint8_t* out, uint8_t b, uint8_t g, uint8_t r, uint8_t a)
{
    out[0] = b;
    out[1] = g;
    out[2] = r;
    out[3] = a;
}

// 15-bit entry: x-5-5-5.
void Decode15(const uint8_t* in, uint8_t* out)
{
    unsigned v = Get16(in);
    PutBgra(out, uint8_t((v & 31) * 255 / 31), uint8_t(((v >> 5) & 31) * 255 / 31),
            uint8_t(((v >> 10) & 31) * 255 / 31), 255);
}

// 16-bit entries and pixels are taken as 5-6-5 without alpha.
void Decode16(const uint8_t* in, uint8_t* out)
{
    unsigned v = Get16(in);
    PutBgra(out, uint8_t((v & 31) * 255 / 31), uint8_t(((v >> 5) & 63) * 255 / 63),
            uint8_t(((v >> 11) & 31) * 255 / 31), 255);
}

void Decode24(const uint8_t* in, uint8_t* out)
{
    PutBgra(out, in[0], in[1], in[2], 255);
}

void Decode32(const uint8_t* in, uint8_t* out)
{
    std::memcpy(out, in, 4);
}

// Reads the bytes of the file in order; every take is checked against what is left.
class CByteReader
{
public:
    CByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    const uint8_t* Take(size_t count)
    {
        if (count > m_size - m_at)
            return nullptr;
        const uint8_t* p = m_data + m_at;
        m_at += count;
        return p;
    }
    size_t Left() const { return m_size - m_at; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

bool Fail(const char* message)
{
    DebugOutput("%s", message);
    return false;
}

bool ReadColourMap(CByteReader& reader, const STgaHeader& header, uint8_t palette[256][4])
{
    void (*decode)(const uint8_t*, uint8_t*) = nullptr;
    size_t entrySize = 0;
    switch (header.colourMapEntryBits)
    {
    case 15: decode = &Decode15; entrySize = 2; break;
    case 16: decode = &Decode16; entrySize = 2; break;
    case 24: decode = &Decode24; entrySize = 3; break;
    case 32: decode = &Decode32; entrySize = 4; break;
    default: return Fail("TGA loader, Unsupported color map depth\n");
    }
    for (unsigned i = 0; i < header.colourMapCount; ++i)
    {
        const uint8_t* entry = reader.Take(entrySize);
        if (!entry)
            return Fail("TGA loader, File read failed\n");
        decode(entry, palette[header.colourMapFirst + i]);
    }
    return true;
}
} // namespace

bool ReadTgaHeader(const uint8_t* data, size_t size, STgaHeader& header)
{
    if (!data || size < TGA_HEADER_SIZE)
        return false;
    header.idLength = data[0];
    header.colourMapType = data[1];
    header.imageType = data[2];
    header.colourMapFirst = Get16(data + 3);
    header.colourMapCount = Get16(data + 5);
    header.colourMapEntryBits = data[7];
    header.originX = Get16(data + 8);
    header.originY = Get16(data + 10);
    header.width = Get16(data + 12);
    header.height = Get16(data + 14);
    header.pixelDepth = data[16];
    header.descriptor = data[17];
    return true;
}

bool DecodeTga(const uint8_t* data, size_t size, STgaImage& image)
{
    image = STgaImage();
    STgaHeader header;
    if (!ReadTgaHeader(data, size, header))
        return Fail("TGA loader, File read failed\n");
    if (header.colourMapType > 1)
        return Fail("Encountered colorMapType != 0 or 1\n");
    if (header.imageType != 1 && header.imageType != 2 && header.imageType != 9 && header.imageType != 10)
        return Fail("TGA loader, encountered unsupported type, we only support true color images\n");
    if ((header.descriptor & 0x0F) > 8)
        return Fail("Unsupported alpha depth ( > 8 bits )\n");

    CByteReader reader(data, size);
    reader.Take(TGA_HEADER_SIZE);
    if (!reader.Take(header.idLength))
        return Fail("TGA loader, File read failed\n");

    // Indices outside the map (or with no map at all) give black, never stale memory.
    uint8_t palette[256][4] = {};
    if (header.colourMapType == 1)
    {
        if (header.pixelDepth != 8)
            return Fail("TGA loader, color map exists for image with > 8 bits per pixel - unsupported\n");
        if (header.colourMapFirst + header.colourMapCount > 256)
            return Fail("TGA loader, 8 bit image map has color map with > 256 entries\n");
        if (!ReadColourMap(reader, header, palette))
            return false;
    }
    if (header.descriptor & 0x10)
        return Fail("TGA loader, file is stored from right to left, unsupported\n");

    void (*decode)(const uint8_t*, uint8_t*) = nullptr;
    size_t bytesPerPixel = size_t(header.pixelDepth) / 8;
    switch (header.pixelDepth)
    {
    case 8: break;
    case 16: decode = &Decode16; break;
    case 24: decode = &Decode24; break;
    case 32: decode = &Decode32; break;
    default: return Fail("TGA loader, unsupported pixel depth\n");
    }
    if (header.width == 0 || header.height == 0)
        return Fail("TGA loader, image has no pixels\n");

    // Refuse a size the file cannot hold before allocating for it.
    const size_t pixelCount = size_t(header.width) * header.height;
    const bool runLength = header.IsRunLength();
    const size_t minimum = runLength ? (pixelCount + 127) / 128 * (1 + bytesPerPixel) : pixelCount * bytesPerPixel;
    if (reader.Left() < minimum)
        return Fail("TGA loader, File read failed\n");

    std::vector<uint8_t> pixels;
    try
    {
        pixels.resize(pixelCount * 4);
    }
    catch (const std::bad_alloc&)
    {
        return Fail("TGA loader, out of memory\n");
    }

    const size_t width = header.width;
    const size_t height = header.height;
    const bool topLeft = header.IsTopLeft();
    // File pixel n lands in output row n / width counted from the top or the bottom.
    auto target = [&](size_t n) {
        size_t row = n / width;
        size_t outRow = topLeft ? row : height - 1 - row;
        return pixels.data() + (outRow * width + n % width) * 4;
    };
    auto put = [&](const uint8_t* in, size_t n) {
        if (decode)
            decode(in, target(n));
        else
            std::memcpy(target(n), palette[*in], 4);
    };

    size_t n = 0;
    while (n < pixelCount)
    {
        if (!runLength)
        {
            const uint8_t* in = reader.Take(bytesPerPixel);
            if (!in)
                return Fail("TGA loader, File read failed\n");
            put(in, n++);
            continue;
        }
        const uint8_t* packet = reader.Take(1);
        if (!packet)
            return Fail("TGA loader, File read failed\n");
        size_t count = size_t(*packet & 0x7F) + 1;
        if (count > pixelCount - n) // a run past the last pixel is cut at the image's end
            count = pixelCount - n;
        if (*packet & 0x80)
        {
            const uint8_t* in = reader.Take(bytesPerPixel);
            if (!in)
                return Fail("TGA loader, File read failed\n");
            for (size_t i = 0; i < count; ++i)
                put(in, n++);
        }
        else
        {
            for (size_t i = 0; i < count; ++i)
            {
                const uint8_t* in = reader.Take(bytesPerPixel);
                if (!in)
                    return Fail("TGA loader, File read failed\n");
                put(in, n++);
            }
        }
    }

    image.width = header.width;
    image.height = header.height;
    image.pixels.swap(pixels);
    return true;
}
