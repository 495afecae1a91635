// Buttons and list buttons: activation, the pressed look, navigation and options.

#include "tests/presentation/GuiControlFixture.h"

#include "presentation/GuiButton.h"
#include "presentation/GuiListButton.h"

namespace
{
// Three buttons in a column (ids 1 to 3, linked up and down; 2 sticky) and list
// buttons of three options without and with wrap-around (ids 10 and 11), a number
// range (12) and a range without numbers (13).
const char* const BUTTONS = R"(layout
{
	window
	{
		w 400
		h 300
		button
		{
			x 10
			y 10
			w 100
			h 20
			controlid 1
			downcontrolid 2
		}
		button
		{
			x 10
			y 40
			w 100
			h 20
			controlid 2
			upcontrolid 1
			downcontrolid 3
			sticky true
		}
		button
		{
			x 10
			y 70
			w 100
			h 20
			controlid 3
			upcontrolid 2
		}
		listbutton
		{
			x 150
			y 10
			w 120
			h 20
			controlid 10
			wrapAround false
			option0 Zero
			option1 One
			option2 Two
			upcontrolid 3
			downcontrolid 11
		}
		listbutton
		{
			x 150
			y 40
			w 120
			h 20
			controlid 11
			option0 Zero
			option1 One
			option2 Two
		}
		listbutton
		{
			x 150
			y 70
			w 120
			h 20
			controlid 12
			numberrangelow -2
			numberrangehigh 2000000000
		}
		listbutton
		{
			x 150
			y 100
			w 120
			h 20
			controlid 13
			numberrangelow 5
			numberrangehigh 4
		}
	}
}
)";

class GuiButtons : public CGuiControlTest
{
protected:
    void SetUp() override
    {
        CGuiControlTest::SetUp();
        m_handles = LoadLayoutText(BUTTONS, 9);
        ShowWindows(m_handles);
        TakeSounds();
        s_events.clear();
    }

    std::vector<int> m_handles;
};
} // namespace

TEST_F(GuiButtons, SelectActivatesAndShowsThePressedLookFor350Milliseconds)
{
    CGuiButton* button = Find<CGuiButton>(m_handles, 1);
    ASSERT_TRUE(m_gui->SetFocus(button->GetHandle()));
    ASSERT_EQ(s_events.size(), 1u); // focus gained
    EXPECT_EQ(s_events[0].event, GUI_EVENT_FOCUS_GAINED);
    s_events.clear();
    Frame({GUI_ACTION_SELECT});
    ASSERT_EQ(s_events.size(), 1u);
    EXPECT_EQ(s_events[0].event, GUI_EVENT_ACTIVATED);
    EXPECT_EQ(s_events[0].value, 0);
    EXPECT_EQ(s_events[0].owner, 9);
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"select"});
    const uint32_t pressedAt = s_now;
    s_now = pressedAt + 349;
    m_gui->StampFrameTime();
    EXPECT_TRUE(button->IsPressed());
    s_now = pressedAt + 350;
    m_gui->StampFrameTime();
    EXPECT_FALSE(button->IsPressed());

    // A sticky button turns over with every press and stays so.
    CGuiButton* sticky = Find<CGuiButton>(m_handles, 2);
    sticky->Action(GUI_ACTION_SELECT);
    s_now += 5000;
    m_gui->StampFrameTime();
    EXPECT_TRUE(sticky->IsPressed());
    sticky->Action(GUI_ACTION_SELECT_2);
    EXPECT_FALSE(sticky->IsPressed());
}

TEST_F(GuiButtons, BackAndTheDirectionsRaiseEventZeroAndMoveAlongTheLinks)
{
    CGuiButton* first = Find<CGuiButton>(m_handles, 1);
    m_gui->SetFocus(first->GetHandle());
    s_events.clear();
    first->Action(GUI_ACTION_BACK);
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"backout"});
    first->Action(GUI_ACTION_DOWN);
    EXPECT_EQ(m_gui->GetFocusHandle(), m_gui->FindControlInLayout(m_handles, 2));
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"navigate"});
    first->Action(GUI_ACTION_LEFT); // no link: the focus stays
    EXPECT_EQ(m_gui->GetFocusHandle(), m_gui->FindControlInLayout(m_handles, 2));
    const std::vector<std::pair<int, int>> expected = {{GUI_EVENT_ACTION, GUI_ACTION_BACK},
                                                       {GUI_EVENT_FOCUS_GAINED, 0},
                                                       {GUI_EVENT_ACTION, GUI_ACTION_DOWN},
                                                       {GUI_EVENT_ACTION, GUI_ACTION_LEFT}};
    ASSERT_EQ(s_events.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
    {
        EXPECT_EQ(s_events[i].event, expected[i].first) << i;
        EXPECT_EQ(s_events[i].value, expected[i].second) << i;
    }
    EXPECT_EQ(s_events[1].controlId, 2);

    // Down past a disabled button reaches the next one.
    Find<CGuiButton>(m_handles, 2)->SetEnabled(false);
    m_gui->SetFocus(first->GetHandle());
    first->Action(GUI_ACTION_DOWN);
    EXPECT_EQ(m_gui->GetFocusHandle(), m_gui->FindControlInLayout(m_handles, 3));
}

