#include "platform/D3D8Renderer.h"

#include "platform/PixelFormat.h"
#include "platform/VertexBuffer.h"
#include "platform/d3d8/SoftD3DDevice.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace
{
constexpr uint32_t VERTEX_STRIDE = sizeof(SScreenVertex);
constexpr int BATCH_BYTES = RENDERER_BATCH_VERTICES * int(sizeof(SScreenVertex)); // 28560
constexpr int INITIAL_INDICES = 340;

template <typename T>
void ReleaseObject(T*& object)
{
    if (object)
        object->Release();
    object = nullptr;
}

bool IsFormatOfDepth(ESoftFormat format, int bits)
{
    if (bits == 32)
        return format == ESoftFormat::X8R8G8B8 || format == ESoftFormat::A8R8G8B8;
    return format == ESoftFormat::R5G6B5 || format == ESoftFormat::X1R5G5B5 || format == ESoftFormat::A1R5G5B5;
}

// The pixel code that a texture format is written in.
int PixelCodeOf(ESoftFormat format)
{
    switch (format)
    {
    case ESoftFormat::R5G6B5: return PIXEL_R5G6B5;
    case ESoftFormat::X1R5G5B5:
    case ESoftFormat::A1R5G5B5: return PIXEL_A1R5G5B5;
    case ESoftFormat::A4R4G4B4: return PIXEL_A4R4G4B4;
    default: return PIXEL_BGRA8888;
    }
}

uint32_t BlendOf(int code)
{
    switch (code)
    {
    case BLEND_ZERO: return SOFT_BLEND_ZERO;
    case BLEND_ONE: return SOFT_BLEND_ONE;
    case BLEND_SRC_ALPHA: return SOFT_BLEND_SRCALPHA;
    default: return SOFT_BLEND_INVSRCALPHA;
    }
}

uint32_t CompareOf(int code)
{
    switch (code)
    {
    case ALPHA_EQUAL: return SOFT_CMP_EQUAL;
    case ALPHA_LESS: return SOFT_CMP_LESS;
    case ALPHA_LESS_EQUAL: return SOFT_CMP_LESSEQUAL;
    case ALPHA_GREATER: return SOFT_CMP_GREATER;
    default: return SOFT_CMP_GREATEREQUAL;
    }
}

uint32_t PrimitiveCount(bool strip, int count)
{
    return strip ? uint32_t(std::max(count - 2, 0)) : uint32_t(count / 3);
}

// TESSAVAR_THREADS=N draws on N threads (the caller's among them); unset, 0 or not a
// number: every hardware thread. Automated runs compare frames drawn on different counts.
uint32_t ReadThreadCount()
{
    const char* text = std::getenv("TESSAVAR_THREADS");
    if (!text || !*text)
        return 0;
    char* end = nullptr;
    const unsigned long count = std::strtoul(text, &end, 10);
    return *end == '\0' && count <= 64 ? static_cast<uint32_t>(count) : 0;
}
} // namespace

// A device vertex buffer that the renderer can rebuild at its size after a reset.
class CD3D8VertexBuffer : public CVertexBuffer
{
public:
    CD3D8VertexBuffer(CD3D8Renderer& owner, int sizeBytes) : m_owner(owner), m_size(sizeBytes) {}
    ~CD3D8VertexBuffer() override { ReleaseApi(); }

    bool CreateApi()
    {
        ReleaseApi();
        return m_owner.m_device && m_owner.m_device->CreateVertexBuffer(uint32_t(m_size), &m_api);
    }
    void ReleaseApi()
    {
        if (m_api && m_api->IsLocked())
            m_api->Unlock();
        ReleaseObject(m_api);
    }
    int GetVertexCapacity() const { return m_size / int(VERTEX_STRIDE); }

    bool Lock(SScreenVertex** vertices) override
    {
        void* data = nullptr;
        if (!vertices || !m_api || !m_api->Lock(&data))
            return false;
        *vertices = static_cast<SScreenVertex*>(data);
        return true;
    }
    bool Unlock() override { return m_api && m_api->Unlock(); }
    bool IsLocked() override { return m_api && m_api->IsLocked(); }
    void BeginDraw() override
    {
        if (m_owner.m_device)
            m_owner.m_device->SetVertexFormat(SOFT_FVF_SCREEN);
    }
    void EndDraw() override {}

