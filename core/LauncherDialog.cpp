#include "core/LauncherDialog.h"

const char* const LAUNCHER_SITE_PAGE = "https://tessavar.invalid/";

CDialogForm MakeLauncherForm(const SLauncherRecord& record)
{
    // A form like the set-up dialogs, so it answers the keyboard as they do; the
    // buttons are added row by row, the order Tab follows.
    CDialogForm form("launcher", record.title.c_str(), 600, 168);
    form.AddLabel(16, 16, "Start the game, or change its settings first.");
    form.AddButton(LAUNCHER_BUTTON_START, 16, 64, 152, "Start Game", "start");
    form.AddButton(LAUNCHER_BUTTON_SETTINGS, 184, 64, 200, "Alter Settings", "settings");
    form.AddButton(LAUNCHER_BUTTON_QUIT, 504, 64, 80, "Quit", "quit");
    form.AddButton(LAUNCHER_BUTTON_UPDATES, 16, 112, 236, "Check For Updates", "updates");
    form.AddButton(LAUNCHER_BUTTON_SITE, 268, 112, 128, "Web Site", "site");
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
