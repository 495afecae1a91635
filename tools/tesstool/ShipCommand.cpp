// tesstool ship: reads component and design files with the game's own readers and
// prints what it understood: the categories with their definitions, then every
// design with its pods, weapon groups, mass and flight-check flags.
//   ship [--strings TABLE] FILE...
// Files holding "SHIP_COMPONENT" blocks are read first, in the order given, then
// the design files. The string table (default data/Tessavar_Strings.tbl) resolves
// the display keys that every definition names.

#include "core/DataFile.h"
#include "core/StringTable.h"
#include "core/Utf8Text.h"
#include "ships/ShipComponentDatabase.h"
#include "tools/tesstool/ToolCommand.h"

#include <cstdio>
#include <string>
#include <vector>

namespace
{
bool HasBlockNamed(const CDataNodeList& nodes, const char* prefix)
{
    for (const auto& node : nodes)
        if (BlockNameBegins(*node, prefix))
            return true;
    return false;
}

std::string DisplayText(const CStringTable& strings, uint32_t id)
{
    const CWString* text = nullptr;
    return strings.GetText(id, text) && text ? Utf16ToUtf8(text->GetText()) : std::string("?");
}

void PrintCategories(const CShipComponentDatabase& database, const CStringTable& strings)
{
    std::printf("categories\n");
    for (int kind = 0; kind < COMPONENT_KIND_COUNT; ++kind)
    {
        const SComponentCategory* category = database.GetCategory(kind);
        std::printf("  %2d %-21s \"%s\" (%s): %d\n", kind, GetComponentKindName(kind), category->m_name.c_str(),
                    DisplayText(strings, category->m_displayStringId).c_str(), category->m_defCount);
        for (int32_t i = 0; i < category->m_defCount; ++i)
        {
            const CShipComponentDef* def = category->GetDef(i);
            std::printf("     %d %s mass %u health %u energy %d ammo %d \"%s\"\n", i, def->m_ident.c_str(), def->m_mass,
                        def->m_health, def->m_energyRequirement, def->m_ammo,
                        DisplayText(strings, def->m_displayStringId).c_str());
        }
    }
}

void PrintGroup(const CShipConfig& config, int group)
{
    const SWeaponGroup& list = config.GetWeaponGroup(group);
    std::printf("    group %d:", group);
    for (int32_t i = 0; i < list.m_count; ++i)
        std::printf(" %d", list.m_pods[i]);
    std::printf("\n");
}

void PrintDesigns(const CShipComponentDatabase& database)
{
    std::printf("designs %d\n", database.GetConfigCount());
    for (int slot = 0; slot < SHIP_CONFIG_SLOTS; ++slot)
    {
        const CShipConfig* config = database.GetShipConfig(slot);
        if (!config)
            continue;
        bool beamAndWeapon = false;
        bool engine = false;
        database.CheckShipConfig(slot, beamAndWeapon, engine);
        const CHullDef* hull = database.GetHullDef(config->m_hull);
        std::printf("  slot %d \"%s\" hull %d %s, %d pods, mass %u, beam and weapon %s, engine %s\n", slot,
                    config->m_ident.c_str(), config->m_hull, hull ? hull->m_ident.c_str() : "(none)",
                    config->m_podCount, config->GetTotalMass(), beamAndWeapon ? "yes" : "no", engine ? "yes" : "no");
        for (int32_t i = 0; i < config->m_podCount; ++i)
        {
            const SShipPod& pod = config->m_pods[i];
            const CShipComponentDef* def = database.GetComponentDef(pod.m_kind, pod.m_defIndex);
            std::printf("    pod %d (%g, %g) %s %s\n", i, pod.m_topLeft.x, pod.m_topLeft.y,
                        GetComponentKindName(pod.m_kind), pod.m_kind != COMPONENT_NONE && def ? def->m_ident.c_str() : "-");
        }
        PrintGroup(*config, 1);
        PrintGroup(*config, 2);
    }
}

int Run(const std::vector<std::string>& args)
{
    std::string tablePath = STRING_TABLE_PATH;
    std::vector<std::string> files;
    for (size_t i = 0; i < args.size(); ++i)
    {
        if (args[i] == "--strings" && i + 1 < args.size())
            tablePath = args[++i];
        else
            files.push_back(args[i]);
    }
    if (files.empty())
    {
        std::fprintf(stderr, "usage: tesstool ship [--strings TABLE] FILE...\n");
        return 2;
    }
    CStringTable strings;
    if (!strings.Load(tablePath.c_str()) || !strings.SelectLanguage(0))
    {
        std::fprintf(stderr, "tesstool ship: cannot read the string table %s\n", tablePath.c_str());
        return 1;
    }
    CShipComponentDatabase database;
    database.SetStringTable(&strings);
    std::vector<std::pair<std::string, CDataNodeList>> designFiles;
    for (const std::string& path : files)
    {
        CDataNodeList nodes;
        if (!LoadDataFileNodes(path.c_str(), nodes))
        {
            std::fprintf(stderr, "tesstool ship: cannot read %s\n", path.c_str());
            return 1;
        }
        if (HasBlockNamed(nodes, "SHIP_COMPONENT"))
        {
            bool ok = database.LoadComponentNodes(nodes, path.c_str());
            std::fprintf(stderr, "%s", database.DescribeProblems().c_str());
            if (!ok)
                return 1;
        }
        else if (HasBlockNamed(nodes, "SHIP_CONFIG"))
            designFiles.emplace_back(path, std::move(nodes));
        else
        {
            std::fprintf(stderr, "tesstool ship: %s holds no components and no designs\n", path.c_str());
            return 1;
        }
    }
    for (const auto& [path, nodes] : designFiles)
    {
        bool ok = database.LoadShipConfigNodes(nodes, path.c_str());
        std::fprintf(stderr, "%s", database.DescribeProblems().c_str());
        if (!ok)
            return 1;
    }
    PrintCategories(database, strings);
    PrintDesigns(database);
    return 0;
}

CToolCommand s_ship("ship", "[--strings TABLE] FILE...", &Run);
} // namespace
