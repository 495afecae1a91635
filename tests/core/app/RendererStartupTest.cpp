#include "core/Console.h"
#include "core/DataTree.h"
#include "core/app/RendererStartup.h"
#include "platform/D3D8Renderer.h"
#include "platform/GameWindow.h"
#include "platform/OpenGLRenderer.h"
#include "platform/RendererFactory.h"
#include "platform/d3d8/SoftD3DDevice.h"
#include "tests/platform/RecordingRenderer.h"
#include "tests/support/EnvOverride.h"
#include "tests/support/TempDir.h"
#include "tests/support/core/ScopedConsole.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

namespace
{
// Puts a renderer and a console in the globals for the length of a test; the renderer
// goes first, as it registered into the console.
class CGlobalRenderer
{
public:
    CGlobalRenderer()
    {
        m_renderer = new CRecordingRenderer();
        g_renderer = m_renderer;
    }
    ~CGlobalRenderer()
    {
        delete g_renderer;
        g_renderer = nullptr;
    }
    CRecordingRenderer& Renderer() { return *m_renderer; }

private:
    CScopedConsole m_console;
    CRecordingRenderer* m_renderer;
};

bool Exists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}
} // namespace

TEST(RendererStartup, KindComesFromTheFirstThreeLetters)
{
    struct
    {
        const char* value;
        int kind;
    } cases[] = {{"ogl", RENDERER_OPENGL}, {"OGL", RENDERER_OPENGL}, {"oglx", RENDERER_OPENGL}, {"d3d", RENDERER_D3D8},
                 {"og", RENDERER_D3D8}, {"", RENDERER_D3D8}, {nullptr, RENDERER_D3D8}};
    for (const auto& c : cases)
    {
        CDataTree tree(u"Tessavar");
        if (c.value)
            tree.AddString("r_renderer", c.value);
        EXPECT_EQ(ChooseRendererKind(&tree), c.kind) << (c.value ? c.value : "(missing)");
    }
    EXPECT_EQ(ChooseRendererKind(nullptr), RENDERER_D3D8);
}

TEST(RendererStartup, OnlyKindsOfThisBuildAreMade)
{
    for (int kind : {0, 1, 7})
    {
        CRenderer* renderer = MakeRenderer(kind);
        EXPECT_EQ(renderer != nullptr, IsRendererKindAvailable(kind)) << kind;
        delete renderer;
    }
}

namespace
{
// Sets an environment variable for the length of a test.
// The Direct3D renderer on an adapter it cannot use: a 24-bit desktop and no full-screen
// modes. The OpenGL renderer is the real one.
CRenderer* MakeWithBrokenDirect3D(int kind)
{
    if (kind != RENDERER_D3D8)
        return new COpenGLRenderer();
    SSoftAdapterProfile profile = CSoftD3D::GetDefaultProfile();
    profile.desktop.format = ESoftFormat::R8G8B8;
    profile.modes.clear();
    return new CD3D8Renderer(&profile);
}

struct SFallbackCase
{
    const char* asked;
    const char* videoDriver;  // "dummy" has no OpenGL; "offscreen" has it where Mesa is installed
    bool brokenDirect3D;
    bool starts;
    int runs;
    const char* written;
};
} // namespace

TEST(RendererStartup, AKindThatCannotOpenFallsBackToTheOtherWhichIsWrittenBack)
{
    const SFallbackCase cases[] = {
        {"ogl", "dummy", false, true, RENDERER_D3D8, "d3d"},
        {"d3d", "offscreen", true, true, RENDERER_OPENGL, "ogl"},
        {"ogl", "offscreen", true, true, RENDERER_OPENGL, "ogl"},
        {"d3d", "dummy", true, false, RENDERER_D3D8, nullptr},
    };
    for (const SFallbackCase& c : cases)
    {
        SCOPED_TRACE(std::string(c.asked) + " on " + c.videoDriver);
        CEnvOverride driver("SDL_VIDEODRIVER", c.videoDriver);
        char why[256] = {};
        if (c.runs == RENDERER_OPENGL && !ProbeGlContext(why, sizeof(why)))
        {
            std::printf("Skipped, no OpenGL context can be made here: %s\n", why);
            continue;
        }
        SetRendererMaker(c.brokenDirect3D ? &MakeWithBrokenDirect3D : nullptr);
        CDataTree settings(u"Tessavar");
        settings.AddString("r_renderer", c.asked);
        settings.AddBool("r_fullscreen", false);
        settings.AddInt("r_backBufferWidth", 640);
        const bool started = StartRenderer(&settings);
        SetRendererMaker(nullptr);
        EXPECT_EQ(started, c.starts);
        if (started)
        {
            ASSERT_NE(g_renderer, nullptr);
            EXPECT_EQ(GetRunningRendererKind(), c.runs);
            EXPECT_EQ(g_renderer->IsColourArgb(), c.runs == RENDERER_D3D8) << "the renderer in the global";
            EXPECT_EQ(g_renderer->GetSettings().width, 640) << "the file's settings were used";
            CDataTree written(u"Tessavar");
            AddRendererSettings(written);
            char kind[8] = {};
            ASSERT_TRUE(written.GetString("r_renderer", kind, sizeof(kind)));
            EXPECT_STREQ(kind, c.written);
        }
        CloseRenderer();
        EXPECT_EQ(g_renderer, nullptr);
    }
}

TEST(RendererStartup, ScreenshotsTakeTheNextFreeNumber)
{
    // The user folder is made as "Tessavar" and named "tessavar" in the paths: both count.
    for (const std::string folder : {"tessavar", "Tessavar"})
    {
        CTempDir home;
        const std::string grabs = folder + "/screengrabs/Tessavar_";
        ASSERT_TRUE(home.WriteFile(grabs + "00001.tga", "taken"));
        {
            CEnvOverride homeOverride("TESSAVAR_HOME", home.GetPath().c_str());
            CGlobalRenderer globals;
            globals.Renderer().frameWidth = 2;
            globals.Renderer().frameHeight = 1;
            globals.Renderer().frame.assign(8, 9);
            for (int i = 0; i < 3; ++i)
                EXPECT_TRUE(SaveScreenshot());
        }
        for (const char* name : {"00000", "00002", "00003"})
            EXPECT_TRUE(Exists(home.Join(grabs + name + ".tga"))) << folder << " " << name;
        std::string untouched;
        ASSERT_TRUE(home.ReadFile(grabs + "00001.tga", untouched));
        EXPECT_EQ(untouched, "taken") << folder;
    }
}

TEST(RendererStartup, ConsoleCommandsSwitchTheOverlays)
{
    CGlobalRenderer globals;
    RegisterRendererConsoleCommands();
    CRecordingRenderer& renderer = globals.Renderer();
    g_console->ExecuteLine("/showtiming yes");
    g_console->ExecuteLine("/showpolycount true");
    EXPECT_TRUE(renderer.IsTimingShown());
    EXPECT_TRUE(renderer.IsPolyCountShown());
    g_console->ExecuteLine("/showtiming maybe"); // does not parse: nothing changes
    EXPECT_TRUE(renderer.IsTimingShown());
    g_console->ExecuteLine("/showtiming no");
    g_console->ExecuteLine("/showtextureusage TRUE");
    EXPECT_FALSE(renderer.IsTimingShown());
    EXPECT_TRUE(renderer.IsTextureUsageShown());
    bool found = false;
    for (const SConsoleVariable& variable : g_console->GetVariables())
        if (variable.name == "textureusage")
            found = variable.pointer == renderer.GetTextureUsageCounter() && variable.type == CONSOLE_VAR_UINT;
    EXPECT_TRUE(found);
}
