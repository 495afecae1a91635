#include "platform/D3D8Renderer.h"
#include "platform/Tga.h"
#include "platform/VertexBuffer.h"
#include "platform/d3d8/SoftD3DDevice.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
std::unique_ptr<CD3D8Renderer> OpenWindowed(const SSoftAdapterProfile* profile = nullptr, int width = 640)
{
    auto renderer = std::make_unique<CD3D8Renderer>(profile);
    renderer->SetDefaultSettings();
    SDisplaySettings& settings = const_cast<SDisplaySettings&>(renderer->GetSettings());
    settings.fullScreen = false;
    settings.width = width;
    if (!renderer->Open("Tessavar", nullptr))
        return nullptr;
    return renderer;
}

// The shown frame, read back through a screenshot: top row first, 0xAARRGGBB.
std::vector<uint32_t> Shot(CD3D8Renderer& renderer, const CTempDir& dir)
{
    std::string path = dir.Join("frame.tga");
    EXPECT_TRUE(renderer.SaveScreenshot(path.c_str()));
    STgaImage image;
    EXPECT_TRUE(LoadTga(path.c_str(), image));
    std::vector<uint32_t> out(size_t(image.width) * size_t(image.height));
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = uint32_t(image.pixels[i * 4]) | uint32_t(image.pixels[i * 4 + 1]) << 8 |
                 uint32_t(image.pixels[i * 4 + 2]) << 16 | uint32_t(image.pixels[i * 4 + 3]) << 24;
    return out;
}

std::vector<int> s_restored;
void OnTexturesRestored(uint32_t value)
{
    s_restored.push_back(int(value));
}
void OnDeviceRestored(uint32_t value)
{
    s_restored.push_back(100 + int(value));
}
} // namespace

TEST(D3D8Renderer, DrawsBatchesWithArgbVertexColours)
{
    CTempDir dir;
    auto renderer = OpenWindowed();
    ASSERT_TRUE(renderer);
    EXPECT_TRUE(renderer->IsColourArgb());
    EXPECT_TRUE(renderer->IsActive());
    EXPECT_TRUE(renderer->CanDraw());

    // A white texture modulated by green vertices over a red rectangle.
    const uint32_t white[4] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
    int texture = -1;
    ASSERT_TRUE(renderer->CreateTexture(false, 0, 0, TEXTURE_OPAQUE, true, 2, 2, 0, white, nullptr, &texture));
    renderer->Tick();
    ASSERT_EQ(renderer->BeginScene(), 1);
    renderer->DrawRectF(0, 0, 640, 480, 1.0f, 0.0f, 0.0f, 1.0f, false);
    ASSERT_TRUE(renderer->BeginBatch(&texture, false, false, false));
    SScreenVertex* v = nullptr;
    ASSERT_TRUE(renderer->ReserveVertices(4, &v));
    const float corners[4][2] = {{10, 10}, {30, 10}, {10, 30}, {30, 30}};
    for (int i = 0; i < 4; ++i)
        v[i] = SScreenVertex{corners[i][0], corners[i][1], 0.5f, 1.0f, 0xFF00FF00u, corners[i][0] / 30, corners[i][1] / 30};
    ASSERT_TRUE(renderer->FlushBatch(true));
    renderer->EndScene();
    EXPECT_EQ(renderer->GetPolygonCount(), 2u);

    std::vector<uint32_t> frame = Shot(*renderer, dir);
    ASSERT_EQ(frame.size(), 640u * 480u);
    EXPECT_EQ(frame[5 * 640 + 5], 0xFFFF0000u);
    EXPECT_EQ(frame[20 * 640 + 20], 0xFF00FF00u);
    EXPECT_EQ(frame[479 * 640 + 639], 0xFFFF0000u);
}

TEST(D3D8Renderer, LostDeviceSuspendsDrawingAndResetRestoresEverything)
{
    CTempDir dir;
    auto renderer = OpenWindowed();
    ASSERT_TRUE(renderer);
    std::vector<uint8_t> pixels(4 * 4 * 4, 255);
    std::vector<uint8_t> file = EncodeTga32(4, 4, pixels.data());
    ASSERT_TRUE(dir.WriteFile("ship.tga", std::string(file.begin(), file.end())));
    int named = -1, reserved = -1;
    ASSERT_TRUE(renderer->LoadTexture(dir.Join("ship.tga").c_str(), false, 1, 1, TEXTURE_ALPHA, true, &named, nullptr,
                                      nullptr));
    ASSERT_TRUE(renderer->CreateTexture(false, 0, 0, TEXTURE_OPAQUE, true, 4, 4, 0, pixels.data(), nullptr, &reserved));
    CVertexBuffer* buffer = nullptr;
    ASSERT_TRUE(renderer->CreateVertexBuffer(28 * 6, &buffer));
    s_restored.clear();
    renderer->AddTextureRestoreCallback(&OnTexturesRestored, 1);
    renderer->AddDeviceRestoreCallback(&OnDeviceRestored, 2);

    renderer->GetDevice()->SimulateLoss(ESoftResult::DeviceLost);
    renderer->BeginScene();
    EXPECT_FALSE(renderer->CanDraw());
    EXPECT_TRUE(s_restored.empty());

    renderer->GetDevice()->SimulateLoss(ESoftResult::DeviceNotReset);
    EXPECT_EQ(renderer->BeginScene(), 1);
    EXPECT_TRUE(renderer->CanDraw());
    EXPECT_EQ(s_restored, (std::vector<int>{1, 102}));
    const STextureSlot* slot = renderer->GetTextureSlot(named);
    ASSERT_TRUE(slot->inUse);
    EXPECT_NE(slot->apiTexture, nullptr);
    EXPECT_EQ(slot->refCount, 1);
    EXPECT_FALSE(renderer->GetTextureSlot(reserved)->inUse) << "memory textures are their owners' to make again";

    // The listed vertex buffer is back at its size and draws.
    SScreenVertex* v = nullptr;
    ASSERT_TRUE(buffer->Lock(&v));
    for (int i = 0; i < 6; ++i)
        v[i] = SScreenVertex{float(i % 2) * 50, float(i / 2) * 20, 0, 1, 0xFF0000FFu, 0, 0};
    ASSERT_TRUE(buffer->Unlock());
    renderer->DisableTexturing();
    buffer->BeginDraw();
    EXPECT_TRUE(buffer->Draw(PRIMITIVE_STRIP, 6));
    EXPECT_FALSE(buffer->Draw(PRIMITIVE_STRIP, 7)) << "more vertices than the buffer holds";
    const uint16_t bad[3] = {0, 1, 6};
    EXPECT_FALSE(buffer->DrawIndexed(PRIMITIVE_LIST, 3, INDEX_16, bad));
    const uint32_t good[3] = {0, 1, 2};
    EXPECT_TRUE(buffer->DrawIndexed(PRIMITIVE_LIST, 3, INDEX_32, good));
    renderer->EndScene();
    EXPECT_EQ(Shot(*renderer, dir)[10 * 640 + 20], 0xFF0000FFu);
    renderer->DestroyVertexBuffer(buffer);
}

