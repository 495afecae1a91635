// CPU time and peak memory of the running game on each renderer, over a fixed number of
// frames (TESSAVAR_FRAMES) with the dummy audio driver: under a private Xvfb (no graphics
// card: OpenGL is Mesa's software llvmpipe), in a window at the back buffer's size and
// full screen (scaled into the desktop with bars), and on SDL's offscreen driver. The
// software renderer runs twice: presenting through a plain window surface (the game's
// way) and through SDL's OpenGL-backed one (SDL_FRAMEBUFFER_ACCELERATION=1). Runs go in
// turn; the figures are medians.
//
//   bench_game_frames [--frames N] [--runs N] [--screen WxH]

#include "benchmarks/ChildProcess.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;

struct SCase
{
    const char* label;
    bool xvfb;       // else the offscreen driver
    const char* kind; // r_renderer
    bool fullScreen;
    bool openGlSurface;
};

const SCase kCases[] = {
    {"Xvfb, window 640 x 480: software device, plain surface", true, "d3d", false, false},
    {"Xvfb, window 640 x 480: software device, SDL's OpenGL surface", true, "d3d", false, true},
    {"Xvfb, window 640 x 480: OpenGL (llvmpipe)", true, "ogl", false, false},
    {"Xvfb, full screen: software device, plain surface", true, "d3d", true, false},
    {"Xvfb, full screen: software device, SDL's OpenGL surface", true, "d3d", true, true},
    {"Xvfb, full screen: OpenGL (llvmpipe)", true, "ogl", true, false},
    {"offscreen driver: software device, plain surface", false, "d3d", false, false},
    {"offscreen driver: software device, SDL's OpenGL surface", false, "d3d", false, true},
    {"offscreen driver: OpenGL (llvmpipe)", false, "ogl", false, false},
};

// A private Xvfb on a display number it picks itself; empty when none started.
std::string StartXvfb(const std::string& screen, pid_t& server)
{
    int fds[2];
    if (pipe(fds) != 0)
        return "";
    std::fflush(nullptr);
    server = fork();
    if (server == 0)
    {
        close(fds[0]);
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
               static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    pollfd wait = {fds[0], POLLIN, 0};
    char c = 0;
    while (poll(&wait, 1, 20000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    if (number.empty() && server > 0)
    {
        kill(server, SIGTERM);
        waitpid(server, nullptr, 0);
        server = -1;
    }
    return number.empty() ? "" : ":" + number;
}

bool WriteSettings(const fs::path& home, const SCase& c)
{
    fs::create_directories(home / "Tessavar");
    std::ofstream out(home / "Tessavar" / "Tessavar.cfg");
    out << "Tessavar\n{\n\tg_runonce\ttrue\n\tr_renderer\t" << c.kind << "\n\tr_fullscreen\t"
        << (c.fullScreen ? "true" : "false") << "\n\tr_backBufferWidth\t640\n}\n";
    return bool(out);
}

long ArgValue(int argc, char** argv, const char* name, long fallback)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            return std::atol(argv[i + 1]);
    return fallback;
}

std::string ArgText(int argc, char** argv, const char* name, const char* fallback)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            return argv[i + 1];
    return fallback;
}
} // namespace

int main(int argc, char** argv)
{
    const long frames = std::max(1L, ArgValue(argc, argv, "--frames", 250));
    const long runs = std::max(1L, ArgValue(argc, argv, "--runs", 3));
    const std::string screen = ArgText(argc, argv, "--screen", "1920x1080x24");
    const fs::path bin = fs::canonical("/proc/self/exe").parent_path();
    const std::string game = (bin / "tessavar").string();

    pid_t server = -1;
    const std::string display = StartXvfb(screen, server);
    if (display.empty())
        std::printf("no Xvfb: the Xvfb rows are left out\n");
    char pattern[] = "/tmp/game-frames-XXXXXX";
    if (!mkdtemp(pattern))
        return 1;
    const fs::path work(pattern);

    const size_t caseCount = sizeof(kCases) / sizeof(kCases[0]);
    std::vector<std::vector<bench::SRunResult>> results(caseCount);
    for (long run = 0; run < runs; ++run)
        for (size_t i = 0; i < caseCount; ++i)
        {
            const SCase& c = kCases[i];
            if (c.xvfb && display.empty())
                continue;
            const fs::path home = work / ("home" + std::to_string(i));
            fs::remove_all(home);
            if (!WriteSettings(home, c))
                return 1;
            std::vector<std::pair<std::string, std::string>> environment = {
                {"TESSAVAR_HOME", home.string()},
                {"TESSAVAR_FRAMES", std::to_string(frames)},
                {"TESSAVAR_DIALOGS", "launcher:start"},
                {"SDL_AUDIODRIVER", "dummy"},
                {"SDL_FRAMEBUFFER_ACCELERATION", c.openGlSurface ? "1" : "0"},
            };
            if (c.xvfb)
            {
                environment.push_back({"SDL_VIDEODRIVER", "x11"});
                environment.push_back({"DISPLAY", display});
            }
            else
                environment.push_back({"SDL_VIDEODRIVER", "offscreen"});
            results[i].push_back(bench::RunChild({game}, bin.string(), environment));
        }

    std::printf("game_frames: %ld frames a run, medians of %ld runs in turn, Xvfb screen %s\n", frames, runs,
                screen.c_str());
    std::printf("%-64s %12s %10s %10s\n", "", "CPU ms/frame", "CPU s", "peak MB");
    for (size_t i = 0; i < caseCount; ++i)
    {
        if (results[i].empty())
            continue;
        const bench::SRunResult median = bench::Median(results[i]);
        std::printf("%-64s %12.2f %10.2f %10.1f%s\n", kCases[i].label, median.m_cpuSeconds * 1000.0 / double(frames),
                    median.m_cpuSeconds, double(median.m_peakKb) / 1024.0, median.m_ok ? "" : "  FAILED");
    }
    if (server > 0)
    {
        kill(server, SIGTERM);
        waitpid(server, nullptr, 0);
    }
    std::error_code ignored;
    fs::remove_all(work, ignored);
    return 0;
}
