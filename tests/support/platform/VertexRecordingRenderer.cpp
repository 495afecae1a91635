#include "tests/support/platform/VertexRecordingRenderer.h"

#include <cstring>

namespace
{
class CVertexRecordingBuffer : public CVertexBuffer
{
public:
    CVertexRecordingBuffer(CVertexRecordingRenderer& owner, int vertices, int number)
        : m_owner(owner), m_vertices(static_cast<size_t>(vertices)), m_number(number)
    {
    }

    bool Lock(SScreenVertex** vertices) override
    {
        if (m_locked || m_owner.m_failLocks)
            return false;
        m_locked = true;
        *vertices = m_vertices.data();
        return true;
    }
    bool Unlock() override
    {
        bool was = m_locked;
        m_locked = false;
        return was;
    }
    bool DrawIndexed(int, int indexCount, int indexKind, const void* indices) override
    {
        std::vector<SScreenVertex> expanded;
        for (int i = 0; i < indexCount; ++i)
        {
            size_t index = indexKind == INDEX_16   ? static_cast<const uint16_t*>(indices)[i]
                           : indexKind == INDEX_8 ? static_cast<const uint8_t*>(indices)[i]
                                                   : static_cast<const uint32_t*>(indices)[i];
            if (index >= m_vertices.size() || m_locked || !m_begun)
                return false;
            expanded.push_back(m_vertices[index]);
        }
        m_owner.RecordDraw(expanded.data(), indexCount, m_number);
        return true;
    }
    bool Draw(int, int vertexCount) override
    {
        if (vertexCount < 0 || static_cast<size_t>(vertexCount) > m_vertices.size() || m_locked || !m_begun)
            return false;
        m_owner.RecordDraw(m_vertices.data(), vertexCount, m_number);
        return true;
    }
    bool IsLocked() override { return m_locked; }
    void BeginDraw() override { m_begun = true; }
    void EndDraw() override { m_begun = false; }

private:
    CVertexRecordingRenderer& m_owner;
    std::vector<SScreenVertex> m_vertices;
    int m_number;
    bool m_locked = false;
    bool m_begun = false;
};
} // namespace

CVertexRecordingRenderer::CVertexRecordingRenderer(bool colourIsArgb, int width) : CRenderer(colourIsArgb)
{
    m_settings.fullScreen = false;
    m_settings.width = width;
    m_settings.height = width * 3 / 4;
    m_pending = m_settings;
    m_isActive = true;
    m_opened = true;
}

CVertexRecordingRenderer::~CVertexRecordingRenderer()
{
    ReleaseAllTextures();
}

void CVertexRecordingRenderer::SetBackBuffer(int width, int height)
{
    m_settings.width = m_pending.width = width;
    m_settings.height = m_pending.height = height;
}

void CVertexRecordingRenderer::ClearRecords()
{
    m_uploads.clear();
    m_draws.clear();
    m_calls.clear();
    m_ribbons.clear();
}

int CVertexRecordingRenderer::CountLiveTextures() const
{
    int count = 0;
    for (int i = 0; i < RENDERER_TEXTURE_SLOTS; ++i)
        if (GetTextureSlot(i) && GetTextureSlot(i)->inUse)
            ++count;
    return count;
}

bool CVertexRecordingRenderer::Open(const char*, CConsole* console)
{
    m_console = console;
    m_opened = true;
    return true;
}

void CVertexRecordingRenderer::Close()
{
    ReleaseAllTextures();
    m_opened = false;
}

void CVertexRecordingRenderer::GetClientRect(int& left, int& top, int& right, int& bottom)
{
    left = top = 0;
    right = m_settings.width;
    bottom = m_settings.height;
}

void CVertexRecordingRenderer::SetOrthoProjection(float left, float top, float right, float bottom, float, float)
{
    m_calls.push_back("ortho " + std::to_string(int(left)) + " " + std::to_string(int(top)) + " " +
                      std::to_string(int(right)) + " " + std::to_string(int(bottom)));
}

void CVertexRecordingRenderer::EnableTexturing()
{
    m_calls.push_back("texturing on");
}

void CVertexRecordingRenderer::DisableTexturing()
{
    m_calls.push_back("texturing off");
}

void CVertexRecordingRenderer::SetTextureDecal()
{
    m_calls.push_back("decal");
    m_flash = false;
}

void CVertexRecordingRenderer::SetTextureModulate()
{
    m_calls.push_back("modulate");
    m_flash = false;
}

void CVertexRecordingRenderer::SetTextureColourFromVertex()
{
    m_calls.push_back("flash");
    m_flash = true;
}

void CVertexRecordingRenderer::DisableBlend()
{
    m_calls.push_back("blend off");
    m_blend = false;
}

void CVertexRecordingRenderer::SetBlend(int sourceCode, int destCode)
{
    m_calls.push_back("blend " + std::to_string(sourceCode) + " " + std::to_string(destCode));
    m_blend = true;
    m_blendSource = sourceCode;
    m_blendDest = destCode;
}

void CVertexRecordingRenderer::DisableAlphaTest()
{
    m_calls.push_back("alphatest off");
    m_alphaTest = false;
}

void CVertexRecordingRenderer::SetAlphaTest(int functionCode, float reference)
{
    m_calls.push_back("alphatest " + std::to_string(functionCode));
    m_alphaTest = true;
    m_alphaFunction = functionCode;
    m_alphaReference = reference;
}

