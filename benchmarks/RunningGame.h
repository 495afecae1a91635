#pragma once
// The running game in a benchmark's own process, on the sample data of the program
// folder the benchmark is built in: a temporary home with the settings (software
// device, a window of the given size) and a TESSAVAR_SCRIPT of player input, the dummy
// drivers, a fixed clock and seed; and a measurement run in a child process, as the
// game starts and ends once a process.

#include "core/app/Application.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#ifndef TESS_SOURCE_DIR
#define TESS_SOURCE_DIR "."
#endif

namespace bench
{
// A player's start-up keys (the logo skipped, a menu path), named as the program tests
// keep them in their one place; empty when they cannot be read.
inline std::string StartupKeys(const char* name)
{
    const std::string command = std::string("bash -c '. \"$0\" && printf \"%s\\n\" \"$") + name +
                                "\"' '" TESS_SOURCE_DIR "/tests/support/startup_keys.sh' 2>/dev/null";
    std::string keys;
    if (FILE* pipe = popen(command.c_str(), "r"))
    {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            keys += buffer;
        if (pclose(pipe) != 0)
            keys.clear();
    }
    return keys;
}

// Starts the game: false when it did not come up. `home` is made from the pattern
// (ending in XXXXXX); the caller ends the game (ShutdownApplication) and removes it.
inline bool StartRunningGame(std::string& home, int width, int height, const std::string& script, const char* seed)
{
    std::string pattern = "/tmp/tess_bench_XXXXXX";
    if (!mkdtemp(&pattern[0]))
        return false;
    home = pattern;
    if (system(("mkdir -p '" + home + "/Tessavar'").c_str()) != 0)
        return false;
    std::ofstream(home + "/Tessavar/Tessavar.cfg")
        << "Tessavar\n{\n\tg_runonce\ttrue\n\tr_renderer\td3d\n\tr_fullscreen\tfalse\n\tr_backBufferWidth\t" << width
        << "\n\tr_backBufferHeight\t" << height << "\n}\n";
    std::ofstream(home + "/script.txt") << script;
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("TESSAVAR_HOME", home.c_str(), 1);
    setenv("TESSAVAR_DIALOGS", "launcher:start", 1);
    setenv("TESSAVAR_FIXED_CLOCK", "1", 1);
    setenv("TESSAVAR_SEED", seed, 1);
    setenv("TESSAVAR_SCRIPT", (home + "/script.txt").c_str(), 1);
    // Relative data paths start in the program folder, where this program is built.
    char self[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string folder = length > 0 ? std::string(self, size_t(length)) : std::string();
    folder = folder.substr(0, folder.rfind('/'));
    return !folder.empty() && chdir(folder.c_str()) == 0 && InitApplication();
}

inline void RemoveHome(const std::string& home)
{
    if (!home.empty())
        [[maybe_unused]] const int ignored = system(("rm -rf '" + home + "'").c_str());
}

// Runs measure(result) in a child process and gives its result back: false when the
// child gave none.
template <typename TResult, typename TMeasure>
bool MeasureInChild(TResult& result, TMeasure measure)
{
    std::fflush(nullptr); // or the child would flush our buffered output again
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return false;
    const pid_t child = fork();
    if (child == 0)
    {
        close(pipeEnds[0]);
        std::freopen("/dev/null", "w", stdout); // the game's start-up report
        std::freopen("/dev/null", "w", stderr);
        const bool measured = measure(result);
        if (measured && write(pipeEnds[1], &result, sizeof result) != sizeof result)
            _exit(1);
        _exit(measured ? 0 : 1);
    }
    close(pipeEnds[1]);
    const bool read = child > 0 && ::read(pipeEnds[0], &result, sizeof result) == sizeof result;
    close(pipeEnds[0]);
    int status = 0;
    if (child > 0)
        waitpid(child, &status, 0);
    return read;
}
} // namespace bench
