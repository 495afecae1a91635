#include "platform/MessageBox.h"

#include "platform/SdlVideo.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

bool CanShowWindows()
{
    if (std::getenv("TESSAVAR_DIALOGS"))
        return false;
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0))
        return false;
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

void ShowMessageBox(const char* caption, const char* text, EMessageIcon icon)
{
    std::fprintf(stderr, "%s: %s\n", caption, text);
    std::fflush(stderr);
    if (!CanShowWindows())
        return;
    ApplySdlProcessHints();
    Uint32 flags = icon == EMessageIcon::Error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    SDL_ShowSimpleMessageBox(flags, caption, text, nullptr);
}
