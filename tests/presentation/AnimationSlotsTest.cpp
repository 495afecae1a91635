// Slots, media, groups and the lifetime of what an animation holds.

#include "tests/presentation/CasFixture.h"

#include <cctype>

namespace
{
using CasSlots = CCasFixture;

const char* const ONE_SPRITE = R"(animation
{
    sprite
    {
        file a.spr
        length 10
        position 0, 100, 100, 3
        position 5, 200, 100, 3
        visible 0, 1
    }
})";
} // namespace

TEST_F(CasSlots, TheSameNameGivesTheSameSlotAndNamesCompareExactly)
{
    WriteSource("one.cas", ONE_SPRITE);
    int first = -1, second = -1, other = -1;
    ASSERT_TRUE(m_player->Load("one.cas", first));
    ASSERT_TRUE(m_player->Load("one.cas", second));
    EXPECT_EQ(first, second);
    EXPECT_EQ(m_player->Find("one.cas"), first);
    EXPECT_EQ(m_player->Find("ONE.cas"), -1);
    // The file layer finds the file in any case, but the slot is matched by exact name.
    ASSERT_TRUE(m_player->Load("ONE.cas", other));
    EXPECT_NE(other, first);
    int missing = -1;
    EXPECT_FALSE(m_player->Load("missing.cas", missing));
    EXPECT_EQ(m_player->Find("missing.cas"), -1);
    EXPECT_TRUE(m_player->Release(other));
    EXPECT_EQ(m_player->Find("ONE.cas"), -1);
    EXPECT_EQ(m_player->GetLength(other), 0u);
}

TEST_F(CasSlots, OneHundredAndTwentyEightSlots)
{
    WriteSource("abcdefg.cas", ONE_SPRITE);
    // Names that differ in letter case are different animations of the same file.
    std::string name = "abcdefg.cas";
    for (int i = 0; i < CAnimationManager::SLOT_COUNT; ++i)
    {
        std::string variant = name;
        for (int bit = 0; bit < 7; ++bit)
            if (i & (1 << bit))
                variant[bit] = static_cast<char>(std::toupper(variant[bit]));
        int slot = -1;
        ASSERT_TRUE(m_player->Load(variant.c_str(), slot)) << variant;
        EXPECT_EQ(slot, i);
    }
    int slot = -1;
    WriteSource("two.cas", ONE_SPRITE);
    EXPECT_FALSE(m_player->Load("two.cas", slot));
    ASSERT_TRUE(m_player->Release(17));
    ASSERT_TRUE(m_player->Load("two.cas", slot));
    EXPECT_EQ(slot, 17);
}

TEST_F(CasSlots, SlotsOutsideTheTableAndFreeSlotsAreRefusedEverywhere)
{
    WriteSource("one.cas", ONE_SPRITE);
    int loaded = -1;
    ASSERT_TRUE(m_player->Load("one.cas", loaded));
    ASSERT_EQ(loaded, 0);
    for (int slot : {-1, -129, 1, 127, 128, 1000})
    {
        SCOPED_TRACE(slot);
        EXPECT_FALSE(m_player->LoadMedia(slot));
        EXPECT_FALSE(m_player->UnloadMedia(slot));
        EXPECT_FALSE(m_player->Play(slot, true));
        EXPECT_FALSE(m_player->PlayRange(slot, 0, 5, false));
        EXPECT_FALSE(m_player->Stop(slot));
        EXPECT_FALSE(m_player->CentreText(slot));
        EXPECT_FALSE(m_player->Release(slot));
        EXPECT_FALSE(m_player->IsPlaying(slot));
        EXPECT_EQ(m_player->GetCurrentFrame(slot), 0u);
        EXPECT_EQ(m_player->GetLength(slot), 0u);
        EXPECT_EQ(m_player->GetAnimation(slot), nullptr);
    }
    m_player->Update();
    m_player->Draw();
}

TEST_F(CasSlots, ADamagedFileTakesNoSlot)
{
    std::vector<uint8_t> bytes = Compile(ONE_SPRITE);
    bytes.resize(bytes.size() - 3);
    WriteBytes("cut.cas", bytes);
    int slot = -1;
    EXPECT_FALSE(m_player->Load("cut.cas", slot));
    EXPECT_EQ(m_player->Find("cut.cas"), -1);
    WriteSource("one.cas", ONE_SPRITE);
    ASSERT_TRUE(m_player->Load("one.cas", slot));
    EXPECT_EQ(slot, 0);
}

