#include "tests/support/Jpeg2000Streams.h"

#include <algorithm>
#include <cstring>

namespace
{
void PutBig16(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

void PutBig32(std::vector<uint8_t>& out, uint32_t value)
{
    PutBig16(out, value >> 16);
    PutBig16(out, value & 0xFFFF);
}

void SetBig32(uint8_t* at, uint32_t value)
{
    at[0] = static_cast<uint8_t>(value >> 24);
    at[1] = static_cast<uint8_t>(value >> 16);
    at[2] = static_cast<uint8_t>(value >> 8);
    at[3] = static_cast<uint8_t>(value);
}

uint32_t GetBig32(const uint8_t* at)
{
    return uint32_t(at[0]) << 24 | uint32_t(at[1]) << 16 | uint32_t(at[2]) << 8 | at[3];
}

size_t Find(const std::vector<uint8_t>& bytes, const uint8_t* pattern, size_t length)
{
    auto at = std::search(bytes.begin(), bytes.end(), pattern, pattern + length);
    return static_cast<size_t>(at - bytes.begin());
}
} // namespace

std::vector<uint8_t> BuildCodeStreamHead(const SSizeMarker& marker)
{
    std::vector<uint8_t> out;
    PutBig16(out, 0xFF4F);
    PutBig16(out, 0xFF51);
    PutBig16(out, 38 + 3 * static_cast<uint32_t>(marker.components.size()));
    PutBig16(out, 0);
    for (uint32_t value : {marker.x1, marker.y1, marker.x0, marker.y0, marker.tileWidth, marker.tileHeight,
                           marker.tileX0, marker.tileY0})
        PutBig32(out, value);
    PutBig16(out, static_cast<uint32_t>(marker.components.size()));
    for (const auto& component : marker.components)
        out.insert(out.end(), component.begin(), component.end());
    PutBig16(out, 0xFF90);
    PutBig16(out, 10);
    return out;
}

std::vector<uint8_t> WrapInJp2(const std::vector<uint8_t>& codeStream)
{
    std::vector<uint8_t> out = {0x00, 0x00, 0x00, 0x0C, 0x6A, 0x50, 0x20, 0x20, 0x0D, 0x0A, 0x87, 0x0A};
    PutBig32(out, 20);
    for (const char* word : {"ftyp", "jp2 ", "\0\0\0\0", "jp2 "})
        out.insert(out.end(), word, word + 4);
    PutBig32(out, 8 + static_cast<uint32_t>(codeStream.size()));
    out.insert(out.end(), {'j', 'p', '2', 'c'});
    out.insert(out.end(), codeStream.begin(), codeStream.end());
    return out;
}

bool SubsampleJpeg2000Alike(std::vector<uint8_t>& encoded)
{
    const uint8_t sizeMarker[4] = {0xFF, 0x4F, 0xFF, 0x51};
    const size_t at = Find(encoded, sizeMarker, 4);
    if (at + 42 > encoded.size())
        return false;
    uint8_t* field = encoded.data() + at + 8;
    const uint32_t width = GetBig32(field);
    const uint32_t height = GetBig32(field + 4);
    SetBig32(field, width * 2);
    SetBig32(field + 4, height * 2);
    SetBig32(field + 16, GetBig32(field + 16) * 2);
    SetBig32(field + 20, GetBig32(field + 20) * 2);
    const uint32_t components = uint32_t(field[32]) << 8 | field[33];
    if (at + 42 + 3 * components > encoded.size())
        return false;
    for (uint32_t c = 0; c < components; ++c)
    {
        encoded[at + 42 + 3 * c + 1] = 2;
        encoded[at + 42 + 3 * c + 2] = 2;
    }
    // A JP2 file states the picture's size in its image header box too.
    const uint8_t imageHeader[4] = {'i', 'h', 'd', 'r'};
    const size_t box = Find(encoded, imageHeader, 4);
    if (box + 12 <= at)
    {
        SetBig32(encoded.data() + box + 4, height * 2);
        SetBig32(encoded.data() + box + 8, width * 2);
    }
    return true;
}
