#include "tests/platform/d3d8/SoftDeviceFixture.h"

#include <cstring>

CSoftDeviceFixture::CSoftDeviceFixture(uint32_t width, uint32_t height, ESoftFormat depth,
                                       ESoftFormat format)
    : m_width(width), m_height(height)
{
    m_d3d = CSoftD3D::Create(CSoftD3D::GetDefaultProfile());
    SSoftPresentParams params;
    params.backBufferWidth = width;
    params.backBufferHeight = height;
    params.backBufferFormat = format;
    params.windowed = true;
    params.autoDepthStencil = depth != ESoftFormat::Unknown;
    params.depthFormat = depth;
    m_d3d->CreateDevice(params, &m_device);
    if (m_device != nullptr)
        m_device->SetVertexFormat(SOFT_FVF_SCREEN);
}

CSoftDeviceFixture::~CSoftDeviceFixture()
{
    if (m_device != nullptr)
        m_device->Release();
    m_d3d->Release();
}

std::vector<uint32_t> CSoftDeviceFixture::ReadBack() const
{
    std::vector<uint32_t> frame;
    CSoftSurface* surface = nullptr;
    if (m_device == nullptr ||
        !m_device->CreateImageSurface(m_width, m_height, ESoftFormat::A8R8G8B8, &surface))
        return frame;
    if (m_device->GetBackBuffer(surface))
        frame.assign(surface->GetPixels(), surface->GetPixels() + size_t{m_width} * m_height);
    surface->Release();
    return frame;
}

CSoftTexture* CSoftDeviceFixture::MakeTexture(uint32_t width, uint32_t height,
                                              const std::vector<uint32_t>& texels) const
{
    CSoftTexture* texture = nullptr;
    if (!m_device->CreateTexture(width, height, ESoftFormat::A8R8G8B8, &texture))
        return nullptr;
    SSoftLockedRect locked;
    texture->LockRect(locked);
    for (uint32_t y = 0; y < height; ++y)
        std::memcpy(static_cast<uint8_t*>(locked.bits) + y * static_cast<uint32_t>(locked.pitch),
                    texels.data() + size_t{y} * width, width * 4);
    texture->UnlockRect();
    return texture;
}

std::vector<SSoftVertex> MakeQuad(float x0, float y0, float x1, float y1, uint32_t colour,
                                  float u0, float v0, float u1, float v1, float z)
{
    const SSoftVertex a{x0 - 0.5f, y0 - 0.5f, z, 1.0f, colour, u0, v0};
    const SSoftVertex b{x1 - 0.5f, y0 - 0.5f, z, 1.0f, colour, u1, v0};
    const SSoftVertex c{x0 - 0.5f, y1 - 0.5f, z, 1.0f, colour, u0, v1};
    const SSoftVertex d{x1 - 0.5f, y1 - 0.5f, z, 1.0f, colour, u1, v1};
    return {a, b, c, c, b, d};
}