    bool Draw(int primitive, int vertexCount) override
    {
        if (!m_api || vertexCount < 0 || vertexCount > GetVertexCapacity())
            return false;
        uint32_t primitives = PrimitiveCount(primitive == PRIMITIVE_STRIP, vertexCount);
        if (primitives == 0)
            return true;
        CSoftD3DDevice* device = m_owner.m_device;
        m_owner.ApplyTextureStages();
        device->SetStreamSource(m_api, VERTEX_STRIDE);
        return device->DrawPrimitive(primitive == PRIMITIVE_STRIP ? SOFT_PT_TRIANGLESTRIP : SOFT_PT_TRIANGLELIST, 0,
                                     primitives);
    }

    bool DrawIndexed(int primitive, int indexCount, int indexKind, const void* indices) override
    {
        if (!m_api || !indices || indexCount < 0 || !m_owner.PrepareIndices(indexCount))
            return false;
        uint32_t primitives = PrimitiveCount(primitive == PRIMITIVE_STRIP, indexCount);
        if (primitives == 0)
            return true;
        // Every index must name a vertex of this buffer; 8- and 32-bit indices become 16-bit.
        const int capacity = GetVertexCapacity();
        void* data = nullptr;
        if (!m_owner.m_indexBuffer->Lock(&data))
            return false;
        auto* out = static_cast<uint16_t*>(data);
        bool valid = true;
        for (int i = 0; i < indexCount && valid; ++i)
        {
            uint32_t index = indexKind == INDEX_8    ? static_cast<const uint8_t*>(indices)[i]
                             : indexKind == INDEX_16 ? static_cast<const uint16_t*>(indices)[i]
                                                     : static_cast<const uint32_t*>(indices)[i];
            valid = index < uint32_t(capacity) && index <= 0xFFFF;
            out[i] = uint16_t(index);
        }
        m_owner.m_indexBuffer->Unlock();
        if (!valid)
            return false;
        CSoftD3DDevice* device = m_owner.m_device;
        m_owner.ApplyTextureStages();
        device->SetStreamSource(m_api, VERTEX_STRIDE);
        device->SetIndices(m_owner.m_indexBuffer, 0);
        return device->DrawIndexedPrimitive(primitive == PRIMITIVE_STRIP ? SOFT_PT_TRIANGLESTRIP : SOFT_PT_TRIANGLELIST,
                                            0, uint32_t(capacity), 0, primitives);
    }

private:
    CD3D8Renderer& m_owner;
    int m_size;
    CSoftVertexBuffer* m_api = nullptr;
};

CD3D8Renderer::CD3D8Renderer(const SSoftAdapterProfile* profile) : CRenderer(true)
{
    if (profile)
        m_profile = std::make_unique<SSoftAdapterProfile>(*profile);
    SetDefaultSettings();
}

CD3D8Renderer::~CD3D8Renderer()
{
    Close();
    for (CD3D8VertexBuffer* buffer : m_vertexBuffers)
        delete buffer;
}

void CD3D8Renderer::SetDefaultSettings()
{
    CRenderer::SetDefaultSettings();
    m_forceSingleStage = true;
}

bool CD3D8Renderer::Open(const char* title, CConsole* console)
{
    m_title = title ? title : "";
    m_console = console;
    m_keyRing.Clear();
    m_mouseRing.Clear();
    m_d3d = m_profile ? CSoftD3D::Create(*m_profile) : CSoftD3D::Create();
    if (!m_d3d)
    {
        PrintToConsole("Failed to create the Direct3D object");
        return false;
    }
    SSoftDisplayMode desktop;
    m_d3d->GetAdapterDisplayMode(desktop);
    m_desktopFormat = desktop.format;
    if (!CreateDisplay())
    {
        ReleaseObject(m_d3d);
        return false;
    }
    ResetTextureTable();
    if (!CreateDeviceObjects())
    {
        DestroyDisplay();
        ReleaseObject(m_d3d);
        return false;
    }
    m_opened = true;
    RegisterConsoleVariables();
    LoadScreenshotStamp();
    return true;
}

void CD3D8Renderer::Close()
{
    FreeScreenshotStamp();
    if (m_opened)
    {
        ReleaseAllTextures();
        ApiReleaseDeviceObjects();
        DestroyDisplay();
        m_opened = false;
    }
    ReleaseObject(m_d3d);
}

