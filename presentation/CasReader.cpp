// Reading ".cas" files from memory, with every count checked before it is used.

#include "presentation/CasFile.h"

#include "utility/source/QelMemoryReader.h"

#include <algorithm>
#include <cstring>

namespace
{
// The smallest sizes that a track of each kind can take: with empty strings and
// empty key lists.
constexpr uint64_t MIN_SPRITE_TRACK = 4 + 4 + 4 + 6 * 4;
constexpr uint64_t MIN_TEXT_TRACK = 4 + 4 + 4 + 2 * 4;
constexpr uint64_t MIN_SOUND_TRACK = 4 + 4 + 1 + 3 * 4;

class CCasReader
{
public:
    CCasReader(const uint8_t* data, size_t size, std::string& error) : m_error(error) { m_reader.Open(data, size); }

    bool Fail(const std::string& what)
    {
        m_error = m_where + what;
        return false;
    }

    void SetWhere(const char* kind, size_t index) { m_where = std::string(kind) + " track " + std::to_string(index) + ": "; }

    bool U32(uint32_t& value, const char* what)
    {
        return m_reader.ReadU32(value) || Fail(std::string("the file ends in the ") + what);
    }

    bool S32(int32_t& value, const char* what)
    {
        uint32_t bits = 0;
        if (!U32(bits, what))
            return false;
        value = static_cast<int32_t>(bits);
        return true;
    }

    bool Float(float& value)
    {
        uint32_t bits = 0;
        if (!m_reader.ReadU32(bits))
            return Fail("the file ends in a key");
        std::memcpy(&value, &bits, sizeof value);
        return true;
    }

    bool Byte(uint8_t& value, const char* what)
    {
        return m_reader.Read(&value, 1) || Fail(std::string("the file ends in the ") + what);
    }

    bool String(CWString& text, const char* what)
    {
        // The reader checks the unit count against the bytes left and terminates the text.
        return text.Read(m_reader) || Fail(std::string("the ") + what + " runs past the end of the file");
    }

    // A count of records of recordSize bytes each, refused when the rest of the
    // file cannot hold them.
    bool Count(uint32_t& count, uint64_t recordSize, const char* what)
    {
        if (!U32(count, what))
            return false;
        if (static_cast<uint64_t>(count) * recordSize > m_reader.GetRemaining())
            return Fail(std::string("the ") + what + " (" + std::to_string(count) + ") is more than the file holds");
        return true;
    }

    template <typename TKey, typename TFields>
    bool Keys(SCasKeyList<TKey>& list, uint64_t recordSize, const char* what, TFields fields)
    {
        uint32_t count = 0;
        if (!Count(count, recordSize, what))
            return false;
        list.m_keys.resize(count);
        list.m_current = 0;
        for (TKey& key : list.m_keys)
        {
            if (!U32(key.m_step, what) || !fields(key))
                return false;
        }
        return true;
    }

    bool PositionKeys(SCasKeyList<SCasPositionKey>& list)
    {
        return Keys(list, 16, "position key count",
                    [this](SCasPositionKey& key) { return Float(key.m_x) && Float(key.m_y) && Float(key.m_z); });
    }

    bool FloatKeys(SCasKeyList<SCasFloatKey>& list, const char* what)
    {
        return Keys(list, 8, what, [this](SCasFloatKey& key) { return Float(key.m_value); });
    }

    bool IntKeys(SCasKeyList<SCasIntKey>& list, const char* what)
    {
        return Keys(list, 8, what, [this, what](SCasIntKey& key) { return U32(key.m_value, what); });
    }

    bool ColourKeys(SCasKeyList<SCasColourKey>& list)
    {
        return Keys(list, 20, "colour key count", [this](SCasColourKey& key) {
            return Float(key.m_alpha) && Float(key.m_red) && Float(key.m_green) && Float(key.m_blue);
        });
    }

    bool SpriteTrack(SCasSpriteTrack& track)
    {
        return String(track.m_fileName, "sprite file name") && S32(track.m_groupId, "group id") &&
               U32(track.m_clock.m_length, "length") && PositionKeys(track.m_position) &&
               FloatKeys(track.m_rotation, "rotation key count") &&
               Keys(track.m_scale, 12, "scale key count",
                    [this](SCasScaleKey& key) { return Float(key.m_x) && Float(key.m_y); }) &&
               ColourKeys(track.m_colour) && IntKeys(track.m_frame, "frame key count") &&
               IntKeys(track.m_visible, "visibility key count");
    }

