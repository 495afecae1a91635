#include "frontend/EmptyScreen.h"

#include "frontend/ScreenIds.h"
#include "presentation/GuiManager.h"

CEmptyScreen::CEmptyScreen(CGameFlow& flow, int screenId, const char* layoutFile)
    : CFrontEndScreen(flow, screenId, layoutFile)
{
}

void CEmptyScreen::Show()
{
    ShowPage();
    if (g_gui)
        g_gui->SetFocus(m_page.FindHandle(GetPageId(GetId())));
    ArmInputGate();
}
