// Render states, textures and drawing of the OpenGL renderer.
#include "platform/OpenGLRenderer.h"

#include "platform/PixelFormat.h"
#include "platform/VertexBuffer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace
{
constexpr GLsizei STRIDE = sizeof(SScreenVertex);

GLenum BlendOf(int code)
{
    switch (code)
    {
    case BLEND_ZERO: return gl::ZERO;
    case BLEND_ONE: return gl::ONE;
    case BLEND_SRC_ALPHA: return gl::SRC_ALPHA;
    default: return gl::ONE_MINUS_SRC_ALPHA;
    }
}

GLenum CompareOf(int code)
{
    switch (code)
    {
    case ALPHA_EQUAL: return gl::EQUAL;
    case ALPHA_LESS: return gl::LESS;
    case ALPHA_LESS_EQUAL: return gl::LEQUAL;
    case ALPHA_GREATER: return gl::GREATER;
    default: return gl::GEQUAL;
    }
}

GLenum InternalFormatOf(bool hiQuality, int kind)
{
    if (hiQuality)
        return gl::RGBA8;
    switch (kind)
    {
    case TEXTURE_ALPHA: return gl::RGBA4;
    case TEXTURE_ONE_BIT_ALPHA: return gl::RGB5_A1;
    default: return gl::RGB5;
    }
}

GLuint NameOf(const STextureSlot& slot)
{
    return GLuint(reinterpret_cast<uintptr_t>(slot.apiTexture));
}

GLenum IndexTypeOf(int kind)
{
    return kind == INDEX_8 ? gl::UNSIGNED_BYTE : kind == INDEX_16 ? gl::UNSIGNED_SHORT : gl::UNSIGNED_INT;
}

uint32_t IndexAt(const void* indices, GLenum type, int i)
{
    if (type == gl::UNSIGNED_BYTE)
        return static_cast<const uint8_t*>(indices)[i];
    if (type == gl::UNSIGNED_SHORT)
        return static_cast<const uint16_t*>(indices)[i];
    return static_cast<const uint32_t*>(indices)[i];
}
} // namespace

// Vertices in plain memory; drawn through the renderer's render method.
class COpenGLVertexBuffer : public CVertexBuffer
{
public:
    COpenGLVertexBuffer(COpenGLRenderer& owner, int sizeBytes)
        : m_owner(owner), m_vertices(size_t(sizeBytes) / sizeof(SScreenVertex) + 1)
    {
        m_capacity = sizeBytes / int(sizeof(SScreenVertex));
    }

    bool Lock(SScreenVertex** vertices) override
    {
        if (!vertices || m_locked)
            return false;
        m_locked = true;
        *vertices = m_vertices.data();
        return true;
    }
    bool Unlock() override
    {
        const bool was = m_locked;
        m_locked = false;
        return was;
    }
    bool IsLocked() override { return m_locked; }
    void BeginDraw() override {}
    void EndDraw() override {}

    bool Draw(int primitive, int vertexCount) override
    {
        if (vertexCount < 0 || vertexCount > m_capacity)
            return false;
        if (vertexCount < 3)
            return true;
        return m_owner.DrawVertices(primitive == PRIMITIVE_STRIP ? gl::TRIANGLE_STRIP : gl::TRIANGLES,
                                    m_vertices.data(), vertexCount, nullptr, 0, 0);
    }

    bool DrawIndexed(int primitive, int indexCount, int indexKind, const void* indices) override
    {
        // Sending single vertices has no indexed form.
        if (m_owner.m_settings.ultraSafeRenderMethod || !indices || indexCount < 0)
            return false;
        const GLenum type = IndexTypeOf(indexKind);
        for (int i = 0; i < indexCount; ++i)
            if (IndexAt(indices, type, i) >= uint32_t(m_capacity))
                return false;
        if (indexCount < 3)
            return true;
        return m_owner.DrawVertices(primitive == PRIMITIVE_STRIP ? gl::TRIANGLE_STRIP : gl::TRIANGLES,
                                    m_vertices.data(), m_capacity, indices, type, indexCount);
    }

private:
    COpenGLRenderer& m_owner;
    std::vector<SScreenVertex> m_vertices;
    int m_capacity = 0;
    bool m_locked = false;
};

