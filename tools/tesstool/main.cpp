// tesstool: writes and inspects every file format the game reads, through the
// game's own readers and writers.

#include "tools/tesstool/ToolCommand.h"

#include <algorithm>
#include <cstdio>

namespace
{
std::vector<const CToolCommand*>& Registry()
{
    static std::vector<const CToolCommand*> s_commands;
    return s_commands;
}

void PrintUsage(FILE* out)
{
    std::fprintf(out, "usage: tesstool GROUP ARGS...\n");
    for (const CToolCommand* command : CToolCommand::GetAll())
        std::fprintf(out, "  tesstool %s %s\n", command->m_name, command->m_usage);
}
} // namespace

CToolCommand::CToolCommand(const char* name, const char* usage, ToolHandler handler)
    : m_name(name), m_usage(usage), m_handler(handler)
{
    auto& all = Registry();
    auto at = std::lower_bound(all.begin(), all.end(), this, [](const CToolCommand* a, const CToolCommand* b) {
        return std::string(a->m_name) < b->m_name;
    });
    all.insert(at, this);
}

const CToolCommand* CToolCommand::Find(const std::string& name)
{
    for (const CToolCommand* command : Registry())
        if (name == command->m_name)
            return command;
    return nullptr;
}

const std::vector<const CToolCommand*>& CToolCommand::GetAll()
{
    return Registry();
}

int main(int argc, char** argv)
{
    if (argc < 2)
    {
        PrintUsage(stderr);
        return 2;
    }
    const std::string first = argv[1];
    if (first == "--help" || first == "-h" || first == "help")
    {
        PrintUsage(stdout);
        return 0;
    }
    const CToolCommand* command = CToolCommand::Find(first);
    if (!command)
    {
        std::fprintf(stderr, "tesstool: unknown group '%s'\n", argv[1]);
        PrintUsage(stderr);
        return 2;
    }
    return command->m_handler(std::vector<std::string>(argv + 2, argv + argc));
}