TEST_F(GuiButtons, AClickFocusesAndActivatesAButtonAndHoverFocusesIt)
{
    CGuiButton* third = Find<CGuiButton>(m_handles, 3);
    const SGuiRect rect = third->GetScreenRect();
    Pointer(rect.x + 5, rect.y + 5, MOUSE_RING_MOVE);
    Frame();
    EXPECT_EQ(m_gui->GetFocusHandle(), third->GetHandle());
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"navigate"});
    s_events.clear();
    Pointer(rect.x + 5, rect.y + 5, MOUSE_RING_LEFT_DOWN);
    Pointer(rect.x + 5, rect.y + 5, MOUSE_RING_LEFT_UP);
    Frame();
    ASSERT_FALSE(s_events.empty());
    EXPECT_EQ(s_events.back().event, GUI_EVENT_ACTIVATED);
    EXPECT_EQ(s_events.back().controlId, 3);
    EXPECT_TRUE(third->IsPressed());
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"select"});

    // Disabled, it takes neither.
    third->SetEnabled(false);
    s_events.clear();
    s_now += 1000;
    Pointer(rect.x + 6, rect.y + 5, MOUSE_RING_LEFT_DOWN);
    Pointer(rect.x + 6, rect.y + 5, MOUSE_RING_LEFT_UP);
    Frame();
    EXPECT_TRUE(s_events.empty());
}

TEST_F(GuiButtons, ListButtonsStepThroughTheirOptionsWithOrWithoutWrapAround)
{
    CGuiListButton* plain = Find<CGuiListButton>(m_handles, 10);
    CGuiListButton* wrapping = Find<CGuiListButton>(m_handles, 11);
    ASSERT_EQ(plain->GetOptionCount(), 3);
    struct SStep
    {
        CGuiListButton* list;
        int start;
        int action;
        int result;
        bool sound;
    };
    const SStep steps[] = {
        {plain, 2, GUI_ACTION_RIGHT, 2, false}, {plain, 0, GUI_ACTION_LEFT, 0, false},
        {plain, 1, GUI_ACTION_RIGHT, 2, true},  {plain, 1, GUI_ACTION_LEFT, 0, true},
        {wrapping, 2, GUI_ACTION_RIGHT, 0, true}, {wrapping, 0, GUI_ACTION_LEFT, 2, true},
        {wrapping, 1, GUI_ACTION_RIGHT, 2, true},
    };
    for (const SStep& step : steps)
    {
        step.list->SetSelection(step.start);
        s_events.clear();
        step.list->Action(step.action);
        EXPECT_EQ(step.list->GetSelection(), step.result) << step.start << " " << step.action;
        ASSERT_EQ(s_events.size(), 1u);
        EXPECT_EQ(s_events[0].event, GUI_EVENT_ACTION);
        EXPECT_EQ(s_events[0].value, step.action);
        EXPECT_EQ(TakeSounds(), step.sound ? std::vector<std::string>{"incdec"} : std::vector<std::string>{})
            << step.start << " " << step.action;
    }
    plain->SetSelection(2);
    plain->SetSelection(3); // out of range: unchanged
    EXPECT_EQ(plain->GetSelection(), 2);
    EXPECT_EQ(plain->GetOptionText(2), u"Two");

    s_events.clear();
    plain->Action(GUI_ACTION_SELECT);
    plain->Action(GUI_ACTION_BACK);
    ASSERT_EQ(s_events.size(), 2u);
    EXPECT_EQ(s_events[0].event, GUI_EVENT_ACTIVATED);
    EXPECT_EQ(s_events[1].event, GUI_EVENT_ACTION);
    EXPECT_EQ(s_events[1].value, GUI_ACTION_BACK);
}

