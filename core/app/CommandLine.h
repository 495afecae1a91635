#pragma once
// The program's options. Only one is recognised, and only when it is the whole
// argument string, compared without regard to case.

enum class ECommandOption
{
    None,
    ShowVersion,    // "-v"
    ForceLauncher,  // "-c"
    OpenUpdatePage, // "-u"
};

ECommandOption ParseCommandLine(int argc, const char* const* argv);
