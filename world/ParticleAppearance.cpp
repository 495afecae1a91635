#include "world/ParticleAppearance.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "core/Random.h"
#include "core/Vector3.h"
#include "presentation/SpriteBank.h"
#include "world/Particle.h"
#include "world/ParticleController.h"
#include "world/EffectKeys.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>

namespace
{
constexpr float DEGREES_TO_RADIANS = 3.14159265358979f / 180.0f;

// The numbered keys of a key block: at most MAX_KEYS, a longer list cut with a warning.
template <typename Key, typename ReadOne>
int ReadKeys(const CDataTree* block, Key* keys, CDefinitionProblems& problems, ReadOne readOne)
{
    if (!block)
        return 0;
    int32_t count = 0;
    block->GetInt("numKeys", count);
    if (count < 0)
        count = 0;
    if (count > CAppearance::MAX_KEYS)
    {
        problems.AddWarning(block, "%d keys: only the first %d are used", static_cast<int>(count),
                            CAppearance::MAX_KEYS);
        count = CAppearance::MAX_KEYS;
    }
    int read = 0;
    for (int32_t i = 0; i < count; ++i)
    {
        char name[16];
        std::snprintf(name, sizeof(name), "key%d", static_cast<int>(i));
        if (!readOne(*block, name, keys[read]))
        {
            problems.AddWarning(block, "\"%s\" is missing or not a list of numbers within +-1e6", name);
            continue;
        }
        ++read;
    }
    return read;
}

// Where f lies among the keys: the pair (a, b) that brackets it and the share of the
// way from a to b; before the first key and after the last the end key holds.
template <typename Key>
void Bracket(const Key* keys, int count, float fraction, int& a, int& b, float& share)
{
    a = b = 0;
    share = 0.0f;
    if (count <= 1 || fraction <= keys[0].time)
        return;
    for (int i = 0; i + 1 < count; ++i)
    {
        if (fraction >= keys[i].time && fraction <= keys[i + 1].time)
        {
            a = i;
            b = i + 1;
            float span = keys[b].time - keys[a].time;
            share = span > 0.0f ? (fraction - keys[a].time) / span : 1.0f;
            return;
        }
    }
    a = b = count - 1;
}

uint32_t ToByte(float value)
{
    if (!(value > 0.0f))
        return 0;
    return value >= 255.0f ? 255u : static_cast<uint32_t>(value + 0.5f);
}

void SetRotation(SSpriteInstance& sprite, float degrees)
{
    sprite.m_rotation = degrees * DEGREES_TO_RADIANS;
}
} // namespace

float GetLifeFraction(const SParticle& particle)
{
    if (particle.life == 0)
        return 1.0f;
    return static_cast<float>(particle.life - particle.remaining) / static_cast<float>(particle.life);
}

std::unique_ptr<CAppearance> MakeAppearance(const char* word)
{
    std::unique_ptr<CAppearance> made;
    if (MatchesTypeWord(word, "SPRITE"))
        made.reset(new (std::nothrow) CAppearance(APPEARANCE_SPRITE));
    else if (MatchesTypeWord(word, "DUMMY"))
        made.reset(new (std::nothrow) CDummyAppearance());
    else if (MatchesTypeWord(word, "ANIM_SPRITE"))
        made.reset(new (std::nothrow) CAnimSpriteAppearance());
    else if (MatchesTypeWord(word, "ORIENTATED_SPRITE"))
        made.reset(new (std::nothrow) COrientatedSpriteAppearance());
    return made;
}

void CAppearance::Read(const CDataTree& block, CDefinitionProblems& problems)
{
    m_colourCount = ReadKeys(block.FindBlock("colorKeys"), m_colours, problems,
                             [](const CDataTree& keys, const char* name, SColourKey& key) {
                                 float values[4];
                                 if (!keys.GetVec4(name, values))
                                     return false;
                                 for (float value : values)
                                     if (!IsSaneEffectNumber(value))
                                         return false;
                                 key = {values[0], values[1], values[2], values[3]};
                                 return true;
                             });
    m_alphaCount = ReadKeys(block.FindBlock("alphaKeys"), m_alphas, problems,
                            [](const CDataTree& keys, const char* name, SAlphaKey& key) {
                                CVector2D values;
                                if (!keys.GetVec2(name, values) || !IsSaneEffectNumber(values.x) ||
                                    !IsSaneEffectNumber(values.y))
                                    return false;
                                key = {values.x, values.y};
                                return true;
                            });
    m_scaleCount = ReadKeys(block.FindBlock("scaleKeys"), m_scales, problems,
                            [](const CDataTree& keys, const char* name, SScaleKey& key) {
                                CVector3 values;
                                if (!keys.GetVec3(name, values) || !IsSaneEffectNumber(values.x) ||
                                    !IsSaneEffectNumber(values.y) || !IsSaneEffectNumber(values.z))
                                    return false;
                                key = {values.x, values.y, values.z};
                                return true;
                            });
    if (const CDataTree* sprite = block.FindBlock("sprite"))
    {
        char name[DATA_VALUE_MAX + 1] = "";
        sprite->GetString("spriteFile", name, sizeof(name));
        m_spriteFile = name;
        // Without a sprite bank (a check of the data) only the name is kept.
        if (g_spriteBank && !m_sprite.Load(*sprite, true))
            problems.AddWarning(sprite, "sprite file \"%s\" does not load: its particles are unseen", name);
    }
    block.GetInt("startFrame", m_startFrame);
    block.GetInt("endFrame", m_endFrame);
    block.GetBool("loop", m_loop);
    block.GetBool("forceRotate", m_forceRotate);
    block.GetInt("relativeDrawPlane", m_relativePlane);
    if (m_startFrame < 0 || m_endFrame < 0)
    {
        problems.AddWarning(&block, "negative frames are taken as 0");
        m_startFrame = std::max<int32_t>(m_startFrame, 0);
        m_endFrame = std::max<int32_t>(m_endFrame, 0);
    }
}

