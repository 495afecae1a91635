// The exit warning: the popup Escape opens over a flight or the main menu, with its
// blinking line and two different quotes out of sixteen. While it is open it has the
// GUI's callback and focus; closing it puts both back.

#include "core/Random.h"
#include "frontend/FrontEndScreen.h"
#include "frontend/GameFlow.h"
#include "platform/Renderer.h"
#include "presentation/GuiControl.h"
#include "presentation/GuiManager.h"
#include "presentation/SpriteTypes.h"
#include "world/Game.h"

namespace
{
// The owner value of the popup's controls: above every screen id.
constexpr int32_t EXIT_WARNING_OWNER = 1000;
constexpr uint32_t TEXT_IN_FLIGHT = 0x1000004;
constexpr uint32_t TEXT_IN_FRONT_END = 0xa0000003;
constexpr float QUOTE_X[2] = {160.0f, 477.0f};
constexpr float QUOTE_Y = 290.0f;

CGameFlow* s_warningFlow = nullptr;
} // namespace

bool CGameFlow::OpenExitWarning(bool fromFrontEnd)
{
    if (IsExitWarningOpen() || !g_gui)
        return false;
    if (!m_exitWarning.Load(EXIT_WARNING_LAYOUT, EXIT_WARNING_OWNER))
        return false;
    m_savedFocus = g_gui->GetFocusHandle();
    m_savedCallback = g_gui->GetEventCallback();
    s_warningFlow = this;
    g_gui->SetEventCallback(&CGameFlow::ExitWarningCallback);
    m_exitWarning.SetVisible(POPUP_WINDOW, true);
    m_exitWarning.Focus(EXIT_CANCEL);
    m_exitWarning.SetTextById(EXIT_TEXT, fromFrontEnd ? TEXT_IN_FRONT_END : TEXT_IN_FLIGHT);
    m_warningFromFrontEnd = fromFrontEnd;
    m_pausedByWarning = false;
    if (!fromFrontEnd)
    {
        m_pausedByWarning = !m_game.IsPaused();
        m_game.SetPaused(true);
        SetPointerShown(true);
    }
    m_blinkTime = GetScreenTime() + BLINK_MS;

    // Two different quotes, or none over a busy screen.
    const CFrontEndScreen* screen = GetCurrentScreen();
    const int quotes = m_game.GetQuoteCount();
    if ((screen && screen->IsBusy()) || quotes < 2)
    {
        m_exitWarning.SetVisible(EXIT_QUOTE_A, false);
        m_exitWarning.SetVisible(EXIT_QUOTE_B, false);
        m_quoteFrames[0] = m_quoteFrames[1] = -1;
        return true;
    }
    const int count = quotes < QUOTE_COUNT ? quotes : QUOTE_COUNT;
    m_quoteFrames[0] = GetGameRandom().Below(count);
    do
        m_quoteFrames[1] = GetGameRandom().Below(count);
    while (m_quoteFrames[1] == m_quoteFrames[0]);
    ShowQuotes(true);
    PlaceWarningQuotes();
    return true;
}

void CGameFlow::ShowQuotes(bool show)
{
    CAnimatedSprite* sprites[2] = {&m_game.GetQuoteSpriteA(), &m_game.GetQuoteSpriteB()};
    for (int i = 0; i < 2; ++i)
    {
        if (!show || m_quoteFrames[i] < 0)
        {
            sprites[i]->Hide();
            continue;
        }
        sprites[i]->SetFrame(static_cast<uint32_t>(m_quoteFrames[i]));
        sprites[i]->SetFlags(SPRITE_VIRTUAL, true);
        sprites[i]->Show();
    }
}

// In flight the sprite bank scrolls by the camera: the quotes move with it so that
// they stay where the popup shows them.
void CGameFlow::PlaceWarningQuotes()
{
    if (!IsExitWarningOpen() || m_quoteFrames[0] < 0)
        return;
    float x = 0.0f, y = 0.0f;
    if (!m_warningFromFrontEnd)
    {
        x = static_cast<float>(static_cast<int32_t>(m_game.GetCamera().GetView().x));
        y = static_cast<float>(static_cast<int32_t>(m_game.GetCamera().GetView().y));
    }
    m_game.GetQuoteSpriteA().SetPosition(CVector2D(QUOTE_X[0] + x, QUOTE_Y + y));
    m_game.GetQuoteSpriteB().SetPosition(CVector2D(QUOTE_X[1] + x, QUOTE_Y + y));
}

void CGameFlow::CloseExitWarning()
{
    if (!IsExitWarningOpen())
        return;
    m_exitWarning.Destroy();
    if (g_gui)
    {
        g_gui->SetEventCallback(m_savedCallback);
        if (g_gui->GetControl(m_savedFocus))
            g_gui->SetFocus(m_savedFocus);
    }
    s_warningFlow = nullptr;
    ClearKeyRing();
    m_game.GetControls().Flush(m_game.GetFrameCount());
    if (m_pausedByWarning)
        m_game.SetPaused(false);
    m_pausedByWarning = false;
    m_quoteFrames[0] = m_quoteFrames[1] = -1;
    ShowQuotes(false);
}

void CGameFlow::UpdateExitWarningBlink()
{
    const uint32_t now = GetScreenTime();
    if (!HasTimeCome(now, m_blinkTime))
        return;
    m_blinkTime = now + BLINK_MS;
    m_exitWarning.SetVisible(EXIT_BLINK, !m_exitWarning.IsVisible(EXIT_BLINK));
}

void CGameFlow::ExitWarningCallback(int32_t owner, int32_t controlId, int32_t event, int32_t)
{
    if (owner == EXIT_WARNING_OWNER && s_warningFlow)
        s_warningFlow->HandleExitWarningEvent(controlId, event);
}

// A click on any of its buttons, texts or quotes closes the popup; "to the main menu"
// then leaves the run, "quit" ends the program.
void CGameFlow::HandleExitWarningEvent(int32_t controlId, int32_t event)
{
    if (event != GUI_EVENT_ACTIVATED)
        return;
    switch (controlId)
    {
    case EXIT_TO_MAIN_MENU:
    case EXIT_QUIT:
    case EXIT_CANCEL:
    case EXIT_TEXT:
    case EXIT_QUOTE_A:
    case EXIT_QUOTE_B:
        break;
    default:
        return;
    }
    const bool fromFrontEnd = m_warningFromFrontEnd;
    CloseExitWarning();
    if (controlId == EXIT_QUIT)
        m_quit = true;
    else if (controlId == EXIT_TO_MAIN_MENU)
    {
        if (fromFrontEnd)
            LeaveRunForMainMenu();
        else
        {
            m_goMainMenu = true;
            SetMode(GAME_MODE_FRONT_END);
        }
    }
}
