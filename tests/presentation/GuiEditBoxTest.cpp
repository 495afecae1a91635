// Edit boxes: overwrite typing within the maximum length, cursor keys, Enter and
// Escape, the keyboard of the game, and drawing.

#include "tests/presentation/GuiControlFixture.h"

#include "platform/InputRing.h"
#include "presentation/GuiButton.h"
#include "presentation/GuiEditBox.h"

#include <algorithm>
#include <cstring>

namespace
{
const char* const EDIT = R"(layout
{
	window
	{
		w 400
		h 300
		button
		{
			w 100
			h 20
			controlid 1
			downcontrolid 2
		}
		editbox
		{
			y 30
			w 100
			h 14
			controlid 2
			maxstringlength 8
			upcontrolid 1
			downcontrolid 3
			completedfocuscontrol 3
			cancelledfocuscontrol 1
			bordered true
		}
		button
		{
			y 60
			w 100
			h 20
			controlid 3
		}
	}
}
)";

class GuiEditBox : public CGuiControlTest
{
protected:
    void SetUp() override
    {
        CGuiControlTest::SetUp();
        m_handles = LoadLayoutText(EDIT, 4);
        ShowWindows(m_handles);
        m_edit = Find<CGuiEditBox>(m_handles, 2);
        ASSERT_NE(m_edit, nullptr);
        TakeSounds();
    }

    void Type(const char* text)
    {
        for (const char* c = text; *c; ++c)
            m_edit->CharInput(uint8_t(*c));
    }

    std::string Text() const { return m_edit->GetBuffer(); }

    std::vector<int> m_handles;
    CGuiEditBox* m_edit = nullptr;
};
} // namespace

TEST_F(GuiEditBox, TheTextFillsTheMaximumLengthAndLettersAreWrittenInUpperCase)
{
    m_edit->SetText("ABC");
    EXPECT_EQ(Text(), "ABC     ");
    ASSERT_TRUE(m_gui->SetFocus(m_edit->GetHandle()));
    EXPECT_FALSE(s_keyboard); // the game's keys rest while it has the focus
    Type("q");
    EXPECT_EQ(Text(), "QBC     ");
    EXPECT_EQ(m_edit->GetCursor(), 1);
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"incdec"});

    // Typing runs to the last place and then writes no further.
    Type("wertyuiop%");
    EXPECT_EQ(Text(), "QWERTYUI");
    EXPECT_EQ(m_edit->GetCursor(), 8);
    EXPECT_EQ(std::strlen(m_edit->GetBuffer()), 8u);
    // Codes that are not characters of the text are left out.
    m_edit->CharInput(0);
    m_edit->CharInput(9);
    m_edit->CharInput(0x263A);
    EXPECT_EQ(Text(), "QWERTYUI");

    char out[5];
    m_edit->GetText(out, sizeof(out));
    EXPECT_STREQ(out, "QWER");
    m_edit->SetTextWide(u"abcdefghijk\u00e9");
    EXPECT_EQ(Text(), "abcdefgh"); // a screen's text is taken as it is, cut to the length
}

TEST_F(GuiEditBox, BackspaceDeleteAndTheCursorKeysEditInPlace)
{
    m_edit->SetText("ABCDEFGH");
    m_gui->SetFocus(m_edit->GetHandle());
    struct SStep
    {
        uint32_t code;
        const char* text;
        int cursor;
    };
    const SStep steps[] = {
        {8, "ABCDEFGH", 0},              // backspace at the start does nothing
        {KEY_RING_RIGHT, "ABCDEFGH", 1},
        {KEY_RING_RIGHT, "ABCDEFGH", 2},
        {8, "ACDEFGH ", 1},              // the rest moves left, a space fills the end
        {KEY_RING_DELETE, "ADEFGH  ", 1},
        {KEY_RING_LEFT, "ADEFGH  ", 0},
        {KEY_RING_LEFT, "ADEFGH  ", 0},
        {'x', "XDEFGH  ", 1},
    };
    for (const SStep& step : steps)
    {
        m_edit->CharInput(step.code);
        EXPECT_EQ(Text(), step.text) << step.code;
        EXPECT_EQ(m_edit->GetCursor(), step.cursor) << step.code;
    }
    for (int i = 0; i < 10; ++i)
        m_edit->CharInput(KEY_RING_RIGHT);
    EXPECT_EQ(m_edit->GetCursor(), 8);
    m_edit->CharInput(KEY_RING_DELETE); // nothing after the last place
    EXPECT_EQ(Text(), "XDEFGH  ");
    m_edit->CharInput(8);
    EXPECT_EQ(Text(), "XDEFGH  ");
    EXPECT_EQ(m_edit->GetCursor(), 7);
}

TEST_F(GuiEditBox, EscapePutsBackTheTextOfWhenItTookTheFocus)
{
    m_edit->SetText("ABC");
    m_gui->SetFocus(m_edit->GetHandle());
    Type("xyz");
    TakeSounds();
    s_events.clear();
    m_edit->CharInput(27);
    EXPECT_EQ(Text(), "ABC     ");
    ASSERT_EQ(s_events.size(), 2u);
    EXPECT_EQ(s_events[0].event, GUI_EVENT_FOCUS_GAINED); // the cancelled-focus button
    EXPECT_EQ(s_events[0].controlId, 1);
    EXPECT_EQ(s_events[1].event, GUI_EVENT_EDIT_CANCELLED);
    EXPECT_EQ(s_events[1].controlId, 2);
    EXPECT_EQ(s_events[1].owner, 4);
    EXPECT_EQ(m_gui->GetFocusHandle(), m_gui->FindControlInLayout(m_handles, 1));
    EXPECT_TRUE(s_keyboard);
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"backout"});

    // The back action does the same.
    m_gui->SetFocus(m_edit->GetHandle());
    Type("q");
    m_edit->Action(GUI_ACTION_BACK);
    EXPECT_EQ(Text(), "ABC     ");
    EXPECT_EQ(s_events.back().event, GUI_EVENT_EDIT_CANCELLED);
}

