// Writing the tracks and keys of an animation in the ".cas" form.

#include "presentation/CasFile.h"

#include <cstring>
#include <utility>

namespace
{
class CCasWriter
{
public:
    void U32(uint32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8)
            m_bytes.push_back(static_cast<uint8_t>(value >> shift));
    }

    void Float(float value)
    {
        uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        U32(bits);
    }

    void String(const CWString& text) { text.AppendTo(m_bytes); }

    template <typename TKey, typename TFields>
    void Keys(const SCasKeyList<TKey>& list, TFields fields)
    {
        U32(static_cast<uint32_t>(list.m_keys.size()));
        for (const TKey& key : list.m_keys)
        {
            U32(key.m_step);
            fields(key);
        }
    }

    void PositionKeys(const SCasKeyList<SCasPositionKey>& list)
    {
        Keys(list, [this](const SCasPositionKey& key) {
            Float(key.m_x);
            Float(key.m_y);
            Float(key.m_z);
        });
    }

    void FloatKeys(const SCasKeyList<SCasFloatKey>& list)
    {
        Keys(list, [this](const SCasFloatKey& key) { Float(key.m_value); });
    }

    void IntKeys(const SCasKeyList<SCasIntKey>& list)
    {
        Keys(list, [this](const SCasIntKey& key) { U32(key.m_value); });
    }

    void ColourKeys(const SCasKeyList<SCasColourKey>& list)
    {
        Keys(list, [this](const SCasColourKey& key) {
            Float(key.m_alpha);
            Float(key.m_red);
            Float(key.m_green);
            Float(key.m_blue);
        });
    }

    void Animation(const SCasAnimation& animation)
    {
        // The leading bytes "CAS" and 1, which readers pass over.
        U32(0x01534143u);
        U32(static_cast<uint32_t>(animation.m_spriteTracks.size()));
        U32(static_cast<uint32_t>(animation.m_textTracks.size()));
        U32(static_cast<uint32_t>(animation.m_soundTracks.size()));
        for (const SCasSpriteTrack& track : animation.m_spriteTracks)
        {
            String(track.m_fileName);
            U32(static_cast<uint32_t>(track.m_groupId));
            U32(track.m_clock.m_length);
            PositionKeys(track.m_position);
            FloatKeys(track.m_rotation);
            Keys(track.m_scale, [this](const SCasScaleKey& key) {
                Float(key.m_x);
                Float(key.m_y);
            });
            ColourKeys(track.m_colour);
            IntKeys(track.m_frame);
            IntKeys(track.m_visible);
        }
        for (const SCasTextTrack& track : animation.m_textTracks)
        {
            U32(static_cast<uint32_t>(track.m_lines.size()));
            for (const CWString& line : track.m_lines)
                String(line);
            U32(track.m_clock.m_length);
            U32(static_cast<uint32_t>(track.m_font));
            PositionKeys(track.m_position);
            ColourKeys(track.m_colour);
        }
        for (const SCasSoundTrack& track : animation.m_soundTracks)
        {
            String(track.m_fileName);
            U32(track.m_clock.m_length);
            m_bytes.push_back(track.m_loop ? 1 : 0);
            FloatKeys(track.m_pan);
            FloatKeys(track.m_volume);
            IntKeys(track.m_play);
        }
    }

    std::vector<uint8_t> m_bytes;
};
} // namespace

std::vector<uint8_t> WriteCasAnimation(const SCasAnimation& animation)
{
    CCasWriter writer;
    writer.Animation(animation);
    return std::move(writer.m_bytes);
}
