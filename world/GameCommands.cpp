#include "world/GameCommands.h"

#include "core/Console.h"
#include "core/Random.h"
#include "world/CampaignLink.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/World.h"
#include "world/ZoneLink.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
bool ReadNumber(const char* arguments, int& out)
{
    char* end = nullptr;
    long value = std::strtol(arguments ? arguments : "", &end, 10);
    if (end == arguments)
        return false;
    out = static_cast<int>(value);
    return true;
}

void NoDeathCommand(void*, const char*)
{
    if (CGame* game = GetGame())
        game->GetRun().noDeath = !game->GetRun().noDeath;
}

void NoSuctionCommand(void*, const char*)
{
    if (CGame* game = GetGame())
        game->GetRun().noSuction = !game->GetRun().noSuction;
}

void ShowBossCommand(void*, const char*)
{
    if (CGame* game = GetGame())
        game->GetZones().ShowBoss();
}

void FitStationCommand(void*, const char* arguments)
{
    int n = 0;
    if (CGame* game = GetGame(); game && ReadNumber(arguments, n))
        game->GetCampaign().FitStation(n);
}

// Beyond the last zone means the last zone.
void SkipZoneCommand(void*, const char* arguments)
{
    int n = 0;
    CGame* game = GetGame();
    if (!game || !ReadNumber(arguments, n))
        return;
    int count = game->GetZones().GetZoneCount();
    if (count <= 0)
        return;
    if (n >= count)
        n = count - 1;
    if (n < 0)
        n = 0;
    game->GetZones().SkipToZone(n);
}

void ShowObjectCommand(void*, const char* arguments)
{
    CGame* game = GetGame();
    if (!game)
        return;
    char typeName[64] = "";
    char file[300] = "";
    if (!arguments || std::sscanf(arguments, "%63s %299s", typeName, file) < 1)
    {
        game->GetZones().SetObjectViewing(false);
        return;
    }
    game->GetZones().SetObjectViewing(true);
    CWorld* world = game->GetWorld();
    int32_t handle = NO_OBJECT;
    if (!world || !world->CreateObject(ObjectTypeFromName(typeName), handle))
    {
        if (g_console)
            g_console->Printf("Cannot show an object of type %s", typeName);
        return;
    }
    CGameObject* object = world->GetObject(handle);
    if (file[0])
        object->LoadFromFile(file);
    float x = 1800.0f + static_cast<float>(GetGameRandom().Below(50));
    float y = 800.0f + static_cast<float>(GetGameRandom().Below(50));
    object->SetPosition(CVector2D(x, y));
    object->SetVisible(true);
    game->GetCamera().Follow(handle, false);
}
} // namespace

void RegisterGameCommands(CConsole& console)
{
    console.RegisterFunction("/showobject", &ShowObjectCommand, nullptr);
    console.RegisterFunction("/skipzone", &SkipZoneCommand, nullptr);
    console.RegisterFunction("/fitstation", &FitStationCommand, nullptr);
    console.RegisterFunction("/showboss", &ShowBossCommand, nullptr);
    console.RegisterFunction("/nosucking", &NoSuctionCommand, nullptr);
    console.RegisterFunction("/nodeath", &NoDeathCommand, nullptr);
}
