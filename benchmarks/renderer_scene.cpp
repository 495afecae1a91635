// The busy frame of bench_device_scene drawn through the game's renderer interface by both
// renderers, 800 x 600 in a window of SDL's offscreen driver unless SDL_VIDEODRIVER says
// otherwise: kind 0 on the software device with a given number of drawing threads, and
// kind 1 on OpenGL (Mesa's llvmpipe when no graphics card is there) with LP_NUM_THREADS
// set to match: 0 (llvmpipe draws on the calling thread) for one thread, N (N rasterising
// threads beside the calling one) for N. Each run is a child process of its own, since
// llvmpipe reads LP_NUM_THREADS once when it loads; runs go in turn for a number of rounds.
// Prints the median milliseconds per frame (and processor time) of each, their ratios at
// equal threads, and how far the two renderers' frames are apart.
//
//   bench_renderer_scene [frames [rounds [threads...]]]   (default: 40 3 1 <every hardware thread>)

#include "benchmarks/BusyScene.h"
#include "core/Console.h"
#include "platform/D3D8Renderer.h"
#include "platform/d3d8/SoftD3DDevice.h"
#include "platform/OpenGLRenderer.h"
#include "platform/PixelFormat.h"
#include "platform/Tga.h"

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <thread>
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
    double msPerFrame = 0;    // median
    double cpuMsPerFrame = 0; // processor time of the whole process, mean
    bool screenshotSaved = false;
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