    bool TextTrack(SCasTextTrack& track)
    {
        uint32_t lines = 0;
        if (!Count(lines, 4, "line count"))
            return false;
        track.m_lines.resize(lines);
        for (CWString& line : track.m_lines)
        {
            if (!String(line, "line"))
                return false;
        }
        return U32(track.m_clock.m_length, "length") && S32(track.m_font, "font index") &&
               PositionKeys(track.m_position) && ColourKeys(track.m_colour);
    }

    bool SoundTrack(SCasSoundTrack& track)
    {
        uint8_t loop = 0;
        if (!String(track.m_fileName, "sample file name") || !U32(track.m_clock.m_length, "length") ||
            !Byte(loop, "loop flag") || !FloatKeys(track.m_pan, "pan key count") ||
            !FloatKeys(track.m_volume, "volume key count") || !IntKeys(track.m_play, "play key count"))
            return false;
        track.m_loop = loop != 0;
        for (SCasFloatKey& key : track.m_volume.m_keys)
        {
            // Clamped here; a value that is not a number counts as silence.
            key.m_value = key.m_value > 0.0f ? std::min(key.m_value, 1.0f) : 0.0f;
        }
        return true;
    }

    template <typename TTrack, typename TRead>
    bool Tracks(std::vector<TTrack>& tracks, uint32_t count, const char* kind, TRead read)
    {
        tracks.resize(count);
        for (size_t i = 0; i < tracks.size(); ++i)
        {
            SetWhere(kind, i);
            if (!(this->*read)(tracks[i]))
                return false;
        }
        m_where.clear();
        return true;
    }

    bool Animation(SCasAnimation& animation)
    {
        uint32_t sprites = 0, texts = 0, sounds = 0;
        if (!m_reader.Skip(4))
            return Fail("the file is too short for its header");
        if (!U32(sprites, "track counts") || !U32(texts, "track counts") || !U32(sounds, "track counts"))
            return false;
        const uint64_t least = sprites * MIN_SPRITE_TRACK + texts * MIN_TEXT_TRACK + sounds * MIN_SOUND_TRACK;
        if (least > m_reader.GetRemaining())
            return Fail("the track counts (" + std::to_string(sprites) + ", " + std::to_string(texts) + ", " +
                        std::to_string(sounds) + ") are more than the file holds");
        if (!Tracks(animation.m_spriteTracks, sprites, "sprite", &CCasReader::SpriteTrack) ||
            !Tracks(animation.m_textTracks, texts, "text", &CCasReader::TextTrack) ||
            !Tracks(animation.m_soundTracks, sounds, "sound", &CCasReader::SoundTrack))
            return false;
        if (m_reader.GetRemaining() != 0)
            return Fail(std::to_string(m_reader.GetRemaining()) + " bytes follow the last track");
        return true;
    }

private:
    CQelMemoryReader m_reader;
    std::string& m_error;
    std::string m_where;
};

template <typename TTrack>
void TakeLength(const std::vector<TTrack>& tracks, uint32_t& length)
{
    for (const TTrack& track : tracks)
        length = std::max(length, track.m_clock.m_length);
}
} // namespace

void SetCasLength(SCasAnimation& animation)
{
    animation.m_length = 0;
    TakeLength(animation.m_spriteTracks, animation.m_length);
    TakeLength(animation.m_textTracks, animation.m_length);
    TakeLength(animation.m_soundTracks, animation.m_length);
    animation.m_endFrame = animation.m_length;
}

bool ReadCasAnimation(const uint8_t* data, size_t size, SCasAnimation& animation, std::string& error)
{
    animation = SCasAnimation();
    error.clear();
    CCasReader reader(data, size, error);
    if (!data || !reader.Animation(animation))
    {
        if (!data)
            error = "no data";
        animation = SCasAnimation();
        return false;
    }
    SetCasLength(animation);
    return true;
}
