// The device's resources: textures, vertex and index buffers, read-back surfaces.

#include "platform/d3d8/SoftD3DDevice.h"
#include "platform/d3d8/SoftPixelDecode.h"

#include <cstring>
#include <new>

uint32_t CSoftRefCounted::Release()
{
    const uint32_t left = --m_refs;
    if (left == 0)
        delete this;
    return left;
}

CSoftTexture::CSoftTexture(ESoftFormat format, uint32_t width, uint32_t height)
    : m_format(format), m_width(width), m_height(height), m_pitch(width * GetSoftFormatSize(format))
{
    const size_t count = static_cast<size_t>(width) * height;
    m_storage.reset(new (std::nothrow) uint8_t[count * GetSoftFormatSize(format)]());
    m_texels.reset(new (std::nothrow) uint32_t[(static_cast<size_t>(width) + 2) * (height + 2)]());
}

void CSoftTexture::GetLevelDesc(SSoftSurfaceDesc& desc) const
{
    desc.format = m_format;
    desc.width = m_width;
    desc.height = m_height;
}

bool CSoftTexture::LockRect(SSoftLockedRect& locked)
{
    if (m_locked || !IsValid())
        return false;
    m_locked = true;
    locked.pitch = static_cast<int>(m_pitch);
    locked.bits = m_storage.get();
    return true;
}

bool CSoftTexture::UnlockRect()
{
    if (!m_locked)
        return false;
    m_locked = false;
    // Draws already recorded must still see the old texels.
    if (m_queuedBy != nullptr)
        m_queuedBy->FlushQueuedDraws();
    uint32_t* texels = m_texels.get() + m_width + 3;
    const size_t pitch = GetTexelPitch();
    if (!DecodeSoftPixels(m_format, m_storage.get(), m_pitch, m_width, m_height, texels, m_width + 2))
        return false;
    for (uint32_t y = 0; y < m_height; ++y)
    {
        uint32_t* row = texels + y * pitch;
        row[-1] = row[0];
        row[m_width] = row[m_width - 1];
    }
    std::memcpy(texels - pitch - 1, texels - 1, pitch * 4);
    std::memcpy(texels + m_height * pitch - 1, texels + (m_height - 1) * pitch - 1, pitch * 4);
    return true;
}

CSoftVertexBuffer::CSoftVertexBuffer(uint32_t sizeBytes)
    : m_size(sizeBytes), m_data(new (std::nothrow) uint8_t[sizeBytes]())
{
}

bool CSoftVertexBuffer::Lock(void** data)
{
    if (m_locked || !IsValid() || data == nullptr)
        return false;
    m_locked = true;
    *data = m_data.get();
    return true;
}

bool CSoftVertexBuffer::Unlock()
{
    if (!m_locked)
        return false;
    m_locked = false;
    return true;
}

CSoftIndexBuffer::CSoftIndexBuffer(uint32_t sizeBytes)
    : m_size(sizeBytes), m_data(new (std::nothrow) uint16_t[(sizeBytes + 1) / 2]())
{
}

bool CSoftIndexBuffer::Lock(void** data)
{
    if (m_locked || !IsValid() || data == nullptr)
        return false;
    m_locked = true;
    *data = m_data.get();
    return true;
}

bool CSoftIndexBuffer::Unlock()
{
    if (!m_locked)
        return false;
    m_locked = false;
    return true;
}

CSoftSurface::CSoftSurface(uint32_t width, uint32_t height)
    : m_width(width), m_height(height),
      m_pixels(new (std::nothrow) uint32_t[static_cast<size_t>(width) * height]())
{
}

void CSoftSurface::GetDesc(SSoftSurfaceDesc& desc) const
{
    desc.format = ESoftFormat::A8R8G8B8;
    desc.width = m_width;
    desc.height = m_height;
}

bool CSoftSurface::LockRect(SSoftLockedRect& locked)
{
    if (m_locked || !IsValid())
        return false;
    m_locked = true;
    locked.pitch = static_cast<int>(m_width * 4);
    locked.bits = m_pixels.get();
    return true;
}

bool CSoftSurface::UnlockRect()
{
    if (!m_locked)
        return false;
    m_locked = false;
    return true;
}
