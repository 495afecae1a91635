// The readable source of animations: keys, ramps and the sources refused.

#include "presentation/CasSource.h"

#include "core/DataFile.h"
#include "core/DataTree.h"

#include <gtest/gtest.h>

namespace
{
bool CompileText(const std::string& text, SCasAnimation& animation, std::string& error)
{
    CDataNodeList nodes;
    if (!ParseDataBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), nodes) || nodes.empty() ||
        !nodes[0]->IsBlock())
    {
        error = "no block";
        return false;
    }
    return CompileCasSource(*static_cast<CDataTree*>(nodes[0].get()), animation, error);
}

std::string Sprite(const std::string& lines)
{
    return "animation\n{\n sprite\n {\n  file a.spr\n  length 10\n" + lines + " }\n}\n";
}
} // namespace

TEST(CasSource, TracksKeysAndRampsCompileInStepOrder)
{
    SCasAnimation animation;
    std::string error;
    ASSERT_TRUE(CompileText(R"(logo
{
    sprite
    {
        file      data\logo\logo.spr
        group     4
        length    30
        position  10, 3, 4, 18
        position  0, 1, 2, 18
        colourRamp 0, 4, 0, 255, 255, 255, 255, 255, 255, 255
        colour    20, 255, 0, 0, 0
        frame     0, 1
        visible   0, 1
    }
    text
    {
        line      First line   // a comment is not part of the line
        line      __KeyLine
        length    60
        font      1
        position  0, 100, 200, 0
    }
    sound
    {
        file      data\sounds\beep.wav
        length    20
        loop      true
        volumeRamp 10, 12, 1, 0
        volume    0, 1
        play      0, 1
    }
})",
                            animation, error))
        << error;
    EXPECT_EQ(animation.m_length, 60u);
    EXPECT_EQ(animation.m_endFrame, 60u);
    ASSERT_EQ(animation.m_spriteTracks.size(), 1u);
    const SCasSpriteTrack& sprite = animation.m_spriteTracks[0];
    EXPECT_EQ(std::u16string(sprite.m_fileName.GetText()), u"data\\logo\\logo.spr");
    EXPECT_EQ(sprite.m_groupId, 4);
    EXPECT_EQ(sprite.m_clock.m_length, 30u);
    ASSERT_EQ(sprite.m_position.m_keys.size(), 2u);
    EXPECT_EQ(sprite.m_position.m_keys[0].m_step, 0u);
    EXPECT_EQ(sprite.m_position.m_keys[0].m_x, 1.0f);
    EXPECT_EQ(sprite.m_position.m_keys[1].m_step, 10u);
    EXPECT_EQ(sprite.m_position.m_keys[1].m_z, 18.0f);
    // The ramp: one key a step from 0 to 4, alpha in equal steps of 63.75.
    ASSERT_EQ(sprite.m_colour.m_keys.size(), 6u);
    const float alphas[] = {0, 63.75f, 127.5f, 191.25f, 255};
    for (uint32_t i = 0; i < 5; ++i)
    {
        EXPECT_EQ(sprite.m_colour.m_keys[i].m_step, i);
        EXPECT_EQ(sprite.m_colour.m_keys[i].m_alpha, alphas[i]);
        EXPECT_EQ(sprite.m_colour.m_keys[i].m_red, 255.0f);
    }
    EXPECT_EQ(sprite.m_colour.m_keys[5].m_step, 20u);
    EXPECT_EQ(sprite.m_colour.m_keys[5].m_red, 0.0f);
    EXPECT_TRUE(sprite.m_rotation.IsEmpty());
    EXPECT_TRUE(sprite.m_scale.IsEmpty());

    const SCasTextTrack& text = animation.m_textTracks[0];
    ASSERT_EQ(text.m_lines.size(), 2u);
    EXPECT_EQ(std::u16string(text.m_lines[0].GetText()), u"First line");
    EXPECT_EQ(std::u16string(text.m_lines[1].GetText()), u"__KeyLine");
    EXPECT_EQ(text.m_font, 1);

    const SCasSoundTrack& sound = animation.m_soundTracks[0];
    EXPECT_TRUE(sound.m_loop);
    ASSERT_EQ(sound.m_volume.m_keys.size(), 4u);
    EXPECT_EQ(sound.m_volume.m_keys[0].m_step, 0u);
    EXPECT_EQ(sound.m_volume.m_keys[2].m_step, 11u);
    EXPECT_EQ(sound.m_volume.m_keys[2].m_value, 0.5f);
    EXPECT_EQ(sound.m_volume.m_keys[3].m_value, 0.0f);
}

