#pragma once
// The life of the process: start-up, the main loop and an orderly shutdown.

#include <cstdint>

class CDataTree;

constexpr const char* TESSAVAR_VERSION = "V1.5c";
constexpr const char* TESSAVAR_WINDOW_TITLE = "Tessavar";
constexpr const char* TESSAVAR_UPDATE_PAGE = "https://tessavar.invalid/update";

// The whole process; gives the exit status (0 for an orderly or silent end).
int TessavarMain(int argc, char** argv);

bool InitApplication();
bool RunFrame();
void ShutdownApplication();

// Process state of the shell.
struct SAppState
{
    bool forceLauncher = false;
    bool openUpdatePage = false;
    bool quit = false;
    bool forceDi5 = false;          // "i_forcedi5": the input device of version 5 only
    bool startupFailed = false;     // a start-up failure (not a silent end)
    const char* startupMessage = nullptr;
    uint32_t frameLimit = 0;        // TESSAVAR_FRAMES: end after this many frames (0 = none)
    uint32_t framesRun = 0;
    CDataTree* settingsTree = nullptr;  // the loaded or default settings, from step 10 to step 28
};

SAppState& GetAppState();

// "/quit": sets the quit flag; the main loop ends at the frame's next check.
void QuitCommand(void* userData, const char* arguments);

// "%s/tessavar/<name>" under the documents folder, found without regard to case.
bool GetUserPath(const char* name, char* buffer, unsigned bufferSize);