bool CD3D8Renderer::ChooseBackBufferFormat(ESoftFormat& format)
{
    if (!m_settings.fullScreen)
    {
        // A window takes the desktop's format, which must be one the device draws.
        if (!IsFormatOfDepth(m_desktopFormat, 32) && !IsFormatOfDepth(m_desktopFormat, 16))
        {
            PrintToConsole("Desktop colour format is not supported in a window");
            return false;
        }
        format = m_desktopFormat;
        m_settings.colourBits = IsFormatOfDepth(format, 32) ? 32 : 16;
        return true;
    }
    const int otherBits = m_settings.colourBits == 32 ? 16 : 32;
    bool foundOther = false;
    ESoftFormat other = ESoftFormat::Unknown;
    for (uint32_t i = 0; i < m_d3d->GetAdapterModeCount(); ++i)
    {
        SSoftDisplayMode mode;
        if (!m_d3d->EnumAdapterModes(i, mode) || int(mode.width) != m_settings.width ||
            int(mode.height) != m_settings.height)
            continue;
        if (IsFormatOfDepth(mode.format, m_settings.colourBits))
        {
            format = mode.format;
            return true;
        }
        if (IsFormatOfDepth(mode.format, otherBits))
        {
            other = mode.format;
            foundOther = true;
        }
    }
    if (!foundOther)
    {
        PrintToConsole("No display mode of %d x %d", int(m_settings.width), int(m_settings.height));
        return false;
    }
    format = other;
    m_settings.colourBits = otherBits;
    return true;
}

bool CD3D8Renderer::ChooseTextureFormats()
{
    ESoftFormat opaque = ESoftFormat::Unknown, alpha = ESoftFormat::Unknown, oneBit = ESoftFormat::Unknown;
    if (m_d3d->CheckTextureFormat(ESoftFormat::A8R8G8B8))
        opaque = alpha = oneBit = ESoftFormat::A8R8G8B8;
    if (m_d3d->CheckTextureFormat(ESoftFormat::X8R8G8B8))
        opaque = ESoftFormat::X8R8G8B8;
    // A 16-bit format replaces a 32-bit one only for reduced quality or when nothing was found.
    const bool reduced = !m_settings.hiQualityTextures;
    auto consider = [&](ESoftFormat candidate, ESoftFormat& choice) {
        if (choice == ESoftFormat::Unknown || (reduced && IsFormatOfDepth(choice, 32)))
            choice = candidate;
    };
    for (ESoftFormat candidate : {ESoftFormat::R5G6B5, ESoftFormat::X1R5G5B5, ESoftFormat::A1R5G5B5,
                                  ESoftFormat::A4R4G4B4})
    {
        if (!m_d3d->CheckTextureFormat(candidate))
            continue;
        if (candidate == ESoftFormat::R5G6B5 || candidate == ESoftFormat::X1R5G5B5)
            consider(candidate, opaque);
        else if (candidate == ESoftFormat::A1R5G5B5)
            consider(candidate, oneBit);
        else
        {
            consider(candidate, alpha);
            if (oneBit == ESoftFormat::Unknown)
                oneBit = candidate;
        }
    }
    m_textureFormats[TEXTURE_OPAQUE] = opaque;
    m_textureFormats[TEXTURE_ALPHA] = alpha;
    m_textureFormats[TEXTURE_ONE_BIT_ALPHA] = oneBit;
    if (opaque == ESoftFormat::Unknown || alpha == ESoftFormat::Unknown || oneBit == ESoftFormat::Unknown)
    {
        PrintToConsole("No suitable texture formats");
        return false;
    }
    return true;
}

ESoftFormat CD3D8Renderer::GetTextureFormat(int kind) const
{
    return m_textureFormats[std::clamp(kind, 0, 2)];
}

