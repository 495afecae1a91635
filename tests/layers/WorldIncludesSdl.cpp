// A world file that reaches for SDL: it must not build (see CMakeLists.txt here).
#if SDL_INCLUDE_FORM == 1
#include <SDL.h>
#elif SDL_INCLUDE_FORM == 2
#include <SDL2/SDL.h>
#else
#include <SDL_events.h>
#endif
