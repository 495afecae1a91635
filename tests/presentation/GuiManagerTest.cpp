// The GUI manager: its table and layers, focus and navigation, the keyboard step's
// repeat timing, the pointer step's walks and click rules, and handlers that close
// windows while the manager is still walking them.

#include "tests/presentation/GuiFixture.h"

#include "platform/InputRing.h"

#include <algorithm>

TEST_F(CGuiTest, LookupsOutsideTheTableAndTheCursorCount)
{
    EXPECT_EQ(m_gui->GetControl(-1), nullptr);
    EXPECT_EQ(m_gui->GetControl(CGuiManager::MAX_CONTROLS), nullptr);
    EXPECT_EQ(m_gui->GetFont(4), nullptr);
    EXPECT_EQ(m_gui->GetFont(-1), nullptr);
    EXPECT_EQ(m_gui->GetFont(0), nullptr); // not loaded
    EXPECT_EQ(&m_gui->GetFontOrSystem(7), &m_gui->GetSystemFont());

    int a = AddWindow(2, {0, 0, 10, 10});
    int b = AddWindow(2, {0, 0, 10, 10});
    EXPECT_EQ(a, 0);
    EXPECT_EQ(b, 1);
    m_gui->CloseControl(a);
    EXPECT_EQ(m_gui->FindFreeHandle(), 0);
    m_gui->CloseControl(a); // an empty entry does nothing
    m_gui->DestroyControl(5000);

    EXPECT_EQ(m_gui->ShowMouseCursor(false), 0);
    EXPECT_EQ(m_gui->ShowMouseCursor(false), 0);
    EXPECT_EQ(m_gui->ShowMouseCursor(true), 1);
}

TEST_F(CGuiTest, AFullTableRefusesNewControls)
{
    for (int i = 0; i < CGuiManager::MAX_CONTROLS; ++i)
    {
        int handle = -1;
        ASSERT_TRUE(m_gui->AddControl(new CProbeControl(), handle));
        ASSERT_EQ(handle, i);
    }
    int handle = 7;
    EXPECT_FALSE(m_gui->AddControl(new CProbeControl(), handle)); // and deleted
    EXPECT_EQ(handle, -1);
    EXPECT_EQ(m_gui->FindFreeHandle(), -1);
}

TEST_F(CGuiTest, LayersAreClampedAndKeptFrontFirst)
{
    int a = AddWindow(7, {0, 0, 10, 10});
    int b = AddWindow(-2, {0, 0, 10, 10});
    int c = AddWindow(3, {0, 0, 10, 10});
    EXPECT_EQ(m_gui->GetWindow(a)->GetLayer(), 3);
    EXPECT_EQ(m_gui->GetWindow(b)->GetLayer(), 0);
    EXPECT_EQ(m_gui->GetLayer(3), (std::vector<int>{c, a}));
    m_gui->BringWindowToFront(a);
    EXPECT_EQ(m_gui->GetLayer(3), (std::vector<int>{a, c}));
    EXPECT_TRUE(m_gui->RemoveWindowFromLayer(a));
    EXPECT_FALSE(m_gui->RemoveWindowFromLayer(a));
    EXPECT_EQ(m_gui->GetWindow(a)->GetLayer(), -1);
    EXPECT_EQ(m_gui->GetLayer(3), (std::vector<int>{c}));
}

TEST_F(CGuiTest, TheDefaultFocusIsTheFirstWindowOfLayerTwoThenOneThenZero)
{
    int top = AddWindow(3, {0, 0, 10, 10});
    int low = AddWindow(1, {0, 0, 10, 10});
    int middle = AddWindow(2, {0, 0, 10, 10});
    EXPECT_TRUE(m_gui->SetFocus(-1));
    EXPECT_EQ(m_gui->GetFocusHandle(), middle);
    EXPECT_TRUE(m_gui->GetControl(middle)->IsFocused());

    m_gui->GetControl(middle)->SetVisible(false); // the focus moves on by itself
    EXPECT_EQ(m_gui->GetFocusHandle(), low);
    EXPECT_FALSE(m_gui->GetControl(middle)->IsFocused());

    m_gui->GetControl(low)->SetVisible(false);
    EXPECT_EQ(m_gui->GetFocusHandle(), -1); // layer 3 is never the default
    EXPECT_TRUE(m_gui->SetFocus(top));
    EXPECT_FALSE(m_gui->SetFocus(900)); // empty: false, flags cleared
    EXPECT_FALSE(m_gui->GetControl(top)->IsFocused());
}

