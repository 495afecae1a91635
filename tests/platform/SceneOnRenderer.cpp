#include "tests/platform/SceneOnRenderer.h"

#include "platform/PixelFormat.h"
#include "platform/Renderer.h"
#include "platform/Tga.h"
#include "platform/VertexBuffer.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <utility>

namespace
{
uint32_t ToVertexColour(const CRenderer& renderer, uint32_t argb)
{
    if (renderer.IsColourArgb())
        return argb;
    return (argb & 0xFF00FF00u) | (argb >> 16 & 0xFFu) | (argb & 0xFFu) << 16;
}

void ApplyStates(CRenderer& renderer, const SSceneDraw& draw, int texture)
{
    switch (draw.op)
    {
    case ESceneStageOp::Modulate: renderer.EnableTexturing(); renderer.SetTextureModulate(); break;
    case ESceneStageOp::Decal: renderer.EnableTexturing(); renderer.SetTextureDecal(); break;
    case ESceneStageOp::ColourFromVertex: renderer.EnableTexturing(); renderer.SetTextureColourFromVertex(); break;
    case ESceneStageOp::Untextured: renderer.DisableTexturing(); break;
    }
    renderer.BindTexture(draw.op == ESceneStageOp::Untextured ? NO_TEXTURE : texture, draw.linear);
    if (draw.blend)
        renderer.SetBlend(draw.sourceBlend, draw.destBlend);
    else
        renderer.DisableBlend();
    if (draw.alphaTest)
        renderer.SetAlphaTest(draw.alphaFunction, draw.alphaReference);
    else
        renderer.DisableAlphaTest();
    if (draw.depthTest)
        renderer.EnableDepthTest();
    else
        renderer.DisableDepthTest();
    if (draw.depthWrite)
        renderer.EnableDepthWrite();
    else
        renderer.DisableDepthWrite();
}

bool ReadShot(const std::string& path, const SRenderScene& scene, std::vector<uint32_t>& out)
{
    STgaImage image;
    if (!LoadTga(path.c_str(), image) || image.width < int(scene.width) || image.height < int(scene.height))
        return false;
    out.clear();
    for (uint32_t y = 0; y < scene.height; ++y)
        for (uint32_t x = 0; x < scene.width; ++x)
        {
            const uint8_t* p = &image.pixels[(size_t(y) * size_t(image.width) + x) * 4];
            out.push_back(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
        }
    return true;
}
} // namespace

SRenderScene WithoutLines(const SRenderScene& scene)
{
    SRenderScene out = scene;
    out.draws.erase(std::remove_if(out.draws.begin(), out.draws.end(),
                                   [](const SSceneDraw& d) { return d.primitive == EScenePrimitive::LineStrip; }),
                    out.draws.end());
    return out;
}

std::vector<uint32_t> DrawSceneOnRenderer(CRenderer& renderer, const SRenderScene& source, const std::string& shotPath)
{
    const SRenderScene scene = WithoutLines(source);
    const float shift = renderer.IsColourArgb() ? -0.5f : 0.0f;

    // One texture slot per scene texture and addressing mode.
    std::map<std::pair<int, bool>, int> slots;
    size_t mostVertices = 1;
    for (const SSceneDraw& draw : scene.draws)
    {
        mostVertices = std::max(mostVertices, draw.vertices.size());
        if (draw.texture < 0 || slots.count({draw.texture, draw.wrap}))
            continue;
        const SSceneTexture& texture = scene.textures[size_t(draw.texture)];
        int index = NO_TEXTURE;
        // 0xAARRGGBB words are blue, green, red, alpha bytes in memory.
        if (!renderer.CreateTexture(true, draw.wrap, draw.wrap, TEXTURE_ALPHA, true, int(texture.width),
                                    int(texture.height), PIXEL_BGRA8888, texture.argb.data(), nullptr, &index))
            return {};
        slots[{draw.texture, draw.wrap}] = index;
    }
    CVertexBuffer* buffer = nullptr;
    if (!renderer.CreateVertexBuffer(int(mostVertices * sizeof(SScreenVertex)), &buffer))
        return {};

    renderer.Tick();
    bool drawn = renderer.BeginScene() == 1 && renderer.CanDraw();
    if (drawn && scene.clearArgb != 0xFF000000u)
    {
        const uint32_t c = scene.clearArgb;
        renderer.DrawRectF(0, 0, float(scene.width), float(scene.height), float(c >> 16 & 0xFF) / 255.0f,
                           float(c >> 8 & 0xFF) / 255.0f, float(c & 0xFF) / 255.0f, 1.0f, false);
    }
    for (const SSceneDraw& draw : scene.draws)
    {
        if (!drawn)
            break;
        ApplyStates(renderer, draw, draw.texture < 0 ? NO_TEXTURE : slots[{draw.texture, draw.wrap}]);
        SScreenVertex* out = nullptr;
        drawn = buffer->Lock(&out);
        if (!drawn)
            break;
        for (const SSceneVertex& v : draw.vertices)
            *out++ = SScreenVertex{v.x + shift, v.y + shift, v.z, 1.0f, ToVertexColour(renderer, v.argb), v.u, v.v};
        buffer->Unlock();
        const int primitive = draw.primitive == EScenePrimitive::TriangleStrip ? PRIMITIVE_STRIP : PRIMITIVE_LIST;
        buffer->BeginDraw();
        drawn = draw.indices.empty()
                    ? buffer->Draw(primitive, int(draw.vertices.size()))
                    : buffer->DrawIndexed(primitive, int(draw.indices.size()), INDEX_16, draw.indices.data());
        buffer->EndDraw();
    }
    renderer.DisableDepthTest();
    renderer.EndScene();
    renderer.DestroyVertexBuffer(buffer);
    for (const auto& slot : slots)
        renderer.ReleaseTexture(slot.second);

    std::vector<uint32_t> image;
    if (!drawn || !renderer.SaveScreenshot(shotPath.c_str()) || !ReadShot(shotPath, scene, image))
        return {};
    return image;
}
