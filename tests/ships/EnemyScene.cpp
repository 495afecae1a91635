#include "tests/ships/EnemyScene.h"

#include "core/DataFile.h"
#include "ships/ShipObjectTypes.h"
#include "tests/support/world/AsteroidLevel.h"
#include "world/Asteroid.h"
#include "world/Game.h"
#include "world/ObjectFactory.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <string>

std::string BodyKeys(int32_t health, int32_t mass, float radius, const std::string& spriteFile)
{
    return "mass " + std::to_string(mass) + "; health " + std::to_string(health) + "; bodySprite { spriteFile " +
           spriteFile + " } collision { numObj 1; c0 { type rootCircle; radius " + std::to_string(radius) +
           "; offset 0, 0 } } ";
}

std::string EnemySection(const std::string& name, const std::string& ownKeys, int32_t health, int32_t mass,
                         float radius, const std::string& spriteFile)
{
    return name + " { " + BodyKeys(health, mass, radius, spriteFile) + ownKeys + " }";
}

CEnemyScene::CEnemyScene(uint32_t seed, bool asteroids) : m_scene(seed, nullptr, &RegisterShipObjectTypes)
{
    if (!asteroids)
        return;
    // Real asteroids in place of the effect scene's targets.
    RegisterObjectType(OBJECT_ASTEROID, &CreateObjectOf<CAsteroid>);
    Game().EndLevel();
    EXPECT_TRUE(Harness().StartLevel(MakeAsteroidLevel(MakeStandardDefs(), 0)));
}

std::vector<CEnemyScene::SAsteroidSeen> CEnemyScene::ListAsteroids()
{
    std::vector<SAsteroidSeen> seen;
    CWorld& world = Harness().GetWorld();
    for (int32_t slot = 0; slot < world.GetSlotCount(); ++slot)
        if (const CGameObject* object = world.GetSlot(slot); object && object->GetType() == OBJECT_ASTEROID)
            seen.push_back({object->GetAsteroidKind(), object->GetPosition()});
    return seen;
}

int32_t CEnemyScene::SpawnPlayerShip(float x, float y, float radius, int32_t health)
{
    int32_t handle = m_scene.SpawnTarget(x, y, radius, GOOD_TEAM, health, OBJECT_PLAYER_SHIP);
    Game().SetPlayerShipHandle(handle);
    return handle;
}

int32_t CEnemyScene::SpawnStation(float x, float y, float radius, int32_t health)
{
    int32_t handle = m_scene.SpawnTarget(x, y, radius, GOOD_TEAM, health, OBJECT_STATION);
    Game().SetStationHandle(handle);
    return handle;
}

CEnemyObject* CEnemyScene::SpawnEnemyObject(int32_t type, float x, float y, const std::string& compactSection)
{
    const std::string text = DefinitionText(compactSection);
    CDataNodeList nodes;
    EXPECT_TRUE(ParseDataBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), nodes));
    int32_t handle = Harness().Spawn(type, x, y);
    CEnemyObject* enemy = Harness().FindAs<CEnemyObject>(handle);
    if (!enemy || nodes.empty() || !nodes[0]->IsBlock())
    {
        ADD_FAILURE() << "no enemy of type " << type << " from " << text;
        return nullptr;
    }
    enemy->ParseDefinition(static_cast<const CDataTree&>(*nodes[0]));
    enemy->SetPosition(CVector2D(x, y));
    enemy->PlaceShape();
    EXPECT_TRUE(enemy->IsLoaded()) << text;
    return enemy;
}

void CEnemyScene::Place(int32_t handle, float x, float y)
{
    if (CGameObject* object = Harness().Find(handle))
    {
        object->SetPosition(CVector2D(x, y));
        object->GetBody().previousPosition = CVector2D(x, y);
        object->PlaceShape();
    }
}

void CEnemyScene::AdvanceClock(uint32_t frames)
{
    for (uint32_t i = 0; i < frames; ++i)
    {
        Game().BeginFrame();
        Game().EndFrame();
    }
}
