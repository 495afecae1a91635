#include "platform/SdlVideo.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>

void ApplySdlProcessHints()
{
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
}

bool AcquireSdlVideo()
{
    ApplySdlProcessHints();
    // Without a Wayland display SDL would still try to reach one after X, and the
    // Wayland library writes its complaint about XDG_RUNTIME_DIR to standard error at
    // every try. Drivers named by SDL_VIDEODRIVER are left as asked.
    if (!std::getenv("SDL_VIDEODRIVER") && !std::getenv("WAYLAND_DISPLAY"))
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,kmsdrm");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0)
        return true;
    TellNoDisplay();
    return false;
}

void TellNoDisplay()
{
    static bool s_told = false;
    if (!s_told)
        std::fprintf(stderr, "No display to show the game window on (set DISPLAY, or SDL_VIDEODRIVER for a run "
                             "without one)\n");
    s_told = true;
}

void ReleaseSdlVideo()
{
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
