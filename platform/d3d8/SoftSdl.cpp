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

bool PresentToSdlWindow(void* window, const uint32_t* pixels, int width, int height)
{
    SDL_Window* sdlWindow = static_cast<SDL_Window*>(window);
    SDL_Surface* screen = SDL_GetWindowSurface(sdlWindow);
    if (screen == nullptr)
        return false;
    SDL_Surface* frame = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint32_t*>(pixels), width, height, 32, width * 4, SDL_PIXELFORMAT_ARGB8888);
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
        SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 0, 0, 0));
        ok = SDL_BlitScaled(frame, nullptr, screen, &rect) == 0;
    }
    SDL_FreeSurface(frame);
    return SDL_UpdateWindowSurface(sdlWindow) == 0 && ok;
}