TEST_F(CGuiTest, AnActionFiresAtOnceThenEvery350MillisecondsAndATapFiresOnce)
{
    int window = AddWindow(2, {0, 0, 100, 100});
    int handle = -1;
    CProbeControl* probe = AddProbe(window, {0, 0, 10, 10}, 1, &handle);
    ASSERT_TRUE(m_gui->SetFocus(handle));

    // Frame k runs at 1040 + 40 k. Not pressed in frame 0 (stamp 1040 - 350); pressed in
    // frames 1 to 20: fires at 1080 (more than 350 after 690), then after 1080 + 350 at
    // 1440 (frame 10), then at 1800 (frame 19). Let go in frame 21; one-frame taps in
    // frames 22 and 24 fire each.
    std::vector<int> fired;
    for (int k = 0; k <= 25; ++k)
    {
        const bool pressed = (k >= 1 && k <= 20) || k == 22 || k == 24;
        size_t before = probe->m_actions.size();
        if (pressed)
            Frame({GUI_ACTION_DOWN});
        else
            Frame();
        if (probe->m_actions.size() > before)
            fired.push_back(k);
    }
    EXPECT_EQ(fired, (std::vector<int>{1, 10, 19, 22, 24}));
    EXPECT_TRUE(std::all_of(probe->m_actions.begin(), probe->m_actions.end(), [](int a) { return a == 5; }));
    EXPECT_EQ(s_events.size(), 5u);
    EXPECT_EQ(s_events[0].event, GUI_EVENT_ACTION);
    EXPECT_EQ(s_events[0].controlId, 1);
    EXPECT_EQ(s_events[0].value, 5);

    // Each action keeps its own stamp, in the order up, down, left, right, select, back;
    // select also comes from row 8, and back from the right button.
    probe->m_actions.clear();
    Frame();
    Frame({GUI_ACTION_RIGHT, GUI_ACTION_UP, GUI_ACTION_SELECT_2});
    EXPECT_EQ(probe->m_actions, (std::vector<int>{4, 7, 8}));
    probe->m_actions.clear();
    Pointer(5, 5, MOUSE_RING_RIGHT_DOWN);
    Frame(); // the pointer step comes after the keyboard step
    Frame();
    Frame();
    Pointer(5, 5, MOUSE_RING_RIGHT_UP);
    Frame();
    Frame();
    EXPECT_EQ(probe->m_actions, (std::vector<int>{1}));
}

TEST_F(CGuiTest, CharactersGoToTheFocusAndAreDroppedWithoutOne)
{
    int window = AddWindow(2, {0, 0, 100, 100});
    int handle = -1;
    CProbeControl* probe = AddProbe(window, {0, 0, 10, 10}, 1, &handle);
    m_renderer->GetKeyRing().Push('q');
    Frame();
    EXPECT_TRUE(probe->m_characters.empty());
    EXPECT_TRUE(m_renderer->GetKeyRing().IsEmpty());
    m_gui->SetFocus(handle);
    m_renderer->GetKeyRing().Push('a');
    m_renderer->GetKeyRing().Push(KEY_RING_LEFT);
    Frame();
    EXPECT_EQ(probe->m_characters, (std::vector<uint32_t>{'a', KEY_RING_LEFT}));
}