bool CVertexRecordingRenderer::CreateVertexBuffer(int sizeBytes, CVertexBuffer** buffer)
{
    if (sizeBytes <= 0 || !buffer)
        return false;
    if (m_failVertexBuffers > 0)
    {
        --m_failVertexBuffers;
        return false;
    }
    *buffer = new CVertexRecordingBuffer(*this, sizeBytes / static_cast<int>(sizeof(SScreenVertex)), m_buffersMade++);
    ++m_liveBuffers;
    return true;
}

void CVertexRecordingRenderer::DestroyVertexBuffer(CVertexBuffer* buffer)
{
    if (!buffer)
        return;
    delete buffer;
    --m_liveBuffers;
}

void CVertexRecordingRenderer::BindTexture(int index, bool)
{
    m_calls.push_back("bind " + std::to_string(index));
    m_boundTexture = index;
}

void CVertexRecordingRenderer::RecordDraw(const SScreenVertex* vertices, int count, int buffer)
{
    m_calls.push_back("draw " + std::to_string(count));
    SRecordedDraw draw;
    draw.vertices.assign(vertices, vertices + count);
    draw.texture = m_boundTexture;
    draw.blend = m_blend;
    draw.blendSource = m_blendSource;
    draw.blendDest = m_blendDest;
    draw.alphaTest = m_alphaTest;
    draw.alphaFunction = m_alphaFunction;
    draw.alphaReference = m_alphaReference;
    draw.flash = m_flash;
    draw.buffer = buffer;
    m_draws.push_back(std::move(draw));
}

bool CVertexRecordingRenderer::ApiUploadTexture(STextureSlot& slot, int width, int height, int sourceCode,
                                          const void* pixels, const uint32_t*, uint32_t& bytes)
{
    if (m_uploadCount++ == m_failUploadAt)
        return false;
    SRecordedUpload upload;
    upload.index = static_cast<int>(&slot - m_textures);
    upload.kind = slot.kind;
    upload.filter = slot.filter;
    upload.noCompression = slot.noCompression;
    upload.wrapS = slot.wrapS;
    upload.wrapT = slot.wrapT;
    upload.width = width;
    upload.height = height;
    upload.sourceCode = sourceCode;
    if (sourceCode == 0)
    {
        const uint8_t* bytesIn = static_cast<const uint8_t*>(pixels);
        upload.pixels.assign(bytesIn, bytesIn + static_cast<size_t>(width) * height * 4);
    }
    m_uploads.push_back(std::move(upload));
    slot.apiTexture = reinterpret_cast<void*>(static_cast<intptr_t>(m_nextTextureHandle++));
    bytes = static_cast<uint32_t>(width * height * 4);
    return true;
}

void CVertexRecordingRenderer::ApiReleaseTexture(STextureSlot& slot)
{
    slot.apiTexture = nullptr;
}

SScreenVertex* CVertexRecordingRenderer::ApiLockBatch()
{
    m_batch.resize(RENDERER_BATCH_VERTICES);
    return m_batch.data();
}

bool CVertexRecordingRenderer::ApiDrawBatch(int count, bool)
{
    if (count > 0)
        RecordDraw(m_batch.data(), count, -1);
    return true;
}

bool CVertexRecordingRenderer::ApiDrawLineStrip(const SScreenVertex*, int)
{
    return true;
}

bool CVertexRecordingRenderer::ApiDrawTriangles(int, const SScreenVertex* vertices, int count)
{
    RecordDraw(vertices, count, -1);
    return true;
}

bool CVertexRecordingRenderer::ApiDrawIndexedTriangles(const SScreenVertex* vertices, int vertexCount,
                                                 const uint16_t* indices, int indexCount)
{
    std::vector<SScreenVertex> expanded;
    for (int i = 0; i < indexCount; ++i)
        if (indices[i] < vertexCount)
            expanded.push_back(vertices[indices[i]]);
    RecordDraw(expanded.data(), static_cast<int>(expanded.size()), -1);
    return true;
}

bool CVertexRecordingRenderer::ApiReadFrame(std::vector<uint8_t>& pixels, int& width, int& height)
{
    width = m_settings.width;
    height = m_settings.height;
    pixels.assign(static_cast<size_t>(width) * height * 4, 0);
    return true;
}

void CVertexRecordingRenderer::DrawRibbon(int textureIndex, float width, const float* points, int segments,
                                          float cameraX, float cameraY, const float startColour[3],
                                          const float endColour[3], float startAlpha, float endAlpha, bool blend,
                                          bool alphaTest, bool additive, bool quads)
{
    SRecordedRibbon ribbon{};
    ribbon.texture = textureIndex;
    ribbon.width = width;
    if (points && segments > 0)
        ribbon.points.assign(points, points + 2 * (segments + 1));
    ribbon.segments = segments;
    ribbon.cameraX = cameraX;
    ribbon.cameraY = cameraY;
    for (int i = 0; i < 3; ++i)
    {
        ribbon.startColour[i] = startColour[i];
        ribbon.endColour[i] = endColour[i];
    }
    ribbon.startAlpha = startAlpha;
    ribbon.endAlpha = endAlpha;
    ribbon.blend = blend;
    ribbon.alphaTest = alphaTest;
    ribbon.additive = additive;
    ribbon.quads = quads;
    m_ribbons.push_back(ribbon);
    CRenderer::DrawRibbon(textureIndex, width, points, segments, cameraX, cameraY, startColour, endColour, startAlpha,
                          endAlpha, blend, alphaTest, additive, quads);
}