GLuint COpenGLRenderer::GetTextureName(int index) const
{
    const STextureSlot* slot = GetTextureSlot(index);
    return slot ? NameOf(*slot) : 0;
}

bool COpenGLRenderer::CreateVertexBuffer(int sizeBytes, CVertexBuffer** buffer)
{
    if (sizeBytes <= 0 || !buffer)
        return false;
    auto* made = new COpenGLVertexBuffer(*this, sizeBytes);
    m_vertexBuffers.push_back(made);
    *buffer = made;
    return true;
}

void COpenGLRenderer::DestroyVertexBuffer(CVertexBuffer* buffer)
{
    auto it = std::find(m_vertexBuffers.begin(), m_vertexBuffers.end(), buffer);
    if (it == m_vertexBuffers.end())
        return;
    m_vertexBuffers.erase(it);
    delete buffer;
}

// Plain memory survives a new context: nothing to release or rebuild.
void COpenGLRenderer::ApiReleaseDeviceObjects()
{
}

bool COpenGLRenderer::ApiRestoreDeviceObjects()
{
    return true;
}

void COpenGLRenderer::ForgetCachedState()
{
    // The driver is put in a known state, which the cache then describes exactly.
    m_texturing = false;
    m_textureBound = false;
    m_boundName = 0;
    m_textureEnabled = false;
    m_envMode = gl::MODULATE;
    m_blendOn = false;
    m_blendSource = m_blendDest = 0;
    m_alphaTestOn = false;
    m_alphaFunction = 0;
    m_alphaReference = -1.0f;
    if (!m_gameWindow.HasGlContext())
        return;
    m_gl.Disable(gl::TEXTURE_2D);
    m_gl.BindTexture(gl::TEXTURE_2D, 0);
    m_gl.TexEnvi(gl::TEXTURE_ENV, gl::TEXTURE_ENV_MODE, GLint(gl::MODULATE));
    m_gl.Disable(gl::BLEND);
    m_gl.Disable(gl::ALPHA_TEST);
}

// ---- render state -----------------------------------------------------------------

void COpenGLRenderer::EnableTexturing()
{
    m_texturing = true;
}

void COpenGLRenderer::DisableTexturing()
{
    m_texturing = false;
}

void COpenGLRenderer::ApplyTexturing()
{
    const bool on = m_texturing && m_textureBound;
    if (on == m_textureEnabled)
        return;
    if (on)
        m_gl.Enable(gl::TEXTURE_2D);
    else
        m_gl.Disable(gl::TEXTURE_2D);
    m_textureEnabled = on;
}

void COpenGLRenderer::SetTextureDecal()
{
    // The texture's colour and alpha replace the vertex's, as on the other renderer (the
    // driver's own decal mode would keep the vertex alpha and mix by the texture's).
    if (!m_gameWindow.HasGlContext() || m_envMode == gl::REPLACE)
        return;
    m_gl.TexEnvi(gl::TEXTURE_ENV, gl::TEXTURE_ENV_MODE, GLint(gl::REPLACE));
    m_envMode = gl::REPLACE;
}

void COpenGLRenderer::SetTextureModulate()
{
    if (!m_gameWindow.HasGlContext() || m_envMode == gl::MODULATE)
        return;
    m_gl.TexEnvi(gl::TEXTURE_ENV, gl::TEXTURE_ENV_MODE, GLint(gl::MODULATE));
    m_envMode = gl::MODULATE;
}

