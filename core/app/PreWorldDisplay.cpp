#include "core/app/PreWorldDisplay.h"

#include "presentation/SpriteBank.h"

#include <cmath>
#include <vector>

namespace
{
struct SPreWorldSprite
{
    SSpriteInstance* instance;
    int file;
    float spin; // frames per step
};

std::vector<SPreWorldSprite> s_sprites;
std::vector<int> s_files;
CSpriteBank* s_bank = nullptr;
uint32_t s_step = 0;

void Place(int file, int plane, float x, float y, float spin, uint32_t colour, float scale)
{
    SSpriteInstance* instance = nullptr;
    if (file < 0 || !s_bank->CreateInstance(plane, file, instance))
        return;
    instance->m_x = x;
    instance->m_y = y;
    instance->m_frame = 0;
    instance->m_colour = colour;
    instance->m_scaleX = instance->m_scaleY = scale;
    instance->m_flags |= SPRITE_VIRTUAL;
    instance->SetVisible(true);
    s_sprites.push_back({instance, file, spin});
}

int LoadSample(const char* name)
{
    int index = -1;
    if (!s_bank->LoadFile(name, true, index))
        return -1;
    s_files.push_back(index);
    return index;
}
} // namespace

bool StartPreWorldDisplay(CSpriteBank& bank)
{
    s_bank = &bank;
    s_step = 0;
    const int ship = LoadSample("data/sprites/ship.spr");
    const int asteroid = LoadSample("data/sprites/asteroid.spr");
    const int sparks = LoadSample("data/sprites/particles.spr");
    Place(asteroid, 8, 160, 140, 0.05f, 0xFFFFFFFF, 2.0f);
    Place(asteroid, 8, 500, 330, -0.08f, 0xFFC0B0A0, 1.5f);
    Place(ship, 12, 320, 240, 0.25f, 0xFFFFFFFF, 2.0f);
    for (int i = 0; i < 3; ++i)
        Place(sparks, 13, 300.0f + 20.0f * float(i), 290.0f, 0.2f, 0xFFFFFFFF, 1.0f);
    return !s_files.empty();
}

void UpdatePreWorldDisplay()
{
    if (!s_bank)
        return;
    ++s_step;
    for (SPreWorldSprite& sprite : s_sprites)
    {
        int frames = s_bank->GetFrameCount(sprite.file);
        if (frames <= 0)
            continue;
        int frame = static_cast<int>(std::floor(float(s_step) * sprite.spin)) % frames;
        sprite.instance->m_frame = static_cast<uint32_t>(frame < 0 ? frame + frames : frame);
    }
}

void SetPreWorldDisplayVisible(bool visible)
{
    for (SPreWorldSprite& sprite : s_sprites)
        sprite.instance->SetVisible(visible);
}

void StopPreWorldDisplay(CSpriteBank& bank)
{
    for (SPreWorldSprite& sprite : s_sprites)
        bank.DestroyInstance(sprite.instance);
    for (int file : s_files)
        bank.ReleaseFile(file);
    s_sprites.clear();
    s_files.clear();
    s_bank = nullptr;
}
