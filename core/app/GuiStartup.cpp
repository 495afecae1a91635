#include "core/app/GuiStartup.h"

#include "core/Console.h"
#include "core/app/GuiDemo.h"
#include "core/TextRoutines.h"
#include "platform/CoreInput.h"
#include "platform/Renderer.h"
#include "platform/input/DikCodes.h"
#include "presentation/ConsoleWindow.h"
#include "presentation/GuiManager.h"
#include "world/Game.h"

#include <new>

namespace
{
constexpr const char* DEFAULT_SKIN = "defaultSkin";

bool s_consoleKeyWasDown = false;
// "constrainmouse" lives as long as the console that names it.
bool s_constrainMouse = false;

// The renderer's statistics overlays, in white in font 0 (the system font when font 0
// did not load), over the whole back buffer.
void DrawOverlayText(float x, float y, const char* text)
{
    if (!g_gui || !g_renderer)
        return;
    const SDisplaySettings& display = g_renderer->GetSettings();
    g_renderer->SetOrtho2D(0.0f, 0.0f, float(display.width), float(display.height));
    g_gui->GetFontOrSystem(0).DrawText(x, y, 0.0f, text, 0xFFFFFFFF);
}

// An edit box takes the keyboard from the game's controls while it has the focus.
void SetGameKeyboard(bool enabled)
{
    if (CGame* game = GetGame())
        game->GetControls().SetKeyboardEnabled(enabled);
}

// "/showmouse": the data trees' bool words.
void ShowMouseCommand(void*, const char* arguments)
{
    while (arguments && (*arguments == ' ' || *arguments == '\t'))
        ++arguments;
    bool show = false;
    if (g_gui && arguments && ParseBool(arguments, show))
        g_gui->ShowMouseCursor(show);
}

// The console key acts when it goes down, once per press.
void CheckConsoleKey()
{
    const bool down = g_input && g_input->IsKeyboardPresent() && g_input->IsKeyDown(Dik::GRAVE);
    if (down && !s_consoleKeyWasDown && g_console && g_gui)
        HandleConsoleKey(*g_console, *g_gui, CConsole::TOGGLE_KEY_CODE);
    s_consoleKeyWasDown = down;
}
} // namespace

bool StartGui(const char*& failure)
{
    g_gui = new (std::nothrow) CGuiManager(*g_renderer);
    if (!g_gui)
    {
        failure = "Error during startup - code 0x8000000a";
        return false;
    }
    if (!g_gui->LoadSkin(DEFAULT_SKIN))
    {
        failure = "Error during startup - code 0x8000000b";
        return false;
    }
    g_gui->SetConstrainMouseVariable(&s_constrainMouse);
    g_gui->SetKeyboardFlagHook(&SetGameKeyboard);
    g_renderer->SetTextDrawer(&DrawOverlayText);
    return true;
}

bool StartConsoleWindow()
{
    return g_gui && g_console && CreateConsoleWindow(*g_console, *g_gui);
}

void RegisterGuiConsoleCommands()
{
    if (!g_console || !g_gui)
        return;
    g_console->RegisterFunction("/showmouse", &ShowMouseCommand, nullptr);
    g_console->RegisterVariable("constrainmouse", &s_constrainMouse, CONSOLE_VAR_BOOL);
    RegisterGuiDemoCommand();
}

void HideSystemCursor()
{
    if (!g_gui)
        return;
    while (g_gui->ShowMouseCursor(false) > 0)
    {
    }
    g_gui->ShowMouseCursor(true);
    s_constrainMouse = false;
}

void StopConsoleWindow()
{
    if (g_gui && g_console)
        DestroyConsoleWindow(*g_console, *g_gui);
}

void StopGui()
{
    if (g_renderer)
        g_renderer->SetTextDrawer(nullptr);
    if (!g_gui)
        return;
    g_gui->Shutdown();
    delete g_gui;
    g_gui = nullptr;
    s_consoleKeyWasDown = false;
}

void UpdateGui(const SGuiActionInput& actions, bool keyboardOpen)
{
    if (!g_gui)
        return;
    CheckConsoleKey();
    g_gui->SetActionInput(actions);
    g_gui->StampFrameTime();
    if (keyboardOpen)
        g_gui->Update();
    g_gui->UpdateMouse();
}
