#include "core/app/Application.h"

#include "core/Clock.h"
#include "core/Console.h"
#include "core/app/CommandLine.h"
#include "core/app/FrameTrace.h"
#include "core/app/GuiStartup.h"
#include "core/app/InputStartup.h"
#include "core/app/RendererStartup.h"
#include "core/app/ScriptedInput.h"
#include "core/app/SpriteBankStartup.h"
#include "core/app/StartupSteps.h"
#include "core/app/TextPageStartup.h"
#include "platform/AudioSystem.h"
#include "platform/CoreInput.h"
#include "platform/GameWindow.h"
#include "platform/MessageBox.h"
#include "platform/Renderer.h"
#include "presentation/GuiTypes.h"
#include "world/DirectorLink.h"
#include "world/EffectCache.h"
#include "world/Game.h"
#include "world/GameFlowLink.h"
#include "world/GuiActions.h"
#include "world/HudLink.h"
#include "utility/source/QelFile.h"
#include "utility/source/QelPathResolve.h"
#include "utility/source/QelShellPaths.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
SAppState s_state;
CStartupSequence s_startup;

// The program folder is where the executable lives, whatever the current folder
// or argv[0] say; every relative data path starts there.
bool EnterProgramFolder()
{
    char exe[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", exe, sizeof(exe) - 1);
    if (length <= 0)
        return false;
    exe[length] = '\0';
    std::string folder(exe);
    size_t slash = folder.rfind('/');
    if (slash == std::string::npos)
        return false;
    folder.resize(slash == 0 ? 1 : slash);
    return SetCurrentFolder(folder.c_str());
}

void ShowVersion()
{
    std::string text = std::string("Tessavar ") + TESSAVAR_VERSION;
    std::printf("%s\n", text.c_str());
    std::fflush(stdout);
    ShowMessageBox("Tessavar Version", text.c_str(), EMessageIcon::Information);
}

// The user folders, in this order, each created when missing (one level, errors
// ignored). "Tessavar" and "tessavar" name the same folder. The base itself (say
// ~/.local/share on a fresh account) may be missing too: without it nothing of the
// player's could ever be written.
void CreateUserFolders()
{
    char documents[260];
    if (!GetDocumentsFolder(documents, sizeof(documents)))
    {
        std::fprintf(stderr, "No user folder could be found; set TESSAVAR_HOME\n");
        return;
    }
    if (!CreateFolderTreeNoCase(documents))
        std::fprintf(stderr, "The user folder %s could not be made\n", documents);
    for (const char* folder : {"/Tessavar", "/tessavar/screengrabs", "/tessavar/data", "/tessavar/data/saves"})
        CreateFolderNoCase(std::string(documents) + folder);
}

// The settings file may have been made read-only; it is rewritten at shutdown.
void ClearSettingsReadOnly()
{
    char path[600];
    if (GetUserPath("Tessavar.cfg", path, sizeof(path)))
    {
        struct stat info;
        if (stat(path, &info) == 0)
            chmod(path, info.st_mode | S_IWUSR);
    }
}

uint32_t ReadFrameLimit()
{
    const char* text = std::getenv("TESSAVAR_FRAMES");
    if (!text || !*text)
        return 0;
    char* end = nullptr;
    unsigned long value = std::strtoul(text, &end, 10);
    return (*end == '\0' && value <= UINT32_MAX) ? static_cast<uint32_t>(value) : 0;
}

// TESSAVAR_SHOT: the last frame of an automated run, for checking what it showed.
void SaveRequestedShot()
{
    const char* path = std::getenv("TESSAVAR_SHOT");
    if (path && *path && g_renderer && !g_renderer->SaveScreenshot(path))
        std::fprintf(stderr, "Could not write the screenshot %s\n", path);
}

constexpr const char* FAILURE_CAPTION = "Tessavar Initialisation Failure";
} // namespace

void QuitCommand(void*, const char*)
{
    s_state.quit = true;
}

SAppState& GetAppState()
{
    return s_state;
}

bool GetUserPath(const char* name, char* buffer, unsigned bufferSize)
{
    char documents[260];
    if (!GetDocumentsFolder(documents, sizeof(documents)))
        return false;
    std::string path = ResolvePathNoCase(std::string(documents) + "/tessavar/" + name);
    if (path.size() + 1 > bufferSize)
        return false;
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return true;
}

EStepResult FailStartup(const char* message, bool onConsole, const char* caption)
{
    s_state.startupFailed = true;
    s_state.startupMessage = message;
    s_state.startupMessageOnConsole = onConsole;
    s_state.startupCaption = caption;
    return EStepResult::Failed;
}

CStartupSequence& GetStartupSequence()
{
    return s_startup;
}

bool InitApplication()
{
    size_t count = 0;
    const SStartupStep* steps = GetStartupSteps(count);
    EStepResult result = s_startup.Run(steps, count);
    if (result == EStepResult::Continue)
    {
        s_state.frameLimit = ReadFrameLimit();
        PostScriptedInput(0);
        return true;
    }
    if (result == EStepResult::Failed)
    {
        if (*s_startup.GetOwnFailure())
            FailStartup(s_startup.GetOwnFailure());
        if (!s_state.startupMessage)
            s_state.startupMessage = "Unspecified error during startup";
        if (s_state.startupMessageOnConsole && g_console)
            g_console->Printf("%s", s_state.startupMessage);
    }
    s_startup.TearDown(ETeardownReason::StartupEnded);
    if (result == EStepResult::Failed)
        ShowMessageBox(s_state.startupCaption ? s_state.startupCaption : FAILURE_CAPTION, s_state.startupMessage,
                       EMessageIcon::Error);
    return false;
}

