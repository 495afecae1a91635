// The music the game's lists name: each track where the game opens it (under "data/",
// else in the program folder's "music/"), an Ogg Vorbis file at the music stream's
// 22050 Hz.

#include "frontend/Options.h"
#include "platform/OggStreamDecoder.h"
#include "tools/tesstool/DataCheck.h"

namespace
{
constexpr uint32_t MUSIC_RATE = 22050;

void CheckMusic(CDataCheckReport& report)
{
    SMusicList lists[MUSIC_LIST_COUNT];
    MakeDefaultMusicLists(lists);
    for (const SMusicList& list : lists)
    {
        for (int i = 0; i < list.count; ++i)
        {
            const std::string file = FindMusicFile(list.tracks[i]);
            COggStreamDecoder decoder;
            if (!decoder.Open(file.c_str()))
                report.Add(file, 0, "is missing or not an Ogg Vorbis file: the music stays silent for it");
            else if (decoder.GetRate() != MUSIC_RATE)
                report.Add(file, 0,
                           "plays at " + std::to_string(decoder.GetRate()) + " Hz; the music stream plays 22050 Hz");
            else
                report.NoteChecked(file);
        }
    }
}

CDataChecker s_music("music", &CheckMusic);
} // namespace
