#pragma once
// The sample music: short tunes of our own, written as small text sources and played
// by a little synthesiser into mono samples (the game's music is 22050 Hz mono).
//
// A source, one setting or part a line ("#" starts a comment):
//
//   tempo 112            beats a minute (20 to 300)
//   steps 4              pattern steps a beat (1 to 8)
//   beats 4              beats a bar (1 to 8)
//   repeat 2             times the chords are played (1 to 16)
//   chords Am F C G      a chord a bar: root A to G, "#" or "b", "m" for minor
//   voice NAME WAVE OCTAVE LEVEL ENVELOPE PATTERN
//   drum KIND LEVEL PATTERN
//
// A pattern has one character a step of a bar and is played over every bar with that
// bar's chord. Voices: a digit n is the chord's n-th tone upwards (0 the root, 1 the
// third, 2 the fifth, 3 the root an octave up, ...), "c" the whole chord, "-" holds
// the note before, "." is a rest. WAVE is sine, triangle, square or saw; OCTAVE 1 to
// 6 places the root (octave 4 holds the A of 440 Hz); ENVELOPE is pluck (struck and
// dying away), lead (held while it lasts) or pad (slow in, slow out). Drums: "x"
// strikes, "." rests; KIND is kick, snare or hat. Levels are 0 to 1.

#include <cstdint>
#include <string>
#include <vector>

struct SMusicVoice
{
    enum EWave
    {
        SINE,
        TRIANGLE,
        SQUARE,
        SAW,
    };
    enum EEnvelope
    {
        PLUCK,
        LEAD,
        PAD,
    };
    std::string name;
    EWave wave = SINE;
    int octave = 4;
    double level = 0.2;
    EEnvelope envelope = PLUCK;
    std::string pattern;
};

struct SMusicDrum
{
    enum EKind
    {
        KICK,
        SNARE,
        HAT,
    };
    EKind kind = KICK;
    double level = 0.3;
    std::string pattern;
};

struct SMusicSource
{
    double tempo = 120.0;
    int stepsPerBeat = 4;
    int beatsPerBar = 4;
    int repeat = 1;
    // Chord roots as semitones above C (0 to 11) and whether each is minor.
    std::vector<int> chordRoots;
    std::vector<bool> chordMinor;
    std::vector<SMusicVoice> voices;
    std::vector<SMusicDrum> drums;

    int GetStepsPerBar() const { return stepsPerBeat * beatsPerBar; }
    int GetBarCount() const { return static_cast<int>(chordRoots.size()) * repeat; }
    double GetSeconds() const { return GetBarCount() * beatsPerBar * 60.0 / tempo; }
};

// Reads a source; false with "line N: what" in `error` at the first problem.
bool ParseMusicSource(const std::string& text, SMusicSource& source, std::string& error);

// The tune as samples of -1 to 1 at the rate, the same every time, its loudest
// sample at 0.8 and its ends faded over 10 ms.
std::vector<float> RenderMusic(const SMusicSource& source, uint32_t rate);
