// A frame of effects at their limits: 200 particle emitters (eight definitions of every
// appearance and controller, 25 live effects each, emitting without end so that each
// definition's pool of 4096 particles stays full, some testing hits) and 20 lasers (five
// of each beam mode, testing every frame) among 40 targets, in a running world.
// Prints milliseconds per frame for the simulation (world and effect cache, no drawing)
// and for drawing (the sprite bank's particles, and the beams through DrawRibbon) on the
// software device at 800 x 600, so the 40 ms frame budget is checked by a figure.
//   bench_effects_frame [frames]     (SDL_VIDEODRIVER=dummy unless set)

#include "core/Random.h"
#include "core/RealTimeClock.h"
#include "platform/D3D8Renderer.h"
#include "platform/Tga.h"
#include "presentation/SpriteBank.h"
#include "utility/source/QelSpriteFormat.h"
#include "utility/source/QelSpritePacker.h"
#include "world/EffectCache.h"
#include "world/EffectDef.h"
#include "world/Emitter.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/ObjectFactory.h"
#include "world/World.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
constexpr int EMITTERS_PER_DEFINITION = 25;
constexpr int LASERS_PER_MODE = 5;
constexpr int TARGETS = 40;

bool WriteFiles(const std::string& folder)
{
    std::vector<std::vector<uint8_t>> frames;
    for (int f = 0; f < 8; ++f)
    {
        std::vector<uint8_t> pixels(16 * 16 * 4, 0);
        for (int i = 0; i < 16 * 16; ++i)
        {
            const float dx = float(i % 16) - 7.5f, dy = float(i / 16) - 7.5f;
            const float d = std::sqrt(dx * dx + dy * dy) / 8.0f;
            pixels[size_t(i) * 4 + 0] = uint8_t(40 + f * 25);
            pixels[size_t(i) * 4 + 1] = 200;
            pixels[size_t(i) * 4 + 2] = uint8_t(255 - f * 20);
            pixels[size_t(i) * 4 + 3] = d < 1.0f ? uint8_t(255 * (1.0f - d)) : 0;
        }
        frames.push_back(pixels);
    }
    SSpritePackOptions options;
    options.pixelFormat = 2;
    options.maxPageSide = 64;
    SSpriteFileData sprite;
    std::vector<uint8_t> bytes;
    if (!PackSpriteFrames(frames, 16, 16, options, sprite) || !WriteSpriteFile(sprite, bytes))
        return false;
    FILE* file = std::fopen((folder + "/fx.spr").c_str(), "wb");
    if (!file)
        return false;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    std::vector<uint8_t> beam(8 * 8 * 4, 255);
    return SaveTga32((folder + "/beam.tga").c_str(), 8, 8, beam.data());
}

std::string Particles(const std::string& name, const std::string& appearance, const std::string& controller,
                      const std::string& extra)
{
    return "EFFECT\n{\nname " + name + "\nmaxParticles 4096\nmaxEmitters " + std::to_string(EMITTERS_PER_DEFINITION) +
           "\nparticle\n{\nappearance\n{\n" + appearance + "\nsprite\n{\nspriteFile fx.spr\n}\n}\n}\n"
           "controller\n{\n" + controller + "\n}\n"
           "emitter\n{\ntype SIMPLE_PARTICLE\nrandomNumCreated -1, -1\nrandomStartVel 40, 120\n"
           "randomStartOri 0, 360\nrandomLife 3, 4\nrandomEmissionRate 0.04, 0.04\nrandomEmissionQty 6, 8\n" +
           extra + "\n}\n}\n";
}

std::string Laser(const std::string& name, const std::string& mode)
{
    return "EFFECT\n{\nname " + name + "\nmaxParticles 0\nmaxEmitters " + std::to_string(LASERS_PER_MODE) +
           "\nemitter\n{\ntype STRAIGHT_LASER\ntextureFile beam.tga\nbeamWidth 5\nmaxBeamLength 400\n"
           "startColor 255, 200, 150\nstartAlpha 255\nblendMode additive\nonTimeSec 1000\ndamage 0\n"
           "constCollision true\nnumBeams 8\nmaxSegments 30\nbeamLength 300\nspeed 600\n" + mode + "\n}\n}\n";
}

