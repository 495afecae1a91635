#include "platform/Renderer.h"

#include "core/Clock.h"
#include "core/Console.h"
#include "platform/DebugOutput.h"

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdio>

CRenderer* g_renderer = nullptr;

namespace
{
int64_t NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
} // namespace

void ValidateDisplaySettings(SDisplaySettings& settings)
{
    if (settings.colourBits != 16 && settings.colourBits != 32)
        settings.colourBits = 16;
    if (settings.depthBits != 16 && settings.depthBits != 24 && settings.depthBits != 32)
        settings.depthBits = 16;
    settings.stencilBits = 0;
    if (settings.width != 640 && settings.width != 800)
        settings.width = 640;
    settings.height = settings.width == 800 ? 600 : 480;
}

CRenderer::CRenderer(bool colourIsArgb) : m_colourIsArgb(colourIsArgb)
{
}

CRenderer::~CRenderer() = default;

void CRenderer::SetDefaultSettings()
{
    m_settings = SDisplaySettings();
    m_pending = m_settings;
}

uint32_t CRenderer::PackColour(float red, float green, float blue, float alpha) const
{
    auto byte = [](float v) { return uint32_t(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); };
    uint32_t r = byte(red), g = byte(green), b = byte(blue), a = byte(alpha);
    return m_colourIsArgb ? (a << 24 | r << 16 | g << 8 | b) : (a << 24 | b << 16 | g << 8 | r);
}

void CRenderer::Tick()
{
    uint32_t now = GetTickMs();
    m_frameDurationMs = now - m_lastTickMs;
    m_lastTickMs = now;
    m_tickStampNs = NowNs();
    m_polygonCount = 0;
    ++m_frameCount;
}

void CRenderer::SetOrtho2D(float left, float top, float right, float bottom)
{
    SetOrthoProjection(left, top, right, bottom, 0.0f, -25.0f);
}

void CRenderer::GetWindowHandle(void** window)
{
    if (window)
        *window = m_window;
}

bool CRenderer::IsActive()
{
    return m_isActive;
}

void CRenderer::ShowTiming(bool show)
{
    m_showTiming = show;
}

void CRenderer::ShowPolyCount(bool show)
{
    m_showPolyCount = show;
}

void CRenderer::ShowTextureUsage(bool show)
{
    m_showTextureUsage = show;
}

void CRenderer::ShowPerFrameTextureUsage(bool)
{
}

void CRenderer::PrintToConsole(const char* format, ...)
{
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    CConsole* console = m_console ? m_console : g_console;
    if (console)
        console->Printf("%s", text);
    else
        DebugOutput("%s\n", text);
}

void CRenderer::RegisterConsoleVariables()
{
    // They edit the pending copy, which the next display reset makes current. Every
    // open comes here: the variables are registered once, into the console of the open,
    // through the renderer's registrations, so they go with the renderer.
    CConsole* console = m_console ? m_console : g_console;
    if (!console || console == m_consoleEntries.GetConsole())
        return;
    const struct
    {
        const char* name;
        void* pointer;
        int type;
    } variables[] = {
        {"r_fullscreen", &m_pending.fullScreen, CONSOLE_VAR_BOOL},
        {"r_backBufferWidth", &m_pending.width, CONSOLE_VAR_INT},
        {"r_backBufferHeight", &m_pending.height, CONSOLE_VAR_INT},
        {"r_colorBits", &m_pending.colourBits, CONSOLE_VAR_INT},
        {"r_depthBits", &m_pending.depthBits, CONSOLE_VAR_INT},
        {"r_stencilBits", &m_pending.stencilBits, CONSOLE_VAR_INT},
        {"r_hiQualityTextures", &m_pending.hiQualityTextures, CONSOLE_VAR_BOOL},
        {"r_compressedTextures", &m_pending.compressedTextures, CONSOLE_VAR_BOOL},
        {"r_mipmap", &m_pending.mipmap, CONSOLE_VAR_BOOL},
        {"r_filterlinear", &m_pending.filterLinear, CONSOLE_VAR_BOOL},
        {"r_mipFilterLinear", &m_pending.mipFilterLinear, CONSOLE_VAR_BOOL},
    };
    for (const auto& variable : variables)
        m_consoleEntries.AddVariable(console, variable.name, variable.pointer, variable.type);
}

// ---- restore callbacks ------------------------------------------------------------

bool CRenderer::AddTextureRestoreCallback(RendererRestoreCallback callback, uint32_t userValue)
{
    m_textureCallbacks.push_back({callback, userValue});
    return true;
}

bool CRenderer::RemoveTextureRestoreCallback(RendererRestoreCallback callback, uint32_t userValue)
{
    return RemoveCallback(m_textureCallbacks, callback, userValue);
}

bool CRenderer::AddDeviceRestoreCallback(RendererRestoreCallback callback, uint32_t userValue)
{
    m_deviceCallbacks.push_back({callback, userValue});
    return true;
}