bool CD3D8Renderer::CreateDisplay()
{
    if (!m_d3d)
        return false;
    m_creatingDisplay = true;
    ValidateDisplaySettings(m_settings);
    m_settings.runOnce = true;
    if (m_settings.forceWindowed)
        m_settings.fullScreen = false;

    // A window made while the game is being deactivated must not take the focus back.
    if (!m_gameWindow.Create(m_title.c_str(), m_settings.width, m_settings.height, m_settings.fullScreen,
                             !m_inActivationChange, &CD3D8Renderer::OnWindowEvent, this))
    {
        PrintToConsole("Failed to create the window");
        m_creatingDisplay = false;
        return false;
    }
    m_window = m_gameWindow.GetNativeHandle();

    ESoftFormat format = ESoftFormat::Unknown;
    bool made = ChooseBackBufferFormat(format);
    if (made)
    {
        SSoftPresentParams params;
        params.backBufferWidth = uint32_t(m_settings.width);
        params.backBufferHeight = uint32_t(m_settings.height);
        params.backBufferFormat = format;
        params.windowed = !m_settings.fullScreen;
        params.autoDepthStencil = true;
        params.depthFormat = m_settings.depthBits == 16 ? ESoftFormat::D16 : ESoftFormat::D24X8;
        params.presentImmediate = m_settings.fullScreen;
        params.window = m_window;
        made = m_d3d->CreateDevice(params, &m_device);
        if (!made)
            PrintToConsole("Failed to create the Direct3D device");
        else
            m_device->SetWorkerThreads(ReadThreadCount());
    }
    made = made && ChooseTextureFormats();
    if (made)
    {
        SetDefaultDeviceState();
        SetOrtho2D(0.0f, 0.0f, float(m_settings.width), float(m_settings.height));
        m_gameWindow.ShowCursor(false);
        m_deviceLost = false;
        m_pending = m_settings;
        made = m_device->CreateImageSurface(uint32_t(m_settings.width), uint32_t(m_settings.height),
                                            ESoftFormat::A8R8G8B8, &m_screenshotSurface);
    }
    if (!made)
    {
        ReleaseObject(m_device);
        m_gameWindow.Destroy();
        m_window = nullptr;
        m_creatingDisplay = false;
        return false;
    }
    // A shown window is the active one; platforms without a window manager never say so.
    m_isActive = true;
    m_creatingDisplay = false;
    return true;
}

void CD3D8Renderer::DestroyDisplay()
{
    m_destroyingDisplay = true;
    m_inScene = false;
    ReleaseObject(m_screenshotSurface);
    ReleaseObject(m_device);
    m_gameWindow.ShowCursor(true);
    m_gameWindow.Destroy();
    m_window = nullptr;
    m_destroyingDisplay = false;
}

void CD3D8Renderer::SetDefaultDeviceState()
{
    // Depth testing starts off, as in the other renderer: callers draw in painter's order
    // and write depths that do not fall steadily, so a test would hide later draws.
    m_device->SetVertexFormat(SOFT_FVF_SCREEN);
    m_device->SetRenderState(SOFT_RS_ZENABLE, 0);
    m_device->SetRenderState(SOFT_RS_ZWRITEENABLE, 1);
    m_device->SetRenderState(SOFT_RS_ZFUNC, SOFT_CMP_LESSEQUAL);
    m_device->SetRenderState(SOFT_RS_ALPHATESTENABLE, 0);
    m_device->SetRenderState(SOFT_RS_ALPHAFUNC, SOFT_CMP_ALWAYS);
    m_device->SetRenderState(SOFT_RS_ALPHAREF, 0);
    m_device->SetRenderState(SOFT_RS_ALPHABLENDENABLE, 0);
    m_device->SetRenderState(SOFT_RS_SRCBLEND, SOFT_BLEND_ONE);
    m_device->SetRenderState(SOFT_RS_DESTBLEND, SOFT_BLEND_ZERO);
    m_device->SetTextureStageState(1, SOFT_TSS_COLOROP, SOFT_TOP_DISABLE);
    m_device->SetTextureStageState(1, SOFT_TSS_ALPHAOP, SOFT_TOP_DISABLE);
    m_device->SetTextureStageState(0, SOFT_TSS_COLORARG1, SOFT_TA_TEXTURE);
    m_device->SetTextureStageState(0, SOFT_TSS_COLORARG2, SOFT_TA_DIFFUSE);
    m_device->SetTextureStageState(0, SOFT_TSS_ALPHAARG1, SOFT_TA_TEXTURE);
    m_device->SetTextureStageState(0, SOFT_TSS_ALPHAARG2, SOFT_TA_DIFFUSE);
    m_device->SetTextureStageState(0, SOFT_TSS_COLOROP, SOFT_TOP_MODULATE);
    m_device->SetTextureStageState(0, SOFT_TSS_ALPHAOP, SOFT_TOP_MODULATE);
    m_device->SetTextureStageState(0, SOFT_TSS_ADDRESSU, SOFT_TADDRESS_CLAMP);
    m_device->SetTextureStageState(0, SOFT_TSS_ADDRESSV, SOFT_TADDRESS_CLAMP);
    m_device->SetTextureStageState(0, SOFT_TSS_MINFILTER, SOFT_TEXF_LINEAR);
    m_device->SetTextureStageState(0, SOFT_TSS_MAGFILTER, SOFT_TEXF_LINEAR);
    m_device->SetTextureStageState(0, SOFT_TSS_MIPFILTER, SOFT_TEXF_NONE);
    ForgetCachedState();
    m_stateKnown = true;
}

