#include "tests/presentation/GuiControlFixture.h"

#include "core/StringTable.h"
#include "presentation/GuiAlertBox.h"
#include "presentation/GuiButton.h"
#include "presentation/GuiEditBox.h"
#include "presentation/GuiImage.h"
#include "presentation/GuiListButton.h"
#include "presentation/GuiTextBox.h"
#include "presentation/GuiTooltip.h"
#include "presentation/GuiWindow3D.h"
#include "tests/presentation/GuiSkinText.h"
#include "tests/support/core/StringTableFixture.h"

namespace
{
// A window with one control of every class, a window inside it, and a 3D window.
const char* const EVERY_CLASS = R"(layout
{
	window
	{
		x 100
		y 50
		w 400
		h 300
		controlid 1000
		caption Every class
		window
		{
			x 200
			y 100
			w 100
			h 60
			controlid 1010
			button
			{
				x 5
				y 5
				w 40
				h 20
				controlid 1011
			}
		}
		button
		{
			x 10
			y 10
			w 100
			h 20
			controlid 1001
			tooltipcontrolid 1008
		}
		imagebutton
		{
			x 120
			y 10
			controlid 1002
			imagename picture.tga
			bordered true
		}
		staticimage
		{
			x 160
			y 10
			controlid 1003
			imagename picture.tga
		}
		textbox
		{
			x 10
			y 40
			w 100
			h 40
			controlid 1004
			string0 Some text
		}
		editbox
		{
			x 10
			y 90
			w 100
			h 14
			controlid 1005
		}
		listbutton
		{
			x 10
			y 110
			w 100
			h 20
			controlid 1006
			option0 One
		}
		statictext
		{
			x 10
			y 140
			controlid 1007
			string Label
		}
		tooltip
		{
			x 10
			y 160
			w 100
			h 20
			controlid 1008
			caption Tip
		}
		alertbox
		{
			x 50
			y 50
			w 200
			h 100
			controlid 1009
			page0
			{
				line0 Alert
			}
		}
	}
	window
	{
		3dwindow true
		layer 7
		controlid 2000
	}
}
)";
} // namespace

TEST_F(CGuiControlTest, ALayoutWithEveryClassMakesEveryControl)
{
    m_folder.WritePage("../../picture.tga", 24, 12);
    const std::vector<int> handles = LoadLayoutText(EVERY_CLASS, 77);
    ASSERT_EQ(handles.size(), 13u);

    CGuiWindow* window = Find<CGuiWindow>(handles, 1000);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->IsVisible());
    EXPECT_EQ(window->GetLayer(), 2);
    EXPECT_EQ(window->GetCaption(), "Every class");
    EXPECT_EQ(window->GetOwner(), 77);
    ASSERT_EQ(window->GetChildren().size(), 10u);
    EXPECT_EQ(window->GetChildren()[0]->GetControlId(), 1010);

    struct SExpected
    {
        int id;
        int type;
        bool visible;
    };
    const SExpected expected[] = {
        {1001, GUI_TYPE_BUTTON, true},      {1002, GUI_TYPE_IMAGE_BUTTON, true}, {1003, GUI_TYPE_STATIC_IMAGE, true},
        {1004, GUI_TYPE_TEXT_BOX, true},    {1005, GUI_TYPE_EDIT_BOX, true},     {1006, GUI_TYPE_LIST_BUTTON, true},
        {1007, GUI_TYPE_STATIC_TEXT, true}, {1008, GUI_TYPE_TOOLTIP, false},     {1009, GUI_TYPE_ALERT_BOX, false},
        {1010, GUI_TYPE_WINDOW, true},      {1011, GUI_TYPE_BUTTON, true},
    };
    for (const SExpected& e : expected)
    {
        CGuiControl* control = Find<CGuiControl>(handles, e.id);
        ASSERT_NE(control, nullptr) << e.id;
        EXPECT_EQ(control->GetType(), e.type) << e.id;
        EXPECT_EQ(control->IsVisible(), e.visible) << e.id;
        EXPECT_EQ(control->GetOwner(), 77) << e.id;
    }
    // The inner window holds its own button, placed inside it.
    CGuiWindow* inner = Find<CGuiWindow>(handles, 1010);
    ASSERT_EQ(inner->GetChildren().size(), 1u);
    EXPECT_EQ(inner->GetChildren()[0], Find<CGuiControl>(handles, 1011));
    EXPECT_EQ(inner->GetLayer(), -1);
    // 100 + border 4 + 200 + border 4 + 5; 50 + border 5 + caption 12 + 100 + border 5 + 5.
    EXPECT_EQ(Find<CGuiControl>(handles, 1011)->GetScreenRect().x, 313);
    EXPECT_EQ(Find<CGuiControl>(handles, 1011)->GetScreenRect().y, 177);

    // Pictures of size 0 take the image's own; a bordered image button adds its border.
    EXPECT_EQ(Find<CGuiStaticImage>(handles, 1003)->GetRect().w, 24);
    EXPECT_EQ(Find<CGuiStaticImage>(handles, 1003)->GetRect().h, 12);
    EXPECT_EQ(Find<CGuiImageButton>(handles, 1002)->GetRect().w, 24 + 2 * 3);
    EXPECT_EQ(Find<CGuiImageButton>(handles, 1002)->GetRect().h, 12 + 2 * 2);

    // The 3D window of layer 7 went on layer 3.
    CGuiWindow3D* view = Find<CGuiWindow3D>(handles, 2000);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetLayer(), 3);
    EXPECT_EQ(m_gui->GetLayer(3).front(), view->GetHandle());
    EXPECT_EQ(m_gui->GetLayer(2).front(), window->GetHandle());

    // Events carry the owner.
    Find<CGuiButton>(handles, 1001)->Action(GUI_ACTION_SELECT);
    ASSERT_EQ(s_events.size(), 1u);
    EXPECT_EQ(s_events[0].owner, 77);
    EXPECT_EQ(s_events[0].controlId, 1001);
    EXPECT_EQ(s_events[0].event, GUI_EVENT_ACTIVATED);
}

