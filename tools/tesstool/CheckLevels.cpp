// Level files "data\init%i.txt": the LEVEL section and every section a registered
// reader takes, read as a level start reads them (without making anything).

#include "tools/tesstool/DataCheck.h"
#include "world/LevelConfig.h"

#include <cstdlib>
#include <strings.h>

namespace
{
void CheckLevelFiles(CDataCheckReport& report)
{
    for (const std::string& file : ListDataFiles(".txt"))
    {
        const char* name = file.c_str() + file.rfind('/') + 1;
        if (strncasecmp(name, "init", 4) != 0)
            continue;
        char* end = nullptr;
        long number = std::strtol(name + 4, &end, 10);
        if (end == name + 4 || strcasecmp(end, ".txt") != 0)
            continue;
        CLevelConfig config;
        if (config.Load(static_cast<int>(number)))
            config.LoadSections(nullptr);
        report.NoteChecked(file);
        report.Add(file, config.GetProblems());
    }
}

CDataChecker s_levels("level files", &CheckLevelFiles);
} // namespace
