#include "tools/tesstool/MusicSynth.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace
{
constexpr double MAX_SECONDS = 600.0;

bool ParseNumber(const std::string& text, double low, double high, double& value)
{
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end && *end == '\0' && value >= low && value <= high;
}

// "Am", "F#", "Bb", "C": root semitones above C and minor.
bool ParseChord(const std::string& text, int& root, bool& minor)
{
    static const int LETTERS[] = {9, 11, 0, 2, 4, 5, 7}; // A to G
    if (text.empty() || text[0] < 'A' || text[0] > 'G')
        return false;
    root = LETTERS[text[0] - 'A'];
    size_t at = 1;
    if (at < text.size() && (text[at] == '#' || text[at] == 'b'))
    {
        root += text[at] == '#' ? 1 : 11;
        ++at;
    }
    root %= 12;
    minor = at < text.size() && text[at] == 'm';
    if (minor)
        ++at;
    return at == text.size();
}

template <typename T>
bool ParseName(const std::string& text, const char* const* names, int count, T& value)
{
    for (int i = 0; i < count; ++i)
    {
        if (text == names[i])
        {
            value = static_cast<T>(i);
            return true;
        }
    }
    return false;
}

struct SPatternLine
{
    int line;
    const std::string* pattern;
    bool drum;
};

bool CheckPattern(const std::string& pattern, bool drum)
{
    for (char c : pattern)
    {
        const bool ok = drum ? (c == 'x' || c == '.') : (c == '.' || c == '-' || c == 'c' || (c >= '0' && c <= '9'));
        if (!ok)
            return false;
    }
    return true;
}

// ---- rendering -------------------------------------------------------------------

double Wave(SMusicVoice::EWave wave, double phase)
{
    const double twoPi = 2.0 * M_PI;
    const double s = std::sin(twoPi * phase);
    switch (wave)
    {
    case SMusicVoice::TRIANGLE:
    {
        const double f = phase - std::floor(phase);
        return f < 0.5 ? 4.0 * f - 1.0 : 3.0 - 4.0 * f;
    }
    case SMusicVoice::SQUARE:
        // Rounded edges keep the harmonics low enough for 22050 Hz.
        return std::tanh(3.0 * s) / std::tanh(3.0);
    case SMusicVoice::SAW:
        return (s + std::sin(2.0 * twoPi * phase) / 2.0 + std::sin(3.0 * twoPi * phase) / 3.0 +
                std::sin(4.0 * twoPi * phase) / 4.0) *
               0.6;
    case SMusicVoice::SINE:
    default:
        return s;
    }
}

double Envelope(SMusicVoice::EEnvelope envelope, double t, double length)
{
    switch (envelope)
    {
    case SMusicVoice::PAD:
    {
        const double rise = std::min(0.4, length * 0.3);
        const double in = std::min(1.0, t / rise);
        return t < length ? in : in * std::max(0.0, 1.0 - (t - length) / 0.4);
    }
    case SMusicVoice::LEAD:
    {
        const double in = std::min(1.0, t / 0.01);
        return t < length ? in * 0.8 : 0.8 * std::max(0.0, 1.0 - (t - length) / 0.08);
    }
    case SMusicVoice::PLUCK:
    default:
    {
        const double in = std::min(1.0, t / 0.005);
        const double out = t < length ? 1.0 : std::max(0.0, 1.0 - (t - length) / 0.05);
        return in * out * std::exp(-t / 0.3);
    }
    }
}

double ReleaseSeconds(SMusicVoice::EEnvelope envelope)
{
    return envelope == SMusicVoice::PAD ? 0.4 : envelope == SMusicVoice::LEAD ? 0.08 : 0.05;
}

void AddNote(std::vector<float>& out, uint32_t rate, size_t start, double hz, double length, double level,
             const SMusicVoice& voice)
{
    const size_t frames = static_cast<size_t>((length + ReleaseSeconds(voice.envelope)) * rate);
    for (size_t i = 0; i < frames && start + i < out.size(); ++i)
    {
        const double t = static_cast<double>(i) / rate;
        out[start + i] += static_cast<float>(level * Envelope(voice.envelope, t, length) * Wave(voice.wave, hz * t));
    }
}

void AddDrum(std::vector<float>& out, uint32_t rate, size_t start, const SMusicDrum& drum, uint32_t& noise)
{
    const size_t frames = static_cast<size_t>(0.3 * rate);
    double phase = 0.0;
    double last = 0.0;
    for (size_t i = 0; i < frames && start + i < out.size(); ++i)
    {
        const double t = static_cast<double>(i) / rate;
        noise = noise * 1664525u + 1013904223u;
        const double white = static_cast<double>(noise >> 8) / static_cast<double>(1u << 24) * 2.0 - 1.0;
        double v = 0.0;
        switch (drum.kind)
        {
        case SMusicDrum::KICK:
            phase += (45.0 + 105.0 * std::exp(-t / 0.03)) / rate;
            v = std::sin(2.0 * M_PI * phase) * std::exp(-t / 0.12);
            break;
        case SMusicDrum::SNARE:
            v = white * std::exp(-t / 0.07) * 0.7 + std::sin(2.0 * M_PI * 185.0 * t) * std::exp(-t / 0.04) * 0.5;
            break;
        case SMusicDrum::HAT:
            // The difference of two noise samples keeps only the hiss.
            v = (white - last) * 0.5 * std::exp(-t / 0.02);
            break;
        }
        last = white;
        out[start + i] += static_cast<float>(drum.level * v);
    }
}

double ToneHz(const SMusicSource& source, int bar, int octave, int tone)
{
    const int chord = bar % static_cast<int>(source.chordRoots.size());
    const int intervals[3] = {0, source.chordMinor[static_cast<size_t>(chord)] ? 3 : 4, 7};
    const int midi = 12 * (octave + 1) + source.chordRoots[static_cast<size_t>(chord)] + intervals[tone % 3] +
                     12 * (tone / 3);
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

void RenderVoice(std::vector<float>& out, uint32_t rate, const SMusicSource& source, const SMusicVoice& voice,
                 double stepSeconds)
{
    const int steps = source.GetStepsPerBar();
    for (int bar = 0; bar < source.GetBarCount(); ++bar)
    {
        for (int step = 0; step < steps; ++step)
        {
            const char c = voice.pattern[static_cast<size_t>(step)];
            if (c == '.' || c == '-')
                continue;
            int held = 1;
            while (step + held < steps && voice.pattern[static_cast<size_t>(step + held)] == '-')
                ++held;
            const size_t start = static_cast<size_t>((bar * steps + step) * stepSeconds * rate);
            const double length = held * stepSeconds;
            if (c == 'c')
                for (int tone = 0; tone < 3; ++tone)
                    AddNote(out, rate, start, ToneHz(source, bar, voice.octave, tone), length, voice.level / 2.0,
                            voice);
            else
                AddNote(out, rate, start, ToneHz(source, bar, voice.octave, c - '0'), length, voice.level, voice);
        }
    }
}
} // namespace

bool ParseMusicSource(const std::string& text, SMusicSource& source, std::string& error)
{
    static const char* const WAVES[] = {"sine", "triangle", "square", "saw"};
    static const char* const ENVELOPES[] = {"pluck", "lead", "pad"};
    static const char* const DRUMS[] = {"kick", "snare", "hat"};
    source = SMusicSource();
    std::vector<int> voiceLines;
    std::vector<int> drumLines;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    auto fail = [&](const std::string& what) {
        error = "line " + std::to_string(number) + ": " + what;
        return false;
    };
    while (std::getline(lines, line))
    {
        ++number;
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;)
            w.push_back(word);
        if (w.empty())
            continue;
        double value = 0.0;
        if (w[0] == "tempo" || w[0] == "steps" || w[0] == "beats" || w[0] == "repeat")
        {
            const double high = w[0] == "tempo" ? 300.0 : w[0] == "repeat" ? 16.0 : 8.0;
            const double low = w[0] == "tempo" ? 20.0 : 1.0;
            if (w.size() != 2 || !ParseNumber(w[1], low, high, value) || (w[0] != "tempo" && value != std::floor(value)))
                return fail(w[0] + " needs one number from " + std::to_string(int(low)) + " to " +
                            std::to_string(int(high)));
            if (w[0] == "tempo")
                source.tempo = value;
            else if (w[0] == "steps")
                source.stepsPerBeat = static_cast<int>(value);
            else if (w[0] == "beats")
                source.beatsPerBar = static_cast<int>(value);
            else
                source.repeat = static_cast<int>(value);
        }
        else if (w[0] == "chords")
        {
            for (size_t i = 1; i < w.size(); ++i)
            {
                int root = 0;
                bool minor = false;
                if (!ParseChord(w[i], root, minor))
                    return fail("\"" + w[i] + "\" is not a chord (A to G, # or b, m for minor)");
                source.chordRoots.push_back(root);
                source.chordMinor.push_back(minor);
            }
        }
        else if (w[0] == "voice")
        {
            SMusicVoice voice;
            double octave = 0.0;
            if (w.size() != 7)
                return fail("a voice needs NAME WAVE OCTAVE LEVEL ENVELOPE PATTERN");
            voice.name = w[1];
            if (!ParseName(w[2], WAVES, 4, voice.wave))
                return fail("unknown wave \"" + w[2] + "\"");
            if (!ParseNumber(w[3], 1.0, 6.0, octave) || octave != std::floor(octave))
                return fail("the octave must be 1 to 6");
            voice.octave = static_cast<int>(octave);
            if (!ParseNumber(w[4], 0.0, 1.0, voice.level))
                return fail("the level must be 0 to 1");
            if (!ParseName(w[5], ENVELOPES, 3, voice.envelope))
                return fail("unknown envelope \"" + w[5] + "\"");
            voice.pattern = w[6];
            source.voices.push_back(voice);
            voiceLines.push_back(number);
        }
        else if (w[0] == "drum")
        {
            SMusicDrum drum;
            if (w.size() != 4)
                return fail("a drum needs KIND LEVEL PATTERN");
            if (!ParseName(w[1], DRUMS, 3, drum.kind))
                return fail("unknown drum \"" + w[1] + "\"");
            if (!ParseNumber(w[2], 0.0, 1.0, drum.level))
                return fail("the level must be 0 to 1");
            drum.pattern = w[3];
            source.drums.push_back(drum);
            drumLines.push_back(number);
        }
        else
            return fail("unknown setting \"" + w[0] + "\"");
    }
    // Patterns are checked once the bar's length is known.
    std::vector<SPatternLine> patterns;
    for (size_t i = 0; i < source.voices.size(); ++i)
        patterns.push_back({voiceLines[i], &source.voices[i].pattern, false});
    for (size_t i = 0; i < source.drums.size(); ++i)
        patterns.push_back({drumLines[i], &source.drums[i].pattern, true});
    for (const SPatternLine& pattern : patterns)
    {
        number = pattern.line;
        if (pattern.pattern->size() != static_cast<size_t>(source.GetStepsPerBar()))
            return fail("the pattern \"" + *pattern.pattern + "\" needs " + std::to_string(source.GetStepsPerBar()) +
                        " steps");
        if (!CheckPattern(*pattern.pattern, pattern.drum))
            return fail("the pattern \"" + *pattern.pattern + "\" holds a character it cannot play");
    }
    if (source.chordRoots.empty())
        error = "no chords";
    else if (source.voices.empty() && source.drums.empty())
        error = "nothing plays: no voice and no drum";
    else if (source.GetSeconds() > MAX_SECONDS)
        error = "the tune lasts more than 600 seconds";
    else
        return true;
    return false;
}