int CAppearance::GetDrawPlane() const
{
    return ClampSpritePlane(static_cast<long long>(BASE_PLANE) + m_relativePlane);
}

void CAppearance::MakeSprite(SParticle& particle) const
{
    particle.sprite = nullptr;
    CSpriteBank* bank = m_sprite.GetBank();
    SSpriteInstance* instance = nullptr;
    if (!bank || !m_sprite.HasFile() || !bank->CreateInstance(GetDrawPlane(), m_sprite.GetFile(), instance))
        return;
    instance->SetVisible(false);
    instance->m_colour = 0xFFFFFFFF;
    instance->m_scaleX = instance->m_scaleY = 1.0f;
    particle.sprite = instance;
}

void CAppearance::FreeSprite(SParticle& particle) const
{
    if (particle.sprite && m_sprite.GetBank())
        m_sprite.GetBank()->DestroyInstance(particle.sprite);
    particle.sprite = nullptr;
}

void CAppearance::Hide(SParticle& particle) const
{
    if (particle.sprite)
        particle.sprite->SetVisible(false);
}

bool CAppearance::ComputeColour(float fraction, uint32_t& argb) const
{
    if (fraction >= 1.0f)
        return false;
    float red = 255.0f, green = 255.0f, blue = 255.0f, alpha = 255.0f;
    int a = 0, b = 0;
    float share = 0.0f;
    if (m_colourCount > 0)
    {
        Bracket(m_colours, m_colourCount, fraction, a, b, share);
        red = m_colours[a].red + (m_colours[b].red - m_colours[a].red) * share;
        green = m_colours[a].green + (m_colours[b].green - m_colours[a].green) * share;
        blue = m_colours[a].blue + (m_colours[b].blue - m_colours[a].blue) * share;
    }
    if (m_alphaCount > 0)
    {
        Bracket(m_alphas, m_alphaCount, fraction, a, b, share);
        alpha = m_alphas[a].alpha + (m_alphas[b].alpha - m_alphas[a].alpha) * share;
    }
    argb = ToByte(alpha) << 24 | ToByte(red) << 16 | ToByte(green) << 8 | ToByte(blue);
    return true;
}

bool CAppearance::ComputeScale(float fraction, float& x, float& y) const
{
    if (fraction >= 1.0f || m_scaleCount == 0)
        return false;
    int a = 0, b = 0;
    float share = 0.0f;
    Bracket(m_scales, m_scaleCount, fraction, a, b, share);
    x = m_scales[a].x + (m_scales[b].x - m_scales[a].x) * share;
    y = m_scales[a].y + (m_scales[b].y - m_scales[a].y) * share;
    return true;
}

void CAppearance::ApplyCommon(SParticle& particle, const CVector2D& place, float heading) const
{
    SSpriteInstance* sprite = particle.sprite;
    if (!sprite)
        return;
    sprite->m_x = place.x;
    sprite->m_y = place.y;
    const float fraction = GetLifeFraction(particle);
    uint32_t colour = 0;
    if (ComputeColour(fraction, colour))
        sprite->m_colour = colour;
    float x = 1.0f, y = 1.0f;
    if (ComputeScale(fraction, x, y))
    {
        sprite->m_scaleX = x;
        sprite->m_scaleY = y;
    }
    if (m_forceRotate)
        SetRotation(*sprite, heading + 90.0f);
    else
        SetRotation(*sprite, particle.spin);
}

