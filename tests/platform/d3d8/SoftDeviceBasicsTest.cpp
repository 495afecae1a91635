// The device's calls: clearing, covering exactly the pixels of a primitive, checking every
// draw against its data, and presenting without a window.

#include "tests/platform/d3d8/SoftDeviceFixture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
void DrawList(CSoftD3DDevice* device, const std::vector<SSoftVertex>& vertices)
{
    ASSERT_TRUE(device->DrawPrimitiveUP(SOFT_PT_TRIANGLELIST,
                                        static_cast<uint32_t>(vertices.size() / 3),
                                        vertices.data(), sizeof(SSoftVertex)));
}

void SetFlatState(CSoftD3DDevice* device)
{
    device->SetRenderState(SOFT_RS_ZENABLE, 0);
    device->SetTextureStageState(0, SOFT_TSS_COLOROP, SOFT_TOP_SELECTARG1);
    device->SetTextureStageState(0, SOFT_TSS_COLORARG1, SOFT_TA_DIFFUSE);
    device->SetTextureStageState(0, SOFT_TSS_ALPHAOP, SOFT_TOP_SELECTARG1);
    device->SetTextureStageState(0, SOFT_TSS_ALPHAARG1, SOFT_TA_DIFFUSE);
}
}  // namespace

TEST(SoftDeviceBasics, ClearFillsTheViewportOnly)
{
    CSoftDeviceFixture fixture(8, 8);
    CSoftD3DDevice* device = fixture.Device();
    ASSERT_NE(device, nullptr);
    device->Clear(SOFT_CLEAR_TARGET, 0x00112233, 1.0f);
    SSoftViewport viewport;
    viewport.x = 2;
    viewport.y = 3;
    viewport.width = 4;
    viewport.height = 2;
    ASSERT_TRUE(device->SetViewport(viewport));
    device->Clear(SOFT_CLEAR_TARGET, 0xFFAABBCC, 1.0f);

    const std::vector<uint32_t> frame = fixture.ReadBack();
    for (uint32_t y = 0; y < 8; ++y)
        for (uint32_t x = 0; x < 8; ++x)
        {
            const bool inside = x >= 2 && x < 6 && y >= 3 && y < 5;
            // The X8R8G8B8 back buffer reads back opaque whatever alpha was written.
            EXPECT_EQ(fixture.Pixel(frame, x, y), inside ? 0xFFAABBCCu : 0xFF112233u) << x << "," << y;
        }
    viewport.width = 7;  // 2 + 7 > 8
    EXPECT_FALSE(device->SetViewport(viewport));
}

TEST(SoftDeviceBasics, QuadCoversItsPixelsOnceWithSharedEdges)
{
    // Additive drawing shows any pixel drawn twice along the shared diagonal or between
    // neighbouring quads, and any pixel missed.
    CSoftDeviceFixture fixture(16, 16);
    CSoftD3DDevice* device = fixture.Device();
    ASSERT_NE(device, nullptr);
    device->Clear(SOFT_CLEAR_TARGET, 0xFF000000, 1.0f);
    SetFlatState(device);
    device->SetRenderState(SOFT_RS_ALPHABLENDENABLE, 1);
    device->SetRenderState(SOFT_RS_SRCBLEND, SOFT_BLEND_ONE);
    device->SetRenderState(SOFT_RS_DESTBLEND, SOFT_BLEND_ONE);
    ASSERT_TRUE(device->BeginScene());
    DrawList(device, MakeQuad(2, 3, 7, 9, 0xFF101010));
    DrawList(device, MakeQuad(7, 3, 12, 9, 0xFF101010));
    DrawList(device, MakeQuad(2, 9, 12, 11.5f, 0xFF101010));  // bottom edge through centres
    ASSERT_TRUE(device->EndScene());

    const std::vector<uint32_t> frame = fixture.ReadBack();
    for (uint32_t y = 0; y < 16; ++y)
        for (uint32_t x = 0; x < 16; ++x)
        {
            // Row 11 has its centres exactly on the last quad's bottom edge: not covered.
            const bool inside = x >= 2 && x < 12 && y >= 3 && y < 11;
            EXPECT_EQ(fixture.Pixel(frame, x, y), inside ? 0xFF101010u : 0xFF000000u) << x << "," << y;
        }
}

