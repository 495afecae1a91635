#include "tools/tesstool/CasCheck.h"

#include "core/FileBytes.h"
#include "core/StringTable.h"
#include "core/Utf8Text.h"
#include "platform/sound/WaveFile.h"
#include "presentation/CasFile.h"
#include "presentation/SpriteTypes.h"
#include "utility/source/QelFile.h"

#include <cmath>

namespace
{
class CSequenceCheck
{
public:
    CSequenceCheck(const CStringTable* strings, std::vector<std::string>& problems)
        : m_strings(strings), m_problems(problems)
    {
    }

    void Add(const std::string& text) { m_problems.push_back(m_where + text); }
    void SetWhere(const char* kind, size_t index) { m_where = std::string(kind) + " track " + std::to_string(index) + ": "; }

    // Keys the player shows otherwise than a reader of the list would expect.
    template <typename TKey>
    void Keys(const SCasKeyList<TKey>& list, const char* what, uint32_t length)
    {
        const std::vector<TKey>& keys = list.m_keys;
        for (size_t i = 0; i < keys.size(); ++i)
        {
            const std::string at = std::string(what) + " key at step " + std::to_string(keys[i].m_step);
            if (i == 0 && keys[i].m_step != 0)
                Add(at + " is shown from step 0");
            else if (i > 0 && keys[i].m_step <= keys[i - 1].m_step)
                Add(at + " follows step " + std::to_string(keys[i - 1].m_step) + " and is never reached");
            else if (keys[i].m_step >= length)
                Add(at + " is not below the track's length " + std::to_string(length));
        }
    }

    void Colours(const SCasKeyList<SCasColourKey>& list)
    {
        for (const SCasColourKey& key : list.m_keys)
        {
            for (float channel : {key.m_alpha, key.m_red, key.m_green, key.m_blue})
            {
                if (!(channel >= 0.0f && channel <= 255.0f))
                {
                    Add("colour key at step " + std::to_string(key.m_step) + " has a channel outside 0..255");
                    break;
                }
            }
        }
    }

    // The sprite file as the bank would read it: its frame count, or -1.
    int SpriteFrames(const CWString& name)
    {
        const std::string path = Utf16ToUtf8(name.GetText());
        std::vector<uint8_t> bytes;
        if (path.empty() || !ReadFileBytes(path.c_str(), bytes))
        {
            Add("sprite file \"" + path + "\" cannot be read");
            return -1;
        }
        SSpriteFile file;
        std::string error;
        if (!file.Read(bytes.data(), bytes.size(), error))
        {
            Add("sprite file \"" + path + "\": " + error);
            return -1;
        }
        return static_cast<int>(file.m_frames.size());
    }

    void Sprite(const SCasSpriteTrack& track)
    {
        const uint32_t length = track.m_clock.m_length;
        const int frames = SpriteFrames(track.m_fileName);
        if (track.m_position.IsEmpty())
            Add("no position key: the sprite goes on plane 0 and is never placed");
        for (const SCasPositionKey& key : track.m_position.m_keys)
        {
            if (!(key.m_z >= 0.0f && key.m_z <= 20.0f))
                Add("position key at step " + std::to_string(key.m_step) + " names a plane outside 0..20");
        }
        for (const SCasIntKey& key : track.m_frame.m_keys)
        {
            if (frames >= 0 && key.m_value >= static_cast<uint32_t>(frames))
                Add("frame key at step " + std::to_string(key.m_step) + " shows frame " + std::to_string(key.m_value) +
                    " of a sprite with " + std::to_string(frames));
        }
        Colours(track.m_colour);
        Keys(track.m_position, "position", length);
        Keys(track.m_rotation, "rotation", length);
        Keys(track.m_scale, "scale", length);
        Keys(track.m_colour, "colour", length);
        Keys(track.m_frame, "frame", length);
        Keys(track.m_visible, "visibility", length);
    }

    void Text(const SCasTextTrack& track)
    {
        if (track.m_font < -1 || track.m_font > 3)
            Add("font " + std::to_string(track.m_font) + " is drawn as the system font");
        for (const CWString& line : track.m_lines)
        {
            const char16_t* text = line.GetText();
            if (text[0] != u'_' || text[1] != u'_' || !m_strings)
                continue;
            uint32_t id = 0;
            const CWString* shown = nullptr;
            const CWString* voice = nullptr;
            if (!m_strings->FindId(line, id) || !m_strings->GetTexts(id, shown, voice))
            {
                Add("the string table has no key " + Utf16ToUtf8(text));
                continue;
            }
            const std::string voicePath = voice ? Utf16ToUtf8(voice->GetText()) : std::string();
            if (!voicePath.empty() && !FileExists("", voicePath.c_str()))
                Add("voice file \"" + voicePath + "\" of " + Utf16ToUtf8(text) + " is missing");
        }
        Colours(track.m_colour);
        Keys(track.m_position, "position", track.m_clock.m_length);
        Keys(track.m_colour, "colour", track.m_clock.m_length);
    }

    void Sound(const SCasSoundTrack& track)
    {
        const std::string path = Utf16ToUtf8(track.m_fileName.GetText());
        std::vector<uint8_t> bytes;
        SWaveData wave;
        const char* reason = nullptr;
        if (path.empty() || !ReadFileBytes(path.c_str(), bytes))
            Add("sample \"" + path + "\" cannot be read");
        else if (!ParseWave(bytes.data(), bytes.size(), wave, &reason))
            Add("sample \"" + path + "\": " + (reason ? reason : "not a WAV file"));
        for (const SCasFloatKey& key : track.m_pan.m_keys)
        {
            if (!(key.m_value >= -1.0f && key.m_value <= 1.0f))
                Add("pan key at step " + std::to_string(key.m_step) + " is outside -1..1");
        }
        Keys(track.m_pan, "pan", track.m_clock.m_length);
        Keys(track.m_volume, "volume", track.m_clock.m_length);
        Keys(track.m_play, "play", track.m_clock.m_length);
    }

    void Sequence(const SCasAnimation& animation)
    {
        if (animation.m_spriteTracks.empty() && animation.m_textTracks.empty() && animation.m_soundTracks.empty())
            Add("no tracks");
        for (size_t i = 0; i < animation.m_spriteTracks.size(); ++i)
        {
            SetWhere("sprite", i);
            Sprite(animation.m_spriteTracks[i]);
        }
        for (size_t i = 0; i < animation.m_textTracks.size(); ++i)
        {
            SetWhere("text", i);
            Text(animation.m_textTracks[i]);
        }
        for (size_t i = 0; i < animation.m_soundTracks.size(); ++i)
        {
            SetWhere("sound", i);
            Sound(animation.m_soundTracks[i]);
        }
    }

private:
    const CStringTable* m_strings;
    std::vector<std::string>& m_problems;
    std::string m_where;
};
} // namespace

void CheckCasSequence(const char* path, const CStringTable* strings, std::vector<std::string>& problems)
{
    std::vector<uint8_t> bytes;
    SCasAnimation animation;
    std::string error;
    if (!ReadFileBytes(path, bytes))
    {
        problems.push_back("cannot be read");
        return;
    }
    if (!ReadCasAnimation(bytes.data(), bytes.size(), animation, error))
    {
        problems.push_back(error);
        return;
    }
    CSequenceCheck(strings, problems).Sequence(animation);
}
