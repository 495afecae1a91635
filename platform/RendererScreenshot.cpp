#include "platform/Renderer.h"
#include "platform/Tga.h"

#include <algorithm>
#include <cstring>

namespace
{
const char* const STAMP_FILE = "data\\targas\\ShotAd.tga";
}

void CRenderer::LoadScreenshotStamp()
{
    FreeScreenshotStamp();
    STgaImage image;
    if (!LoadTga(STAMP_FILE, image)) // no stamp: screenshots are written without one
        return;
    const size_t count = size_t(image.width) * size_t(image.height);
    m_stampInverseAlpha.resize(count);
    m_stampBlue.resize(count);
    m_stampGreen.resize(count);
    m_stampRed.resize(count);
    for (size_t i = 0; i < count; ++i)
    {
        const uint8_t* p = &image.pixels[i * 4];
        unsigned a = p[3];
        m_stampInverseAlpha[i] = uint8_t(255 - a);
        m_stampBlue[i] = uint8_t(p[0] * a / 256);
        m_stampGreen[i] = uint8_t(p[1] * a / 256);
        m_stampRed[i] = uint8_t(p[2] * a / 256);
    }
    m_stampWidth = image.width;
    m_stampHeight = image.height;
}

void CRenderer::FreeScreenshotStamp()
{
    m_stampWidth = m_stampHeight = 0;
    m_stampInverseAlpha.clear();
    m_stampBlue.clear();
    m_stampGreen.clear();
    m_stampRed.clear();
}

void CRenderer::BlendStamp(std::vector<uint8_t>& pixels, int width, int height) const
{
    // Upright in the bottom-left corner, cut to the screen when the stamp is larger.
    const int rows = std::min(m_stampHeight, height);
    const int columns = std::min(m_stampWidth, width);
    for (int i = 0; i < rows; ++i)
    {
        const size_t stampRow = size_t(m_stampHeight - 1 - i) * size_t(m_stampWidth);
        uint8_t* out = &pixels[size_t(i) * size_t(width) * 4];
        for (int x = 0; x < columns; ++x, out += 4)
        {
            const size_t s = stampRow + size_t(x);
            const unsigned ia = m_stampInverseAlpha[s];
            out[0] = uint8_t(out[0] * ia / 256 + m_stampBlue[s]);
            out[1] = uint8_t(out[1] * ia / 256 + m_stampGreen[s]);
            out[2] = uint8_t(out[2] * ia / 256 + m_stampRed[s]);
            out[3] = 255;
        }
    }
}

bool CRenderer::SaveScreenshot(const char* fileName)
{
    if (!fileName)
        return false;
    std::vector<uint8_t> pixels;
    int width = 0, height = 0;
    if (!ApiReadFrame(pixels, width, height) || width <= 0 || height <= 0 ||
        pixels.size() < size_t(width) * size_t(height) * 4)
    {
        PrintToConsole("Screenshot failed: the frame could not be read");
        return false;
    }
    BlendStamp(pixels, width, height);
    // The file holds the top row first.
    const size_t rowBytes = size_t(width) * 4;
    std::vector<uint8_t> topDown(rowBytes * size_t(height));
    for (int y = 0; y < height; ++y)
        std::memcpy(&topDown[size_t(y) * rowBytes], &pixels[size_t(height - 1 - y) * rowBytes], rowBytes);
    if (!SaveTga32(fileName, width, height, topDown.data()))
    {
        PrintToConsole("Screenshot failed: cannot write %s", fileName);
        return false;
    }
    PrintToConsole("Screenshot written successfully");
    return true;
}
