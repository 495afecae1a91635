// The code stream's size marker, read by hand before the decoder sees the bytes: the
// decoder sizes its tile tables and sample planes from it, so a few hundred bytes that
// promise millions of tiles or a picture no reader could take are refused here, in
// microseconds, instead of costing a large allocation and a long set-up per read.

#include "utility/source/QelJpeg2000.h"

#include <algorithm>

namespace
{
const uint32_t kMaxComponents = 16;
const uint32_t kTakenComponents = 4;

uint32_t ReadBig16(const uint8_t* p)
{
    return uint32_t(p[0]) << 8 | p[1];
}

uint32_t ReadBig32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

uint64_t CeilDiv(uint64_t a, uint64_t b)
{
    return (a + b - 1) / b;
}

bool Refuse(std::string* reason, const char* text)
{
    if (reason)
        *reason = text;
    return false;
}

// The first code-stream box of a JP2 file, as the decoder finds it: top-level boxes one
// after the other, a length of 0 running to the end of the file and 1 taking a 64-bit one.
bool FindCodeStreamBox(const uint8_t* data, size_t size, const uint8_t*& stream, size_t& streamSize,
                       std::string* reason)
{
    const uint32_t kCodeStreamBox = 0x6A703263; // "jp2c"
    size_t position = 0;
    while (size - position >= 8)
    {
        uint64_t length = ReadBig32(data + position);
        const uint32_t type = ReadBig32(data + position + 4);
        size_t headerSize = 8;
        if (length == 1)
        {
            if (size - position < 16)
                break;
            length = uint64_t(ReadBig32(data + position + 8)) << 32 | ReadBig32(data + position + 12);
            headerSize = 16;
        }
        else if (length == 0)
            length = size - position;
        if (length < headerSize)
            return Refuse(reason, "a JP2 box is shorter than its own header");
        if (type == kCodeStreamBox)
        {
            // A cut-short file keeps what it has; the decoder finds the rest missing.
            stream = data + position + headerSize;
            streamSize = size_t(std::min<uint64_t>(length, size - position)) - headerSize;
            return true;
        }
        if (length > size - position)
            break;
        position += size_t(length);
    }
    return Refuse(reason, "the JP2 file holds no code stream");
}

// The main header after the size marker, marker segment by marker segment up to the first
// tile: a second size marker would make the decoder size its tables twice.
bool CheckMainHeader(const uint8_t* stream, size_t size, size_t position, std::string* reason)
{
    const uint32_t kSize = 0xFF51;
    const uint32_t kTileStart = 0xFF90;
    while (size - position >= 4)
    {
        const uint32_t marker = ReadBig16(stream + position);
        if (marker == kTileStart || marker < 0xFF00)
            return true;
        if (marker == kSize)
            return Refuse(reason, "the code stream has a second size marker");
        position += 2 + ReadBig16(stream + position + 2);
        if (position > size)
            return true;
    }
    return true;
}

struct SComponent
{
    uint32_t precision;
    bool isSigned;
    uint32_t dx;
    uint32_t dy;
};
} // namespace

