// While a text page shows the game stands still: no world step, no game time; the
// clock and the world go on once the page is turned away.

#include "frontend/GameTextPages.h"
#include "presentation/GuiManager.h"
#include "presentation/TextPageManager.h"
#include "tests/support/CurrentDir.h"
#include "tests/support/TempDir.h"
#include "tests/support/world/WorldHarness.h"
#include "world/Controls.h"
#include "world/ObjectFactory.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
int s_thinks = 0;

class CCountingObject : public CGameObject
{
public:
    CCountingObject() : CGameObject(OBJECT_DUMB) {}
    void Think() override { ++s_thinks; }
};

class TextPageClockTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterObjectType(OBJECT_DUMB, &CreateObjectOf<CCountingObject>);
        m_gui = std::make_unique<CGuiManager>(m_harness.GetRenderer());
        m_pages = std::make_unique<CTextPageManager>(*m_gui);
        g_textPages = m_pages.get();
        InstallGameTextPages(m_harness.GetGame());
        s_thinks = 0;
    }
    void TearDown() override
    {
        RemoveGameTextPages(m_harness.GetGame());
        g_textPages = nullptr;
        m_pages.reset();
        m_gui.reset();
    }

    CTempDir m_dir;
    CWorldHarness m_harness;
    std::unique_ptr<CGuiManager> m_gui;
    std::unique_ptr<CTextPageManager> m_pages;
};
} // namespace

TEST_F(TextPageClockTest, GameStandsStillWhileAPageShows)
{
    ASSERT_TRUE(m_dir.WriteFile("data/chat/brief.txt",
                                "chat\n{\n\twidth\t200\n\ttextheight\t40\n\tEnglish\n\t{\n\t\tpage0\n\t\t{\n"
                                "\t\t\tline0\tHold on, [p_name].\n\t\t}\n\t}\n}\n"));
    CCurrentDir cwd(m_dir.GetPath());
    ASSERT_TRUE(m_harness.StartLevel());
    ASSERT_NE(m_harness.Spawn(OBJECT_DUMB, 100.0f, 100.0f), NO_OBJECT);
    m_harness.RunFrames(2);
    const uint32_t time = m_harness.GetGame().GetTime();
    const int thinks = s_thinks;
    EXPECT_GT(thinks, 0);

    int page = -1;
    ASSERT_TRUE(m_pages->LoadPage("data/chat/brief.txt", 0, page));
    m_harness.GetGame().GetTextPages().SetPilotName(u"Vera");
    EXPECT_EQ(m_gui->GetPilotName(), u"Vera");
    EXPECT_EQ(m_pages->GetPilotName(), u"Vera");
    ASSERT_TRUE(m_pages->ShowPage(page, nullptr, 0));
    EXPECT_TRUE(m_harness.GetGame().GetTextPages().IsAnyPageShowing());
    m_harness.RunFrames(5);
    EXPECT_EQ(m_harness.GetGame().GetTime(), time);
    EXPECT_EQ(s_thinks, thinks);

    // Select (Return) held: the page completes, then turns once the key is ready
    // again, and the game runs on.
    m_harness.SetKey(28, true);
    m_harness.RunFrame();
    STextPageInput input = GetTextPageInput(m_harness.GetGame().GetControls(), *m_gui);
    EXPECT_TRUE(input.select);
    input.now = 1000;
    m_pages->Update(input);
    EXPECT_TRUE(m_pages->GetPage(page)->IsPageComplete());
    input.now = 1600;
    m_pages->Update(input);
    EXPECT_FALSE(m_harness.GetGame().GetTextPages().IsAnyPageShowing());
    m_harness.SetKey(28, false);
    m_harness.RunFrames(3);
    EXPECT_EQ(m_harness.GetGame().GetTime(), time + 3 * 40);
    EXPECT_EQ(s_thinks, thinks + 3);
}
