#include "frontend/FrontEndScreen.h"

#include "core/RealTimeClock.h"
#include "frontend/GameFlow.h"
#include "frontend/ScreenIds.h"
#include "presentation/GuiControl.h"
#include "presentation/GuiManager.h"

namespace
{
// The screens by id, for the callback; the owner value of a screen's controls is its id.
CFrontEndScreen* s_screens[SCREEN_TABLE_SIZE] = {};
} // namespace

uint32_t GetScreenTime()
{
    return GetRealTimeClock().GetMs();
}

CFrontEndScreen::CFrontEndScreen(CGameFlow& flow, int screenId, const char* layoutFile)
    : m_flow(flow), m_id(screenId), m_layoutFile(layoutFile)
{
    if (m_id > 0 && m_id < SCREEN_TABLE_SIZE)
        s_screens[m_id] = this;
}

CFrontEndScreen::~CFrontEndScreen()
{
    if (m_id > 0 && m_id < SCREEN_TABLE_SIZE && s_screens[m_id] == this)
        s_screens[m_id] = nullptr;
    if (g_gui)
        g_gui->SetFocus(-1);
    m_popup.Destroy();
    m_page.Destroy();
}

void CFrontEndScreen::Load()
{
    if (m_layoutFile)
        m_page.Load(m_layoutFile, m_id);
    // A layout without its page window still loads; nothing is hidden then.
    m_page.SetVisible(GetPageId(m_id), false);
}

void CFrontEndScreen::Hide()
{
    ClosePopup(-1);
    HidePage();
}

bool CFrontEndScreen::IsPopupOpen() const
{
    return m_popup.Find(POPUP_WINDOW) != nullptr;
}

void CFrontEndScreen::ArmInputGate(uint32_t ms)
{
    m_inputGate = GetScreenTime() + ms;
}

bool CFrontEndScreen::IsInputGateOpen() const
{
    return HasTimeCome(GetScreenTime(), m_inputGate);
}

void CFrontEndScreen::DispatchEvent(int32_t owner, int32_t controlId, int32_t event, int32_t value)
{
    if (owner <= 0 || owner >= SCREEN_TABLE_SIZE || !s_screens[owner])
        return;
    CFrontEndScreen& screen = *s_screens[owner];
    if (!screen.IsInputGateOpen())
        return;
    screen.HandleEvent(controlId, event, value);
}

void CFrontEndScreen::ShowPage()
{
    m_page.SetVisible(GetPageId(m_id), true);
    if (g_gui)
        g_gui->SetEventCallback(&CFrontEndScreen::DispatchEvent);
}

void CFrontEndScreen::HidePage()
{
    m_page.SetVisible(GetPageId(m_id), false);
}

void CFrontEndScreen::LeavePageFor(int screen)
{
    HidePage();
    m_flow.GetDirector().StopSequence();
    m_flow.SetScreen(screen);
}

bool CFrontEndScreen::OpenPopup(const char* file, int focusId, uint32_t messageId)
{
    m_popup.Destroy();
    if (!m_popup.Load(file, m_id))
        return false;
    m_popup.SetVisible(POPUP_WINDOW, true);
    if (messageId != NO_TEXT)
        m_popup.SetTextById(POPUP_MESSAGE, messageId);
    m_popup.Focus(focusId);
    return true;
}

void CFrontEndScreen::ClosePopup(int focusId)
{
    if (!m_popup.IsLoaded())
        return;
    m_popup.SetVisible(POPUP_WINDOW, false);
    m_popup.Destroy();
    if (focusId >= 0)
        m_page.Focus(focusId);
}

bool CFrontEndScreen::FocusBackOnBackAction(int32_t event, int32_t value, int backId)
{
    if (event != GUI_EVENT_ACTION || value != GUI_ACTION_BACK)
        return false;
    if (m_page.IsVisible(backId))
        m_page.Focus(backId);
    return true;
}
