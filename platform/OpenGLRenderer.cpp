#include "platform/OpenGLRenderer.h"

#include "platform/VertexBuffer.h"

#include <string>
#include <type_traits>

COpenGLRenderer::COpenGLRenderer(GlProcResolver resolver) : CRenderer(false), m_resolver(resolver)
{
    SetDefaultSettings();
}

COpenGLRenderer::~COpenGLRenderer()
{
    Close();
    for (CVertexBuffer* buffer : m_vertexBuffers)
        delete buffer;
}

bool COpenGLRenderer::LoadLibraryAndEntryPoints()
{
    if (!LoadGlLibrary())
    {
        PrintToConsole("Failed to load the OpenGL library");
        return false;
    }
    m_libraryLoaded = true;
    if (!m_resolver)
        m_resolver = &GetGlProcAddress;
    const char* missing = nullptr;
    if (!LoadGlEntryPoints(m_resolver, m_gl, &missing))
    {
        PrintToConsole("OpenGL entry point %s not found", missing ? missing : "?");
        UnloadLibrary();
        return false;
    }
    return true;
}

void COpenGLRenderer::UnloadLibrary()
{
    if (!m_libraryLoaded)
        return;
    m_gl = SGlApi();
    UnloadGlLibrary();
    m_libraryLoaded = false;
}

bool COpenGLRenderer::Open(const char* title, CConsole* console)
{
    // 1. Title, console, empty input rings.
    m_title = title ? title : "";
    m_console = console;
    m_keyRing.Clear();
    m_mouseRing.Clear();

    // 2. The library and every required entry point.
    if (!LoadLibraryAndEntryPoints())
        return false;

    // 3. The display from the validated settings.
    ValidateDisplaySettings(m_settings);
    m_pending = m_settings;
    m_driverLogged = false;
    if (!CreateDisplay())
    {
        UnloadLibrary();
        return false;
    }

    // 4. Viewport, an empty texture table, compiled vertex arrays when offered.
    ResetViewport();
    ResetTextureTable();
    m_useCva = m_caps.compiledVertexArrays && m_gl.LockArraysEXT && m_gl.UnlockArraysEXT;
    m_opened = true;

    // 5. Console variables, filters, the screenshot stamp.
    RegisterConsoleVariables();
    ComputeFilters();
    LoadScreenshotStamp();
    return true;
}

void COpenGLRenderer::Close()
{
    FreeScreenshotStamp();
    if (m_opened)
    {
        ReleaseAllTextures();
        DestroyDisplay();
        m_opened = false;
    }
    UnloadLibrary();
}

void COpenGLRenderer::NoteLine(const char* line, void* user)
{
    static_cast<COpenGLRenderer*>(user)->PrintToConsole("%s", line);
}

void COpenGLRenderer::LogDriver()
{
    auto text = [this](GLenum name) {
        const GLubyte* value = m_gl.GetString(name);
        return value ? reinterpret_cast<const char*>(value) : "";
    };
    const char* version = text(gl::VERSION);
    PrintToConsole("OpenGL Information");
    PrintToConsole("Version - %s", version);
    PrintToConsole("Vendor - %s", text(gl::VENDOR));
    PrintToConsole("Renderer - %s", text(gl::RENDERER));
    m_caps = SGlCapabilities();
    m_caps.clampToEdge = !IsGlVersionBefore12(version);
    if (!m_caps.clampToEdge)
        PrintToConsole("OpenGL pre V1.2, disabling clamp to edge");
    m_clampMode = m_caps.clampToEdge ? gl::CLAMP_TO_EDGE : gl::CLAMP;

    const std::string extensions = text(gl::EXTENSIONS);
    PrintToConsole("Core Extensions : ");
    size_t start = 0;
    while (start < extensions.size())
    {
        size_t end = extensions.find(' ', start);
        if (end == std::string::npos)
            end = extensions.size();
        if (end > start)
            PrintToConsole("%s", extensions.substr(start, end - start).c_str());
        start = end + 1;
    }
    PrintToConsole("%s", "");
    ScanGlExtensions(extensions.c_str(), m_caps, &COpenGLRenderer::NoteLine, this);

    auto take = [this](const char* name, auto& out) {
        out = reinterpret_cast<std::remove_reference_t<decltype(out)>>(m_resolver(name));
    };
    if (m_caps.compiledVertexArrays)
    {
        take("glLockArraysEXT", m_gl.LockArraysEXT);
        take("glUnlockArraysEXT", m_gl.UnlockArraysEXT);
    }
    if (m_caps.multitexture)
    {
        take("glMultiTexCoord1fARB", m_gl.MultiTexCoord1fARB);
        take("glMultiTexCoord2fARB", m_gl.MultiTexCoord2fARB);
        take("glMultiTexCoord3fARB", m_gl.MultiTexCoord3fARB);
        take("glClientActiveTextureARB", m_gl.ClientActiveTextureARB);
        take("glActiveTextureARB", m_gl.ActiveTextureARB);
        GLint units = 1;
        m_gl.GetIntegerv(gl::MAX_TEXTURE_UNITS, &units);
        m_caps.textureUnits = units > 0 ? units : 1;
        if (!m_gl.ActiveTextureARB || !m_gl.ClientActiveTextureARB)
            m_caps.multitexture = false;
    }
    PrintToConsole("%s", std::string(75, '-').c_str());
}

