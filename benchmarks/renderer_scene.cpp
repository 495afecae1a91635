// The busy frame of bench_device_scene drawn through the game's renderer interface by both
// renderers in one run: kind 0 on the software device and kind 1 on OpenGL (Mesa's llvmpipe
// when no graphics card is there), 800 x 600 in a window of SDL's offscreen driver unless
// SDL_VIDEODRIVER says otherwise. Prints milliseconds per frame for each, their ratio, and
// how far the two frames are apart.
//
//   bench_renderer_scene [frames]

#include "benchmarks/BusyScene.h"
#include "core/Console.h"
#include "platform/D3D8Renderer.h"
#include "platform/OpenGLRenderer.h"
#include "platform/PixelFormat.h"
#include "platform/Tga.h"

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace
{
// Keeps the driver's name from the renderer's log.
class CDriverConsole : public CConsole
{
public:
    void Printf(const char* format, ...) override __attribute__((format(printf, 2, 3)))
    {
        char text[512];
        va_list args;
        va_start(args, format);
        std::vsnprintf(text, sizeof(text), format, args);
        va_end(args);
        if (std::strncmp(text, "Renderer - ", 11) == 0)
            driver = text + 11;
    }
    std::string driver;
};

struct SRun
{
    bool ran = false;
    double msPerFrame = 0;
    double best = 0;
    std::vector<uint8_t> frame;  // blue, green, red, alpha rows
};

void DrawGroup(CRenderer& renderer, int texture, bool blend, const std::vector<SScreenVertex>& vertices)
{
    renderer.BeginBatch(&texture, blend, blend, false);
    for (size_t first = 0; first < vertices.size(); first += busy::PER_BATCH)
    {
        const size_t count = std::min<size_t>(busy::PER_BATCH, vertices.size() - first);
        SScreenVertex* out = nullptr;
        if (!renderer.ReserveVertices(int(count), &out))
            return;
        std::copy(vertices.begin() + long(first), vertices.begin() + long(first + count), out);
        renderer.FlushBatch(false);
    }
}

SRun Run(CRenderer& renderer, CConsole& console, int frames)
{
    SRun run;
    renderer.SetDefaultSettings();
    SDisplaySettings& settings = const_cast<SDisplaySettings&>(renderer.GetSettings());
    settings.fullScreen = false;
    settings.width = int(busy::WIDTH);
    if (!renderer.Open("Tessavar", &console))
        return run;
    int textures[6];
    for (uint32_t kind = 0; kind < 6; ++kind)
    {
        const uint32_t size = busy::TextureSize(kind);
        std::vector<uint32_t> texels;
        for (uint32_t y = 0; y < size; ++y)
            for (uint32_t x = 0; x < size; ++x)
                texels.push_back(busy::Texel(kind, x, y));
        // 0xAARRGGBB words are blue, green, red, alpha bytes in memory.
        renderer.CreateTexture(true, 0, 0, TEXTURE_ALPHA, true, int(size), int(size), PIXEL_BGRA8888, texels.data(),
                               nullptr, &textures[kind]);
    }
    const bool argb = renderer.IsColourArgb();
    const busy::SScene<SScreenVertex> scene = busy::MakeScene<SScreenVertex>(argb ? -0.5f : 0.0f, argb);
    auto drawFrame = [&] {
        renderer.Tick();
        renderer.BeginScene();
        DrawGroup(renderer, textures[0], false, scene.backdrop);
        for (int i = 0; i < 4; ++i)
            DrawGroup(renderer, textures[1 + i], true, scene.sprites[i]);
        DrawGroup(renderer, textures[5], true, scene.glyphs);
        renderer.EndScene();
    };
    for (int i = 0; i < 3; ++i)
        drawFrame();
    double total = 0;
    run.best = 1e30;
    for (int i = 0; i < frames; ++i)
    {
        const auto start = std::chrono::steady_clock::now();
        drawFrame();
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        total += ms;
        run.best = std::min(run.best, ms);
    }
    run.msPerFrame = total / frames;
    run.ran = true;
    const std::string shot = "bench_renderer_scene.tga";
    STgaImage image;
    if (renderer.SaveScreenshot(shot.c_str()) && LoadTga(shot.c_str(), image))
        run.frame = image.pixels;
    std::remove(shot.c_str());
    for (int texture : textures)
        renderer.ReleaseTexture(texture);
    renderer.Close();
    return run;
}

// Share of pixels more than 3 apart in a colour channel.
double DifferingShare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b)
{
    if (a.size() != b.size() || a.empty())
        return 1.0;
    size_t differing = 0;
    for (size_t i = 0; i < a.size(); i += 4)
        for (size_t c = 0; c < 3; ++c)
            if (std::abs(int(a[i + c]) - int(b[i + c])) > 3)
            {
                ++differing;
                break;
            }
    return double(differing) / double(a.size() / 4);
}
} // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    std::printf("renderer_scene: %ux%u, backdrop + %u sprites 32x32 + %u glyph quads through the renderer "
                "interface, %d frames, video driver %s\n",
                busy::WIDTH, busy::HEIGHT, busy::SPRITES, busy::GLYPHS, frames, std::getenv("SDL_VIDEODRIVER"));

    CDriverConsole console;
    CD3D8Renderer software;
    const SRun d3d = Run(software, console, frames);
    COpenGLRenderer opengl;
    const SRun ogl = Run(opengl, console, frames);

    if (d3d.ran)
        std::printf("  kind 0, software device: %7.2f ms per frame (best %.2f)\n", d3d.msPerFrame, d3d.best);
    else
        std::printf("  kind 0, software device: did not open\n");
    if (ogl.ran)
        std::printf("  kind 1, OpenGL on %s: %7.2f ms per frame (best %.2f)\n", console.driver.c_str(),
                    ogl.msPerFrame, ogl.best);
    else
        std::printf("  kind 1, OpenGL: did not open (no OpenGL context here)\n");
    if (!d3d.ran || !ogl.ran)
        return 1;
    std::printf("  OpenGL / software device: %.2f (above 1: the software device is faster)\n",
                ogl.msPerFrame / d3d.msPerFrame);
    std::printf("  frames differ by more than 3 in %.2f%% of pixels\n", DifferingShare(d3d.frame, ogl.frame) * 100.0);
    return 0;
}
