#pragma once
// The launcher: start the game, change its settings first, or quit. Two more
// buttons open web pages and leave the launcher up.

#include "core/DialogForm.h"

#include <string>

enum ELauncherResult
{
    LAUNCHER_START = 0,
    LAUNCHER_SETTINGS = 1,
    LAUNCHER_QUIT = 2,
};

// Button ids of the launcher.
enum
{
    LAUNCHER_BUTTON_START = 1,
    LAUNCHER_BUTTON_QUIT = 2,
    LAUNCHER_BUTTON_SETTINGS = 3,
    LAUNCHER_BUTTON_SITE = 4,
    LAUNCHER_BUTTON_UPDATES = 5,
};

struct SLauncherRecord
{
    std::string title;      // the window's caption
    std::string updatePage; // address that "Check For Updates" opens
};

// The maker's web site, which the site button opens.
extern const char* const LAUNCHER_SITE_PAGE;

// Hands a web address to the browser; false when that failed.
typedef bool (*PageOpener)(const char* address);

CDialogForm MakeLauncherForm(const SLauncherRecord& record);
int ShowLauncherDialog(CDialogView& view, const SLauncherRecord& record, PageOpener openPage);
