#include "core/FastMath.h"
#include "presentation/AnimatedSprite.h"
#include "presentation/CollisionTag.h"
#include "presentation/SpriteRef.h"
#include "tests/presentation/AnimationFixture.h"

#include <cmath>
#include <limits>

namespace
{
class AnimatedSpriteTest : public CAnimationFixture
{
protected:
    // A reference to a file of `fileFrames` frames that animates through `frames`.
    void MakeRef(uint32_t fileFrames, int frames)
    {
        auto node = ParseFirstBlock("s\n{\n spriteFile " + WriteFrames("f.spr", fileFrames) +
                                    "\n numFrames " + std::to_string(frames) + "\n}\n");
        ASSERT_TRUE(m_ref.Load(*node, true));
    }
    // A sprite of m_ref read from the given keys.
    void LoadSprite(const std::string& keys, int planeOffset = 0)
    {
        auto node = ParseFirstBlock("s\n{\n" + keys + "}\n");
        m_sprite.Load(*node, m_ref, planeOffset);
    }

    CSpriteRef m_ref;
    CAnimatedSprite m_sprite;
};

float Degrees(float radians)
{
    return radians / DEG_TO_RAD;
}
} // namespace

// Headings turn the picture by frames (one sector of 360 / frames each) and rotate it
// by what is left inside the sector; the pictures face up, so heading 0 is 90 degrees.
TEST_F(AnimatedSpriteTest, AngleChoosesFrameAndRotation)
{
    MakeRef(16, 8);
    const struct
    {
        uint16_t startFrame;
        float heading;
        uint32_t frame;
        float rotation; // degrees
    } cases[] = {
        {0, 0.0f, 2, 0.0f},    {0, 10.0f, 2, 10.0f},  {0, -90.0f, 0, 0.0f}, {0, 265.0f, 7, 40.0f},
        {0, 270.0f, 0, 0.0f},  {0, 630.0f, 0, 0.0f},  {0, -100.0f, 7, 35.0f}, {8, 0.0f, 10, 0.0f},
        {8, 44.0f, 10, 44.0f}, {8, 45.0f, 11, 0.0f},
    };
    for (const auto& c : cases)
    {
        m_sprite.Init(m_ref, 3);
        m_sprite.SetStartFrame(c.startFrame);
        m_sprite.SetAngle(c.heading);
        EXPECT_EQ(m_sprite.GetInstance()->m_frame, c.frame) << c.heading << " from " << c.startFrame;
        EXPECT_NEAR(Degrees(m_sprite.GetInstance()->m_rotation), c.rotation, 1e-3f) << c.heading;
    }
}

TEST_F(AnimatedSpriteTest, ForcedRotationTurnsThePictureAndKeepsTheFrame)
{
    MakeRef(8, 8);
    LoadSprite(" forceRotate true\n startFrame 5\n");
    m_sprite.SetAngle(10.0f);
    EXPECT_EQ(m_sprite.GetInstance()->m_frame, 5u);
    EXPECT_NEAR(Degrees(m_sprite.GetInstance()->m_rotation), 100.0f, 1e-3f);
    m_sprite.SetAngle(400.0f);
    EXPECT_NEAR(Degrees(m_sprite.GetInstance()->m_rotation), 490.0f, 1e-2f);
}

// The heading comes back as given, within [0, 360) for turning by frames.
TEST_F(AnimatedSpriteTest, GetAngleGivesTheHeadingBack)
{
    MakeRef(8, 8);
    m_sprite.Init(m_ref, 0);
    for (float heading : {0.0f, 10.0f, 300.0f})
    {
        m_sprite.SetAngle(heading);
        EXPECT_NEAR(m_sprite.GetAngle(), heading, 1e-3f);
    }
    m_sprite.SetAngle(-30.0f);
    EXPECT_NEAR(m_sprite.GetAngle(), 330.0f, 1e-3f);
    m_sprite.SetAngle(-120.0f);
    EXPECT_NEAR(m_sprite.GetAngle(), 240.0f, 1e-3f);
}

