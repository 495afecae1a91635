// What the device computes for a pixel: texture formats, the stage operations, blending,
// alpha and depth tests, sampling and addressing, lines.

#include "tests/platform/d3d8/SoftDeviceFixture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
// a * b / 255 rounded to nearest, per channel.
uint32_t Scale(uint32_t a, uint32_t b)
{
    return (a * b + 127) / 255;
}

uint32_t Channel(uint32_t colour, int index)  // 0 alpha, 1 red, 2 green, 3 blue
{
    return (colour >> (24 - 8 * index)) & 0xFF;
}

uint32_t Pack(const uint32_t (&c)[4])
{
    return (c[0] << 24) | (c[1] << 16) | (c[2] << 8) | c[3];
}

void DrawQuad(CSoftD3DDevice* device, float x0, float y0, float x1, float y1, uint32_t colour, float u0 = 0,
              float v0 = 0, float u1 = 1, float v1 = 1, float z = 0)
{
    const std::vector<SSoftVertex> quad = MakeQuad(x0, y0, x1, y1, colour, u0, v0, u1, v1, z);
    device->BeginScene();
    device->DrawPrimitiveUP(SOFT_PT_TRIANGLELIST, 2, quad.data(), sizeof(SSoftVertex));
    device->EndScene();
}

void SetStage(CSoftD3DDevice* device, uint32_t colourOp, uint32_t colourArg1, uint32_t alphaOp, uint32_t alphaArg1)
{
    device->SetTextureStageState(0, SOFT_TSS_COLOROP, colourOp);
    device->SetTextureStageState(0, SOFT_TSS_COLORARG1, colourArg1);
    device->SetTextureStageState(0, SOFT_TSS_COLORARG2, SOFT_TA_DIFFUSE);
    device->SetTextureStageState(0, SOFT_TSS_ALPHAOP, alphaOp);
    device->SetTextureStageState(0, SOFT_TSS_ALPHAARG1, alphaArg1);
    device->SetTextureStageState(0, SOFT_TSS_ALPHAARG2, SOFT_TA_DIFFUSE);
}
}  // namespace

TEST(SoftDevicePixels, TextureFormatsDecodeToFullRange)
{
    const struct
    {
        ESoftFormat format;
        uint32_t stored;  // little-endian pixel value in the format
        uint32_t expected;
    } cases[] = {
        {ESoftFormat::A8R8G8B8, 0x80123456, 0x80123456},
        {ESoftFormat::X8R8G8B8, 0x00123456, 0xFF123456},
        {ESoftFormat::R5G6B5, 0xF800, 0xFFFF0000},
        {ESoftFormat::R5G6B5, 0x07E0, 0xFF00FF00},
        {ESoftFormat::R5G6B5, 0x0010, 0xFF000084},  // 16 of 31 widens to 132
        {ESoftFormat::X1R5G5B5, 0x7FFF, 0xFFFFFFFF},
        {ESoftFormat::A1R5G5B5, 0x7C00, 0x00FF0000},
        {ESoftFormat::A1R5G5B5, 0x83E0, 0xFF00FF00},
        {ESoftFormat::A4R4G4B4, 0x8F40, 0x88FF4400},
    };
    CSoftDeviceFixture fixture(4, 4, ESoftFormat::Unknown, ESoftFormat::A8R8G8B8);
    CSoftD3DDevice* device = fixture.Device();
    ASSERT_NE(device, nullptr);
    SetStage(device, SOFT_TOP_SELECTARG1, SOFT_TA_TEXTURE, SOFT_TOP_SELECTARG1, SOFT_TA_TEXTURE);
    for (const auto& c : cases)
    {
        CSoftTexture* texture = nullptr;
        ASSERT_TRUE(device->CreateTexture(1, 1, c.format, &texture));
        SSoftLockedRect locked;
        ASSERT_TRUE(texture->LockRect(locked));
        EXPECT_FALSE(texture->LockRect(locked)) << "locked twice";
        std::memcpy(locked.bits, &c.stored, GetSoftFormatSize(c.format));
        ASSERT_TRUE(texture->UnlockRect());
        EXPECT_FALSE(texture->UnlockRect());
        device->SetTexture(0, texture);
        texture->Release();  // the device keeps its own reference
        DrawQuad(device, 0, 0, 4, 4, 0xFFFFFFFF);
        EXPECT_EQ(fixture.Pixel(fixture.ReadBack(), 1, 1), c.expected) << static_cast<int>(c.format);
    }
    device->SetTexture(0, nullptr);
}

