#include "platform/Renderer.h"

#include <algorithm>
#include <cmath>

bool CRenderer::BeginBatch(const int* textureIndex, bool alphaBlend, bool alphaTest, bool additive)
{
    EnableTexturing();
    SetTextureModulate();
    m_batchTexture = textureIndex ? *textureIndex : NO_TEXTURE;
    // The texture's own filter flag holds in batches too (a nearest-filtered texture stays
    // crisp on either renderer).
    const STextureSlot* slot = GetTextureSlot(m_batchTexture);
    BindTexture(m_batchTexture, !slot || !slot->inUse || slot->filter);
    m_batchCount = 0;
    m_batchBlend = alphaBlend;
    m_batchAlphaTest = alphaTest;
    m_batchAdditive = additive;
    if (!m_batchVertices)
        m_batchVertices = ApiLockBatch();
    return true;
}

bool CRenderer::ReserveVertices(int count, SScreenVertex** vertices)
{
    if (count < 0 || count > RENDERER_BATCH_VERTICES || !vertices)
        return false;
    if (RENDERER_BATCH_VERTICES - m_batchCount < count && !FlushBatch(false))
        return false;
    if (!m_batchVertices)
        m_batchVertices = ApiLockBatch();
    if (!m_batchVertices)
        return false;
    *vertices = m_batchVertices + m_batchCount;
    m_batchCount += count;
    return true;
}

bool CRenderer::FlushBatch(bool strip)
{
    const int count = m_batchCount;
    m_batchCount = 0;
    if (count == 0)
    {
        if (m_batchVertices)
            ApiDrawBatch(0, strip); // ends writing, draws nothing
        m_batchVertices = nullptr;
        return true;
    }
    if (m_batchBlend)
        SetBlend(BLEND_SRC_ALPHA, BLEND_INV_SRC_ALPHA);
    else if (m_batchAdditive)
        SetBlend(BLEND_ONE, BLEND_ONE);
    else
        DisableBlend();
    if (m_batchAlphaTest)
        SetAlphaTest(ALPHA_GREATER, 0.1f);
    else
        DisableAlphaTest();
    m_polygonCount += strip ? uint32_t(std::max(count - 2, 0)) : uint32_t(count / 3);
    bool drawn = ApiDrawBatch(count, strip);
    m_batchVertices = nullptr;
    return drawn;
}

// ---- helper primitives ------------------------------------------------------------

namespace
{
SScreenVertex MakeVertex(float x, float y, uint32_t colour, float u = 0.0f, float v = 0.0f)
{
    return SScreenVertex{x, y, 0.0f, 1.0f, colour, u, v};
}
} // namespace

void CRenderer::DrawRect(float x, float y, float width, float height, uint32_t colour, bool blend)
{
    // The packed colour is 0xAARRGGBB here and 0xRRGGBBAA in the other colour order.
    uint32_t vertexColour = colour;
    if (!m_colourIsArgb)
        vertexColour = (colour & 0xFF) << 24 | (colour >> 8 & 0xFF) << 16 | (colour >> 16 & 0xFF) << 8 | colour >> 24;
    DrawFilledRect(x, y, width, height, vertexColour, blend);
}

void CRenderer::DrawRectF(float x, float y, float width, float height, float red, float green, float blue,
                          float alpha, bool blend)
{
    DrawFilledRect(x, y, width, height, PackColour(red, green, blue, alpha), blend);
}

void CRenderer::DrawFilledRect(float x, float y, float width, float height, uint32_t vertexColour, bool blend)
{
    SetOrtho2D(0.0f, 0.0f, float(m_settings.width), float(m_settings.height));
    if (blend)
        SetBlend(BLEND_SRC_ALPHA, BLEND_INV_SRC_ALPHA);
    else
        DisableBlend();
    DisableAlphaTest();
    DisableTexturing();
    x += GetPixelCentreShift();
    y += GetPixelCentreShift();
    SScreenVertex quad[4] = {MakeVertex(x, y, vertexColour), MakeVertex(x + width, y, vertexColour),
                             MakeVertex(x, y + height, vertexColour), MakeVertex(x + width, y + height, vertexColour)};
    ApiDrawTriangles(PRIMITIVE_STRIP, quad, 4);
}

void CRenderer::DrawCircle(float x, float y, float radius, const float colour[3])
{
    DisableAlphaTest();
    DisableBlend();
    DisableTexturing();
    const uint32_t packed = PackColour(colour[0], colour[1], colour[2], 1.0f);
    const float sx = GetVirtualScaleX(), sy = GetVirtualScaleY();
    SScreenVertex loop[17];
    for (int i = 0; i < 16; ++i)
    {
        float a = float(i) * 22.5f * 3.14159265f / 180.0f;
        loop[i] = MakeVertex((x + radius * std::sin(a)) * sx + GetPixelCentreShift(),
                             (y + radius * std::cos(a)) * sy + GetPixelCentreShift(), packed);
    }
    loop[16] = loop[0];
    ApiDrawLineStrip(loop, 17);
}

void CRenderer::DrawRotatedBox(float x, float y, float halfWidth, float halfHeight, float angle, const float colour[3])
{
    DisableAlphaTest();
    DisableBlend();
    DisableTexturing();
    const uint32_t packed = PackColour(colour[0], colour[1], colour[2], 1.0f);
    const float sx = GetVirtualScaleX(), sy = GetVirtualScaleY();
    const float c = std::cos(angle), s = std::sin(angle);
    const float corners[4][2] = {{-halfWidth, -halfHeight}, {halfWidth, -halfHeight}, {halfWidth, halfHeight},
                                 {-halfWidth, halfHeight}};
    SScreenVertex loop[5];
    for (int i = 0; i < 4; ++i)
    {
        float px = x + corners[i][0] * c - corners[i][1] * s;
        float py = y + corners[i][0] * s + corners[i][1] * c;
        loop[i] = MakeVertex(px * sx + GetPixelCentreShift(), py * sy + GetPixelCentreShift(), packed);
    }
    loop[4] = loop[0];
    ApiDrawLineStrip(loop, 5);
}

