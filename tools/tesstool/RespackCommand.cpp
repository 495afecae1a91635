// tesstool respack: builds the unpacker's resource pack from a folder.

#include "tools/tesstool/ToolCommand.h"
#include "utility/source/QelPakFile.h"
#include "utility/source/QelPakFileWriter.h"

#include <cstdio>

namespace
{
int RunRespackCommand(const std::vector<std::string>& args)
{
    if (args.size() != 3 || args[0] != "create")
    {
        std::fprintf(stderr, "usage: tesstool respack create OUT DIR\n");
        return 2;
    }
    SPakSourceFolder root;
    std::string bytes;
    std::string error;
    if (!ReadPakSourceFolder(args[2], root, error) || !BuildPakFile(root, bytes, error))
    {
        std::fprintf(stderr, "tesstool respack: %s\n", error.c_str());
        return 1;
    }
    if (!WritePakFile(args[1], bytes))
    {
        std::fprintf(stderr, "tesstool respack: cannot write %s\n", args[1].c_str());
        return 1;
    }
    // Read back through the unpacker's own reader: what we wrote must open.
    CQelPakFile check;
    const CQelPakFileFolder* checkRoot = nullptr;
    if (!check.Open(args[1].c_str()) || !check.GetRootFolder(checkRoot))
    {
        std::fprintf(stderr, "tesstool respack: %s does not read back: %s\n", args[1].c_str(),
                     check.GetLastError().c_str());
        return 1;
    }
    std::printf("%s: %u files\n", args[1].c_str(), checkRoot->CountFiles());
    return 0;
}

CToolCommand s_respack("respack", "create OUT DIR", &RunRespackCommand);
} // namespace