TEST(SoftDevicePixels, StageOperationsCombineTextureAndDiffuse)
{
    const uint32_t texel = 0x80FF8040;
    const uint32_t diffuse = 0xC0808080;
    uint32_t modulated[4];
    for (int i = 0; i < 4; ++i)
        modulated[i] = Scale(Channel(texel, i), Channel(diffuse, i));
    const uint32_t fromVertex = (texel & 0xFF000000u) | (diffuse & 0x00FFFFFFu);
    const struct
    {
        const char* name;
        uint32_t colourOp;
        uint32_t colourArg;
        uint32_t alphaOp;
        uint32_t alphaArg;
        uint32_t expected;
    } cases[] = {
        {"modulate", SOFT_TOP_MODULATE, SOFT_TA_TEXTURE, SOFT_TOP_MODULATE, SOFT_TA_TEXTURE, Pack(modulated)},
        {"decal", SOFT_TOP_SELECTARG1, SOFT_TA_TEXTURE, SOFT_TOP_SELECTARG1, SOFT_TA_TEXTURE, texel},
        {"colour from vertex", SOFT_TOP_SELECTARG1, SOFT_TA_DIFFUSE, SOFT_TOP_SELECTARG1, SOFT_TA_TEXTURE, fromVertex},
        {"untextured", SOFT_TOP_SELECTARG1, SOFT_TA_DIFFUSE, SOFT_TOP_SELECTARG1, SOFT_TA_DIFFUSE, diffuse},
        {"second argument", SOFT_TOP_SELECTARG2, SOFT_TA_TEXTURE, SOFT_TOP_SELECTARG2, SOFT_TA_TEXTURE, diffuse},
        {"stage disabled", SOFT_TOP_DISABLE, SOFT_TA_TEXTURE, SOFT_TOP_SELECTARG1, SOFT_TA_TEXTURE, diffuse},
    };
    CSoftDeviceFixture fixture(4, 4, ESoftFormat::Unknown, ESoftFormat::A8R8G8B8);
    CSoftD3DDevice* device = fixture.Device();
    ASSERT_NE(device, nullptr);
    CSoftTexture* texture = fixture.MakeTexture(1, 1, {texel});
    device->SetTexture(0, texture);
    for (const auto& c : cases)
    {
        for (uint32_t filter : {SOFT_TEXF_POINT, SOFT_TEXF_LINEAR})
        {
            SetStage(device, c.colourOp, c.colourArg, c.alphaOp, c.alphaArg);
            device->SetTextureStageState(0, SOFT_TSS_MAGFILTER, filter);
            DrawQuad(device, 0, 0, 4, 4, diffuse);
            EXPECT_EQ(fixture.Pixel(fixture.ReadBack(), 2, 2), c.expected) << c.name << ", filter " << filter;
        }
    }
    // No texture bound samples as opaque white: modulate leaves the diffuse colour.
    device->SetTexture(0, nullptr);
    SetStage(device, SOFT_TOP_MODULATE, SOFT_TA_TEXTURE, SOFT_TOP_MODULATE, SOFT_TA_TEXTURE);
    DrawQuad(device, 0, 0, 4, 4, diffuse);
    EXPECT_EQ(fixture.Pixel(fixture.ReadBack(), 2, 2), diffuse);
    texture->Release();
}

