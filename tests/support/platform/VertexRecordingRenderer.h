#pragma once
// A renderer with no device for tests of code that draws through vertex buffers
// (sprites, fonts, GUI): it keeps the texture table of the real base
// class, and records uploads, render-state calls and every draw with the vertices
// it drew and the state in force, so drawing code can be checked exactly.

#include "platform/Renderer.h"
#include "platform/VertexBuffer.h"

#include <string>
#include <vector>

struct SRecordedUpload
{
    int index; // texture slot
    int kind;
    bool filter;
    bool noCompression;
    int wrapS, wrapT;
    int width, height;
    int sourceCode;
    std::vector<uint8_t> pixels; // as given (code 0: 4 bytes a pixel)
};

struct SRecordedDraw
{
    std::vector<SScreenVertex> vertices; // triangle-list order (indexed draws expanded)
    int texture;
    bool blend;
    int blendSource, blendDest;
    bool alphaTest;
    int alphaFunction;
    float alphaReference;
    bool flash; // colour from the vertex, alpha from the texture
    int buffer; // which vertex buffer (order of creation)
};

// One call of DrawRibbon as it was made.
struct SRecordedRibbon
{
    int texture;
    float width;
    std::vector<float> points; // x, y of segments + 1 points
    int segments;
    float cameraX, cameraY;
    float startColour[3];
    float endColour[3];
    float startAlpha, endAlpha;
    bool blend, alphaTest, additive, quads;
};

class CVertexRecordingRenderer : public CRenderer
{
public:
    explicit CVertexRecordingRenderer(bool colourIsArgb = false, int width = 640);
    ~CVertexRecordingRenderer() override;

    // Test controls.
    void SetBackBuffer(int width, int height);
    void SetFullScreen(bool fullScreen) { m_settings.fullScreen = m_pending.fullScreen = fullScreen; }
    void SetActive(bool active) { m_isActive = active; }
    void SetHiQualityTextures(bool on) { m_settings.hiQualityTextures = m_pending.hiQualityTextures = on; }
    // The upload with this number (counting from 0) fails; -1 none.
    int m_failUploadAt = -1;
    int m_failVertexBuffers = 0; // the next n buffer creations fail
    bool m_failLocks = false;

    // What happened.
    std::vector<SRecordedUpload> m_uploads;
    std::vector<SRecordedDraw> m_draws;
    std::vector<std::string> m_calls; // state calls in order, e.g. "blend 1 1", "bind 3", "ortho 640 480"
    std::vector<SRecordedRibbon> m_ribbons;
    int m_liveBuffers = 0;
    int m_buffersMade = 0;

    void ClearRecords();
    int CountLiveTextures() const;

    // CRenderer.
    bool Open(const char* title, CConsole* console) override;
    void Close() override;
    bool CreateDisplay() override { return true; }
    void DestroyDisplay() override {}
    bool CanDraw() override { return true; }
    int BeginScene() override { return 0; }
    void EndScene() override {}
    void GetClientRect(int& left, int& top, int& right, int& bottom) override;
    void SetFrustum(float, float, float, float, float, float) override {}
    void ResetViewport() override {}
    void SetViewport(int, int, int, int) override {}
    void SetPerspective(int, int) override {}
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
    void EnableDepthTest() override {}
    void DisableDepthTest() override {}
    void EnableDepthWrite() override {}
    void DisableDepthWrite() override {}
    bool CreateVertexBuffer(int sizeBytes, CVertexBuffer** buffer) override;
    void DestroyVertexBuffer(CVertexBuffer* buffer) override;
    void BindTexture(int index, bool filter) override;
    // Recorded, then drawn as the base class draws it.
    void DrawRibbon(int textureIndex, float width, const float* points, int segments, float cameraX, float cameraY,
                    const float startColour[3], const float endColour[3], float startAlpha, float endAlpha,
                    bool blend, bool alphaTest, bool additive, bool quads) override;

    // Called by the recording vertex buffers.
    void RecordDraw(const SScreenVertex* vertices, int count, int buffer);

protected:
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
    void ApiReleaseDeviceObjects() override {}
    bool ApiRestoreDeviceObjects() override { return true; }
    void ForgetCachedState() override {}

private:
    int m_boundTexture = NO_TEXTURE;
    bool m_blend = false;
    int m_blendSource = 0, m_blendDest = 0;
    bool m_alphaTest = false;
    int m_alphaFunction = 0;
    float m_alphaReference = 0.0f;
    bool m_flash = false;
    int m_uploadCount = 0;
    int m_nextTextureHandle = 1;
    std::vector<SScreenVertex> m_batch;
};
