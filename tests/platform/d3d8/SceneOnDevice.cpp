#include "tests/platform/d3d8/SceneOnDevice.h"

#include "platform/d3d8/SoftD3DDevice.h"

#include <cmath>
#include <cstring>

namespace
{
const uint32_t kBlendCodes[4] = {SOFT_BLEND_ZERO, SOFT_BLEND_ONE, SOFT_BLEND_SRCALPHA, SOFT_BLEND_INVSRCALPHA};
const uint32_t kAlphaCodes[5] = {SOFT_CMP_EQUAL, SOFT_CMP_LESS, SOFT_CMP_LESSEQUAL, SOFT_CMP_GREATER,
                                 SOFT_CMP_GREATEREQUAL};

void SetStage(CSoftD3DDevice* device, uint32_t colourOp, uint32_t colourArg, uint32_t alphaOp, uint32_t alphaArg)
{
    device->SetTextureStageState(0, SOFT_TSS_COLOROP, colourOp);
    device->SetTextureStageState(0, SOFT_TSS_COLORARG1, colourArg);
    device->SetTextureStageState(0, SOFT_TSS_COLORARG2, SOFT_TA_DIFFUSE);
    device->SetTextureStageState(0, SOFT_TSS_ALPHAOP, alphaOp);
    device->SetTextureStageState(0, SOFT_TSS_ALPHAARG1, alphaArg);
    device->SetTextureStageState(0, SOFT_TSS_ALPHAARG2, SOFT_TA_DIFFUSE);
}

void ApplyDraw(CSoftD3DDevice* device, const SSceneDraw& draw, CSoftTexture* texture)
{
    switch (draw.op)
    {
    case ESceneStageOp::Modulate:
        SetStage(device, SOFT_TOP_MODULATE, SOFT_TA_TEXTURE, SOFT_TOP_MODULATE, SOFT_TA_TEXTURE);
        break;
    case ESceneStageOp::Decal:
        SetStage(device, SOFT_TOP_SELECTARG1, SOFT_TA_TEXTURE, SOFT_TOP_SELECTARG1, SOFT_TA_TEXTURE);
        break;
    case ESceneStageOp::ColourFromVertex:
        SetStage(device, SOFT_TOP_SELECTARG1, SOFT_TA_DIFFUSE, SOFT_TOP_SELECTARG1, SOFT_TA_TEXTURE);
        break;
    case ESceneStageOp::Untextured:
        SetStage(device, SOFT_TOP_SELECTARG1, SOFT_TA_DIFFUSE, SOFT_TOP_SELECTARG1, SOFT_TA_DIFFUSE);
        break;
    }
    device->SetTexture(0, draw.op == ESceneStageOp::Untextured ? nullptr : texture);
    const uint32_t filter = draw.linear ? SOFT_TEXF_LINEAR : SOFT_TEXF_POINT;
    device->SetTextureStageState(0, SOFT_TSS_MINFILTER, filter);
    device->SetTextureStageState(0, SOFT_TSS_MAGFILTER, filter);
    const uint32_t address = draw.wrap ? SOFT_TADDRESS_WRAP : SOFT_TADDRESS_CLAMP;
    device->SetTextureStageState(0, SOFT_TSS_ADDRESSU, address);
    device->SetTextureStageState(0, SOFT_TSS_ADDRESSV, address);

    device->SetRenderState(SOFT_RS_ALPHABLENDENABLE, draw.blend ? 1 : 0);
    device->SetRenderState(SOFT_RS_SRCBLEND, kBlendCodes[draw.sourceBlend]);
    device->SetRenderState(SOFT_RS_DESTBLEND, kBlendCodes[draw.destBlend]);
    device->SetRenderState(SOFT_RS_ALPHATESTENABLE, draw.alphaTest ? 1 : 0);
    device->SetRenderState(SOFT_RS_ALPHAFUNC, kAlphaCodes[draw.alphaFunction]);
    device->SetRenderState(SOFT_RS_ALPHAREF, static_cast<uint32_t>(std::lround(draw.alphaReference * 255.0f)));
    device->SetRenderState(SOFT_RS_ZENABLE, (draw.depthTest || draw.depthWrite) ? 1 : 0);
    device->SetRenderState(SOFT_RS_ZFUNC, draw.depthTest ? SOFT_CMP_LESSEQUAL : SOFT_CMP_ALWAYS);
    device->SetRenderState(SOFT_RS_ZWRITEENABLE, draw.depthWrite ? 1 : 0);
}

CSoftTexture* MakeTexture(CSoftD3DDevice* device, const SSceneTexture& source)
{
    CSoftTexture* texture = nullptr;
    if (!device->CreateTexture(source.width, source.height, ESoftFormat::A8R8G8B8, &texture))
        return nullptr;
    SSoftLockedRect locked;
    texture->LockRect(locked);
    for (uint32_t y = 0; y < source.height; ++y)
        std::memcpy(static_cast<uint8_t*>(locked.bits) + y * static_cast<uint32_t>(locked.pitch),
                    source.argb.data() + size_t{y} * source.width, source.width * 4);
    texture->UnlockRect();
    return texture;
}

uint32_t PrimitiveCount(EScenePrimitive primitive, size_t vertices)
{
    const uint32_t n = static_cast<uint32_t>(vertices);
    switch (primitive)
    {
    case EScenePrimitive::TriangleList:
        return n / 3;
    case EScenePrimitive::TriangleStrip:
        return n >= 3 ? n - 2 : 0;
    case EScenePrimitive::LineStrip:
        return n >= 2 ? n - 1 : 0;
    }
    return 0;
}

const ESoftPrimitive kPrimitives[3] = {SOFT_PT_TRIANGLELIST, SOFT_PT_TRIANGLESTRIP, SOFT_PT_LINESTRIP};
}  // namespace

