// The ".cas" file: what the writer stores reads back, and damaged files are refused.

#include "presentation/CasFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace
{
CWString Wide(const char* text)
{
    CWString wide;
    wide.AssignNarrow(text);
    return wide;
}

// One track of each kind with keys in every list. The sprite track comes first so
// that its fields sit at fixed offsets: header 16 bytes, the name "a.spr" (count
// and 6 units) 16 bytes, then group id at 32, length at 36, position count at 40.
SCasAnimation MakeFull()
{
    SCasAnimation animation;
    SCasSpriteTrack sprite;
    sprite.m_fileName = Wide("a.spr");
    sprite.m_groupId = 3;
    sprite.m_clock.m_length = 40;
    sprite.m_position.m_keys = {{0, 1.5f, -2, 4}, {10, 3, 4, 4}};
    sprite.m_rotation.m_keys = {{0, 0.25f}};
    sprite.m_scale.m_keys = {{0, 2, 0.5f}, {20, 1, 1}};
    sprite.m_colour.m_keys = {{0, 0, 10, 20, 30}};
    sprite.m_frame.m_keys = {{0, 2}, {5, 7}};
    sprite.m_visible.m_keys = {{0, 1}};
    animation.m_spriteTracks.push_back(sprite);
    SCasTextTrack text;
    text.m_lines = {Wide("first line"), Wide("__Key")};
    text.m_clock.m_length = 55;
    text.m_font = 2;
    text.m_position.m_keys = {{0, 100, 200, 0.5f}};
    text.m_colour.m_keys = {{0, 255, 1, 2, 3}, {9, 0, 0, 0, 0}};
    animation.m_textTracks.push_back(text);
    SCasSoundTrack sound;
    sound.m_fileName = Wide("beep.wav");
    sound.m_clock.m_length = 12;
    sound.m_loop = true;
    sound.m_pan.m_keys = {{0, -0.5f}};
    sound.m_volume.m_keys = {{0, 0.75f}, {6, 0.25f}};
    sound.m_play.m_keys = {{0, 1}, {11, 0}};
    animation.m_soundTracks.push_back(sound);
    return animation;
}

void PutU32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

template <typename TKey>
bool SameSteps(const SCasKeyList<TKey>& a, const SCasKeyList<TKey>& b)
{
    if (a.m_keys.size() != b.m_keys.size())
        return false;
    for (size_t i = 0; i < a.m_keys.size(); ++i)
        if (a.m_keys[i].m_step != b.m_keys[i].m_step)
            return false;
    return true;
}
} // namespace

TEST(CasFile, WhatIsWrittenReadsBack)
{
    const SCasAnimation written = MakeFull();
    std::vector<uint8_t> bytes = WriteCasAnimation(written);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(std::memcmp(bytes.data(), "CAS\x01", 4), 0);
    SCasAnimation read;
    std::string error;
    ASSERT_TRUE(ReadCasAnimation(bytes.data(), bytes.size(), read, error)) << error;
    EXPECT_EQ(read.m_length, 55u);
    EXPECT_EQ(read.m_endFrame, 55u);
    ASSERT_EQ(read.m_spriteTracks.size(), 1u);
    ASSERT_EQ(read.m_textTracks.size(), 1u);
    ASSERT_EQ(read.m_soundTracks.size(), 1u);

    const SCasSpriteTrack& sprite = read.m_spriteTracks[0];
    const SCasSpriteTrack& spriteIn = written.m_spriteTracks[0];
    EXPECT_EQ(sprite.m_fileName, spriteIn.m_fileName);
    EXPECT_EQ(sprite.m_groupId, 3);
    EXPECT_EQ(sprite.m_clock.m_length, 40u);
    EXPECT_TRUE(SameSteps(sprite.m_position, spriteIn.m_position));
    EXPECT_TRUE(SameSteps(sprite.m_rotation, spriteIn.m_rotation));
    EXPECT_TRUE(SameSteps(sprite.m_scale, spriteIn.m_scale));
    EXPECT_TRUE(SameSteps(sprite.m_colour, spriteIn.m_colour));
    EXPECT_TRUE(SameSteps(sprite.m_frame, spriteIn.m_frame));
    EXPECT_TRUE(SameSteps(sprite.m_visible, spriteIn.m_visible));
    EXPECT_EQ(sprite.m_position.m_keys[0].m_x, 1.5f);
    EXPECT_EQ(sprite.m_position.m_keys[0].m_y, -2.0f);
    EXPECT_EQ(sprite.m_position.m_keys[1].m_z, 4.0f);
    EXPECT_EQ(sprite.m_rotation.m_keys[0].m_value, 0.25f);
    EXPECT_EQ(sprite.m_scale.m_keys[0].m_y, 0.5f);
    EXPECT_EQ(sprite.m_colour.m_keys[0].m_blue, 30.0f);
    EXPECT_EQ(sprite.m_frame.m_keys[1].m_value, 7u);

    const SCasTextTrack& text = read.m_textTracks[0];
    ASSERT_EQ(text.m_lines.size(), 2u);
    EXPECT_EQ(text.m_lines[0], written.m_textTracks[0].m_lines[0]);
    EXPECT_EQ(text.m_lines[1], written.m_textTracks[0].m_lines[1]);
    EXPECT_EQ(text.m_font, 2);
    EXPECT_EQ(text.m_position.m_keys[0].m_z, 0.5f);
    EXPECT_TRUE(SameSteps(text.m_colour, written.m_textTracks[0].m_colour));
    EXPECT_EQ(text.m_colour.m_keys[0].m_green, 2.0f);

    const SCasSoundTrack& sound = read.m_soundTracks[0];
    EXPECT_EQ(sound.m_fileName, Wide("beep.wav"));
    EXPECT_TRUE(sound.m_loop);
    EXPECT_EQ(sound.m_pan.m_keys[0].m_value, -0.5f);
    EXPECT_EQ(sound.m_volume.m_keys[1].m_value, 0.25f);
    EXPECT_EQ(sound.m_play.m_keys[1].m_step, 11u);
    // Written again, the same bytes.
    EXPECT_EQ(WriteCasAnimation(read), bytes);
}

