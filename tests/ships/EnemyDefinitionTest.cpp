// Enemy definition files: the section an enemy takes, what an unreadable file or a
// missing section does, and the end of the program on a definition the game cannot
// run.

#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "ships/EnemyDrone.h"
#include "ships/EnemyFighter.h"
#include "ships/Worm.h"
#include "tests/ships/EnemyScene.h"
#include "world/Game.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{
CDataNodeList Parse(const std::string& compact)
{
    const std::string text = DefinitionText(compact);
    CDataNodeList nodes;
    ParseDataBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), nodes);
    return nodes;
}
} // namespace

// The first block whose name starts with the section name in any letter case.
TEST(EnemyDefinition, SectionIsTheFirstBlockNamedByItsPrefix)
{
    struct SCase
    {
        const char* blocks;
        const char* wanted;
        int index; // of the block found, -1 none
    };
    const SCase cases[] = {
        {"ENEMY_DRONE { a 1 }", "ENEMY_DRONE", 0},
        {"enemy_drone { a 1 }", "ENEMY_DRONE", 0},
        {"Enemy_Drone_Fast { a 1 }", "ENEMY_DRONE", 0},
        {"ENEMY { a 1 } ENEMY_DRON { a 1 } XENEMY_DRONE { a 1 }", "ENEMY_DRONE", -1},
        {"WORMS { a 1 } worm { a 1 }", "WORM", 0},
        {"ENEMY_FIGHTER { a 1 } ENEMY_DRONE { a 1 } ENEMY_DRONE { a 2 }", "ENEMY_DRONE", 1},
    };
    for (const SCase& c : cases)
    {
        CDataNodeList nodes = Parse(c.blocks);
        const CDataTree* found = FindDefinitionSection(nodes, c.wanted);
        if (c.index < 0)
            EXPECT_EQ(found, nullptr) << c.blocks;
        else
            EXPECT_EQ(found, nodes[static_cast<size_t>(c.index)].get()) << c.blocks;
    }
}

// Each kind takes its own section of a file that holds several.
TEST(EnemyDefinition, EachEnemyReadsItsOwnSectionOfAFile)
{
    CEnemyScene scene;
    const std::string text =
        DefinitionText(EnemySection("ENEMY_FIGHTER", "armRange 600", 30) + EnemySection("Enemy_Drone", "detonateRange 33", 15) +
                       EnemySection("WORM", "", 45));
    ASSERT_TRUE(scene.Effects().Dir().WriteFile("enemies.txt", text));
    struct SCase
    {
        int32_t type;
        int32_t health;
    };
    for (const SCase& c : {SCase{OBJECT_ENEMY_FIGHTER, 30}, SCase{OBJECT_ENEMY_DRONE, 15}, SCase{OBJECT_WORM, 45}})
    {
        const int32_t handle = scene.Harness().Spawn(c.type, 1000, 1000);
        CEnemyObject* enemy = scene.Harness().FindAs<CEnemyObject>(handle);
        ASSERT_TRUE(enemy->LoadFromFile("enemies.txt"));
        EXPECT_EQ(enemy->GetBody().health, c.health);
        EXPECT_EQ(enemy->GetBody().radius, 8.0f);
    }
}

// A file that cannot be read, or holds no section for the enemy, leaves it unloaded
// and takes it out of the world.
TEST(EnemyDefinition, UnreadableFileOrMissingSectionRemovesTheEnemy)
{
    CEnemyScene scene;
    ASSERT_TRUE(scene.Effects().Dir().WriteFile("fighter.txt", DefinitionText(EnemySection("ENEMY_FIGHTER", ""))));
    for (const char* file : {"nothing.txt", "fighter.txt"})
    {
        const int32_t handle = scene.Harness().Spawn(OBJECT_ENEMY_DRONE, 1000, 1000);
        CEnemyDrone* drone = scene.Harness().FindAs<CEnemyDrone>(handle);
        EXPECT_FALSE(drone->LoadFromFile(file)) << file;
        EXPECT_FALSE(drone->IsLoaded());
        scene.Harness().GetWorld().FlushRemovals();
        EXPECT_EQ(scene.Harness().Find(handle), nullptr) << file;
    }
}

// A missing required key is a problem the game cannot run: read alone, the definition
// reports it; read from a file, the program ends naming file, line and key.
TEST(EnemyDefinition, MissingRequiredKeyEndsTheProgramNamingIt)
{
    CEnemyScene scene;
    CDataNodeList nodes = Parse("ENEMY_DRONE { mass 10; bodySprite { spriteFile dummy } collision { numObj 1;"
                                " c0 { type rootCircle; radius 8; offset 0, 0 } } config suicide }");
    CEnemyDrone drone;
    CDefinitionProblems problems;
    EXPECT_FALSE(drone.ReadDefinition(static_cast<const CDataTree&>(*nodes[0]), problems));
    ASSERT_TRUE(problems.HasFatal());
    EXPECT_NE(problems.Describe("x").find("\"health\""), std::string::npos) << problems.Describe("x");

    ASSERT_TRUE(scene.Effects().Dir().WriteFile(
        "broken.txt", "ENEMY_DRONE\n{\nmass 10\nbodySprite\n{\nspriteFile dummy\n}\ncollision\n{\nnumObj 1\nc0\n{\n"
                      "type rootCircle\nradius 8\noffset 0, 0\n}\n}\n}\n"));
    const int32_t handle = scene.Harness().Spawn(OBJECT_ENEMY_DRONE, 1000, 1000);
    CEnemyDrone* placed = scene.Harness().FindAs<CEnemyDrone>(handle);
    EXPECT_EXIT(
        {
            placed->LoadFromFile("broken.txt");
            std::exit(0);
        },
        testing::ExitedWithCode(1), "broken.txt:1: missing key \"health\"");
}

// A "config" that names no kind leaves a mine and says so.
TEST(EnemyDefinition, UnknownDroneKindIsAMine)
{
    CEnemyScene scene;
    CDataNodeList nodes = Parse(EnemySection("ENEMY_DRONE", "config kamikaze"));
    CEnemyDrone drone;
    CDefinitionProblems problems;
    EXPECT_TRUE(drone.ReadDefinition(static_cast<const CDataTree&>(*nodes[0]), problems));
    EXPECT_EQ(drone.GetKind(), DRONE_MINE);
    EXPECT_EQ(drone.GetStateValue(), DRONE_MINE);
    ASSERT_EQ(problems.GetAll().size(), 1u);
    EXPECT_FALSE(problems.HasFatal());
    EXPECT_NE(problems.GetAll()[0].text.find("kamikaze"), std::string::npos);
}