TEST(SoftDevicePixels, BlendFactorsWeighSourceAndDestination)
{
    const uint32_t dest = 0xFF2060A0;
    const uint32_t source = 0x40F08010;
    const uint32_t sa = Channel(source, 0);
    const struct
    {
        uint32_t src;
        uint32_t dst;
        uint32_t srcFactor;
        uint32_t dstFactor;
    } cases[] = {
        {SOFT_BLEND_SRCALPHA, SOFT_BLEND_INVSRCALPHA, sa, 255 - sa},
        {SOFT_BLEND_ONE, SOFT_BLEND_ONE, 255, 255},
        {SOFT_BLEND_ONE, SOFT_BLEND_ZERO, 255, 0},
        {SOFT_BLEND_ZERO, SOFT_BLEND_SRCALPHA, 0, sa},
        {SOFT_BLEND_INVSRCALPHA, SOFT_BLEND_ONE, 255 - sa, 255},
    };
    CSoftDeviceFixture fixture(4, 4, ESoftFormat::Unknown, ESoftFormat::A8R8G8B8);
    CSoftD3DDevice* device = fixture.Device();
    ASSERT_NE(device, nullptr);
    SetStage(device, SOFT_TOP_SELECTARG1, SOFT_TA_DIFFUSE, SOFT_TOP_SELECTARG1, SOFT_TA_DIFFUSE);
    for (const auto& c : cases)
    {
        device->Clear(SOFT_CLEAR_TARGET, dest, 1.0f);
        device->SetRenderState(SOFT_RS_ALPHABLENDENABLE, 1);
        device->SetRenderState(SOFT_RS_SRCBLEND, c.src);
        device->SetRenderState(SOFT_RS_DESTBLEND, c.dst);
        DrawQuad(device, 0, 0, 4, 4, source);
        uint32_t expected[4];
        for (int i = 0; i < 4; ++i)
            expected[i] = std::min(255u, Scale(Channel(source, i), c.srcFactor) + Scale(Channel(dest, i), c.dstFactor));
        EXPECT_EQ(fixture.Pixel(fixture.ReadBack(), 1, 2), Pack(expected)) << c.src << "," << c.dst;
    }
    EXPECT_FALSE(device->SetRenderState(SOFT_RS_SRCBLEND, 99));
    EXPECT_EQ(device->GetRenderState(SOFT_RS_SRCBLEND), uint32_t{SOFT_BLEND_INVSRCALPHA});
}

TEST(SoftDevicePixels, AlphaTestComparesWithTheReference)
{
    const struct
    {
        uint32_t function;
        bool passBelow;
        bool passEqual;
        bool passAbove;
    } cases[] = {
        {SOFT_CMP_EQUAL, false, true, false},   {SOFT_CMP_LESS, true, false, false},
        {SOFT_CMP_LESSEQUAL, true, true, false}, {SOFT_CMP_GREATER, false, false, true},
        {SOFT_CMP_GREATEREQUAL, false, true, true}, {SOFT_CMP_ALWAYS, true, true, true},
    };
    CSoftDeviceFixture fixture(4, 4, ESoftFormat::Unknown);
    CSoftD3DDevice* device = fixture.Device();
    ASSERT_NE(device, nullptr);
    SetStage(device, SOFT_TOP_SELECTARG1, SOFT_TA_DIFFUSE, SOFT_TOP_SELECTARG1, SOFT_TA_DIFFUSE);
    device->SetRenderState(SOFT_RS_ALPHATESTENABLE, 1);
    device->SetRenderState(SOFT_RS_ALPHAREF, 26);
    for (const auto& c : cases)
    {
        device->SetRenderState(SOFT_RS_ALPHAFUNC, c.function);
        const std::pair<uint32_t, bool> alphas[3] = {{25, c.passBelow}, {26, c.passEqual}, {27, c.passAbove}};
        for (const auto& alpha : alphas)
        {
            device->Clear(SOFT_CLEAR_TARGET, 0xFF000000, 1.0f);
            DrawQuad(device, 0, 0, 4, 4, (alpha.first << 24) | 0x00FFFFFF);
            EXPECT_EQ(fixture.Pixel(fixture.ReadBack(), 0, 0) == 0xFFFFFFFFu, alpha.second)
                << "function " << c.function << ", alpha " << alpha.first;
        }
    }
}

