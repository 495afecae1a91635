#include "core/LauncherDialog.h"

const char* const LAUNCHER_SITE_PAGE = "https://tessavar.invalid/";

CDialogForm MakeLauncherForm(const SLauncherRecord& record)
{
    CDialogForm form("launcher", record.title.c_str(), 480, 168);
    form.AddLabel(16, 16, "Start the game, or change its settings first.");
    form.AddButton(LAUNCHER_BUTTON_START, 16, 72, 120, "Start Game", "start");
    form.AddButton(LAUNCHER_BUTTON_SETTINGS, 144, 72, 180, "Alter Settings", "settings");
    form.AddButton(LAUNCHER_BUTTON_UPDATES, 16, 112, 220, "Check For Updates", "updates");
    form.AddButton(LAUNCHER_BUTTON_SITE, 244, 112, 120, "Web Site", "site");
    form.AddButton(LAUNCHER_BUTTON_QUIT, 372, 72, 80, "Quit", "quit");
    form.SetDefaultButton(LAUNCHER_BUTTON_START);
    form.SetCancelButton(LAUNCHER_BUTTON_QUIT);
    return form;
}

int ShowLauncherDialog(CDialogView& view, const SLauncherRecord& record, PageOpener openPage)
{
    CDialogForm form = MakeLauncherForm(record);
    for (;;)
    {
        switch (view.RunForm(form))
        {
        case LAUNCHER_BUTTON_START:
            return LAUNCHER_START;
        case LAUNCHER_BUTTON_SETTINGS:
            return LAUNCHER_SETTINGS;
        case LAUNCHER_BUTTON_UPDATES:
            if (openPage)
                openPage(record.updatePage.c_str());
            break; // the launcher stays up
        case LAUNCHER_BUTTON_SITE:
            if (openPage)
                openPage(LAUNCHER_SITE_PAGE);
            break;
        default:
            return LAUNCHER_QUIT; // "Quit" or the window closed
        }
    }
}
