#include "ships/EnemyCommands.h"

#include "core/Console.h"
#include "core/Random.h"
#include "world/AsteroidField.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/World.h"

#include <cstdio>
#include <cstring>

namespace
{
constexpr float NEAR_DISTANCE = 350.0f;
constexpr int32_t DISTANCE_SPREAD = 100;
// Where "/showobject" shows objects.
const CVector2D SHOW_PLACE(1800.0f, 800.0f);
constexpr int32_t SHOW_SPREAD = 50;

// The sample file of a type, for a command that names none.
const char* DefaultFile(EObjectType type)
{
    switch (type)
    {
    case OBJECT_ENEMY_DRONE:
        return "data\\enemies\\drone.txt";
    case OBJECT_ENEMY_FIGHTER:
        return "data\\enemies\\fighter.txt";
    case OBJECT_ENEMY_MOTHERSHIP:
        return "data\\enemies\\carrier.txt";
    case OBJECT_STAR_BOSS:
        return "data\\enemies\\bossstar.txt";
    case OBJECT_MAGMA_BOSS:
        return "data\\enemies\\bossmagma.txt";
    case OBJECT_RAIN_BOSS:
        return "data\\enemies\\bossrain.txt";
    case OBJECT_TRON_BOSS:
        return "data\\enemies\\bosstron.txt";
    case OBJECT_DISC_BOSS:
        return "data\\enemies\\bossdisc.txt";
    default:
        return "";
    }
}

CVector2D ChooseSpawnPlace(CGame& game)
{
    CRandom& random = GetGameRandom();
    const CGameObject* ship = game.GetWorld()->GetObject(game.GetPlayerShipHandle());
    if (!ship)
    {
        // x is drawn before y (a call's arguments are drawn in no set order).
        const float x = static_cast<float>(random.Below(SHOW_SPREAD));
        const float y = static_cast<float>(random.Below(SHOW_SPREAD));
        return SHOW_PLACE + CVector2D(x, y);
    }
    CVector2D bearing;
    bearing.SetFromAngle(static_cast<float>(random.Below(360)));
    return ship->GetPosition() + bearing * (NEAR_DISTANCE + static_cast<float>(random.Below(DISTANCE_SPREAD)));
}

void SpawnEnemyCommand(void*, const char* arguments)
{
    CGame* game = GetGame();
    CWorld* world = game ? game->GetWorld() : nullptr;
    char typeName[64] = "";
    char file[300] = "";
    if (!world || !arguments || std::sscanf(arguments, "%63s %299s", typeName, file) < 1)
    {
        if (g_console)
            g_console->Printf("Usage: /spawnenemy TYPE [FILE], with a level running");
        return;
    }
    const CVector2D place = ChooseSpawnPlace(*game);
    if (std::strcmp(typeName, "WORM") == 0)
    {
        SpawnWorm(place);
        return;
    }
    int32_t handle = NO_OBJECT;
    const EObjectType type = ObjectTypeFromName(typeName);
    if (type == OBJECT_NONE || !world->CreateObject(type, handle))
    {
        if (g_console)
            g_console->Printf("Cannot spawn an enemy of type %s", typeName);
        return;
    }
    CGameObject* enemy = world->GetObject(handle);
    enemy->SetPosition(place);
    enemy->GetBody().previousPosition = place;
    const char* definition = file[0] ? file : DefaultFile(type);
    if (definition[0] && !enemy->LoadFromFile(definition))
        return;
    enemy->PlaceShape();
    enemy->SetVisible(true);
}
} // namespace

void RegisterEnemyCommands(CConsole& console)
{
    console.RegisterFunction("/spawnenemy", &SpawnEnemyCommand, nullptr);
}
