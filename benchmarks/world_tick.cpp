// One world tick (think, move with refiling and pushes, collisions with bounces) for
// crowds of 250, 1000 and 4000 round bodies at the same density, with the quadtree of
// the level's depth and with a tree of depth 0, where every object shares the root and
// every pair is tested: the brute-force check, in the same code. Prints milliseconds
// per tick and the quadtree's gain as a ratio. Then a node's full asteroid field (its
// map's 200 asteroids) with 100 gems drawn in as the gravity beam draws them (pulled
// toward the ship's place and held, each taken in at the ship replaced by a new one).
//   bench_world_tick [ticks]

#include "core/Random.h"
#include "core/RealTimeClock.h"
#include "world/Asteroid.h"
#include "world/AsteroidField.h"
#include "world/AsteroidKinds.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/ObjectFactory.h"
#include "world/World.h"
#include "world/ZoneLink.h"
#include "world/ZoneNode.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
// A solid ball that wanders and bounces off what it touches.
class CBenchBall : public CGameObject
{
public:
    CBenchBall() : CGameObject(OBJECT_DUMB) {}
    void Think() override
    {
        CRandom& random = GetGameRandom();
        m_body.force += CVector2D(static_cast<float>(random.Between(-300, 301)),
                                  static_cast<float>(random.Between(-300, 301)));
    }
    bool Move() override
    {
        m_body.Integrate(GetGame()->GetWorldWidth());
        PlaceShape();
        return true;
    }
    void Collide(CGameObject& other) override
    {
        if (m_body.shape && other.GetBody().shape &&
            m_body.shape->Collide(*other.GetBody().shape, nullptr, nullptr, nullptr))
            BounceObjects(*this, other);
    }
};

// Milliseconds per tick of a crowd of the given size in a tree of the given depth.
double MeasureTicks(int bodies, int32_t width, int depth, int ticks)
{
    GetGameRandom().Seed(42);
    CGame* game = CreateGame();
    game->Init(nullptr);
    GetGameRandom().Seed(42);
    std::string level = "LEVEL\n{\n worldWidth " + std::to_string(width) + "\n treeDepth " + std::to_string(depth) +
                        "\n}\n";
    if (!game->StartLevelFromBytes(level, "bench", bodies))
    {
        std::fprintf(stderr, "the level did not start\n");
        std::exit(1);
    }
    CWorld& world = *game->GetWorld();
    CRandom& random = GetGameRandom();
    for (int i = 0; i < bodies; ++i)
    {
        int32_t handle = NO_OBJECT;
        if (!world.CreateObject(OBJECT_DUMB, handle))
            break;
        CGameObject* ball = world.GetObject(handle);
        CMotionBody& body = ball->GetBody();
        body.radius = static_cast<float>(random.Between(8, 24));
        body.mass = random.Between(1, 30);
        body.velocityLimit = 500;
        body.damping = 0.98f;
        body.health = 1000000;
        body.shape = CollisionChain(new CCollisionCircle(body.radius, true));
        ball->SetPosition(CVector2D(static_cast<float>(random.Between(50, width - 50)),
                                    static_cast<float>(random.Between(50, width - 50))));
        body.previousPosition = ball->GetPosition();
        ball->PlaceShape();
    }
    for (int i = 0; i < 10; ++i)
        world.Update(); // every body filed and its push placed
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < ticks; ++i)
        world.Update();
    auto end = std::chrono::steady_clock::now();
    game->Shutdown();
    DestroyGame();
    return std::chrono::duration<double, std::milli>(end - start).count() / ticks;
}
// One node of a zone, holding the field's map.
class CBenchZone : public CZoneLink
{
public:
    SZoneNode* GetCurrentNode() override { return &m_node; }
    void OnObjectRemoved(CGameObject& object) override
    {
        if (object.GetType() == OBJECT_ASTEROID && !object.GetInfo().notCountedAsEnemy)
            m_node.ForgetAsteroid(object.GetHandle());
    }
    SZoneNode m_node;
};

