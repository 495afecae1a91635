#pragma once
// Records of a ".cas" animation: sprite, text and sound tracks, each a timeline of
// key lists. A key holds its value from its step until the next key's step; values
// step, they are never interpolated.

#include "core/WString.h"

#include <cstdint>
#include <vector>

struct SSpriteGroup;
struct SSpriteInstance;

struct SCasPositionKey
{
    uint32_t m_step = 0;
    float m_x = 0.0f;
    float m_y = 0.0f;
    // Sprite tracks: the draw plane. Text tracks: the depth the text is drawn at.
    float m_z = 0.0f;
};

// One float (rotation in radians, pan -1..1, volume 0..1).
struct SCasFloatKey
{
    uint32_t m_step = 0;
    float m_value = 0.0f;
};

struct SCasScaleKey
{
    uint32_t m_step = 0;
    float m_x = 1.0f;
    float m_y = 1.0f;
};

// Channels 0..255 as floats, packed (clamped and rounded) when applied.
struct SCasColourKey
{
    uint32_t m_step = 0;
    float m_alpha = 255.0f;
    float m_red = 255.0f;
    float m_green = 255.0f;
    float m_blue = 255.0f;
};

// One 32-bit number (frame, visible, play).
struct SCasIntKey
{
    uint32_t m_step = 0;
    uint32_t m_value = 0;
};

// A key list and the index of its current key.
template <typename TKey>
struct SCasKeyList
{
    std::vector<TKey> m_keys;
    uint32_t m_current = 0;

    bool IsEmpty() const { return m_keys.empty(); }
    const TKey& Current() const { return m_keys[m_current]; }
};

// The step counter of one track and the range it plays.
struct SCasTrackClock
{
    uint32_t m_length = 0;
    uint32_t m_step = 0;
    uint32_t m_loopStart = 0;
    uint32_t m_end = 0;
    bool m_loop = false;
};

struct SCasSpriteTrack
{
    CWString m_fileName;
    int32_t m_groupId = -1;
    SCasTrackClock m_clock;
    SCasKeyList<SCasPositionKey> m_position;
    SCasKeyList<SCasFloatKey> m_rotation;
    SCasKeyList<SCasScaleKey> m_scale;
    SCasKeyList<SCasColourKey> m_colour;
    SCasKeyList<SCasIntKey> m_frame;
    SCasKeyList<SCasIntKey> m_visible;

    // Media, while loaded.
    int m_fileIndex = -1;
    SSpriteInstance* m_instance = nullptr;
};

struct SCasTextTrack
{
    // As stored: literal lines, or "__" keys of the string table.
    std::vector<CWString> m_lines;
    SCasTrackClock m_clock;
    // -1 the GUI's default font, 0..3 the GUI's fonts; anything else draws with the
    // system font.
    int32_t m_font = -1;
    SCasKeyList<SCasPositionKey> m_position;
    SCasKeyList<SCasColourKey> m_colour;

    // What is shown: the lines with their string-table texts in place of keys, and
    // the voice file of the first key line that has one.
    std::vector<CWString> m_shownLines;
    CWString m_voice;
    bool m_voiceStarted = false;
    bool m_centred = false;
    // The values applied by the last step (white at the origin until then).
    float m_x = 0.0f;
    float m_y = 0.0f;
    float m_z = 0.0f;
    uint32_t m_colourValue = 0xFFFFFFFF;
};

struct SCasSoundTrack
{
    CWString m_fileName;
    SCasTrackClock m_clock;
    bool m_loop = false;
    SCasKeyList<SCasFloatKey> m_pan;
    SCasKeyList<SCasFloatKey> m_volume;
    SCasKeyList<SCasIntKey> m_play;

    // Media, while loaded, and the channel's state.
    int m_sample = -1;
    int m_channel = -1;
    bool m_playing = false;
    bool m_started = false;
};

// The instance group that the sprite tracks of one group id share.
struct SCasGroup
{
    int32_t m_id = -1;
    SSpriteGroup* m_group = nullptr;
};

struct SCasAnimation
{
    std::vector<SCasSpriteTrack> m_spriteTracks;
    std::vector<SCasTextTrack> m_textTracks;
    std::vector<SCasSoundTrack> m_soundTracks;
    uint32_t m_currentFrame = 0;
    uint32_t m_loopFrame = 0;
    uint32_t m_endFrame = 0;
    bool m_loop = false;
    // The largest track length.
    uint32_t m_length = 0;
    bool m_soundsMuted = false;
    CWString m_fileName;
    std::vector<SCasGroup> m_groups;
    bool m_mediaLoaded = false;
    bool m_playing = false;
};
