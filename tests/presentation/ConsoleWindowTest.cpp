// The console's window: the console key opens and closes it, typed characters run
// as console lines while it is open, and it draws the lines and the input line.

#include "core/Console.h"
#include "presentation/ConsoleWindow.h"
#include "tests/presentation/FontFixture.h"
#include "tests/presentation/GuiFixture.h"

#include "platform/InputRing.h"

#include <string>

namespace
{
class CConsoleWindowTest : public CGuiTest
{
protected:
    void Type(const std::string& text)
    {
        for (char c : text)
            m_renderer->GetKeyRing().Push(static_cast<unsigned char>(c));
    }
    std::string LastLine() const
    {
        const int count = m_console.GetLineCount();
        return count ? m_console.GetLine(count - 1) : "";
    }

    CConsole m_console;
};
} // namespace

TEST_F(CConsoleWindowTest, TheConsoleKeyOpensTheWindowAndTypedLinesRun)
{
    int32_t speed = 5;
    m_console.RegisterVariable("speed", &speed, CONSOLE_VAR_INT);
    int screen = AddWindow(2, {0, 0, 640, 480});
    m_gui->SetFocus(-1);
    ASSERT_TRUE(CreateConsoleWindow(m_console, *m_gui));
    const int handle = m_console.GetWindowHandle();
    CGuiWindow* window = m_gui->GetWindow(handle);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->IsVisible());
    EXPECT_EQ(window->GetLayer(), 3);
    EXPECT_EQ(window->GetCaption(), "Console");
    EXPECT_EQ(window->GetRect().w, 640);
    EXPECT_EQ(window->GetRect().h, 240);

    // Closed: typing reaches the screen's window, not the console.
    Type("abc");
    Frame();
    EXPECT_STREQ(m_console.GetInputLine(), "");

    EXPECT_FALSE(HandleConsoleKey(m_console, *m_gui, 0x57));
    EXPECT_TRUE(HandleConsoleKey(m_console, *m_gui, CConsole::TOGGLE_KEY_CODE));
    EXPECT_TRUE(m_console.IsOpen());
    EXPECT_TRUE(window->IsVisible());
    EXPECT_EQ(m_gui->GetFocusHandle(), handle);

    // The backquote that came with the key and a pressed arrow are not typed.
    Type("`/listvars");
    m_renderer->GetKeyRing().Push(KEY_RING_LEFT);
    Frame();
    EXPECT_STREQ(m_console.GetInputLine(), "/listvars");
    Type("\r");
    Frame();
    EXPECT_EQ(LastLine(), "Var - speed : type - <int> : value = 5");
    Type("/set speed 9\r");
    Frame();
    EXPECT_EQ(speed, 9);

    EXPECT_TRUE(HandleConsoleKey(m_console, *m_gui, CConsole::TOGGLE_KEY_CODE));
    EXPECT_FALSE(m_console.IsOpen());
    EXPECT_FALSE(window->IsVisible());
    EXPECT_EQ(m_gui->GetFocusHandle(), screen);
    Type("xyz\r");
    Frame();
    EXPECT_STREQ(m_console.GetInputLine(), "");
    EXPECT_EQ(LastLine(), "/set speed 9");
}

TEST_F(CConsoleWindowTest, AClosedWindowIsForgottenAndMadeAgainOnOpening)
{
    ASSERT_TRUE(CreateConsoleWindow(m_console, *m_gui));
    SetConsoleOpen(m_console, *m_gui, true);
    m_gui->DestroyAllControls(); // a screen change
    EXPECT_EQ(m_console.GetWindowHandle(), -1);
    EXPECT_FALSE(m_console.IsOpen());
    SetConsoleOpen(m_console, *m_gui, true);
    ASSERT_NE(m_gui->GetWindow(m_console.GetWindowHandle()), nullptr);
    EXPECT_TRUE(m_gui->GetWindow(m_console.GetWindowHandle())->IsVisible());
    EXPECT_EQ(m_gui->GetFocusHandle(), m_console.GetWindowHandle());
    DestroyConsoleWindow(m_console, *m_gui);
    EXPECT_EQ(m_console.GetWindowHandle(), -1);
    EXPECT_EQ(m_gui->FindFreeHandle(), 0);
}

TEST_F(CConsoleWindowTest, TheWindowDrawsTheLinesAndTheInputLineWithItsCursor)
{
    CFontFolder folder;
    folder.WriteTinyFont();
    ASSERT_TRUE(m_gui->GetSystemFont().Load(*m_renderer, "tiny", 0, 0, 0));
    m_console.Printf("A");
    m_console.Printf("B%%d");
    ASSERT_TRUE(CreateConsoleWindow(m_console, *m_gui));
    SetConsoleOpen(m_console, *m_gui, true);
    Type("AB");
    Frame();
    m_renderer->ClearRecords();
    m_gui->DrawLayer(3, 0.5f);

    // The veil, then one draw a line: "A" at the top, "B%d" (as printed) 15 below, and
    // "AB" with the cursor glyph (code 1) 15 above the window's bottom.
    ASSERT_EQ(m_renderer->m_draws.size(), 4u);
    const auto& lines = m_renderer->m_draws;
    EXPECT_EQ(lines[1].vertices.size(), 6u);
    EXPECT_FLOAT_EQ(lines[1].vertices[0].y, 0.0f);
    EXPECT_EQ(lines[2].vertices.size(), 18u);
    EXPECT_FLOAT_EQ(lines[2].vertices[0].y, 15.0f);
    ASSERT_EQ(lines[3].vertices.size(), 18u);
    const SScreenVertex& cursor = lines[3].vertices[12];
    EXPECT_FLOAT_EQ(cursor.x, 7.0f + 6.0f);
    EXPECT_FLOAT_EQ(cursor.y, 225.0f);
    EXPECT_FLOAT_EQ(cursor.u, 22 / 64.0f);
    EXPECT_FLOAT_EQ(cursor.z, 0.5f);

    // Closed, it draws nothing.
    SetConsoleOpen(m_console, *m_gui, false);
    m_renderer->ClearRecords();
    m_gui->DrawLayer(3, 0.5f);
    EXPECT_TRUE(m_renderer->m_draws.empty());
    m_gui->GetSystemFont().Release();
}
