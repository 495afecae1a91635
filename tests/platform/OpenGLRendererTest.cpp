#include "platform/GameWindow.h"
#include "platform/OpenGLRenderer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

TEST(OpenGLRendererProbe, Opens)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    char why[256] = {};
    if (!ProbeGlContext(why, sizeof(why)))
        GTEST_SKIP() << why;
    auto renderer = std::make_unique<COpenGLRenderer>();
    SDisplaySettings& settings = const_cast<SDisplaySettings&>(renderer->GetSettings());
    settings.fullScreen = false;
    settings.width = 640;
    ASSERT_TRUE(renderer->Open("Tessavar", nullptr));
    renderer->Tick();
    EXPECT_EQ(renderer->BeginScene(), 1);
    renderer->DrawRectF(10, 10, 100, 100, 1, 0, 0, 1, false);
    renderer->EndScene();
    EXPECT_TRUE(renderer->SaveScreenshot("/tmp/gl_probe.tga"));
}
