// A busy battle in the running game, on the sample data: the game starts as a player
// starts it (a survival run from the main menu, by scripted keys) on the software
// device at 800 x 600; then the station comes in beside the ship, with 20 drones and 20
// fighters (topped up as they die) and the star boss around it, among the run's
// asteroid field, and every effect definition keeps all its emitters live (full
// particle pools, the weapons' lasers among them). The player ship cannot die, so the
// battle lasts. Prints milliseconds per frame for the simulation (the game flow, the
// world, the effects' movement) and for the drawing (sprites, beams, HUD and the
// frame's presentation), once with one drawing thread and once with every thread.
//   bench_battle_frame [frames]     (SDL_VIDEODRIVER=dummy unless set)

#include "benchmarks/RunningGame.h"
#include "core/app/Application.h"
#include "core/app/SpriteBankStartup.h"
#include "core/Random.h"
#include "frontend/GameFlow.h"
#include "platform/GameWindow.h"
#include "platform/Renderer.h"
#include "world/EffectCache.h"
#include "world/EffectDef.h"
#include "world/Emitter.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/HudLink.h"
#include "world/ObjectTypes.h"
#include "world/World.h"


#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
constexpr int DRONES = 20;
constexpr int FIGHTERS = 20;
constexpr int WARM_UP = 50;

struct SFigures
{
    double simulation = 0.0; // ms per frame
    double drawing = 0.0;    // ms per frame
    int objects = 0, enemies = 0, asteroids = 0, effects = 0, particles = 0;
};

