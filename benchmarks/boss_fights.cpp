// The five sample bosses against the starter ship, each in the running game on the
// sample data: the flight of an open survival run (the starter ship as the player has
// it, every gun open and no pages; the logo skipped and the run keyed in as a player
// does, by the program tests' shared start-up keys) meets one boss brought in 600
// units ahead, and a simple pilot fights it: every frame it holds fire (Q down from
// the script), turns the ship's nose onto the nearest enemy fighter or drone within
// 350 units (what the boss launches), else onto the boss's centre, and circles the
// boss at a steady speed, drawn toward the middle of a band of distances; each boss
// is fought from a close band (260 to 420 units) and a far one (420 to 560). Prints,
// per fight, whether the boss or the ship went first, the fight's length in game
// seconds, the ship's health left and the times it was hit, and the boss's health,
// parts and turrets left, so that the sample numbers can be balanced: each boss
// beatable, none trivial.
//   bench_boss_fights [seconds] [name]   (the longest fight, 600 by default; only the
//   bosses whose file name holds `name`, every one when absent; SDL_VIDEODRIVER=dummy
//   unless set)

#include "benchmarks/RunningGame.h"
#include "core/app/Application.h"
#include "platform/GameWindow.h"
#include "ships/Boss.h"
#include "ships/Mothership.h"
#include "world/AsteroidKinds.h"
#include "world/DirectorLink.h"
#include "world/Game.h"
#include "world/GameFlowLink.h"
#include "world/GameObject.h"
#include "world/ObjectTypes.h"
#include "world/World.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{
// The survival run's ship has warped in by this frame (as the program tests that fight
// in it count); the pilot takes over at FIGHT_FRAME.
constexpr int BOSS_FRAME = 220;
constexpr int FIGHT_FRAME = BOSS_FRAME + 30;
struct SBand
{
    float near, far;
};
const SBand BANDS[] = {{260.0f, 420.0f}, {420.0f, 560.0f}};
constexpr float ORBIT_SPEED = 4.0f;    // units a tick, round the boss
constexpr float APPROACH_SPEED = 5.0f; // units a tick, in or out
constexpr float RADIAL_GAIN = 0.05f;   // units a tick per unit off the band's middle
constexpr float FIGHTER_REACH = 350.0f; // a launched ship this near draws the fire

struct SBoss
{
    EObjectType type;
    const char* file;
};
const SBoss BOSSES[] = {
    {OBJECT_STAR_BOSS, "data\\enemies\\bossstar.txt"}, {OBJECT_MAGMA_BOSS, "data\\enemies\\bossmagma.txt"},
    {OBJECT_RAIN_BOSS, "data\\enemies\\bossrain.txt"}, {OBJECT_TRON_BOSS, "data\\enemies\\bosstron.txt"},
    {OBJECT_DISC_BOSS, "data\\enemies\\bossdisc.txt"},
};

struct SResult
{
    int outcome = 0; // 1 the boss died, 2 the ship died, 3 the flight ended, 0 time ran out
    float seconds = 0.0f;
    int32_t shipHealth = 0;
    int32_t shipStartHealth = 0;
    int hits = 0;
    int32_t bossHealth = 0;
    int parts = 0, partsAlive = 0, turrets = 0, turretsAlive = 0;
};

bool Pump()
{
    while (PumpWindowMessage() == EPumpResult::Handled)
    {
    }
    return RunFrame();
}

// The nearest enemy fighter or drone within FIGHTER_REACH of the ship, or null. A
// player shoots these first, or they wear the ship down while it fires at the boss.
const CGameObject* FindNearFighter(CWorld& world, const CGameObject& ship)
{
    const CGameObject* nearest = nullptr;
    float best = FIGHTER_REACH;
    for (int32_t slot = 0; slot < world.GetSlotCount(); ++slot)
    {
        const CGameObject* object = world.GetSlot(slot);
        if (!object || (object->GetType() != OBJECT_ENEMY_FIGHTER && object->GetType() != OBJECT_ENEMY_DRONE) ||
            object->GetBody().health <= 0 || !object->GetInfo().shown)
            continue;
        const float distance = (object->GetPosition() - ship.GetPosition()).Length();
        if (distance < best)
        {
            best = distance;
            nearest = object;
        }
    }
    return nearest;
}

// The pilot's frame: the distance to the boss kept while circling it, the nose on the
// nearest launched ship within reach, else on the boss's centre.
void Pilot(CGameObject& ship, const CGameObject& boss, const CGameObject* target, const SBand& band)
{
    CVector2D toBoss = boss.GetPosition() - ship.GetPosition();
    const float distance = toBoss.Length();
    if (distance < 1.0f)
        return;
    CVector2D along = toBoss;
    along.Normalise();
    CVector2D aim = target ? target->GetPosition() - ship.GetPosition() : toBoss;
    if (aim.Length() >= 1.0f)
    {
        aim.Normalise();
        ship.GetBody().angle = aim.GetAngle();
    }
    const CVector2D round(-along.y, along.x);
    // Toward the band's middle, faster the farther off it.
    const float middle = (band.near + band.far) * 0.5f;
    const float radial = std::max(-APPROACH_SPEED, std::min(APPROACH_SPEED, (distance - middle) * RADIAL_GAIN));
    ship.GetBody().velocity = round * ORBIT_SPEED + along * radial;
}

