#include "core/app/CommandLine.h"

#include <strings.h>

ECommandOption ParseCommandLine(int argc, const char* const* argv)
{
    // The whole argument string must be the option: "-c -v" is no option at all.
    if (argc != 2 || !argv[1])
        return ECommandOption::None;
    const char* arg = argv[1];
    if (strcasecmp(arg, "-v") == 0)
        return ECommandOption::ShowVersion;
    if (strcasecmp(arg, "-c") == 0)
        return ECommandOption::ForceLauncher;
    if (strcasecmp(arg, "-u") == 0)
        return ECommandOption::OpenUpdatePage;
    return ECommandOption::None;
}
