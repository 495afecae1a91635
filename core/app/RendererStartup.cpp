#include "core/app/RendererStartup.h"

#include "core/Console.h"
#include "core/app/Application.h"
#include "platform/Renderer.h"
#include "platform/RendererFactory.h"
#include "utility/source/QelShellPaths.h"

#include <cstdio>
#include <cstring>
#include <strings.h>
#include <sys/stat.h>

namespace
{
int s_runningKind = RENDERER_D3D8;

// The bool parser of the data trees: "true", "yes", "false" or "no".
bool ParseBoolArgument(const char* text, bool& value)
{
    while (text && (*text == ' ' || *text == '\t'))
        ++text;
    if (!text)
        return false;
    char word[8] = {};
    size_t n = 0;
    while (text[n] && text[n] != ' ' && text[n] != '\t' && n < sizeof(word) - 1)
    {
        word[n] = text[n];
        ++n;
    }
    if (strcasecmp(word, "true") == 0 || strcasecmp(word, "yes") == 0)
        value = true;
    else if (strcasecmp(word, "false") == 0 || strcasecmp(word, "no") == 0)
        value = false;
    else
        return false;
    return true;
}

template <void (CRenderer::*Show)(bool)>
void ShowCommand(void*, const char* arguments)
{
    bool show = false;
    if (g_renderer && ParseBoolArgument(arguments, show))
        (g_renderer->*Show)(show);
}

bool FileExists(const char* path)
{
    struct stat info;
    return stat(path, &info) == 0;
}
} // namespace

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

bool StartRenderer(const CDataTree* settings)
{
    int kind = ChooseRendererKind(settings);
    if (IsRendererKindAvailable(kind) && CreateRenderer(kind, settings))
    {
        s_runningKind = kind;
        return true;
    }
    int other = kind == RENDERER_D3D8 ? RENDERER_OPENGL : RENDERER_D3D8;
    if (IsRendererKindAvailable(other) && CreateRenderer(other, settings))
    {
        s_runningKind = other;
        return true;
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
}

void CloseRenderer()
{
    if (!g_renderer)
        return;
    g_renderer->Close();
    delete g_renderer;
    g_renderer = nullptr;
}