TEST(SoftDeviceBasics, DrawsOutsideTheirDataAreRefused)
{
    CSoftDeviceFixture fixture(8, 8);
    CSoftD3DDevice* device = fixture.Device();
    ASSERT_NE(device, nullptr);
    device->Clear(SOFT_CLEAR_TARGET, 0xFF000000, 1.0f);
    SetFlatState(device);
    const std::vector<SSoftVertex> quad = MakeQuad(0, 0, 8, 8, 0xFFFFFFFF);

    CSoftVertexBuffer* buffer = nullptr;
    ASSERT_TRUE(device->CreateVertexBuffer(sizeof(SSoftVertex) * 6, &buffer));
    void* data = nullptr;
    ASSERT_TRUE(buffer->Lock(&data));
    EXPECT_FALSE(buffer->Lock(&data));
    std::memcpy(data, quad.data(), sizeof(SSoftVertex) * 6);
    CSoftIndexBuffer* indices = nullptr;
    ASSERT_TRUE(device->CreateIndexBuffer(12, &indices));
    void* indexData = nullptr;
    ASSERT_TRUE(indices->Lock(&indexData));
    const uint16_t list[6] = {0, 1, 2, 3, 4, 6};  // 6 is past the buffer
    std::memcpy(indexData, list, sizeof(list));
    indices->Unlock();
    device->SetStreamSource(buffer, sizeof(SSoftVertex));
    device->SetIndices(indices, 0);

    ASSERT_TRUE(device->BeginScene());
    EXPECT_FALSE(device->DrawPrimitive(SOFT_PT_TRIANGLELIST, 0, 2)) << "buffer still locked";
    buffer->Unlock();
    const struct
    {
        const char* what;
        bool result;
    } cases[] = {
        {"one vertex past the end", device->DrawPrimitive(SOFT_PT_TRIANGLELIST, 1, 2)},
        {"strip past the end", device->DrawPrimitive(SOFT_PT_TRIANGLESTRIP, 0, 5)},
        {"zero primitives", device->DrawPrimitive(SOFT_PT_TRIANGLELIST, 0, 0)},
        {"index beyond the vertex range", device->DrawIndexedPrimitive(SOFT_PT_TRIANGLELIST, 0, 6, 0, 2)},
        {"indices past the index buffer", device->DrawIndexedPrimitive(SOFT_PT_TRIANGLELIST, 0, 6, 3, 2)},
        {"vertex range past the buffer", device->DrawIndexedPrimitive(SOFT_PT_TRIANGLELIST, 0, 7, 0, 1)},
        {"user index beyond its range",
         device->DrawIndexedPrimitiveUP(SOFT_PT_TRIANGLELIST, 0, 6, 2, list, quad.data(), sizeof(SSoftVertex))},
        {"stride shorter than a vertex", device->DrawPrimitiveUP(SOFT_PT_TRIANGLELIST, 2, quad.data(), 20)},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(c.result) << c.what;
    ASSERT_TRUE(device->EndScene());
    // Nothing of the refused draws reached the frame.
    for (uint32_t pixel : fixture.ReadBack())
        ASSERT_EQ(pixel, 0xFF000000u);

    ASSERT_TRUE(device->BeginScene());
    EXPECT_TRUE(device->DrawIndexedPrimitive(SOFT_PT_TRIANGLELIST, 0, 6, 0, 1));
    EXPECT_TRUE(device->DrawPrimitive(SOFT_PT_TRIANGLELIST, 0, 2));
    ASSERT_TRUE(device->EndScene());
    EXPECT_EQ(fixture.Pixel(fixture.ReadBack(), 7, 7), 0xFFFFFFFFu);
    device->SetStreamSource(nullptr, 0);
    device->SetIndices(nullptr, 0);
    buffer->Release();
    indices->Release();
}

TEST(SoftDeviceBasics, PresentWithoutWindowKeepsTheFrameAsFrontBuffer)
{
    CSoftDeviceFixture fixture(4, 4);
    CSoftD3DDevice* device = fixture.Device();
    ASSERT_NE(device, nullptr);
    device->Clear(SOFT_CLEAR_TARGET, 0xFF00FF00, 1.0f);
    ASSERT_EQ(device->Present(), ESoftResult::Ok);
    device->Clear(SOFT_CLEAR_TARGET, 0xFF0000FF, 1.0f);

    CSoftSurface* surface = nullptr;
    ASSERT_TRUE(device->CreateImageSurface(4, 4, ESoftFormat::A8R8G8B8, &surface));
    ASSERT_TRUE(device->GetFrontBuffer(surface));
    EXPECT_EQ(surface->GetPixels()[5], 0xFF00FF00u);
    ASSERT_TRUE(device->GetBackBuffer(surface));
    EXPECT_EQ(surface->GetPixels()[5], 0xFF0000FFu);
    surface->Release();

    CSoftSurface* wrongSize = nullptr;
    ASSERT_TRUE(device->CreateImageSurface(3, 4, ESoftFormat::A8R8G8B8, &wrongSize));
    EXPECT_FALSE(device->GetFrontBuffer(wrongSize));
    wrongSize->Release();
}
