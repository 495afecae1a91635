// The adapter's choices, device loss and reset, and resource lifetimes.

#include "tests/platform/d3d8/SoftDeviceFixture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
SSoftPresentParams Windowed(uint32_t width, uint32_t height, ESoftFormat format)
{
    SSoftPresentParams params;
    params.backBufferWidth = width;
    params.backBufferHeight = height;
    params.backBufferFormat = format;
    params.windowed = true;
    return params;
}
}  // namespace

TEST(SoftDeviceLifecycle, AdapterRefusesWhatItsProfileLacks)
{
    SSoftAdapterProfile profile = CSoftD3D::GetDefaultProfile();
    profile.textureFormats = {ESoftFormat::A8R8G8B8, ESoftFormat::A4R4G4B4};
    profile.depthFormats = {ESoftFormat::D16};
    const struct
    {
        const char* what;
        ESoftFormat desktop;
        SSoftPresentParams params;
        bool created;
    } cases[] = {
        {"windowed on a 32-bit desktop", ESoftFormat::X8R8G8B8, Windowed(640, 480, ESoftFormat::X8R8G8B8), true},
        {"windowed on a 16-bit desktop", ESoftFormat::R5G6B5, Windowed(640, 480, ESoftFormat::R5G6B5), true},
        {"windowed on a 24-bit desktop", ESoftFormat::R8G8B8, Windowed(640, 480, ESoftFormat::X8R8G8B8), false},
        {"windowed on an 8-bit desktop", ESoftFormat::P8, Windowed(640, 480, ESoftFormat::X8R8G8B8), false},
        {"a 24-bit back buffer", ESoftFormat::X8R8G8B8, Windowed(640, 480, ESoftFormat::R8G8B8), false},
        {"no size", ESoftFormat::X8R8G8B8, Windowed(0, 480, ESoftFormat::X8R8G8B8), false},
    };
    for (const auto& c : cases)
    {
        profile.desktop.format = c.desktop;
        CSoftD3D* d3d = CSoftD3D::Create(profile);
        CSoftD3DDevice* device = nullptr;
        EXPECT_EQ(d3d->CreateDevice(c.params, &device), c.created) << c.what;
        EXPECT_EQ(device != nullptr, c.created) << c.what;
        if (device != nullptr)
            device->Release();
        d3d->Release();
    }

    profile.desktop.format = ESoftFormat::X8R8G8B8;
    CSoftD3D* d3d = CSoftD3D::Create(profile);
    SSoftPresentParams fullScreen = Windowed(800, 600, ESoftFormat::R5G6B5);
    fullScreen.windowed = false;
    CSoftD3DDevice* device = nullptr;
    EXPECT_TRUE(d3d->CreateDevice(fullScreen, &device)) << "a listed mode";
    device->Release();
    fullScreen.backBufferWidth = 1024;
    fullScreen.backBufferHeight = 768;
    EXPECT_FALSE(d3d->CreateDevice(fullScreen, &device)) << "a size with no mode";
    SSoftPresentParams withDepth = Windowed(64, 64, ESoftFormat::X8R8G8B8);
    withDepth.autoDepthStencil = true;
    withDepth.depthFormat = ESoftFormat::D24X8;
    EXPECT_FALSE(d3d->CreateDevice(withDepth, &device)) << "a depth format the profile lacks";
    withDepth.depthFormat = ESoftFormat::D16;
    ASSERT_TRUE(d3d->CreateDevice(withDepth, &device));

    EXPECT_TRUE(d3d->CheckTextureFormat(ESoftFormat::A4R4G4B4));
    EXPECT_FALSE(d3d->CheckTextureFormat(ESoftFormat::R5G6B5));
    CSoftTexture* texture = nullptr;
    EXPECT_FALSE(device->CreateTexture(8, 8, ESoftFormat::R5G6B5, &texture));
    EXPECT_EQ(texture, nullptr);
    EXPECT_FALSE(device->CreateTexture(0, 8, ESoftFormat::A8R8G8B8, &texture));
    EXPECT_FALSE(device->CreateTexture(8192, 8, ESoftFormat::A8R8G8B8, &texture));
    device->Release();
    d3d->Release();
}