void CRenderer::DrawRibbon(int textureIndex, float width, const float* points, int segments, float cameraX,
                           float cameraY, const float startColour[3], const float endColour[3], float startAlpha,
                           float endAlpha, bool blend, bool alphaTest, bool additive, bool quads)
{
    if (textureIndex == NO_TEXTURE || !points || segments < 1)
        return;
    const int pointCount = segments + 1;
    const float half = width * 0.5f;

    // Unit normals of the segments; a zero-length segment borrows its neighbour's.
    std::vector<float> nx(size_t(segments), 0.0f), ny(size_t(segments), 0.0f);
    std::vector<bool> known(size_t(segments), false);
    for (int i = 0; i < segments; ++i)
    {
        float dx = points[2 * i + 2] - points[2 * i], dy = points[2 * i + 3] - points[2 * i + 1];
        float length = std::sqrt(dx * dx + dy * dy);
        if (length > 1e-6f && std::isfinite(length))
        {
            nx[size_t(i)] = -dy / length;
            ny[size_t(i)] = dx / length;
            known[size_t(i)] = true;
        }
    }
    int firstKnown = -1;
    for (int i = 0; i < segments && firstKnown < 0; ++i)
        if (known[size_t(i)])
            firstKnown = i;
    if (firstKnown < 0)
        return; // every point in one place: no direction to draw along
    for (int i = 0; i < segments; ++i)
        if (!known[size_t(i)])
        {
            int from = i > 0 ? i - 1 : firstKnown;
            nx[size_t(i)] = nx[size_t(from)];
            ny[size_t(i)] = ny[size_t(from)];
        }

    // Edge vertices of every point: a joint takes the average of its two segments' normals,
    // or the later one where they cancel (a U-turn).
    std::vector<SScreenVertex> edge(size_t(pointCount) * 2);
    for (int i = 0; i < pointCount; ++i)
    {
        int before = std::max(i - 1, 0), after = std::min(i, segments - 1);
        float ax = nx[size_t(before)] + nx[size_t(after)], ay = ny[size_t(before)] + ny[size_t(after)];
        float length = std::sqrt(ax * ax + ay * ay);
        if (length < 1e-4f)
        {
            ax = nx[size_t(after)];
            ay = ny[size_t(after)];
            length = 1.0f;
        }
        ax /= length;
        ay /= length;
        float t = float(i) / float(segments);
        uint32_t colour = PackColour(startColour[0] + (endColour[0] - startColour[0]) * t,
                                     startColour[1] + (endColour[1] - startColour[1]) * t,
                                     startColour[2] + (endColour[2] - startColour[2]) * t,
                                     startAlpha + (endAlpha - startAlpha) * t);
        float px = points[2 * i] - cameraX + GetPixelCentreShift();
        float py = points[2 * i + 1] - cameraY + GetPixelCentreShift();
        edge[size_t(2 * i)] = MakeVertex(px + ax * half, py + ay * half, colour, 0.0f, float(i));
        edge[size_t(2 * i + 1)] = MakeVertex(px - ax * half, py - ay * half, colour, 1.0f, float(i));
    }

    if (!quads)
    {
        // One strip through the batch, in pieces that fit it; each piece repeats the joint.
        BeginBatch(&textureIndex, blend, alphaTest, additive);
        const int maxPoints = RENDERER_BATCH_VERTICES / 2;
        for (int first = 0; first < pointCount - 1; first += maxPoints - 1)
        {
            int count = std::min(maxPoints, pointCount - first);
            SScreenVertex* out = nullptr;
            if (!ReserveVertices(count * 2, &out))
                return;
            std::copy(edge.begin() + first * 2, edge.begin() + (first + count) * 2, out);
            FlushBatch(true);
        }
        return;
    }

    if (blend)
        SetBlend(BLEND_SRC_ALPHA, BLEND_INV_SRC_ALPHA);
    else
        DisableBlend();
    if (alphaTest)
        SetAlphaTest(ALPHA_GREATER, 0.1f);
    else
        DisableAlphaTest();
    if (additive)
        SetBlend(BLEND_ONE, BLEND_ONE);
    EnableTexturing();
    SetTextureModulate();
    BindTexture(textureIndex, true);
    // Four vertices and six indices a segment, in pieces of at most a batch of vertices.
    const int maxSegments = RENDERER_BATCH_VERTICES / 4;
    std::vector<SScreenVertex> vertices;
    std::vector<uint16_t> indices;
    for (int first = 0; first < segments; first += maxSegments)
    {
        int count = std::min(maxSegments, segments - first);
        vertices.clear();
        indices.clear();
        for (int s = first; s < first + count; ++s)
        {
            uint16_t base = uint16_t(vertices.size());
            vertices.push_back(edge[size_t(2 * s)]);
            vertices.push_back(edge[size_t(2 * s + 1)]);
            vertices.push_back(edge[size_t(2 * s + 2)]);
            vertices.push_back(edge[size_t(2 * s + 3)]);
            for (int k : {0, 1, 2, 2, 1, 3})
                indices.push_back(uint16_t(base + k));
        }
        m_polygonCount += uint32_t(count * 2);
        ApiDrawIndexedTriangles(vertices.data(), int(vertices.size()), indices.data(), int(indices.size()));
    }
}
