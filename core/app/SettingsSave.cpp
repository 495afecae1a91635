#include "core/app/SettingsSave.h"

#include "core/DataFile.h"
#include "core/DataTree.h"
#include "core/app/Application.h"
#include "core/app/RendererStartup.h"

bool SaveSettingsFile()
{
    CDataTree tree(u"Tessavar");
    tree.AddBool("g_runonce", true);
    AddRendererSettings(tree);
    char path[600];
    return GetUserPath("Tessavar.cfg", path, sizeof(path)) && SaveDataTree(path, &tree, true);
}