TEST_F(CGuiControlTest, TwoOpenLayoutsWithTheSameIdsKeepToTheirOwnControls)
{
    const std::string popup = R"(layout
{
	window
	{
		w 200
		h 100
		controlid 100
		button
		{
			w 50
			h 20
			controlid 102
			rightcontrolid 103
		}
		button
		{
			x 60
			w 50
			h 20
			controlid 103
			leftcontrolid 102
		}
	}
}
)";
    const std::vector<int> first = LoadLayoutText(popup, 1);
    const std::vector<int> second = LoadLayoutText(popup, 2);
    ShowWindows(first);
    ShowWindows(second);
    for (int id : {100, 102, 103})
    {
        const int a = m_gui->FindControlInLayout(first, id), b = m_gui->FindControlInLayout(second, id);
        ASSERT_GE(a, 0);
        ASSERT_GE(b, 0);
        EXPECT_NE(a, b) << id;
    }
    EXPECT_EQ(m_gui->FindControlInLayout(first, 999), -1);

    // Moving right from the second popup's confirm reaches the second popup's cancel.
    CGuiButton* confirm = Find<CGuiButton>(second, 102);
    ASSERT_TRUE(m_gui->SetFocus(confirm->GetHandle()));
    s_events.clear();
    confirm->Action(GUI_ACTION_RIGHT);
    EXPECT_EQ(m_gui->GetFocusHandle(), m_gui->FindControlInLayout(second, 103));
    ASSERT_FALSE(s_events.empty());
    EXPECT_EQ(s_events.back().owner, 2);

    // Closing the first popup leaves the second whole.
    m_gui->CloseControl(m_gui->FindControlInLayout(first, 100));
    EXPECT_EQ(m_gui->FindControlInLayout(first, 102), -1);
    EXPECT_NE(Find<CGuiButton>(second, 102), nullptr);
}

TEST_F(CGuiControlTest, AFullControlTableSkipsWhatItCannotHoldAndTheLayoutStillLoads)
{
    // Leave room for the window and two controls of five.
    std::vector<int> fillers;
    for (int i = 0; i < CGuiManager::MAX_CONTROLS - 3; ++i)
    {
        SGuiStaticTextDesc desc;
        int handle = -1;
        ASSERT_TRUE(m_gui->CreateStaticText(desc, handle));
    }
    const std::vector<int> handles = LoadLayoutText(
        "layout\n{\nwindow\n{\ncontrolid 1\nbutton\n{\ncontrolid 2\n}\nbutton\n{\ncontrolid 3\n}\n"
        "button\n{\ncontrolid 4\n}\nbutton\n{\ncontrolid 5\n}\n}\n}\n");
    EXPECT_EQ(handles.size(), 3u);
    CGuiWindow* window = Find<CGuiWindow>(handles, 1);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->GetChildren().size(), 2u);
    int handle = 7;
    EXPECT_FALSE(m_gui->CreateButton(SGuiButtonDesc(), handle));
    EXPECT_EQ(handle, -1);
}

