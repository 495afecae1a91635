#include "core/app/ScriptedInput.h"

#include "platform/InputScript.h"
#include "platform/Renderer.h"

namespace
{
CInputScript s_script;
} // namespace

bool LoadInputScript()
{
    return s_script.LoadFromEnvironment();
}

void PostScriptedInput(uint32_t frame)
{
    if (s_script.IsEmpty() || !g_renderer)
        return;
    void* window = nullptr;
    g_renderer->GetWindowHandle(&window);
    const SDisplaySettings& display = g_renderer->GetSettings();
    s_script.PostFrame(frame, window, display.width, display.height);
}
