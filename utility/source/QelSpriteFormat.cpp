#include "utility/source/QelSpriteFormat.h"

#include "utility/source/QelJpeg2000.h"
#include "utility/source/QelMemoryReader.h"

#include <cmath>
#include <cstring>

namespace spritefile
{
uint32_t GetStoredPixelSize(int32_t pixelFormat)
{
    return HasAlpha(pixelFormat) ? 4 : 3;
}

bool HasAlpha(int32_t pixelFormat)
{
    return pixelFormat >= 2 && pixelFormat <= 4;
}
} // namespace spritefile

namespace
{
using namespace spritefile;

bool ReadFloat(CQelMemoryReader& reader, float& value)
{
    uint32_t bits;
    if (!reader.ReadU32(bits))
        return false;
    std::memcpy(&value, &bits, 4);
    return true;
}

void PutU32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

void PutFloat(std::vector<uint8_t>& out, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    PutU32(out, bits);
}

bool Fail(std::string* error, const std::string& reason)
{
    if (error)
        *error = reason;
    return false;
}

bool ReadRawPage(CQelMemoryReader& reader, int32_t pixelFormat, SSpritePageData& page)
{
    const uint32_t stored = GetStoredPixelSize(pixelFormat);
    const size_t count = static_cast<size_t>(page.width) * page.height;
    const uint8_t* source;
    if (!reader.ReadInPlace(count * stored, source))
        return false;
    page.pixels.resize(count * 4);
    if (stored == 4)
    {
        std::memcpy(page.pixels.data(), source, count * 4);
        return true;
    }
    uint8_t* target = page.pixels.data();
    for (size_t i = 0; i < count; ++i, source += 3, target += 4)
    {
        target[0] = source[0];
        target[1] = source[1];
        target[2] = source[2];
        target[3] = 255;
    }
    return true;
}

bool ReadJpeg2000Page(CQelMemoryReader& reader, int32_t pixelFormat, SSpritePageData& page, std::string* error)
{
    uint32_t length;
    const uint8_t* bytes;
    if (!reader.ReadU32(length) || !reader.ReadInPlace(length, bytes))
        return Fail(error, "JPEG-2000 page runs past the end of the file");
    // The picture's size and components are known from its header: a page that
    // cannot fit is refused before anything is decoded.
    SJpeg2000Header header;
    std::string reason;
    if (!ReadJpeg2000Header(bytes, length, header, SJpeg2000Limits(), &reason))
        return Fail(error, "JPEG-2000 page is refused: " + reason);
    if (header.width != page.width || header.height != page.height)
        return Fail(error, "JPEG-2000 page holds " + std::to_string(header.width) + " x " +
                               std::to_string(header.height) + " pixels instead of " + std::to_string(page.width) +
                               " x " + std::to_string(page.height));
    if (HasAlpha(pixelFormat) && header.componentCount < 4)
        return Fail(error, "JPEG-2000 page has no alpha component");
    SDecodedImage image;
    if (!DecodeJpeg2000(bytes, length, image, 1, SJpeg2000Limits(), &reason))
        return Fail(error, "JPEG-2000 page does not decode: " + reason);
    if (image.width != page.width || image.height != page.height || (HasAlpha(pixelFormat) && image.componentCount < 4))
        return Fail(error, "JPEG-2000 page does not decode to its header's picture");
    page.pixels = std::move(image.pixels);
    if (!HasAlpha(pixelFormat))
        for (size_t i = 3; i < page.pixels.size(); i += 4)
            page.pixels[i] = 255;
    page.encoded.assign(bytes, bytes + length);
    return true;
}

std::string DecodedSizeText(uint64_t bytes)
{
    return std::to_string((bytes + (1u << 20) - 1) >> 20) + " MB";
}

// Adds up what the pages take once decoded from their records alone, decoding
// nothing, so that a file asking for too much is refused before any of it is made.
// Records that do not read are left to the parse proper, which says what is wrong.
bool CheckDecodedSize(CQelMemoryReader reader, int32_t pixelFormat, uint32_t pageCount, std::string* error)
{
    uint64_t total = 0;
    for (uint32_t p = 0; p < pageCount; ++p)
    {
        uint32_t width, height, storage, length;
        if (!reader.ReadU32(width) || !reader.ReadU32(height) || !reader.ReadU32(storage) ||
            width > kMaxPageSide || height > kMaxPageSide)
            return true;
        total += uint64_t(width) * height * 4;
        if (total > kMaxDecodedBytes)
            return Fail(error, "the pages take more than " + DecodedSizeText(kMaxDecodedBytes) + " once decoded");
        if (storage == kStorageRaw)
            length = width * height * GetStoredPixelSize(pixelFormat); // at most 4096 x 4096 x 4
        else if (storage != kStorageJpeg2000 || !reader.ReadU32(length))
            return true;
        if (!reader.Skip(length))
            return true;
    }
    return true;
}

bool IsUnitCoordinate(float value)
{
    return std::isfinite(value) && value >= 0.0f && value <= 1.0f;
}

bool ParseInto(const uint8_t* data, size_t size, SSpriteFileData& out, std::string* error)
{
    CQelMemoryReader reader;
    reader.Open(data, size);
    const uint8_t* head;
    if (!reader.ReadInPlace(4, head))
        return Fail(error, "too short for a sprite file");
    if (head[0] != 'S' || head[1] != 'P' || head[2] != 'R')
        return Fail(error, "not a sprite file");
    if (head[3] != kVersion)
        return Fail(error, "sprite file version " + std::to_string(head[3]) + " is not 5");

    uint32_t format, pageCount;
    if (!reader.ReadU32(format) || !reader.ReadU32(out.frameWidth) || !reader.ReadU32(out.frameHeight) ||
        !reader.ReadU32(pageCount))
        return Fail(error, "sprite file header is cut short");
    out.pixelFormat = static_cast<int32_t>(format);
    if (out.pixelFormat < 0 || out.pixelFormat >= kFormatCount)
        return Fail(error, "unknown pixel format " + std::to_string(out.pixelFormat));
    if (out.frameWidth == 0 || out.frameHeight == 0 || out.frameWidth > kMaxPageSide ||
        out.frameHeight > kMaxPageSide)
        return Fail(error, "bad frame size");
    // Every page record takes at least 12 bytes, so the count is bounded by the file too.
    if (pageCount == 0 || pageCount > kMaxPages || pageCount > reader.GetRemaining() / 12)
        return Fail(error, "bad page count " + std::to_string(pageCount));

    if (!CheckDecodedSize(reader, out.pixelFormat, pageCount, error))
        return false;

    out.pages.resize(pageCount);
    for (uint32_t p = 0; p < pageCount; ++p)
    {
        SSpritePageData& page = out.pages[p];
        if (!reader.ReadU32(page.width) || !reader.ReadU32(page.height) || !reader.ReadU32(page.storage))
            return Fail(error, "page " + std::to_string(p) + " is cut short");
        if (page.width == 0 || page.height == 0 || page.width > kMaxPageSide || page.height > kMaxPageSide)
            return Fail(error, "page " + std::to_string(p) + " has a bad size");
        if (page.storage == kStorageRaw)
        {
            if (!ReadRawPage(reader, out.pixelFormat, page))
                return Fail(error, "page " + std::to_string(p) + " runs past the end of the file");
        }
        else if (page.storage == kStorageJpeg2000)
        {
            std::string reason;
            if (!ReadJpeg2000Page(reader, out.pixelFormat, page, &reason))
                return Fail(error, "page " + std::to_string(p) + ": " + reason);
        }
        else
            return Fail(error, "page " + std::to_string(p) + " has unknown storage " + std::to_string(page.storage));
    }

    uint32_t frameCount;
    if (!reader.ReadU32(frameCount))
        return Fail(error, "frame count is missing");
    if (frameCount == 0 || frameCount > kMaxFrames || frameCount > reader.GetRemaining() / 12)
        return Fail(error, "bad frame count " + std::to_string(frameCount));
    out.frames.resize(frameCount);
    for (uint32_t f = 0; f < frameCount; ++f)
    {
        SSpriteFrameData& frame = out.frames[f];
        reader.ReadU32(frame.page);
        ReadFloat(reader, frame.topV);
        ReadFloat(reader, frame.leftU);
        if (frame.page >= pageCount)
            return Fail(error, "frame " + std::to_string(f) + " names page " + std::to_string(frame.page) +
                                   " of " + std::to_string(pageCount));
        if (!IsUnitCoordinate(frame.topV) || !IsUnitCoordinate(frame.leftU))
            return Fail(error, "frame " + std::to_string(f) + " lies outside its page");
    }
    return true;
}

bool CheckForWriting(const SSpriteFileData& file, std::string* error)
{
    if (file.pixelFormat < 0 || file.pixelFormat >= kFormatCount)
        return Fail(error, "unknown pixel format");
    if (file.frameWidth == 0 || file.frameHeight == 0 || file.frameWidth > kMaxPageSide ||
        file.frameHeight > kMaxPageSide)
        return Fail(error, "bad frame size");
    if (file.pages.empty() || file.pages.size() > kMaxPages || file.frames.empty() || file.frames.size() > kMaxFrames)
        return Fail(error, "bad page or frame count");
    uint64_t decodedBytes = 0;
    for (const SSpritePageData& page : file.pages)
    {
        if (page.width == 0 || page.height == 0 || page.width > kMaxPageSide || page.height > kMaxPageSide)
            return Fail(error, "bad page size");
        decodedBytes += uint64_t(page.width) * page.height * 4;
        if (decodedBytes > kMaxDecodedBytes)
            return Fail(error, "the pages take more than " + DecodedSizeText(kMaxDecodedBytes) + " once decoded");
        if (page.storage != kStorageRaw && page.storage != kStorageJpeg2000)
            return Fail(error, "unknown page storage");
        bool needPixels = page.storage == kStorageRaw || page.encoded.empty();
        if (needPixels && page.pixels.size() != static_cast<size_t>(page.width) * page.height * 4)
            return Fail(error, "page pixels do not match the page size");
    }
    for (const SSpriteFrameData& frame : file.frames)
        if (frame.page >= file.pages.size() || !IsUnitCoordinate(frame.topV) || !IsUnitCoordinate(frame.leftU))
            return Fail(error, "bad frame record");
    return true;
}
} // namespace

