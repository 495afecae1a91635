// A sprite scene drawn through the Direct3D 8 renderer on the software device and
// compared pixel for pixel with the stored picture. Set TESS_UPDATE_GOLDEN=1 to write
// the picture again after an intended change (and look at it before committing).

#include "tests/presentation/SpriteFixture.h"

#include "platform/D3D8Renderer.h"
#include "platform/Tga.h"
#include "utility/source/QelSpritePacker.h"

#include <cmath>
#include <cstdlib>

namespace
{
const int kCropWidth = 192;
const int kCropHeight = 144;

// A disc of the given colour whose alpha falls off towards the rim, on a dark square,
// with a light mark in the top-left quarter so that mirroring and turning show.
std::vector<uint8_t> MakeDisc(uint32_t side, uint8_t red, uint8_t green, uint8_t blue)
{
    std::vector<uint8_t> pixels(size_t(side) * side * 4);
    const float centre = float(side) * 0.5f;
    for (uint32_t y = 0; y < side; ++y)
        for (uint32_t x = 0; x < side; ++x)
        {
            uint8_t* p = &pixels[(size_t(y) * side + x) * 4];
            float dx = float(x) + 0.5f - centre, dy = float(y) + 0.5f - centre;
            float distance = std::sqrt(dx * dx + dy * dy) / centre;
            bool mark = x < side / 3 && y < side / 3;
            p[0] = mark ? 255 : blue;
            p[1] = mark ? 255 : green;
            p[2] = mark ? 255 : red;
            p[3] = distance >= 1.0f ? 0 : uint8_t(255.0f * (1.0f - distance * distance));
            if (mark)
                p[3] = 255;
        }
    return pixels;
}

std::string WriteDiscSprite(const CTempDir& dir, const std::string& name, int32_t format, uint32_t storage,
                            uint8_t red, uint8_t green, uint8_t blue)
{
    SSpritePackOptions options;
    options.pixelFormat = format;
    options.storage = storage;
    options.maxPageSide = 32;
    SSpriteFileData data;
    EXPECT_TRUE(PackSpriteFrames({MakeDisc(16, red, green, blue), MakeDisc(16, blue, red, green)}, 16, 16, options,
                                 data));
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(WriteSpriteFile(data, bytes));
    EXPECT_TRUE(dir.WriteFile(name, std::string(bytes.begin(), bytes.end())));
    return dir.Join(name);
}

// The shown frame through a screenshot, cropped to the scene: top row first, 4 bytes
// a pixel (blue, green, red, alpha).
std::vector<uint8_t> ShootScene(CRenderer& renderer, const CTempDir& dir)
{
    std::string path = dir.Join("frame.tga");
    EXPECT_TRUE(renderer.SaveScreenshot(path.c_str()));
    STgaImage image;
    EXPECT_TRUE(LoadTga(path.c_str(), image));
    std::vector<uint8_t> crop;
    if (image.width < kCropWidth || image.height < kCropHeight)
        return crop;
    for (int y = 0; y < kCropHeight; ++y)
        crop.insert(crop.end(), image.pixels.begin() + std::ptrdiff_t(y) * image.width * 4,
                    image.pixels.begin() + (std::ptrdiff_t(y) * image.width + kCropWidth) * 4);
    return crop;
}

SSpriteInstance* Place(CSpriteBank& bank, int plane, int file, float x, float y)
{
    SSpriteInstance* instance = nullptr;
    EXPECT_TRUE(bank.CreateInstance(plane, file, instance));
    instance->m_x = x;
    instance->m_y = y;
    instance->m_frame = 0;
    instance->m_colour = 0xFFFFFFFF;
    instance->m_scaleX = instance->m_scaleY = 1.0f;
    instance->SetVisible(true);
    return instance;
}
} // namespace