TEST_F(CGuiTest, AClickIsAReleaseNearThePressMoreThan250MillisecondsAfterTheLastClick)
{
    int window = AddWindow(2, {0, 0, 200, 200});
    CProbeControl* probe = AddProbe(window, {10, 10, 50, 50});
    struct SCase
    {
        const char* what;
        int releaseX, releaseY;
        uint32_t wait; // ms before the press
        bool clicks;
    };
    const SCase cases[] = {
        {"release where pressed", 20, 20, 1000, true},
        {"again 250 ms after the click", 20, 20, 250, false},
        {"again 251 ms after the click", 20, 20, 1, true},
        {"one pixel off on both axes", 21, 21, 1000, true},
        {"two pixels off", 22, 20, 1000, false},
    };
    for (const SCase& c : cases)
    {
        const int before = probe->m_clicks;
        s_now += c.wait - 40;
        Pointer(20, 20, MOUSE_RING_LEFT_DOWN);
        Pointer(c.releaseX, c.releaseY, MOUSE_RING_LEFT_UP);
        Frame();
        EXPECT_EQ(probe->m_clicks - before, c.clicks ? 1 : 0) << c.what;
    }
    EXPECT_EQ(probe->m_presses, 5);
    // A release without a press is no click.
    s_now += 1000;
    Pointer(20, 20, MOUSE_RING_LEFT_UP);
    Frame();
    EXPECT_EQ(probe->m_clicks, 3);
}

TEST_F(CGuiTest, OnlyTheTopmostRealWindowTakesAClickAndComesToTheFront)
{
    int back = AddWindow(2, {0, 0, 200, 200});
    CProbeControl* behind = AddProbe(back, {10, 10, 50, 50});
    int front = AddWindow(2, {0, 0, 100, 100});
    CProbeControl* before = AddProbe(front, {10, 10, 50, 50});
    auto click = [&](int x, int y) {
        s_now += 1000;
        Pointer(x, y, MOUSE_RING_LEFT_DOWN);
        Pointer(x, y, MOUSE_RING_LEFT_UP);
        Frame();
    };
    click(20, 20);
    EXPECT_EQ(before->m_clicks, 1);
    EXPECT_EQ(behind->m_clicks, 0);

    // A hidden window and a dummy window in front do not stop the click.
    m_gui->GetControl(front)->SetVisible(false);
    click(20, 20);
    EXPECT_EQ(behind->m_clicks, 1);
    EXPECT_EQ(m_gui->GetLayer(2).front(), back);
    m_gui->BringWindowToFront(front);
    m_gui->GetControl(front)->SetVisible(true);
    m_gui->GetWindow(front)->SetDummy(true);
    click(20, 20);
    EXPECT_EQ(behind->m_clicks, 2);
    EXPECT_EQ(before->m_clicks, 1);

    // A real window in front that is not hit ends the walk: the window behind it gets
    // nothing either.
    m_gui->GetWindow(front)->SetDummy(false);
    m_gui->BringWindowToFront(front);
    click(150, 150);
    EXPECT_EQ(behind->m_clicks, 2);
    EXPECT_EQ(m_gui->GetLayer(2).front(), front);
}

TEST_F(CGuiTest, HoverFocusGoesToTheTopmostRealWindowOnly)
{
    int back = AddWindow(1, {0, 0, 200, 200});
    int behindHandle = -1;
    AddProbe(back, {10, 10, 50, 50}, -1, &behindHandle);
    int dummy = AddWindow(3, {0, 0, 200, 200}, true);
    int dummyProbe = -1;
    AddProbe(dummy, {100, 100, 50, 50}, -1, &dummyProbe);
    int front = AddWindow(2, {0, 0, 100, 100});
    int frontHandle = -1;
    AddProbe(front, {10, 10, 50, 50}, -1, &frontHandle);

    Pointer(20, 20, MOUSE_RING_MOVE);
    Frame();
    EXPECT_EQ(m_gui->GetFocusHandle(), frontHandle);
    // Within 2 pixels nothing is offered.
    m_gui->SetFocus(behindHandle);
    Pointer(22, 22, MOUSE_RING_MOVE);
    Frame();
    EXPECT_EQ(m_gui->GetFocusHandle(), behindHandle);
    // The dummy window above is still offered the position.
    Pointer(120, 120, MOUSE_RING_MOVE);
    Frame();
    EXPECT_EQ(m_gui->GetFocusHandle(), dummyProbe);
}

TEST_F(CGuiTest, ThePointerIsClampedAndScaledToTheGuiSpace)
{
    MakeManager(800);
    struct SCase
    {
        int x, y, guiX, guiY;
    };
    for (const SCase& c : {SCase{799, 599, 639, 479}, SCase{1000, -5, 639, 0}, SCase{401, 301, 321, 241},
                           SCase{400, 300, 320, 240}})
    {
        Pointer(c.x, c.y, MOUSE_RING_MOVE);
        Frame();
        int x = -1, y = -1;
        m_gui->GetMousePosition(x, y);
        EXPECT_EQ(x, c.guiX) << c.x;
        EXPECT_EQ(y, c.guiY) << c.y;
    }
}