void COpenGLRenderer::LogPixelFormat()
{
    int colour = 0, depth = 0, stencil = 0, accelerated = -1;
    m_gameWindow.GetGlVisual(colour, depth, stencil, accelerated);
    const GLubyte* name = m_gl.GetString ? m_gl.GetString(gl::RENDERER) : nullptr;
    const bool software = IsSoftwareGlRenderer(reinterpret_cast<const char*>(name));
    const bool hardware = !software && accelerated != 0;
    // An 8-8-8 visual is what a 32-bit request gets.
    const int colourBits = colour >= 24 ? 32 : 16;
    PrintToConsole("Pixel format %04d, %02d color bits, %02d depth bits, %02d stencil bits, Hardware = %s", 1,
                   colourBits, depth, stencil, hardware ? "yes" : "no");
    PrintToConsole("Pixel format requested= %02d color bits, %02d depth bits, %02d stencil bits",
                   int(m_settings.colourBits), int(m_settings.depthBits), 0);
    PrintToConsole("Pixel format received = %02d color bits, %02d depth bits, %02d stencil bits, hardware = %s",
                   colourBits, depth, stencil, hardware ? "yes" : "no");
    m_settings.colourBits = colourBits;
    if (depth == 16 || depth == 24 || depth == 32)
        m_settings.depthBits = depth;
    m_settings.stencilBits = stencil;
}

bool COpenGLRenderer::CreateDisplay()
{
    if (!m_libraryLoaded)
        return false;
    if (m_settings.forceWindowed)
        m_settings.fullScreen = m_pending.fullScreen = false;
    m_creatingDisplay = true;

    RequestGlVisual(m_settings.colourBits, m_settings.depthBits);
    // A window made while the game is being deactivated must not take the focus back.
    bool made = m_gameWindow.Create(m_title.c_str(), m_settings.width, m_settings.height, m_settings.fullScreen,
                                    !m_inActivationChange, &COpenGLRenderer::OnWindowEvent, this, true);
    if (!made)
        PrintToConsole("Failed to create the window");
    else if (!(made = m_gameWindow.CreateGlContext()))
        PrintToConsole("Failed to create the OpenGL context");
    if (made)
    {
        // A platform that reports an unaccelerated visual is refused, except for Mesa's
        // software rasterisers, which are the supported way to run without a graphics card.
        int colour = 0, depth = 0, stencil = 0, accelerated = -1;
        m_gameWindow.GetGlVisual(colour, depth, stencil, accelerated);
        const GLubyte* name = m_gl.GetString(gl::RENDERER);
        if (accelerated == 0 && !IsSoftwareGlRenderer(reinterpret_cast<const char*>(name)))
        {
            PrintToConsole("Pixel format is not accelerated, failed");
            made = false;
        }
    }
    if (!made)
    {
        m_gameWindow.Destroy();
        m_window = nullptr;
        m_creatingDisplay = false;
        return false;
    }
    LogPixelFormat();
    if (!m_driverLogged)
    {
        LogDriver();
        m_driverLogged = true;
    }
    m_window = m_gameWindow.GetNativeHandle();
    m_gameWindow.ShowCursor(false);
    SetDefaultState();
    ResetViewport();
    SetOrtho2D(0.0f, 0.0f, float(m_settings.width), float(m_settings.height));
    m_pending = m_settings;
    m_lastFrame.clear();
    m_lastFrameWidth = m_lastFrameHeight = 0;
    // A shown window is the active one; platforms without a window manager never say so.
    m_isActive = true;
    m_creatingDisplay = false;
    return true;
}

