// The options' music: three lists of tracks and the fades between them.

#include "frontend/MusicOutput.h"
#include "frontend/Options.h"
#include "frontend/ScreenTime.h"
#include "utility/source/QelFile.h"

#include <initializer_list>

namespace
{
void SetTracks(SMusicList& list, std::initializer_list<const char*> names)
{
    list = SMusicList();
    for (const char* name : names)
        if (list.count < SMusicList::MAX_TRACKS)
            list.tracks[list.count++] = name;
}
} // namespace

void MakeDefaultMusicLists(SMusicList* lists)
{
    SetTracks(lists[MUSIC_FRONT_END], {"music/credits.ogg"});
    SetTracks(lists[MUSIC_GAME],
              {"music/game1.ogg", "music/game2.ogg", "music/game3.ogg", "music/game4.ogg", "music/game5.ogg"});
    SetTracks(lists[MUSIC_BOSS], {"music/boss.ogg"});
}

std::string FindMusicFile(const std::string& track)
{
    return FileExists("data/", track.c_str()) ? "data/" + track : track;
}

CMusicOutput& COptions::GetMusic() const
{
    return m_music ? *m_music : GetAudioMusicOutput();
}

void COptions::SetMusicOutput(CMusicOutput* output)
{
    m_music = output;
}

void COptions::HoldMusic(uint32_t until)
{
    m_muteUntil = until;
    m_nextUpdate = GetScreenTime();
}

const SMusicList& COptions::GetMusicList(int list) const
{
    static const SMusicList s_none;
    return list >= 0 && list < MUSIC_LIST_COUNT ? m_lists[list] : s_none;
}

void COptions::SetMusicList(int list, const SMusicList& tracks)
{
    if (list < 0 || list >= MUSIC_LIST_COUNT)
        return;
    m_lists[list] = tracks;
    if (m_lists[list].count < 0 || m_lists[list].count > SMusicList::MAX_TRACKS)
        m_lists[list].count = 0;
}

void COptions::UpdateMusic(EMusicListId wanted)
{
    const uint32_t now = GetScreenTime();
    if (wanted < 0 || wanted >= MUSIC_LIST_COUNT || !HasTimeCome(now, m_nextUpdate))
        return;
    m_nextUpdate = now + MUSIC_STEP_MS;

    StepVolume(now);

    // Another list is wanted, or the track has ended: out it fades, and at level 0
    // the stream stops.
    CMusicOutput& music = GetMusic();
    if (m_playingTrack >= 0 && (m_playingList != wanted || music.IsFinished()))
    {
        m_fade = MUSIC_FADING_OUT;
        if (music.GetVolume() == 0)
        {
            music.Stop();
            m_playingTrack = -1;
            m_playingFile.clear();
        }
    }
    if (m_playingTrack < 0)
        StartTrack(wanted);
}

// Silent while the hold lasts; else a level up or down by the fade.
void COptions::StepVolume(uint32_t now)
{
    CMusicOutput& music = GetMusic();
    if (!HasTimeCome(now, m_muteUntil))
    {
        music.SetVolume(0);
        return;
    }
    int level = music.GetVolume();
    if (m_fade == MUSIC_FADING_IN)
    {
        if (level < m_musicLevel)
            music.SetVolume(++level);
        if (level >= m_musicLevel)
            m_fade = MUSIC_STEADY;
    }
    else if (m_fade == MUSIC_FADING_OUT && level > 0)
        music.SetVolume(level - 1);
}

void COptions::StartTrack(EMusicListId wanted)
{
    SMusicList& list = m_lists[wanted];
    if (list.count <= 0)
        return;
    int track = 0;
    if (list.order == SMusicList::RANDOM_ORDER)
        track = m_random.Below(list.count);
    else
    {
        track = list.order >= 0 && list.order < list.count ? list.order : 0;
        list.order = (track + 1) % list.count;
    }
    const std::string file = FindMusicFile(list.tracks[track]);
    CMusicOutput& music = GetMusic();
    music.Stop();
    if (!music.Play(file.c_str()))
        return;
    m_playingList = wanted;
    m_playingTrack = track;
    m_playingFile = file;
    m_fade = MUSIC_FADING_IN;
}
