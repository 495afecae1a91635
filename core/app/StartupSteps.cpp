#include "core/app/StartupSteps.h"

#include "core/Clipboard.h"
#include "core/Console.h"
#include "core/CpuInfo.h"
#include "core/DataTree.h"
#include "core/DialogForm.h"
#include "core/ListNodePool.h"
#include "core/Settings.h"
#include "core/StringTable.h"
#include "core/SystemInfo.h"
#include "core/WString.h"
#include "core/app/Application.h"
#include "core/app/CampaignStartup.h"
#include "core/app/FrameTrace.h"
#include "core/app/GameStartup.h"
#include "core/app/GuiStartup.h"
#include "core/app/DirectorStartup.h"
#include "core/app/HudStartup.h"
#include "core/app/InputStartup.h"
#include "core/app/RendererStartup.h"
#include "core/app/ScriptedInput.h"
#include "core/app/SettingsSave.h"
#include "core/app/SettingsStartup.h"
#include "core/app/SingleInstance.h"
#include "core/app/SpriteBankStartup.h"
#include "core/app/TextPageStartup.h"
#include "frontend/UserFiles.h"
#include "platform/AudioSystem.h"
#include "platform/Renderer.h"
#include "platform/SdlClipboard.h"
#include "presentation/GuiManager.h"
#include "presentation/SpriteBank.h"
#include "utility/source/QelFile.h"
#include "utility/source/QelPackArchive.h"
#include "utility/source/QelShellPaths.h"

#include <cfenv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fenv.h>
#include <iterator>
#include <new>
#include <string>

