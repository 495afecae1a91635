// The options screen with the game's layout: a changed display or sound setting
// waits for Apply (or Cancel), the levels act at once, and a display the renderer
// will not set up puts the previous one back; only when that fails too does the
// program end, with its message.

#include "frontend/FatalError.h"
#include "frontend/Options.h"
#include "frontend/OptionsScreen.h"
#include "platform/AudioSystem.h"
#include "platform/input/DikCodes.h"
#include "presentation/GuiListButton.h"
#include "presentation/GuiManager.h"
#include "tests/support/frontend/FrontEndHarness.h"
#include "tests/support/platform/VertexRecordingRenderer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
// A renderer that cannot show a back buffer of one width, and whose whole reset can
// be made to fail a number of times.
class CRefusingRenderer : public CVertexRecordingRenderer
{
public:
    bool CreateDisplay() override { return m_settings.width != m_refusedWidth; }
    bool ResetDisplay() override
    {
        ++m_resets;
        const bool reset = CVertexRecordingRenderer::ResetDisplay();
        if (m_failingResets > 0)
        {
            --m_failingResets;
            return false;
        }
        return reset;
    }

    int m_refusedWidth = -1;
    int m_failingResets = 0;
    int m_resets = 0;
};

std::vector<std::string> s_fatalErrors;

void RecordFatalError(const char* caption, const char* text)
{
    s_fatalErrors.push_back(std::string(caption) + ": " + text);
}

class OptionsScreenTest : public ::testing::Test
{
protected:
    OptionsScreenTest()
    {
        auto renderer = std::make_unique<CRefusingRenderer>();
        m_renderer = renderer.get();
        m_harness = std::make_unique<CFrontEndHarness>(true, nullptr, std::move(renderer));
        s_fatalErrors.clear();
        SetFatalErrorHandler(&RecordFatalError);
        m_harness->RunFrames(1);
        m_harness->GetFlow().SetScreen(SCREEN_OPTIONS);
        m_harness->WaitForInputGate();
    }
    ~OptionsScreenTest() override { SetFatalErrorHandler(nullptr); }

    const CScreenLayout& GetPage() { return m_harness->GetFlow().GetScreen(SCREEN_OPTIONS)->GetPage(); }
    int GetSelection(int id) { return GetPage().FindList(id)->GetSelection(); }
    // A key tapped; the GUI acts on it in the frame after.
    void Tap(int code)
    {
        m_harness->TapKey(code);
        m_harness->RunFrames(1);
    }
    // 800 x 600 chosen with the right arrow on the focused resolution, then Apply.
    void ApplyLargerWindow()
    {
        ASSERT_EQ(m_harness->GetFocusId(), COptionsScreen::RESOLUTION);
        Tap(Dik::RIGHT);
        ASSERT_EQ(GetSelection(COptionsScreen::RESOLUTION), 1);
        ASSERT_TRUE(GetPage().IsEnabled(COptionsScreen::APPLY));
        m_harness->Activate(SCREEN_OPTIONS, COptionsScreen::APPLY);
        m_harness->RunFrames(1);
    }

    CRefusingRenderer* m_renderer = nullptr;
    std::unique_ptr<CFrontEndHarness> m_harness;
};
} // namespace

TEST_F(OptionsScreenTest, ADisplayChangeWaitsForApplyAndCancelReadsTheSettingsBack)
{
    EXPECT_EQ(GetSelection(COptionsScreen::RESOLUTION), 0);
    EXPECT_FALSE(GetPage().IsEnabled(COptionsScreen::APPLY));
    EXPECT_FALSE(GetPage().IsEnabled(COptionsScreen::CANCEL));
    EXPECT_FALSE(GetPage().IsVisible(COptionsScreen::VOICE));
    Tap(Dik::RIGHT);
    EXPECT_TRUE(GetPage().IsEnabled(COptionsScreen::APPLY));
    EXPECT_TRUE(GetPage().IsEnabled(COptionsScreen::CANCEL));
    EXPECT_EQ(m_renderer->GetSettings().width, 640) << "nothing changes before Apply";

    m_harness->Activate(SCREEN_OPTIONS, COptionsScreen::CANCEL);
    EXPECT_EQ(GetSelection(COptionsScreen::RESOLUTION), 0);
    EXPECT_FALSE(GetPage().IsEnabled(COptionsScreen::APPLY));
    EXPECT_EQ(m_harness->GetFocusId(), COptionsScreen::BACK);
    EXPECT_EQ(m_renderer->m_resets, 0);
}