TEST(SoftDevicePixels, DepthTestAndWritesFollowTheirStates)
{
    CSoftDeviceFixture fixture(4, 1, ESoftFormat::D16);
    CSoftD3DDevice* device = fixture.Device();
    ASSERT_NE(device, nullptr);
    SetStage(device, SOFT_TOP_SELECTARG1, SOFT_TA_DIFFUSE, SOFT_TOP_SELECTARG1, SOFT_TA_DIFFUSE);
    device->Clear(SOFT_CLEAR_TARGET | SOFT_CLEAR_ZBUFFER, 0xFF000000, 1.0f);
    // Defaults: test less-or-equal and write. Sprites at z above 1 are clamped and still pass
    // against a cleared buffer.
    DrawQuad(device, 0, 0, 1, 1, 0xFF0000FF, 0, 0, 1, 1, 5.0f);
    DrawQuad(device, 0, 0, 2, 1, 0xFF00FF00, 0, 0, 1, 1, 0.5f);
    DrawQuad(device, 0, 0, 3, 1, 0xFFFF0000, 0, 0, 1, 1, 0.7f);  // behind column 0 and 1
    device->SetRenderState(SOFT_RS_ZWRITEENABLE, 0);
    DrawQuad(device, 0, 0, 4, 1, 0xFFFFFFFF, 0, 0, 1, 1, 0.6f);  // passes only where z >= 0.6
    device->SetRenderState(SOFT_RS_ZWRITEENABLE, 1);
    DrawQuad(device, 3, 0, 4, 1, 0xFF808080, 0, 0, 1, 1, 0.9f);  // no write above left a trace
    std::vector<uint32_t> frame = fixture.ReadBack();
    EXPECT_EQ(frame[0], 0xFF00FF00u);
    EXPECT_EQ(frame[1], 0xFF00FF00u);
    EXPECT_EQ(frame[2], 0xFFFFFFFFu);
    EXPECT_EQ(frame[3], 0xFF808080u);
    // Depth disabled: drawn whatever the buffer holds.
    device->SetRenderState(SOFT_RS_ZENABLE, 0);
    DrawQuad(device, 0, 0, 4, 1, 0xFF123456, 0, 0, 1, 1, 1.0f);
    frame = fixture.ReadBack();
    EXPECT_EQ(frame[0], 0xFF123456u);
    EXPECT_EQ(frame[3], 0xFF123456u);
}

TEST(SoftDevicePixels, OneToOneTextureMappingCopiesTexelsWithEitherFilter)
{
    // A texture mapped texel to pixel on a quad shifted by -0.5 samples every texel at its
    // centre, so point and bilinear filtering both reproduce it; wrap repeats it and clamp
    // stretches its edge texels.
    std::vector<uint32_t> texels(16);
    for (uint32_t i = 0; i < 16; ++i)
        texels[i] = 0xFF000000u | (i * 0x0F0B07u);
    CSoftDeviceFixture fixture(8, 4, ESoftFormat::Unknown);
    CSoftD3DDevice* device = fixture.Device();
    ASSERT_NE(device, nullptr);
    CSoftTexture* texture = fixture.MakeTexture(4, 4, texels);
    device->SetTexture(0, texture);
    SetStage(device, SOFT_TOP_SELECTARG1, SOFT_TA_TEXTURE, SOFT_TOP_SELECTARG1, SOFT_TA_TEXTURE);
    for (uint32_t address : {SOFT_TADDRESS_WRAP, SOFT_TADDRESS_CLAMP})
        for (uint32_t filter : {SOFT_TEXF_POINT, SOFT_TEXF_LINEAR})
        {
            device->SetTextureStageState(0, SOFT_TSS_ADDRESSU, address);
            device->SetTextureStageState(0, SOFT_TSS_ADDRESSV, address);
            device->SetTextureStageState(0, SOFT_TSS_MAGFILTER, filter);
            device->SetTextureStageState(0, SOFT_TSS_MINFILTER, filter);
            // u runs 0 .. 2 over 8 pixels: texels 0-3, then wrapped or clamped.
            DrawQuad(device, 0, 0, 8, 4, 0xFFFFFFFF, 0, 0, 2, 1);
            const std::vector<uint32_t> frame = fixture.ReadBack();
            for (uint32_t y = 0; y < 4; ++y)
                for (uint32_t x = 0; x < 8; ++x)
                {
                    const uint32_t tx = x < 4 ? x : (address == SOFT_TADDRESS_WRAP ? x - 4 : 3);
                    if (filter == SOFT_TEXF_LINEAR && address == SOFT_TADDRESS_WRAP && (x == 3 || x == 4))
                        continue;  // the seam is not sampled at a texel centre there
                    ASSERT_EQ(fixture.Pixel(frame, x, y), texels[y * 4 + tx])
                        << x << "," << y << " address " << address << " filter " << filter;
                }
        }
    device->SetTexture(0, nullptr);
    texture->Release();
}