bool ParseSpriteFile(const uint8_t* data, size_t size, SSpriteFileData& out, std::string* error)
{
    out = SSpriteFileData();
    if (!data && size)
        return Fail(error, "no data");
    if (ParseInto(data ? data : reinterpret_cast<const uint8_t*>(""), size, out, error))
        return true;
    out = SSpriteFileData();
    return false;
}

bool WriteSpriteFile(const SSpriteFileData& file, std::vector<uint8_t>& out, std::string* error)
{
    out.clear();
    if (!CheckForWriting(file, error))
        return false;
    for (uint8_t letter : {uint8_t('S'), uint8_t('P'), uint8_t('R'), kVersion})
        out.push_back(letter);
    PutU32(out, static_cast<uint32_t>(file.pixelFormat));
    PutU32(out, file.frameWidth);
    PutU32(out, file.frameHeight);
    PutU32(out, static_cast<uint32_t>(file.pages.size()));
    const uint32_t stored = GetStoredPixelSize(file.pixelFormat);
    for (const SSpritePageData& page : file.pages)
    {
        PutU32(out, page.width);
        PutU32(out, page.height);
        PutU32(out, page.storage);
        if (page.storage == kStorageJpeg2000)
        {
            std::vector<uint8_t> encoded;
            const std::vector<uint8_t>* bytes = &page.encoded;
            if (page.encoded.empty())
            {
                if (!EncodeJpeg2000(page.pixels.data(), page.width, page.height, HasAlpha(file.pixelFormat), true,
                                    encoded))
                {
                    out.clear();
                    return Fail(error, "JPEG-2000 encoding failed");
                }
                bytes = &encoded;
            }
            PutU32(out, static_cast<uint32_t>(bytes->size()));
            out.insert(out.end(), bytes->begin(), bytes->end());
            continue;
        }
        // Each 4-byte pixel loses its alpha byte where the format stores 3.
        const size_t count = static_cast<size_t>(page.width) * page.height;
        const size_t at = out.size();
        out.resize(at + count * stored);
        for (size_t i = 0; i < count; ++i)
            std::memcpy(out.data() + at + i * stored, page.pixels.data() + i * 4, stored);
    }
    PutU32(out, static_cast<uint32_t>(file.frames.size()));
    for (const SSpriteFrameData& frame : file.frames)
    {
        PutU32(out, frame.page);
        PutFloat(out, frame.topV);
        PutFloat(out, frame.leftU);
    }
    return true;
}
