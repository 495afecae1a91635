// One world tick (think, move with refiling and pushes, collisions with bounces) for
// crowds of 250, 1000 and 4000 round bodies at the same density, with the quadtree of
// the level's depth and with a tree of depth 0, where every object shares the root and
// every pair is tested: the brute-force check, in the same code. Prints milliseconds
// per tick and the quadtree's gain as a ratio.
//   bench_world_tick [ticks]

#include "core/Random.h"
#include "core/RealTimeClock.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/ObjectFactory.h"
#include "world/World.h"

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
    SetRealTimeClock(nullptr);
    return 0;
}
