// The demonstration layout of the sample data with the default skin and fonts, drawn
// as the game draws the GUI (the layers as draw hooks of the sprite bank's planes) in
// three states: the focus on a button (its tooltip shown), an edit box with text, and
// an open alert box. Exact on the software device, within the renderers' tolerance on
// OpenGL. Set TESS_UPDATE_GOLDENS=1 to write the pictures again after an intended change.

#include "platform/D3D8Renderer.h"
#include "platform/OpenGLRenderer.h"
#include "presentation/GuiAlertBox.h"
#include "presentation/GuiEditBox.h"
#include "presentation/GuiManager.h"
#include "presentation/GuiWindow.h"
#include "presentation/SpriteBank.h"
#include "tests/support/CurrentDir.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/ImageCompare.h"
#include "tests/support/TempDir.h"
#include "tests/support/platform/OffscreenGl.h"
#include "tests/support/platform/TestWindow.h"
#include "tests/support/presentation/SpriteScene.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{
enum EDemoState
{
    DEMO_BUTTON_FOCUS,
    DEMO_EDIT_TEXT,
    DEMO_ALERT,
};

const char* const GOLDEN_NAMES[] = {"gui_demo_focus", "gui_demo_edit", "gui_demo_alert"};

uint32_t DemoClock()
{
    return 100000;
}

// The demonstration in a state, drawn as one frame (0xAARRGGBB pixels, 640 x 480).
std::vector<uint32_t> DrawDemo(CRenderer& renderer, EDemoState state)
{
    // The built skin, fonts and layout, in a folder of the test's own (the program
    // folder's screenshot stamp stays out of the picture).
    CTempDir dir;
    std::error_code error;
    std::filesystem::create_directories(dir.Join("data"), error);
    std::filesystem::copy(std::string(TESS_BIN_DIR) + "/data/gui", dir.Join("data/gui"),
                          std::filesystem::copy_options::recursive, error);
    if (error)
    {
        ADD_FAILURE() << "cannot copy the sample GUI data: " << error.message();
        return {};
    }
    CCurrentDir current(dir.GetPath());
    CSpriteBank bank;
    std::vector<uint32_t> pixels;
    if (!bank.Init(&renderer))
        return pixels;
    {
        CGuiManager gui(renderer);
        gui.SetClock(&DemoClock);
        gui.StampFrameTime();
        gui.ShowMouseCursor(false);
        gui.SetPilotName(u"KIM");
        std::vector<int> handles;
        if (!gui.LoadSkin("defaultSkin") || !gui.LoadLayout("data/gui/layouts/demo.txt", 1, &handles))
        {
            ADD_FAILURE() << "the sample skin or demonstration layout does not load";
            return pixels;
        }
        gui.InstallLayerDrawCallbacks(bank);
        gui.GetWindow(gui.FindControlInLayout(handles, 9000))->SetVisible(true);
        switch (state)
        {
        case DEMO_BUTTON_FOCUS:
            gui.SetFocus(gui.FindControlInLayout(handles, 9001));
            break;
        case DEMO_EDIT_TEXT:
        {
            auto* edit = dynamic_cast<CGuiEditBox*>(gui.GetControl(gui.FindControlInLayout(handles, 9006)));
            gui.SetFocus(edit->GetHandle());
            for (char c : std::string("Kim Ro"))
                edit->CharInput(uint8_t(c));
            break;
        }
        case DEMO_ALERT:
        {
            auto* alert = dynamic_cast<CGuiAlertBox*>(gui.GetControl(gui.FindControlInLayout(handles, 9012)));
            alert->Show();
            alert->Action(GUI_ACTION_SELECT); // the whole page at once
            break;
        }
        }
        // A few frames first, so the focus highlight has pulsed down to a grey that shows.
        for (int frame = 0; frame < 3; ++frame)
        {
            renderer.BeginScene();
            bank.Render();
            renderer.EndScene();
        }
        pixels = ArgbFromBgraBytes(DrawBankFrame(renderer, bank, dir, 640, 480));
        gui.Shutdown();
    }
    bank.Shutdown();
    return pixels;
}

class GuiDemoGolden : public ::testing::TestWithParam<EDemoState>
{
};
} // namespace

TEST_P(GuiDemoGolden, SoftwareDeviceDrawsTheDemonstrationExactly)
{
    CD3D8Renderer renderer;
    ASSERT_TRUE(OpenTestWindow(renderer));
    const std::vector<uint32_t> drawn = DrawDemo(renderer, GetParam());
    renderer.Close();
    ASSERT_EQ(drawn.size(), 640u * 480u);
    EXPECT_TRUE(MatchesGolden("presentation", GOLDEN_NAMES[GetParam()], 640, 480, drawn));
}

TEST_P(GuiDemoGolden, OpenGLRendererDrawsTheDemonstration)
{
    std::string reason;
    if (!UseOffscreenGl(reason))
        GTEST_SKIP() << reason;
    COpenGLRenderer renderer;
    ASSERT_TRUE(OpenTestWindow(renderer));
    const std::vector<uint32_t> drawn = DrawDemo(renderer, GetParam());
    renderer.Close();
    uint32_t width = 0, height = 0;
    std::vector<uint32_t> golden;
    ASSERT_TRUE(ReadImageTga(std::string(TESS_SOURCE_DIR) + "/tests/presentation/golden/" +
                                 GOLDEN_NAMES[GetParam()] + ".tga",
                             width, height, golden));
    ASSERT_EQ(drawn.size(), golden.size());
    EXPECT_TRUE(IsNearRendererPicture(GOLDEN_NAMES[GetParam()], drawn, golden, width));
}

INSTANTIATE_TEST_SUITE_P(States, GuiDemoGolden,
                         ::testing::Values(DEMO_BUTTON_FOCUS, DEMO_EDIT_TEXT, DEMO_ALERT),
                         [](const ::testing::TestParamInfo<EDemoState>& state) {
                             return std::string(GOLDEN_NAMES[state.param]);
                         });