double ProcessCpuMs()
{
    timespec now = {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

SRun Run(CRenderer& renderer, CConsole& console, int frames, uint32_t deviceThreads, const std::string& shotPath)
{
    SRun run;
    renderer.SetDefaultSettings();
    SDisplaySettings& settings = const_cast<SDisplaySettings&>(renderer.GetSettings());
    settings.fullScreen = false;
    settings.width = int(busy::WIDTH);
    if (!renderer.Open("Tessavar", &console))
        return run;
    if (CD3D8Renderer* software = dynamic_cast<CD3D8Renderer*>(&renderer))
        software->GetDevice()->SetWorkerThreads(deviceThreads);
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
    std::vector<double> times;
    const double cpuStart = ProcessCpuMs();
    for (int i = 0; i < frames; ++i)
    {
        const auto start = std::chrono::steady_clock::now();
        drawFrame();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    run.cpuMsPerFrame = (ProcessCpuMs() - cpuStart) / frames;
    std::sort(times.begin(), times.end());
    run.msPerFrame = times[times.size() / 2];
    run.ran = true;
    run.screenshotSaved = !shotPath.empty() && renderer.SaveScreenshot(shotPath.c_str());
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


// One run in this process: "--one KIND THREADS FRAMES SHOT"; prints its figures.
int RunOne(char** argv)
{
    const int kind = std::atoi(argv[2]);
    const uint32_t threads = static_cast<uint32_t>(std::max(0, std::atoi(argv[3])));
    const int frames = std::max(1, std::atoi(argv[4]));
    CDriverConsole console;
    CD3D8Renderer software;
    COpenGLRenderer opengl;
    CRenderer& renderer = kind == 0 ? static_cast<CRenderer&>(software) : static_cast<CRenderer&>(opengl);
    const SRun run = Run(renderer, console, frames, threads, argv[5]);
    if (!run.ran)
        return 1;
    std::printf("result %.4f %.4f %s\n", run.msPerFrame, run.cpuMsPerFrame,
                console.driver.empty() ? "-" : console.driver.c_str());
    return 0;
}

struct SChildResult
{
    bool ran = false;
    double ms = 0;
    double cpuMs = 0;
    std::string driver;
};

SChildResult RunChild(const std::string& self, int kind, uint32_t threads, int frames, const std::string& shot)
{
    // llvmpipe: 0 draws on the calling thread alone; N adds N rasterising threads.
    const std::string command = "LP_NUM_THREADS=" + std::to_string(threads == 1 ? 0 : threads) + " '" + self +
                                "' --one " + std::to_string(kind) + " " + std::to_string(threads) + " " +
                                std::to_string(frames) + " '" + shot + "' 2>/dev/null";
    SChildResult result;
    std::fflush(nullptr);
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    char line[512];
    while (std::fgets(line, sizeof(line), pipe))
    {
        char driver[400] = "";
        if (std::sscanf(line, "result %lf %lf %399[^\n]", &result.ms, &result.cpuMs, driver) >= 2)
        {
            result.ran = true;
            result.driver = driver;
        }
    }
    result.ran = pclose(pipe) == 0 && result.ran;
    return result;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 6 && std::strcmp(argv[1], "--one") == 0)
        return RunOne(argv);
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    std::vector<uint32_t> threadCounts;
    for (int i = 3; i < argc; ++i)
        threadCounts.push_back(static_cast<uint32_t>(std::max(1, std::atoi(argv[i]))));
    if (threadCounts.empty())
        threadCounts = {1, std::max(1u, std::thread::hardware_concurrency())};
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    const std::string selfPath = std::filesystem::canonical("/proc/self/exe").string();
    std::printf("renderer_scene: %ux%u, backdrop + %u sprites 32x32 + %u glyph quads through the renderer "
                "interface, %d frames a run, medians of %d rounds in turn, video driver %s\n",
                busy::WIDTH, busy::HEIGHT, busy::SPRITES, busy::GLYPHS, frames, rounds, std::getenv("SDL_VIDEODRIVER"));

    char pattern[] = "/tmp/renderer-scene-XXXXXX";
    if (!mkdtemp(pattern))
        return 1;
    const std::string work = pattern;
    const size_t count = threadCounts.size();
    std::vector<std::vector<double>> ms[2], cpu[2];
    std::vector<bool> ran[2];
    std::string driver = "-";
    for (int kind = 0; kind < 2; ++kind)
    {
        ms[kind].resize(count);
        cpu[kind].resize(count);
        ran[kind].assign(count, true);
    }
    for (int round = 0; round < rounds; ++round)
        for (size_t i = 0; i < count; ++i)
            for (int kind = 0; kind < 2; ++kind)
            {
                const std::string shot = work + "/kind" + std::to_string(kind) + ".tga";
                const SChildResult result = RunChild(selfPath, kind, threadCounts[i], frames, shot);
                ran[kind][i] = ran[kind][i] && result.ran;
                ms[kind][i].push_back(result.ms);
                cpu[kind][i].push_back(result.cpuMs);
                if (kind == 1 && result.ran)
                    driver = result.driver;
            }

    bool allRan = true;
    for (size_t i = 0; i < count; ++i)
    {
        const uint32_t threads = threadCounts[i];
        const std::string lp = std::to_string(threads == 1 ? 0 : threads);
        for (int kind = 0; kind < 2; ++kind)
        {
            const std::string label = kind == 0 ? "software device, " + std::to_string(threads) + " thread(s)"
                                                : "OpenGL, LP_NUM_THREADS=" + lp;
            if (!ran[kind][i])
            {
                std::printf("  %-34s did not run%s\n", label.c_str(), kind == 1 ? " (no OpenGL context here)" : "");
                allRan = false;
                continue;
            }
            std::printf("  %-34s %7.2f ms per frame, %7.2f ms of processor time\n", label.c_str(),
                        Median(ms[kind][i]), Median(cpu[kind][i]));
        }
        if (ran[0][i] && ran[1][i])
            std::printf("  OpenGL / software device at %u thread(s): %.2f (aim: 2 or more)\n", threads,
                        Median(ms[1][i]) / Median(ms[0][i]));
    }
    std::printf("  OpenGL driver: %s\n", driver.c_str());
    STgaImage d3d, ogl;
    if (LoadTga((work + "/kind0.tga").c_str(), d3d) && LoadTga((work + "/kind1.tga").c_str(), ogl))
        std::printf("  frames differ by more than 3 in %.2f%% of pixels\n",
                    DifferingShare(d3d.pixels, ogl.pixels) * 100.0);
    std::error_code ignored;
    std::filesystem::remove_all(work, ignored);
    return allRan ? 0 : 1;
}