void CD3D8Renderer::ForgetCachedState()
{
    m_stateKnown = false;
    m_texturing = false;
    m_textureMode = 0;
    m_textureBound = false;
    m_blendOn = false;
    m_blendSource = m_blendDest = -1;
    m_alphaTestOn = false;
    m_alphaFunction = -1;
    m_alphaReference = 0;
}

bool CD3D8Renderer::CreateDeviceObjects()
{
    if (!m_batchBuffer)
    {
        CVertexBuffer* batch = nullptr;
        if (!CreateVertexBuffer(BATCH_BYTES, &batch))
            return false;
        m_batchBuffer = static_cast<CD3D8VertexBuffer*>(batch);
    }
    return PrepareIndices(INITIAL_INDICES);
}

bool CD3D8Renderer::PrepareIndices(int count)
{
    if (count < 0 || !m_device)
        return false;
    if (m_indexBuffer && count <= m_indexCapacity)
        return true;
    // Longer index lists than the shared buffer holds grow it.
    int capacity = std::max(count, INITIAL_INDICES);
    CSoftIndexBuffer* buffer = nullptr;
    if (!m_device->CreateIndexBuffer(uint32_t(capacity) * 2, &buffer))
        return false;
    ReleaseObject(m_indexBuffer);
    m_indexBuffer = buffer;
    m_indexCapacity = capacity;
    return true;
}

void CD3D8Renderer::ApiReleaseDeviceObjects()
{
    if (m_device)
    {
        m_device->SetStreamSource(nullptr, VERTEX_STRIDE);
        m_device->SetIndices(nullptr, 0);
        m_device->SetTexture(0, nullptr);
    }
    m_batchVertices = nullptr;
    for (CD3D8VertexBuffer* buffer : m_vertexBuffers)
        buffer->ReleaseApi();
    ReleaseObject(m_indexBuffer);
    m_indexCapacity = 0;
}

bool CD3D8Renderer::ApiRestoreDeviceObjects()
{
    if (!PrepareIndices(INITIAL_INDICES))
        return false;
    bool all = true;
    for (CD3D8VertexBuffer* buffer : m_vertexBuffers)
        all = buffer->CreateApi() && all;
    return all;
}

bool CD3D8Renderer::CreateVertexBuffer(int sizeBytes, CVertexBuffer** buffer)
{
    if (sizeBytes <= 0 || !buffer || !m_device)
        return false;
    auto* made = new CD3D8VertexBuffer(*this, sizeBytes);
    if (!made->CreateApi())
    {
        delete made;
        return false;
    }
    m_vertexBuffers.push_back(made);
    *buffer = made;
    return true;
}

void CD3D8Renderer::DestroyVertexBuffer(CVertexBuffer* buffer)
{
    auto it = std::find(m_vertexBuffers.begin(), m_vertexBuffers.end(), buffer);
    if (it == m_vertexBuffers.end())
        return;
    if (m_device)
        m_device->SetStreamSource(nullptr, VERTEX_STRIDE);
    m_vertexBuffers.erase(it);
    if (buffer == m_batchBuffer)
        m_batchBuffer = nullptr;
    delete buffer;
}

void CD3D8Renderer::OnWindowEvent(const SWindowEvent& event, void* user)
{
    static_cast<CD3D8Renderer*>(user)->HandleWindowEvent(event);
}

void CD3D8Renderer::OnCloseRequest()
{
    PostQuitMessage();
}

void CD3D8Renderer::OnActivate()
{
    const bool changing = m_inActivationChange || m_creatingDisplay || m_destroyingDisplay;
    CRenderer::OnActivate();
    if (!changing && m_activationHook)
        m_activationHook();
}

void CD3D8Renderer::OnDeactivate()
{
    // Leaving full screen keeps this renderer drawing (in its new window).
    const bool wasWindowed = !m_settings.fullScreen;
    CRenderer::OnDeactivate();
    if (!wasWindowed)
        m_isActive = true;
}

