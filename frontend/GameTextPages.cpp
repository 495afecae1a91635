#include "frontend/GameTextPages.h"

#include "presentation/GuiManager.h"
#include "presentation/TextPageManager.h"
#include "world/Controls.h"
#include "world/Game.h"
#include "world/GuiActions.h"

namespace
{
CGameTextPages s_link;
} // namespace

bool CGameTextPages::IsAnyPageShowing() const
{
    return g_textPages && g_textPages->IsAnyPageShowing();
}

void CGameTextPages::SetPilotName(const std::u16string& name)
{
    if (g_textPages)
        g_textPages->SetPilotName(name);
    if (g_gui)
        g_gui->SetPilotName(name);
}

void InstallGameTextPages(CGame& game)
{
    game.SetTextPages(&s_link);
}

void RemoveGameTextPages(CGame& game)
{
    game.SetTextPages(nullptr);
}

STextPageInput GetTextPageInput(const CControls& controls, const CGuiManager& gui)
{
    const SGuiActionInput actions = GetGuiActions(controls);
    STextPageInput input;
    input.select = actions.pressed[GUI_ACTION_SELECT] || actions.pressed[GUI_ACTION_SELECT_2];
    input.leftButton = gui.IsLeftButtonDown();
    input.rightButton = gui.IsRightButtonHeld();
    input.now = gui.GetFrameTime();
    return input;
}
