// Compiling the readable source of an animation into its tracks and keys.

#include "presentation/CasSource.h"

#include "presentation/CasFile.h"

#include "core/DataFile.h"
#include "core/DataTree.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <memory>

namespace
{
constexpr double ANY = std::numeric_limits<double>::infinity();

struct SRange
{
    double min;
    double max;
};

// One kind of key line: its name, the number of values after the step, whether
// they are whole numbers, and the range of each.
struct SKeyKind
{
    const char* name;
    int count;
    bool integral;
    SRange range[4];
};

const SKeyKind SPRITE_KEYS[] = {
    {"position", 3, false, {{-ANY, ANY}, {-ANY, ANY}, {0, 20}}},
    {"rotation", 1, false, {{-ANY, ANY}}},
    {"scale", 2, false, {{-ANY, ANY}, {-ANY, ANY}}},
    {"colour", 4, false, {{0, 255}, {0, 255}, {0, 255}, {0, 255}}},
    {"frame", 1, true, {{0, 4294967295.0}}},
    {"visible", 1, true, {{0, 1}}},
};
const SKeyKind TEXT_KEYS[] = {
    {"position", 3, false, {{-ANY, ANY}, {-ANY, ANY}, {-ANY, ANY}}},
    {"colour", 4, false, {{0, 255}, {0, 255}, {0, 255}, {0, 255}}},
};
const SKeyKind SOUND_KEYS[] = {
    {"pan", 1, false, {{-1, 1}}},
    {"volume", 1, false, {{0, 1}}},
    {"play", 1, true, {{0, 1}}},
};

struct SRawKey
{
    uint32_t step = 0;
    double values[4] = {};
};

std::string Narrow(const std::u16string& text)
{
    std::string out;
    for (char16_t unit : text)
        out += unit < 128 ? static_cast<char>(unit) : '?';
    return out;
}

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SplitNumbers(const std::string& text, std::vector<double>& numbers)
{
    numbers.clear();
    size_t start = 0;
    while (true)
    {
        const size_t comma = text.find(',', start);
        const std::string token = Trim(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        double value = 0;
        const char* end = token.data() + token.size();
        std::from_chars_result result = std::from_chars(token.data(), end, value);
        if (token.empty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(value))
            return false;
        numbers.push_back(value);
        if (comma == std::string::npos)
            return true;
        start = comma + 1;
    }
}

bool IsStep(double value)
{
    return value >= 0 && value <= 4294967295.0 && value == std::floor(value);
}

void SetWide(CWString& out, const CDataValue* value)
{
    std::u16string text = value->GetTrimmedText();
    const size_t first = text.find_first_not_of(u" \t");
    text = first == std::u16string::npos ? u"" : text.substr(first);
    out.AssignWideN(text.data(), text.size());
}

class CTrackSource
{
public:
    // With file given, the track's "file" line is required and read into it.
    CTrackSource(const CDataTree& block, const std::string& where, const SKeyKind* kinds, size_t kindCount,
                 CWString* file, std::string& error)
        : m_block(block), m_where(where), m_kinds(kinds), m_kindCount(kindCount), m_file(file), m_error(error)
    {
    }

    bool Fail(const std::string& what)
    {
        m_error = m_where + what;
        return false;
    }

    // Reads every value line: key lines into the raw lists, the rest through
    // setting (false when it is not one of the track's settings either).
    template <typename TSetting>
    bool Read(TSetting setting)
    {
        for (size_t i = 0; i < m_block.GetChildCount(); ++i)
        {
            const CDataNode* node = m_block.GetChild(i);
            if (node->IsBlock())
                return Fail("unexpected block \"" + Narrow(node->GetName()) + "\"");
            const std::string name = Narrow(node->GetName());
            const std::string text = Trim(Narrow(static_cast<const CDataValue*>(node)->GetTrimmedText()));
            bool handled = false;
            if (!ReadKeyLine(name, text, handled) || !ReadCommonLine(name, text, node, handled))
                return false;
            if (handled)
                continue;
            if (!setting(name, text, static_cast<const CDataValue*>(node)))
                return m_error.empty() ? Fail("unknown line \"" + name + "\"") : false;
        }
        if (!m_hasLength)
            return Fail("no length");
        if (m_file && m_file->GetTextLength() == 0)
            return Fail("no file");
        for (size_t k = 0; k < m_kindCount; ++k)
        {
            if (!CheckKeys(m_kinds[k]))
                return false;
        }
        return true;
    }

    bool ReadLength(const std::string& text)
    {
        std::vector<double> numbers;
        if (!SplitNumbers(text, numbers) || numbers.size() != 1 || !IsStep(numbers[0]) || numbers[0] == 0)
            return Fail("length \"" + text + "\" is not a whole number above 0");
        m_length = static_cast<uint32_t>(numbers[0]);
        m_hasLength = true;
        return true;
    }

    bool ReadInt(const std::string& name, const std::string& text, double min, double max, int32_t& out)
    {
        std::vector<double> numbers;
        if (!SplitNumbers(text, numbers) || numbers.size() != 1 || numbers[0] != std::floor(numbers[0]) ||
            numbers[0] < min || numbers[0] > max)
            return Fail(name + " \"" + text + "\" is not a whole number from " + std::to_string(int64_t(min)) +
                        " to " + std::to_string(int64_t(max)));
        out = static_cast<int32_t>(numbers[0]);
        return true;
    }

    uint32_t GetLength() const { return m_length; }
    const std::vector<SRawKey>& GetKeys(const char* kind) { return m_keys[kind]; }

private:
    bool ReadCommonLine(const std::string& name, const std::string& text, const CDataNode* node, bool& handled)
    {
        if (handled || (name != "length" && (name != "file" || !m_file)))
            return true;
        handled = true;
        if (name == "length")
            return ReadLength(text);
        SetWide(*m_file, static_cast<const CDataValue*>(node));
        return !text.empty() || Fail("an empty file name");
    }

    const SKeyKind* FindKind(const std::string& name) const
    {
        for (size_t k = 0; k < m_kindCount; ++k)
        {
            if (name == m_kinds[k].name)
                return &m_kinds[k];
        }
        return nullptr;
    }

    bool ReadKeyLine(const std::string& name, const std::string& text, bool& handled)
    {
        const bool ramp = name.size() > 4 && name.compare(name.size() - 4, 4, "Ramp") == 0;
        const SKeyKind* kind = FindKind(ramp ? name.substr(0, name.size() - 4) : name);
        if (!kind || (ramp && kind->integral))
            return true;
        handled = true;
        std::vector<double> numbers;
        const size_t expected = ramp ? 2 + 2 * kind->count : 1 + kind->count;
        if (!SplitNumbers(text, numbers) || numbers.size() != expected)
            return Fail(name + " \"" + text + "\": needs " + std::to_string(expected) + " numbers separated by commas");
        if (!IsStep(numbers[0]) || (ramp && !IsStep(numbers[1])))
            return Fail(name + " \"" + text + "\": a step is a whole number from 0");
        std::vector<SRawKey>& keys = m_keys[kind->name];
        if (!ramp)
        {
            SRawKey key;
            key.step = static_cast<uint32_t>(numbers[0]);
            std::copy(numbers.begin() + 1, numbers.end(), key.values);
            keys.push_back(key);
            return true;
        }
        const uint32_t from = static_cast<uint32_t>(numbers[0]);
        const uint32_t to = static_cast<uint32_t>(numbers[1]);
        if (to <= from)
            return Fail(name + " \"" + text + "\": the ramp must end after it starts");
        if (to - from > 100000)
            return Fail(name + " \"" + text + "\": a ramp of more than 100000 steps");
        for (uint32_t step = from; step <= to; ++step)
        {
            const double t = static_cast<double>(step - from) / static_cast<double>(to - from);
            SRawKey key;
            key.step = step;
            for (int v = 0; v < kind->count; ++v)
                key.values[v] = numbers[2 + v] + (numbers[2 + kind->count + v] - numbers[2 + v]) * t;
            keys.push_back(key);
        }
        return true;
    }

    bool CheckKeys(const SKeyKind& kind)
    {
        std::vector<SRawKey>& keys = m_keys[kind.name];
        std::stable_sort(keys.begin(), keys.end(), [](const SRawKey& a, const SRawKey& b) { return a.step < b.step; });
        const std::string what = std::string(kind.name) + " key at step ";
        for (size_t i = 0; i < keys.size(); ++i)
        {
            const SRawKey& key = keys[i];
            const std::string at = what + std::to_string(key.step);
            if (i == 0 && key.step != 0)
                return Fail(std::string(kind.name) + " keys begin at step " + std::to_string(key.step) + ", not 0");
            if (i > 0 && keys[i - 1].step == key.step)
                return Fail("two " + std::string(kind.name) + " keys at step " + std::to_string(key.step));
            if (key.step >= m_length)
                return Fail(at + " is not below the length " + std::to_string(m_length));
            for (int v = 0; v < kind.count; ++v)
            {
                const double value = key.values[v];
                if (value < kind.range[v].min || value > kind.range[v].max || (kind.integral && value != std::floor(value)))
                    return Fail(at + ": value " + std::to_string(value) + " is outside " +
                                std::to_string(kind.range[v].min) + " to " + std::to_string(kind.range[v].max));
            }
        }
        return true;
    }

    const CDataTree& m_block;
    std::string m_where;
    const SKeyKind* m_kinds;
    size_t m_kindCount;
    CWString* m_file;
    std::string& m_error;
    std::map<std::string, std::vector<SRawKey>> m_keys;
    uint32_t m_length = 0;
    bool m_hasLength = false;
};

float F(double value)
{
    return static_cast<float>(value);
}

template <typename TKey, typename TFill>
void FillKeys(SCasKeyList<TKey>& list, const std::vector<SRawKey>& raw, TFill fill)
{
    list.m_keys.clear();
    for (const SRawKey& key : raw)
    {
        TKey typed;
        typed.m_step = key.step;
        fill(typed, key.values);
        list.m_keys.push_back(typed);
    }
}

void FillPosition(SCasPositionKey& key, const double* v)
{
    key.m_x = F(v[0]);
    key.m_y = F(v[1]);
    key.m_z = F(v[2]);
}

void FillFloat(SCasFloatKey& key, const double* v)
{
    key.m_value = F(v[0]);
}

void FillInt(SCasIntKey& key, const double* v)
{
    key.m_value = static_cast<uint32_t>(v[0]);
}

void FillColour(SCasColourKey& key, const double* v)
{
    key.m_alpha = F(v[0]);
    key.m_red = F(v[1]);
    key.m_green = F(v[2]);
    key.m_blue = F(v[3]);
}

bool CompileSprite(const CDataTree& block, const std::string& where, SCasSpriteTrack& track, std::string& error)
{
    CTrackSource source(block, where, SPRITE_KEYS, std::size(SPRITE_KEYS), &track.m_fileName, error);
    auto setting = [&](const std::string& name, const std::string& text, const CDataValue*) {
        return name == "group" && source.ReadInt(name, text, INT32_MIN, INT32_MAX, track.m_groupId);
    };
    if (!source.Read(setting))
        return false;
    if (source.GetKeys("position").empty())
        return source.Fail("no position key (its plane places the sprite)");
    track.m_clock.m_length = source.GetLength();
    FillKeys(track.m_position, source.GetKeys("position"), FillPosition);
    FillKeys(track.m_rotation, source.GetKeys("rotation"), FillFloat);
    FillKeys(track.m_scale, source.GetKeys("scale"), [](SCasScaleKey& key, const double* v) {
        key.m_x = F(v[0]);
        key.m_y = F(v[1]);
    });
    FillKeys(track.m_colour, source.GetKeys("colour"), FillColour);
    FillKeys(track.m_frame, source.GetKeys("frame"), FillInt);
    FillKeys(track.m_visible, source.GetKeys("visible"), FillInt);
    return true;
}

bool CompileText(const CDataTree& block, const std::string& where, SCasTextTrack& track, std::string& error)
{
    CTrackSource source(block, where, TEXT_KEYS, std::size(TEXT_KEYS), nullptr, error);
    auto setting = [&](const std::string& name, const std::string& text, const CDataValue* value) {
        if (name == "line")
        {
            track.m_lines.emplace_back();
            SetWide(track.m_lines.back(), value);
            return true;
        }
        return name == "font" && source.ReadInt(name, text, -1, 3, track.m_font);
    };
    if (!source.Read(setting))
        return false;
    track.m_clock.m_length = source.GetLength();
    FillKeys(track.m_position, source.GetKeys("position"), FillPosition);
    FillKeys(track.m_colour, source.GetKeys("colour"), FillColour);
    return true;
}

bool CompileSound(const CDataTree& block, const std::string& where, SCasSoundTrack& track, std::string& error)
{
    CTrackSource source(block, where, SOUND_KEYS, std::size(SOUND_KEYS), &track.m_fileName, error);
    auto setting = [&](const std::string& name, const std::string& text, const CDataValue*) {
        if (name != "loop")
            return false;
        if (text != "true" && text != "1" && text != "false" && text != "0")
            return source.Fail("loop \"" + text + "\" is not true or false");
        track.m_loop = text == "true" || text == "1";
        return true;
    };
    if (!source.Read(setting))
        return false;
    track.m_clock.m_length = source.GetLength();
    FillKeys(track.m_pan, source.GetKeys("pan"), FillFloat);
    FillKeys(track.m_volume, source.GetKeys("volume"), FillFloat);
    FillKeys(track.m_play, source.GetKeys("play"), FillInt);
    return true;
}
} // namespace

bool CompileCasSource(const CDataTree& source, SCasAnimation& animation, std::string& error)
{
    animation = SCasAnimation();
    error.clear();
    for (size_t i = 0; i < source.GetChildCount(); ++i)
    {
        const CDataNode* node = source.GetChild(i);
        const std::string name = Narrow(node->GetName());
        if (!node->IsBlock())
        {
            error = "unexpected line \"" + name + "\" between the tracks";
            break;
        }
        const CDataTree& block = *static_cast<const CDataTree*>(node);
        bool ok = false;
        if (name == "sprite")
        {
            animation.m_spriteTracks.emplace_back();
            ok = CompileSprite(block, "sprite track " + std::to_string(animation.m_spriteTracks.size() - 1) + ": ",
                               animation.m_spriteTracks.back(), error);
        }
        else if (name == "text")
        {
            animation.m_textTracks.emplace_back();
            ok = CompileText(block, "text track " + std::to_string(animation.m_textTracks.size() - 1) + ": ",
                             animation.m_textTracks.back(), error);
        }
        else if (name == "sound")
        {
            animation.m_soundTracks.emplace_back();
            ok = CompileSound(block, "sound track " + std::to_string(animation.m_soundTracks.size() - 1) + ": ",
                              animation.m_soundTracks.back(), error);
        }
        else
            error = "unknown block \"" + name + "\" (sprite, text or sound)";
        if (!ok)
            break;
    }
    if (!error.empty())
    {
        animation = SCasAnimation();
        return false;
    }
    if (animation.m_spriteTracks.empty() && animation.m_textTracks.empty() && animation.m_soundTracks.empty())
    {
        error = "no tracks";
        return false;
    }
    SetCasLength(animation);
    return true;
}

bool CompileCasSourceFile(const char* path, SCasAnimation& animation, std::string& error)
{
    CDataTree* tree = nullptr;
    if (!LoadDataTree(path, &tree))
    {
        error = std::string("cannot read a block from ") + path;
        return false;
    }
    std::unique_ptr<CDataTree> owned(tree);
    return CompileCasSource(*owned, animation, error);
}
