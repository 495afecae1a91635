// Sprite tracks stepped one game frame at a time: key timing, ranges and loops.

#include "tests/presentation/CasFixture.h"

#include "presentation/CasTracks.h"

#include <cmath>
#include <limits>

namespace
{
class CasStep : public CCasFixture
{
protected:
    // One sprite track of 100 steps whose x is the step of its key: keys every 10 steps.
    void WriteTenStepKeys(const std::string& name)
    {
        std::string source = "animation\n{\n sprite\n {\n  file a.spr\n  length 100\n  visible 0, 1\n";
        for (int step = 0; step < 100; step += 10)
            source += "  position " + std::to_string(step) + ", " + std::to_string(step) + ", 0, 2\n";
        WriteSource(name, source + " }\n}\n");
    }
};
} // namespace

TEST(CasColour, ChannelsAreClampedAndRoundedBeforePacking)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct
    {
        SCasColourKey key;
        uint32_t packed;
    } cases[] = {
        {{0, 255, 255, 0, 0}, 0xFFFF0000u},
        {{0, 0, 0, 0, 255}, 0x000000FFu},
        // Halves round away from zero; 254.6 rounds up to 255.
        {{0, 127.5f, 0.4f, 254.6f, 1.5f}, 0x8000FF02u},
        // Out of range: clamped instead of spilling into the next channel.
        {{0, 300, -20, 1e9f, 256}, 0xFF00FFFFu},
        {{0, nan, 64.49f, -0.0f, nan}, 0x00400000u},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PackCasColour(c.key), c.packed) << std::hex << c.packed;
}

TEST(CasColour, PlaneOfAPositionKeyIsRoundedAndClamped)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const struct
    {
        float z;
        int plane;
    } cases[] = {{3.4f, 3}, {3.5f, 4}, {20.4f, 20}, {25.7f, 20}, {-3, 0}, {nan, 0}};
    for (const auto& c : cases)
    {
        SCasPositionKey key;
        key.m_z = c.z;
        EXPECT_EQ(GetCasPlane(key), c.plane) << c.z;
    }
}

TEST_F(CasStep, EveryKeyHoldsUntilTheStepOfTheNextKey)
{
    AddSprite("a.spr");
    WriteSource("keys.cas", R"(animation
{
    sprite
    {
        file     a.spr
        length   20
        position 0, 10, 20, 5
        position 10, 30, 40, 5
        rotation 0, 0.5
        rotation 15, 1.5
        scale    0, 2, 3
        frame    0, 1
        frame    10, 3
        colour   0, 255, 255, 0, 0
        colour   5, 128, 0, 255, 0
        visible  0, 0
        visible  3, 1
    }
})");
    int slot = LoadPlayable("keys.cas");
    SSpriteInstance* sprite = Instance(slot, 0);
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->m_plane, 5);
    EXPECT_TRUE(sprite->m_flags & SPRITE_VIRTUAL);
    EXPECT_FALSE(sprite->IsVisible());
    EXPECT_EQ(m_player->GetLength(slot), 20u);

    ASSERT_TRUE(m_player->Play(slot, false));
    // Update n applies the keys of step n - 1, then counts.
    for (uint32_t step = 0; step < 20; ++step)
    {
        m_player->Update();
        SCOPED_TRACE("step " + std::to_string(step));
        EXPECT_EQ(m_player->GetCurrentFrame(slot), step + 1);
        EXPECT_EQ(sprite->m_x, step < 10 ? 10.0f : 30.0f);
        EXPECT_EQ(sprite->m_y, step < 10 ? 20.0f : 40.0f);
        EXPECT_EQ(sprite->m_frame, step < 10 ? 1u : 3u);
        EXPECT_EQ(sprite->m_rotation, step < 15 ? 0.5f : 1.5f);
        EXPECT_EQ(sprite->m_scaleX, 2.0f);
        EXPECT_EQ(sprite->m_scaleY, 3.0f);
        EXPECT_EQ(sprite->m_colour, step < 5 ? 0xFFFF0000u : 0x8000FF00u);
        EXPECT_EQ(sprite->IsVisible(), step >= 3);
        EXPECT_EQ(sprite->m_plane, 5); // the plane is chosen once, when the sprite is made
    }
}

TEST_F(CasStep, EmptyKeyListsLeaveTheirPropertyAndNoPositionKeyMeansPlaneZero)
{
    AddSprite("a.spr");
    SCasAnimation animation;
    animation.m_spriteTracks.resize(1);
    animation.m_spriteTracks[0].m_fileName.AssignNarrow("a.spr");
    animation.m_spriteTracks[0].m_clock.m_length = 10;
    WriteAnimation("bare.cas", animation);
    int slot = LoadPlayable("bare.cas");
    SSpriteInstance* sprite = Instance(slot, 0);
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->m_plane, 0);
    sprite->m_x = 7;
    sprite->m_y = 8;
    sprite->m_frame = 2;
    sprite->m_rotation = 1.25f;
    sprite->m_scaleX = 3;
    sprite->m_colour = 0x12345678;
    sprite->SetVisible(true);
    ASSERT_TRUE(m_player->Play(slot, true));
    Step(25);
    EXPECT_EQ(sprite->m_x, 7.0f);
    EXPECT_EQ(sprite->m_y, 8.0f);
    EXPECT_EQ(sprite->m_frame, 2u);
    EXPECT_EQ(sprite->m_rotation, 1.25f);
    EXPECT_EQ(sprite->m_scaleX, 3.0f);
    EXPECT_EQ(sprite->m_colour, 0x12345678u);
    EXPECT_TRUE(sprite->IsVisible());
    EXPECT_EQ(m_player->GetCurrentFrame(slot), 5u);
}

