#include "core/app/RendererStartup.h"

#include "utility/source/QelPathResolve.h"

#include "core/Console.h"
#include "core/DataTree.h"
#include "core/Settings.h"
#include "core/SettingsWriter.h"
#include "core/TextRoutines.h"
#include "core/app/Application.h"
#include "platform/Renderer.h"
#include "platform/RendererFactory.h"
#include "utility/source/QelPathResolve.h"
#include "utility/source/QelShellPaths.h"

#include <cstdio>
#include <cstring>
#include <strings.h>
#include <sys/stat.h>

namespace
{
int s_runningKind = RENDERER_D3D8;

template <void (CRenderer::*Show)(bool)>
void ShowCommand(void*, const char* arguments)
{
    // The data trees' bool words: "true", "yes", "false", "no".
    while (arguments && (*arguments == ' ' || *arguments == '\t'))
        ++arguments;
    bool show = false;
    if (g_renderer && arguments && ParseBool(arguments, show))
        (g_renderer->*Show)(show);
}

bool FileExists(const char* path)
{
    struct stat info;
    return stat(ResolvePathNoCase(path).c_str(), &info) == 0;
}
} // namespace

int ChooseRendererKind(const CDataTree* settings)
{
    return SettingsChooseOpenGL(settings) ? RENDERER_OPENGL : RENDERER_D3D8;
}

bool CreateRenderer(int kind, const CDataTree* settings)
{
    delete g_renderer;
    g_renderer = MakeRenderer(kind);
    if (!g_renderer)
    {
        GetAppState().startupMessage = "Error during startup - code 0x80000002";
        if (g_console)
            g_console->Printf("%s", GetAppState().startupMessage);
        return false;
    }
    g_renderer->SetDefaultSettings();
    if (settings)
        g_renderer->ReadSettings(*settings);
    if (g_renderer->Open(TESSAVAR_WINDOW_TITLE, g_console))
        return true;
    // Once more with the defaults; the file's settings are not read again.
    g_renderer->Close();
    g_renderer->SetDefaultSettings();
    if (g_renderer->Open(TESSAVAR_WINDOW_TITLE, g_console))
        return true;
    g_renderer->Close();
    return false;
}

namespace
{
const char* GetRendererKindName(int kind)
{
    return kind == RENDERER_OPENGL ? "OpenGL" : "software";
}

// Which renderer runs, and whether it is the one the settings asked for.
void LogRunningRenderer(int wanted)
{
    if (!g_console)
        return;
    if (s_runningKind == wanted)
        g_console->Printf("Renderer: %s", GetRendererKindName(s_runningKind));
    else
        g_console->Printf("Renderer: %s (the %s renderer could not start)", GetRendererKindName(s_runningKind),
                          GetRendererKindName(wanted));
}
} // namespace

bool StartRenderer(const CDataTree* settings)
{
    int kind = ChooseRendererKind(settings);
    int other = kind == RENDERER_D3D8 ? RENDERER_OPENGL : RENDERER_D3D8;
    for (int tried : {kind, other})
    {
        if (IsRendererKindAvailable(tried) && CreateRenderer(tried, settings))
        {
            s_runningKind = tried;
            LogRunningRenderer(kind);
            return true;
        }
    }
    return false;
}

int GetRunningRendererKind()
{
    return s_runningKind;
}

void DrawEmptyFrame()
{
    g_renderer->BeginScene();
    g_renderer->EndScene();
}

void ClearBothBuffers()
{
    const SDisplaySettings& display = g_renderer->GetSettings();
    for (int i = 0; i < 2; ++i)
    {
        g_renderer->BeginScene();
        if (!g_renderer->CanDraw())
            return;
        g_renderer->DrawRectF(0.0f, 0.0f, float(display.width), float(display.height), 0.0f, 0.0f, 0.0f, 1.0f, false);
        g_renderer->EndScene();
    }
}

bool SaveScreenshot()
{
    char documents[260];
    if (!g_renderer || !GetDocumentsFolder(documents, sizeof(documents)))
        return false;
    char path[600];
    for (unsigned n = 0; n < 100000; ++n)
    {
        std::snprintf(path, sizeof(path), "%s/tessavar/screengrabs/Tessavar_%05u.tga", documents, n);
        if (!FileExists(path))
            return g_renderer->SaveScreenshot(path);
    }
    return false;
}

void RegisterRendererConsoleCommands()
{
    if (!g_console || !g_renderer)
        return;
    g_console->RegisterFunction("/showtiming", &ShowCommand<&CRenderer::ShowTiming>, nullptr);
    g_console->RegisterFunction("/showpolycount", &ShowCommand<&CRenderer::ShowPolyCount>, nullptr);
    g_console->RegisterFunction("/showtextureusage", &ShowCommand<&CRenderer::ShowTextureUsage>, nullptr);
    g_console->RegisterFunction("/showperframetextureusage", &ShowCommand<&CRenderer::ShowPerFrameTextureUsage>,
                                nullptr);
    // It points into the renderer, so it goes with the renderer.
    g_renderer->GetConsoleEntries().AddVariable(g_console, "textureusage", g_renderer->GetTextureUsageCounter(),
                                                CONSOLE_VAR_UINT);
}

void AddRendererSettings(CDataTree& tree)
{
    tree.AddString("r_renderer", s_runningKind == RENDERER_OPENGL ? "ogl" : "d3d");
    if (g_renderer)
    {
        CSettingsWriter writer;
        g_renderer->WriteSettings(writer, tree);
    }
}

void CloseRenderer()
{
    if (!g_renderer)
        return;
    g_renderer->Close();
    delete g_renderer;
    g_renderer = nullptr;
}
