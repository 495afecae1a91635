// tesstool check: every registered checker over one data folder.

#include "core/DefinitionProblems.h"
#include "tools/tesstool/DataCheck.h"
#include "tools/tesstool/ToolCommand.h"
#include "utility/source/QelShellPaths.h"
#include "world/ObjectFactory.h"
#include "ships/ShipObjectTypes.h"

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

namespace
{
std::vector<const CDataChecker*>& Checkers()
{
    static std::vector<const CDataChecker*> s_checkers;
    return s_checkers;
}

bool IsFolder(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void ListFolder(const std::string& folder, const std::string& gamePath, const char* extension,
                std::vector<std::string>& out)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    size_t extensionLength = std::char_traits<char>::length(extension);
    while (dirent* entry = readdir(dir))
    {
        std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        std::string path = folder + "/" + name;
        if (IsFolder(path))
            ListFolder(path, gamePath + "/" + name, extension, out);
        else if (name.size() > extensionLength &&
                 strcasecmp(name.c_str() + name.size() - extensionLength, extension) == 0)
            out.push_back(gamePath + "/" + name);
    }
    closedir(dir);
}

// The program folder: the one given, or the parent of a folder named "data".
bool EnterProgramFolder(const std::string& given)
{
    std::string folder = given;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    if (!IsFolder(folder + "/data") && IsFolder(folder))
    {
        size_t slash = folder.rfind('/');
        std::string base = slash == std::string::npos ? folder : folder.substr(slash + 1);
        if (strcasecmp(base.c_str(), "data") == 0)
            folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : folder.substr(0, slash));
    }
    return IsFolder(folder + "/data") && SetCurrentFolder(folder.c_str());
}

int RunCheckCommand(const std::vector<std::string>& args)
{
    if (args.size() != 1)
    {
        std::fprintf(stderr, "usage: tesstool check DATAFOLDER\n");
        return 2;
    }
    if (!EnterProgramFolder(args[0]))
    {
        std::fprintf(stderr, "tesstool check: %s holds no data folder\n", args[0].c_str());
        return 1;
    }
    // The readers of level sections and object types, as the game registers them.
    RegisterWorldObjectTypes();
    RegisterShipObjectTypes();
    CDataCheckReport report;
    for (const CDataChecker* checker : CDataChecker::GetAll())
        checker->m_check(report);
    for (const std::string& line : report.GetLines())
        std::printf("%s\n", line.c_str());
    std::printf("%zu files checked, %zu problems\n", report.CountChecked(), report.CountProblems());
    return report.CountProblems() == 0 ? 0 : 1;
}

CToolCommand s_check("check", "DATAFOLDER   (loads every definition file through the game's readers)",
                     &RunCheckCommand);
} // namespace

void CDataCheckReport::Add(const std::string& file, const CDefinitionProblems& problems)
{
    for (const SDefinitionProblem& problem : problems.GetAll())
        Add(file, problem.line, problem.text);
}

void CDataCheckReport::Add(const std::string& file, uint32_t line, const std::string& text)
{
    m_lines.push_back(file + ":" + std::to_string(line) + ": " + text);
}

CDataChecker::CDataChecker(const char* name, DataCheckFunction check) : m_name(name), m_check(check)
{
    Checkers().push_back(this);
}

const std::vector<const CDataChecker*>& CDataChecker::GetAll()
{
    return Checkers();
}

std::string MakeReportName(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::vector<std::string> ListDataFiles(const char* extension)
{
    std::vector<std::string> files;
    ListFolder("data", "data", extension, files);
    std::sort(files.begin(), files.end());
    return files;
}
