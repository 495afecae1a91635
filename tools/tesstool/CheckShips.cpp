// The ship files: the component and design files that the levels' LEVEL sections
// name (and the quick-ship and survival designs when present), read as a level
// start reads them, with the sprite files the components name.

#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "core/StringTable.h"
#include "ships/ShipComponentDatabase.h"
#include "tools/tesstool/DataCheck.h"
#include "tools/tesstool/SpriteFileCheck.h"

#include <set>
#include <strings.h>
#include <utility>

namespace
{
const char* const MODE_DESIGN_FILES[] = {"data\\quickShip.txt", "data\\survivalShips.txt"};

// A game path as the report names files ("data/...").
std::string ReportName(std::string path)
{
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

// The first LEVEL block's ship files, as written there.
bool ReadLevelShipFiles(const std::string& levelFile, std::string& components, std::string& designs)
{
    CDataNodeList nodes;
    if (!LoadDataFileNodes(levelFile.c_str(), nodes))
        return false;
    for (const auto& node : nodes)
    {
        if (!BlockNameBegins(*node, "LEVEL"))
            continue;
        const CDataTree& level = static_cast<const CDataTree&>(*node);
        char text[257] = {};
        if (level.GetString("playerShipResFile", text, sizeof(text)))
            components = text;
        if (level.GetString("playerShipCfgFile", text, sizeof(text)))
            designs = text;
        return true;
    }
    return false;
}

bool IsLevelFile(const std::string& file)
{
    const char* name = file.c_str() + file.rfind('/') + 1;
    return strncasecmp(name, "init", 4) == 0;
}

void CheckComponentSprites(const std::string& file, CDefinitionProblems& problems)
{
    CDataNodeList nodes;
    if (!LoadDataFileNodes(file.c_str(), nodes))
        return;
    for (const auto& node : nodes)
        if (BlockNameBegins(*node, "SHIP_COMPONENT"))
            CheckNamedSpriteFiles(static_cast<const CDataTree&>(*node), problems);
}

void CheckDesigns(CDataCheckReport& report, CShipComponentDatabase& database, const std::string& file)
{
    CDataNodeList nodes;
    if (!LoadDataFileNodes(file.c_str(), nodes))
    {
        report.Add(ReportName(file), 0, "cannot be read");
        return;
    }
    database.ClearShipConfigs();
    database.LoadShipConfigNodes(nodes, file.c_str());
    report.NoteChecked(file);
    report.Add(ReportName(file), database.GetProblems());
}

void CheckShipFiles(CDataCheckReport& report)
{
    CStringTable strings;
    const bool haveStrings = strings.Load(STRING_TABLE_PATH) && strings.SelectLanguage(0);
    std::set<std::pair<std::string, std::string>> checked;
    for (const std::string& level : ListDataFiles(".txt"))
    {
        std::string components;
        std::string designs;
        if (!IsLevelFile(level) || !ReadLevelShipFiles(level, components, designs) || components.empty())
            continue;
        if (!checked.insert({components, designs}).second)
            continue;
        if (!haveStrings)
        {
            report.Add(STRING_TABLE_PATH, 0, "cannot be read: the ship parts' names cannot be checked");
            return;
        }
        CShipComponentDatabase database;
        database.SetStringTable(&strings);
        CDataNodeList nodes;
        if (!LoadDataFileNodes(components.c_str(), nodes))
        {
            report.Add(ReportName(components), 0, "cannot be read (named by " + level + ")");
            continue;
        }
        database.LoadComponentNodes(nodes, components.c_str());
        report.NoteChecked(components);
        report.Add(ReportName(components), database.GetProblems());
        CDefinitionProblems sprites;
        CheckComponentSprites(components, sprites);
        report.Add(ReportName(components), sprites);
        if (!designs.empty())
            CheckDesigns(report, database, designs);
        for (const char* modeFile : MODE_DESIGN_FILES)
        {
            CDataNodeList probe;
            if (LoadDataFileNodes(modeFile, probe))
                CheckDesigns(report, database, modeFile);
        }
    }
}

CDataChecker s_ships("ship components and designs", &CheckShipFiles);
} // namespace
