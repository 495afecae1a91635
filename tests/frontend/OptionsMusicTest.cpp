// The options' music: the list the game wants, fades of a level every 250 ms, the
// hold through the logo, tracks that end or do not open, and where the files are
// looked for. The music goes to a recording output in place of the audio system.

#include "core/RealTimeClock.h"
#include "frontend/MusicOutput.h"
#include "frontend/Options.h"
#include "tests/support/CurrentDir.h"
#include "tests/support/EnvOverride.h"
#include "tests/support/TempDir.h"
#include "tests/support/frontend/FrontEndHarness.h"
#include "world/Controls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// The music stream as the options drive it: what was opened, stopped and set.
class CRecordingMusic : public CMusicOutput
{
public:
    int GetVolume() const override { return m_volume; }
    void SetVolume(int level) override
    {
        m_volume = level;
        m_events.push_back("volume " + std::to_string(level));
    }
    bool Play(const char* fileName) override
    {
        m_events.push_back(std::string(m_opens ? "play " : "refused ") + fileName);
        if (!m_opens)
            return false;
        m_finished = false;
        m_played.push_back(fileName);
        m_volumeAtPlay.push_back(m_volume);
        return true;
    }
    bool IsFinished() const override { return m_finished; }
    void Stop() override
    {
        m_finished = true;
        m_events.push_back("stop");
    }

    int m_volume = 0;
    bool m_finished = true;
    bool m_opens = true;
    std::vector<std::string> m_events;
    std::vector<std::string> m_played;
    std::vector<int> m_volumeAtPlay;
};

// A game track, opened from the folder given ("" or "data/").
bool IsGameTrack(const std::string& file, const std::string& folder = "")
{
    for (int i = 1; i <= 5; ++i)
        if (file == folder + "music/game" + std::to_string(i) + ".ogg")
            return true;
    return false;
}

// The volumes set from the event at `from` on, up to the next play.
std::vector<int> VolumesUntilPlay(const std::vector<std::string>& events, size_t from)
{
    std::vector<int> volumes;
    for (size_t i = from; i < events.size() && events[i].rfind("play", 0) != 0; ++i)
        if (events[i].rfind("volume ", 0) == 0)
            volumes.push_back(std::stoi(events[i].substr(7)));
    return volumes;
}

size_t FindEvent(const std::vector<std::string>& events, const std::string& event, size_t from = 0)
{
    for (size_t i = from; i < events.size(); ++i)
        if (events[i] == event)
            return i;
    return events.size();
}

// Options on their own, in a program folder of the test's, on a manual clock.
class OptionsMusicTest : public ::testing::Test
{
protected:
    OptionsMusicTest() : m_home("TESSAVAR_HOME", m_user.GetPath().c_str()), m_here(m_folder.GetPath())
    {
        SetRealTimeClock(&m_clock);
        m_options = std::make_unique<COptions>(m_controls);
        m_options->SetMusicOutput(&m_music);
        m_options->SetMusicLevel(3);
    }
    ~OptionsMusicTest() override
    {
        m_options.reset();
        SetRealTimeClock(nullptr);
    }

    // Updates a frame (40 ms) apart for the given ms.
    void Run(EMusicListId wanted, uint32_t ms)
    {
        for (uint32_t t = 0; t < ms; t += 40)
        {
            m_options->UpdateMusic(wanted);
            m_clock.Advance(40);
        }
    }

    CTempDir m_user;
    CTempDir m_folder;
    CEnvOverride m_home;
    CCurrentDir m_here;
    CManualClock m_clock;
    CControls m_controls;
    CRecordingMusic m_music;
    std::unique_ptr<COptions> m_options;
};
} // namespace

TEST_F(OptionsMusicTest, NothingPlaysUntilStartUpHoldsTheMusic)
{
    Run(MUSIC_FRONT_END, 5000);
    EXPECT_TRUE(m_music.m_events.empty());
}