bool CD3D8Renderer::CanDraw()
{
    return m_device && !m_deviceLost;
}

void CD3D8Renderer::Tick()
{
    CRenderer::Tick();
    if (m_device)
    {
        // Sampling as the bound texture asks, under "r_filterlinear", as the other renderer
        // keeps it with each texture.
        const uint32_t mode = SamplingFilter(!m_textureBound || m_boundFilter);
        m_device->SetTextureStageState(0, SOFT_TSS_MINFILTER, mode);
        m_device->SetTextureStageState(0, SOFT_TSS_MAGFILTER, mode);
        m_device->SetTextureStageState(0, SOFT_TSS_MIPFILTER, SOFT_TEXF_NONE);
    }
}

uint32_t CD3D8Renderer::SamplingFilter(bool filter) const
{
    return filter && m_settings.filterLinear ? SOFT_TEXF_LINEAR : SOFT_TEXF_POINT;
}

int CD3D8Renderer::BeginScene()
{
    if (!m_device || (!m_isActive && m_settings.fullScreen))
        return 0;
    ESoftResult level = m_device->TestCooperativeLevel();
    if (level == ESoftResult::DeviceLost)
    {
        m_deviceLost = true;
        return 0;
    }
    if (level == ESoftResult::DeviceNotReset)
    {
        if (!ResetDisplay() || !m_device)
            return 0;
    }
    m_deviceLost = false;
    SetOrtho2D(0.0f, 0.0f, float(m_settings.width), float(m_settings.height));
    EnableDepthWrite();
    m_device->Clear(SOFT_CLEAR_TARGET | SOFT_CLEAR_ZBUFFER, 0xFF000000u, 1.0f);
    m_inScene = m_device->BeginScene();
    return m_inScene ? 1 : 0;
}

void CD3D8Renderer::EndScene()
{
    if (!m_device || !m_inScene)
        return;
    DrawStatisticsOverlays();
    m_device->EndScene();
    m_inScene = false;
    if (!m_isActive && m_settings.fullScreen)
        return;
    if (m_device->Present() == ESoftResult::DeviceLost)
        m_deviceLost = true;
}

void CD3D8Renderer::GetClientRect(int& left, int& top, int& right, int& bottom)
{
    m_gameWindow.GetClientRect(left, top, right, bottom);
}

// Vertices come pretransformed: projection and viewport changes have nothing to do.
void CD3D8Renderer::SetFrustum(float, float, float, float, float, float)
{
}

void CD3D8Renderer::ResetViewport()
{
}

void CD3D8Renderer::SetViewport(int, int, int, int)
{
}

void CD3D8Renderer::SetPerspective(int, int)
{
}

void CD3D8Renderer::SetOrthoProjection(float, float, float, float, float, float)
{
}

// ---- render state -----------------------------------------------------------------

void CD3D8Renderer::EnableTexturing()
{
    m_texturing = true;
}

void CD3D8Renderer::DisableTexturing()
{
    m_texturing = false;
}

void CD3D8Renderer::SetTextureDecal()
{
    m_textureMode = 1;
}

void CD3D8Renderer::SetTextureModulate()
{
    m_textureMode = 0;
}

void CD3D8Renderer::SetTextureColourFromVertex()
{
    m_textureMode = 2;
}

void CD3D8Renderer::DisableBlend()
{
    if (!m_device || (m_stateKnown && !m_blendOn))
        return;
    m_device->SetRenderState(SOFT_RS_ALPHABLENDENABLE, 0);
    m_blendOn = false;
    m_stateKnown = true;
}

void CD3D8Renderer::SetBlend(int sourceCode, int destCode)
{
    if (!m_device || (m_blendOn && m_blendSource == sourceCode && m_blendDest == destCode))
        return;
    m_device->SetRenderState(SOFT_RS_SRCBLEND, BlendOf(sourceCode));
    m_device->SetRenderState(SOFT_RS_DESTBLEND, BlendOf(destCode));
    m_device->SetRenderState(SOFT_RS_ALPHABLENDENABLE, 1);
    m_blendOn = true;
    m_blendSource = sourceCode;
    m_blendDest = destCode;
}