// The level of the field: rocks of three sizes (two entries each) and the six gems,
// pictures of the sample sizes without files, a budget the 200 entries cannot spend.
std::string FieldLevel()
{
    struct SKind
    {
        const char* type;
        int mass, health, velLimit, radius;
    } kinds[] = {{"small", 2, 3, 120, 14},      {"small", 2, 3, 120, 14},     {"medium", 8, 8, 80, 28},
                 {"medium", 8, 8, 80, 28},      {"large", 25, 16, 50, 56},    {"large", 25, 16, 50, 56},
                 {"normalGem", 1, 4, 150, 8},   {"normalGemLarge", 1, 4, 150, 11}, {"rareGem", 1, 4, 150, 8},
                 {"rareGemLarge", 1, 4, 150, 11}, {"veryRareGem", 1, 4, 150, 8}, {"veryRareGemLarge", 1, 4, 150, 11}};
    std::string text = "LEVEL\n{\nworldWidth 4000\ntreeDepth 5\ntotalAsteroidMass 1000000\nratioSmall 0.5\n"
                       "ratioMedium 0.85\nratioLarge 1.0\nchanceOfGems 0.5\n}\nASTEROID_DEFS\n{\nnumDefs 12\n";
    int index = 0;
    for (const SKind& kind : kinds)
    {
        const int frame = kind.radius * 2 + 4;
        text += "def" + std::to_string(index++) + "\n{\ntype " + kind.type + "\nminRotSec 40\nmaxRotSec 100\nmass " +
                std::to_string(kind.mass) + "\nhealth " + std::to_string(kind.health) + "\nvelLimit " +
                std::to_string(kind.velLimit) + "\ninertialDampening 0.99\nsprite\n{\nspriteFile dummy\nwidth " +
                std::to_string(frame) + "\nheight " + std::to_string(frame) +
                "\nnumFrames 16\n}\ncollision\n{\nnumObj 2\nc0\n{\ntype rootCircle\nradius " +
                std::to_string(kind.radius) + "\noffset 0, 0\n}\nc1\n{\ntype circle\nradius " +
                std::to_string(kind.radius - 1) + "\noffset 0, 0\n}\n}\n}\n";
    }
    return text + "spawnSites\n{\nnumSites 1\nsite0\n{\nrandomVel no\ninitVelMin 0, 0\ninitVelMax 0, 0\n"
                  "centre 0.5, 0.5\nradius 0.45\n}\n}\n}\n";
}

// A gem of a random kind on the ring round the ship's place.
int32_t SpawnGem(const CVector2D& ship)
{
    CRandom& random = GetGameRandom();
    CVector2D at;
    at.SetFromAngle(static_cast<float>(random.Below(360)));
    at = ship + at * static_cast<float>(random.Between(150, 400));
    CAsteroid* gem = SpawnAsteroid(false, ASTEROID_NORMAL_GEM + random.Below(6), nullptr, &at);
    return gem ? gem->GetHandle() : NO_OBJECT;
}

// Milliseconds per tick of the full field with 100 gems in the beam.
double MeasureAsteroidField(int ticks, int& asteroids)
{
    GetGameRandom().Seed(42);
    CBenchZone zone;
    CGame* game = CreateGame();
    game->Init(nullptr);
    game->SetZones(&zone);
    GetGameRandom().Seed(42);
    if (!game->StartLevelFromBytes(FieldLevel(), "field", 320))
    {
        std::fprintf(stderr, "the field's level did not start\n");
        std::exit(1);
    }
    CWorld& world = *game->GetWorld();
    zone.m_node.asteroidCount = GenerateAsteroidMap(zone.m_node.asteroidMap, 1, ZONE_NODE_NORMAL, 5, false);
    PlaceSectorAsteroids();
    const CVector2D ship(2000.0f, 2000.0f);
    std::vector<int32_t> gems;
    for (int i = 0; i < 100; ++i)
        gems.push_back(SpawnGem(ship));
    asteroids = world.CountObjects();
    auto beam = [&]() {
        for (int32_t& handle : gems)
        {
            CGameObject* gem = world.GetObject(handle);
            if (!gem)
            {
                handle = SpawnGem(ship);
                continue;
            }
            gem->HoldInBeam(true, game->GetFrameCount());
            gem->GetBody().health = 50;
            CVector2D towards = ship - gem->GetPosition();
            const float between = towards.Length();
            if (between < 20.0f)
                world.RemoveObject(handle); // taken into the hold
            else
                gem->GetBody().force += towards * (250.0f / between);
        }
    };
    for (int i = 0; i < 10; ++i)
    {
        beam();
        world.Update();
    }
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < ticks; ++i)
    {
        beam();
        world.Update();
    }
    auto end = std::chrono::steady_clock::now();
    game->Shutdown();
    DestroyGame();
    return std::chrono::duration<double, std::milli>(end - start).count() / ticks;
}
} // namespace

int main(int argc, char** argv)
{
    int ticks = argc > 1 ? std::atoi(argv[1]) : 50;
    if (ticks < 1)
        ticks = 1;
    CManualClock clock; // nothing here waits on real time
    SetRealTimeClock(&clock);
    RegisterObjectType(OBJECT_DUMB, &CreateObjectOf<CBenchBall>);
    std::printf("bodies  width  depth  quadtree ms/tick  brute force ms/tick  gain\n");
    for (int bodies : {250, 1000, 4000})
    {
        // About one body per 100 x 100 units; leaves of 100 to 200 units.
        int32_t width = static_cast<int32_t>(std::sqrt(static_cast<double>(bodies)) * 100.0);
        int depth = 0;
        while (depth < 7 && (width >> (depth + 1)) >= 100)
            ++depth;
        double tree = MeasureTicks(bodies, width, depth, ticks);
        double brute = MeasureTicks(bodies, width, 0, ticks);
        std::printf("%6d  %5d  %5d  %16.3f  %19.3f  %5.1fx\n", bodies, width, depth, tree, brute, brute / tree);
    }
    RegisterWorldObjectTypes();
    int asteroids = 0;
    const double field = MeasureAsteroidField(ticks, asteroids);
    std::printf("asteroid field: %d asteroids, 100 of them gems drawn in by the beam: %.3f ms/tick\n", asteroids, field);
    SetRealTimeClock(nullptr);
    return 0;
}
