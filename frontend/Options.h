#pragma once
// The player's options, held by the game flow: a copy of the display and sound
// settings that the options screen edits and Apply hands to the renderer and the
// audio system; the key map and joystick set-up ("keymap.dat", KeyMap.h) that the
// controls screen edits and the game's controls read; and the music, which follows
// the game from three lists of tracks with fades between them.
//
// Music, every 250 ms of real time (UpdateMusic): the wanted list is the front end's
// in the front end, else the boss list at a zone's boss node, else the game list.
// While the hold after start-up lasts the music stays at level 0. A change of list,
// or the end of the track, fades the music out a level an update; at level 0 the
// stream stops and a track of the wanted list is opened (at random, or in order),
// which then fades in a level an update up to the player's music level. A track is
// looked for under "data/" and, when missing there, in the program folder itself
// ("music/..."); one that does not open leaves the music silent until the next update
// tries again. An empty list plays nothing.

#include "core/Random.h"
#include "frontend/KeyMap.h"

#include <cstdint>
#include <string>

class CControls;
class CMusicOutput;

enum EMusicListId : int
{
    MUSIC_FRONT_END = 0,
    MUSIC_GAME = 1,
    MUSIC_BOSS = 2,
    MUSIC_LIST_COUNT = 3,
};

struct SMusicList
{
    static constexpr int MAX_TRACKS = 5;
    static constexpr int RANDOM_ORDER = -1;

    int32_t count = 0;
    std::string tracks[MAX_TRACKS];
    // RANDOM_ORDER: each track picked at random; else the index of the next track.
    int32_t order = RANDOM_ORDER;
};

// The lists as the game plays them: the front end's "music/credits.ogg", the game's
// "music/game1.ogg" to "music/game5.ogg", the boss's "music/boss.ogg", all at random.
void MakeDefaultMusicLists(SMusicList* lists);
// Where a track of a list is opened from: "data/" and its name when that file is
// there, else the name itself (the program folder's "music/").
std::string FindMusicFile(const std::string& track);

// The music's fade.
enum EMusicFade : int
{
    MUSIC_STEADY = 0,
    MUSIC_FADING_IN = 1,
    MUSIC_FADING_OUT = 2,
};

// The display settings the options screen shows.
struct SOptionsDisplay
{
    bool is800x600 = false; // else 640 x 480
    bool fullScreen = false;
    bool hiQualityTextures = true;
    int32_t colourBits = 32; // 16 or 32
};

// The sound settings the options screen shows.
struct SOptionsSound
{
    bool disabled = false;
    int32_t frequencyId = 0; // 0, 1, 2: 44100, 22050, 11025 Hz
};

class COptions
{
public:
    static constexpr uint32_t MUSIC_STEP_MS = 250;
    // Until start-up sets the hold, the music does not update.
    static constexpr uint32_t NO_UPDATE_MS = 999999;
    // The hold after start-up: the logo plays in silence.
    static constexpr uint32_t LOGO_HOLD_MS = 11000;
    static constexpr const char* KEY_MAP_FILE = "keymap.dat";
    static constexpr const char* DISPLAY_FAILURE = "Fatal error setting options";

    // Builds the music lists, reads the music level, loads the key map from the user
    // folder (defaults when it is missing or damaged), gives it to the controls and
    // copies the current display and sound settings.
    explicit COptions(CControls& controls);
    // The player's music level goes back to the audio system, whatever the fade had
    // made of it, so that the settings written at the end keep it.
    ~COptions();
    COptions(const COptions&) = delete;
    COptions& operator=(const COptions&) = delete;

    // ---- display and sound --------------------------------------------------------
    // Copies the renderer's current display settings and the audio system's sound
    // settings, takes the keys back from the controls and checks the bindings against
    // the selected joystick.
    void ReadSettings();
    // Hands what changed to the renderer (a display reset) and the audio system. A
    // reset that fails puts the previous settings back and resets again; only when
    // that fails too is the failure reported (DISPLAY_FAILURE) and the result false:
    // the program must end.
    bool Apply();
    SOptionsDisplay& GetDisplay() { return m_display; }
    SOptionsSound& GetSound() { return m_sound; }
    void SetDisplayChanged(bool changed) { m_displayChanged = changed; }
    void SetSoundChanged(bool changed) { m_soundChanged = changed; }
    bool IsDisplayChanged() const { return m_displayChanged; }
    bool IsSoundChanged() const { return m_soundChanged; }

    // ---- key map --------------------------------------------------------------------
    SKeyMap& GetKeyMap() { return m_keyMap; }
    const SKeyMap& GetKeyMap() const { return m_keyMap; }
    // The key map given to the controls: keys, joystick, dead zone, bindings.
    void ApplyKeyMap();
    // Writes "keymap.dat" (atomically); false, with a console line, when it could not.
    bool SaveKeyMap();
    const std::string& GetKeyMapPath() const { return m_keyMapPath; }
    void SetCapturing(bool capturing) { m_capturing = capturing; }
    bool IsCapturing() const { return m_capturing; }

    // ---- music ----------------------------------------------------------------------
    // Null: the audio system's music.
    void SetMusicOutput(CMusicOutput* output);
    // Start-up: the music stays silent until `until` (real time) and starts updating.
    void HoldMusic(uint32_t until);
    void UpdateMusic(EMusicListId wanted);
    int GetMusicLevel() const { return m_musicLevel; }
    void SetMusicLevel(int level) { m_musicLevel = level; }
    const SMusicList& GetMusicList(int list) const;
    void SetMusicList(int list, const SMusicList& tracks);
    int GetPlayingList() const { return m_playingList; }
    int GetPlayingTrack() const { return m_playingTrack; }
    EMusicFade GetFade() const { return m_fade; }
    // The file the playing track was opened from ("" while none plays).
    const std::string& GetPlayingFile() const { return m_playingFile; }

private:
    CMusicOutput& GetMusic() const;
    void StepVolume(uint32_t now);
    void StartTrack(EMusicListId wanted);
    bool ApplyDisplay();

    CControls& m_controls;
    SOptionsDisplay m_display;
    SOptionsSound m_sound;
    SKeyMap m_keyMap;
    std::string m_keyMapPath;

    SMusicList m_lists[MUSIC_LIST_COUNT];
    int m_playingList = MUSIC_FRONT_END;
    int m_playingTrack = -1;
    std::string m_playingFile;
    EMusicFade m_fade = MUSIC_STEADY;
    int m_musicLevel = 0;
    uint32_t m_muteUntil = 0;
    uint32_t m_nextUpdate = 0;
    CMusicOutput* m_music = nullptr;
    // The tracks are picked apart from the game's generator: the music runs on real
    // time, which must not change the simulation's draws.
    CRandom m_random;

    bool m_displayChanged = false;
    bool m_soundChanged = false;
    bool m_capturing = false;
};