TEST_F(OptionsMusicTest, TheHoldKeepsTheMusicSilentThroughTheLogoThenItFadesIn)
{
    m_music.m_volume = 3;
    m_options->HoldMusic(m_clock.GetMs() + COptions::LOGO_HOLD_MS);
    Run(MUSIC_FRONT_END, 10960);
    // The track has started, at level 0 all along.
    ASSERT_EQ(m_music.m_played.size(), 1u);
    EXPECT_EQ(m_music.m_played[0], "music/credits.ogg");
    for (const std::string& event : m_music.m_events)
        EXPECT_TRUE(event.rfind("volume", 0) != 0 || event == "volume 0") << event;
    // Once the hold is over, a level every 250 ms up to the player's level.
    const size_t heldEvents = m_music.m_events.size();
    Run(MUSIC_FRONT_END, 1000);
    EXPECT_EQ(VolumesUntilPlay(m_music.m_events, heldEvents), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(m_options->GetFade(), MUSIC_STEADY);
}

TEST_F(OptionsMusicTest, AnotherListFadesTheTrackOutBeforeItsTrackFadesIn)
{
    m_options->HoldMusic(m_clock.GetMs());
    Run(MUSIC_FRONT_END, 1000);
    ASSERT_EQ(m_music.m_played.size(), 1u);
    ASSERT_EQ(m_music.m_volume, 3);
    const size_t before = m_music.m_events.size();
    Run(MUSIC_GAME, 2000);
    ASSERT_EQ(m_music.m_played.size(), 2u);
    EXPECT_TRUE(IsGameTrack(m_music.m_played[1])) << m_music.m_played[1];
    // Down a level an update to 0, the stream stopped, then the new track from 0 up.
    EXPECT_EQ(VolumesUntilPlay(m_music.m_events, before), (std::vector<int>{2, 1, 0}));
    const size_t play = FindEvent(m_music.m_events, "play " + m_music.m_played[1]);
    EXPECT_LT(FindEvent(m_music.m_events, "stop", before), play);
    EXPECT_EQ(m_music.m_volumeAtPlay[1], 0);
    EXPECT_EQ(VolumesUntilPlay(m_music.m_events, play + 1), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(m_options->GetPlayingList(), MUSIC_GAME);
}

TEST_F(OptionsMusicTest, AnEndedTrackGivesWayToTheNextInOrder)
{
    SMusicList list;
    list.count = 3;
    list.tracks[0] = "music/a.ogg";
    list.tracks[1] = "music/b.ogg";
    list.tracks[2] = "music/c.ogg";
    list.order = 0;
    m_options->SetMusicList(MUSIC_GAME, list);
    m_options->HoldMusic(m_clock.GetMs());
    for (int i = 0; i < 4; ++i)
    {
        Run(MUSIC_GAME, 2000);
        m_music.m_finished = true; // the stream reaches the end of its file
    }
    EXPECT_EQ(m_music.m_played,
              (std::vector<std::string>{"music/a.ogg", "music/b.ogg", "music/c.ogg", "music/a.ogg"}));
}

TEST_F(OptionsMusicTest, AnEmptyListPlaysNothing)
{
    m_options->SetMusicList(MUSIC_FRONT_END, SMusicList());
    m_options->HoldMusic(m_clock.GetMs());
    Run(MUSIC_FRONT_END, 3000);
    EXPECT_TRUE(m_music.m_played.empty());
    EXPECT_EQ(m_options->GetPlayingTrack(), -1);
}

TEST_F(OptionsMusicTest, ATrackThatDoesNotOpenIsTriedAgainAtTheNextUpdate)
{
    m_music.m_opens = false;
    m_options->HoldMusic(m_clock.GetMs());
    Run(MUSIC_BOSS, 1000);
    // One try an update (every 250 ms), nothing playing meanwhile.
    int refused = 0;
    for (const std::string& event : m_music.m_events)
        refused += event == "refused music/boss.ogg";
    EXPECT_EQ(refused, 4);
    EXPECT_EQ(m_options->GetPlayingTrack(), -1);
    m_music.m_opens = true;
    Run(MUSIC_BOSS, 250);
    EXPECT_EQ(m_music.m_played, (std::vector<std::string>{"music/boss.ogg"}));
}

TEST_F(OptionsMusicTest, TracksAreLookedForUnderDataFirstThenInTheProgramFolder)
{
    m_options->HoldMusic(m_clock.GetMs());
    Run(MUSIC_FRONT_END, 40);
    ASSERT_TRUE(m_folder.WriteFile("data/music/boss.ogg", "not really"));
    Run(MUSIC_BOSS, 2000);
    EXPECT_EQ(m_music.m_played, (std::vector<std::string>{"music/credits.ogg", "data/music/boss.ogg"}));
    EXPECT_EQ(m_options->GetPlayingFile(), "data/music/boss.ogg");
}

TEST_F(OptionsMusicTest, ThePlayersLevelGoesBackToTheAudioWhenTheOptionsGo)
{
    m_options->HoldMusic(m_clock.GetMs() + COptions::LOGO_HOLD_MS);
    Run(MUSIC_FRONT_END, 500);
    ASSERT_EQ(m_music.m_volume, 0);
    m_options.reset();
    EXPECT_EQ(m_music.m_volume, 3);
}

// The whole road in the game: the front end's music, then a new flight, with the
// sample music of the program folder (in "data/music/").
TEST(GameMusic, TheFrontEndsMusicFadesOutBeforeAGameTrackStartsInFlight)
{
    CFrontEndHarness harness;
    CRecordingMusic music;
    COptions& options = harness.GetFlow().GetOptions();
    options.SetMusicOutput(&music);
    options.SetMusicLevel(4);
    options.HoldMusic(harness.GetClock().GetMs());
    harness.RunFrames(40);
    ASSERT_EQ(music.m_played, (std::vector<std::string>{"data/music/credits.ogg"}));
    ASSERT_EQ(music.m_volume, 4);
    const size_t before = music.m_events.size();

    ASSERT_TRUE(harness.StartFlight());
    harness.RunFrames(60);
    ASSERT_EQ(music.m_played.size(), 2u);
    EXPECT_TRUE(IsGameTrack(music.m_played[1], "data/")) << music.m_played[1];
    EXPECT_EQ(VolumesUntilPlay(music.m_events, before), (std::vector<int>{3, 2, 1, 0}));
    EXPECT_EQ(music.m_volume, 4);

    // At a boss node the boss's track takes over the same way.
    harness.GetWorld().GetZones().m_atBossNode = true;
    harness.RunFrames(60);
    EXPECT_EQ(music.m_played.back(), "data/music/boss.ogg");
    options.SetMusicOutput(nullptr);
}
