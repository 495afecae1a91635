#pragma once
// Where the options' music goes: the audio system's music stream and its level. Tests
// put a recording one in its place.

class CMusicOutput
{
public:
    virtual ~CMusicOutput() = default;
    // The music level, 0 to 9 (0 pauses the stream).
    virtual int GetVolume() const;
    virtual void SetVolume(int level);
    // Opens an Ogg Vorbis file on the music stream; false when it cannot play.
    virtual bool Play(const char* fileName);
    // Whether the stream has no file or has played its file to the end.
    virtual bool IsFinished() const;
    // Silences the stream at once and forgets its file.
    virtual void Stop();
};

// The audio system's music (nothing without one).
CMusicOutput& GetAudioMusicOutput();
