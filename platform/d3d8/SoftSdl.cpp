#include "platform/d3d8/SoftSdl.h"

#include "platform/GameWindow.h"

#include <SDL.h>

#include <algorithm>

bool GetSdlDesktopMode(SSoftDisplayMode& mode)
{
    SDL_DisplayMode desktop;
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0)
        return false;
    mode.width = static_cast<uint32_t>(desktop.w);
    mode.height = static_cast<uint32_t>(desktop.h);
    mode.refreshRate = static_cast<uint32_t>(desktop.refresh_rate);
    switch (desktop.format)
    {
    case SDL_PIXELFORMAT_RGB565:
        mode.format = ESoftFormat::R5G6B5;
        break;
    case SDL_PIXELFORMAT_RGB555:
        mode.format = ESoftFormat::X1R5G5B5;
        break;
    case SDL_PIXELFORMAT_ARGB1555:
        mode.format = ESoftFormat::A1R5G5B5;
        break;
    case SDL_PIXELFORMAT_ARGB8888:
        mode.format = ESoftFormat::A8R8G8B8;
        break;
    default:
    {
        const int bits = static_cast<int>(SDL_BITSPERPIXEL(desktop.format));
        if (bits == 24 && SDL_BYTESPERPIXEL(desktop.format) == 3)
            mode.format = ESoftFormat::R8G8B8;
        else if (bits <= 8)
            mode.format = ESoftFormat::P8;
        else if (bits == 16 || bits == 15)
            mode.format = ESoftFormat::R5G6B5;
        else
            mode.format = ESoftFormat::X8R8G8B8;
        break;
    }
    }
    return true;
}

bool IsSdlWindowMinimized(void* window)
{
    return window != nullptr &&
           (SDL_GetWindowFlags(static_cast<SDL_Window*>(window)) & SDL_WINDOW_MINIMIZED) != 0;
}

namespace
{
// The window surface's format when it lays out 32-bit pixels as our 0xAARRGGBB words do
// (alpha, if any, ignored): the frame is then taken as that format and copied or
// stretched without a conversion per pixel. Else the frame is converted.
Uint32 GetFrameFormat(const SDL_Surface& screen)
{
    const SDL_PixelFormat& format = *screen.format;
    if (format.BytesPerPixel == 4 && format.Rmask == 0x00FF0000u && format.Gmask == 0x0000FF00u &&
        format.Bmask == 0x000000FFu)
        return format.format;
    return SDL_PIXELFORMAT_ARGB8888;
}

// The bars around the letterbox, black.
void FillBars(SDL_Surface& screen, const SDL_Rect& box)
{
    const Uint32 black = SDL_MapRGB(screen.format, 0, 0, 0);
    const SDL_Rect bars[4] = {
        {0, 0, screen.w, box.y},
        {0, box.y + box.h, screen.w, screen.h - box.y - box.h},
        {0, box.y, box.x, box.h},
        {box.x + box.w, box.y, screen.w - box.x - box.w, box.h},
    };
    for (const SDL_Rect& bar : bars)
        if (bar.w > 0 && bar.h > 0)
            SDL_FillRect(&screen, &bar, black);
}
} // namespace

bool PresentToSdlWindow(void* window, const uint32_t* pixels, int width, int height)
{
    // The window surface is plain memory that SDL hands to the display (the program asks
    // SDL not to back it with OpenGL: on a machine without a graphics card that would
    // send every frame through a software OpenGL driver).
    SDL_Window* sdlWindow = static_cast<SDL_Window*>(window);
    SDL_Surface* screen = SDL_GetWindowSurface(sdlWindow);
    if (screen == nullptr)
        return false;
    SDL_Surface* frame = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(pixels), width, height, 32,
                                                            width * 4, GetFrameFormat(*screen));
    if (frame == nullptr)
        return false;
    SDL_SetSurfaceBlendMode(frame, SDL_BLENDMODE_NONE);
    bool ok;
    if (screen->w == width && screen->h == height)
    {
        ok = SDL_BlitSurface(frame, nullptr, screen, nullptr) == 0;
    }
    else
    {
        // Scale to fit, keeping the aspect; the bars are black. The same box maps the
        // mouse back to buffer pixels, so the two never differ by a pixel.
        const SLetterbox box = ComputeLetterbox(screen->w, screen->h, width, height);
        SDL_Rect rect;
        rect.w = std::max(1, box.width);
        rect.h = std::max(1, box.height);
        rect.x = box.x;
        rect.y = box.y;
        FillBars(*screen, rect);
        ok = SDL_BlitScaled(frame, nullptr, screen, &rect) == 0;
    }
    SDL_FreeSurface(frame);
    return SDL_UpdateWindowSurface(sdlWindow) == 0 && ok;
}
