// The enemy files under "data/enemies/": every section of a drone, a fighter, a worm,
// a mothership or a boss read as the game reads it, with the sprite files, effects
// and the files of launched ships and queens it names. The sections of other enemies
// are left to their own checks.

#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "ships/Bosses.h"
#include "ships/EnemyDrone.h"
#include "ships/EnemyFighter.h"
#include "ships/Mothership.h"
#include "ships/Worm.h"
#include "tools/tesstool/DataCheck.h"
#include "tools/tesstool/EffectNameCheck.h"
#include "tools/tesstool/SpriteFileCheck.h"

#include <memory>
#include <strings.h>

namespace
{
const char* const ENEMY_FOLDER = "data/enemies/";

// An enemy of the section's kind, or null for sections of other objects.
std::unique_ptr<CEnemyObject> MakeEnemyFor(const CDataNode& node)
{
    std::unique_ptr<CEnemyObject> enemies[] = {
        std::make_unique<CEnemyDrone>(), std::make_unique<CEnemyFighter>(), std::make_unique<CWorm>(),
        std::make_unique<CEnemyMothership>(), std::make_unique<CStarBoss>(), std::make_unique<CMagmaBoss>(),
        std::make_unique<CRainBoss>(), std::make_unique<CTronBoss>(), std::make_unique<CDiscBoss>()};
    for (auto& enemy : enemies)
        if (IsDefinitionSection(node, enemy->GetSectionName()))
            return std::move(enemy);
    return nullptr;
}

void CheckNamedEffects(const CDataTree& section, CDefinitionProblems& problems)
{
    for (const char* key : {"wakeEffect", "detonateEffect", "deathEffect", "warpEffect", "blobEmitter"})
        CheckEffectName(section, key, problems);
    for (const char* weapon : {"weapon0", "weapon1"})
        if (const CDataTree* block = section.FindBlock(weapon))
            CheckEffectName(*block, "weaponEffect", problems);
    if (const CDataTree* disc = section.FindBlock("disc"))
        for (const char* key : {"pissTrail", "deathEffect"})
            CheckEffectName(*disc, key, problems);
}

// A ship the section sends out or leaves behind: its file must hold a section of its
// type, or nothing would come.
void CheckNamedShipFile(const CDataTree& block, const char* key, const char* type, CDefinitionProblems& problems)
{
    char file[DATA_VALUE_MAX + 1] = "";
    if (!block.GetString(key, file, sizeof(file)))
        return;
    CDataNodeList nodes;
    if (!LoadDataFileNodes(file, nodes) || !FindDefinitionSection(nodes, type))
        problems.AddWarning(block.FindChild(key), "\"%s\" holds no %s section", file, type);
}

void CheckNamedShipFiles(const CDataTree& section, CDefinitionProblems& problems)
{
    if (const CDataTree* resource = section.FindBlock("resource"))
    {
        char type[DATA_VALUE_MAX + 1] = "ENEMY_DRONE";
        resource->GetString("fighterType", type, sizeof(type));
        CheckNamedShipFile(*resource, "fighterIniFile", type, problems);
    }
    CheckNamedShipFile(section, "queenFighterFile", "ENEMY_FIGHTER", problems);
    CheckNamedShipFile(section, "magmaFighterFile", "ENEMY_FIGHTER", problems);
}

void CheckEnemyFile(CDataCheckReport& report, const std::string& file)
{
    CDataNodeList nodes;
    if (!LoadDataFileNodes(file.c_str(), nodes))
    {
        report.Add(file, 0, "cannot be read");
        return;
    }
    CDefinitionProblems problems;
    for (const auto& node : nodes)
    {
        std::unique_ptr<CEnemyObject> enemy = MakeEnemyFor(*node);
        if (!enemy)
            continue;
        const CDataTree& section = static_cast<const CDataTree&>(*node);
        enemy->ReadDefinition(section, problems);
        CheckNamedSpriteFiles(section, problems);
        CheckNamedEffects(section, problems);
        CheckNamedShipFiles(section, problems);
    }
    report.Add(file, problems);
    report.NoteChecked(file);
}

void CheckEnemies(CDataCheckReport& report)
{
    for (const std::string& file : ListDataFiles(".txt"))
        if (strncasecmp(file.c_str(), ENEMY_FOLDER, std::char_traits<char>::length(ENEMY_FOLDER)) == 0)
            CheckEnemyFile(report, file);
}

CDataChecker s_enemies("enemy files", &CheckEnemies);
} // namespace
