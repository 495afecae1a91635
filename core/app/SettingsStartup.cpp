#include "core/app/SettingsStartup.h"

#include "core/DataFile.h"
#include "core/DataTree.h"
#include "core/LauncherDialog.h"
#include "core/ScriptedDialogView.h"
#include "core/Settings.h"
#include "core/SetupDialog.h"
#include "core/app/Application.h"
#include "platform/SdlDialogView.h"
#include "utility/source/QelShellPaths.h"

#include <cstdlib>
#include <string>

CDataTree* LoadSettingsOrDefaults(const char* path, bool& launcherDue)
{
    CDataTree* settings = nullptr;
    if (path && LoadDataTree(path, &settings, DATA_DEPTH_LIMIT) && settings)
    {
        bool runOnce = false;
        if (!settings->GetBool("g_runonce", runOnce) || !runOnce)
            launcherDue = true;
        return settings;
    }
    launcherDue = true;
    return MakeDefaultSettings();
}

bool RunStartupDialogs(CDialogView& view, CDataTree*& settings)
{
    SLauncherRecord record {std::string("Tessavar ") + TESSAVAR_VERSION, TESSAVAR_UPDATE_PAGE};
    switch (ShowLauncherDialog(view, record, &OpenWithShell))
    {
    case LAUNCHER_START:
        return true;
    case LAUNCHER_SETTINGS:
        return ShowSetupDialog(view, settings);
    default:
        return false;
    }
}

CDialogView* MakeStartupDialogView()
{
    const char* script = std::getenv("TESSAVAR_DIALOGS");
    if (script)
        return new CScriptedDialogView(script);
    return new CSdlDialogView();
}