bool CRenderer::RemoveDeviceRestoreCallback(RendererRestoreCallback callback, uint32_t userValue)
{
    return RemoveCallback(m_deviceCallbacks, callback, userValue);
}

// One function serves several owners told apart by the value (one sprite bank each,
// say): a record goes only when both match, so one owner never takes another's.
bool CRenderer::RemoveCallback(std::vector<SRestoreCallback>& list, RendererRestoreCallback callback,
                               uint32_t userValue)
{
    for (auto it = list.begin(); it != list.end(); ++it)
        if (it->callback == callback && it->userValue == userValue)
        {
            list.erase(it);
            return true;
        }
    return false;
}

void CRenderer::RunCallbacks(const std::vector<SRestoreCallback>& list)
{
    // A callback may add or remove callbacks: walk a copy.
    std::vector<SRestoreCallback> snapshot = list;
    for (const SRestoreCallback& record : snapshot)
        if (record.callback)
            record.callback(record.userValue);
}

// ---- display reset and activation -------------------------------------------------

bool CRenderer::ResetDisplay()
{
    // 1. The input device is bound to the window that is about to go.
    if (m_inputHooks.destroy)
        m_inputHooks.destroy();

    // 2. Device objects and textures go; named slots keep their name and count.
    ApiReleaseDeviceObjects();
    for (STextureSlot& slot : m_textures)
    {
        if (!slot.inUse)
            continue;
        ApiReleaseTexture(slot);
        if (slot.reserved)
            slot = STextureSlot();
    }
    m_textureBytes = 0;
    DestroyDisplay();

    // 3. The pending settings, else the previous ones, else the defaults.
    m_backup = m_settings;
    m_settings = m_pending;
    ValidateDisplaySettings(m_settings);
    bool created = CreateDisplay();
    if (!created)
    {
        m_settings = m_pending = m_backup;
        created = CreateDisplay();
    }
    if (!created)
    {
        SetDefaultSettings();
        created = CreateDisplay();
    }
    if (created)
    {
        // 4. Fresh device state.
        ForgetCachedState();
        ResetViewport();

        // 5. Named textures into their old slots, then the owners of the rest.
        // A file that no longer loads leaves its slot without a texture; the reset goes on.
        for (int i = 0; i < RENDERER_TEXTURE_SLOTS; ++i)
            if (m_textures[i].inUse && !m_textures[i].reserved && !ReloadNamedTexture(i))
                PrintToConsole("Could not reload texture %s", m_textures[i].name.c_str());
        RunCallbacks(m_textureCallbacks);
        if (!ApiRestoreDeviceObjects())
            created = false;
        else
            RunCallbacks(m_deviceCallbacks);
    }

    // 6. Input comes back in every case, so no caller is left without it.
    bool haveInput = !m_inputHooks.create || m_inputHooks.create();
    return created && haveInput;
}

void CRenderer::OnActivate()
{
    if (m_inActivationChange || m_creatingDisplay || m_destroyingDisplay)
        return;
    m_inActivationChange = true;
    if (m_wasFullScreen)
    {
        m_wasFullScreen = false;
        m_pending.fullScreen = true;
        ResetDisplay();
    }
    m_isActive = true;
    m_inActivationChange = false;
}

void CRenderer::OnDeactivate()
{
    if (m_inActivationChange || m_creatingDisplay || m_destroyingDisplay)
        return;
    m_inActivationChange = true;
    if (m_settings.fullScreen)
    {
        m_pending.fullScreen = false;
        m_wasFullScreen = true;
        ResetDisplay();
    }
    m_isActive = false;
    m_inActivationChange = false;
}

// ---- statistics -------------------------------------------------------------------

void CRenderer::DrawStatisticsOverlays()
{
    char text[128];
    if (m_showPolyCount && m_textDrawer)
    {
        std::snprintf(text, sizeof(text), "Num polys renderered = %d", int(m_polygonCount));
        m_textDrawer(10.0f, 10.0f, text);
    }
    if (m_showTextureUsage && m_textDrawer)
    {
        std::snprintf(text, sizeof(text), "Best guess total texture usage = %f.2 Mb", double(m_textureBytes) / 1048576.0);
        m_textDrawer(10.0f, 30.0f, text);
    }
    if (m_showTiming)
    {
        // 100 pixels stand for 16 ms of the frame so far.
        double microseconds = double(NowNs() - m_tickStampNs) / 1000.0;
        float d = float(std::min(microseconds / 10.0 / 16.0, 100.0));
        DrawRectF(0.0f, 1.0f, d, 16.0f, 1.0f, 0.0f, 0.0f, 1.0f, false);
        DrawRectF(d, 1.0f, 100.0f - d, 16.0f, 0.0f, 1.0f, 0.0f, 1.0f, false);
    }
}