// One frame, in this order. The game's steps are CGame's: its frame start and end
// (pacing and the game clock), the controls, and CGame::UpdateFrame, which runs the
// world, camera and HUD by the game flow's mode.
bool RunFrame()
{
    CGame* game = GetGame();

    // The quit flag first.
    if (s_state.quit)
        return false;

    // Sounds let go by their emitters fade on.
    if (game)
        game->UpdateFadingSounds();

    // The control word is set again every frame.
    SetFpuControlWord();

    // Volumes are applied again every frame.
    if (g_audio)
        g_audio->ApplyVolumes();

    // The frame's start, for pacing.
    if (game)
        game->BeginFrame();

    // Frame statistics.
    g_renderer->Tick();

    // Keyboard, mouse and game controllers.
    g_input->Poll();

    // Channels whose sound is over end here.
    if (g_audio)
        g_audio->Update();

    // The GUI: its time stamp, keyboard and pointer; the console key opens and closes
    // the console.
    // The GUI's keyboard rests while the director's gate for it is closed (a covering
    // sequence); it takes the actions of the last poll of the controls.
    if (game)
        UpdateGui(GetGuiActions(game->GetControls()), game->GetDirector().IsGateOpen(GATE_GUI_KEYBOARD));
    else
        UpdateGui(SGuiActionInput(), true);

    // F11 writes a screenshot on every frame it is held.
    if (g_renderer->IsActive() && !(g_console && g_console->IsOpen()) && IsScreenshotKeyHeld())
        SaveScreenshot();

    // The game flow: its screens and modes, Escape, the loss watches; then the music.
    if (game)
    {
        game->GetGameFlow().Update();
        game->GetGameFlow().UpdateMusic();
    }

    // The quit flag again, after the game flow had its say.
    if (game && game->GetGameFlow().IsQuitRequested())
        s_state.quit = true;
    if (s_state.frameLimit && s_state.framesRun >= s_state.frameLimit)
    {
        s_state.quit = true;
        SaveRequestedShot();
    }
    if (s_state.quit)
        return false;

    // The game's controls, only while the console is closed and the window active.
    if (game && !(g_console && g_console->IsOpen()) && g_renderer->IsActive())
        game->PollControls(g_input);

    // The text pages type, complete and turn.
    UpdateTextPages();

    // The world, the camera and the HUD; the view point becomes the scroll.
    float scrollX = 0.0f;
    float scrollY = 0.0f;
    if (game)
    {
        const SDisplaySettings& display = g_renderer->GetSettings();
        game->GetCamera().SetScreenSize(static_cast<float>(display.width), static_cast<float>(display.height));
        game->UpdateFrame(&scrollX, &scrollY);
    }

    // The frame's drawing: the camera scroll reaches the sprite bank, which draws its
    // planes between the scene's begin and end; in flight and under the in-game menu
    // the HUD follows with the same whole-unit scroll, in the front end the game flow's
    // overlay; last the director's sequences and the game flow's texts.
    g_renderer->BeginScene();
    if (g_renderer->CanDraw())
    {
        DrawSpriteBank(scrollX, scrollY);
        // The effects move (their particles show from the next frame's sprites) and
        // their beams draw over the sprites.
        if (game && game->GetGameFlow().GetMode() != GAME_MODE_FRONT_END)
        {
            game->GetEffectCache().Update();
            game->GetHud().Draw(static_cast<int32_t>(scrollX), static_cast<int32_t>(scrollY));
        }
        else if (game)
            game->GetGameFlow().DrawFrontEnd();
        if (game)
            game->GetGameFlow().Draw();
        g_renderer->EndScene();
    }
    WriteFrameTrace(s_state.framesRun);

    // Last, the frame is paced to the fixed step and the game clock moves on.
    ++s_state.framesRun;
    PostScriptedInput(s_state.framesRun);
    if (game)
        game->EndFrame();
    return true;
}

void ShutdownApplication()
{
    s_startup.TearDown(ETeardownReason::Shutdown);
}

int TessavarMain(int argc, char** argv)
{
    // Relative data paths start in the program folder.
    if (!EnterProgramFolder())
        std::fprintf(stderr, "Could not enter the program folder\n");

    // The option.
    switch (ParseCommandLine(argc, argv))
    {
    case ECommandOption::ShowVersion:
        ShowVersion();
        return 0;
    case ECommandOption::ForceLauncher:
        s_state.forceLauncher = true;
        break;
    case ECommandOption::OpenUpdatePage:
        s_state.openUpdatePage = true;
        break;
    case ECommandOption::Unknown:
        std::fprintf(stderr, "%s\n", DescribeIgnoredArguments(argc, argv).c_str());
        break;
    case ECommandOption::None:
        break;
    }

    // User folders and the settings file's attributes.
    CreateUserFolders();
    ClearSettingsReadOnly();

    // Start-up; a silent end is an orderly one.
    if (!InitApplication())
        return s_state.startupFailed ? 1 : 0;

    // The main loop: window messages first, a frame whenever none waits.
    for (;;)
    {
        EPumpResult message = PumpWindowMessage();
        if (message == EPumpResult::Quit)
            break;
        if (message == EPumpResult::Idle && !RunFrame())
            break;
    }

    // Orderly end (also after a failure the game could not go on from, which ends
    // with a failing status).
    ShutdownApplication();
    return s_state.endedByFailure ? 1 : 0;
}