TEST_F(CGuiTest, AHandlerThatClosesItsOwnWindowEndsTheWalksSafely)
{
    int window = AddWindow(2, {0, 0, 200, 200});
    int handle = -1;
    CProbeControl* probe = AddProbe(window, {10, 10, 50, 50}, 1, &handle);
    m_gui->SetFocus(handle);
    s_onEvent = [&](const SGuiEventRecord&) { m_gui->CloseControl(window); };

    // Up closes the window; down, pressed in the same frame, must not reach the
    // removed control, and the characters behind it have no focus to go to.
    m_renderer->GetKeyRing().Push('x');
    Frame({GUI_ACTION_UP, GUI_ACTION_DOWN});
    EXPECT_EQ(m_gui->GetControl(window), nullptr);
    EXPECT_EQ(m_gui->GetControl(handle), nullptr);
    EXPECT_EQ(m_gui->GetFocusHandle(), -1);
    EXPECT_EQ(s_events.size(), 1u);
    (void)probe; // deleted once the step ended
    m_renderer->GetKeyRing().Push('y');
    Frame({GUI_ACTION_DOWN});
    EXPECT_EQ(s_events.size(), 1u);

    // A click whose handler closes the window: nothing is brought to the front.
    int second = AddWindow(2, {0, 0, 200, 200});
    AddProbe(second, {10, 10, 50, 50});
    int other = AddWindow(2, {0, 0, 5, 5}); // in front: the clicked window would come forward
    m_gui->GetControl(other)->SetVisible(false);
    s_onEvent = [&](const SGuiEventRecord&) { m_gui->CloseControl(second); };
    s_now += 1000;
    Pointer(20, 20, MOUSE_RING_LEFT_DOWN);
    Pointer(20, 20, MOUSE_RING_LEFT_UP);
    Frame();
    EXPECT_EQ(m_gui->GetControl(second), nullptr);
    EXPECT_EQ(std::count(m_gui->GetLayer(2).begin(), m_gui->GetLayer(2).end(), second), 0);
}

TEST_F(CGuiTest, NavigationPassesDisabledControlsAndStopsOnALoop)
{
    int window = AddWindow(2, {0, 0, 200, 200});
    int handles[7];
    CProbeControl* probes[7];
    for (int i = 1; i <= 6; ++i)
        probes[i] = AddProbe(window, {0, 10 * i, 10, 10}, i, &handles[i]);
    probes[1]->SetLinks(-1, 2, -1, 9);  // down to 2; right to an id nobody has
    probes[2]->SetLinks(-1, 3, -1, -1); // 2 is disabled: on to 3
    probes[2]->SetEnabled(false);
    probes[4]->SetLinks(-1, 5, -1, -1); // 5 and 6 are disabled and name each other
    probes[5]->SetLinks(-1, 6, -1, -1);
    probes[6]->SetLinks(-1, 5, -1, -1);
    probes[5]->SetEnabled(false);
    probes[6]->SetEnabled(false);

    EXPECT_EQ(m_gui->FindNavigationTarget(*probes[1], 2, GUI_ACTION_DOWN), handles[3]);
    EXPECT_EQ(m_gui->FindNavigationTarget(*probes[4], 5, GUI_ACTION_DOWN), -1);
    EXPECT_EQ(m_gui->FindNavigationTarget(*probes[1], 9, GUI_ACTION_RIGHT), -1);
    EXPECT_EQ(m_gui->FindNavigationTarget(*probes[1], -1, GUI_ACTION_UP), -1);

    m_gui->SetFocus(handles[1]);
    EXPECT_TRUE(probes[1]->Navigate(GUI_ACTION_DOWN));
    EXPECT_EQ(m_gui->GetFocusHandle(), handles[3]);
    EXPECT_TRUE(probes[3]->IsFocused());
    EXPECT_FALSE(probes[1]->IsFocused());
    EXPECT_FALSE(probes[1]->Navigate(GUI_ACTION_RIGHT));
    EXPECT_EQ(m_gui->GetFocusHandle(), handles[3]);
}