TEST_F(GuiEditBox, EachUseStartsWithTheCursorAtTheFirstPlace)
{
    // Left with Enter after typing, then with Escape: a new name is typed from the
    // start each time the box comes back into use.
    for (const uint32_t leave : {13u, 27u})
    {
        m_edit->SetText("SLOT");
        ASSERT_TRUE(m_gui->SetFocus(m_edit->GetHandle()));
        EXPECT_EQ(m_edit->GetCursor(), 0) << leave;
        Type("abc");
        EXPECT_EQ(m_edit->GetCursor(), 3) << leave;
        m_edit->CharInput(leave);
        EXPECT_NE(m_gui->GetFocusHandle(), m_edit->GetHandle()) << leave;
    }
    m_edit->SetText("SLOT");
    ASSERT_TRUE(m_gui->SetFocus(m_edit->GetHandle()));
    Type("q");
    EXPECT_EQ(Text(), "QLOT    ");
    EXPECT_EQ(m_edit->GetCursor(), 1);
}

TEST_F(GuiEditBox, EnterCompletesTheBoxWithoutTheSelectActionActingAgain)
{
    m_gui->SetFocus(m_edit->GetHandle());
    Type("ok");
    s_events.clear();
    // Enter arrives with the select action pressed in the same frame.
    m_renderer->GetKeyRing().Push(13);
    Frame({GUI_ACTION_SELECT});
    EXPECT_EQ(Text(), "OK      ");
    EXPECT_EQ(m_gui->GetFocusHandle(), m_gui->FindControlInLayout(m_handles, 3));
    EXPECT_TRUE(s_keyboard);
    ASSERT_EQ(s_events.size(), 2u);
    EXPECT_EQ(s_events[0].event, GUI_EVENT_FOCUS_GAINED);
    EXPECT_EQ(s_events[0].controlId, 3);
    EXPECT_EQ(s_events[1].event, GUI_EVENT_ACTIVATED);
    EXPECT_EQ(s_events[1].controlId, 2);
    // The select action starts its repeat again: the button is not activated by it
    // until it has been held 350 ms.
    Frame({GUI_ACTION_SELECT});
    EXPECT_EQ(s_events.size(), 2u);
}

TEST_F(GuiEditBox, TheUpAndDownKeysLeaveTheBoxAlongItsLinks)
{
    m_gui->SetFocus(m_edit->GetHandle());
    s_events.clear();
    m_edit->CharInput(KEY_RING_UP);
    EXPECT_EQ(m_gui->GetFocusHandle(), m_gui->FindControlInLayout(m_handles, 1));
    EXPECT_TRUE(s_keyboard);
    ASSERT_EQ(s_events.size(), 2u);
    EXPECT_EQ(s_events[1].event, GUI_EVENT_ACTIVATED);
    EXPECT_EQ(s_events[1].controlId, 2);
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"navigate"});
}

TEST_F(GuiEditBox, TheFrameFitsTheLongestTextAndTheCursorUnderlinesItsCharacter)
{
    m_edit->SetText("AB");
    m_gui->SetFocus(m_edit->GetHandle());
    m_edit->CharInput(KEY_RING_RIGHT);
    m_renderer->ClearRecords();
    m_edit->Draw(0.5f);
    // Drawn: the frame (8 pieces and its background), 8 glyphs, and the cursor bar.
    ASSERT_GE(m_renderer->m_draws.size(), 3u);
    const SRecordedDraw& frame = m_renderer->m_draws[0];
    EXPECT_EQ(frame.texture, m_gui->GetSkin().texture);
    float right = 0.0f, bottom = 0.0f;
    for (const SScreenVertex& v : frame.vertices)
    {
        right = std::max(right, v.x);
        bottom = std::max(bottom, v.y);
    }
    const SGuiRect rect = m_edit->GetScreenRect();
    EXPECT_EQ(right, float(rect.x + 10 * 8 + 2 * 3)); // eight "W" and the button borders
    EXPECT_EQ(bottom, float(rect.y + 10 + 2 * 2));
    EXPECT_EQ(m_renderer->m_draws[1].vertices.size(), 8u * 6u);
    // The bar: under the "B" (after "A", 6 wide), as wide as "B", 2 pixels high.
    const SRecordedDraw& bar = m_renderer->m_draws.back();
    ASSERT_NE(std::find(m_renderer->m_calls.begin(), m_renderer->m_calls.end(), "texturing off"),
              m_renderer->m_calls.end());
    float left = 1e9f, top = 1e9f;
    right = bottom = 0.0f;
    for (const SScreenVertex& v : bar.vertices)
    {
        left = std::min(left, v.x);
        top = std::min(top, v.y);
        right = std::max(right, v.x);
        bottom = std::max(bottom, v.y);
    }
    EXPECT_EQ(left, float(rect.x + 3 + 6));
    EXPECT_EQ(right - left, 6.0f);
    EXPECT_EQ(top, float(rect.y + 2 + 10));
    EXPECT_EQ(bottom - top, 2.0f);
}
