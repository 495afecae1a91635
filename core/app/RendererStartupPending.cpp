// Until the data tree and the input device are in the build: kind 0, and no F11.
#include "core/app/RendererStartup.h"
#include "platform/RendererFactory.h"
int ChooseRendererKind(const CDataTree*)
{
    return RENDERER_D3D8;
}
bool IsScreenshotKeyHeld()
{
    return false;
}
