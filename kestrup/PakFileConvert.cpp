#include "kestrup/PakFileConvert.h"

#include "utility/source/QelPixelDataSize.h"
#include "utility/source/QelSpriteFormat.h"

#include <cstring>
#include <strings.h>

namespace
{
// The conversion takes three or four 8-bit components of one size, also where they are
// subsampled alike and so smaller than the picture's full resolution.
SJpeg2000Limits GetImageLimits()
{
    SJpeg2000Limits limits;
    limits.subsampledAlike = true;
    return limits;
}

const char* GetExtension(const char* fileName)
{
    const char* dot = std::strrchr(fileName, '.');
    return dot ? dot : "";
}

bool HasComponents(const SDecodedImage& image, uint32_t components)
{
    return image.componentCount == components && image.width <= 0xFFFF && image.height <= 0xFFFF &&
           image.pixels.size() == size_t(image.width) * image.height * 4;
}

// Rows of blue, green, red (and alpha) from the decoder's blue, green, red, alpha.
void WritePixels(const SDecodedImage& image, uint32_t components, uint8_t* to)
{
    const size_t count = size_t(image.width) * image.height;
    const uint8_t* from = image.pixels.data();
    if (components == 4)
    {
        std::memcpy(to, from, count * 4);
        return;
    }
    for (size_t i = 0; i < count; ++i, from += 4, to += 3)
    {
        to[0] = from[0];
        to[1] = from[1];
        to[2] = from[2];
    }
}

bool ConvertImage(const SDecodedImage& image, uint32_t components, std::vector<uint8_t>& pixels, uint32_t& width,
                  uint32_t& height, int& pixelFormat)
{
    if (!HasComponents(image, components))
        return false;
    pixelFormat = components == 4 ? QEL_PIXEL_ARGB8 : QEL_PIXEL_RGB8;
    width = image.width;
    height = image.height;
    pixels.resize(GetPixelDataSize(width, height, pixelFormat));
    WritePixels(image, components, pixels.data());
    return true;
}
} // namespace

EPakFileKind GetPakFileKind(const char* fileName)
{
    const char* extension = GetExtension(fileName);
    if (strcasecmp(extension, ".spr") == 0)
        return EPakFileKind::Sprite;
    if (strcasecmp(extension, ".jp2") == 0)
        return EPakFileKind::Image;
    return EPakFileKind::Copy;
}

std::string GetEntryName(const std::string& folderPath, const char* fileName)
{
    std::string name = folderPath + "/" + fileName;
    if (GetPakFileKind(fileName) == EPakFileKind::Image)
        name.replace(name.size() - 4, 4, ".tga");
    return name;
}

bool ConvertImageToRGB8(const SDecodedImage& image, std::vector<uint8_t>& pixels, uint32_t& width,
                        uint32_t& height, int& pixelFormat)
{
    return ConvertImage(image, 3, pixels, width, height, pixelFormat);
}

bool ConvertImageToARGB8(const SDecodedImage& image, std::vector<uint8_t>& pixels, uint32_t& width,
                         uint32_t& height, int& pixelFormat)
{
    return ConvertImage(image, 4, pixels, width, height, pixelFormat);
}

void BuildTgaHeader(uint8_t header[18], uint16_t width, uint16_t height, uint8_t bitsPerPixel)
{
    std::memset(header, 0, 18);
    header[2] = 2; // uncompressed true colour
    header[12] = static_cast<uint8_t>(width);
    header[13] = static_cast<uint8_t>(width >> 8);
    header[14] = static_cast<uint8_t>(height);
    header[15] = static_cast<uint8_t>(height >> 8);
    header[16] = bitsPerPixel;
    header[17] = 0x20; // first row at the top
}

bool ConvertImageToTga(const uint8_t* data, size_t size, std::vector<uint8_t>& tga, std::string& error,
                       int threadCount)
{
    CJpeg2000Decoder decoder;
    std::string reason;
    if (!decoder.Decode(data, size, threadCount, GetImageLimits(), &reason))
    {
        error = "the JPEG-2000 image does not decode: " + reason;
        return false;
    }
    const SJpeg2000Header& header = decoder.GetHeader();
    const uint32_t components = decoder.GetComponentCount();
    if ((components != 3 && components != 4) || header.width > 0xFFFF || header.height > 0xFFFF)
    {
        error = "the image has neither 3 nor 4 colour components of one size";
        return false;
    }
    // The pixels go straight into the file's buffer after its header.
    const int pixelFormat = components == 4 ? QEL_PIXEL_ARGB8 : QEL_PIXEL_RGB8;
    tga.resize(18 + GetPixelDataSize(header.width, header.height, pixelFormat));
    BuildTgaHeader(tga.data(), static_cast<uint16_t>(header.width), static_cast<uint16_t>(header.height),
                   components == 4 ? 32 : 24);
    decoder.WritePixels(tga.data() + 18, components);
    return true;
}

bool CopySpriteFile(const uint8_t* data, size_t size, std::vector<uint8_t>& out, std::string& error)
{
    SSpriteFileData sprite;
    if (!ParseSpriteFile(data, size, sprite, &error))
    {
        error = "the sprite file does not read: " + error;
        return false;
    }
    for (SSpritePageData& page : sprite.pages)
    {
        page.storage = spritefile::kStorageRaw;
        page.encoded.clear();
    }
    if (!WriteSpriteFile(sprite, out, &error))
    {
        error = "the sprite file cannot be written: " + error;
        return false;
    }
    return true;
}

bool ConvertPakFile(const SQelPakFileFile& file, SConvertedFile& out, int threadCount)
{
    out = SConvertedFile();
    switch (GetPakFileKind(file.m_name))
    {
    case EPakFileKind::Copy:
        out.m_data = file.m_data;
        out.m_size = file.m_dataSize;
        out.m_ok = true;
        return true;
    case EPakFileKind::Sprite:
        out.m_ok = CopySpriteFile(file.m_data, file.m_dataSize, out.m_buffer, out.m_error);
        break;
    case EPakFileKind::Image:
        out.m_ok = ConvertImageToTga(file.m_data, file.m_dataSize, out.m_buffer, out.m_error, threadCount);
        break;
    }
    if (out.m_ok)
    {
        out.m_data = out.m_buffer.data();
        out.m_size = out.m_buffer.size();
    }
    else
        out.m_buffer = std::vector<uint8_t>();
    return out.m_ok;
}

uint64_t EstimateConvertCost(const SQelPakFileFile& file)
{
    switch (GetPakFileKind(file.m_name))
    {
    case EPakFileKind::Copy:
        return 0;
    case EPakFileKind::Sprite:
        // Pages are small; lossless JPEG-2000 rarely packs more than 8 to 1.
        return uint64_t(file.m_dataSize) * 16 + (1u << 20);
    case EPakFileKind::Image:
        break;
    }
    SJpeg2000Header header;
    if (!ReadJpeg2000Header(file.m_data, file.m_dataSize, header, GetImageLimits()))
        return 0; // fails at once when converted
    // The decoder's 32-bit sample planes and its copy of the coded data, then the TGA
    // the pixels are written into.
    const uint64_t pixels = uint64_t(header.width) * header.height;
    const uint64_t tgaBytes = pixels * (header.componentCount > 3 ? 4 : 3);
    return pixels * header.componentCount * 4 + file.m_dataSize + tgaBytes + (1u << 20);
}
