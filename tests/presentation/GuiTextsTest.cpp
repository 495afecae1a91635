// Text boxes (word wrap), static texts, tooltips (timing and marquee) and alert boxes
// (reveal and close).

#include "tests/presentation/GuiControlFixture.h"

#include "presentation/GuiAlertBox.h"
#include "presentation/GuiButton.h"
#include "presentation/GuiText.h"
#include "presentation/GuiTextBox.h"
#include "presentation/GuiTooltip.h"

namespace
{
const char* const TEXTS = R"(layout
{
	window
	{
		w 600
		h 400
		textbox
		{
			w 80
			h 100
			controlid 1
			bordered false
		}
		textbox
		{
			y 100
			w 84
			h 100
			controlid 2
		}
		statictext
		{
			x 300
			controlid 3
			string 100%s done
		}
		button
		{
			x 300
			y 20
			w 60
			h 20
			controlid 4
			tooltipcontrolid 5
			downcontrolid 6
		}
		tooltip
		{
			x 300
			y 50
			w 100
			h 20
			controlid 5
			caption Tip
		}
		button
		{
			x 300
			y 80
			w 60
			h 20
			controlid 6
			tooltipcontrolid 7
		}
		tooltip
		{
			x 300
			y 110
			w 40
			h 20
			controlid 7
			caption A rather long tip
		}
		alertbox
		{
			x 100
			y 100
			w 210
			h 50
			controlid 8
			page0
			{
				line0 Hi [p_name]
				line1 Go
				line2 Now
			}
		}
	}
}
)";

class GuiTexts : public CGuiControlTest
{
protected:
    void SetUp() override
    {
        CGuiControlTest::SetUp();
        m_handles = LoadLayoutText(TEXTS, 6);
        ShowWindows(m_handles);
        TakeSounds();
        s_events.clear();
    }

    // One frame later, drawn.
    void Later(uint32_t ms)
    {
        s_now += ms;
        m_gui->StampFrameTime();
        DrawLayers();
    }

    std::vector<int> m_handles;
};
} // namespace

TEST_F(GuiTexts, TextBoxesWrapWordByWordWithTenPixelsToSpare)
{
    CGuiTextBox* box = Find<CGuiTextBox>(m_handles, 1);
    // Width 80. "ab" 12, "cd" 12, "efgh" 24 and spaces 4: "ab cd efgh " reaches 56 and
    // "ijklmn" (36) would need 56 + 36 + 10 = 102.
    struct SCase
    {
        const char16_t* text;
        std::vector<std::u16string> lines;
    };
    const SCase cases[] = {
        {u"ab cd efgh ijklmn op", {u"ab cd efgh", u"ijklmn op"}},
        // A word wider than the whole line gets a line of its own.
        {u"ab abcdefghijklm cd", {u"ab", u"abcdefghijklm", u"cd"}},
        // The pilot's tag counts as eight "W": 80 wide, alone on its line.
        {u"go [p_name] now", {u"go", u"[p_name]", u"now"}},
        {u"[P_NAME]", {u"[P_NAME]"}},
        // "WWWWW" and a space are 54: "abcd" (24) would need 54 + 24 + 10 = 88.
        {u"WWWWW abcd", {u"WWWWW", u"abcd"}},
        // Seven "W" (70) just fit with their 10 to spare.
        {u"WWWWWWW ab", {u"WWWWWWW", u"ab"}},
        {u"", {}},
    };
    for (const SCase& c : cases)
    {
        box->SetTextWide(c.text);
        EXPECT_EQ(box->GetLines(), c.lines) << std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text));
    }
    // Bordered, the window border (4) comes off the width: 84 - 4 = 80, as above.
    CGuiTextBox* bordered = Find<CGuiTextBox>(m_handles, 2);
    bordered->SetText("ab cd efgh ijklmn op");
    EXPECT_EQ(bordered->GetLines(), (std::vector<std::u16string>{u"ab cd efgh", u"ijklmn op"}));
}

TEST_F(GuiTexts, TextsAreDrawnAsTheyAreWrittenNeverAsFormats)
{
    CGuiStaticText* text = Find<CGuiStaticText>(m_handles, 3);
    m_renderer->ClearRecords();
    text->Draw(0.5f);
    ASSERT_EQ(m_renderer->m_draws.size(), 1u);
    // "100%s done": ten characters, the conversion among them.
    EXPECT_EQ(m_renderer->m_draws[0].vertices.size(), 10u * 6u);
    text->SetText("50%% off");
    m_renderer->ClearRecords();
    text->Draw(0.5f);
    EXPECT_EQ(m_renderer->m_draws[0].vertices.size(), 7u * 6u); // "50% off"
}

TEST_F(GuiTexts, ATooltipShowsFiveSecondsFadesForTwoAndAHalfAndHides)
{
    CGuiTooltip* tip = Find<CGuiTooltip>(m_handles, 5);
    EXPECT_FALSE(tip->IsVisible());
    m_gui->SetFocus(Find<CGuiButton>(m_handles, 4)->GetHandle());
    ASSERT_TRUE(tip->IsVisible());
    for (int t = 40; t <= 5000; t += 40)
    {
        Later(40);
        ASSERT_EQ(tip->GetAlpha(), 255u) << t;
    }
    Later(40); // 40 ms after the display time is over it fades: 2460 of 2500 left
    EXPECT_EQ(tip->GetAlpha(), 2460u * 255u / 2500u);
    Later(1210); // half of the fade left
    EXPECT_EQ(tip->GetAlpha(), 1250u * 255u / 2500u);
    Later(1249);
    EXPECT_TRUE(tip->IsVisible());
    Later(1);
    EXPECT_FALSE(tip->IsVisible());
}

