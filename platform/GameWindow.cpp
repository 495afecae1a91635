#include "platform/GameWindow.h"

#include "core/Utf8Text.h"
#include "platform/SdlVideo.h"

#include <SDL.h>
#include <cstdio>
#include <cstring>

#include <algorithm>

namespace
{
// SDL falls back to drawing nowhere ("offscreen", "dummy") when no display can be
// reached. A player would get a game that runs unseen, so such a driver counts only
// when it was asked for by name (automated runs do).
bool IsVisibleOrAskedFor()
{
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0))
        return true;
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    return asked && std::strstr(asked, driver) != nullptr;
}

// The one game window whose messages are delivered.
struct SWindowTarget
{
    uint32_t id = 0;
    WindowEventHandler handler = nullptr;
    void* user = nullptr;
    int bufferWidth = 0;
    int bufferHeight = 0;
};
SWindowTarget s_target;
RawEventObserver s_observer = nullptr;

void Deliver(const SWindowEvent& event)
{
    if (s_target.handler)
        s_target.handler(event, s_target.user);
}

// Window pixels to back-buffer pixels (a full-screen window shows the buffer scaled).
void MapToBuffer(int windowX, int windowY, int32_t& x, int32_t& y)
{
    SDL_Window* window = SDL_GetWindowFromID(s_target.id);
    int width = s_target.bufferWidth, height = s_target.bufferHeight;
    if (window)
        SDL_GetWindowSize(window, &width, &height);
    SLetterbox box = ComputeLetterbox(width, height, s_target.bufferWidth, s_target.bufferHeight);
    if (box.width <= 0 || box.height <= 0)
    {
        x = windowX;
        y = windowY;
        return;
    }
    x = int32_t((int64_t(windowX) - box.x) * s_target.bufferWidth / box.width);
    y = int32_t((int64_t(windowY) - box.y) * s_target.bufferHeight / box.height);
}

// Typed text arrives as UTF-8; characters up to 255 are what the game's text takes.
void DeliverText(const char* text)
{
    std::u16string units;
    Utf8ToUtf16(text, units); // whatever decoded before a malformed byte still counts
    for (char16_t unit : units)
    {
        if (unit > 255)
            continue;
        SWindowEvent event;
        event.type = EWindowEventType::Character;
        event.code = unit;
        Deliver(event);
    }
}

void DeliverKey(const SDL_KeyboardEvent& key)
{
    SWindowEvent event;
    event.repeat = key.repeat != 0;
    switch (key.keysym.sym)
    {
    // Control characters come as characters, auto-repeats included.
    case SDLK_BACKSPACE: event.type = EWindowEventType::Character; event.code = 8; break;
    case SDLK_TAB: event.type = EWindowEventType::Character; event.code = 9; break;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: event.type = EWindowEventType::Character; event.code = 13; break;
    case SDLK_ESCAPE: event.type = EWindowEventType::Character; event.code = 27; break;
    case SDLK_LEFT: event.type = EWindowEventType::KeyDown; event.code = VIRTUAL_KEY_LEFT; break;
    case SDLK_UP: event.type = EWindowEventType::KeyDown; event.code = VIRTUAL_KEY_UP; break;
    case SDLK_RIGHT: event.type = EWindowEventType::KeyDown; event.code = VIRTUAL_KEY_RIGHT; break;
    case SDLK_DOWN: event.type = EWindowEventType::KeyDown; event.code = VIRTUAL_KEY_DOWN; break;
    case SDLK_DELETE: event.type = EWindowEventType::KeyDown; event.code = VIRTUAL_KEY_DELETE; break;
    default: return;
    }
    Deliver(event);
}

void Dispatch(const SDL_Event& e)
{
    SWindowEvent event;
    switch (e.type)
    {
    case SDL_WINDOWEVENT:
        if (e.window.windowID != s_target.id)
            return; // a window that was replaced by a display reset
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
            event.type = EWindowEventType::Activate;
        else if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
            event.type = EWindowEventType::Deactivate;
        else if (e.window.event == SDL_WINDOWEVENT_CLOSE)
            event.type = EWindowEventType::Close;
        else
            return;
        Deliver(event);
        return;
    case SDL_TEXTINPUT:
        if (e.text.windowID == s_target.id)
            DeliverText(e.text.text);
        return;
    case SDL_KEYDOWN:
        if (e.key.windowID == s_target.id)
            DeliverKey(e.key);
        return;
    case SDL_MOUSEMOTION:
        if (e.motion.windowID != s_target.id)
            return;
        event.type = EWindowEventType::MouseMove;
        MapToBuffer(e.motion.x, e.motion.y, event.x, event.y);
        Deliver(event);
        return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (e.button.windowID != s_target.id || (e.button.button != SDL_BUTTON_LEFT && e.button.button != SDL_BUTTON_RIGHT))
            return;
        event.type = EWindowEventType::MouseButton;
        event.button = e.button.button == SDL_BUTTON_LEFT ? 0 : 1;
        event.pressed = e.type == SDL_MOUSEBUTTONDOWN;
        MapToBuffer(e.button.x, e.button.y, event.x, event.y);
        Deliver(event);
        return;
    default:
        return;
    }
}
} // namespace