TEST(SoftDeviceLifecycle, LostDeviceDrawsNothingUntilReset)
{
    CSoftDeviceFixture fixture(8, 8, ESoftFormat::D16);
    CSoftD3DDevice* device = fixture.Device();
    ASSERT_NE(device, nullptr);
    CSoftTexture* texture = fixture.MakeTexture(1, 1, {0xFF00FF00u});
    device->Clear(SOFT_CLEAR_TARGET, 0xFF000000, 1.0f);
    ASSERT_EQ(device->Present(), ESoftResult::Ok);

    device->SimulateLoss(ESoftResult::DeviceLost);
    EXPECT_EQ(device->TestCooperativeLevel(), ESoftResult::DeviceLost);
    EXPECT_EQ(device->Present(), ESoftResult::DeviceLost);
    EXPECT_EQ(device->Reset(device->GetPresentParams()), ESoftResult::DeviceLost) << "too early";
    // Calls still succeed but leave no trace.
    device->SetTexture(0, texture);
    EXPECT_TRUE(device->Clear(SOFT_CLEAR_TARGET, 0xFFFFFFFF, 1.0f));
    ASSERT_TRUE(device->BeginScene());
    const std::vector<SSoftVertex> quad = MakeQuad(0, 0, 8, 8, 0xFFFFFFFF);
    EXPECT_TRUE(device->DrawPrimitiveUP(SOFT_PT_TRIANGLELIST, 2, quad.data(), sizeof(SSoftVertex)));
    ASSERT_TRUE(device->EndScene());
    EXPECT_EQ(fixture.Pixel(fixture.ReadBack(), 4, 4), 0xFF000000u);

    device->SimulateLoss(ESoftResult::DeviceNotReset);
    EXPECT_EQ(device->TestCooperativeLevel(), ESoftResult::DeviceNotReset);
    EXPECT_EQ(device->Present(), ESoftResult::DeviceLost);
    SSoftPresentParams params = device->GetPresentParams();
    params.backBufferWidth = 4;
    params.backBufferHeight = 2;
    ASSERT_EQ(device->Reset(params), ESoftResult::Ok);
    EXPECT_EQ(device->TestCooperativeLevel(), ESoftResult::Ok);
    EXPECT_EQ(device->GetPresentParams().backBufferWidth, 4u);
    SSoftViewport viewport;
    device->GetViewport(viewport);
    EXPECT_EQ(viewport.width, 4u);
    EXPECT_EQ(viewport.height, 2u);

    // Reset returns the states to their defaults and unbinds; the managed texture survives.
    EXPECT_EQ(device->GetTextureStageState(0, SOFT_TSS_COLOROP), uint32_t{SOFT_TOP_MODULATE});
    device->SetVertexFormat(SOFT_FVF_SCREEN);
    device->SetTexture(0, texture);
    device->SetRenderState(SOFT_RS_ZENABLE, 0);
    device->BeginScene();
    const std::vector<SSoftVertex> small = MakeQuad(0, 0, 4, 2, 0xFFFFFFFF);
    EXPECT_TRUE(device->DrawPrimitiveUP(SOFT_PT_TRIANGLELIST, 2, small.data(), sizeof(SSoftVertex)));
    device->EndScene();
    ASSERT_EQ(device->Present(), ESoftResult::Ok);
    CSoftSurface* surface = nullptr;
    ASSERT_TRUE(device->CreateImageSurface(4, 2, ESoftFormat::A8R8G8B8, &surface));
    ASSERT_TRUE(device->GetFrontBuffer(surface));
    EXPECT_EQ(surface->GetPixels()[5], 0xFF00FF00u);
    surface->Release();
    device->SetTexture(0, nullptr);
    texture->Release();
}

