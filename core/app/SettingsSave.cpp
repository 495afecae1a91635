#include "core/app/SettingsSave.h"

#include "core/DataFile.h"
#include "core/DataTree.h"
#include "core/app/Application.h"
#include "core/app/RendererStartup.h"
#include "platform/AudioSystem.h"
#include "platform/CoreInput.h"

bool SaveSettingsFile()
{
    CDataTree tree(u"Tessavar");
    tree.AddBool("g_runonce", true);
    AddRendererSettings(tree);
    if (g_audio)
        g_audio->WriteSettings(tree);
    tree.AddBool("i_forcedi5", GetAppState().forceDi5);
    if (g_input)
        g_input->WriteSettings(&tree);
    char path[600];
    return GetUserPath("Tessavar.cfg", path, sizeof(path)) && SaveDataTree(path, &tree, true);
}
