// The OpenGL side of the game window: the library, the pixel format, the context.
#include "platform/GameWindow.h"
#include "platform/SdlVideo.h"

#include <SDL.h>

namespace
{
int s_libraryUsers = 0;
} // namespace

bool LoadGlLibrary()
{
    if (!AcquireSdlVideo())
        return false;
    if (SDL_GL_LoadLibrary(nullptr) != 0)
    {
        ReleaseSdlVideo();
        return false;
    }
    ++s_libraryUsers;
    return true;
}

void UnloadGlLibrary()
{
    if (s_libraryUsers <= 0)
        return;
    --s_libraryUsers;
    SDL_GL_UnloadLibrary();
    ReleaseSdlVideo();
}

void* GetGlProcAddress(const char* name)
{
    return s_libraryUsers > 0 && name ? SDL_GL_GetProcAddress(name) : nullptr;
}

void RequestGlVisual(int colourBits, int depthBits)
{
    const bool deep = colourBits >= 24;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, deep ? 8 : 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, deep ? 8 : 6);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, deep ? 8 : 5);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // A context of the old kind, with the fixed-function pipeline: no profile asked for.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, 0);
}

bool ProbeGlContext(char* reason, unsigned reasonSize)
{
    auto fail = [&](const char* what) {
        if (reason && reasonSize)
            SDL_snprintf(reason, reasonSize, "%s: %s", what, SDL_GetError());
        return false;
    };
    if (!LoadGlLibrary())
        return fail("no OpenGL library");
    RequestGlVisual(32, 16);
    SDL_Window* window = SDL_CreateWindow("probe", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    bool made = false;
    if (!window)
        fail("no OpenGL window");
    else
    {
        SDL_GLContext context = SDL_GL_CreateContext(window);
        if (!context)
            fail("no OpenGL context");
        else
        {
            made = true;
            SDL_GL_MakeCurrent(window, nullptr);
            SDL_GL_DeleteContext(context);
        }
        SDL_DestroyWindow(window);
    }
    UnloadGlLibrary();
    return made;
}

bool CGameWindow::CreateGlContext()
{
    if (!m_window)
        return false;
    DestroyGlContext();
    auto* window = static_cast<SDL_Window*>(m_window);
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context)
        return false;
    if (SDL_GL_MakeCurrent(window, context) != 0)
    {
        SDL_GL_DeleteContext(context);
        return false;
    }
    // The game paces its own frames.
    SDL_GL_SetSwapInterval(0);
    m_glContext = context;
    return true;
}

void CGameWindow::DestroyGlContext()
{
    if (!m_glContext)
        return;
    SDL_GL_MakeCurrent(static_cast<SDL_Window*>(m_window), nullptr);
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(m_glContext));
    m_glContext = nullptr;
}

void CGameWindow::SwapGlBuffers()
{
    if (m_window && m_glContext)
        SDL_GL_SwapWindow(static_cast<SDL_Window*>(m_window));
}

void CGameWindow::GetGlDrawableSize(int& width, int& height) const
{
    width = height = 0;
    if (m_window)
        SDL_GL_GetDrawableSize(static_cast<SDL_Window*>(m_window), &width, &height);
}

void CGameWindow::GetGlVisual(int& colourBits, int& depthBits, int& stencilBits, int& accelerated) const
{
    int red = 0, green = 0, blue = 0;
    SDL_GL_GetAttribute(SDL_GL_RED_SIZE, &red);
    SDL_GL_GetAttribute(SDL_GL_GREEN_SIZE, &green);
    SDL_GL_GetAttribute(SDL_GL_BLUE_SIZE, &blue);
    colourBits = red + green + blue;
    depthBits = 0;
    stencilBits = 0;
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depthBits);
    SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &stencilBits);
    accelerated = -1;
    int value = 0;
    if (SDL_GL_GetAttribute(SDL_GL_ACCELERATED_VISUAL, &value) == 0)
        accelerated = value ? 1 : 0;
}

bool CGameWindow::IsFullScreen() const
{
    return m_window && (SDL_GetWindowFlags(static_cast<SDL_Window*>(m_window)) & SDL_WINDOW_FULLSCREEN) != 0;
}
