#pragma once
// Registry of tesstool's command groups. Each group lives in its own file and
// registers itself with a static CToolCommand, e.g.
//   static CToolCommand s_pack("pack", "create|list|cat ...", &RunPackCommand);
// The handler gets the arguments after the group name and returns the exit status.

#include <string>
#include <vector>

using ToolHandler = int (*)(const std::vector<std::string>& args);

class CToolCommand
{
public:
    CToolCommand(const char* name, const char* usage, ToolHandler handler);

    static const CToolCommand* Find(const std::string& name);
    static const std::vector<const CToolCommand*>& GetAll();

    const char* m_name;
    const char* m_usage;
    ToolHandler m_handler;
};