// A reference whose frame count is 0 turns as a one-frame picture; a non-finite
// heading changes nothing.
TEST_F(AnimatedSpriteTest, ZeroFramesAndNonFiniteAnglesAreSafe)
{
    MakeRef(4, 0);
    m_sprite.Init(m_ref, 0);
    m_sprite.SetAngle(10.0f);
    EXPECT_EQ(m_sprite.GetInstance()->m_frame, 0u);
    EXPECT_NEAR(Degrees(m_sprite.GetInstance()->m_rotation), 100.0f, 1e-3f);
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                      -std::numeric_limits<float>::infinity()})
    {
        m_sprite.SetAngle(bad);
        EXPECT_NEAR(m_sprite.GetAngle(), 10.0f, 1e-3f);
        EXPECT_NEAR(Degrees(m_sprite.GetInstance()->m_rotation), 100.0f, 1e-3f);
    }
    m_sprite.SetPlayRate(10);
    AdvanceTicks(10);
    m_sprite.Animate();
    EXPECT_EQ(m_sprite.GetInstance()->m_frame, 0u) << "one frame does not animate";
}

// Play ranges: four frames from frame 4, stepped five times at 25 frames a second.
TEST_F(AnimatedSpriteTest, PlayRangesStopOrLoop)
{
    MakeRef(12, 4);
    const struct
    {
        bool forwards, looped;
        uint32_t frames[5];
    } cases[] = {
        {true, false, {5, 6, 7, 7, 7}},
        {true, true, {5, 6, 7, 4, 5}},
        {false, false, {4, 4, 4, 4, 4}},
        {false, true, {7, 6, 5, 4, 7}},
    };
    for (const auto& c : cases)
    {
        LoadSprite(std::string(" startFrame 4\n playRate 25\n playForwards ") + (c.forwards ? "true" : "false") +
                   "\n playLooped " + (c.looped ? "true" : "false") + "\n");
        for (uint32_t expected : c.frames)
        {
            AdvanceTicks(1);
            m_sprite.Animate();
            EXPECT_EQ(m_sprite.GetInstance()->m_frame, expected) << c.forwards << c.looped;
        }
    }
}

// Rate 10 steps every 100 ms; a step up to one period late keeps the cadence, a later
// one starts a new cadence; rate 0 never steps.
TEST_F(AnimatedSpriteTest, LatenessIsCarriedWithinOnePeriod)
{
    MakeRef(8, 8);
    LoadSprite(" playRate 10\n playForwards true\n playLooped true\n");
    const uint32_t start = m_clock.m_now;
    const struct
    {
        uint32_t at; // ms after loading
        uint32_t frame;
    } steps[] = {
        {0, 1},   {99, 1},  {130, 2}, // 30 ms late: the next step is 70 ms later
        {199, 2}, {200, 3}, {450, 4}, // 150 ms late: no carry
        {549, 4}, {550, 5},
    };
    for (const auto& step : steps)
    {
        m_clock.m_now = start + step.at;
        m_sprite.Animate();
        EXPECT_EQ(m_sprite.GetInstance()->m_frame, step.frame) << "at " << step.at;
    }
    m_sprite.SetPlayRate(0);
    m_clock.m_now += 10000;
    m_sprite.Animate();
    EXPECT_EQ(m_sprite.GetInstance()->m_frame, 5u);
}

TEST_F(AnimatedSpriteTest, LoadReadsItsKeys)
{
    MakeRef(8, 8);
    LoadSprite(" drawPlane 3\n relativePos true\n pos 5, -6\n startFrame 2\n collisionTag GUNPORT\n"
               " numCollisionTags 3\n invertX true\n",
               10);
    SSpriteInstance* instance = m_sprite.GetInstance();
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(instance->m_plane, 13);
    EXPECT_TRUE(instance->IsVisible());
    EXPECT_EQ(instance->m_frame, 2u);
    EXPECT_EQ(instance->m_x, 5.0f);
    EXPECT_EQ(instance->m_y, -6.0f);
    EXPECT_EQ(instance->m_flags & (SPRITE_MIRROR_X | SPRITE_MIRROR_Y), uint32_t(SPRITE_MIRROR_X));
    EXPECT_EQ(m_sprite.GetCollisionTag(), PackCollisionTag("GUNP"));
    EXPECT_EQ(m_sprite.GetCollisionTagCount(), 3u);

    LoadSprite(" drawPlane 18\n invisible true\n invertY true\n", 10);
    instance = m_sprite.GetInstance();
    EXPECT_EQ(instance->m_plane, 20) << "kept within the planes";
    EXPECT_FALSE(instance->IsVisible());
    EXPECT_EQ(instance->m_flags & (SPRITE_MIRROR_X | SPRITE_MIRROR_Y), uint32_t(SPRITE_MIRROR_Y));
    EXPECT_EQ(m_sprite.GetCollisionTagCount(), 1u);
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), 1) << "loading again gave the old instance back";
    LoadSprite(" drawPlane -4\n", 1);
    EXPECT_EQ(m_sprite.GetInstance()->m_plane, 0);
}

