#pragma once
// The renderer on the Direct3D-8-shaped software device (platform/d3d8): the renderer of
// a fresh settings file and the fallback when OpenGL cannot start.

#include "platform/GameWindow.h"
#include "platform/Renderer.h"
#include "platform/d3d8/SoftD3DTypes.h"

#include <memory>
#include <vector>

class CSoftD3D;
class CSoftD3DDevice;
class CSoftIndexBuffer;
class CSoftSurface;
class CD3D8VertexBuffer;

class CD3D8Renderer : public CRenderer
{
public:
    // profile: the adapter to use instead of the desktop's (tests).
    explicit CD3D8Renderer(const SSoftAdapterProfile* profile = nullptr);
    ~CD3D8Renderer() override;

    bool Open(const char* title, CConsole* console) override;
    void Close() override;
    bool CreateDisplay() override;
    void DestroyDisplay() override;
    void ReadSettings(const CDataTree& tree) override;
    void WriteSettings(CSettingsWriter& writer, CDataTree& tree) override;
    void SetDefaultSettings() override;
    bool CanDraw() override;
    void Tick() override;
    int BeginScene() override;
    void EndScene() override;
    void GetClientRect(int& left, int& top, int& right, int& bottom) override;
    void SetFrustum(float left, float right, float top, float bottom, float nearZ, float farZ) override;
    void ResetViewport() override;
    void SetViewport(int x, int y, int width, int height) override;
    void SetPerspective(int width, int height) override;
    void SetOrthoProjection(float left, float top, float right, float bottom, float nearZ, float farZ) override;
    void EnableTexturing() override;
    void DisableTexturing() override;
    void SetTextureDecal() override;
    void SetTextureModulate() override;
    void SetTextureColourFromVertex() override;
    void DisableBlend() override;
    void SetBlend(int sourceCode, int destCode) override;
    void DisableAlphaTest() override;
    void SetAlphaTest(int functionCode, float reference) override;
    void EnableDepthTest() override;
    void DisableDepthTest() override;
    void EnableDepthWrite() override;
    void DisableDepthWrite() override;
    bool CreateVertexBuffer(int sizeBytes, CVertexBuffer** buffer) override;
    void DestroyVertexBuffer(CVertexBuffer* buffer) override;
    void BindTexture(int index, bool filter) override;
    void OnActivate() override;
    void OnDeactivate() override;

    // The texture format chosen for a kind (ETextureKind).
    ESoftFormat GetTextureFormat(int kind) const;
    // The device, for tests that make it lose itself.
    CSoftD3DDevice* GetDevice() const { return m_device; }

private:
    friend class CD3D8VertexBuffer;

    bool ApiUploadTexture(STextureSlot& slot, int width, int height, int sourceCode, const void* pixels,
                          const uint32_t* palette, uint32_t& bytes) override;
    void ApiReleaseTexture(STextureSlot& slot) override;
    SScreenVertex* ApiLockBatch() override;
    bool ApiDrawBatch(int count, bool strip) override;
    bool ApiDrawLineStrip(const SScreenVertex* vertices, int count) override;
    bool ApiDrawTriangles(int primitive, const SScreenVertex* vertices, int count) override;
    bool ApiDrawIndexedTriangles(const SScreenVertex* vertices, int vertexCount, const uint16_t* indices,
                                 int indexCount) override;
    bool ApiReadFrame(std::vector<uint8_t>& pixels, int& width, int& height) override;
    void ApiReleaseDeviceObjects() override;
    bool ApiRestoreDeviceObjects() override;
    void ForgetCachedState() override;
    void OnCloseRequest() override;

    static void OnWindowEvent(const SWindowEvent& event, void* user);
    bool ChooseBackBufferFormat(ESoftFormat& format);
    bool ChooseTextureFormats();
    void SetDefaultDeviceState();
    // Texture stage 0 from the recorded texture mode, before every draw.
    void ApplyTextureStages();
    // The shared 16-bit index buffer, grown to hold count indices.
    bool PrepareIndices(int count);
    bool CreateDeviceObjects();
    // The device filter for a texture's filter flag: linear only when "r_filterlinear" is on.
    uint32_t SamplingFilter(bool filter) const;

    std::unique_ptr<SSoftAdapterProfile> m_profile;
    CSoftD3D* m_d3d = nullptr;
    CSoftD3DDevice* m_device = nullptr;
    CGameWindow m_gameWindow;
    ESoftFormat m_desktopFormat = ESoftFormat::Unknown;
    ESoftFormat m_textureFormats[3] = {ESoftFormat::Unknown, ESoftFormat::Unknown, ESoftFormat::Unknown};
    bool m_deviceLost = false;
    bool m_inScene = false;

    CSoftIndexBuffer* m_indexBuffer = nullptr;
    int m_indexCapacity = 0;
    CD3D8VertexBuffer* m_batchBuffer = nullptr;
    std::vector<CD3D8VertexBuffer*> m_vertexBuffers;  // every buffer made here, re-created on reset
    CSoftSurface* m_screenshotSurface = nullptr;

    // Recorded and cached state.
    bool m_texturing = false;
    int m_textureMode = 0;  // 0 modulate, 1 decal, 2 colour from vertex
    bool m_textureBound = false;
    bool m_boundFilter = true;  // the filter flag the bound texture was bound with
    bool m_stateKnown = false;
    bool m_blendOn = false;
    int m_blendSource = -1;
    int m_blendDest = -1;
    bool m_alphaTestOn = false;
    int m_alphaFunction = -1;
    uint32_t m_alphaReference = 0;
};