TEST(SoftDeviceLifecycle, BoundResourcesOutliveTheirCallersReferences)
{
    CSoftDeviceFixture fixture(4, 4, ESoftFormat::Unknown);
    CSoftD3DDevice* device = fixture.Device();
    ASSERT_NE(device, nullptr);
    CSoftVertexBuffer* buffer = nullptr;
    ASSERT_TRUE(device->CreateVertexBuffer(6 * sizeof(SSoftVertex), &buffer));
    const std::vector<SSoftVertex> quad = MakeQuad(0, 0, 4, 4, 0xFF336699);
    void* data = nullptr;
    ASSERT_TRUE(buffer->Lock(&data));
    std::memcpy(data, quad.data(), 6 * sizeof(SSoftVertex));
    ASSERT_TRUE(buffer->Unlock());
    device->SetStreamSource(buffer, sizeof(SSoftVertex));
    EXPECT_EQ(buffer->Release(), 1u) << "the device holds the other reference";
    device->SetTextureStageState(0, SOFT_TSS_COLOROP, SOFT_TOP_SELECTARG1);
    device->SetTextureStageState(0, SOFT_TSS_COLORARG1, SOFT_TA_DIFFUSE);
    device->SetTextureStageState(0, SOFT_TSS_ALPHAARG1, SOFT_TA_DIFFUSE);
    device->BeginScene();
    EXPECT_TRUE(device->DrawPrimitive(SOFT_PT_TRIANGLELIST, 0, 2));
    device->EndScene();
    EXPECT_EQ(fixture.Pixel(fixture.ReadBack(), 3, 3), 0xFF336699u);
    EXPECT_FALSE(device->CreateVertexBuffer(0, &buffer));
    EXPECT_FALSE(device->SetVertexFormat(7));
    EXPECT_FALSE(device->SetTextureStageState(1, SOFT_TSS_COLOROP, SOFT_TOP_MODULATE)) << "one stage only";
    EXPECT_TRUE(device->SetTextureStageState(1, SOFT_TSS_COLOROP, SOFT_TOP_DISABLE));
    EXPECT_FALSE(device->BeginScene() && device->BeginScene());
    device->EndScene();
}

TEST(SoftDeviceLifecycle, RecordedDrawsKeepTheTexelsOfTheirTime)
{
    // Draws are carried out later, all together: a texture rewritten or released after a draw
    // must not change what that draw shows.
    CSoftDeviceFixture fixture(4, 1, ESoftFormat::Unknown);
    CSoftD3DDevice* device = fixture.Device();
    ASSERT_NE(device, nullptr);
    device->SetWorkerThreads(3);
    device->SetTextureStageState(0, SOFT_TSS_COLOROP, SOFT_TOP_SELECTARG1);
    CSoftTexture* texture = fixture.MakeTexture(1, 1, {0xFF0000FFu});
    device->SetTexture(0, texture);
    device->BeginScene();
    const std::vector<SSoftVertex> left = MakeQuad(0, 0, 2, 1, 0xFFFFFFFF);
    device->DrawPrimitiveUP(SOFT_PT_TRIANGLELIST, 2, left.data(), sizeof(SSoftVertex));
    SSoftLockedRect locked;
    ASSERT_TRUE(texture->LockRect(locked));
    *static_cast<uint32_t*>(locked.bits) = 0xFFFF0000u;
    ASSERT_TRUE(texture->UnlockRect());
    const std::vector<SSoftVertex> right = MakeQuad(2, 0, 4, 1, 0xFFFFFFFF);
    device->DrawPrimitiveUP(SOFT_PT_TRIANGLELIST, 2, right.data(), sizeof(SSoftVertex));
    device->SetTexture(0, nullptr);
    texture->Release();  // the recorded draw still holds it
    device->EndScene();
    ASSERT_EQ(device->Present(), ESoftResult::Ok);
    CSoftSurface* surface = nullptr;
    ASSERT_TRUE(device->CreateImageSurface(4, 1, ESoftFormat::A8R8G8B8, &surface));
    ASSERT_TRUE(device->GetFrontBuffer(surface));
    const uint32_t* pixels = surface->GetPixels();
    EXPECT_EQ(pixels[1], 0xFF0000FFu);
    EXPECT_EQ(pixels[2], 0xFFFF0000u);
    surface->Release();
}
