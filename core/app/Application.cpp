#include "core/app/Application.h"

#include "core/Clock.h"
#include "core/Clipboard.h"
#include "core/Console.h"
#include "core/CpuInfo.h"
#include "core/DataTree.h"
#include "core/DialogForm.h"
#include "core/Settings.h"
#include "core/SystemInfo.h"
#include "core/FramePacer.h"
#include "core/StringTable.h"
#include "core/ListNodePool.h"
#include "core/app/CommandLine.h"
#include "core/app/InputStartup.h"
#include "core/app/RendererStartup.h"
#include "core/app/SettingsSave.h"
#include "core/app/SettingsStartup.h"
#include "core/app/SpriteBankStartup.h"
#include "core/app/SingleInstance.h"
#include "platform/CoreInput.h"
#include "platform/GameWindow.h"
#include "platform/AudioSystem.h"
#include "platform/MessageBox.h"
#include "platform/Renderer.h"
#include "platform/SdlClipboard.h"
#include "utility/source/QelFile.h"
#include "presentation/SpriteBank.h"
#include "utility/source/QelPackArchive.h"
#include "utility/source/QelPathResolve.h"
#include "utility/source/QelShellPaths.h"

#include <cfenv>
#include <fenv.h>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
SAppState s_state;
CSingleInstance s_instance;
CFramePacer s_pacer;

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

