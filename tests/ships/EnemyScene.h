#pragma once
// Enemies in a test world: the effect scene (world harness, particle sprite "fx.spr",
// round targets that record their hits) with the ships layer's object types, a
// player ship and a station stood in for by targets, and enemies read from
// definition text written compactly (see DefinitionText).
//
//   CEnemyScene scene;
//   int32_t ship = scene.SpawnPlayerShip(1000, 1000);
//   CEnemyDrone* drone = scene.SpawnEnemy<CEnemyDrone>(OBJECT_ENEMY_DRONE, 1200, 1000,
//                                                      DroneSection("config suicide; detonateRange 20"));
//   scene.RunFrames(50);

#include "core/Vector2D.h"
#include "ships/EnemyObject.h"
#include "tests/support/world/EffectScene.h"

#include <cstdint>
#include <string>
#include <vector>

// A body of the given health and mass, a root circle of the radius, a sprite file
// ("dummy" draws nothing), in compact definition text.
std::string BodyKeys(int32_t health = 20, int32_t mass = 10, float radius = 8.0f,
                     const std::string& spriteFile = "dummy");
// A whole section: NAME { body keys; own keys }.
std::string EnemySection(const std::string& name, const std::string& ownKeys, int32_t health = 20,
                         int32_t mass = 10, float radius = 8.0f, const std::string& spriteFile = "dummy");

class CEnemyScene
{
public:
    // With asteroids, the level holds the test asteroid table (no field), so gems
    // can be dropped.
    explicit CEnemyScene(uint32_t seed = 1, bool asteroids = false);

    // Round targets that stand for the player ship (radius 16) and the station
    // (radius 60), registered as the game's.
    int32_t SpawnPlayerShip(float x, float y, float radius = 16.0f, int32_t health = 100000);
    int32_t SpawnStation(float x, float y, float radius = 60.0f, int32_t health = 100000);
    // An enemy of the type read from the compact section text; null (and a test
    // failure) when it does not load.
    CEnemyObject* SpawnEnemyObject(int32_t type, float x, float y, const std::string& compactSection);
    template <typename T>
    T* SpawnEnemy(int32_t type, float x, float y, const std::string& compactSection)
    {
        return dynamic_cast<T*>(SpawnEnemyObject(type, x, y, compactSection));
    }
    template <typename T>
    T* Find(int32_t handle)
    {
        return m_scene.Harness().FindAs<T>(handle);
    }
    // Moves an object at once (and its shapes).
    void Place(int32_t handle, float x, float y);

    CEffectScene& Effects() { return m_scene; }
    CWorldHarness& Harness() { return m_scene.Harness(); }
    CGame& Game() { return m_scene.Game(); }
    CTargetObject* Target(int32_t handle) const { return m_scene.Target(handle); }
    void RunFrames(uint32_t count) { m_scene.RunFrames(count); }
    // The clock moves on by whole frames without a world update.
    void AdvanceClock(uint32_t frames);
    // The asteroids of the world: their kinds and places, in slot order.
    struct SAsteroidSeen
    {
        int32_t kind;
        CVector2D position;
    };
    std::vector<SAsteroidSeen> ListAsteroids();

private:
    CEffectScene m_scene;
};