TEST_F(CasSlots, TracksOfOneGroupIdShareAGroupMadeOnThePlaneOfTheFirst)
{
    AddSprite("a.spr");
    AddSprite("b.spr");
    WriteSource("groups.cas", R"(animation
{
    sprite
    {
        file a.spr
        group 7
        length 5
        position 0, 0, 0, 3
    }
    sprite
    {
        file b.spr
        group -1
        length 5
        position 0, 0, 0, 9
    }
    sprite
    {
        file b.spr
        group 7
        length 5
        position 0, 0, 0, 9
    }
    sprite
    {
        file a.spr
        group 2
        length 5
        position 0, 0, 0, 12
    }
})");
    int slot = LoadPlayable("groups.cas");
    SSpriteInstance* first = Instance(slot, 0);
    SSpriteInstance* alone = Instance(slot, 1);
    SSpriteInstance* second = Instance(slot, 2);
    SSpriteInstance* other = Instance(slot, 3);
    ASSERT_TRUE(first && alone && second && other);
    ASSERT_NE(first->m_group, nullptr);
    EXPECT_EQ(second->m_group, first->m_group);
    EXPECT_EQ(first->m_group->m_plane, 3);
    EXPECT_EQ(second->m_plane, 3);
    EXPECT_EQ(first->m_group->m_members.m_first, first);
    EXPECT_EQ(first->m_group->m_members.m_last, second);
    EXPECT_EQ(alone->m_group, nullptr);
    EXPECT_EQ(alone->m_plane, 9);
    ASSERT_NE(other->m_group, nullptr);
    EXPECT_NE(other->m_group, first->m_group);
    EXPECT_EQ(other->m_group->m_plane, 12);
    for (SSpriteInstance* sprite : {first, alone, second, other})
        EXPECT_TRUE(sprite->m_flags & SPRITE_VIRTUAL);
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), 4);

    ASSERT_TRUE(m_player->UnloadMedia(slot));
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), 0);
    EXPECT_EQ(m_bank->GetPlane(3).m_firstGroup, nullptr);
    EXPECT_EQ(m_bank->GetPlane(12).m_firstGroup, nullptr);
    EXPECT_EQ(Instance(slot, 0), nullptr);
    // Media can be loaded again.
    ASSERT_TRUE(m_player->LoadMedia(slot));
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), 4);
}

TEST_F(CasSlots, AFailedMediaLoadGivesBackWhatItLoaded)
{
    AddSprite("a.spr");
    WriteSource("broken.cas", R"(animation
{
    sprite
    {
        file a.spr
        group 4
        length 5
        position 0, 0, 0, 3
    }
    sprite
    {
        file missing.spr
        length 5
        position 0, 0, 0, 3
    }
})");
    int slot = -1;
    ASSERT_TRUE(m_player->Load("broken.cas", slot));
    EXPECT_FALSE(m_player->LoadMedia(slot));
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), 0);
    EXPECT_EQ(m_bank->GetPlane(3).m_firstGroup, nullptr);
    // "a.spr" was released: loading it now makes it the only holder.
    int file = Load("a.spr");
    ASSERT_NE(m_bank->GetFile(file), nullptr);
    EXPECT_EQ(m_bank->GetFile(file)->m_refCount, 1u);
    // A track that was never given media is stepped without it.
    ASSERT_TRUE(m_player->Play(slot, true));
    Step(12);
    EXPECT_EQ(m_player->GetCurrentFrame(slot), 2u);
}

TEST_F(CasSlots, StopLeavesTheSpritesAndUnloadingStopsFirst)
{
    AddSprite("a.spr");
    WriteSource("one.cas", ONE_SPRITE);
    int slot = LoadPlayable("one.cas");
    SSpriteInstance* sprite = Instance(slot, 0);
    ASSERT_TRUE(m_player->Play(slot, true));
    EXPECT_TRUE(m_player->IsPlaying(slot));
    Step(6);
    EXPECT_EQ(sprite->m_x, 200.0f);
    ASSERT_TRUE(m_player->Stop(slot));
    EXPECT_FALSE(m_player->IsPlaying(slot));
    Step(6); // would have looped back to x 100
    EXPECT_EQ(sprite->m_x, 200.0f);
    EXPECT_TRUE(sprite->IsVisible());
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), 1);

    ASSERT_TRUE(m_player->Play(slot, true));
    ASSERT_TRUE(m_player->UnloadMedia(slot));
    EXPECT_FALSE(m_player->IsPlaying(slot));
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), 0);
    Step(3); // nothing left to touch
    ASSERT_TRUE(m_player->Play(slot, false));
    Step(3); // playing without media moves only the counters
    EXPECT_EQ(m_player->GetCurrentFrame(slot), 3u);
    // Releasing a playing animation with its media frees everything.
    ASSERT_TRUE(m_player->LoadMedia(slot));
    ASSERT_TRUE(m_player->Release(slot));
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), 0);
    Step(1);
}

TEST_F(CasSlots, TheManagerGivesBackEveryAnimationWhenItGoes)
{
    AddSprite("a.spr");
    WriteSource("one.cas", ONE_SPRITE);
    WriteSource("two.cas", ONE_SPRITE);
    int one = LoadPlayable("one.cas");
    LoadPlayable("two.cas");
    ASSERT_TRUE(m_player->Play(one, true));
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), 2);
    m_player.reset();
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), 0);
}

TEST_F(CasSlots, WithoutAnAudioSystemSoundTracksAreSilent)
{
    WriteSource("quiet.cas", R"(animation
{
    sound
    {
        file beep.wav
        length 5
        play 0, 1
    }
})");
    int slot = LoadPlayable("quiet.cas");
    ASSERT_TRUE(m_player->Play(slot, true));
    Step(7);
    const SCasSoundTrack& track = m_player->GetAnimation(slot)->m_soundTracks[0];
    EXPECT_EQ(track.m_sample, -1);
    EXPECT_FALSE(track.m_playing);
    EXPECT_EQ(m_player->GetCurrentFrame(slot), 2u);
    // A track that names no sample at all is still refused.
    SCasAnimation nameless;
    nameless.m_soundTracks.resize(1);
    nameless.m_soundTracks[0].m_clock.m_length = 5;
    WriteAnimation("nameless.cas", nameless);
    int other = -1;
    ASSERT_TRUE(m_player->Load("nameless.cas", other));
    EXPECT_FALSE(m_player->LoadMedia(other));
}