TEST_F(GuiButtons, NumberRangesMakeTheirTextsWhenShownAndAnEmptyRangeChangesNothing)
{
    CGuiListButton* range = Find<CGuiListButton>(m_handles, 12);
    EXPECT_EQ(range->GetOptionCount(), 2000000003);
    EXPECT_EQ(range->GetOptionText(0), u"-2");
    EXPECT_EQ(range->GetOptionText(2000000002), u"2000000000");
    range->Action(GUI_ACTION_LEFT); // wraps to the last number
    EXPECT_EQ(range->GetSelection(), 2000000002);
    EXPECT_EQ(TakeSounds(), std::vector<std::string>{"incdec"});

    CGuiListButton* empty = Find<CGuiListButton>(m_handles, 13);
    EXPECT_EQ(empty->GetOptionCount(), 0);
    s_events.clear();
    for (int action : {GUI_ACTION_LEFT, GUI_ACTION_RIGHT})
        empty->Action(action);
    EXPECT_EQ(empty->GetSelection(), 0);
    EXPECT_TRUE(TakeSounds().empty());
    ASSERT_EQ(s_events.size(), 2u);
    EXPECT_EQ(s_events[1].value, GUI_ACTION_RIGHT);
    // Drawn, it shows its arrows and no text: no glyph of the fixture's fonts (page
    // 16 x 16) is used.
    m_renderer->ClearRecords();
    m_gui->SetFocus(empty->GetHandle());
    empty->Draw(0.5f);
    for (const SRecordedDraw& draw : m_renderer->m_draws)
        EXPECT_EQ(draw.texture, m_gui->GetSkin().texture);

    // Options added by a screen replace the range.
    range->AddOption("Only");
    EXPECT_EQ(range->GetOptionCount(), 1);
    EXPECT_EQ(range->GetSelection(), 0);
}

TEST_F(GuiButtons, AListButtonsUpOrDownLinkToNoEnabledControlRaisesSixOrSeven)
{
    CGuiListButton* list = Find<CGuiListButton>(m_handles, 10);
    Find<CGuiButton>(m_handles, 1)->SetEnabled(false);
    Find<CGuiButton>(m_handles, 2)->SetEnabled(false);
    Find<CGuiButton>(m_handles, 3)->SetEnabled(false);
    m_gui->SetFocus(list->GetHandle());
    s_events.clear();
    list->Action(GUI_ACTION_UP); // 3 disabled, its up link 2 disabled, ... back to 1: nothing
    ASSERT_EQ(s_events.size(), 2u);
    EXPECT_EQ(s_events[0].event, GUI_EVENT_UP_NO_TARGET);
    EXPECT_EQ(s_events[0].value, 3);
    EXPECT_EQ(s_events[1].event, GUI_EVENT_ACTION);
    EXPECT_EQ(s_events[1].value, GUI_ACTION_UP);
    EXPECT_EQ(m_gui->GetFocusHandle(), list->GetHandle());

    s_events.clear();
    list->Action(GUI_ACTION_DOWN); // 11 is enabled
    EXPECT_EQ(m_gui->GetFocusHandle(), m_gui->FindControlInLayout(m_handles, 11));
    ASSERT_EQ(s_events.size(), 1u);
    EXPECT_EQ(s_events[0].value, GUI_ACTION_DOWN);
}

TEST_F(GuiButtons, AClickOnAListButtonsArrowStepsAndBetweenThemActivates)
{
    CGuiListButton* list = Find<CGuiListButton>(m_handles, 11);
    const SGuiRect rect = list->GetScreenRect();
    // Arrows of width 14 inside the button border of 3: the left one covers x + 3 to
    // x + 16, the right one the last 14 pixels before the border.
    struct SClick
    {
        int x;
        int selection; // after the click
        int event;
        int value;
    };
    const SClick clicks[] = {
        {rect.x + 3, 2, GUI_EVENT_ACTION, GUI_ACTION_LEFT},
        {rect.x + 16, 1, GUI_EVENT_ACTION, GUI_ACTION_LEFT},
        {rect.x + 17, 1, GUI_EVENT_ACTIVATED, 0},
        {rect.x + rect.w - 4, 2, GUI_EVENT_ACTION, GUI_ACTION_RIGHT},
    };
    list->SetSelection(0);
    for (size_t i = 0; i < 4; ++i)
    {
        s_events.clear();
        EXPECT_TRUE(list->PointerClick(SGuiPoint{clicks[i].x, rect.y + 10}));
        EXPECT_EQ(list->GetSelection(), clicks[i].selection) << i;
        ASSERT_EQ(s_events.size(), 1u) << i;
        EXPECT_EQ(s_events[0].event, clicks[i].event) << i;
        EXPECT_EQ(s_events[0].value, clicks[i].value) << i;
    }
}
