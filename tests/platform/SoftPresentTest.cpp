#include "platform/GameWindow.h"
#include "platform/d3d8/SoftSdl.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace
{
// The offscreen driver: like a display without a graphics card, SDL would back its window
// surfaces with OpenGL (Mesa's software driver) unless told not to.
class SoftPresent : public ::testing::Test
{
protected:
    void SetUp() override { setenv("SDL_VIDEODRIVER", "offscreen", 1); }

    static uint32_t Pixel(SDL_Surface* surface, int x, int y)
    {
        const uint8_t* row = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch;
        uint32_t value;
        std::memcpy(&value, row + x * 4, 4);
        return value & 0x00FFFFFFu;
    }
};

// Quarters of four colours; 0xAARRGGBB.
std::vector<uint32_t> MakeQuarters(int width, int height)
{
    const uint32_t colours[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu};
    std::vector<uint32_t> pixels(size_t(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[size_t(y) * width + x] = colours[(y >= height / 2 ? 2 : 0) + (x >= width / 2 ? 1 : 0)];
    return pixels;
}

bool IsOpenGlDriverLoaded()
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line))
        for (const char* piece : {"_dri.so", "libgallium", "libGLX_mesa", "libEGL_mesa", "libLLVM"})
            if (line.find(piece) != std::string::npos)
                return true;
    return false;
}

TEST_F(SoftPresent, FrameOfTheWindowSizeIsCopiedAsItIs)
{
    CGameWindow window;
    ASSERT_TRUE(window.Create("present", 64, 48, false, false, nullptr, nullptr));
    std::vector<uint32_t> pixels = MakeQuarters(64, 48);
    pixels[5 * 64 + 7] = 0xFF123456u;
    ASSERT_TRUE(PresentToSdlWindow(window.GetNativeHandle(), pixels.data(), 64, 48));
    SDL_Surface* surface = SDL_GetWindowSurface(static_cast<SDL_Window*>(window.GetNativeHandle()));
    ASSERT_NE(surface, nullptr);
    ASSERT_EQ(surface->w, 64);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(Pixel(surface, x, y), pixels[size_t(y) * 64 + x] & 0x00FFFFFFu) << x << ", " << y;
    EXPECT_FALSE(IsOpenGlDriverLoaded());
}

TEST_F(SoftPresent, LargerWindowShowsTheFrameScaledBetweenBlackBars)
{
    // 320 x 240 in 400 x 400: scaled by 1.25 to 400 x 300 from row 50, bars of 50 rows.
    CGameWindow window;
    ASSERT_TRUE(window.Create("present", 400, 400, false, false, nullptr, nullptr));
    const std::vector<uint32_t> pixels = MakeQuarters(320, 240);
    // Twice: the second frame lands on the first one's bars and picture.
    for (int frame = 0; frame < 2; ++frame)
        ASSERT_TRUE(PresentToSdlWindow(window.GetNativeHandle(), pixels.data(), 320, 240));
    SDL_Surface* surface = SDL_GetWindowSurface(static_cast<SDL_Window*>(window.GetNativeHandle()));
    ASSERT_NE(surface, nullptr);
    ASSERT_EQ(surface->h, 400);
    for (int x : {0, 199, 399})
    {
        EXPECT_EQ(Pixel(surface, x, 0), 0u);
        EXPECT_EQ(Pixel(surface, x, 49), 0u);
        EXPECT_EQ(Pixel(surface, x, 350), 0u);
        EXPECT_EQ(Pixel(surface, x, 399), 0u);
    }
    // Each quarter's colour well inside its scaled area (200 x 150 pixels).
    EXPECT_EQ(Pixel(surface, 2, 52), 0xFF0000u);
    EXPECT_EQ(Pixel(surface, 190, 190), 0xFF0000u);
    EXPECT_EQ(Pixel(surface, 210, 60), 0x00FF00u);
    EXPECT_EQ(Pixel(surface, 397, 195), 0x00FF00u);
    EXPECT_EQ(Pixel(surface, 5, 210), 0x0000FFu);
    EXPECT_EQ(Pixel(surface, 195, 347), 0x0000FFu);
    EXPECT_EQ(Pixel(surface, 205, 205), 0xFFFFFFu);
    EXPECT_EQ(Pixel(surface, 398, 348), 0xFFFFFFu);
    EXPECT_FALSE(IsOpenGlDriverLoaded());
}
} // namespace
