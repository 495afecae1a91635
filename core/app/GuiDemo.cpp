#include "core/app/GuiDemo.h"

#include "core/Console.h"
#include "presentation/GuiManager.h"
#include "presentation/GuiWindow.h"

#include <vector>

namespace
{
constexpr const char* DEMO_LAYOUT = "data/gui/layouts/demo.txt";
// The value the demonstration's events carry.
constexpr int32_t DEMO_OWNER = 0x44454D4F;

// The demonstration's first window while it is open, by handle and generation.
int s_window = -1;
uint32_t s_generation = 0;

bool IsOpen()
{
    return g_gui && g_gui->GetWindow(s_window) && g_gui->GetHandleGeneration(s_window) == s_generation;
}

void GuiDemoCommand(void*, const char*)
{
    if (!g_gui)
        return;
    if (IsOpen())
    {
        g_gui->CloseControl(s_window);
        s_window = -1;
        return;
    }
    std::vector<int> handles;
    if (!g_gui->LoadLayout(DEMO_LAYOUT, DEMO_OWNER, &handles) || handles.empty())
        return;
    for (int handle : handles)
        if (CGuiWindow* window = g_gui->GetWindow(handle))
            if (!window->GetParent())
                window->SetVisible(true);
    // The focus stays with the console that ran the command; the pointer's hover
    // gives it to a control.
    s_window = handles.front();
    s_generation = g_gui->GetHandleGeneration(s_window);
}
} // namespace

void RegisterGuiDemoCommand()
{
    if (g_console)
        g_console->RegisterFunction("/guidemo", &GuiDemoCommand, nullptr);
}