TEST(CasSource, SourcesThatWouldNotPlayAsWrittenAreRefused)
{
    const struct
    {
        std::string source;
        const char* message;
    } cases[] = {
        {"animation\n{\n}\n", "no tracks"},
        {"animation\n{\n picture\n {\n }\n}\n", "unknown block \"picture\""},
        {"animation\n{\n speed 3\n}\n", "unexpected line"},
        {Sprite("  position 0, 1, 2, 3\n  wobble 0, 1\n"), "sprite track 0: unknown line \"wobble\""},
        {"animation\n{\n sprite\n {\n  file a.spr\n  position 0, 1, 2, 3\n }\n}\n", "no length"},
        {Sprite("  position 0, 1, 2, 3\n  length 0\n"), "length"},
        {"animation\n{\n sprite\n {\n  length 10\n  position 0, 1, 2, 3\n }\n}\n", "sprite track 0: no file"},
        {Sprite(""), "no position key"},
        {Sprite("  position 0, 1, 2, 3\n  position 10, 1, 2, 3\n"), "not below the length 10"},
        {Sprite("  position 0, 1, 2, 3\n  position 0, 4, 5, 3\n"), "two position keys at step 0"},
        {Sprite("  position 2, 1, 2, 3\n"), "position keys begin at step 2"},
        {Sprite("  position 0, 1, 2, 21\n"), "outside"},
        {Sprite("  position 0, 1, 2, 3\n  colour 0, 256, 0, 0, 0\n"), "outside"},
        {Sprite("  position 0, 1, 2, 3\n  visible 0, 2\n"), "outside"},
        {Sprite("  position 0, 1, 2, 3\n  frame 0, 1.5\n"), "outside"},
        {Sprite("  position 0, 1, 2\n"), "needs 4 numbers"},
        {Sprite("  position 0, 1,, 2, 3\n"), "needs 4 numbers"},
        {Sprite("  position 0, 1, two, 3\n"), "needs 4 numbers"},
        {Sprite("  position 1.5, 1, 2, 3\n"), "a step is a whole number"},
        {Sprite("  position -1, 1, 2, 3\n"), "a step is a whole number"},
        {Sprite("  position 0, 1, 2, 3\n  rotationRamp 5, 5, 0, 1\n"), "must end after it starts"},
        {Sprite("  position 0, 1, 2, 3\n  frameRamp 0, 5, 0, 4\n"), "unknown line \"frameRamp\""},
        {Sprite("  position 0, 1, 2, 3\n  group x\n"), "group"},
        {"animation\n{\n text\n {\n  line a\n  length 5\n  font 4\n }\n}\n", "font"},
        {"animation\n{\n sound\n {\n  file b.wav\n  length 5\n  volume 0, 1.5\n }\n}\n", "outside"},
        {"animation\n{\n sound\n {\n  file b.wav\n  length 5\n  pan 0, -2\n }\n}\n", "outside"},
        {"animation\n{\n sound\n {\n  file b.wav\n  length 5\n  loop maybe\n }\n}\n", "loop"},
        {"animation\n{\n sound\n {\n  length 5\n }\n}\n", "sound track 0: no file"},
    };
    for (const auto& c : cases)
    {
        SCasAnimation animation;
        std::string error;
        EXPECT_FALSE(CompileText(c.source, animation, error)) << c.source;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.source << "\ngave: " << error;
        EXPECT_TRUE(animation.m_spriteTracks.empty() && animation.m_textTracks.empty() &&
                    animation.m_soundTracks.empty())
            << c.source;
    }
}
