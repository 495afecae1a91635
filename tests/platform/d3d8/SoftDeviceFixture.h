#pragma once
// A headless device for tests, and reading its back buffer.

#include "platform/d3d8/SoftD3DDevice.h"

#include <cstdint>
#include <vector>

class CSoftDeviceFixture
{
public:
    explicit CSoftDeviceFixture(uint32_t width = 16, uint32_t height = 16,
                                ESoftFormat depth = ESoftFormat::D16,
                                ESoftFormat format = ESoftFormat::X8R8G8B8);
    ~CSoftDeviceFixture();
    CSoftDeviceFixture(const CSoftDeviceFixture&) = delete;
    CSoftDeviceFixture& operator=(const CSoftDeviceFixture&) = delete;

    CSoftD3DDevice* Device() const { return m_device; }
    // The back buffer, top row first.
    std::vector<uint32_t> ReadBack() const;
    uint32_t Pixel(const std::vector<uint32_t>& frame, uint32_t x, uint32_t y) const
    {
        return frame[y * m_width + x];
    }
    // A texture of the given 0xAARRGGBB texels, stored as A8R8G8B8.
    CSoftTexture* MakeTexture(uint32_t width, uint32_t height, const std::vector<uint32_t>& texels) const;

    uint32_t Width() const { return m_width; }
    uint32_t Height() const { return m_height; }

private:
    uint32_t m_width;
    uint32_t m_height;
    CSoftD3D* m_d3d = nullptr;
    CSoftD3DDevice* m_device = nullptr;
};

// Two triangles of a rectangle given by its pixel edges, shifted by -0.5 to pixel centres.
std::vector<SSoftVertex> MakeQuad(float x0, float y0, float x1, float y1, uint32_t colour,
                                  float u0 = 0, float v0 = 0, float u1 = 1, float v1 = 1,
                                  float z = 0);