TEST_F(CasStep, PlayRangeShowsItsStartAtOnceAndPlaysOnFromThere)
{
    AddSprite("a.spr");
    WriteTenStepKeys("range.cas");
    int slot = LoadPlayable("range.cas");
    SSpriteInstance* sprite = Instance(slot, 0);
    ASSERT_TRUE(m_player->PlayRange(slot, 50, 99, false));
    EXPECT_EQ(sprite->m_x, 50.0f);
    EXPECT_TRUE(sprite->IsVisible());
    EXPECT_EQ(m_player->GetCurrentFrame(slot), 50u);
    Step(10); // steps 50 to 59
    EXPECT_EQ(sprite->m_x, 50.0f);
    EXPECT_EQ(m_player->GetCurrentFrame(slot), 60u);
    Step(1);
    EXPECT_EQ(sprite->m_x, 60.0f);
    Step(39); // to step 99: the range ends, nothing loops
    EXPECT_EQ(sprite->m_x, 90.0f);
    EXPECT_EQ(m_player->GetCurrentFrame(slot), 100u);

    // Looping back to the start of the range; a start beyond the end is the end.
    ASSERT_TRUE(m_player->PlayRange(slot, 25, 45, true));
    EXPECT_EQ(sprite->m_x, 20.0f);
    Step(20); // steps 25 to 44, then back to 25
    EXPECT_EQ(sprite->m_x, 40.0f);
    EXPECT_EQ(m_player->GetCurrentFrame(slot), 25u);
    Step(1);
    EXPECT_EQ(sprite->m_x, 20.0f);
    ASSERT_TRUE(m_player->PlayRange(slot, 120, 80, true));
    EXPECT_EQ(m_player->GetCurrentFrame(slot), 80u);
    EXPECT_EQ(sprite->m_x, 80.0f);
    Step(3); // a range of no steps holds
    EXPECT_EQ(sprite->m_x, 80.0f);
    EXPECT_EQ(m_player->GetCurrentFrame(slot), 80u);
}

TEST_F(CasStep, ALoopingAnimationReturnsToItsLoopFrameAfterItsLastStep)
{
    AddSprite("a.spr");
    // Track 0 spans the animation's 100 steps; track 1 loops at its own 30.
    WriteSource("loop.cas", R"(animation
{
    sprite
    {
        file a.spr
        length 100
        position 0, 1, 0, 0
        position 99, 2, 0, 0
    }
    sprite
    {
        file a.spr
        length 30
        position 0, 5, 0, 0
        position 20, 6, 0, 0
    }
})");
    int slot = LoadPlayable("loop.cas");
    SSpriteInstance* whole = Instance(slot, 0);
    SSpriteInstance* shorter = Instance(slot, 1);
    for (bool loop : {true, false})
    {
        SCOPED_TRACE(loop ? "looping" : "once");
        ASSERT_TRUE(m_player->Play(slot, loop));
        Step(21);
        EXPECT_EQ(shorter->m_x, 6.0f);
        Step(9); // step 29
        EXPECT_EQ(shorter->m_x, 6.0f);
        Step(1); // step 30: the short track starts again when looping, else holds
        EXPECT_EQ(shorter->m_x, loop ? 5.0f : 6.0f);
        Step(68); // step 98
        EXPECT_EQ(whole->m_x, 1.0f);
        EXPECT_EQ(m_player->GetCurrentFrame(slot), 99u);
        Step(1); // step 99
        EXPECT_EQ(whole->m_x, 2.0f);
        EXPECT_EQ(m_player->GetCurrentFrame(slot), loop ? 0u : 100u);
        Step(1);
        EXPECT_EQ(whole->m_x, loop ? 1.0f : 2.0f);
        EXPECT_EQ(m_player->GetCurrentFrame(slot), loop ? 1u : 101u);
    }
}

TEST_F(CasStep, KeysOutOfOrderArePassedOver)
{
    AddSprite("a.spr");
    // As a damaged file may hold them: a key list moves on only when the counter
    // meets the next key's step, so a key behind the counter is never reached.
    SCasAnimation animation;
    animation.m_spriteTracks.resize(1);
    SCasSpriteTrack& track = animation.m_spriteTracks[0];
    track.m_fileName.AssignNarrow("a.spr");
    track.m_clock.m_length = 10;
    for (uint32_t step : {0u, 4u, 2u, 6u})
        track.m_position.m_keys.push_back({step, float(step), 0, 0});
    WriteAnimation("order.cas", animation);
    int slot = LoadPlayable("order.cas");
    SSpriteInstance* sprite = Instance(slot, 0);
    ASSERT_TRUE(m_player->Play(slot, false));
    Step(10);
    EXPECT_EQ(sprite->m_x, 4.0f);
    // Seeking for a range takes the same path.
    ASSERT_TRUE(m_player->PlayRange(slot, 7, 9, false));
    EXPECT_EQ(sprite->m_x, 4.0f);
}