void CD3D8Renderer::DisableAlphaTest()
{
    if (!m_device || (m_stateKnown && !m_alphaTestOn))
        return;
    m_device->SetRenderState(SOFT_RS_ALPHATESTENABLE, 0);
    m_alphaTestOn = false;
    m_stateKnown = true;
}

void CD3D8Renderer::SetAlphaTest(int functionCode, float reference)
{
    const uint32_t ref = uint32_t(std::lround(std::clamp(reference, 0.0f, 1.0f) * 255.0f));
    if (!m_device || (m_alphaTestOn && m_alphaFunction == functionCode && m_alphaReference == ref))
        return;
    m_device->SetRenderState(SOFT_RS_ALPHAFUNC, CompareOf(functionCode));
    m_device->SetRenderState(SOFT_RS_ALPHAREF, ref);
    m_device->SetRenderState(SOFT_RS_ALPHATESTENABLE, 1);
    m_alphaTestOn = true;
    m_alphaFunction = functionCode;
    m_alphaReference = ref;
}

void CD3D8Renderer::EnableDepthTest()
{
    if (m_device)
    {
        m_device->SetRenderState(SOFT_RS_ZFUNC, SOFT_CMP_LESSEQUAL);
        m_device->SetRenderState(SOFT_RS_ZENABLE, 1);
    }
}

void CD3D8Renderer::DisableDepthTest()
{
    if (m_device)
        m_device->SetRenderState(SOFT_RS_ZENABLE, 0);
}

void CD3D8Renderer::EnableDepthWrite()
{
    if (m_device)
        m_device->SetRenderState(SOFT_RS_ZWRITEENABLE, 1);
}

void CD3D8Renderer::DisableDepthWrite()
{
    if (m_device)
        m_device->SetRenderState(SOFT_RS_ZWRITEENABLE, 0);
}

void CD3D8Renderer::ApplyTextureStages()
{
    if (!m_device)
        return;
    // One stage: texture as argument 1, the vertex colour as argument 2.
    uint32_t colourOp = SOFT_TOP_SELECTARG2, alphaOp = SOFT_TOP_SELECTARG2;
    if (m_texturing && m_textureBound)
    {
        switch (m_textureMode)
        {
        case 1: colourOp = alphaOp = SOFT_TOP_SELECTARG1; break;
        case 2: colourOp = SOFT_TOP_SELECTARG2; alphaOp = SOFT_TOP_SELECTARG1; break;
        default: colourOp = alphaOp = SOFT_TOP_MODULATE; break;
        }
    }
    m_device->SetTextureStageState(0, SOFT_TSS_COLOROP, colourOp);
    m_device->SetTextureStageState(0, SOFT_TSS_ALPHAOP, alphaOp);
}

void CD3D8Renderer::BindTexture(int index, bool filter)
{
    if (!m_device)
        return;
    const STextureSlot* slot = GetTextureSlot(index);
    if (!slot || !slot->inUse || !slot->apiTexture)
    {
        m_device->SetTexture(0, nullptr);
        m_textureBound = false;
        return;
    }
    m_device->SetTexture(0, static_cast<CSoftTexture*>(slot->apiTexture));
    m_device->SetTextureStageState(0, SOFT_TSS_ADDRESSU, slot->wrapS ? SOFT_TADDRESS_WRAP : SOFT_TADDRESS_CLAMP);
    m_device->SetTextureStageState(0, SOFT_TSS_ADDRESSV, slot->wrapT ? SOFT_TADDRESS_WRAP : SOFT_TADDRESS_CLAMP);
    const uint32_t mode = SamplingFilter(filter);
    m_device->SetTextureStageState(0, SOFT_TSS_MINFILTER, mode);
    m_device->SetTextureStageState(0, SOFT_TSS_MAGFILTER, mode);
    m_textureBound = true;
    m_boundFilter = filter;
}

// ---- device calls of the shared code ----------------------------------------------

