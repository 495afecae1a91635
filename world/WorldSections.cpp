#include "world/WorldSections.h"

#include "core/Console.h"
#include "core/DefinitionProblems.h"
#include "core/Random.h"
#include "world/AsteroidDefs.h"
#include "world/Backdrop.h"
#include "world/Game.h"
#include "world/LevelConfig.h"

namespace
{
const char* LevelFileName(const CGame& game)
{
    return game.GetLevelConfig() ? game.GetLevelConfig()->GetFileName().c_str() : "level";
}

// Asteroids the game cannot run without: a broken table ends it.
void ReadAsteroidSection(const CDataTree& section, CGame* game, CDefinitionProblems& problems)
{
    if (!game)
    {
        CAsteroidTable check;
        check.Load(section, false, problems);
        return;
    }
    if (!game->GetAsteroidTable().Load(section, true, problems))
        EndOnBrokenDefinition(LevelFileName(*game), problems);
}

// A backdrop is decoration: what cannot be made is left out, with a console line.
void ReadStarfieldSection(const CDataTree& section, CGame* game, CDefinitionProblems& problems)
{
    if (!game)
    {
        CBackdrop check;
        CRandom unused;
        check.Load(section, 0.0f, false, unused, problems);
        return;
    }
    const size_t before = problems.GetAll().size();
    game->GetBackdrop().Load(section, game->GetWorldWidth(), true, GetGameRandom(), problems);
    if (!g_console)
        return;
    for (size_t i = before; i < problems.GetAll().size(); ++i)
        g_console->Printf("%s:%u: %s", LevelFileName(*game), problems.GetAll()[i].line,
                          problems.GetAll()[i].text.c_str());
}
} // namespace

void RegisterWorldSections()
{
    RegisterLevelSectionReader("ASTEROID_DEFS", &ReadAsteroidSection);
    RegisterLevelSectionReader("STARFIELD", &ReadStarfieldSection);
}
