#include "tests/support/platform/TestWindow.h"

#include "platform/Renderer.h"

bool OpenTestWindow(CRenderer& renderer)
{
    renderer.SetDefaultSettings();
    SDisplaySettings& settings = const_cast<SDisplaySettings&>(renderer.GetSettings());
    settings.fullScreen = false;
    settings.width = 640;
    settings.height = 480;
    renderer.GetPendingSettings() = settings;
    return renderer.Open("Tessavar", nullptr);
}