TEST(SoftDevicePixels, LinearFilterWeighsNeighboursAtSubTexelPositions)
{
    // Two texels, black and white; the pixel centre a quarter of the way between their
    // centres gets a quarter of the white.
    CSoftDeviceFixture fixture(8, 1, ESoftFormat::Unknown);
    CSoftD3DDevice* device = fixture.Device();
    ASSERT_NE(device, nullptr);
    CSoftTexture* texture = fixture.MakeTexture(2, 1, {0xFF000000u, 0xFFFFFFFFu});
    device->SetTexture(0, texture);
    SetStage(device, SOFT_TOP_SELECTARG1, SOFT_TA_TEXTURE, SOFT_TOP_SELECTARG1, SOFT_TA_TEXTURE);
    device->SetTextureStageState(0, SOFT_TSS_ADDRESSU, SOFT_TADDRESS_CLAMP);
    device->SetTextureStageState(0, SOFT_TSS_MAGFILTER, SOFT_TEXF_LINEAR);
    // 8 pixels over 2 texels: pixel x samples texel position (x + 0.5) / 4, so the fraction
    // past texel 0's centre is (x + 0.5) / 4 - 0.5, in 256ths.
    DrawQuad(device, 0, 0, 8, 1, 0xFFFFFFFF);
    const std::vector<uint32_t> frame = fixture.ReadBack();
    const uint32_t expected[8] = {0, 0, 32, 96, 160, 224, 255, 255};
    for (uint32_t x = 0; x < 8; ++x)
    {
        const uint32_t white = expected[x] == 255 ? 255 : expected[x] * 255 / 256;
        EXPECT_EQ(frame[x] & 0xFF, white) << x;
    }
    device->SetTexture(0, nullptr);
    texture->Release();
}

TEST(SoftDevicePixels, ClosedLineStripDrawsEachCornerOnce)
{
    CSoftDeviceFixture fixture(12, 12, ESoftFormat::Unknown);
    CSoftD3DDevice* device = fixture.Device();
    ASSERT_NE(device, nullptr);
    SetStage(device, SOFT_TOP_SELECTARG1, SOFT_TA_DIFFUSE, SOFT_TOP_SELECTARG1, SOFT_TA_DIFFUSE);
    device->Clear(SOFT_CLEAR_TARGET, 0xFF000000, 1.0f);
    device->SetRenderState(SOFT_RS_ALPHABLENDENABLE, 1);
    device->SetRenderState(SOFT_RS_SRCBLEND, SOFT_BLEND_ONE);
    device->SetRenderState(SOFT_RS_DESTBLEND, SOFT_BLEND_ONE);
    const float corners[5][2] = {{2, 3}, {9, 3}, {9, 8}, {2, 8}, {2, 3}};
    std::vector<SSoftVertex> strip;
    for (const auto& corner : corners)
        strip.push_back({corner[0], corner[1], 0, 1, 0xFF202020, 0, 0});
    device->BeginScene();
    ASSERT_TRUE(device->DrawPrimitiveUP(SOFT_PT_LINESTRIP, 4, strip.data(), sizeof(SSoftVertex)));
    device->EndScene();
    const std::vector<uint32_t> frame = fixture.ReadBack();
    for (uint32_t y = 0; y < 12; ++y)
        for (uint32_t x = 0; x < 12; ++x)
        {
            const bool onBox = (x >= 2 && x <= 9 && (y == 3 || y == 8)) || (y >= 3 && y <= 8 && (x == 2 || x == 9));
            EXPECT_EQ(fixture.Pixel(frame, x, y), onBox ? 0xFF202020u : 0xFF000000u) << x << "," << y;
        }
}