bool CD3D8Renderer::ApiUploadTexture(STextureSlot& slot, int width, int height, int sourceCode, const void* pixels,
                                     const uint32_t* palette, uint32_t& bytes)
{
    if (!m_device || width <= 0 || height <= 0)
        return false;
    const ESoftFormat format = GetTextureFormat(slot.kind);
    auto* texture = static_cast<CSoftTexture*>(slot.apiTexture);
    if (!texture)
    {
        if (!m_device->CreateTexture(uint32_t(width), uint32_t(height), format, &texture))
            return false;
        slot.apiTexture = texture;
    }
    SSoftSurfaceDesc desc;
    texture->GetLevelDesc(desc);
    if (int(desc.width) != width || int(desc.height) != height)
        return false;
    SSoftLockedRect locked;
    if (!texture->LockRect(locked))
        return false;
    const int sourcePitch = width * GetPixelSize(sourceCode);
    bool converted = ConvertPixels(width, height, sourceCode, pixels, sourcePitch, palette, PixelCodeOf(desc.format),
                                   locked.bits, locked.pitch);
    texture->UnlockRect();
    bytes = uint32_t(width) * uint32_t(height) * GetSoftFormatSize(desc.format);
    return converted;
}

void CD3D8Renderer::ApiReleaseTexture(STextureSlot& slot)
{
    auto* texture = static_cast<CSoftTexture*>(slot.apiTexture);
    if (texture && m_device)
        m_device->SetTexture(0, nullptr); // the device holds what is bound
    ReleaseObject(texture);
    slot.apiTexture = nullptr;
    m_textureBound = false;
}

SScreenVertex* CD3D8Renderer::ApiLockBatch()
{
    SScreenVertex* vertices = nullptr;
    if (!m_batchBuffer || !m_batchBuffer->Lock(&vertices))
        return nullptr;
    return vertices;
}

bool CD3D8Renderer::ApiDrawBatch(int count, bool strip)
{
    if (!m_batchBuffer)
        return false;
    m_batchBuffer->Unlock();
    if (count == 0)
        return true;
    m_batchBuffer->BeginDraw();
    return m_batchBuffer->Draw(strip ? PRIMITIVE_STRIP : PRIMITIVE_LIST, count);
}

bool CD3D8Renderer::ApiDrawLineStrip(const SScreenVertex* vertices, int count)
{
    if (!m_device || !vertices || count < 2)
        return false;
    ApplyTextureStages();
    return m_device->DrawPrimitiveUP(SOFT_PT_LINESTRIP, uint32_t(count - 1), vertices, VERTEX_STRIDE);
}

bool CD3D8Renderer::ApiDrawTriangles(int primitive, const SScreenVertex* vertices, int count)
{
    const uint32_t primitives = PrimitiveCount(primitive == PRIMITIVE_STRIP, count);
    if (!m_device || !vertices || primitives == 0)
        return false;
    ApplyTextureStages();
    return m_device->DrawPrimitiveUP(primitive == PRIMITIVE_STRIP ? SOFT_PT_TRIANGLESTRIP : SOFT_PT_TRIANGLELIST,
                                     primitives, vertices, VERTEX_STRIDE);
}

bool CD3D8Renderer::ApiDrawIndexedTriangles(const SScreenVertex* vertices, int vertexCount, const uint16_t* indices,
                                            int indexCount)
{
    if (!m_device || !vertices || !indices || indexCount < 3 || vertexCount <= 0)
        return false;
    ApplyTextureStages();
    return m_device->DrawIndexedPrimitiveUP(SOFT_PT_TRIANGLELIST, 0, uint32_t(vertexCount), uint32_t(indexCount / 3),
                                            indices, vertices, VERTEX_STRIDE);
}

bool CD3D8Renderer::ApiReadFrame(std::vector<uint8_t>& pixels, int& width, int& height)
{
    // The last shown frame, in a window as in full screen.
    if (!m_device || !m_screenshotSurface || !m_device->GetFrontBuffer(m_screenshotSurface))
        return false;
    SSoftSurfaceDesc desc;
    m_screenshotSurface->GetDesc(desc);
    SSoftLockedRect locked;
    if (!m_screenshotSurface->LockRect(locked))
        return false;
    width = int(desc.width);
    height = int(desc.height);
    pixels.resize(size_t(width) * size_t(height) * 4);
    // Bottom row first, bytes blue, green, red, alpha.
    for (int y = 0; y < height; ++y)
    {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(locked.bits) +
                                                            size_t(height - 1 - y) * size_t(locked.pitch));
        uint8_t* out = &pixels[size_t(y) * size_t(width) * 4];
        for (int x = 0; x < width; ++x, out += 4)
        {
            uint32_t p = row[x];
            out[0] = uint8_t(p);
            out[1] = uint8_t(p >> 8);
            out[2] = uint8_t(p >> 16);
            out[3] = uint8_t(p >> 24);
        }
    }
    m_screenshotSurface->UnlockRect();
    return true;
}
