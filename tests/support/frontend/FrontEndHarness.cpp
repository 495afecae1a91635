#include "tests/support/frontend/FrontEndHarness.h"

#include "core/RealTimeClock.h"
#include "core/StringTable.h"
#include "frontend/FrontEndScreen.h"
#include "frontend/LoadingScreen.h"
#include "presentation/GuiControl.h"
#include "presentation/GuiManager.h"
#include "ships/ShipObjectTypes.h"
#include "world/DirectorLink.h"
#include "utility/source/QelPackArchive.h"
#include "utility/source/QelPathResolve.h"
#include "world/GuiActions.h"

namespace
{
uint32_t HarnessClock()
{
    return GetRealTimeClock().GetMs();
}

void CreateUserFolders(const std::string& home)
{
    CreateFolderNoCase(home + "/tessavar");
    CreateFolderNoCase(home + "/tessavar/data");
}
} // namespace

CFrontEndHarness::CFrontEndHarness(bool makeScreens, CGameFlow::ScreenFactory factory,
                                   std::unique_ptr<CRenderer> renderer)
    : m_homeVariable("TESSAVAR_HOME", m_home.GetPath().c_str()),
      m_folder(TESS_BIN_DIR)
{
    CreateUserFolders(m_home.GetPath());
    // The pictures ship in the patch pack, as a player's installation has them; the
    // texts (and the ship parts' names, without which a level does not load) in the
    // string table.
    InitPackArchive();
    m_oldStrings = g_stringTable;
    m_strings = std::make_unique<CStringTable>();
    if (m_strings->Load(STRING_TABLE_PATH))
    {
        m_strings->SelectLanguage(0);
        g_stringTable = m_strings.get();
    }
    m_world = std::make_unique<CWorldHarness>(1, &RegisterShipObjectTypes, std::move(renderer));
    m_gui = std::make_unique<CGuiManager>(m_world->GetDrawingRenderer());
    m_gui->SetClock(&HarnessClock);
    m_flow = std::make_unique<CGameFlow>(GetGame());
    if (factory)
        m_flow->SetScreenFactory(factory);
    GetGame().SetGameFlow(m_flow.get());
    if (makeScreens)
        m_flow->CreateScreens();
}

CFrontEndHarness::~CFrontEndHarness()
{
    GetGame().SetGameFlow(nullptr);
    m_flow.reset();
    ReleaseLoadingScreen();
    m_gui.reset();
    m_world.reset();
    g_stringTable = m_oldStrings;
    m_strings.reset();
    FreePackArchive();
}

void CFrontEndHarness::RunFrame()
{
    CGame& game = GetGame();
    game.BeginFrame();
    m_gui->SetActionInput(GetGuiActions(game.GetControls()));
    m_gui->StampFrameTime();
    if (game.GetDirector().IsGateOpen(GATE_GUI_KEYBOARD))
        m_gui->Update();
    m_gui->UpdateMouse();
    m_flow->Update();
    m_flow->UpdateMusic();
    game.PollControls(&m_world->GetInput());
    float x = 0.0f, y = 0.0f;
    game.UpdateFrame(&x, &y);
    if (game.GetGameFlow().GetMode() == GAME_MODE_FRONT_END)
        m_flow->DrawFrontEnd();
    m_flow->Draw();
    game.EndFrame();
}

void CFrontEndHarness::RunFrames(uint32_t count)
{
    for (uint32_t i = 0; i < count; ++i)
        RunFrame();
}

void CFrontEndHarness::PressKey(int code)
{
    m_world->SetKey(code, true);
}

void CFrontEndHarness::ReleaseKey(int code)
{
    m_world->SetKey(code, false);
}

void CFrontEndHarness::TapKey(int code)
{
    PressKey(code);
    RunFrame();
    ReleaseKey(code);
}

void CFrontEndHarness::Activate(int32_t owner, int32_t controlId)
{
    m_gui->RaiseEvent(owner, controlId, GUI_EVENT_ACTIVATED, 0);
}

void CFrontEndHarness::RaiseAction(int32_t owner, int32_t controlId, int action)
{
    m_gui->RaiseEvent(owner, controlId, GUI_EVENT_ACTION, action);
}

void CFrontEndHarness::WaitForInputGate()
{
    RunFrames(CFrontEndScreen::INPUT_GATE_MS / 40 + 1);
}

bool CFrontEndHarness::StartFlight()
{
    // The first frame brings the front end; the request for flight acts in the next.
    RunFrame();
    if (!m_world->StartLevel())
        return false;
    m_flow->SetRunActive(true);
    m_flow->SetMode(GAME_MODE_FLIGHT);
    RunFrame();
    return m_flow->GetMode() == GAME_MODE_FLIGHT;
}

int CFrontEndHarness::GetFocusId() const
{
    CGuiControl* focus = m_gui->GetFocus();
    return focus ? focus->GetControlId() : -1;
}

int CFrontEndHarness::CountWindows(int controlId) const
{
    int count = 0;
    for (int handle = 0; handle < CGuiManager::MAX_CONTROLS; ++handle)
    {
        CGuiControl* control = m_gui->GetControl(handle);
        if (control && control->GetType() == GUI_TYPE_WINDOW && control->GetControlId() == controlId)
            ++count;
    }
    return count;
}