TEST_F(GuiTexts, TheFocusMovingOnSwitchesTheTooltips)
{
    CGuiButton* first = Find<CGuiButton>(m_handles, 4);
    m_gui->SetFocus(first->GetHandle());
    first->Action(GUI_ACTION_DOWN);
    EXPECT_FALSE(Find<CGuiTooltip>(m_handles, 5)->IsVisible());
    EXPECT_TRUE(Find<CGuiTooltip>(m_handles, 7)->IsVisible());
}

TEST_F(GuiTexts, AWideTooltipWaitsThenScrollsToItsEndBeforeItsTimeRuns)
{
    CGuiTooltip* tip = Find<CGuiTooltip>(m_handles, 7);
    tip->Show();
    // Inner width 40 - 2 x 2 = 36; the text is 17 characters: one "i" (3), 3 spaces (4)
    // and 13 others (6), measured exactly (the last "p" is 6 wide): 3 + 12 + 78 = 93.
    Later(0);
    for (int t = 40; t < 2500; t += 40)
    {
        Later(40);
        ASSERT_EQ(tip->GetScrollOffset(), 0) << t;
    }
    Later(40); // the wait is over
    EXPECT_EQ(tip->GetScrollOffset(), 0);
    // Then 2 pixels a frame until the end (93) is in view (offset 57 or more).
    int frames = 0;
    while (tip->GetScrollOffset() < 58 && frames < 100)
    {
        Later(40);
        ++frames;
    }
    EXPECT_EQ(tip->GetScrollOffset(), 58);
    EXPECT_EQ(frames, 29);
    // Only now the five seconds run.
    Later(4960);
    EXPECT_EQ(tip->GetAlpha(), 255u);
    Later(2540);
    EXPECT_FALSE(tip->IsVisible());

    // A pause of the frames longer than 99 ms counts 40 ms of the wait.
    tip->Show();
    Later(0);
    Later(2000);
    Later(2000);
    EXPECT_EQ(tip->GetScrollOffset(), 0);
}

TEST_F(GuiTexts, AnAlertBoxRevealsItsPageThenClosesAndGivesTheFocusBack)
{
    m_gui->SetPilotName(u"Kim");
    CGuiButton* button = Find<CGuiButton>(m_handles, 4);
    m_gui->SetFocus(button->GetHandle());
    CGuiAlertBox* alert = Find<CGuiAlertBox>(m_handles, 8);
    s_events.clear();
    TakeSounds();
    alert->Show();
    EXPECT_TRUE(m_gui->IsModal());
    EXPECT_TRUE(alert->IsVisible());
    EXPECT_EQ(m_gui->GetFocusHandle(), alert->GetHandle());
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"alert"});
    EXPECT_EQ(alert->GetPageLines(0), (std::vector<std::u16string>{u"Hi Kim", u"Go", u"Now"}));

    // One character a draw: "Hi Kim" "Go" "Now" is 11.
    for (int draw = 1; draw <= 10; ++draw)
    {
        Later(40);
        ASSERT_EQ(alert->GetRevealed(), draw);
        ASSERT_FALSE(alert->IsComplete());
    }
    Later(40);
    EXPECT_TRUE(alert->IsComplete());

    // Select on a complete page closes the box.
    Frame({GUI_ACTION_SELECT});
    EXPECT_FALSE(alert->IsVisible());
    EXPECT_FALSE(m_gui->IsModal());
    EXPECT_EQ(m_gui->GetFocusHandle(), button->GetHandle());
    ASSERT_FALSE(s_events.empty());
    EXPECT_EQ(s_events[0].event, GUI_EVENT_ACTIVATED);
    EXPECT_EQ(s_events[0].controlId, 8);
    EXPECT_EQ(s_events[0].owner, 6);
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"select"});
}

TEST_F(GuiTexts, TheFirstSelectCompletesTheAlertAndAGoneFocusIsNotReturnedTo)
{
    CGuiButton* button = Find<CGuiButton>(m_handles, 4);
    m_gui->SetFocus(button->GetHandle());
    CGuiAlertBox* alert = Find<CGuiAlertBox>(m_handles, 8);
    alert->Show();
    Later(40);
    alert->Action(GUI_ACTION_SELECT);
    EXPECT_TRUE(alert->IsComplete());
    EXPECT_TRUE(alert->IsVisible());
    // The control that had the focus goes meanwhile; a new one may take its handle.
    const int oldHandle = button->GetHandle();
    m_gui->CloseControl(oldHandle);
    int made = -1;
    ASSERT_TRUE(m_gui->CreateButton(SGuiButtonDesc(), made));
    ASSERT_EQ(made, oldHandle);
    alert->Action(GUI_ACTION_BACK);
    EXPECT_FALSE(alert->IsVisible());
    EXPECT_NE(m_gui->GetFocusHandle(), made);
    // A click closes it as well, once complete.
    alert->Show();
    EXPECT_TRUE(alert->PointerClick(SGuiPoint{0, 0}));
    EXPECT_TRUE(alert->IsVisible());
    EXPECT_TRUE(alert->PointerClick(SGuiPoint{0, 0}));
    EXPECT_FALSE(alert->IsVisible());
}
