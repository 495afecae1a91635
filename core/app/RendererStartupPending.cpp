// Until the input device is in the build: no F11.
#include "core/app/RendererStartup.h"
bool IsScreenshotKeyHeld()
{
    return false;
}
