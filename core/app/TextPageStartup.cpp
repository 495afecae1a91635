#include "core/app/TextPageStartup.h"

#include "core/app/Application.h"
#include "frontend/GameTextPages.h"
#include "presentation/GuiManager.h"
#include "presentation/SpriteBank.h"
#include "presentation/TextPageManager.h"
#include "world/Game.h"

#include <new>

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
}

void UpdateTextPages()
{
    CGame* game = GetGame();
    if (g_textPages && g_gui && game)
        g_textPages->Update(GetTextPageInput(game->GetControls(), *g_gui));
}