bool ReadJpeg2000Header(const uint8_t* data, size_t size, SJpeg2000Header& out, const SJpeg2000Limits& limits,
                        std::string* reason)
{
    out = SJpeg2000Header();
    const EJpeg2000Kind kind = DetectJpeg2000(data, size);
    if (kind == EJpeg2000Kind::None)
        return Refuse(reason, "not a JP2 file or JPEG-2000 code stream");
    const uint8_t* stream = data;
    size_t streamSize = size;
    if (kind == EJpeg2000Kind::Jp2File && !FindCodeStreamBox(data, size, stream, streamSize, reason))
        return false;

    // SOC, then SIZ: length, capabilities, picture and tile grid, components.
    const size_t kFixed = 4 + 2 + 2 + 8 * 4 + 2;
    if (streamSize < kFixed || ReadBig16(stream) != 0xFF4F || ReadBig16(stream + 2) != 0xFF51)
        return Refuse(reason, "the code stream does not begin with its size marker");
    const uint32_t length = ReadBig16(stream + 4);
    const uint32_t componentCount = ReadBig16(stream + 4 + 2 + 2 + 32);
    if (length != 38 + 3 * componentCount || streamSize - 4 < length)
        return Refuse(reason, "the size marker's length does not match its components");
    const uint8_t* field = stream + 8;
    const uint64_t x1 = ReadBig32(field), y1 = ReadBig32(field + 4);
    const uint64_t x0 = ReadBig32(field + 8), y0 = ReadBig32(field + 12);
    const uint64_t tileWidth = ReadBig32(field + 16), tileHeight = ReadBig32(field + 20);
    const uint64_t tileX0 = ReadBig32(field + 24), tileY0 = ReadBig32(field + 28);
    if (x1 <= x0 || y1 <= y0)
        return Refuse(reason, "the picture is empty");
    if (tileWidth == 0 || tileHeight == 0 || tileX0 > x0 || tileY0 > y0 || tileX0 + tileWidth <= x0 ||
        tileY0 + tileHeight <= y0)
        return Refuse(reason, "the tile grid does not cover the picture");
    const uint64_t tiles = CeilDiv(x1 - tileX0, tileWidth) * CeilDiv(y1 - tileY0, tileHeight);
    if (tiles > kMaxJpeg2000Tiles)
        return Refuse(reason, "the picture is cut into too many tiles");
    if (componentCount < 3)
        return Refuse(reason, "the picture has fewer than three colour components");
    if (componentCount > kMaxComponents)
        return Refuse(reason, "the picture has too many components");

    SComponent components[kMaxComponents];
    for (uint32_t c = 0; c < componentCount; ++c)
    {
        const uint8_t* record = stream + 4 + 38 + 3 * c;
        components[c] = {uint32_t(record[0] & 0x7F) + 1, (record[0] & 0x80) != 0, record[1], record[2]};
        if (components[c].dx == 0 || components[c].dy == 0)
            return Refuse(reason, "a component has a subsampling step of 0");
    }
    // The components the readers take: red, green, blue and alpha where present.
    const uint32_t taken = std::min(componentCount, kTakenComponents);
    const uint64_t width = CeilDiv(x1, components[0].dx) - CeilDiv(x0, components[0].dx);
    const uint64_t height = CeilDiv(y1, components[0].dy) - CeilDiv(y0, components[0].dy);
    for (uint32_t c = 0; c < taken; ++c)
    {
        const SComponent& component = components[c];
        if (component.isSigned || component.precision > 8)
            return Refuse(reason, "a colour component is not of unsigned values of at most 8 bits");
        if (!limits.subsampledAlike && (component.dx != 1 || component.dy != 1))
            return Refuse(reason, "a colour component is subsampled");
        if (CeilDiv(x1, component.dx) - CeilDiv(x0, component.dx) != width ||
            CeilDiv(y1, component.dy) - CeilDiv(y0, component.dy) != height)
            return Refuse(reason, "the colour components differ in size");
    }
    // Components past the fourth are decoded and dropped: never larger than the picture.
    for (uint32_t c = taken; c < componentCount; ++c)
        if (CeilDiv(x1, components[c].dx) - CeilDiv(x0, components[c].dx) > width ||
            CeilDiv(y1, components[c].dy) - CeilDiv(y0, components[c].dy) > height)
            return Refuse(reason, "a component past the colours is larger than the picture");
    if (width == 0 || height == 0)
        return Refuse(reason, "the colour components are empty");
    if (width > limits.maxSide || height > limits.maxSide)
        return Refuse(reason, "the picture is too large");
    if (!CheckMainHeader(stream, streamSize, 4 + length, reason))
        return false;

    out.width = uint32_t(width);
    out.height = uint32_t(height);
    out.componentCount = componentCount;
    out.tileCount = uint32_t(tiles);
    return true;
}
