#include "platform/SdlVideo.h"

#include <SDL.h>

void ApplySdlProcessHints()
{
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
}

bool AcquireSdlVideo()
{
    ApplySdlProcessHints();
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

void ReleaseSdlVideo()
{
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