TEST(SpriteSceneGolden, SoftwareDeviceDrawsTheSceneExactly)
{
    CTempDir dir;
    CD3D8Renderer renderer;
    renderer.SetDefaultSettings();
    renderer.GetPendingSettings().fullScreen = false;
    const_cast<SDisplaySettings&>(renderer.GetSettings()).fullScreen = false;
    const_cast<SDisplaySettings&>(renderer.GetSettings()).width = 640;
    const_cast<SDisplaySettings&>(renderer.GetSettings()).height = 480;
    ASSERT_TRUE(renderer.Open("Tessavar", nullptr));
    CSpriteBank bank;
    ASSERT_TRUE(bank.Init(&renderer));

    int files[7];
    const struct
    {
        int32_t format;
        uint32_t storage;
        uint8_t red, green, blue;
        bool filter;
    } kinds[7] = {
        {0, 0, 200, 40, 40, false},  {1, 0, 40, 160, 40, false}, {2, 0, 60, 90, 230, false},
        {3, 0, 230, 210, 40, false}, {4, 0, 220, 60, 220, false}, {2, 1, 40, 220, 220, false},
        {2, 0, 240, 150, 60, true},
    };
    for (int i = 0; i < 7; ++i)
    {
        std::string path = WriteDiscSprite(dir, "s" + std::to_string(i) + ".spr", kinds[i].format, kinds[i].storage,
                                           kinds[i].red, kinds[i].green, kinds[i].blue);
        ASSERT_TRUE(bank.LoadFile(path.c_str(), kinds[i].filter, files[i])) << i;
    }

    // A row of formats: opaque, additive over it, blended and turned, tested and
    // mirrored, format 4 mirrored the other way on its second frame, a JPEG-2000 page
    // flashing orange, and the filtered one scaled up.
    Place(bank, 3, files[0], 24, 24);
    Place(bank, 3, files[1], 32, 28);
    SSpriteInstance* turned = Place(bank, 3, files[2], 60, 24);
    turned->m_rotation = 0.5f;
    turned->m_scaleX = turned->m_scaleY = 1.5f;
    Place(bank, 3, files[3], 90, 24)->m_flags |= SPRITE_MIRROR_X;
    SSpriteInstance* second = Place(bank, 3, files[4], 120, 24);
    second->m_flags |= SPRITE_MIRROR_Y;
    second->m_frame = 1;
    SSpriteInstance* flashing = Place(bank, 3, files[5], 150, 24);
    flashing->m_flags |= SPRITE_FLASH;
    flashing->m_colour = 0xFFFF8000;
    SSpriteInstance* big = Place(bank, 3, files[6], 150, 100);
    big->m_scaleX = big->m_scaleY = 3.0f;
    big->m_colour = 0xC0FFFFFF;

    // Planes: the far plane follows half the camera, the near one all of it; the
    // near sprite covers part of the far one. A snapped turned sprite in between.
    bank.SetCameraPosition(20, 10);
    bank.SetPlaneScale(1, 0.5f);
    Place(bank, 1, files[0], 110, 80);
    Place(bank, 9, files[2], 126, 88);
    SSpriteInstance* snapped = Place(bank, 5, files[3], 120, 110);
    snapped->m_rotation = 0.3f;
    snapped->m_flags |= SPRITE_SNAP;
    bank.SetPlaneScale(5, 0.0f);

    // A 2 x 2 picture of tiles 15.5 apart, welded into one.
    SSpriteGroup* group = nullptr;
    ASSERT_TRUE(bank.CreateGroup(7, group));
    bank.SetPlaneScale(7, 0.0f);
    for (int i = 0; i < 4; ++i)
    {
        SSpriteInstance* tile = nullptr;
        ASSERT_TRUE(bank.CreateGroupInstance(group, files[0], tile));
        tile->m_x = 30.0f + 15.5f * float(i % 2);
        tile->m_y = 80.0f + 15.5f * float(i / 2);
        tile->m_frame = uint32_t(i % 2);
        tile->m_colour = 0xFFFFFFFF;
        tile->m_scaleX = tile->m_scaleY = 1.0f;
        tile->SetVisible(true);
    }
    // A virtual-screen sprite on a plane that does not scroll.
    bank.SetPlaneScale(12, 0.0f);
    Place(bank, 12, files[4], 80, 120)->m_flags |= SPRITE_VIRTUAL;

    renderer.Tick();
    ASSERT_EQ(renderer.BeginScene(), 1);
    bank.Render();
    renderer.EndScene();
    std::vector<uint8_t> scene = ShootScene(renderer, dir);
    ASSERT_EQ(scene.size(), size_t(kCropWidth) * kCropHeight * 4);

    const std::string golden = std::string(TESS_SOURCE_DIR) + "/tests/presentation/golden/sprite_scene.tga";
    const char* update = std::getenv("TESS_UPDATE_GOLDEN");
    if (update && *update == '1')
    {
        ASSERT_TRUE(SaveTga32(golden.c_str(), kCropWidth, kCropHeight, scene.data()));
    }
    STgaImage expected;
    ASSERT_TRUE(LoadTga(golden.c_str(), expected)) << golden;
    ASSERT_EQ(expected.width, kCropWidth);
    ASSERT_EQ(expected.height, kCropHeight);
    size_t differing = 0, first = 0;
    for (size_t i = 0; i < scene.size(); ++i)
        if (scene[i] != expected.pixels[i])
        {
            if (differing == 0)
                first = i / 4;
            ++differing;
        }
    if (differing)
        SaveTga32(dir.Join("actual.tga").c_str(), kCropWidth, kCropHeight, scene.data());
    EXPECT_EQ(differing, 0u) << "first at (" << first % kCropWidth << ", " << first / kCropWidth << ")";
    bank.DestroyGroup(group);
    bank.Shutdown();
    renderer.Close();
}
