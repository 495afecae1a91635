#pragma once
// The game window and the message pump, over SDL. The renderer owns the window; its
// events (activation, typed keys, mouse) go to the handler given at creation, which
// plays the part of the window procedure.

#include <cstdint>

enum class EWindowEventType
{
    Activate,
    Deactivate,
    Close,
    Character,  // code: a typed character (control characters 8, 9, 13 and 27 included)
    KeyDown,    // code: virtual-key code of the arrows (37-40) and Delete (46); repeat set for auto-repeats
    MouseMove,
    MouseButton,  // button 0 left, 1 right; pressed or released
};

struct SWindowEvent
{
    EWindowEventType type = EWindowEventType::MouseMove;
    uint32_t code = 0;
    bool repeat = false;
    int32_t x = 0;  // back-buffer pixels
    int32_t y = 0;
    int button = 0;
    bool pressed = false;
};

constexpr uint32_t VIRTUAL_KEY_LEFT = 37;
constexpr uint32_t VIRTUAL_KEY_UP = 38;
constexpr uint32_t VIRTUAL_KEY_RIGHT = 39;
constexpr uint32_t VIRTUAL_KEY_DOWN = 40;
constexpr uint32_t VIRTUAL_KEY_DELETE = 46;

using WindowEventHandler = void (*)(const SWindowEvent& event, void* user);

// Where a back buffer of width x height lands in a window of the given client size:
// as large as fits with its aspect kept, centred.
struct SLetterbox
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
SLetterbox ComputeLetterbox(int windowWidth, int windowHeight, int bufferWidth, int bufferHeight);

class CGameWindow
{
public:
    CGameWindow() = default;
    ~CGameWindow();
    CGameWindow(const CGameWindow&) = delete;
    CGameWindow& operator=(const CGameWindow&) = delete;

    // Full screen covers the desktop and shows the back buffer scaled to fit (the display
    // mode is never changed, so full screen is had on any display); a window has the back
    // buffer's size. raise: bring it to the front and give it focus. openGl: a window for
    // an OpenGL context (see RequestGlVisual); its renderer scales the picture itself.
    bool Create(const char* title, int width, int height, bool fullScreen, bool raise, WindowEventHandler handler,
                void* user, bool openGl = false);
    void Destroy();
    bool IsOpen() const { return m_window != nullptr; }

    // The platform window (an SDL_Window*), for the device that presents into it.
    void* GetNativeHandle() const { return m_window; }
    // The client rectangle in screen coordinates.
    void GetClientRect(int& left, int& top, int& right, int& bottom) const;
    void ShowCursor(bool show);

    // The OpenGL context of a window made with openGl, made current on creation.
    bool CreateGlContext();
    void DestroyGlContext();
    bool HasGlContext() const { return m_glContext != nullptr; }
    void SwapGlBuffers();
    // The size in pixels of what an OpenGL context draws into: the whole window.
    void GetGlDrawableSize(int& width, int& height) const;
    // What the context was given: colour, depth and stencil bits; accelerated is -1 when
    // the platform cannot tell.
    void GetGlVisual(int& colourBits, int& depthBits, int& stencilBits, int& accelerated) const;
    bool IsFullScreen() const;

private:
    void* m_window = nullptr;
    void* m_glContext = nullptr;
    uint32_t m_id = 0;
    bool m_ownsVideo = false;
};

enum class EPumpResult
{
    Idle,     // nothing was waiting
    Handled,  // one message was handled
    Quit,     // the program was asked to end
};

// Takes one waiting message and hands it to its window; messages of windows that no
// longer exist are dropped.
EPumpResult PumpWindowMessage();

// Keeps the pointer inside a platform window (the renderer's window handle) or lets
// it go again; nothing for a null window.
void ConstrainPointerToWindow(void* nativeWindow, bool constrain);

// Asks the pump to report Quit (closing the game window does this).
void PostQuitMessage();

// The OpenGL library, loaded at run time (it starts the video subsystem it needs), and its
// entry points by name. Null when the platform has no OpenGL.
bool LoadGlLibrary();
void UnloadGlLibrary();
void* GetGlProcAddress(const char* name);
// The pixel format asked of the next OpenGL window: 16 or 32 colour bits, no alpha and no
// stencil, double-buffered.
void RequestGlVisual(int colourBits, int depthBits);
// Whether an OpenGL context can be made here at all (a small hidden window); when not,
// reason tells why.
bool ProbeGlContext(char* reason, unsigned reasonSize);

// Whatever else wants to see the raw platform events (the input layer) registers here.
using RawEventObserver = void (*)(const void* platformEvent);
void SetRawEventObserver(RawEventObserver observer);
