#pragma once
// The sounds of the world. CSoundEffect is a sample with its playing rules, read from
// a definition block ("sfx" in effects, events and actor files); CSoundEmitter is one
// playing instance of it, held by an object or an effect, that can follow a position
// (louder near the middle of the screen), fade out or start again.
//
// Rules of a play, in order: the effect must be loaded; a screen-clipped effect is
// silent at a position beyond the view widened by 600 on every side; an effect that
// does not allow several instances is silent while this emitter still plays it; and
// one effect starts at most once in 50 ms of game time, whichever emitter asks.

#include <cstddef>
#include <cstdint>

class CDataTree;
class CVector2D;

class CSoundEffect
{
public:
    // Sample file names are kept in 48 characters, the terminator included; a longer
    // name is refused (the effect stays silent).
    static constexpr size_t NAME_SIZE = 48;
    static constexpr uint32_t RESTART_GAP_MS = 50;

    CSoundEffect() = default;
    ~CSoundEffect() { Release(); }
    CSoundEffect(const CSoundEffect&) = delete;
    CSoundEffect& operator=(const CSoundEffect&) = delete;

    // "sfxName" (without it nothing is loaded), "sfxVolume", "allowMultipleSfx",
    // "loopSfx", "screenClip"; then loads. Nothing while audio is disabled. True when
    // the sample loaded.
    bool Read(const CDataTree& tree);
    bool Set(const char* fileName, float volume, bool loop, bool allowMultiple);
    bool Load();
    void Release();

    // The name as read, also when audio is disabled (checks use it).
    const char* GetFileName() const { return m_fileName; }
    bool IsLoaded() const { return m_loaded; }
    int GetSample() const { return m_sample; }
    float GetVolume() const { return m_volume; }
    bool ClipsToScreen() const { return m_screenClip; }
    bool AllowsMultiple() const { return m_allowMultiple; }
    bool Loops() const { return m_loop; }

    // The 50 ms gap shared by every emitter of the effect: true (and the start noted)
    // when the effect may start now. The first start is always allowed.
    bool TakeStart(uint32_t now);

private:
    bool StoreName(const char* fileName);

    char m_fileName[NAME_SIZE] = "";
    int m_sample = -1;
    uint32_t m_lastStart = 0;
    bool m_started = false;
    float m_volume = 1.0f;
    bool m_loaded = false;
    bool m_screenClip = true;
    bool m_allowMultiple = false;
    bool m_loop = false;
};

class CSoundEmitter
{
public:
    // Volume by distance from the middle of the screen: full within 300 units, falling
    // linearly to nothing at 1000; beyond, the sound fades out.
    static constexpr float FULL_VOLUME_DISTANCE = 300.0f;
    static constexpr float SILENT_DISTANCE = 1000.0f;
    // How far beyond the view a screen-clipped sound may start.
    static constexpr float CLIP_MARGIN = 600.0f;

    CSoundEmitter() = default;
    explicit CSoundEmitter(CSoundEffect* effect) : m_effect(effect) {}
    // Stops its sound: the channel's end callback never outlives the emitter.
    ~CSoundEmitter() { Stop(); }
    CSoundEmitter(const CSoundEmitter&) = delete;
    CSoundEmitter& operator=(const CSoundEmitter&) = delete;

    void SetEffect(CSoundEffect* effect) { m_effect = effect; }
    CSoundEffect* GetEffect() const { return m_effect; }

    // Plays the effect by the rules above; the position is null for a sound that is
    // heard wherever it is. True when a sound started.
    bool Play(bool loop, bool startPaused, const CVector2D* position);
    // Play with the effect's own loop flag.
    bool PlayAt(bool startPaused, const CVector2D* position);
    // Rewinds and plays the channel it holds, or plays anew when it holds none.
    void Restart(const CVector2D* position);
    void Stop();
    // Hands the channel to the game, which lowers it until it is silent.
    void FadeOut();
    // A looping sound plays to the end of its current pass and stops there.
    void StopLooping();
    // Volume by the distance of the position from the middle of the screen; an
    // emitter without a channel starts looping there.
    void UpdatePositional(const CVector2D& position);

    int GetChannel() const { return m_channel; }
    bool IsPlaying() const { return m_playing; }

private:
    static void OnChannelEnd(void* userValue, int channel);
    // Lets the channel play on without this emitter.
    void LetGo();

    CSoundEffect* m_effect = nullptr;
    int m_channel = -1;
    bool m_playing = false;
};

// Whether audio plays at all: false without an audio system or while it is disabled.
bool IsGameAudioOn();
