// The ship files: the component and design files that the levels' LEVEL sections
// name (and the quick-ship and survival designs when present), read as a level
// start reads them, with the sprite files the components name.

#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "core/StringTable.h"
#include "ships/ShipComponentDatabase.h"
#include "tools/tesstool/CheckConstructionIcons.h"
#include "tools/tesstool/DataCheck.h"
#include "ships/EngineFlames.h"
#include "tools/tesstool/SpriteFileCheck.h"
#include "world/EffectCache.h"

#include <set>
#include <string>
#include <vector>
#include <strings.h>
#include <utility>

namespace
{
const char* const MODE_DESIGN_FILES[] = {"data\\quickShip.txt", "data\\survivalShips.txt"};
const char* const EFFECT_LIST = "data\\effect.txt";

// A game path as the report names files ("data/...").
std::string ReportName(std::string path)
{
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

// The effect names a definition gives (empty ones are none).
std::vector<std::string> NamedEffects(const CShipComponentDef& def)
{
    if (auto* engine = dynamic_cast<const CEngineDef*>(&def))
        return {engine->m_engineEffect};
    if (auto* gun = dynamic_cast<const CGunDef*>(&def))
        return {gun->m_weaponEffect, gun->m_chargeWeaponEffect, gun->m_chargeEffect, gun->m_fullChargeEffect};
    if (auto* missile = dynamic_cast<const CMissileDef*>(&def))
        return {missile->m_weaponEffect};
    if (auto* pinbeam = dynamic_cast<const CPinbeamDef*>(&def))
        return {pinbeam->m_weaponEffect};
    if (auto* bomb = dynamic_cast<const CBombDef*>(&def))
        return {bomb->m_weaponEffect};
    if (auto* drone = dynamic_cast<const CDroneDef*>(&def))
        return {drone->m_weaponEffect};
    if (auto* beam = dynamic_cast<const CGravityBeamDef*>(&def))
        return {beam->m_gravityEffect, beam->m_objEffect};
    if (auto* shield = dynamic_cast<const CShieldDef*>(&def))
        return {shield->m_shieldEffect, shield->m_shieldEdgeEffect};
    if (auto* hull = dynamic_cast<const CHullDef*>(&def))
        return {hull->m_deathEffect, hull->m_collisionContactEffect};
    if (auto* mount = dynamic_cast<const CStationWeaponDef*>(&def))
        return {mount->m_weaponEffect, mount->m_notFiringEffect, mount->m_deathEffect};
    return {};
}

// An effect a part names that the game's effect files do not define would be
// missing without a word in the game.
void CheckNamedEffects(CDataCheckReport& report, const std::string& file, const CShipComponentDatabase& database)
{
    CEffectCache effects;
    if (!effects.Load(EFFECT_LIST))
    {
        report.Add(ReportName(EFFECT_LIST), 0, "cannot be read: the ship parts' effects cannot be checked");
        return;
    }
    auto check = [&](const std::string& name, const std::string& user) {
        if (!name.empty() && !effects.FindDefinition(name.c_str()))
            report.Add(ReportName(file), 0, user + " names the effect \"" + name + "\", which no effect file defines");
    };
    for (const char* fixed : {CEngineFlames::POD_FLAME, CEngineFlames::REVERSE_JET})
        check(fixed, "every ship");
    for (int kind = 0; kind < COMPONENT_KIND_COUNT; ++kind)
        for (int32_t i = 0; i < database.GetCategory(kind)->m_defCount; ++i)
        {
            const CShipComponentDef* def = database.GetComponentDef(kind, i);
            for (const std::string& name : NamedEffects(*def))
                check(name, "\"" + def->m_ident + "\"");
        }
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
        CheckNamedEffects(report, components, database);
        CheckConstructionIcons(report, components, database);
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