const std::string HIT = "event\n{\ntype EMITTER_PARTICLE_COLLISION\nchanceOfTriggering 1\nparticleRadius 4\n}";

std::string Definitions()
{
    return Particles("a", "type SPRITE\ncolorKeys\n{\nnumKeys 2\nkey0 255, 255, 255, 0\nkey1 255, 0, 0, 1\n}",
                     "type OMNI_DIRECTION\ninertia 0.99", "") +
           Particles("b", "type ANIM_SPRITE\nendFrame 7\nrandomPlayRate 5, 10\nloop true", "type OMNI_DIRECTION", "") +
           Particles("c", "type ORIENTATED_SPRITE\nendFrame 7", "type OMNI_DIRECTION", HIT) +
           Particles("d", "type SPRITE\nalphaKeys\n{\nnumKeys 2\nkey0 255, 0\nkey1 0, 1\n}", "type STATIC", "") +
           Particles("e", "type SPRITE\nforceRotate true",
                     "type ATTRACTION\nattractionPoint 0, 0\nmoveToAttractor true\ncircularPlacement true", "") +
           Particles("f", "type SPRITE", "type TARGETED\nteamToAttack BAD_TEAM\nleaveAlone 0.1\nrange 300\nturnRate 0.05",
                     HIT) +
           Particles("g", "type SPRITE\nscaleKeys\n{\nnumKeys 2\nkey0 0.5, 0.5, 0\nkey1 2, 2, 1\n}",
                     "type OMNI_DIRECTION", "ownerRelative true") +
           Particles("h", "type DUMMY", "type OMNI_DIRECTION", HIT) + Laser("straight", "") +
           Laser("homing", "homing true") + Laser("bounce", "bounce true") + Laser("lightning", "lightning true");
}

