// The whole start-up of the game, run in this process on SDL's dummy drivers with the
// sample data, failed at each of its steps in turn: every failure takes down what the
// steps before it (and the failing one) made, and nothing else. Under the sanitizer stage
// a leak of any run fails the test program.

#include "core/Console.h"
#include "core/ListNodePool.h"
#include "core/StringTable.h"
#include "core/app/Application.h"
#include "core/app/SingleInstance.h"
#include "core/app/StartupSteps.h"
#include "platform/AudioSystem.h"
#include "platform/CoreInput.h"
#include "platform/Renderer.h"
#include "presentation/SpriteBank.h"
#include "tests/support/CurrentDir.h"
#include "tests/support/EnvOverride.h"
#include "tests/support/TempDir.h"
#include "utility/source/QelPackArchive.h"
#include "world/Game.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
std::vector<std::string> s_stops;
void NoteStop(const char* name)
{
    s_stops.push_back(name);
}

class StartupTeardown : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // A program folder of its own: the sample data (unless a test leaves it out)
        // and an empty main pack, so the pack archive is mounted too.
        ASSERT_TRUE(m_program.WriteFile("Tessavar.000", ""));
        ASSERT_TRUE(m_home.WriteFile("Tessavar/.keep", ""));
        m_folder = std::make_unique<CCurrentDir>(m_program.GetPath());
        GetStartupSequence().SetStopObserver(&NoteStop);
    }

    void TearDown() override
    {
        GetStartupSequence().SetInjectedFailure(0);
        GetStartupSequence().SetStopObserver(nullptr);
        GetAppState() = SAppState();
    }

    void LinkSampleData()
    {
        ASSERT_EQ(symlink((std::string(TESS_BIN_DIR) + "/data").c_str(), m_program.Join("data").c_str()), 0);
    }

    // Runs start-up afresh; the names of the stops that its end ran, in order.
    bool Start(size_t failAt = 0)
    {
        GetAppState() = SAppState();
        GetStartupSequence().SetInjectedFailure(failAt);
        s_stops.clear();
        return InitApplication();
    }

    // The names of the steps 1 to `last` that have something to undo, last first.
    static std::vector<std::string> StopsOfFirst(size_t last)
    {
        size_t count = 0;
        const SStartupStep* steps = GetStartupSteps(count);
        std::vector<std::string> names;
        for (size_t i = last; i-- > 0;)
            if (steps[i].stop)
                names.push_back(steps[i].name);
        return names;
    }

    // Nothing that start-up makes is left, the lock is free and no settings were written.
    void ExpectNothingLeft(const std::string& what)
    {
        EXPECT_EQ(g_stringTable, nullptr) << what;
        EXPECT_EQ(g_console, nullptr) << what;
        EXPECT_EQ(g_renderer, nullptr) << what;
        EXPECT_EQ(g_input, nullptr) << what;
        EXPECT_EQ(g_audio, nullptr) << what;
        EXPECT_EQ(g_spriteBank, nullptr) << what;
        EXPECT_EQ(GetGame(), nullptr) << what;
        EXPECT_EQ(g_packArchive, nullptr) << what;
        EXPECT_FALSE(IsListNodePoolAlive()) << what;
        EXPECT_EQ(GetAppState().settingsTree, nullptr) << what;
        CSingleInstance other;
        EXPECT_FALSE(other.Acquire(m_home.Join("Tessavar/.instance.lock").c_str())) << what;
        EXPECT_TRUE(other.IsHeld()) << what;
    }

    bool SettingsWritten() const
    {
        struct stat info;
        return stat(m_home.Join("Tessavar/Tessavar.cfg").c_str(), &info) == 0;
    }

    CTempDir m_program;
    CTempDir m_home;
    CEnvOverride m_homeVariable {"TESSAVAR_HOME", m_home.GetPath().c_str()};
    CEnvOverride m_dialogs {"TESSAVAR_DIALOGS", "launcher:start"};
    CEnvOverride m_videoDriver {"SDL_VIDEODRIVER", "dummy"};
    CEnvOverride m_audioDriver {"SDL_AUDIODRIVER", "dummy"};
    CEnvOverride m_frames {"TESSAVAR_FRAMES", nullptr};
    std::unique_ptr<CCurrentDir> m_folder;
};
} // namespace

TEST_F(StartupTeardown, AFailureAtEachStepTakesDownExactlyWhatExists)
{
    LinkSampleData();
    size_t count = 0;
    const SStartupStep* steps = GetStartupSteps(count);
    ASSERT_GT(count, 10u);
    for (size_t step = 1; step <= count; ++step)
    {
        const std::string name = steps[step - 1].name;
        EXPECT_FALSE(Start(step)) << name;
        EXPECT_TRUE(GetAppState().startupFailed) << name;
        ASSERT_NE(GetAppState().startupMessage, nullptr) << name;
        EXPECT_EQ(std::string(GetAppState().startupMessage), "Error during startup - " + name + " failed (injected)");
        EXPECT_EQ(s_stops, StopsOfFirst(step)) << name;
        ExpectNothingLeft(name);
        EXPECT_FALSE(SettingsWritten()) << name;
    }
}

TEST_F(StartupTeardown, ARunThatStartsEndsInOrderAndWritesItsSettings)
{
    LinkSampleData();
    size_t count = 0;
    GetStartupSteps(count);
    ASSERT_TRUE(Start());
    EXPECT_NE(g_spriteBank, nullptr);
    EXPECT_NE(g_packArchive, nullptr);
    EXPECT_EQ(GetAppState().settingsTree, nullptr); // handed over to the devices
    ASSERT_NE(GetGame(), nullptr);
    EXPECT_EQ(GetGame()->GetState(), GAME_READY);
    EXPECT_TRUE(RunFrame());
    EXPECT_EQ(GetGame()->GetFrameCount(), 1u); // the game's clock paces the frame
    EXPECT_EQ(GetGame()->GetTime(), 40u);
    EXPECT_FALSE(SettingsWritten());
    ShutdownApplication();
    EXPECT_EQ(s_stops, StopsOfFirst(count));
    ExpectNothingLeft("shutdown");
    EXPECT_TRUE(SettingsWritten());
}

// The real early failures and the silent ends go through the same list: a missing
// string table frees the pack archive and the node pool too.
TEST_F(StartupTeardown, EarlyFailuresAndSilentEndsTakeDownTheSameWay)
{
    EXPECT_FALSE(Start()); // no data: no string table
    EXPECT_TRUE(GetAppState().startupFailed);
    EXPECT_STREQ(GetAppState().startupCaption, "Error");
    EXPECT_EQ(s_stops, (std::vector<std::string>{"string table", "pack archive", "list-node pool", "single instance"}));
    ExpectNothingLeft("no string table");

    LinkSampleData();
    {
        CEnvOverride quit("TESSAVAR_DIALOGS", "launcher:quit");
        EXPECT_FALSE(Start());
    }
    EXPECT_FALSE(GetAppState().startupFailed);
    EXPECT_EQ(s_stops, (std::vector<std::string>{"settings", "console", "string table", "pack archive",
                                                 "list-node pool", "single instance"}));
    ExpectNothingLeft("the player quit");
    EXPECT_FALSE(SettingsWritten());
}
