#include "core/app/InputStartup.h"

#include "core/DataTree.h"
#include "core/app/Application.h"
#include "platform/CoreInput.h"
#include "platform/CoreInputFactory.h"
#include "platform/Renderer.h"
#include "platform/input/DikCodes.h"

#include <memory>

namespace
{
// The input settings survive a display reset, which deletes and remakes the device.
std::unique_ptr<CDataTree> s_savedSettings;

bool MakeInput(const CDataTree* settings, const char** message)
{
    g_input = CreateInputDevice(GetAppState().forceDi5, nullptr, message);
    if (!g_input)
        return false;
    if (settings)
        g_input->ReadSettings(const_cast<CDataTree*>(settings));
    return true;
}

void DestroyForReset()
{
    if (!g_input)
        return;
    s_savedSettings = std::make_unique<CDataTree>();
    g_input->WriteSettings(s_savedSettings.get());
    StopInput();
}

bool CreateAfterReset()
{
    const char* message = nullptr;
    bool made = MakeInput(s_savedSettings.get(), &message);
    s_savedSettings.reset();
    return made;
}
} // namespace

bool StartInput(const CDataTree* settings)
{
    SAppState& state = GetAppState();
    bool forceDi5 = false;
    if (settings)
        settings->GetBool("i_forcedi5", forceDi5);
    state.forceDi5 = forceDi5;
    const char* message = nullptr;
    if (!MakeInput(settings, &message))
    {
        state.startupMessage = message;
        state.startupFailed = true;
        return false;
    }
    if (g_renderer)
        g_renderer->SetInputDeviceHooks(SInputDeviceHooks {&DestroyForReset, &CreateAfterReset});
    return true;
}

void StopInput()
{
    delete g_input;
    g_input = nullptr;
}

bool IsScreenshotKeyHeld()
{
    return g_input && g_input->IsKeyboardPresent() && g_input->IsKeyDown(Dik::F11);
}