namespace
{
CSingleInstance s_instance;

// "-u": the update page opens and the program ends; a page that could not be opened is
// said on standard error and ends with a failure status.
EStepResult OpenUpdatePageWhenAsked()
{
    if (!GetAppState().openUpdatePage)
        return EStepResult::Continue;
    GetAppState().startupFailed = !OpenWithShellAndWait(TESSAVAR_UPDATE_PAGE);
    return EStepResult::EndSilently;
}

// One copy at a time: a second copy ends silently.
EStepResult AcquireSingleInstance()
{
    char lockPath[600];
    if (GetUserPath(".instance.lock", lockPath, sizeof(lockPath)) && s_instance.Acquire(lockPath))
        return EStepResult::EndSilently;
    return EStepResult::Continue;
}

void ReleaseSingleInstance(ETeardownReason)
{
    s_instance.Release();
}

// Installed for the whole run: nothing is undone at the end.
EStepResult UseFixedClock()
{
    InstallFixedClock();
    return EStepResult::Continue;
}

EStepResult SetFloatingPoint()
{
    SetFpuControlWord();
    return EStepResult::Continue;
}

// Without its pool a pooled list refuses insertions; the game still starts.
EStepResult MakeListNodePool()
{
    InitListNodePool();
    return EStepResult::Continue;
}

void FreeNodePool(ETeardownReason)
{
    FreeListNodePool();
}

// Without a main pack the game reads loose files only.
EStepResult MountPacks()
{
    InitPackArchive();
    return EStepResult::Continue;
}

void UnmountPacks(ETeardownReason)
{
    FreePackArchive();
}

// Without the string table no text can be shown, so the game cannot run; there is no
// console yet to tell.
EStepResult LoadStringTable()
{
    g_stringTable = new (std::nothrow) CStringTable();
    if (!g_stringTable || !g_stringTable->Load(STRING_TABLE_PATH))
    {
        // The box says only that start-up failed; this line says which file and why.
        if (g_stringTable)
            std::fprintf(stderr, "The string table %s %s\n", STRING_TABLE_PATH, g_stringTable->GetLoadError());
        return FailStartup("Tessavar hit a fatal error during startup\nApplication will now quit", true, "Error");
    }
    SetMonthNameLookup(LookUpStringTableText);
    SetClipboardHook(GetSdlClipboardHook());
    return EStepResult::Continue;
}

void DeleteStringTable(ETeardownReason)
{
    SetMonthNameLookup(nullptr);
    SetClipboardHook(nullptr);
    delete g_stringTable;
    g_stringTable = nullptr;
}

// The console, the channel of every later message.
EStepResult MakeConsole()
{
    g_console = new (std::nothrow) CConsole();
    if (!g_console)
        return FailStartup("Error during startup - code 0x80000001");
    // Its lines go to standard error too, as a terminal user expects, unless
    // TESSAVAR_LOG_STDERR is "0".
    const char* echo = std::getenv("TESSAVAR_LOG_STDERR");
    g_console->SetEcho(!echo || std::strcmp(echo, "0") != 0);
    g_console->Printf("%s", TESSAVAR_VERSION);
    for (const std::string& note : GetPackArchiveNotes())
        g_console->Printf("%s", note.c_str());
    return EStepResult::Continue;
}

void DeleteConsole(ETeardownReason)
{
    delete g_console;
    g_console = nullptr;
}

// A game killed while it saved left its unfinished files beside the saves and records;
// the one running copy (the lock above) clears them before anything is written there.
EStepResult RemoveUnfinishedWrites()
{
    if (const size_t removed = RemoveUnfinishedUserFiles())
        g_console->Printf("Removed %zu unfinished file(s) of an interrupted save", removed);
    return EStepResult::Continue;
}

// The settings file (or the default set), then the launcher and the set-up dialog when
// they are due; a player who quits there ends the program silently. Nothing is written
// here: the file is written only at an orderly end. StickyKeys are left alone, so
// nothing needs restoring at the end.
EStepResult LoadSettingsAndAsk()
{
    SAppState& state = GetAppState();
    char path[600];
    bool havePath = GetUserPath(SETTINGS_FILE_NAME, path, sizeof(path));
    state.settingsTree = LoadSettingsOrDefaults(havePath ? path : nullptr, state.forceLauncher);
    if (!state.forceLauncher)
        return EStepResult::Continue;
    CDialogView* view = MakeStartupDialogView();
    bool goOn = RunStartupDialogs(*view, state.settingsTree);
    delete view;
    return goOn ? EStepResult::Continue : EStepResult::EndSilently;
}

void FreeSettingsTree(ETeardownReason)
{
    FreeDataNode(&GetAppState().settingsTree);
}

// The string table's language: always its first one.
EStepResult SelectLanguage()
{
    g_stringTable->SelectLanguage(0);
    return EStepResult::Continue;
}

// The renderer of the settings' kind, else the other kind. Its message is not printed
// on the console.
EStepResult OpenRenderer()
{
    if (!StartRenderer(GetAppState().settingsTree))
        return FailStartup("Error during startup - Renderer failed to initialise", false);
    return EStepResult::Continue;
}

void DeleteRenderer(ETeardownReason)
{
    CloseRenderer();
}

// The processor and its time stamp counter identified, the machine described, one
// empty frame shown.
EStepResult DescribeMachine()
{
    DetectCpu();
    LogSystemInformation(*g_console);
    DrawEmptyFrame();
    return EStepResult::Continue;
}

EStepResult RequireTimeStampCounter()
{
    if (!GetCpuInfo().tsc)
        return FailStartup("Error during startup - CPU does not support time stamp counter for accurate timing");
    return EStepResult::Continue;
}

// Input: version 8 unless version 5 is forced, else version 5. Its message is not
// printed on the console.
EStepResult OpenInput()
{
    if (!StartInput(GetAppState().settingsTree))
        return FailStartup(GetAppState().startupMessage, false);
    return EStepResult::Continue;
}

void DeleteInput(ETeardownReason)
{
    StopInput();
}

void ApplyAudioVolumes()
{
    if (g_audio)
        g_audio->ApplyVolumes();
}

// Audio. Its Init is not checked: a machine without working sound runs silent.
EStepResult StartAudio()
{
    g_audio = new (std::nothrow) CAudioSystem();
    if (!g_audio)
        return FailStartup("Error during startup - Failed to initialise audio system");
    g_audio->SetDefaultSettings();
    if (GetAppState().settingsTree)
        g_audio->ReadSettings(*GetAppState().settingsTree);
    g_audio->Init();
    // Window activation re-applies the volumes too.
    if (g_renderer)
        g_renderer->SetActivationHook(&ApplyAudioVolumes);
    return EStepResult::Continue;
}

// The stream threads end before anything else of the audio goes.
void DeleteAudio(ETeardownReason)
{
    if (!g_audio)
        return;
    if (g_renderer)
        g_renderer->SetActivationHook(nullptr);
    g_audio->Shutdown();
    delete g_audio;
    g_audio = nullptr;
}

// The GUI manager with the default skin's fonts.
EStepResult OpenGui()
{
    const char* failure = nullptr;
    if (!StartGui(failure))
        return FailStartup(failure);
    return EStepResult::Continue;
}

void DeleteGui(ETeardownReason)
{
    StopGui();
}

// The console's window, opened and closed by the console key.
EStepResult OpenConsoleWindow()
{
    if (!StartConsoleWindow())
        return FailStartup("Error during startup - code 0x8000000c");
    return EStepResult::Continue;
}

void CloseConsoleWindow(ETeardownReason)
{
    StopConsoleWindow();
}

// The GUI draws its own pointer.
EStepResult HidePointer()
{
    HideSystemCursor();
    return EStepResult::Continue;
}

// The GUI's layers are drawn by hooks of the sprite bank's planes.
EStepResult HookGuiLayers()
{
    g_gui->InstallLayerDrawCallbacks(*g_spriteBank);
    return EStepResult::Continue;
}

// TESSAVAR_SCRIPT: player input by frame; a script that cannot be read ends the start-up.
EStepResult LoadScript()
{
    if (!LoadInputScript())
        return FailStartup("Error during startup - TESSAVAR_SCRIPT could not be read");
    return EStepResult::Continue;
}

// TESSAVAR_TRACE: a line a frame; a trace that cannot be written ends the start-up.
EStepResult OpenTrace()
{
    if (!OpenFrameTrace())
        return FailStartup("Error during startup - TESSAVAR_TRACE could not be written");
    return EStepResult::Continue;
}

void CloseTrace(ETeardownReason)
{
    CloseFrameTrace();
}

// "/vid_restart": restarts the audio system; the renderer is not touched.
void RestartAudioCommand(void*, const char*)
{
    if (g_audio)
        g_audio->Restart();
}

// The shell's commands reach their objects through the globals, so they outlive them
// safely and go with the console.
EStepResult RegisterConsoleCommands()
{
    g_console->RegisterFunction("/quit", &QuitCommand, nullptr);
    RegisterRendererConsoleCommands();
    g_console->RegisterFunction("/vid_restart", &RestartAudioCommand, nullptr);
    RegisterGuiConsoleCommands();
    g_console->RegisterFunction("/showsprite", &CSpriteBank::ShowSpriteCommand, nullptr);
    return EStepResult::Continue;
}

// The sprite bank, bound to the renderer.
EStepResult OpenSpriteBank()
{
    const char* failure = nullptr;
    if (!StartSpriteBank(failure))
        return FailStartup(failure);
    return EStepResult::Continue;
}

void DeleteSpriteBank(ETeardownReason)
{
    StopSpriteBank();
}

// The settings file is written at an orderly end only, from what the renderer, audio
// and input report: so its row stands after theirs (they still exist when it is
// written) and before the game's (which are gone by then).
EStepResult NoteSettingsFile()
{
    return EStepResult::Continue;
}

void WriteSettingsFile(ETeardownReason reason)
{
    if (reason != ETeardownReason::Shutdown || !g_renderer || !g_renderer->IsOpened())
        return;
    SaveSettingsFile(); // a failure is said on the console
}

// Both buffers black.
EStepResult ClearScreen()
{
    ClearBothBuffers();
    return EStepResult::Continue;
}

// From here on each device keeps its own copy of its settings: steps that read the
// loaded settings stand before this one.
EStepResult HandOverSettings()
{
    FreeDataNode(&GetAppState().settingsTree);
    return EStepResult::Continue;
}

// Start-up, in order. Each row makes or checks one thing; its stop undoes what the start
// made. Teardown runs the stops of the rows that began, last first, on a failure, a
// silent end and the orderly shutdown alike (see CStartupSequence).
//
// To add a singleton: write its start (make it and set its global; on failure `return
// FailStartup("Error during startup - ...")`) and its stop (delete it and null the
// global; it must also cope with a start that failed halfway or never ran), in a file
// of its own like SpriteBankStartup.cpp, and add one row here where it belongs in the
// order. Shutdown and every failure path then take it down in its place. A row that
// reads the loaded settings goes before "hand over settings"; a part of the game that
// must be gone before the settings file is written goes after "settings file".
const SStartupStep STARTUP_STEPS[] = {
    {"update page", &OpenUpdatePageWhenAsked, nullptr},
    {"single instance", &AcquireSingleInstance, &ReleaseSingleInstance},
    {"fixed clock", &UseFixedClock, nullptr},
    {"floating point", &SetFloatingPoint, nullptr},
    {"list-node pool", &MakeListNodePool, &FreeNodePool},
    {"pack archive", &MountPacks, &UnmountPacks},
    {"string table", &LoadStringTable, &DeleteStringTable},
    {"console", &MakeConsole, &DeleteConsole},
    {"unfinished writes", &RemoveUnfinishedWrites, nullptr},
    {"settings", &LoadSettingsAndAsk, &FreeSettingsTree},
    {"language", &SelectLanguage, nullptr},
    {"renderer", &OpenRenderer, &DeleteRenderer},
    {"machine", &DescribeMachine, nullptr},
    {"time stamp counter", &RequireTimeStampCounter, nullptr},
    {"input", &OpenInput, &DeleteInput},
    {"audio", &StartAudio, &DeleteAudio},
    {"gui", &OpenGui, &DeleteGui},
    {"console window", &OpenConsoleWindow, &CloseConsoleWindow},
    {"console commands", &RegisterConsoleCommands, nullptr},
    {"pointer", &HidePointer, nullptr},
    {"sprite bank", &OpenSpriteBank, &DeleteSpriteBank},
    {"gui layers", &HookGuiLayers, nullptr},
    {"settings file", &NoteSettingsFile, &WriteSettingsFile},
    {"clear screen", &ClearScreen, nullptr},
    {"loading screen", &ShowStartupLoadingScreen, &ReleaseStartupLoadingScreen},
    {"game", &StartGame, &StopGame},
    {"hud", &StartHud, &StopHud},
    {"campaign", &StartCampaign, &StopCampaign},
    {"hand over settings", &HandOverSettings, nullptr},
    {"text pages", &StartTextPages, &StopTextPages},
    {"director", &StartDirector, &StopDirector},
    {"music hold", &HoldStartupMusic, nullptr},
    {"input script", &LoadScript, nullptr},
    {"frame trace", &OpenTrace, &CloseTrace},
    {"loading screen down", &HideStartupLoadingScreen, nullptr},
};
} // namespace

const SStartupStep* GetStartupSteps(size_t& count)
{
    count = std::size(STARTUP_STEPS);
    return STARTUP_STEPS;
}

void SetFpuControlWord()
{
    fedisableexcept(FE_ALL_EXCEPT);
    std::fesetround(FE_TONEAREST);
}