std::vector<uint32_t> DrawSceneOnDevice(const SRenderScene& scene, uint32_t threads)
{
    std::vector<uint32_t> frame;
    CSoftD3D* d3d = CSoftD3D::Create(CSoftD3D::GetDefaultProfile());
    SSoftPresentParams params;
    params.backBufferWidth = scene.width;
    params.backBufferHeight = scene.height;
    params.backBufferFormat = ESoftFormat::X8R8G8B8;
    params.autoDepthStencil = true;
    params.depthFormat = ESoftFormat::D24X8;
    CSoftD3DDevice* device = nullptr;
    if (!d3d->CreateDevice(params, &device))
    {
        d3d->Release();
        return frame;
    }
    device->SetWorkerThreads(threads);
    device->SetVertexFormat(SOFT_FVF_SCREEN);
    std::vector<CSoftTexture*> textures;
    for (const SSceneTexture& texture : scene.textures)
        textures.push_back(MakeTexture(device, texture));

    device->Clear(SOFT_CLEAR_TARGET | SOFT_CLEAR_ZBUFFER, scene.clearArgb, 1.0f);
    device->BeginScene();
    for (const SSceneDraw& draw : scene.draws)
    {
        ApplyDraw(device, draw, draw.texture >= 0 ? textures[static_cast<size_t>(draw.texture)] : nullptr);
        // Pixel centres lie on whole coordinates here: shift by half a pixel.
        std::vector<SSoftVertex> vertices;
        for (const SSceneVertex& v : draw.vertices)
            vertices.push_back({v.x - 0.5f, v.y - 0.5f, v.z, 1.0f, v.argb, v.u, v.v});
        const ESoftPrimitive type = kPrimitives[static_cast<int>(draw.primitive)];
        if (draw.indices.empty())
            device->DrawPrimitiveUP(type, PrimitiveCount(draw.primitive, vertices.size()), vertices.data(),
                                    sizeof(SSoftVertex));
        else
            device->DrawIndexedPrimitiveUP(type, 0, static_cast<uint32_t>(vertices.size()),
                                           PrimitiveCount(draw.primitive, draw.indices.size()), draw.indices.data(),
                                           vertices.data(), sizeof(SSoftVertex));
    }
    device->EndScene();
    device->Present();

    CSoftSurface* surface = nullptr;
    if (device->CreateImageSurface(scene.width, scene.height, ESoftFormat::A8R8G8B8, &surface))
    {
        if (device->GetFrontBuffer(surface))
            frame.assign(surface->GetPixels(), surface->GetPixels() + size_t{scene.width} * scene.height);
        surface->Release();
    }
    device->SetTexture(0, nullptr);
    for (CSoftTexture* texture : textures)
        if (texture != nullptr)
            texture->Release();
    device->Release();
    d3d->Release();
    return frame;
}
