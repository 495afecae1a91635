#include "tests/support/RecordingRenderer.h"

#include <cstring>

namespace
{
class CRecordingBuffer : public CVertexBuffer
{
public:
    CRecordingBuffer(CRecordingRenderer& owner, int vertices, int number)
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
    CRecordingRenderer& m_owner;
    std::vector<SScreenVertex> m_vertices;
    int m_number;
    bool m_locked = false;
    bool m_begun = false;
};
} // namespace

CRecordingRenderer::CRecordingRenderer(bool colourIsArgb, int width) : CRenderer(colourIsArgb)
{
    m_settings.fullScreen = false;
    m_settings.width = width;
    m_settings.height = width * 3 / 4;
    m_pending = m_settings;
    m_isActive = true;
    m_opened = true;
}

CRecordingRenderer::~CRecordingRenderer()
{
    ReleaseAllTextures();
}

void CRecordingRenderer::SetBackBuffer(int width, int height)
{
    m_settings.width = m_pending.width = width;
    m_settings.height = m_pending.height = height;
}

void CRecordingRenderer::ClearRecords()
{
    m_uploads.clear();
    m_draws.clear();
    m_calls.clear();
}

int CRecordingRenderer::CountLiveTextures() const
{
    int count = 0;
    for (int i = 0; i < RENDERER_TEXTURE_SLOTS; ++i)
        if (GetTextureSlot(i) && GetTextureSlot(i)->inUse)
            ++count;
    return count;
}

bool CRecordingRenderer::Open(const char*, CConsole* console)
{
    m_console = console;
    m_opened = true;
    return true;
}

void CRecordingRenderer::Close()
{
    ReleaseAllTextures();
    m_opened = false;
}

void CRecordingRenderer::GetClientRect(int& left, int& top, int& right, int& bottom)
{
    left = top = 0;
    right = m_settings.width;
    bottom = m_settings.height;
}

void CRecordingRenderer::SetOrthoProjection(float left, float top, float right, float bottom, float, float)
{
    m_calls.push_back("ortho " + std::to_string(int(left)) + " " + std::to_string(int(top)) + " " +
                      std::to_string(int(right)) + " " + std::to_string(int(bottom)));
}

void CRecordingRenderer::EnableTexturing()
{
    m_calls.push_back("texturing on");
}

void CRecordingRenderer::DisableTexturing()
{
    m_calls.push_back("texturing off");
}

void CRecordingRenderer::SetTextureDecal()
{
    m_calls.push_back("decal");
    m_flash = false;
}

void CRecordingRenderer::SetTextureModulate()
{
    m_calls.push_back("modulate");
    m_flash = false;
}

void CRecordingRenderer::SetTextureColourFromVertex()
{
    m_calls.push_back("flash");
    m_flash = true;
}

void CRecordingRenderer::DisableBlend()
{
    m_calls.push_back("blend off");
    m_blend = false;
}

void CRecordingRenderer::SetBlend(int sourceCode, int destCode)
{
    m_calls.push_back("blend " + std::to_string(sourceCode) + " " + std::to_string(destCode));
    m_blend = true;
    m_blendSource = sourceCode;
    m_blendDest = destCode;
}

void CRecordingRenderer::DisableAlphaTest()
{
    m_calls.push_back("alphatest off");
    m_alphaTest = false;
}

void CRecordingRenderer::SetAlphaTest(int functionCode, float reference)
{
    m_calls.push_back("alphatest " + std::to_string(functionCode));
    m_alphaTest = true;
    m_alphaFunction = functionCode;
    m_alphaReference = reference;
}

bool CRecordingRenderer::CreateVertexBuffer(int sizeBytes, CVertexBuffer** buffer)
{
    if (sizeBytes <= 0 || !buffer)
        return false;
    if (m_failVertexBuffers > 0)
    {
        --m_failVertexBuffers;
        return false;
    }
    *buffer = new CRecordingBuffer(*this, sizeBytes / static_cast<int>(sizeof(SScreenVertex)), m_buffersMade++);
    ++m_liveBuffers;
    return true;
}

void CRecordingRenderer::DestroyVertexBuffer(CVertexBuffer* buffer)
{
    if (!buffer)
        return;
    delete buffer;
    --m_liveBuffers;
}

void CRecordingRenderer::BindTexture(int index, bool)
{
    m_calls.push_back("bind " + std::to_string(index));
    m_boundTexture = index;
}

void CRecordingRenderer::RecordDraw(const SScreenVertex* vertices, int count, int buffer)
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

bool CRecordingRenderer::ApiUploadTexture(STextureSlot& slot, int width, int height, int sourceCode,
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

void CRecordingRenderer::ApiReleaseTexture(STextureSlot& slot)
{
    slot.apiTexture = nullptr;
}

SScreenVertex* CRecordingRenderer::ApiLockBatch()
{
    m_batch.resize(RENDERER_BATCH_VERTICES);
    return m_batch.data();
}

bool CRecordingRenderer::ApiDrawBatch(int count, bool)
{
    if (count > 0)
        RecordDraw(m_batch.data(), count, -1);
    return true;
}

bool CRecordingRenderer::ApiDrawLineStrip(const SScreenVertex*, int)
{
    return true;
}

bool CRecordingRenderer::ApiDrawTriangles(int, const SScreenVertex* vertices, int count)
{
    RecordDraw(vertices, count, -1);
    return true;
}

bool CRecordingRenderer::ApiDrawIndexedTriangles(const SScreenVertex* vertices, int vertexCount,
                                                 const uint16_t* indices, int indexCount)
{
    std::vector<SScreenVertex> expanded;
    for (int i = 0; i < indexCount; ++i)
        if (indices[i] < vertexCount)
            expanded.push_back(vertices[indices[i]]);
    RecordDraw(expanded.data(), static_cast<int>(expanded.size()), -1);
    return true;
}

bool CRecordingRenderer::ApiReadFrame(std::vector<uint8_t>& pixels, int& width, int& height)
{
    width = m_settings.width;
    height = m_settings.height;
    pixels.assign(static_cast<size_t>(width) * height * 4, 0);
    return true;
}