// With a relative position the offset follows the holder's scale per axis.
TEST_F(AnimatedSpriteTest, RelativePositionScalesTheOffset)
{
    MakeRef(1, 1);
    LoadSprite(" relativePos true\n pos 10, -4\n");
    m_sprite.SetPosition(CVector2D(100.0f, 50.0f), 2.0f, 0.5f);
    EXPECT_EQ(m_sprite.GetPosition().x, 120.0f);
    EXPECT_EQ(m_sprite.GetPosition().y, 48.0f);
    LoadSprite(" pos 10, -4\n");
    m_sprite.SetPosition(CVector2D(100.0f, 50.0f), 2.0f, 0.5f);
    EXPECT_EQ(m_sprite.GetPosition().x, 100.0f);
    EXPECT_EQ(m_sprite.GetPosition().y, 50.0f);
}

// Without a file there is no instance: position and angle are kept, nothing draws.
TEST_F(AnimatedSpriteTest, NoFileKeepsPositionAndAngle)
{
    auto node = ParseFirstBlock("s\n{\n spriteFile dummy\n}\n");
    CSpriteRef dummy;
    dummy.Load(*node, true);
    CAnimatedSprite sprite;
    sprite.Load(*ParseFirstBlock("s\n{\n relativePos true\n pos 1, 2\n playRate 5\n}\n"), dummy, 0);
    EXPECT_EQ(sprite.GetInstance(), nullptr);
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), 0);
    sprite.SetPosition(CVector2D(10.0f, 20.0f));
    EXPECT_EQ(sprite.GetPosition().x, 11.0f);
    EXPECT_EQ(sprite.GetPosition().y, 22.0f);
    sprite.SetAngle(75.0f);
    EXPECT_NEAR(sprite.GetAngle(), 75.0f, 1e-4f);
    sprite.Show();
    sprite.Animate();
    EXPECT_FALSE(sprite.IsVisible());
}

TEST_F(AnimatedSpriteTest, DestroyGivesTheInstanceBack)
{
    MakeRef(2, 2);
    {
        CAnimatedSprite sprite;
        sprite.Init(m_ref, 4);
        EXPECT_EQ(m_bank->GetLiveInstanceCount(), 1);
        sprite.Destroy();
        EXPECT_EQ(m_bank->GetLiveInstanceCount(), 0);
        sprite.Init(m_ref, 4);
    }
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), 0) << "the destructor gave it back";
}

// n = trunc(distance / spacing), at most the array's length; the sprites after n are
// left as they were.
TEST_F(AnimatedSpriteTest, PlaceSpritesAlongLineSpacesAndCounts)
{
    MakeRef(1, 1);
    const struct
    {
        float toX, toY;
        int spacing;
        size_t placed;
    } cases[] = {
        {100.0f, 0.0f, 30, 3}, {0.0f, 90.0f, 30, 3}, {60.0f, 80.0f, 20, 5}, {29.0f, 0.0f, 30, 0},
        {100.0f, 0.0f, 0, 0},  {100.0f, 0.0f, -5, 0}, {1000.0f, 0.0f, 10, 6},
    };
    for (const auto& c : cases)
    {
        CAnimatedSprite sprites[6];
        for (CAnimatedSprite& sprite : sprites)
        {
            sprite.Init(m_ref, 0);
            sprite.SetPosition(CVector2D(-1.0f, -1.0f));
        }
        const CVector2D from(0.0f, 0.0f), to(c.toX, c.toY);
        ASSERT_EQ(PlaceSpritesAlongLine(sprites, 6, from, to, c.spacing), c.placed) << c.toX << " " << c.spacing;
        const float length = std::sqrt(c.toX * c.toX + c.toY * c.toY);
        for (size_t i = 0; i < 6; ++i)
        {
            const CVector2D position = sprites[i].GetPosition();
            if (i < c.placed)
            {
                const float along = float(c.spacing) * float(i);
                EXPECT_TRUE(sprites[i].IsVisible());
                EXPECT_NEAR(position.x, c.toX / length * along, 1e-3f);
                EXPECT_NEAR(position.y, c.toY / length * along, 1e-3f);
            }
            else
            {
                EXPECT_FALSE(sprites[i].IsVisible()) << i;
                EXPECT_EQ(position.x, -1.0f) << i;
            }
        }
    }
    EXPECT_EQ(PlaceSpritesAlongLine(nullptr, 0, CVector2D(), CVector2D(50.0f, 0.0f), 10), 0u);
}
