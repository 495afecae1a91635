#pragma once
// A renderer whose device calls are only recorded, for testing what the shared renderer
// code decides without any device or window.

#include "platform/Renderer.h"

#include <string>
#include <vector>

class CRecordingRenderer : public CRenderer
{
public:
    struct SDraw
    {
        std::string kind;  // "batch", "triangles", "lines", "indexed"
        int primitive = 0;
        int count = 0;
        std::vector<SScreenVertex> vertices;
    };

    explicit CRecordingRenderer(bool colourIsArgb = true) : CRenderer(colourIsArgb) {}

    bool Open(const char*, CConsole*) override
    {
        m_opened = CreateDisplay();
        return m_opened;
    }
    void Close() override
    {
        ReleaseAllTextures();
        m_opened = false;
    }
    bool CreateDisplay() override
    {
        log.push_back("create display " + std::to_string(m_settings.width));
        if (failCreateDisplay > 0)
        {
            --failCreateDisplay;
            return false;
        }
        m_isActive = true;
        return true;
    }
    void DestroyDisplay() override { log.push_back("destroy display"); }
    bool CanDraw() override { return true; }
    int BeginScene() override { return 1; }
    void EndScene() override { DrawStatisticsOverlays(); }
    void GetClientRect(int& l, int& t, int& r, int& b) override { l = t = 0, r = m_settings.width, b = m_settings.height; }
    void SetFrustum(float, float, float, float, float, float) override {}
    void ResetViewport() override {}
    void SetViewport(int, int, int, int) override {}
    void SetPerspective(int, int) override {}
    void SetOrthoProjection(float, float, float, float, float, float) override {}
    void EnableTexturing() override { log.push_back("texturing on"); }
    void DisableTexturing() override { log.push_back("texturing off"); }
    void SetTextureDecal() override {}
    void SetTextureModulate() override { log.push_back("modulate"); }
    void SetTextureColourFromVertex() override {}
    void DisableBlend() override { log.push_back("blend off"); }
    void SetBlend(int s, int d) override { log.push_back("blend " + std::to_string(s) + " " + std::to_string(d)); }
    void DisableAlphaTest() override { log.push_back("alpha test off"); }
    void SetAlphaTest(int f, float r) override
    {
        log.push_back("alpha test " + std::to_string(f) + " " + std::to_string(int(r * 100.0f + 0.5f)));
    }
    void EnableDepthTest() override {}
    void DisableDepthTest() override {}
    void EnableDepthWrite() override {}
    void DisableDepthWrite() override {}
    bool CreateVertexBuffer(int, CVertexBuffer**) override { return false; }
    void DestroyVertexBuffer(CVertexBuffer*) override {}
    void BindTexture(int index, bool) override { log.push_back("bind " + std::to_string(index)); }

    bool ApiUploadTexture(STextureSlot& slot, int width, int height, int, const void*, const uint32_t*,
                          uint32_t& bytes) override
    {
        if (failUploads)
            return false;
        if (!slot.apiTexture)
            slot.apiTexture = reinterpret_cast<void*>(uintptr_t(++nextApiTexture));
        ++uploads;
        bytes = uint32_t(width * height * 4);
        return true;
    }
    void ApiReleaseTexture(STextureSlot& slot) override
    {
        if (slot.apiTexture)
            ++releasedTextures;
        slot.apiTexture = nullptr;
    }
    SScreenVertex* ApiLockBatch() override
    {
        ++locks;
        return batch;
    }
    bool ApiDrawBatch(int count, bool strip) override
    {
        ++unlocks;
        if (count > 0)
            draws.push_back(SDraw{"batch", strip ? PRIMITIVE_STRIP : PRIMITIVE_LIST, count,
                                  std::vector<SScreenVertex>(batch, batch + count)});
        return true;
    }
    bool ApiDrawLineStrip(const SScreenVertex* v, int count) override
    {
        draws.push_back(SDraw{"lines", 0, count, std::vector<SScreenVertex>(v, v + count)});
        return true;
    }
    bool ApiDrawTriangles(int primitive, const SScreenVertex* v, int count) override
    {
        draws.push_back(SDraw{"triangles", primitive, count, std::vector<SScreenVertex>(v, v + count)});
        return true;
    }
    bool ApiDrawIndexedTriangles(const SScreenVertex* v, int vertexCount, const uint16_t*, int indexCount) override
    {
        draws.push_back(SDraw{"indexed", vertexCount, indexCount, std::vector<SScreenVertex>(v, v + vertexCount)});
        return true;
    }
    bool ApiReadFrame(std::vector<uint8_t>& pixels, int& width, int& height) override
    {
        pixels = frame;
        width = frameWidth;
        height = frameHeight;
        return !frame.empty();
    }
    void ApiReleaseDeviceObjects() override { log.push_back("release device objects"); }
    bool ApiRestoreDeviceObjects() override
    {
        log.push_back("restore device objects");
        return true;
    }
    void ForgetCachedState() override {}

    // Shared pieces the tests reach directly.
    using CRenderer::BlendStamp;
    using CRenderer::LoadScreenshotStamp;
    void SetActiveForTest(bool active) { m_isActive = active; }
    bool IsTimingShown() const { return m_showTiming; }
    bool IsPolyCountShown() const { return m_showPolyCount; }
    bool IsTextureUsageShown() const { return m_showTextureUsage; }

    std::vector<std::string> log;
    std::vector<SDraw> draws;
    SScreenVertex batch[RENDERER_BATCH_VERTICES] = {};
    int uploads = 0;
    int releasedTextures = 0;
    int locks = 0;
    int unlocks = 0;
    int nextApiTexture = 0;
    int failCreateDisplay = 0;
    bool failUploads = false;
    std::vector<uint8_t> frame;  // bottom row first
    int frameWidth = 0;
    int frameHeight = 0;
};