TEST_F(CGuiControlTest, ALayoutThatCannotBeReadBuildsNothing)
{
    std::vector<int> handles;
    EXPECT_FALSE(m_gui->LoadLayout("data/none.txt", 0, &handles));
    EXPECT_TRUE(handles.empty());
}

TEST_F(CGuiControlTest, StringTableTextsAreLookedUpByKeyAndIdAndAgainOnRefresh)
{
    CStringTable table;
    std::string error;
    ASSERT_TRUE(LoadStringTableSource("[English]\nGo = Go now\nQuit = Leave\nEasy = Easy\n", table, error)) << error;
    g_stringTable = &table;
    uint32_t quit = 0;
    ASSERT_TRUE(table.FindIdW(u"Quit", quit));
    const std::vector<int> handles = LoadLayoutText(
        "layout\n{\nwindow\n{\nbutton\n{\ncontrolid 1\ncaptionidstring Go\ncaption Literal\n}\n"
        "statictext\n{\ncontrolid 2\ncaptionid " +
        std::to_string(quit) + "\n}\nlistbutton\n{\ncontrolid 3\noptionidstring0 Easy\noption1 Hard\n}\n}\n}\n");
    EXPECT_EQ(Find<CGuiButton>(handles, 1)->GetCaption(), u"Go now");
    EXPECT_EQ(Find<CGuiStaticText>(handles, 2)->GetText(), u"Leave");
    EXPECT_EQ(Find<CGuiListButton>(handles, 3)->GetOptionText(0), u"Easy");
    EXPECT_EQ(Find<CGuiListButton>(handles, 3)->GetOptionText(1), u"Hard");

    // Another table with the same keys: the texts follow once refreshed.
    CStringTable other;
    ASSERT_TRUE(LoadStringTableSource("[English]\nGo = Start\nQuit = Exit\nEasy = Simple\n", other, error)) << error;
    g_stringTable = &other;
    for (int handle : handles)
        m_gui->GetControl(handle)->RefreshStrings();
    EXPECT_EQ(Find<CGuiButton>(handles, 1)->GetCaption(), u"Start");
    EXPECT_EQ(Find<CGuiStaticText>(handles, 2)->GetText(), u"Exit");
    EXPECT_EQ(Find<CGuiListButton>(handles, 3)->GetOptionText(0), u"Simple");
    g_stringTable = nullptr;
}

TEST_F(CGuiControlTest, TheSkinsPiecesBecomeTextureCoordinatesAndItsSizesBorders)
{
    const SGuiSkin& skin = m_gui->GetSkin();
    ASSERT_GE(skin.texture, 0);
    // Piece 11 (window1's top-left corner) lies at 48, 16 and is 8 x 6.
    EXPECT_FLOAT_EQ(skin.pieces[11].u0, 48.0f / 128.0f);
    EXPECT_FLOAT_EQ(skin.pieces[11].v0, 16.0f / 160.0f);
    EXPECT_FLOAT_EQ(skin.pieces[11].u1, 56.0f / 128.0f);
    EXPECT_FLOAT_EQ(skin.pieces[11].v1, 22.0f / 160.0f);
    EXPECT_FLOAT_EQ(skin.invWidth, 1.0f / 128.0f);
    EXPECT_EQ(skin.windowBorderWidth, 4);
    EXPECT_EQ(skin.listButtonArrowWidth, 14);
    EXPECT_EQ(skin.alertBorderWidth, 5);
    EXPECT_TRUE(m_gui->GetSystemFont().IsLoaded());
    EXPECT_NE(m_gui->GetFont(0), nullptr);
    EXPECT_NE(m_gui->GetFont(1), nullptr);
    EXPECT_EQ(m_gui->GetFont(2), nullptr); // the skin names no font 2
    EXPECT_EQ(m_gui->GetFont(0)->GetNumberSpaceFixup(), 1);
    EXPECT_GE(m_gui->GetDefaultSound(CGuiManager::SOUND_SELECT), 0);
}

