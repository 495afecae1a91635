#pragma once
// The program's options. Only one is recognised, and only when it is the whole
// argument string, compared without regard to case.

#include <string>

enum class ECommandOption
{
    None,
    ShowVersion,    // "-v"
    ForceLauncher,  // "-c"
    OpenUpdatePage, // "-u"
    Unknown,        // anything else: ignored, and the program starts as without it
};

ECommandOption ParseCommandLine(int argc, const char* const* argv);

// The line that says an unknown argument string was ignored (without a newline).
std::string DescribeIgnoredArguments(int argc, const char* const* argv);