void COpenGLRenderer::SetTextureColourFromVertex()
{
    if (!m_caps.combine)
    {
        SetTextureModulate();
        return;
    }
    if (!m_gameWindow.HasGlContext() || m_envMode == gl::COMBINE)
        return;
    m_gl.TexEnvi(gl::TEXTURE_ENV, gl::TEXTURE_ENV_MODE, GLint(gl::COMBINE));
    m_gl.TexEnvi(gl::TEXTURE_ENV, gl::COMBINE_RGB, GLint(gl::REPLACE));
    m_gl.TexEnvi(gl::TEXTURE_ENV, gl::SOURCE0_RGB, GLint(gl::PRIMARY_COLOR));
    m_gl.TexEnvi(gl::TEXTURE_ENV, gl::OPERAND0_RGB, GLint(gl::SRC_COLOR));
    m_gl.TexEnvi(gl::TEXTURE_ENV, gl::COMBINE_ALPHA, GLint(gl::REPLACE));
    m_gl.TexEnvi(gl::TEXTURE_ENV, gl::SOURCE0_ALPHA, GLint(gl::TEXTURE));
    m_gl.TexEnvi(gl::TEXTURE_ENV, gl::OPERAND0_ALPHA, GLint(gl::SRC_ALPHA));
    m_envMode = gl::COMBINE;
}

void COpenGLRenderer::DisableBlend()
{
    if (!m_gameWindow.HasGlContext() || !m_blendOn)
        return;
    m_gl.Disable(gl::BLEND);
    m_blendOn = false;
}

void COpenGLRenderer::SetBlend(int sourceCode, int destCode)
{
    const GLenum source = BlendOf(sourceCode), dest = BlendOf(destCode);
    if (!m_gameWindow.HasGlContext() || (m_blendOn && m_blendSource == source && m_blendDest == dest))
        return;
    m_gl.BlendFunc(source, dest);
    m_gl.Enable(gl::BLEND);
    m_blendOn = true;
    m_blendSource = source;
    m_blendDest = dest;
}

void COpenGLRenderer::DisableAlphaTest()
{
    if (!m_gameWindow.HasGlContext() || !m_alphaTestOn)
        return;
    m_gl.Disable(gl::ALPHA_TEST);
    m_alphaTestOn = false;
}

void COpenGLRenderer::SetAlphaTest(int functionCode, float reference)
{
    // The reference is taken in whole steps of 1/255, as the other renderer takes it, so
    // that an alpha byte on the reference compares the same on both.
    const float steps = std::round(std::clamp(reference, 0.0f, 1.0f) * 255.0f);
    const GLenum function = CompareOf(functionCode);
    if (!m_gameWindow.HasGlContext() ||
        (m_alphaTestOn && m_alphaFunction == function && m_alphaReference == steps))
        return;
    m_gl.AlphaFunc(function, steps / 255.0f);
    m_gl.Enable(gl::ALPHA_TEST);
    m_alphaTestOn = true;
    m_alphaFunction = function;
    m_alphaReference = steps;
}

void COpenGLRenderer::EnableDepthTest()
{
    if (!m_gameWindow.HasGlContext())
        return;
    m_gl.DepthFunc(gl::LEQUAL);
    m_gl.Enable(gl::DEPTH_TEST);
}

void COpenGLRenderer::DisableDepthTest()
{
    if (m_gameWindow.HasGlContext())
        m_gl.Disable(gl::DEPTH_TEST);
}

void COpenGLRenderer::EnableDepthWrite()
{
    if (m_gameWindow.HasGlContext())
        m_gl.DepthMask(gl::TRUE);
}

void COpenGLRenderer::DisableDepthWrite()
{
    if (m_gameWindow.HasGlContext())
        m_gl.DepthMask(gl::FALSE);
}

// ---- textures -----------------------------------------------------------------------

