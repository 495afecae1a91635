#pragma once
// The life of the process: start-up, the main loop and an orderly shutdown.

#include "core/Version.h"
#include "core/app/StartupSequence.h"

#include <cstdint>

class CDataTree;

constexpr const char* TESSAVAR_WINDOW_TITLE = "Tessavar";
constexpr const char* TESSAVAR_UPDATE_PAGE = "https://tessavar.invalid/update";

// The whole process; gives the exit status (0 for an orderly or silent end).
int TessavarMain(int argc, char** argv);

// Runs the start-up steps (StartupSteps.cpp); false when the program ends there, with
// everything that start-up made taken down again.
bool InitApplication();
bool RunFrame();
// Takes down everything start-up made, last made first, writing the settings file.
void ShutdownApplication();

// A start-up step's failure: the one message of the run. It is printed on the console
// (when there is one and `onConsole`), then everything that exists is taken down and the
// message shown in a message box captioned `caption` (by default "Tessavar
// Initialisation Failure"). Gives EStepResult::Failed for the step to return.
EStepResult FailStartup(const char* message, bool onConsole = true, const char* caption = nullptr);

// Test seam: the sequence that runs the start-up steps (to inject a failure at one
// step, or to watch the stops).
CStartupSequence& GetStartupSequence();

// Process state of the shell.
struct SAppState
{
    bool forceLauncher = false;
    bool openUpdatePage = false;
    bool quit = false;
    bool forceDi5 = false;          // "i_forcedi5": the input device of version 5 only
    bool startupFailed = false;     // a start-up failure (not a silent end)
    bool endedByFailure = false;    // the game ended on a failure it could not go on from
    const char* startupMessage = nullptr;
    const char* startupCaption = nullptr;
    bool startupMessageOnConsole = true;
    uint32_t frameLimit = 0;        // TESSAVAR_FRAMES: end after this many frames (0 = none)
    uint32_t framesRun = 0;
    CDataTree* settingsTree = nullptr;  // the loaded or default settings, until the devices have read them
};

SAppState& GetAppState();

// "/quit": sets the quit flag; the main loop ends at the frame's next check.
void QuitCommand(void* userData, const char* arguments);

// "%s/tessavar/<name>" under the documents folder, found without regard to case.
bool GetUserPath(const char* name, char* buffer, unsigned bufferSize);
