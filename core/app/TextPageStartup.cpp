#include "core/app/TextPageStartup.h"

#include "core/Console.h"
#include "core/app/Application.h"
#include "frontend/GameTextPages.h"
#include "presentation/GuiManager.h"
#include "presentation/SpriteBank.h"
#include "presentation/TextPageManager.h"
#include "world/Game.h"

#include <map>
#include <new>
#include <string>

namespace
{
// The page files "/showpage" loaded, by name, so a name shown again reuses its slot.
std::map<std::string, int> s_shownFiles;

// "/showpage NAME": shows "data\chat\NAME.txt" (a name with its own extension as
// given) over whatever runs, as the game's parts show their pages.
void ShowPageCommand(void*, const char* arguments)
{
    std::string name = arguments ? arguments : "";
    const size_t first = name.find_first_not_of(" \t");
    const size_t last = name.find_last_not_of(" \t");
    name = first == std::string::npos ? std::string() : name.substr(first, last - first + 1);
    if (name.empty() || !g_textPages)
    {
        if (g_console)
            g_console->Printf("usage: /showpage NAME (a page file of data\\chat\\)");
        return;
    }
    const std::string file = name.find('.') == std::string::npos ? "data\\chat\\" + name + ".txt" : name;
    auto known = s_shownFiles.find(file);
    int handle = known != s_shownFiles.end() ? known->second : -1;
    if (handle < 0)
    {
        if (!g_textPages->LoadPage(file.c_str(), 0, handle))
            return; // the manager said why on the console
        s_shownFiles[file] = handle;
    }
    g_textPages->ShowPage(handle, nullptr, 0);
}
} // namespace

EStepResult StartTextPages()
{
    if (g_gui)
        g_textPages = new (std::nothrow) CTextPageManager(*g_gui);
    if (!g_textPages)
        return FailStartup("Error during startup - code 0x8000000f");
    if (g_spriteBank)
        g_textPages->InstallDrawCallback(*g_spriteBank);
    if (CGame* game = GetGame())
        InstallGameTextPages(*game);
    if (g_console)
        g_console->RegisterFunction("/showpage", &ShowPageCommand, nullptr);
    return EStepResult::Continue;
}

void StopTextPages(ETeardownReason)
{
    if (CGame* game = GetGame())
        RemoveGameTextPages(*game);
    if (g_spriteBank && g_textPages)
        g_spriteBank->SetDrawHook(CTextPageManager::DRAW_PLANE, nullptr, 0);
    delete g_textPages;
    g_textPages = nullptr;
    s_shownFiles.clear();
}

void UpdateTextPages()
{
    CGame* game = GetGame();
    if (g_textPages && g_gui && game)
        g_textPages->Update(GetTextPageInput(game->GetControls(), *g_gui));
}