void COpenGLRenderer::BindTexture(int index, bool filter)
{
    if (!m_gameWindow.HasGlContext())
        return;
    const STextureSlot* slot = GetTextureSlot(index);
    if (!slot || !slot->inUse || NameOf(*slot) == 0)
    {
        m_gl.BindTexture(gl::TEXTURE_2D, 0);
        m_boundName = 0;
        m_textureBound = false;
        return;
    }
    m_boundName = NameOf(*slot);
    m_gl.BindTexture(gl::TEXTURE_2D, m_boundName);
    ApplySampling(*slot, filter);
    m_textureBound = true;
}

void COpenGLRenderer::ApplySampling(const STextureSlot& slot, bool filter)
{
    m_gl.TexParameteri(gl::TEXTURE_2D, gl::TEXTURE_MAG_FILTER, GLint(filter ? m_magFilter : gl::NEAREST));
    m_gl.TexParameteri(gl::TEXTURE_2D, gl::TEXTURE_MIN_FILTER, GLint(filter ? m_minFilter : gl::NEAREST));
    m_gl.TexParameteri(gl::TEXTURE_2D, gl::TEXTURE_WRAP_S, GLint(slot.wrapS ? gl::REPEAT : m_clampMode));
    m_gl.TexParameteri(gl::TEXTURE_2D, gl::TEXTURE_WRAP_T, GLint(slot.wrapT ? gl::REPEAT : m_clampMode));
}

bool COpenGLRenderer::ApiUploadTexture(STextureSlot& slot, int width, int height, int sourceCode,
                                       const void* pixels, const uint32_t* palette, uint32_t& bytes)
{
    if (!m_gameWindow.HasGlContext() || width <= 0 || height <= 0 || !pixels)
        return false;
    // Everything goes up as blue, green, red, alpha bytes (red first without the extension).
    std::vector<uint8_t> converted;
    const void* data = pixels;
    if (sourceCode != PIXEL_BGRA8888 || !m_caps.bgra)
    {
        converted.resize(size_t(width) * size_t(height) * 4);
        if (!ConvertPixels(width, height, sourceCode, pixels, width * GetPixelSize(sourceCode), palette,
                           PIXEL_BGRA8888, converted.data(), width * 4))
            return false;
        if (!m_caps.bgra)
            for (size_t i = 0; i < converted.size(); i += 4)
                std::swap(converted[i], converted[i + 2]);
        data = converted.data();
    }
    GLuint name = NameOf(slot);
    if (name == 0)
    {
        m_gl.GenTextures(1, &name);
        if (name == 0)
            return false;
        slot.apiTexture = reinterpret_cast<void*>(uintptr_t(name));
    }
    while (m_gl.GetError() != gl::NO_ERROR)
    {
    }
    m_gl.BindTexture(gl::TEXTURE_2D, name);
    ApplySampling(slot, slot.filter);
    const GLenum internal = InternalFormatOf(m_settings.hiQualityTextures, slot.kind);
    m_gl.TexImage2D(gl::TEXTURE_2D, 0, GLint(internal), width, height, 0, m_caps.bgra ? gl::BGRA : gl::RGBA,
                    gl::UNSIGNED_BYTE, data);
    const bool uploaded = m_gl.GetError() == gl::NO_ERROR;
    // The texture that was current stays current.
    m_gl.BindTexture(gl::TEXTURE_2D, m_boundName);
    if (!uploaded)
        return false;
    bytes = uint32_t(width) * uint32_t(height) * (internal == gl::RGBA8 ? 4u : 2u);
    return true;
}

void COpenGLRenderer::ApiReleaseTexture(STextureSlot& slot)
{
    GLuint name = NameOf(slot);
    if (name != 0 && m_gameWindow.HasGlContext())
        m_gl.DeleteTextures(1, &name);
    if (name != 0 && name == m_boundName)
    {
        m_boundName = 0;
        m_textureBound = false;
    }
    slot.apiTexture = nullptr;
}

// ---- drawing -----------------------------------------------------------------------

SScreenVertex* COpenGLRenderer::ApiLockBatch()
{
    return m_batch;
}