double Ms(std::chrono::steady_clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

struct STimes
{
    double simulation = 0.0; // world and effect cache (with the beams' drawing when drawn), per frame
    double sprites = 0.0;    // the sprite bank's drawing, per frame
    int32_t particles = 0;   // live at the end
};

// Runs the scene for warm-up + frames frames; with draw set the renderer draws.
STimes Run(CD3D8Renderer& renderer, CSpriteBank& bank, bool draw, int frames)
{
    g_renderer = draw ? &renderer : nullptr;
    GetGameRandom().Seed(9);
    CGame* game = CreateGame();
    game->Init(&bank);
    GetGameRandom().Seed(9);
    STimes times;
    if (!game->StartLevelFromBytes("LEVEL\n{\nworldWidth 4000\ntreeDepth 5\n}\n", "bench") ||
        !game->GetEffectCache().LoadFromBytes(Definitions(), "bench"))
    {
        std::fprintf(stderr, "the scene did not load\n");
        std::exit(1);
    }
    CWorld& world = *game->GetWorld();
    for (int i = 0; i < TARGETS; ++i)
    {
        int32_t handle = NO_OBJECT;
        if (!world.CreateObject(OBJECT_DUMB, handle))
            break;
        CGameObject* object = world.GetObject(handle);
        object->SetPosition(CVector2D(200.0f + float(i % 8) * 60.0f, 120.0f + float(i / 8) * 80.0f));
        object->GetBody().radius = 12.0f;
        object->GetBody().health = 1000000;
        object->GetBody().shape = CollisionChain(new CCollisionCircle(12.0f, true));
        object->GetInfo().team = i == 0 ? GOOD_TEAM : BAD_TEAM;
        object->PlaceShape();
    }
    const int32_t owner = world.GetSlot(world.GetSlotCount() - 1)->GetHandle();
    game->GetCamera().SetPosition(0.0f, 0.0f);
    CEffectCache& cache = game->GetEffectCache();
    const char* names[] = {"a", "b", "c", "d", "e", "f", "g", "h"};
    int placed = 0;
    for (const char* name : names)
        for (int i = 0; i < EMITTERS_PER_DEFINITION; ++i, ++placed)
            if (CEffect* effect = cache.SpawnEffect(name, world.GetObject(owner), false))
            {
                effect->SetPosition(CVector2D(40.0f + float(placed % 20) * 38.0f, 40.0f + float(placed / 20) * 52.0f));
                effect->SetHeading(float(placed * 17 % 360));
                effect->Start();
            }
    const char* lasers[] = {"straight", "homing", "bounce", "lightning"};
    for (int m = 0; m < 4; ++m)
        for (int i = 0; i < LASERS_PER_MODE; ++i)
            if (CEffect* laser = cache.SpawnEffect(lasers[m], world.GetObject(owner), false))
            {
                laser->SetPosition(CVector2D(120.0f + float(i) * 130.0f, 100.0f + float(m) * 120.0f));
                laser->SetHeading(float(i * 70 + m * 20));
                laser->Start();
            }

    const int warmUp = 100;
    using clock = std::chrono::steady_clock;
    for (int frame = 0; frame < warmUp + frames; ++frame)
    {
        if (frame == warmUp)
            times = STimes();
        game->BeginFrame();
        const auto start = clock::now();
        world.Update();
        double simulation = Ms(clock::now() - start);
        if (draw)
        {
            renderer.Tick();
            renderer.BeginScene();
            const auto sprites = clock::now();
            bank.Render();
            times.sprites += Ms(clock::now() - sprites);
            const auto effects = clock::now();
            cache.Update(); // moves the particles and draws the beams
            simulation += Ms(clock::now() - effects);
            renderer.EndScene();
        }
        else
        {
            const auto effects = clock::now();
            cache.Update();
            simulation += Ms(clock::now() - effects);
        }
        times.simulation += simulation;
        game->EndFrame();
    }
    times.simulation /= frames;
    times.sprites /= frames;
    for (int32_t i = 0; i < cache.GetDefinitionCount(); ++i)
    {
        const CEmitter& emitter = *cache.GetDefinition(i)->GetEmitter();
        times.particles += emitter.GetParticleCount() - emitter.CountFreeParticles();
    }
    game->Shutdown();
    DestroyGame();
    return times;
}
} // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    char folder[] = "/tmp/tess_bench_effects_XXXXXX";
    if (!mkdtemp(folder) || !WriteFiles(folder) || chdir(folder) != 0)
    {
        std::fprintf(stderr, "cannot write the scene's files\n");
        return 1;
    }
    CManualClock clock;
    SetRealTimeClock(&clock);
    RegisterWorldObjectTypes();
    CD3D8Renderer renderer;
    renderer.SetDefaultSettings();
    SDisplaySettings& settings = const_cast<SDisplaySettings&>(renderer.GetSettings());
    settings.fullScreen = false;
    settings.width = 800;
    settings.height = 600;
    renderer.GetPendingSettings() = settings;
    CSpriteBank bank;
    if (!renderer.Open("Tessavar", nullptr) || !bank.Init(&renderer))
    {
        std::fprintf(stderr, "no renderer\n");
        return 1;
    }
    g_spriteBank = &bank;

    const STimes simulated = Run(renderer, bank, false, frames);
    const STimes drawn = Run(renderer, bank, true, frames);
    std::printf("effects frame: 200 emitters (8 pools of 4096 particles, %d live), 20 lasers, %d targets; %d frames\n",
                static_cast<int>(simulated.particles), TARGETS, frames);
    std::printf("  simulation (world and effects, no drawing): %.2f ms per frame\n", simulated.simulation);
    std::printf("  drawing: particles %.2f ms, beams %.2f ms per frame (software device, 800 x 600)\n", drawn.sprites,
                std::max(0.0, drawn.simulation - simulated.simulation));
    std::printf("  in all %.2f ms of the 40 ms frame\n", drawn.simulation + drawn.sprites);

    bank.Shutdown();
    g_spriteBank = nullptr;
    renderer.Close();
    SetRealTimeClock(nullptr);
    std::remove((std::string(folder) + "/fx.spr").c_str());
    std::remove((std::string(folder) + "/beam.tga").c_str());
    rmdir(folder);
    return 0;
}
