#include "ships/ShipLevelData.h"

#include "core/Console.h"
#include "core/DataTree.h"
#include "world/Game.h"

#include <memory>

CShipLevelData* GetShipLevelData(const CGame& game)
{
    const CLevelConfig* config = game.GetLevelConfig();
    return config ? config->FindData<CShipLevelData>() : nullptr;
}

CShipComponentDatabase* GetLevelShipDatabase()
{
    const CGame* game = GetGame();
    CShipLevelData* data = game ? GetShipLevelData(*game) : nullptr;
    return data ? &data->m_database : nullptr;
}

void ReadLevelShips(const CDataTree& section, CGame* game, CDefinitionProblems& problems)
{
    char components[257] = {};
    char designs[257] = {};
    section.GetString("playerShipResFile", components, sizeof(components));
    section.GetString("playerShipCfgFile", designs, sizeof(designs));
    // While a level file is only checked, the ship files are checked on their own.
    if (!game || !game->GetLevelConfig() || (!components[0] && !designs[0]))
        return;
    auto data = std::make_unique<CShipLevelData>();
    CShipComponentDatabase& database = data->m_database;
    if (components[0] && !database.LoadComponents(components))
        EndOnBrokenDefinition(components, database.GetProblems());
    const std::string designFile = game->ChooseShipDesignFile(designs);
    if (!designFile.empty() && !database.LoadShipConfigs(designFile.c_str()))
    {
        if (!game->UsesPlayerShipDesignFile())
            EndOnBrokenDefinition(designFile.c_str(), database.GetProblems());
        data->m_designsRefused = true;
        problems.AddFatal(&section, "the ship designs of %s are damaged and were not loaded", designFile.c_str());
        if (g_console)
            g_console->Printf("Ship designs %s are damaged", designFile.c_str());
    }
    game->GetLevelConfig()->AddData(std::move(data));
}