// The survival run's rocks and what breaks off them go, so that what the ship takes
// is the boss's doing: the pilot would run into them. The rocks a boss throws stay.
void ClearField(CWorld& world)
{
    for (int32_t slot = 0; slot < world.GetSlotCount(); ++slot)
    {
        const CGameObject* object = world.GetSlot(slot);
        if (object && object->GetType() == OBJECT_ASTEROID && object->GetAsteroidKind() != ASTEROID_EXPLOSIVE)
            world.RemoveObject(object->GetHandle());
    }
}

bool Fight(const SBoss& boss, const SBand& band, int seconds, SResult& result)
{
    // The survival run's flight; fire held from the fight's start.
    const std::string keys = bench::StartupKeys("SURVIVAL_RUN");
    if (keys.empty())
        return false;
    const std::string script = keys + std::to_string(FIGHT_FRAME) + " down Q\n";
    std::string home;
    if (!bench::StartRunningGame(home, 640, 480, script, "28"))
    {
        bench::RemoveHome(home);
        return false;
    }
    CGame* game = GetGame();
    int32_t bossHandle = NO_OBJECT;
    int32_t lastHealth = 0;
    const int frames = FIGHT_FRAME + seconds * 25;
    for (int frame = 0; frame < frames; ++frame)
    {
        CWorld* world = game->GetWorld();
        CGameObject* ship = world ? world->GetObject(game->GetPlayerShipHandle()) : nullptr;
        if (frame == BOSS_FRAME)
        {
            if (!ship || !world->CreateObject(boss.type, bossHandle))
                break;
            CGameObject* made = world->GetObject(bossHandle);
            CVector2D ahead;
            ahead.SetFromAngle(ship->GetBody().angle);
            const CVector2D place = ship->GetPosition() + ahead * 600.0f;
            made->SetPosition(place);
            made->GetBody().previousPosition = place;
            if (!made->LoadFromFile(boss.file))
                break;
            made->PlaceShape();
            made->SetVisible(true);
            // The director raises a boss's go flag as the player meets it at its node;
            // brought into a survival run, it would stand inert without it.
            if (const auto* fighting = dynamic_cast<const CBoss*>(made))
                game->GetDirector().RaiseFlag(DIRECTOR_BOSS_CHAT, DIRECTOR_BOSS_GO_FIRST + fighting->GetChatPage() -
                                                                      DIRECTOR_BOSS_CHAT_FIRST);
            result.shipStartHealth = lastHealth = ship->GetBody().health;
        }
        if (frame >= FIGHT_FRAME)
        {
            const CGameObject* enemy = world ? world->GetObject(bossHandle) : nullptr;
            result.seconds = static_cast<float>(frame - FIGHT_FRAME) / 25.0f;
            if (!enemy)
            {
                result.outcome = 1;
                break;
            }
            result.bossHealth = enemy->GetBody().health;
            if (const auto* mothership = dynamic_cast<const CEnemyMothership*>(enemy))
            {
                result.parts = mothership->GetPartCount();
                result.turrets = mothership->GetTurretCount();
                result.partsAlive = result.turretsAlive = 0;
                for (int i = 0; i < result.parts; ++i)
                    result.partsAlive += mothership->IsPartAlive(i) ? 1 : 0;
                for (int i = 0; i < result.turrets; ++i)
                    result.turretsAlive += mothership->IsTurretAlive(i) ? 1 : 0;
            }
            if (!ship || ship->GetBody().health <= 0 || game->GetGameFlow().GetMode() != GAME_MODE_FLIGHT)
            {
                result.outcome = ship && ship->GetBody().health > 0 ? 3 : 2;
                break;
            }
            if (ship->GetBody().health < lastHealth)
                ++result.hits;
            lastHealth = result.shipHealth = ship->GetBody().health;
            ClearField(*world);
            Pilot(*ship, *enemy, FindNearFighter(*world, *ship), band);
        }
        if (!Pump())
            break;
    }
    ShutdownApplication();
    bench::RemoveHome(home);
    return bossHandle != NO_OBJECT;
}
} // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 600;
    const char* const outcomes[] = {"time ran out", "boss beaten", "ship lost", "flight ended"};
    const char* const only = argc > 2 ? argv[2] : "";
    int failed = 0;
    for (const SBoss& boss : BOSSES)
        for (const SBand& band : BANDS)
        {
            if (!std::strstr(boss.file, only))
                continue;
            // Each fight in a process of its own.
            SResult result;
            if (!bench::MeasureInChild(result, [&](SResult& r) { return Fight(boss, band, seconds, r); }))
            {
                std::printf("%-28s the fight did not start\n", boss.file);
                ++failed;
                continue;
            }
            std::printf("%-28s %3.0f-%3.0f: %-12s after %5.1f s: ship health %d of %d (hit %d times); boss health "
                        "%d, parts %d of %d, turrets %d of %d\n",
                        boss.file, static_cast<double>(band.near), static_cast<double>(band.far),
                        outcomes[result.outcome], static_cast<double>(result.seconds), result.shipHealth,
                        result.shipStartHealth, result.hits, result.bossHealth, result.partsAlive, result.parts,
                        result.turretsAlive, result.turrets);
            std::fflush(stdout);
        }
    return failed == 0 ? 0 : 1;
}