void CAppearance::ShowNew(SParticle& particle, const CVector2D& place, float angle) const
{
    if (m_forceRotate)
        particle.spin = angle;
    if (!particle.sprite)
        return;
    particle.sprite->m_frame = static_cast<uint32_t>(m_startFrame);
    ApplyCommon(particle, place, angle);
    if (m_forceRotate)
        SetRotation(*particle.sprite, angle);
    particle.sprite->SetVisible(true);
}

void CAppearance::Apply(SParticle& particle, const CVector2D& place, float heading, uint32_t) const
{
    if (!particle.sprite)
        return;
    particle.sprite->m_frame = static_cast<uint32_t>(m_startFrame);
    ApplyCommon(particle, place, heading);
}

void CAnimSpriteAppearance::Read(const CDataTree& block, CDefinitionProblems& problems)
{
    CAppearance::Read(block, problems);
    block.GetBool("randomStart", m_randomStart);
    block.GetBool("randomPlayDirection", m_randomDirection);
    ReadEffectPair(block, "randomPlayRate", m_playRate, problems);
    if (!(m_playRate.x > 0.0f) || m_playRate.y < m_playRate.x)
        problems.AddWarning(&block, "randomPlayRate %g, %g: the rate must be above 0 and its maximum not below "
                                    "its minimum; the frames stand still",
                            static_cast<double>(m_playRate.x), static_cast<double>(m_playRate.y));
}

void CAnimSpriteAppearance::ShowNew(SParticle& particle, const CVector2D& place, float angle) const
{
    int32_t frame = m_startFrame;
    if (m_randomStart)
        frame += static_cast<int32_t>(GameRand() % static_cast<uint32_t>(std::max<int32_t>(
                                                       m_endFrame - m_startFrame + 1, 1)));
    int direction = 1;
    if (m_randomDirection && GameRand() % 2 == 0)
        direction = -1;
    float rate = m_playRate.x;
    const int32_t steps = static_cast<int32_t>((m_playRate.y - m_playRate.x) * 100.0f);
    if (m_playRate.y != m_playRate.x && steps > 0)
        rate = m_playRate.x + static_cast<float>(GameRand() % static_cast<uint32_t>(steps)) * 0.01f;
    // A rate of 0 (or one that leaves no whole step) shows the frames standing still.
    if (rate > 0.0f && rate <= 1000.0f)
    {
        particle.playRate = static_cast<int16_t>(static_cast<float>(direction) * rate);
        particle.frameTime = static_cast<uint16_t>(std::max(1.0f, 1000.0f / rate));
    }
    else
    {
        particle.playRate = 0;
        particle.frameTime = 0;
    }
    particle.frameClock = 0;
    if (!particle.sprite)
        return;
    particle.sprite->m_frame = static_cast<uint32_t>(frame);
    ApplyCommon(particle, place, angle);
    particle.sprite->SetVisible(true);
}

void CAnimSpriteAppearance::Apply(SParticle& particle, const CVector2D& place, float heading, uint32_t elapsedMs) const
{
    SSpriteInstance* sprite = particle.sprite;
    if (!sprite)
        return;
    ApplyCommon(particle, place, heading);
    if (particle.playRate == 0 || particle.frameTime == 0 || !sprite->IsVisible())
        return;
    uint32_t clock = particle.frameClock + elapsedMs;
    int32_t frame = static_cast<int32_t>(sprite->m_frame);
    while (clock >= particle.frameTime)
    {
        clock -= particle.frameTime;
        if (particle.playRate > 0)
        {
            if (++frame > m_endFrame)
            {
                if (!m_loop)
                {
                    sprite->SetVisible(false);
                    break;
                }
                frame = m_startFrame;
            }
        }
        else if (--frame < 0)
        {
            if (!m_loop)
            {
                sprite->SetVisible(false);
                break;
            }
            frame = m_endFrame;
        }
    }
    particle.frameClock = static_cast<uint16_t>(std::min<uint32_t>(clock, UINT16_MAX));
    sprite->m_frame = static_cast<uint32_t>(std::max<int32_t>(frame, 0));
}

int32_t COrientatedSpriteAppearance::FrameForHeading(float heading) const
{
    const int32_t frames = m_endFrame - m_startFrame + 1;
    if (frames <= 0 || !std::isfinite(heading))
        return m_startFrame;
    float turned = std::fmod(heading + 90.0f, 360.0f);
    if (turned < 0.0f)
        turned += 360.0f;
    int32_t frame = static_cast<int32_t>(std::floor(turned / (360.0f / static_cast<float>(frames))));
    if (frame >= frames)
        frame = 0;
    return frame + m_startFrame;
}

void COrientatedSpriteAppearance::Apply(SParticle& particle, const CVector2D& place, float heading, uint32_t) const
{
    if (!particle.sprite)
        return;
    particle.sprite->m_frame = static_cast<uint32_t>(FrameForHeading(heading));
    ApplyCommon(particle, place, heading);
}