TEST_F(OptionsScreenTest, ApplySetsTheNewDisplayUp)
{
    ApplyLargerWindow();
    EXPECT_EQ(m_renderer->GetSettings().width, 800);
    EXPECT_EQ(m_renderer->GetSettings().height, 600);
    EXPECT_EQ(GetSelection(COptionsScreen::RESOLUTION), 1);
    EXPECT_FALSE(GetPage().IsEnabled(COptionsScreen::APPLY));
    EXPECT_EQ(m_harness->GetFocusId(), COptionsScreen::BACK);
    EXPECT_FALSE(m_harness->GetFlow().IsQuitRequested());
}

TEST_F(OptionsScreenTest, ADisplayThatCannotBeSetUpGivesThePreviousOneBack)
{
    struct SCase
    {
        const char* what;
        int refusedWidth;
        int failingResets;
        int resets;
    };
    const SCase cases[] = {
        // The renderer falls back to the mode that ran before within its reset.
        {"the mode is refused", 800, 0, 1},
        // The reset reports a failure: the options reset again to the previous mode.
        {"the reset fails once", -1, 1, 2},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.what);
        m_renderer->m_refusedWidth = c.refusedWidth;
        m_renderer->m_failingResets = c.failingResets;
        m_renderer->m_resets = 0;
        ApplyLargerWindow();
        EXPECT_EQ(m_renderer->m_resets, c.resets);
        EXPECT_EQ(m_renderer->GetSettings().width, 640);
        EXPECT_EQ(m_renderer->GetSettings().height, 480);
        // The screen shows what is in effect, and the game goes on.
        EXPECT_EQ(GetSelection(COptionsScreen::RESOLUTION), 0);
        EXPECT_FALSE(m_harness->GetFlow().GetOptions().GetDisplay().is800x600);
        EXPECT_FALSE(m_harness->GetFlow().IsQuitRequested());
        EXPECT_TRUE(s_fatalErrors.empty());
        m_harness->GetGui().SetFocus(GetPage().FindHandle(COptionsScreen::RESOLUTION));
        m_harness->RunFrames(8);
    }
}

TEST_F(OptionsScreenTest, WhenNoDisplayCanBeSetUpTheProgramEndsWithItsMessage)
{
    m_renderer->m_failingResets = 2;
    ApplyLargerWindow();
    EXPECT_EQ(m_renderer->m_resets, 2);
    EXPECT_EQ(s_fatalErrors, (std::vector<std::string>{"Error: Fatal error setting options"}));
    EXPECT_TRUE(m_harness->GetFlow().IsQuitRequested());
}

TEST_F(OptionsScreenTest, TheMusicLevelActsAtOnceAndActivatingMovesDownTheSettings)
{
    // Return on each setting moves to the next: resolution, full screen, textures,
    // colours, sound, effects, music.
    for (int i = 0; i < 6; ++i)
    {
        Tap(Dik::RETURN);
    }
    ASSERT_EQ(m_harness->GetFocusId(), COptionsScreen::MUSIC);
    const int level = m_harness->GetFlow().GetOptions().GetMusicLevel();
    ASSERT_LT(level, CAudioSystem::LEVEL_MAX);
    Tap(Dik::RIGHT);
    EXPECT_EQ(m_harness->GetFlow().GetOptions().GetMusicLevel(), level + 1);
    EXPECT_EQ(g_audio->GetMusicVolume(), level + 1);
    EXPECT_FALSE(GetPage().IsEnabled(COptionsScreen::APPLY)) << "levels need no Apply";
    // From the music level, Return goes to the controls while Apply is disabled.
    Tap(Dik::RETURN);
    EXPECT_EQ(m_harness->GetFocusId(), COptionsScreen::CONTROLS);
    m_harness->RunFrames(8);
    Tap(Dik::RETURN);
    EXPECT_EQ(m_harness->GetFlow().GetCurrentScreenId(), SCREEN_CONTROLS);
}