TEST(CasFile, EveryShortenedFileIsRefused)
{
    const std::vector<uint8_t> bytes = WriteCasAnimation(MakeFull());
    for (size_t size = 0; size < bytes.size(); ++size)
    {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(size));
        SCasAnimation animation;
        animation.m_length = 99;
        std::string error;
        ASSERT_FALSE(ReadCasAnimation(cut.data(), cut.size(), animation, error)) << size;
        EXPECT_FALSE(error.empty()) << size;
        EXPECT_TRUE(animation.m_spriteTracks.empty() && animation.m_textTracks.empty() &&
                    animation.m_soundTracks.empty() && animation.m_length == 0)
            << size;
    }
}

TEST(CasFile, DamagedCountsAndTrailingBytesAreRefused)
{
    const std::vector<uint8_t> good = WriteCasAnimation(MakeFull());
    const struct
    {
        const char* what;
        size_t offset; // where a 32-bit value goes; SIZE_MAX: a byte is appended
        uint32_t value;
        const char* message;
    } cases[] = {
        {"sprite-track count", 4, 0xFFFFFFFFu, "track counts"},
        {"text-track count", 8, 40000000u, "track counts"},
        {"sound-track count", 12, 2, "sound track 1"},
        {"name longer than the file", 16, 0x7FFFFFFFu, "sprite file name"},
        {"position keys beyond the file", 40, 1000, "position key count"},
        {"position keys overflowing 32 bits", 40, 0x10000001u, "position key count"},
        {"trailing byte", SIZE_MAX, 0, "follow the last track"},
    };
    for (const auto& c : cases)
    {
        std::vector<uint8_t> bytes = good;
        if (c.offset == SIZE_MAX)
            bytes.push_back(0);
        else
            PutU32(bytes, c.offset, c.value);
        SCasAnimation animation;
        std::string error;
        EXPECT_FALSE(ReadCasAnimation(bytes.data(), bytes.size(), animation, error)) << c.what;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
        EXPECT_TRUE(animation.m_spriteTracks.empty()) << c.what;
    }
    SCasAnimation animation;
    std::string error;
    EXPECT_FALSE(ReadCasAnimation(nullptr, 0, animation, error));
}

TEST(CasFile, TextsAreTerminatedAndVolumesClampedWhileOddValuesAreKept)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    SCasAnimation animation;
    SCasTextTrack text;
    text.m_clock.m_length = 4;
    text.m_font = 7; // drawn with the system font
    animation.m_textTracks.push_back(text);
    SCasSoundTrack sound;
    sound.m_fileName = Wide("s.wav");
    sound.m_clock.m_length = 4;
    sound.m_volume.m_keys = {{0, 1.5f}, {1, -0.25f}, {2, nan}, {3, 0.5f}};
    animation.m_soundTracks.push_back(sound);
    std::vector<uint8_t> bytes = WriteCasAnimation(animation);
    // A line of two units with no terminator, spliced in where the line count is.
    const uint8_t line[] = {1, 0, 0, 0, 2, 0, 0, 0, 'O', 0, 'K', 0};
    const size_t lineCount = 16;
    bytes.erase(bytes.begin() + lineCount, bytes.begin() + lineCount + 4);
    bytes.insert(bytes.begin() + lineCount, line, line + sizeof line);

    SCasAnimation read;
    std::string error;
    ASSERT_TRUE(ReadCasAnimation(bytes.data(), bytes.size(), read, error)) << error;
    ASSERT_EQ(read.m_textTracks[0].m_lines.size(), 1u);
    const CWString& kept = read.m_textTracks[0].m_lines[0];
    EXPECT_EQ(kept.GetLength(), 2u);
    EXPECT_EQ(std::u16string(kept.GetText()), u"O");
    EXPECT_EQ(read.m_textTracks[0].m_font, 7);
    EXPECT_TRUE(read.m_textTracks[0].m_position.IsEmpty());
    const std::vector<SCasFloatKey>& volumes = read.m_soundTracks[0].m_volume.m_keys;
    ASSERT_EQ(volumes.size(), 4u);
    EXPECT_EQ(volumes[0].m_value, 1.0f);
    EXPECT_EQ(volumes[1].m_value, 0.0f);
    EXPECT_EQ(volumes[2].m_value, 0.0f);
    EXPECT_EQ(volumes[3].m_value, 0.5f);
}