TEST_F(CGuiControlTest, ASkinThatCannotBeUsedLeavesNoTextureBehind)
{
    struct SCase
    {
        std::string skin;
        bool texture;
        const char* what;
    };
    const SCase cases[] = {
        {RemoveSkinKey(MakeSkinText(), "window2", ""), true, "a missing frame set"},
        {RemoveSkinKey(MakeSkinText(), "tooltips", "frame_br_corner_sb"), true, "an incomplete tooltip block"},
        {RemoveSkinKey(MakeSkinText(), "", "systemfont") , true, "no system font of the default name"},
        {MakeSkinText(), false, "no texture"},
    };
    for (const SCase& c : cases)
    {
        MakeManager(640);
        m_folder.GetDir().WriteFile("data/gui/broken.skin", c.skin);
        if (c.texture)
            m_folder.WritePage("broken.tga", 128, 160);
        else
            std::remove((m_folder.GetDir().GetPath() + "/data/gui/broken.tga").c_str());
        EXPECT_FALSE(m_gui->LoadSkin("broken")) << c.what;
        EXPECT_EQ(m_gui->GetSkin().texture, -1) << c.what;
        m_gui.reset();
        EXPECT_EQ(m_renderer->CountLiveTextures(), 0) << c.what;
    }
}

namespace
{
// A renderer whose textures report no pixels.
class CEmptyTextureRenderer : public CVertexRecordingRenderer
{
public:
    bool LoadTexture(const char* fileName, bool noCompression, int wrapS, int wrapT, int kind, bool filter, int* index,
                     int* width, int* height) override
    {
        bool loaded = CVertexRecordingRenderer::LoadTexture(fileName, noCompression, wrapS, wrapT, kind, filter, index,
                                                            width, height);
        if (width)
            *width = 0;
        return loaded;
    }
};
} // namespace

TEST_F(CGuiControlTest, ASkinTextureWithoutPixelsIsRefused)
{
    m_gui.reset();
    CEmptyTextureRenderer renderer;
    CGuiManager gui(renderer);
    EXPECT_FALSE(gui.LoadSkin("test"));
    EXPECT_EQ(gui.GetSkin().texture, -1);
    EXPECT_EQ(renderer.CountLiveTextures(), 0);
}

namespace
{
// A recording renderer that also notes viewports and projections.
class CViewportRenderer : public CVertexRecordingRenderer
{
public:
    CViewportRenderer() : CVertexRecordingRenderer(false, 800) {}
    void ResetViewport() override { m_calls.push_back("reset viewport"); }
    void SetViewport(int x, int y, int w, int h) override
    {
        m_calls.push_back("viewport " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(w) + " " +
                          std::to_string(h));
    }
    void SetPerspective(int w, int h) override
    {
        m_calls.push_back("perspective " + std::to_string(w) + " " + std::to_string(h));
    }
};

void NoteView(CGuiWindow3D&, float, void* user)
{
    static_cast<CViewportRenderer*>(user)->m_calls.push_back("3d");
}
} // namespace

TEST_F(CGuiControlTest, A3DWindowGivesItsInnerRectangleToItsViewAndTheScreenBackAfterwards)
{
    m_gui.reset();
    CViewportRenderer renderer;
    CGuiManager gui(renderer);
    ASSERT_TRUE(gui.LoadSkin("test"));
    m_folder.GetDir().WriteFile("data/view.txt", "layout\n{\nwindow\n{\n3dwindow true\nx 40\ny 20\nw 200\nh 100\n}\n}\n");
    std::vector<int> handles;
    ASSERT_TRUE(gui.LoadLayout("data/view.txt", 0, &handles));
    auto* view = dynamic_cast<CGuiWindow3D*>(gui.GetControl(handles.at(0)));
    ASSERT_NE(view, nullptr);
    view->SetVisible(true);
    view->Set3DCallback(&NoteView, &renderer);
    renderer.m_calls.clear();
    EXPECT_TRUE(view->Draw(0.5f));
    // Inner rectangle 44, 25, 192 x 90 (borders 4 x 5), scaled by 800 / 640 = 1.25.
    std::vector<std::string> seen;
    for (const std::string& call : renderer.m_calls)
        if (call.rfind("viewport", 0) == 0 || call.rfind("perspective", 0) == 0 || call == "3d" ||
            call == "reset viewport" || call.rfind("ortho", 0) == 0)
            seen.push_back(call);
    ASSERT_GE(seen.size(), 5u);
    const std::vector<std::string> tail(seen.end() - 5, seen.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"viewport 55 31 240 113", "perspective 240 113", "3d",
                                              "reset viewport", "ortho 0 0 800 600"}));
}