void COpenGLRenderer::DestroyDisplay()
{
    m_destroyingDisplay = true;
    ReleaseScaleTexture();
    m_gameWindow.ShowCursor(true);
    m_gameWindow.Destroy();
    m_window = nullptr;
    m_destroyingDisplay = false;
}

void COpenGLRenderer::SetDefaultState()
{
    m_gl.ShadeModel(gl::SMOOTH);
    m_gl.ClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    m_gl.ClearDepth(1.0);
    m_gl.DepthFunc(gl::LEQUAL);
    m_gl.Disable(gl::DEPTH_TEST);
    m_gl.FrontFace(gl::CW);
    m_gl.CullFace(gl::BACK);
    for (GLenum capability : {gl::CULL_FACE, gl::LIGHTING, gl::FOG, gl::DITHER, gl::BLEND, gl::ALPHA_TEST,
                              gl::STENCIL_TEST, gl::TEXTURE_2D, gl::NORMALIZE, gl::POLYGON_OFFSET_FILL})
        m_gl.Disable(capability);
    for (GLenum hint : {gl::PERSPECTIVE_CORRECTION_HINT, gl::POINT_SMOOTH_HINT, gl::LINE_SMOOTH_HINT,
                        gl::POLYGON_SMOOTH_HINT, gl::FOG_HINT})
        m_gl.Hint(hint, gl::FASTEST);
    for (GLenum array : {gl::EDGE_FLAG_ARRAY, gl::INDEX_ARRAY, gl::NORMAL_ARRAY})
        m_gl.DisableClientState(array);
    if (m_caps.multitexture)
    {
        for (int unit = m_caps.textureUnits - 1; unit > 0; --unit)
        {
            m_gl.ActiveTextureARB(gl::TEXTURE0 + GLenum(unit));
            m_gl.BindTexture(gl::TEXTURE_2D, 0);
            m_gl.Disable(gl::TEXTURE_2D);
            m_gl.TexEnvi(gl::TEXTURE_ENV, gl::TEXTURE_ENV_MODE, GLint(gl::DECAL));
            m_gl.ClientActiveTextureARB(gl::TEXTURE0 + GLenum(unit));
            m_gl.DisableClientState(gl::TEXTURE_COORD_ARRAY);
        }
        m_gl.ActiveTextureARB(gl::TEXTURE0);
        m_gl.ClientActiveTextureARB(gl::TEXTURE0);
    }
    // Rows of any width are read and written packed.
    m_gl.PixelStorei(gl::UNPACK_ALIGNMENT, 1);
    m_gl.PixelStorei(gl::PACK_ALIGNMENT, 1);
    ForgetCachedState();
}

void COpenGLRenderer::ComputeFilters()
{
    // Only level 0 is ever uploaded, so a mipmap minification filter would leave every
    // texture incomplete (drawn as if untextured): "r_mipFilterLinear" is recorded only.
    m_magFilter = m_settings.filterLinear ? gl::LINEAR : gl::NEAREST;
    m_minFilter = m_magFilter;
}

void COpenGLRenderer::OnWindowEvent(const SWindowEvent& event, void* user)
{
    static_cast<COpenGLRenderer*>(user)->HandleWindowEvent(event);
}

