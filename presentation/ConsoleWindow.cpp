#include "presentation/ConsoleWindow.h"

#include "core/Console.h"
#include "platform/InputRing.h"
#include "platform/Renderer.h"
#include "presentation/GuiManager.h"
#include "presentation/GuiWindow.h"

#include <cstdio>

namespace
{
constexpr uint32_t WHITE = 0xFFFFFFFF;

// The lines, oldest first, from the top; the input line and its cursor at the bottom.
// The lines are finished text: they are drawn as they are, never as a format.
void DrawConsole(CGuiWindow& window, float z, void* user)
{
    CConsole& console = *static_cast<CConsole*>(user);
    CGuiManager* gui = window.GetManager();
    if (!gui)
        return;
    CRenderer& renderer = gui->GetRenderer();
    const SGuiRect rect = window.GetScreenRect();
    // A dark veil keeps the text readable over whatever is behind.
    const float sx = renderer.GetVirtualScaleX(), sy = renderer.GetVirtualScaleY();
    renderer.DrawRectF(float(rect.x) * sx, float(rect.y) * sy, float(rect.w) * sx, float(rect.h) * sy, 0.0f, 0.0f,
                       0.0f, 0.6f, true);
    CFont& font = gui->GetSystemFont();
    for (int i = 0; i < console.GetLineCount(); ++i)
        font.DrawText(float(rect.x), float(rect.y + i * CONSOLE_LINE_STEP), z, console.GetLine(i), WHITE);
    char input[CConsole::INPUT_SIZE + 1];
    std::snprintf(input, sizeof(input), "%s%c", console.GetInputLine(), CONSOLE_CURSOR_CODE);
    font.DrawText(float(rect.x), float(rect.y + rect.h - CONSOLE_LINE_STEP), z, input, WHITE);
}

// Typed characters only: the pressed keys of the ring carry a bit above them.
void TypeIntoConsole(CGuiWindow&, void* user, uint32_t code)
{
    if (code < KEY_RING_PRESSED_KEY)
        static_cast<CConsole*>(user)->KeyChar(int(code));
}

// The window went with the others (a screen change closes every control): the
// console forgets it and closes.
void ForgetConsoleWindow(CGuiWindow&, void* user)
{
    CConsole& console = *static_cast<CConsole*>(user);
    console.SetWindowHandle(-1);
    console.SetOpen(false);
}
} // namespace

bool CreateConsoleWindow(CConsole& console, CGuiManager& gui)
{
    SGuiWindowDesc desc;
    desc.w = CONSOLE_WINDOW_WIDTH;
    desc.h = CONSOLE_WINDOW_HEIGHT;
    desc.caption = "Console";
    desc.drawCallback = &DrawConsole;
    desc.closeCallback = &ForgetConsoleWindow;
    desc.callbackUser = &console;
    int handle = -1;
    if (!gui.CreateWindowControl(desc, handle))
        return false;
    CGuiWindow* window = gui.GetWindow(handle);
    window->SetVisible(false);
    window->SetCharCallback(&TypeIntoConsole, &console);
    gui.AddWindowToLayer(handle, CGuiManager::LAYER_COUNT - 1);
    console.SetWindowHandle(handle);
    return true;
}

void DestroyConsoleWindow(CConsole& console, CGuiManager& gui)
{
    int handle = console.GetWindowHandle();
    if (handle < 0)
        return;
    if (gui.GetWindow(handle))
        gui.CloseControl(handle);
    console.SetWindowHandle(-1);
}

void SetConsoleOpen(CConsole& console, CGuiManager& gui, bool open)
{
    if (open && !gui.GetWindow(console.GetWindowHandle()) && !CreateConsoleWindow(console, gui))
    {
        console.SetOpen(false);
        return;
    }
    console.SetOpen(open);
    const int handle = console.GetWindowHandle();
    CGuiWindow* window = gui.GetWindow(handle);
    if (!window)
        return;
    if (open)
    {
        window->SetVisible(true);
        gui.BringWindowToFront(handle);
        gui.SetFocus(handle);
    }
    else
        window->SetVisible(false);
}

bool HandleConsoleKey(CConsole& console, CGuiManager& gui, uint32_t keyCode)
{
    if (!console.OnKeyPressed(keyCode))
        return false;
    SetConsoleOpen(console, gui, console.IsOpen());
    return true;
}
