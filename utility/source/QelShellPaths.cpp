#include "utility/source/QelShellPaths.h"

#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <string>
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

bool OpenWithShell(const char* fileOrAddress)
{
    if (!fileOrAddress || !*fileOrAddress)
        return false;
    // The child is reaped by the system: we never wait for the browser.
    signal(SIGCHLD, SIG_IGN);
    char program[] = "xdg-open";
    std::string target(fileOrAddress);
    char* argv[] = {program, target.data(), nullptr};
    pid_t pid = 0;
    return posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) == 0;
}
