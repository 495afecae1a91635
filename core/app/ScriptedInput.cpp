#include "core/app/ScriptedInput.h"

#include "core/RealTimeClock.h"
#include "platform/InputScript.h"
#include "platform/Renderer.h"

#include <cstdlib>
#include <cstring>

namespace
{
CInputScript s_script;
// Starts well clear of 0, which some timers take for "not running".
constexpr uint32_t FIXED_CLOCK_START_MS = 100000;
CManualClock s_fixedClock;
} // namespace

void InstallFixedClock()
{
    const char* text = std::getenv("TESSAVAR_FIXED_CLOCK");
    if (!text || !*text || std::strcmp(text, "0") == 0)
        return;
    s_fixedClock.Set(FIXED_CLOCK_START_MS);
    SetRealTimeClock(&s_fixedClock);
}

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