double Ms(std::chrono::steady_clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

CVector2D Around(const CVector2D& centre, int near, int far)
{
    CRandom& random = GetGameRandom();
    CVector2D bearing;
    bearing.SetFromAngle(static_cast<float>(random.Below(360)));
    return centre + bearing * static_cast<float>(near + random.Below(far - near));
}

int32_t Spawn(CWorld& world, EObjectType type, const char* file, const CVector2D& place)
{
    int32_t handle = NO_OBJECT;
    if (!world.CreateObject(type, handle))
        return NO_OBJECT;
    CGameObject* object = world.GetObject(handle);
    object->SetPosition(place);
    object->GetBody().previousPosition = place;
    if (!object->LoadFromFile(file))
        return NO_OBJECT;
    object->PlaceShape();
    object->SetVisible(true);
    return handle;
}

int Count(const CWorld& world, EObjectType type)
{
    int count = 0;
    for (int32_t slot = 0; slot < world.GetSlotCount(); ++slot)
        if (const CGameObject* object = world.GetSlot(slot))
            count += object->GetType() == type ? 1 : 0;
    return count;
}

// The battle's numbers kept up: enemies that died come again, every effect definition
// has all its emitters live near the ship, and the ship stays whole.
void KeepBattle(CGame& game, const CVector2D& centre)
{
    CWorld& world = *game.GetWorld();
    for (int i = Count(world, OBJECT_ENEMY_DRONE); i < DRONES; ++i)
        Spawn(world, OBJECT_ENEMY_DRONE, "data\\enemies\\drone.txt", Around(centre, 350, 700));
    for (int i = Count(world, OBJECT_ENEMY_FIGHTER); i < FIGHTERS; ++i)
        Spawn(world, OBJECT_ENEMY_FIGHTER, "data\\enemies\\fighter.txt", Around(centre, 350, 700));
    if (CGameObject* ship = world.GetObject(game.GetPlayerShipHandle()))
        ship->GetBody().health = std::max(ship->GetBody().health, int32_t(100000));
    CEffectCache& cache = game.GetEffectCache();
    for (int32_t d = 0; d < cache.GetDefinitionCount(); ++d)
    {
        const CEffectDef* definition = cache.GetDefinition(d);
        for (int i = 0; i < definition->GetMaxEmitters(); ++i)
        {
            CEffect* effect = cache.SpawnEffect(definition->GetName(), nullptr, false);
            if (!effect)
                break;
            effect->SetPosition(Around(centre, 0, 380));
            effect->SetHeading(static_cast<float>(GetGameRandom().Below(360)));
            effect->Start();
        }
    }
}

// One measured battle in this process; false when the game did not come up.
bool Measure(int frames, const char* threads, SFigures& figures)
{
    setenv("TESSAVAR_THREADS", threads, 1);
    // The main menu's survival run, as a player comes to it through start-up.
    std::string home;
    if (!bench::StartRunningGame(home, 800, 600, bench::StartupKeys("SURVIVAL_RUN"), "35"))
    {
        bench::RemoveHome(home);
        return false;
    }

    CGame* game = GetGame();
    bool flying = false;
    for (int frame = 0; frame < 600 && !flying; ++frame)
    {
        // The window's messages first (the scripted keys come that way), as the game's loop does.
        while (PumpWindowMessage() == EPumpResult::Handled)
        {
        }
        if (!RunFrame())
            break;
        const CWorld* world = game->GetWorld();
        flying = game->GetGameFlow().GetMode() == GAME_MODE_FLIGHT && world &&
                 world->GetObject(game->GetPlayerShipHandle()) && frame > 200;
    }
    auto* flow = dynamic_cast<CGameFlow*>(&game->GetGameFlow());
    CWorld* world = game->GetWorld();
    const CGameObject* ship = flying ? world->GetObject(game->GetPlayerShipHandle()) : nullptr;
    if (!flow || !ship)
    {
        std::fprintf(stderr, "the survival run did not start\n");
        ShutdownApplication();
        return false;
    }
    const CVector2D centre = ship->GetPosition();
    flow->MakeStation();
    Spawn(*world, OBJECT_STAR_BOSS, "data\\enemies\\bossstar.txt", Around(centre, 500, 600));

    using clock = std::chrono::steady_clock;
    for (int frame = 0; frame < WARM_UP + frames; ++frame)
    {
        if (frame == WARM_UP)
            figures = SFigures();
        KeepBattle(*game, centre);
        while (PumpWindowMessage() == EPumpResult::Handled)
        {
        }
        game->BeginFrame();
        g_renderer->Tick();
        float scrollX = 0.0f, scrollY = 0.0f;
        const auto start = clock::now();
        flow->Update();
        game->GetCamera().SetScreenSize(800.0f, 600.0f);
        game->UpdateFrame(&scrollX, &scrollY);
        const auto simulated = clock::now();
        double effects = 0.0;
        g_renderer->BeginScene();
        if (g_renderer->CanDraw())
        {
            DrawSpriteBank(scrollX, scrollY);
            const auto moved = clock::now();
            game->GetEffectCache().Update(); // moves the particles and draws the beams
            effects = Ms(clock::now() - moved);
            game->GetHud().Draw(static_cast<int32_t>(scrollX), static_cast<int32_t>(scrollY));
            flow->Draw();
            g_renderer->EndScene();
        }
        const double total = Ms(clock::now() - start);
        figures.simulation += Ms(simulated - start) + effects;
        figures.drawing += total - Ms(simulated - start) - effects;
        game->EndFrame();
    }
    figures.simulation /= frames;
    figures.drawing /= frames;
    figures.objects = world->CountObjects();
    figures.enemies = world->CountEnemies();
    figures.asteroids = Count(*world, OBJECT_ASTEROID);
    CEffectCache& cache = game->GetEffectCache();
    figures.effects = cache.CountLiveEffects();
    for (int32_t i = 0; i < cache.GetDefinitionCount(); ++i)
        if (const CEmitter* emitter = cache.GetDefinition(i)->GetEmitter())
            figures.particles += emitter->GetParticleCount() - emitter->CountFreeParticles();
    ShutdownApplication();
    bench::RemoveHome(home);
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    std::printf("battle frame on the sample data: the station, %d drones and %d fighters, the star boss, the\n"
                "asteroid field, every effect's emitters live; %d frames on the software device at 800 x 600\n",
                DRONES, FIGHTERS, frames);
    std::fflush(stdout);
    for (const char* threads : {"1", ""})
    {
        // Each measurement in a process of its own: the game starts and ends once a process.
        SFigures figures;
        const bool read =
            bench::MeasureInChild(figures, [&](SFigures& measured) { return Measure(frames, threads, measured); });
        if (!read)
        {
            std::fprintf(stderr, "the battle with %s drawing threads failed\n", threads[0] ? threads : "all");
            return 1;
        }
        std::printf("  %s: simulation %.2f ms, drawing %.2f ms, in all %.2f ms of the 40 ms frame\n",
                    threads[0] ? "one drawing thread" : "every drawing thread", figures.simulation, figures.drawing,
                    figures.simulation + figures.drawing);
        std::printf("    at the end: %d objects (%d enemies, %d asteroids), %d live effects, %d particles\n",
                    figures.objects, figures.enemies, figures.asteroids, figures.effects, figures.particles);
    }
    return 0;
}
