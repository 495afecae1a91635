// The enemy files under "data/enemies/": every section of a drone, a fighter or a
// worm read as the game reads it, with the sprite files and effects it names. The
// sections of other enemies are left to their own checks.

#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "ships/EnemyDrone.h"
#include "ships/EnemyFighter.h"
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
    std::unique_ptr<CEnemyObject> enemies[] = {std::make_unique<CEnemyDrone>(), std::make_unique<CEnemyFighter>(),
                                                std::make_unique<CWorm>()};
    for (auto& enemy : enemies)
        if (IsDefinitionSection(node, enemy->GetSectionName()))
            return std::move(enemy);
    return nullptr;
}

void CheckNamedEffects(const CDataTree& section, CDefinitionProblems& problems)
{
    for (const char* key : {"wakeEffect", "detonateEffect", "deathEffect"})
        CheckEffectName(section, key, problems);
    for (const char* weapon : {"weapon0", "weapon1"})
        if (const CDataTree* block = section.FindBlock(weapon))
            CheckEffectName(*block, "weaponEffect", problems);
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