void COpenGLRenderer::OnActivate()
{
    // The window procedure re-applies the audio volumes on every activation message.
    CRenderer::OnActivate();
    if (m_activationHook)
        m_activationHook();
}

void COpenGLRenderer::OnCloseRequest()
{
    // Closing the window ends the game, as with the other renderer.
    PostQuitMessage();
}

bool COpenGLRenderer::CanDraw()
{
    return true;
}

void COpenGLRenderer::Tick()
{
    CRenderer::Tick();
    ComputeFilters();
}

int COpenGLRenderer::BeginScene()
{
    if (!m_gameWindow.HasGlContext() || (!m_isActive && m_settings.fullScreen))
        return 0;
    SetOrtho2D(0.0f, 0.0f, float(m_settings.width), float(m_settings.height));
    EnableDepthWrite();
    m_gl.ClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    m_gl.ClearDepth(1.0);
    m_gl.Clear(gl::COLOR_BUFFER_BIT | gl::DEPTH_BUFFER_BIT);
    return 1;
}

void COpenGLRenderer::EndScene()
{
    if (!m_gameWindow.HasGlContext())
        return;
    DrawStatisticsOverlays();
    CaptureFrame();
    PresentScaled();
    m_gameWindow.SwapGlBuffers();
}

void COpenGLRenderer::CaptureFrame()
{
    if (!m_caps.bgra)
        return;
    const int width = m_settings.width, height = m_settings.height;
    m_lastFrame.resize(size_t(width) * size_t(height) * 4);
    m_gl.ReadPixels(0, 0, width, height, gl::BGRA, gl::UNSIGNED_BYTE, m_lastFrame.data());
    m_lastFrameWidth = width;
    m_lastFrameHeight = height;
}

bool COpenGLRenderer::SaveScreenshot(const char* fileName)
{
    if (!m_caps.bgra)
    {
        PrintToConsole("Screenshot dumping requires bgra support, not found");
        return false;
    }
    return CRenderer::SaveScreenshot(fileName);
}

bool COpenGLRenderer::ApiReadFrame(std::vector<uint8_t>& pixels, int& width, int& height)
{
    if (m_lastFrame.empty())
        return false;
    pixels = m_lastFrame;
    width = m_lastFrameWidth;
    height = m_lastFrameHeight;
    return true;
}

void COpenGLRenderer::GetClientRect(int& left, int& top, int& right, int& bottom)
{
    m_gameWindow.GetClientRect(left, top, right, bottom);
}

void COpenGLRenderer::LoadProjection(bool perspective, float left, float right, float bottom, float top,
                                     float nearZ, float farZ)
{
    if (!m_gameWindow.HasGlContext())
        return;
    m_gl.MatrixMode(gl::PROJECTION);
    m_gl.LoadIdentity();
    (perspective ? m_gl.Frustum : m_gl.Ortho)(left, right, bottom, top, nearZ, farZ);
    m_gl.MatrixMode(gl::MODELVIEW);
    m_gl.LoadIdentity();
}

void COpenGLRenderer::SetFrustum(float left, float right, float top, float bottom, float nearZ, float farZ)
{
    LoadProjection(true, left, right, bottom, top, nearZ, farZ);
}

void COpenGLRenderer::ResetViewport()
{
    if (m_gameWindow.HasGlContext())
        m_gl.Viewport(0, 0, m_settings.width, m_settings.height);
}

void COpenGLRenderer::SetViewport(int x, int y, int width, int height)
{
    // y counts from the top; the driver's from the bottom.
    if (m_gameWindow.HasGlContext())
        m_gl.Viewport(x, m_settings.height - y - height, width, height);
}

void COpenGLRenderer::SetPerspective(int width, int height)
{
    const float w = float(width == 0 ? 1 : width), h = float(height == 0 ? 1 : height);
    SetFrustum(-1.0f, 1.0f, h / w, -h / w, 1.0f, 25.0f);
}

void COpenGLRenderer::SetOrthoProjection(float left, float top, float right, float bottom, float nearZ, float farZ)
{
    // y runs down the screen.
    LoadProjection(false, left, right, bottom, top, nearZ, farZ);
}