bool COpenGLRenderer::ApiDrawBatch(int count, bool strip)
{
    if (count == 0)
        return true;
    return DrawVertices(strip ? gl::TRIANGLE_STRIP : gl::TRIANGLES, m_batch, count, nullptr, 0, 0);
}

bool COpenGLRenderer::ApiDrawLineStrip(const SScreenVertex* vertices, int count)
{
    if (!vertices || count < 2)
        return false;
    return DrawVertices(gl::LINE_STRIP, vertices, count, nullptr, 0, 0);
}

bool COpenGLRenderer::ApiDrawTriangles(int primitive, const SScreenVertex* vertices, int count)
{
    if (!vertices || count < 3)
        return false;
    return DrawVertices(primitive == PRIMITIVE_STRIP ? gl::TRIANGLE_STRIP : gl::TRIANGLES, vertices, count, nullptr,
                        0, 0);
}

bool COpenGLRenderer::ApiDrawIndexedTriangles(const SScreenVertex* vertices, int vertexCount,
                                              const uint16_t* indices, int indexCount)
{
    if (!vertices || !indices || indexCount < 3 || vertexCount <= 0)
        return false;
    for (int i = 0; i < indexCount; ++i)
        if (indices[i] >= vertexCount)
            return false;
    return DrawVertices(gl::TRIANGLES, vertices, vertexCount, indices, gl::UNSIGNED_SHORT, indexCount);
}

bool COpenGLRenderer::DrawVertices(GLenum mode, const SScreenVertex* vertices, int vertexCount,
                                   const void* indices, GLenum indexType, int indexCount)
{
    if (!m_gameWindow.HasGlContext())
        return false;
    ApplyTexturing();
    const int count = indices ? indexCount : vertexCount;
    auto vertexAt = [&](int i) { return indices ? int(IndexAt(indices, indexType, i)) : i; };

    if (m_settings.ultraSafeRenderMethod)
    {
        // One call per value: the colour bytes in memory order red, green, blue, alpha.
        m_gl.Begin(mode);
        for (int i = 0; i < count; ++i)
        {
            const SScreenVertex& v = vertices[vertexAt(i)];
            const auto* c = reinterpret_cast<const GLubyte*>(&v.colour);
            m_gl.TexCoord2f(v.u, v.v);
            m_gl.Color4ub(c[0], c[1], c[2], c[3]);
            m_gl.Vertex4f(v.x, v.y, v.z, v.rhw);
        }
        m_gl.End();
        return true;
    }

    const auto* base = reinterpret_cast<const uint8_t*>(vertices);
    m_gl.VertexPointer(4, gl::FLOAT, STRIDE, base + offsetof(SScreenVertex, x));
    m_gl.ColorPointer(4, gl::UNSIGNED_BYTE, STRIDE, base + offsetof(SScreenVertex, colour));
    m_gl.TexCoordPointer(2, gl::FLOAT, STRIDE, base + offsetof(SScreenVertex, u));
    m_gl.EnableClientState(gl::VERTEX_ARRAY);
    m_gl.EnableClientState(gl::COLOR_ARRAY);
    m_gl.EnableClientState(gl::TEXTURE_COORD_ARRAY);
    if (m_settings.safeRenderMethod)
    {
        m_gl.Begin(mode);
        for (int i = 0; i < count; ++i)
            m_gl.ArrayElement(vertexAt(i));
        m_gl.End();
    }
    else
    {
        const bool lock = m_useCva && !m_settings.disableCva;
        if (lock)
            m_gl.LockArraysEXT(0, vertexCount);
        if (indices)
            m_gl.DrawElements(mode, indexCount, indexType, indices);
        else
            m_gl.DrawArrays(mode, 0, vertexCount);
        if (lock)
            m_gl.UnlockArraysEXT();
    }
    m_gl.DisableClientState(gl::VERTEX_ARRAY);
    m_gl.DisableClientState(gl::COLOR_ARRAY);
    m_gl.DisableClientState(gl::TEXTURE_COORD_ARRAY);
    return true;
}
