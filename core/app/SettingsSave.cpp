#include "core/app/SettingsSave.h"

#include "core/Console.h"
#include "core/DataFile.h"
#include "core/DataTree.h"
#include "core/app/Application.h"
#include "core/app/RendererStartup.h"
#include "platform/AudioSystem.h"
#include "platform/CoreInput.h"

#include <cerrno>
#include <cstring>

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
    if (!GetUserPath("Tessavar.cfg", path, sizeof(path)))
    {
        if (g_console)
            g_console->Printf("The settings were not saved: no user folder (set TESSAVAR_HOME)");
        return false;
    }
    errno = 0;
    if (SaveDataTree(path, &tree, true))
        return true;
    int error = errno;
    if (g_console)
        g_console->Printf("The settings were not saved: %s could not be written (%s)", path,
                          error ? std::strerror(error) : "unknown reason");
    return false;
}