TEST_F(CGuiTest, IdsAreLookedUpInTheirOwnWindowFirst)
{
    // Two popups loaded from one layout share their ids.
    int first = AddWindow(2, {0, 0, 100, 100});
    int firstHandle = -1;
    CProbeControl* inFirst = AddProbe(first, {0, 0, 10, 10}, 101, &firstHandle);
    int second = AddWindow(2, {0, 0, 100, 100});
    int secondHandle = -1;
    CProbeControl* inSecond = AddProbe(second, {0, 0, 10, 10}, 101, &secondHandle);
    AddProbe(second, {0, 20, 10, 10}, 102);
    int found = -1;
    EXPECT_TRUE(m_gui->FindControlById(101, found));
    EXPECT_EQ(found, firstHandle);
    EXPECT_EQ(m_gui->FindControlNear(*inSecond, 101), secondHandle);
    EXPECT_EQ(m_gui->FindControlNear(*inFirst, 101), firstHandle);
    EXPECT_NE(m_gui->FindControlNear(*inFirst, 102), -1); // elsewhere when not at home
    EXPECT_EQ(m_gui->FindControlNear(*inFirst, 103), -1);
}

TEST_F(CGuiTest, DestroyingEverythingRemovesControlsBeforeWindows)
{
    std::vector<std::string> deaths;
    struct CLoggedWindow : CGuiWindow
    {
        CLoggedWindow(std::vector<std::string>& log) : CGuiWindow(SGuiWindowDesc()), m_log(log) {}
        ~CLoggedWindow() override { m_log.push_back("window"); }
        std::vector<std::string>& m_log;
    };
    for (int i = 0; i < 2; ++i)
    {
        int window = -1;
        ASSERT_TRUE(m_gui->AddControl(new CLoggedWindow(deaths), window));
        m_gui->AddWindowToLayer(window, i);
        AddProbe(window, {0, 0, 5, 5})->m_deathLog = &deaths;
        AddProbe(window, {0, 5, 5, 5})->m_deathLog = &deaths;
    }
    m_gui->SetFocus(-1);
    m_gui->DestroyAllControls();
    EXPECT_EQ(deaths, (std::vector<std::string>{"probe", "probe", "probe", "probe", "window", "window"}));
    EXPECT_EQ(m_gui->FindFreeHandle(), 0);
    EXPECT_EQ(m_gui->GetFocusHandle(), -1);
    EXPECT_TRUE(m_gui->GetLayer(0).empty());
    EXPECT_TRUE(m_gui->GetLayer(1).empty());
}

TEST_F(CGuiTest, TheHighlightPulsesBetween255And128InStepsOf10ALayer)
{
    std::vector<uint32_t> levels;
    for (int i = 0; i < 16; ++i)
    {
        m_gui->DrawLayer(i % 4, 0.0f);
        levels.push_back(m_gui->GetHighlightColour() & 0xFF);
        EXPECT_EQ(m_gui->GetHighlightColour() >> 8, 0xFF0000u | (levels.back() << 8) | levels.back());
    }
    EXPECT_EQ(levels, (std::vector<uint32_t>{255, 245, 235, 225, 215, 205, 195, 185, 175, 165, 155, 145, 135, 128,
                                             138, 148}));
}

TEST_F(CGuiTest, LayersDrawBackToFrontOverTheWholeBackBuffer)
{
    std::vector<int> order;
    struct CDrawn : CGuiWindow
    {
        CDrawn(std::vector<int>& log, int id) : CGuiWindow(SGuiWindowDesc()), m_log(log), m_id(id) {}
        bool Draw(float) override
        {
            m_log.push_back(m_id);
            return true;
        }
        std::vector<int>& m_log;
        int m_id;
    };
    for (int id = 0; id < 3; ++id)
    {
        int handle = -1;
        ASSERT_TRUE(m_gui->AddControl(new CDrawn(order, id), handle));
        m_gui->AddWindowToLayer(handle, 1); // each new one in front
    }
    m_renderer->ClearRecords();
    m_gui->DrawLayer(1, 0.25f);
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    EXPECT_NE(std::find(m_renderer->m_calls.begin(), m_renderer->m_calls.end(), "ortho 0 0 640 480"),
              m_renderer->m_calls.end());
}
