#include "core/Console.h"
#include "core/DataTree.h"
#include "core/app/RendererStartup.h"
#include "platform/RendererFactory.h"
#include "tests/platform/RecordingRenderer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>

namespace
{
// Puts a renderer and a console in the globals for the length of a test.
class CGlobalRenderer
{
public:
    CGlobalRenderer()
    {
        m_renderer = new CRecordingRenderer();
        g_renderer = m_renderer;
        g_console = new CConsole();
    }
    ~CGlobalRenderer()
    {
        delete g_console;
        g_console = nullptr;
        delete g_renderer;
        g_renderer = nullptr;
    }
    CRecordingRenderer& Renderer() { return *m_renderer; }

private:
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

TEST(RendererStartup, AskedForAMissingKindStartsTheOtherAndWritesIt)
{
    CDataTree settings(u"Tessavar");
    settings.AddString("r_renderer", IsRendererKindAvailable(RENDERER_OPENGL) ? "d3d" : "ogl");
    settings.AddBool("r_fullscreen", false);
    settings.AddInt("r_backBufferWidth", 640);
    ASSERT_TRUE(StartRenderer(&settings));
    ASSERT_NE(g_renderer, nullptr);
    EXPECT_EQ(g_renderer->GetSettings().width, 640) << "the file's settings were used";
    CDataTree written(u"Tessavar");
    AddRendererSettings(written);
    char kind[8] = {};
    ASSERT_TRUE(written.GetString("r_renderer", kind, sizeof(kind)));
    EXPECT_STREQ(kind, IsRendererKindAvailable(RENDERER_OPENGL) ? "ogl" : "d3d");
    CloseRenderer();
    EXPECT_EQ(g_renderer, nullptr);
}

TEST(RendererStartup, ScreenshotsTakeTheNextFreeNumber)
{
    CTempDir home;
    ASSERT_TRUE(home.WriteFile("tessavar/screengrabs/Tessavar_00001.tga", "taken"));
    const char* previous = std::getenv("TESSAVAR_HOME");
    std::string saved = previous ? previous : "";
    setenv("TESSAVAR_HOME", home.GetPath().c_str(), 1);
    {
        CGlobalRenderer globals;
        globals.Renderer().frameWidth = 2;
        globals.Renderer().frameHeight = 1;
        globals.Renderer().frame.assign(8, 9);
        for (int i = 0; i < 3; ++i)
            EXPECT_TRUE(SaveScreenshot());
    }
    if (previous)
        setenv("TESSAVAR_HOME", saved.c_str(), 1);
    else
        unsetenv("TESSAVAR_HOME");
    for (const char* name : {"00000", "00002", "00003"})
        EXPECT_TRUE(Exists(home.Join(std::string("tessavar/screengrabs/Tessavar_") + name + ".tga"))) << name;
    std::string untouched;
    ASSERT_TRUE(home.ReadFile("tessavar/screengrabs/Tessavar_00001.tga", untouched));
    EXPECT_EQ(untouched, "taken");
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