std::vector<float> RenderMusic(const SMusicSource& source, uint32_t rate)
{
    std::vector<float> out(static_cast<size_t>(std::lround(source.GetSeconds() * rate)), 0.0f);
    const double stepSeconds = 60.0 / source.tempo / source.stepsPerBeat;
    for (const SMusicVoice& voice : source.voices)
        RenderVoice(out, rate, source, voice, stepSeconds);
    uint32_t noise = 0x2468ACEu;
    const int steps = source.GetStepsPerBar();
    for (const SMusicDrum& drum : source.drums)
        for (int bar = 0; bar < source.GetBarCount(); ++bar)
            for (int step = 0; step < steps; ++step)
                if (drum.pattern[static_cast<size_t>(step)] == 'x')
                    AddDrum(out, rate, static_cast<size_t>((bar * steps + step) * stepSeconds * rate), drum, noise);
    float peak = 0.0f;
    for (float v : out)
        peak = std::max(peak, std::fabs(v));
    const float gain = peak > 0.0f ? 0.8f / peak : 0.0f;
    const size_t edge = std::min(out.size() / 2, static_cast<size_t>(rate / 100));
    for (size_t i = 0; i < out.size(); ++i)
    {
        float v = out[i] * gain;
        if (i < edge)
            v *= static_cast<float>(i) / static_cast<float>(edge);
        if (out.size() - i <= edge)
            v *= static_cast<float>(out.size() - i - 1) / static_cast<float>(edge);
        out[i] = v;
    }
    return out;
}
