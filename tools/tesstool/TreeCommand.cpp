// tesstool tree: reads a data-tree file with the game's reader and writes what it
// understood with the game's writer (as UTF-8 text on standard output).
//   tree print FILE
//   tree write IN OUT [--scrambled]   rewrites a file as the game saves one (UTF-16)

#include "core/DataFile.h"
#include "core/DataTextWriter.h"
#include "core/Utf8Text.h"
#include "tools/tesstool/ToolCommand.h"
#include "tools/tesstool/ToolFiles.h"

#include <cstdio>
#include <sys/stat.h>
#include <string>
#include <vector>

namespace
{
int Print(const std::string& path)
{
    std::string unreadable = DescribeUnreadable(path);
    if (!unreadable.empty())
    {
        std::fprintf(stderr, "tesstool tree: cannot read %s: %s\n", path.c_str(), unreadable.c_str());
        return 1;
    }
    CDataNodeList nodes;
    if (!LoadDataFileNodes(path.c_str(), nodes))
    {
        std::fprintf(stderr, "tesstool tree: cannot read %s\n", path.c_str());
        return 1;
    }
    // The reader drops what it does not understand: a file with bytes of which nothing
    // was understood is no data tree, and saying nothing would pass it as an empty one.
    struct stat info;
    if (nodes.empty() && stat(path.c_str(), &info) == 0 && info.st_size > 0)
    {
        std::fprintf(stderr, "tesstool tree: %s holds nothing the data-tree reader understands\n", path.c_str());
        return 1;
    }
    CDataTextWriter writer;
    for (const auto& node : nodes)
        node->Write(writer, 0, true);
    std::string text;
    for (char c : Utf16ToUtf8(writer.GetText()))
        if (c != '\r')
            text += c;
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

int Write(const std::string& from, const std::string& to, bool scrambled)
{
    CDataNodeList nodes;
    if (!LoadDataFileNodes(from.c_str(), nodes))
    {
        std::fprintf(stderr, "tesstool tree: cannot read %s\n", from.c_str());
        return 1;
    }
    bool previous = GetDataTreeScramble();
    SetDataTreeScramble(scrambled);
    bool ok = SaveDataFileNodes(to.c_str(), nodes, true);
    SetDataTreeScramble(previous);
    if (!ok)
    {
        std::fprintf(stderr, "tesstool tree: cannot write %s\n", to.c_str());
        return 1;
    }
    return 0;
}

int Run(const std::vector<std::string>& args)
{
    if (args.size() == 2 && args[0] == "print")
        return Print(args[1]);
    if (args.size() >= 3 && args.size() <= 4 && args[0] == "write" && (args.size() == 3 || args[3] == "--scrambled"))
        return Write(args[1], args[2], args.size() == 4);
    std::fprintf(stderr, "usage: tesstool tree print FILE | write IN OUT [--scrambled]\n");
    return 2;
}

CToolCommand s_tree("tree", "print FILE | write IN OUT [--scrambled]", &Run);
} // namespace
