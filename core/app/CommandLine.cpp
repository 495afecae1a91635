#include "core/app/CommandLine.h"

#include <strings.h>

ECommandOption ParseCommandLine(int argc, const char* const* argv)
{
    // The whole argument string must be the option: "-c -v" is no option at all.
    if (argc < 2 || !argv || (argc == 2 && (!argv[1] || !*argv[1])))
        return ECommandOption::None;
    if (argc != 2)
        return ECommandOption::Unknown;
    const char* arg = argv[1];
    if (strcasecmp(arg, "-v") == 0)
        return ECommandOption::ShowVersion;
    if (strcasecmp(arg, "-c") == 0)
        return ECommandOption::ForceLauncher;
    if (strcasecmp(arg, "-u") == 0)
        return ECommandOption::OpenUpdatePage;
    return ECommandOption::Unknown;
}

std::string DescribeIgnoredArguments(int argc, const char* const* argv)
{
    std::string given;
    for (int i = 1; i < argc; ++i)
        given += std::string(i > 1 ? " " : "") + (argv[i] ? argv[i] : "");
    return "Unknown option \"" + given +
           "\" ignored (the options, one at a time: -v the version, -c the launcher, -u the update page)";
}
