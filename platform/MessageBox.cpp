#include "platform/MessageBox.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
// A box is shown only where a person can see and close it.
bool CanShowBox()
{
    if (std::getenv("TESSAVAR_DIALOGS"))
        return false;
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    if (driver && (std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0))
        return false;
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}
} // namespace

void ShowMessageBox(const char* caption, const char* text, EMessageIcon icon)
{
    std::fprintf(stderr, "%s: %s\n", caption, text);
    std::fflush(stderr);
    if (!CanShowBox())
        return;
    Uint32 flags = icon == EMessageIcon::Error ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    SDL_ShowSimpleMessageBox(flags, caption, text, nullptr);
}
