#include "platform/PixelFormat.h"
#include "platform/Renderer.h"
#include "platform/Tga.h"

#include <strings.h>

namespace
{
bool IsSlotIndex(int index)
{
    return index >= 0 && index < RENDERER_TEXTURE_SLOTS;
}
} // namespace

const STextureSlot* CRenderer::GetTextureSlot(int index) const
{
    return IsSlotIndex(index) ? &m_textures[index] : nullptr;
}

int CRenderer::FindFreeSlot() const
{
    for (int i = 0; i < RENDERER_TEXTURE_SLOTS; ++i)
        if (!m_textures[i].inUse)
            return i;
    return NO_TEXTURE;
}

void CRenderer::ResetTextureTable()
{
    for (STextureSlot& slot : m_textures)
        slot = STextureSlot();
    m_textureBytes = 0;
}

void CRenderer::ReleaseAllTextures()
{
    for (STextureSlot& slot : m_textures)
    {
        if (slot.inUse)
            ApiReleaseTexture(slot);
        slot = STextureSlot();
    }
    m_textureBytes = 0;
}

bool CRenderer::LoadTexture(const char* fileName, bool noCompression, int wrapS, int wrapT, int kind, bool filter,
                            int* index, int* width, int* height)
{
    if (!fileName || !index)
        return false;
    // A file already loaded is shared, whatever the letter case of its name.
    for (int i = 0; i < RENDERER_TEXTURE_SLOTS; ++i)
    {
        STextureSlot& slot = m_textures[i];
        if (slot.inUse && !slot.reserved && strcasecmp(slot.name.c_str(), fileName) == 0)
        {
            ++slot.refCount;
            if (width)
                *width = slot.width;
            if (height)
                *height = slot.height;
            *index = i;
            return true;
        }
    }
    int free = FindFreeSlot();
    if (free == NO_TEXTURE)
    {
        PrintToConsole("Texture table full, cannot load %s", fileName);
        return false;
    }
    STgaImage image;
    if (!LoadTga(fileName, image))
    {
        PrintToConsole("Failed to load texture %s", fileName);
        return false;
    }
    STextureSlot description = DescribeSlot(kind, wrapS, wrapT, noCompression, filter, image.width, image.height);
    description.name = fileName;
    if (!FillSlot(free, description, PIXEL_BGRA8888, image.pixels.data(), nullptr))
    {
        PrintToConsole("Failed to create texture %s", fileName);
        return false;
    }
    if (width)
        *width = image.width;
    if (height)
        *height = image.height;
    *index = free;
    return true;
}

bool CRenderer::CreateTexture(bool noCompression, int wrapS, int wrapT, int kind, bool filter, int width, int height,
                              int sourceCode, const void* pixels, const uint32_t* palette, int* index)
{
    if (!index || !pixels || width <= 0 || height <= 0 || !CanConvertPixels(sourceCode, PIXEL_BGRA8888))
        return false;
    if (sourceCode == PIXEL_PALETTE8 && !palette)
        return false;
    int free = FindFreeSlot();
    if (free == NO_TEXTURE)
        return false;
    STextureSlot description = DescribeSlot(kind, wrapS, wrapT, noCompression, filter, width, height);
    description.reserved = true;
    description.name = "Reserved";
    if (!FillSlot(free, description, sourceCode, pixels, palette))
        return false;
    *index = free;
    return true;
}

STextureSlot CRenderer::DescribeSlot(int kind, int wrapS, int wrapT, bool noCompression, bool filter, int width,
                                     int height)
{
    STextureSlot slot;
    slot.kind = kind;
    slot.wrapS = wrapS ? 1 : 0;
    slot.wrapT = wrapT ? 1 : 0;
    slot.noCompression = noCompression;
    slot.filter = filter;
    slot.width = width;
    slot.height = height;
    return slot;
}

bool CRenderer::FillSlot(int index, const STextureSlot& description, int sourceCode, const void* pixels,
                         const uint32_t* palette)
{
    STextureSlot& slot = m_textures[index];
    slot = description;
    uint32_t bytes = 0;
    if (!ApiUploadTexture(slot, slot.width, slot.height, sourceCode, pixels, palette, bytes))
    {
        ApiReleaseTexture(slot);
        slot = STextureSlot();
        return false;
    }
    m_textureBytes += bytes;
    slot.inUse = true;
    slot.refCount = 1;
    return true;
}

bool CRenderer::UpdateTexture(int index, int width, int height, int sourceCode, const void* pixels,
                              const uint32_t* palette)
{
    // Pixels of another size would not fit the live texture.
    if (!IsSlotIndex(index) || !m_textures[index].inUse || !m_textures[index].apiTexture || !pixels)
        return false;
    STextureSlot& slot = m_textures[index];
    if (width != slot.width || height != slot.height || !CanConvertPixels(sourceCode, PIXEL_BGRA8888))
        return false;
    uint32_t bytes = 0;
    return ApiUploadTexture(slot, width, height, sourceCode, pixels, palette, bytes);
}

void CRenderer::ReleaseTexture(int index)
{
    if (!IsSlotIndex(index) || !m_textures[index].inUse)
        return;
    STextureSlot& slot = m_textures[index];
    if (--slot.refCount > 0)
        return;
    ApiReleaseTexture(slot);
    slot = STextureSlot();
}

bool CRenderer::ReloadNamedTexture(int index)
{
    STextureSlot& slot = m_textures[index];
    STgaImage image;
    if (!LoadTga(slot.name.c_str(), image))
        return false;
    uint32_t bytes = 0;
    slot.width = image.width;
    slot.height = image.height;
    if (!ApiUploadTexture(slot, image.width, image.height, PIXEL_BGRA8888, image.pixels.data(), nullptr, bytes))
    {
        ApiReleaseTexture(slot);
        return false;
    }
    m_textureBytes += bytes;
    return true;
}