SLetterbox ComputeLetterbox(int windowWidth, int windowHeight, int bufferWidth, int bufferHeight)
{
    SLetterbox box;
    if (windowWidth <= 0 || windowHeight <= 0 || bufferWidth <= 0 || bufferHeight <= 0)
        return box;
    // Fit by width unless that makes it too tall.
    if (int64_t(windowWidth) * bufferHeight <= int64_t(windowHeight) * bufferWidth)
    {
        box.width = windowWidth;
        box.height = int(int64_t(windowWidth) * bufferHeight / bufferWidth);
    }
    else
    {
        box.height = windowHeight;
        box.width = int(int64_t(windowHeight) * bufferWidth / bufferHeight);
    }
    box.x = (windowWidth - box.width) / 2;
    box.y = (windowHeight - box.height) / 2;
    return box;
}

CGameWindow::~CGameWindow()
{
    Destroy();
}

bool CGameWindow::Create(const char* title, int width, int height, bool fullScreen, bool raise,
                         WindowEventHandler handler, void* user, bool openGl)
{
    Destroy();
    // A window remade while the game loses the focus must not take it back where the
    // platform lets us say so; its focus events would turn into a loop of resets.
    SDL_SetHint(SDL_HINT_WINDOW_NO_ACTIVATION_WHEN_SHOWN, raise ? "0" : "1");
    if (!AcquireSdlVideo())
        return false;
    m_ownsVideo = true;
    if (!IsVisibleOrAskedFor())
    {
        TellNoDisplay();
        Destroy();
        return false;
    }
    Uint32 flags = fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0;
    if (openGl)
        flags |= SDL_WINDOW_OPENGL;
    int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED, windowWidth = width, windowHeight = height;
    SDL_Rect desktop;
    if ((flags & SDL_WINDOW_FULLSCREEN_DESKTOP) && SDL_GetDisplayBounds(0, &desktop) == 0 && desktop.w > 0 &&
        desktop.h > 0)
    {
        // The window itself covers the desktop, borderless: full screen is only a request
        // to a window manager, and with none the window would keep its own size while SDL
        // reports (and hands out a surface of) the desktop's.
        flags |= SDL_WINDOW_BORDERLESS;
        x = desktop.x;
        y = desktop.y;
        windowWidth = desktop.w;
        windowHeight = desktop.h;
    }
    SDL_Window* window = SDL_CreateWindow(title ? title : "", x, y, windowWidth, windowHeight, flags);
    if (!window)
    {
        Destroy();
        return false;
    }
    m_window = window;
    m_id = SDL_GetWindowID(window);
    s_target = SWindowTarget{m_id, handler, user, width, height};
    SDL_DisableScreenSaver();
    if (raise)
        SDL_RaiseWindow(window);
    return true;
}

void CGameWindow::Destroy()
{
    DestroyGlContext();
    if (m_window)
    {
        if (s_target.id == m_id)
            s_target = SWindowTarget();
        SDL_DestroyWindow(static_cast<SDL_Window*>(m_window));
        m_window = nullptr;
        m_id = 0;
    }
    if (m_ownsVideo)
    {
        ReleaseSdlVideo();
        m_ownsVideo = false;
    }
}

void CGameWindow::GetClientRect(int& left, int& top, int& right, int& bottom) const
{
    left = top = right = bottom = 0;
    if (!m_window)
        return;
    int width = 0, height = 0;
    SDL_GetWindowPosition(static_cast<SDL_Window*>(m_window), &left, &top);
    SDL_GetWindowSize(static_cast<SDL_Window*>(m_window), &width, &height);
    right = left + width;
    bottom = top + height;
}

void CGameWindow::ShowCursor(bool show)
{
    if (m_window)
        SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void ConstrainPointerToWindow(void* nativeWindow, bool constrain)
{
    if (nativeWindow)
        SDL_SetWindowGrab(static_cast<SDL_Window*>(nativeWindow), constrain ? SDL_TRUE : SDL_FALSE);
}

EPumpResult PumpWindowMessage()
{
    if (SDL_WasInit(SDL_INIT_EVENTS) == 0)
        return EPumpResult::Idle;
    SDL_Event event;
    if (!SDL_PollEvent(&event))
        return EPumpResult::Idle;
    if (event.type == SDL_QUIT)
        return EPumpResult::Quit;
    if (s_observer)
        s_observer(&event);
    Dispatch(event);
    return EPumpResult::Handled;
}

void PostQuitMessage()
{
    if (SDL_WasInit(SDL_INIT_EVENTS) == 0)
        return;
    SDL_Event event{};
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
}

void SetRawEventObserver(RawEventObserver observer)
{
    s_observer = observer;
}
