#include "utility/source/QelShellPaths.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <spawn.h>
#include <string>
#include <system_error>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace
{
bool CopyOut(const std::string& text, char* buffer, size_t bufferSize)
{
    if (!buffer || text.size() + 1 > bufferSize)
        return false;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

std::string HomeFolder()
{
    const char* home = std::getenv("HOME");
    if (home && *home)
        return home;
    if (const passwd* entry = getpwuid(getuid()))
        if (entry->pw_dir && *entry->pw_dir)
            return entry->pw_dir;
    return std::string();
}
} // namespace

bool GetDocumentsFolder(char* buffer, size_t bufferSize)
{
    const char* own = std::getenv("TESSAVAR_HOME");
    if (own && *own)
        return CopyOut(own, buffer, bufferSize);
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg == '/')
        return CopyOut(xdg, buffer, bufferSize);
    std::string home = HomeFolder();
    if (home.empty())
        return false;
    return CopyOut(home + "/.local/share", buffer, bufferSize);
}

bool GetCurrentFolder(size_t bufferSize, char* buffer)
{
    return buffer && bufferSize > 0 && getcwd(buffer, bufferSize) != nullptr;
}

bool SetCurrentFolder(const char* path)
{
    return path && chdir(path) == 0;
}

namespace
{
const char OPENER[] = "xdg-open";

// Starts the opener on the address; 0 (said on standard error) when it cannot start.
pid_t StartOpener(const char* address)
{
    if (!address || !*address)
        return 0;
    char program[sizeof(OPENER)];
    std::memcpy(program, OPENER, sizeof(OPENER));
    std::string target(address);
    char* argv[] = {program, target.data(), nullptr};
    pid_t pid = 0;
    int error = posix_spawnp(&pid, program, nullptr, nullptr, argv, environ);
    if (error == 0)
        return pid;
    std::fprintf(stderr, "Cannot open %s: %s could not be started (%s); install xdg-utils\n", address, OPENER,
                 std::strerror(error));
    return 0;
}

// Waits for the opener and says why the address was not opened when it failed.
bool ReapOpener(pid_t pid, const std::string& address)
{
    int status = 0;
    pid_t done = 0;
    do
        done = waitpid(pid, &status, 0);
    while (done < 0 && errno == EINTR);
    if (done != pid)
        return true; // not ours to judge any more
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return true;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 3)
        std::fprintf(stderr, "Cannot open %s: no program to show it is set up on this desktop\n", address.c_str());
    else if (WIFEXITED(status))
        std::fprintf(stderr, "Cannot open %s: %s ended with status %d\n", address.c_str(), OPENER,
                     WEXITSTATUS(status));
    else
        std::fprintf(stderr, "Cannot open %s: %s was ended by a signal\n", address.c_str(), OPENER);
    return false;
}
} // namespace

bool OpenWithShell(const char* fileOrAddress)
{
    pid_t pid = StartOpener(fileOrAddress);
    if (pid == 0)
        return false;
    // The opener may run as long as the browser it starts: it is waited for aside.
    std::string address(fileOrAddress);
    try
    {
        std::thread([pid, address] { ReapOpener(pid, address); }).detach();
    }
    catch (const std::system_error&)
    {
        // No thread to spare: it is left unreaped until the program ends.
    }
    return true;
}

bool OpenWithShellAndWait(const char* fileOrAddress)
{
    pid_t pid = StartOpener(fileOrAddress);
    return pid != 0 && ReapOpener(pid, fileOrAddress);
}