TEST(D3D8Renderer, TextureFormatsFollowTheDeviceAndQuality)
{
    struct
    {
        std::vector<ESoftFormat> formats;
        bool hiQuality;
        ESoftFormat opaque, alpha, oneBit;
    } cases[] = {
        {{ESoftFormat::A8R8G8B8, ESoftFormat::A4R4G4B4, ESoftFormat::A1R5G5B5}, false, ESoftFormat::A8R8G8B8,
         ESoftFormat::A4R4G4B4, ESoftFormat::A1R5G5B5},
        {{ESoftFormat::A8R8G8B8, ESoftFormat::X8R8G8B8, ESoftFormat::A4R4G4B4, ESoftFormat::R5G6B5}, true,
         ESoftFormat::X8R8G8B8, ESoftFormat::A8R8G8B8, ESoftFormat::A8R8G8B8},
        {{ESoftFormat::R5G6B5, ESoftFormat::A4R4G4B4}, true, ESoftFormat::R5G6B5, ESoftFormat::A4R4G4B4,
         ESoftFormat::A4R4G4B4},
    };
    for (const auto& c : cases)
    {
        SSoftAdapterProfile profile = CSoftD3D::GetDefaultProfile();
        profile.textureFormats = c.formats;
        auto renderer = std::make_unique<CD3D8Renderer>(&profile);
        SDisplaySettings& settings = const_cast<SDisplaySettings&>(renderer->GetSettings());
        settings.fullScreen = false;
        settings.hiQualityTextures = c.hiQuality;
        ASSERT_TRUE(renderer->Open("Tessavar", nullptr));
        EXPECT_EQ(renderer->GetTextureFormat(TEXTURE_OPAQUE), c.opaque);
        EXPECT_EQ(renderer->GetTextureFormat(TEXTURE_ALPHA), c.alpha);
        EXPECT_EQ(renderer->GetTextureFormat(TEXTURE_ONE_BIT_ALPHA), c.oneBit);
    }
    // Without a format for every kind the display cannot be made.
    SSoftAdapterProfile profile = CSoftD3D::GetDefaultProfile();
    profile.textureFormats = {ESoftFormat::R5G6B5};
    CD3D8Renderer renderer(&profile);
    EXPECT_FALSE(renderer.Open("Tessavar", nullptr));
    EXPECT_FALSE(renderer.IsOpened());
}

TEST(D3D8Renderer, BackBufferFormatFromDesktopOrModes)
{
    struct
    {
        ESoftFormat desktop;
        bool fullScreen;
        std::vector<SSoftDisplayMode> modes;
        bool opens;
        int colourBits;
    } cases[] = {
        {ESoftFormat::R8G8B8, false, {}, false, 0},           // 24-bit desktop: no window
        {ESoftFormat::P8, false, {}, false, 0},               // 8-bit desktop
        {ESoftFormat::R5G6B5, false, {}, true, 16},           // a window takes the desktop's depth
        {ESoftFormat::X8R8G8B8, true, {{800, 600, 60, ESoftFormat::R5G6B5}}, true, 16}, // only the other depth
        {ESoftFormat::X8R8G8B8, true, {{640, 480, 60, ESoftFormat::X8R8G8B8}}, false, 0}, // no 800 x 600
    };
    for (const auto& c : cases)
    {
        SSoftAdapterProfile profile = CSoftD3D::GetDefaultProfile();
        profile.desktop.format = c.desktop;
        if (c.fullScreen)
            profile.modes = c.modes;
        CD3D8Renderer renderer(&profile);
        SDisplaySettings& settings = const_cast<SDisplaySettings&>(renderer.GetSettings());
        settings.fullScreen = c.fullScreen;
        EXPECT_EQ(renderer.Open("Tessavar", nullptr), c.opens) << int(c.desktop);
        if (c.opens)
        {
            EXPECT_EQ(renderer.GetSettings().colourBits, c.colourBits);
        }
        renderer.Close();
    }
}
