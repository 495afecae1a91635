#pragma once
// The renderer on OpenGL 1.1 and later, through an OpenGL window of the window layer. All
// entry points are taken at run time; a driver without them, or a platform without OpenGL,
// makes Open fail, and start-up then uses the other renderer.

#include "platform/GameWindow.h"
#include "platform/GlApi.h"
#include "platform/Renderer.h"

#include <vector>

class COpenGLVertexBuffer;

class COpenGLRenderer : public CRenderer
{
public:
    // resolver: where entry points come from instead of the platform's library (tests put
    // a filter in front of the real driver with it).
    explicit COpenGLRenderer(GlProcResolver resolver = nullptr);
    ~COpenGLRenderer() override;

    bool Open(const char* title, CConsole* console) override;
    void Close() override;
    bool CreateDisplay() override;
    void DestroyDisplay() override;
    bool CanDraw() override;
    void Tick() override;
    int BeginScene() override;
    void EndScene() override;
    void GetClientRect(int& left, int& top, int& right, int& bottom) override;
    bool SaveScreenshot(const char* fileName) override;
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

    const SGlCapabilities& GetCapabilities() const { return m_caps; }
    bool UsesCompiledVertexArrays() const { return m_useCva; }
    // The filters for textures whose filter flag is set, as recomputed by Tick.
    GLenum GetMagFilter() const { return m_magFilter; }
    GLenum GetMinFilter() const { return m_minFilter; }
    // The driver's texture object of a slot (0 none), for tests.
    GLuint GetTextureName(int index) const;

private:
    friend class COpenGLVertexBuffer;

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
    static void NoteLine(const char* line, void* user);
    bool LoadLibraryAndEntryPoints();
    void UnloadLibrary();
    void LogDriver();
    void LogPixelFormat();
    void SetDefaultState();
    void ComputeFilters();
    // Filters and addressing of the bound texture.
    void ApplySampling(const STextureSlot& slot, bool filter);
    void LoadProjection(bool perspective, float left, float right, float bottom, float top, float nearZ, float farZ);
    // Texturing is on only when asked for and a texture is bound (as on the other renderer,
    // where an unbound stage shows the vertex colour).
    void ApplyTexturing();
    // Draws vertices by the render method in force; indices (of indexType) may be null.
    bool DrawVertices(GLenum mode, const SScreenVertex* vertices, int vertexCount, const void* indices,
                      GLenum indexType, int indexCount);
    void CaptureFrame();
    // A window larger than the back buffer (desktop full screen): the frame, drawn in its
    // bottom-left corner, is copied to a texture and drawn back over the whole window,
    // scaled with its aspect kept and black bars around, before the swap.
    void PresentScaled();
    void ReleaseScaleTexture();

    GlProcResolver m_resolver;  // the platform's library unless a test gave its own
    bool m_libraryLoaded = false;
    SGlApi m_gl;
    SGlCapabilities m_caps;
    bool m_useCva = false;
    bool m_driverLogged = false;
    GLenum m_clampMode = gl::CLAMP_TO_EDGE;
    GLenum m_magFilter = gl::LINEAR;
    GLenum m_minFilter = gl::LINEAR;
    CGameWindow m_gameWindow;

    // Cached state, always what the driver has (ForgetCachedState puts both in step).
    bool m_texturing = false;          // asked for
    bool m_textureBound = false;
    GLuint m_boundName = 0;
    bool m_textureEnabled = false;     // GL_TEXTURE_2D as it is in the driver
    GLenum m_envMode = 0;
    bool m_blendOn = false;
    GLenum m_blendSource = 0;
    GLenum m_blendDest = 0;
    bool m_alphaTestOn = false;
    GLenum m_alphaFunction = 0;
    float m_alphaReference = -1.0f;

    SScreenVertex m_batch[RENDERER_BATCH_VERTICES];
    std::vector<CVertexBuffer*> m_vertexBuffers;  // every buffer made here and not yet given back

    // The last frame shown, read from the back buffer just before the swap (afterwards its
    // contents are undefined): blue, green, red, alpha rows, bottom row first.
    std::vector<uint8_t> m_lastFrame;
    int m_lastFrameWidth = 0;
    int m_lastFrameHeight = 0;
    GLuint m_scaleTexture = 0;  // the frame's copy for PresentScaled, power-of-two sized
    int m_scaleTextureWidth = 0;
    int m_scaleTextureHeight = 0;
};
