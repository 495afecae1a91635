#pragma once
// The device's few contacts with SDL: the video subsystem, the desktop mode, and showing a
// frame in a window. Windows are passed as opaque SDL_Window pointers.

#include "platform/SdlVideo.h"
#include "platform/d3d8/SoftD3DTypes.h"

#include <cstdint>

bool GetSdlDesktopMode(SSoftDisplayMode& mode);
bool IsSdlWindowMinimized(void* window);
// Shows width x height 0xAARRGGBB pixels in the window, scaled to fit with the aspect kept
// and black bars around.
bool PresentToSdlWindow(void* window, const uint32_t* pixels, int width, int height);