// All floating-point exceptions masked, rounding to nearest.
void SetFpuControlWord()
{
    fedisableexcept(FE_ALL_EXCEPT);
    std::fesetround(FE_TONEAREST);
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

// "/vid_restart": restarts the audio system; the renderer is not touched.
void RestartAudioCommand(void*, const char*)
{
    if (g_audio)
        g_audio->Restart();
}

void ApplyAudioVolumes()
{
    if (g_audio)
        g_audio->ApplyVolumes();
}

void DeleteAudio()
{
    if (g_audio)
    {
        g_audio->Shutdown();
        delete g_audio;
        g_audio = nullptr;
    }
}

void FreeSettingsTree()
{
    FreeDataNode(&s_state.settingsTree);
}

// The player quit in a start-up dialog: the program ends silently.
bool EndStartupSilently()
{
    FreeSettingsTree();
    delete g_console;
    g_console = nullptr;
    s_instance.Release();
    return false;
}

// Steps 10 and 11: the settings, then the launcher when it is due.
bool LoadSettingsAndAsk()
{
    char path[600];
    bool havePath = GetUserPath(SETTINGS_FILE_NAME, path, sizeof(path));
    s_state.settingsTree = LoadSettingsOrDefaults(havePath ? path : nullptr, s_state.forceLauncher);
    if (!s_state.forceLauncher)
        return true;
    CDialogView* view = MakeStartupDialogView();
    bool goOn = RunStartupDialogs(*view, s_state.settingsTree);
    delete view;
    return goOn;
}

// Reverse of start-up for whatever exists, then the one message box.
bool TearDownStartup()
{
    FreeSettingsTree();
    StopSpriteBank();
    DeleteAudio();
    StopInput();
    CloseRenderer();
    delete g_console;
    g_console = nullptr;
    ShowMessageBox("Tessavar Initialisation Failure",
                   s_state.startupMessage ? s_state.startupMessage : "Unspecified error during startup",
                   EMessageIcon::Error);
    s_instance.Release();
    return false;
}

// A start-up failure: the message goes to the console too, when it exists.
bool FailStartup(const char* message)
{
    s_state.startupMessage = message;
    s_state.startupFailed = true;
    if (g_console)
        g_console->Printf("%s", message);
    return TearDownStartup();
}
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

bool InitApplication()
{
    // 1. "-u": open the update page and end; a page that could not be opened is
    // said on standard error and ends with a failure status.
    if (s_state.openUpdatePage)
    {
        s_state.startupFailed = !OpenWithShellAndWait(TESSAVAR_UPDATE_PAGE);
        return false;
    }

    // 2. One copy at a time: a second copy ends silently.
    char lockPath[600];
    if (GetUserPath(".instance.lock", lockPath, sizeof(lockPath)) && s_instance.Acquire(lockPath))
        return false;

    // 3. Floating point state.
    SetFpuControlWord();

    // 5. The pool of list nodes.
    InitListNodePool();

    // 6. The pack files; without a main pack the game reads loose files only.
    InitPackArchive();

    // 7. The string table; without it no text can be shown, so the game cannot run.
    g_stringTable = new (std::nothrow) CStringTable();
    if (!g_stringTable || !g_stringTable->Load(STRING_TABLE_PATH))
    {
        delete g_stringTable;
        g_stringTable = nullptr;
        s_state.startupFailed = true;
        s_state.startupMessage = "Tessavar hit a fatal error during startup\nApplication will now quit";
        ShowMessageBox("Error", s_state.startupMessage, EMessageIcon::Error);
        s_instance.Release();
        return false;
    }
    SetMonthNameLookup(LookUpStringTableText);
    SetClipboardHook(GetSdlClipboardHook());

    // 8. The console, the channel of every later message.
    g_console = new (std::nothrow) CConsole();
    if (!g_console)
        return FailStartup("Error during startup - code 0x80000001");
    const char* echo = std::getenv("TESSAVAR_LOG_STDERR");
    g_console->SetEcho(echo && *echo && std::strcmp(echo, "0") != 0);
    g_console->Printf("%s", TESSAVAR_VERSION);

    // 9. StickyKeys are left alone: nothing here turns them on behind a held key.

    // 10. and 11. The settings file (or the default set), then the launcher and the
    // set-up dialog when they are due. Nothing is written here: the file is written
    // only at an orderly end.
    if (!LoadSettingsAndAsk())
        return EndStartupSilently();

    // 12. The string table's language: always its first one.
    g_stringTable->SelectLanguage(0);

    // 13. and 14. The renderer of the settings' kind, else the other kind.
    if (!StartRenderer(s_state.settingsTree))
    {
        // This message is not printed on the console.
        s_state.startupMessage = "Error during startup - Renderer failed to initialise";
        s_state.startupFailed = true;
        return TearDownStartup();
    }

    // 15. Identify the processor and measure its time stamp counter.
    DetectCpu();

    // 16. Describe the machine.
    LogSystemInformation(*g_console);

    // 17. One empty frame.
    DrawEmptyFrame();

    // 18. Timing needs the time stamp counter.
    if (!GetCpuInfo().tsc)
        return FailStartup("Error during startup - CPU does not support time stamp counter for accurate timing");

    // 19. Input: version 8 unless version 5 is forced, else version 5.
    if (!StartInput(s_state.settingsTree))
        return TearDownStartup(); // this message is not printed on the console

    // 20. Audio. Its Init is not checked: a machine without working sound runs silent.
    g_audio = new (std::nothrow) CAudioSystem();
    if (!g_audio)
        return FailStartup("Error during startup - Failed to initialise audio system");
    g_audio->SetDefaultSettings();
    if (s_state.settingsTree)
        g_audio->ReadSettings(*s_state.settingsTree);
    g_audio->Init();
    // Window activation re-applies the volumes too.
    if (g_renderer)
        g_renderer->SetActivationHook(&ApplyAudioVolumes);

    // 23. Console commands and variables.
    g_console->RegisterFunction("/quit", &QuitCommand, nullptr);
    RegisterRendererConsoleCommands();
    g_console->RegisterFunction("/vid_restart", &RestartAudioCommand, nullptr);
    g_console->RegisterFunction("/showsprite", &CSpriteBank::ShowSpriteCommand, nullptr);

    // 25. The sprite bank, bound to the renderer.
    const char* spriteFailure = nullptr;
    if (!StartSpriteBank(spriteFailure))
        return FailStartup(spriteFailure);

    // 26. Both buffers black.
    ClearBothBuffers();

    // 28. From here on each device keeps its own copy of its settings.
    FreeSettingsTree();

    s_state.frameLimit = ReadFrameLimit();
    return true;
}

bool RunFrame()
{
    // 1. The quit flag.
    if (s_state.quit)
        return false;

    // 3. The control word is set again every frame.
    SetFpuControlWord();

    // 4. Volumes are applied again every frame.
    if (g_audio)
        g_audio->ApplyVolumes();

    // 5. Note the frame's start.
    s_pacer.BeginFrame(GetTickMs());

    // 6. Frame statistics.
    g_renderer->Tick();

    // 7. Keyboard, mouse and game controllers.
    g_input->Poll();

    // 8. Channels whose sound is over end here.
    if (g_audio)
        g_audio->Update();

    // 12. F11 writes a screenshot on every frame it is held.
    if (g_renderer->IsActive() && !(g_console && g_console->IsOpen()) && IsScreenshotKeyHeld())
        SaveScreenshot();

    // 15. The quit flag again, after the game flow had its say.
    if (s_state.frameLimit && s_state.framesRun >= s_state.frameLimit)
    {
        s_state.quit = true;
        SaveRequestedShot();
    }
    if (s_state.quit)
        return false;

    // 19. to 21. The frame's drawing: the camera scroll reaches the sprite bank (0, 0
    // until the world moves it), which draws its planes between the scene's begin and end.
    g_renderer->BeginScene();
    if (g_renderer->CanDraw())
    {
        DrawSpriteBank(0.0f, 0.0f);
        g_renderer->EndScene();
    }

    // 22. Pace the frame to the fixed step.
    ++s_state.framesRun;
    uint32_t sleepMs = s_pacer.EndFrame(GetTickMs(), false);
    if (sleepMs)
        SleepMs(sleepMs);
    return true;
}

void ShutdownApplication()
{
    // 3. The settings, only when the renderer had opened.
    if (g_renderer && g_renderer->IsOpened() && !SaveSettingsFile() && g_console)
        g_console->Printf("Could not write the settings file");

    // 4. The sprite bank.
    StopSpriteBank();

    // 5. Audio: the stream threads end before anything else goes.
    DeleteAudio();
    // 8. Delete the input device.
    StopInput();

    // 9. Close and delete the renderer.
    CloseRenderer();

    // 10. Delete the console.
    delete g_console;
    g_console = nullptr;

    // 11. Delete the string table.
    SetMonthNameLookup(nullptr);
    SetClipboardHook(nullptr);
    delete g_stringTable;
    g_stringTable = nullptr;

    // 12. Free the pack archive and the list-node pool.
    FreePackArchive();
    FreeListNodePool();

    // 14. Release the single-instance lock.
    s_instance.Release();
}

int TessavarMain(int argc, char** argv)
{
    // 2. Relative data paths start in the program folder.
    if (!EnterProgramFolder())
        std::fprintf(stderr, "Could not enter the program folder\n");

    // 3. The option.
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
    case ECommandOption::None:
        break;
    }

    // 4. and 5. User folders and the settings file's attributes.
    CreateUserFolders();
    ClearSettingsReadOnly();

    // 6. Start-up; a silent end is an orderly one.
    if (!InitApplication())
        return s_state.startupFailed ? 1 : 0;

    // 7. The main loop: window messages first, a frame whenever none waits.
    for (;;)
    {
        EPumpResult message = PumpWindowMessage();
        if (message == EPumpResult::Quit)
            break;
        if (message == EPumpResult::Idle && !RunFrame())
            break;
    }

    // 8. Orderly end.
    ShutdownApplication();
    return 0;
}
