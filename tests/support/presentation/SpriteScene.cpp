#include "tests/support/presentation/SpriteScene.h"

#include "platform/Renderer.h"
#include "platform/Tga.h"
#include "presentation/SpriteBank.h"
#include "tests/support/TempDir.h"
#include "utility/source/QelSpriteFormat.h"
#include "utility/source/QelSpritePacker.h"

#include <cmath>
#include <string>

namespace
{
const int kCropWidth = SPRITE_SCENE_WIDTH;
const int kCropHeight = SPRITE_SCENE_HEIGHT;

// A disc of the given colour whose alpha falls off towards the rim (opaque formats show
// the whole square), with a white mark in the top-left third so that mirroring and
// turning show.
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
    std::vector<uint8_t> bytes;
    if (!PackSpriteFrames({MakeDisc(16, red, green, blue), MakeDisc(16, blue, red, green)}, 16, 16, options, data) ||
        !WriteSpriteFile(data, bytes) || !dir.WriteFile(name, std::string(bytes.begin(), bytes.end())))
        return "";
    return dir.Join(name);
}

SSpriteInstance* Place(CSpriteBank& bank, int plane, int file, float x, float y)
{
    SSpriteInstance* instance = nullptr;
    if (!bank.CreateInstance(plane, file, instance))
        return nullptr;
    instance->m_x = x;
    instance->m_y = y;
    instance->m_frame = 0;
    instance->m_colour = 0xFFFFFFFF;
    instance->m_scaleX = instance->m_scaleY = 1.0f;
    instance->SetVisible(true);
    return instance;
}
} // namespace

bool BuildSpriteScene(CSpriteBank& bank, const CTempDir& dir)
{
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
        if (!bank.LoadFile(path.c_str(), kinds[i].filter, files[i]))
            return false;
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
    if (!bank.CreateGroup(7, group))
        return false;
    bank.SetPlaneScale(7, 0.0f);
    for (int i = 0; i < 4; ++i)
    {
        SSpriteInstance* tile = nullptr;
        if (!bank.CreateGroupInstance(group, files[0], tile))
            return false;
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

    return true;
}

std::vector<uint8_t> DrawBankFrame(CRenderer& renderer, CSpriteBank& bank, const CTempDir& dir, int width,
                                   int height)
{
    renderer.Tick();
    renderer.BeginScene();
    bank.Render();
    renderer.EndScene();
    std::string path = dir.Join("frame.tga");
    STgaImage image;
    std::vector<uint8_t> crop;
    if (!renderer.SaveScreenshot(path.c_str()) || !LoadTga(path.c_str(), image) || image.width < width ||
        image.height < height)
        return crop;
    for (int y = 0; y < height; ++y)
        crop.insert(crop.end(), image.pixels.begin() + std::ptrdiff_t(y) * image.width * 4,
                    image.pixels.begin() + (std::ptrdiff_t(y) * image.width + width) * 4);
    return crop;
}

std::vector<uint8_t> DrawSpriteScene(CRenderer& renderer, CSpriteBank& bank, const CTempDir& dir)
{
    return DrawBankFrame(renderer, bank, dir, kCropWidth, kCropHeight);
}
