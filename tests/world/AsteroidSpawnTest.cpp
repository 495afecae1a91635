#include "tests/support/CurrentDir.h"
#include "tests/support/SpriteFiles.h"
#include "tests/support/TempDir.h"
#include "tests/world/AsteroidWorld.h"
#include "world/AsteroidDefs.h"
#include "world/Game.h"
#include "world/World.h"

#include <set>

namespace
{
float Distance(const CVector2D& a, const CVector2D& b)
{
    return (a - b).Length();
}
} // namespace

TEST_F(AsteroidWorld, SetupTakesTheEntryAndTheNodesRules)
{
    std::vector<SAsteroidDefText> defs = MakeStandardDefs();
    defs[2].scale = 1.5f; // the first medium rock
    Start(defs);
    CAsteroid* medium = Spawn(false, ASTEROID_MEDIUM, 2000, 2000);
    ASSERT_TRUE(medium);
    EXPECT_EQ(medium->GetSizeIndex(), 1) << "two entries: a rock takes entry 1";
    const CMotionBody& body = medium->GetBody();
    EXPECT_EQ(body.health, 5);
    EXPECT_EQ(body.mass, 10);
    EXPECT_EQ(body.velocityLimit, 80);
    EXPECT_FLOAT_EQ(body.damping, 0.99f);
    EXPECT_FLOAT_EQ(body.radius, 32.0f);
    EXPECT_EQ(body.edgeBounce, 0) << "asteroids leave the playfield";
    EXPECT_EQ(medium->GetInfo().team, ASTEROID_TEAM);
    EXPECT_EQ(medium->GetInfo().drawPlane, 5);
    ASSERT_TRUE(body.shape);
    EXPECT_EQ(body.shape->CountShapes(), 2);

    // Scale 1.5 (entry 0, a restrained field's): radius and root circle grow with it.
    Zone().m_node.asteroidMap[0].word = SetAsteroidWordPosition(MakeAsteroidWord(ASTEROID_MEDIUM, 0), CVector2D(900, 900));
    Zone().m_node.asteroidCount = 1;
    PlaceSectorAsteroids();
    CAsteroid* scaled = Find(Zone().m_node.asteroidMap[0].asteroid);
    ASSERT_TRUE(scaled);
    EXPECT_FLOAT_EQ(scaled->GetBody().radius, 48.0f);
    EXPECT_FLOAT_EQ(static_cast<CCollisionCircle&>(*scaled->GetBody().shape).GetRadius(), 48.0f);
    EXPECT_FLOAT_EQ(scaled->GetPosition().x, 900.0f);

    // Danger nodes: rocks bounce off the edges, keep their speed, and variants 1 and 2
    // set them drifting at 20 to 59 units a tick.
    Zone().m_nodeKind = ZONE_NODE_DANGER;
    CAsteroid* danger = Spawn(true, ASTEROID_SMALL, 1000, 1000);
    ASSERT_TRUE(danger);
    EXPECT_TRUE(danger->IsTransient());
    EXPECT_EQ(danger->GetBody().edgeBounce, 1);
    EXPECT_EQ(danger->GetBody().additiveBounce, 1);
    EXPECT_FLOAT_EQ(danger->GetBody().damping, 1.0f);
    EXPECT_FLOAT_EQ(danger->GetBody().velocity.Length(), 0.0f);
    Zone().m_nodeKind = ZONE_NODE_DANGER_2;
    for (int i = 0; i < 20; ++i)
    {
        CAsteroid* drifting = Spawn(true, ASTEROID_SMALL, 1000, 3000);
        ASSERT_TRUE(drifting);
        const float speed = drifting->GetBody().velocity.Length();
        EXPECT_GE(speed, 19.99f);
        EXPECT_LT(speed, 59.01f);
        harness->GetWorld().RemoveObject(drifting->GetHandle());
        harness->GetWorld().FlushRemovals();
    }
}

TEST_F(AsteroidWorld, SpinFollowsThePeriodAndTheFrames)
{
    // A sprite file of 5 frames: a turn of the frames every p / 72 frames a second.
    CTempDir dir;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(WriteSpriteFile(MakeSpriteData(2, 0), bytes));
    ASSERT_TRUE(dir.WriteFile("data/sprites/rock5.spr", std::string(bytes.begin(), bytes.end())));
    CCurrentDir inside(dir.GetPath());
    std::vector<SAsteroidDefText> defs = MakeStandardDefs();
    Start(defs);
    std::string level = MakeAsteroidLevel(defs);
    // Medium rocks: the picture from the file, a period of 144 and of 100 to 199.
    const std::string dummy = "spriteFile\tdummy\n\t\t\twidth\t64\n\t\t\theight\t64\n\t\t\tnumFrames\t8\n";
    size_t at = level.find("type\tmedium");
    for (int i = 0; i < 2; ++i, at = level.find("type\tmedium", at + 1))
        level.replace(level.find(dummy, at), dummy.size(), "spriteFile\tdata\\sprites\\rock5.spr\n");
    size_t second = level.find("type\tmedium", level.find("type\tmedium") + 1);
    level.replace(level.find("maxRotSec\t90", second), 12, "maxRotSec\t300");
    level.replace(level.find("minRotSec\t90", second), 12, "minRotSec\t100");
    size_t first = level.find("type\tmedium");
    level.replace(level.find("maxRotSec\t90", first), 12, "maxRotSec\t144");
    level.replace(level.find("minRotSec\t90", first), 12, "minRotSec\t144");
    ASSERT_TRUE(harness->StartLevel(level));

    const CAsteroidTable& table = harness->GetGame().GetAsteroidTable();
    ASSERT_EQ(table.GetEntry(ASTEROID_MEDIUM, 0)->sprite.GetFrameCount(), 5);
    Zone().m_node.asteroidMap[0].word = SetAsteroidWordPosition(MakeAsteroidWord(ASTEROID_MEDIUM, 0), CVector2D(500, 500));
    PlaceSectorAsteroids();
    CAsteroid* steady = Find(Zone().m_node.asteroidMap[0].asteroid);
    ASSERT_TRUE(steady);
    EXPECT_EQ(steady->GetSprite().GetPlayRate(), 2);
    std::set<uint16_t> rates;
    std::set<bool> visible;
    for (int i = 0; i < 60; ++i)
    {
        CAsteroid* rock = Spawn(false, ASTEROID_MEDIUM, 500, 500); // size index 1: 100 to 199
        ASSERT_TRUE(rock);
        rates.insert(rock->GetSprite().GetPlayRate());
        visible.insert(rock->GetSprite().IsVisible());
        harness->GetWorld().RemoveObject(rock->GetHandle());
        harness->GetWorld().FlushRemovals();
    }
    EXPECT_EQ(rates, (std::set<uint16_t>{1, 2}));
    EXPECT_EQ(visible, (std::set<bool>{true}));
}

TEST_F(AsteroidWorld, SpawnedAsteroidsAreRecordedWhereTheNodeKeepsThem)
{
    Start();
    CAsteroid* rock = Spawn(true, ASTEROID_LARGE, 1000, 1200);
    ASSERT_TRUE(rock);
    EXPECT_FALSE(rock->IsTransient());
    EXPECT_EQ(Zone().m_node.asteroidCount, 1);
    const SAsteroidMapEntry& entry = Zone().m_node.asteroidMap[0];
    EXPECT_EQ(entry.asteroid, rock->GetHandle());
    EXPECT_EQ(GetAsteroidWordKind(entry.word), ASTEROID_LARGE);
    EXPECT_EQ(GetAsteroidWordSize(entry.word), 1);
    EXPECT_EQ(GetAsteroidWordX(entry.word), static_cast<int32_t>(rock->GetPosition().x));
    EXPECT_EQ(GetAsteroidWordY(entry.word), static_cast<int32_t>(rock->GetPosition().y));

    struct SCase
    {
        const char* what;
        bool recorded;
        int32_t kind;
        int32_t nodeKind;
        bool hasNode;
        bool transient;
        int32_t mapCountAfter;
    } cases[] = {
        {"not recorded", false, ASTEROID_SMALL, ZONE_NODE_NORMAL, true, true, 1},
        {"a danger node", true, ASTEROID_SMALL, ZONE_NODE_DANGER_1, true, true, 1},
        {"a kind the word cannot hold", true, ASTEROID_EQUIPMENT_POD, ZONE_NODE_NORMAL, true, true, 1},
        {"no node record", true, ASTEROID_SMALL, ZONE_NODE_NORMAL, false, false, 1},
        {"a gem", true, ASTEROID_RARE_GEM, ZONE_NODE_NORMAL, true, false, 2},
    };
    for (const SCase& c : cases)
    {
        Zone().m_nodeKind = c.nodeKind;
        Zone().m_hasNode = c.hasNode;
        CAsteroid* made = Spawn(c.recorded, c.kind, 2000, 2000);
        ASSERT_TRUE(made) << c.what;
        EXPECT_EQ(made->IsTransient(), c.transient) << c.what;
        EXPECT_EQ(Zone().m_node.asteroidCount, c.mapCountAfter) << c.what;
    }
    Zone().m_nodeKind = ZONE_NODE_NORMAL;
    Zone().m_hasNode = true;

    // A drive pod tells the director; a full node makes no recorded asteroid.
    ASSERT_TRUE(Spawn(false, ASTEROID_DRIVE_POD, 100, 100));
    EXPECT_EQ(Director().m_raised.back(), std::make_pair(int(DIRECTOR_BOSS_CHAT), 2));
    Zone().m_node.asteroidCount = ASTEROID_MAP_SIZE;
    const int before = CountAsteroids();
    EXPECT_EQ(Spawn(true, ASTEROID_SMALL, 100, 100), nullptr);
    EXPECT_NE(Spawn(false, ASTEROID_SMALL, 100, 100), nullptr);
    EXPECT_EQ(CountAsteroids(), before + 1);
}

TEST_F(AsteroidWorld, AKindWithoutAnEntryOfItsSizeMakesNothing)
{
    std::vector<SAsteroidDefText> defs = MakeStandardDefs();
    defs.erase(defs.begin() + 1); // one small rock only: entry 1 is missing
    Start(defs);
    EXPECT_EQ(Spawn(true, ASTEROID_SMALL, 100, 100), nullptr);
    EXPECT_EQ(harness->GetWorld().CountObjects(), 0);
    EXPECT_EQ(Zone().m_node.asteroidCount, 0);
}

TEST_F(AsteroidWorld, PiecesStandNearTheirParentAndRocksGetAKick)
{
    Start();
    CAsteroid* medium = Spawn(true, ASTEROID_MEDIUM, 1500, 1500);
    ASSERT_TRUE(medium);
    for (int i = 0; i < 30; ++i)
    {
        // Off a medium rock: 0.75 of the piece's frame width (32) from its centre.
        CAsteroid* piece = SpawnAsteroid(true, ASTEROID_SMALL, medium, nullptr);
        ASSERT_TRUE(piece);
        EXPECT_NEAR(Distance(piece->GetPosition(), medium->GetPosition()), 24.0f, 0.01f);
        EXPECT_EQ(piece->GetSizeIndex(), 1) << "the parent's size index";
        // The kick: v = 30 + (0 to 29) units a second for a velocity limit of 120.
        const float perSecond = piece->GetBody().force.Length() / static_cast<float>(piece->GetBody().mass);
        EXPECT_GE(perSecond, 29.99f);
        EXPECT_LT(perSecond, 59.01f);
        // Near a point: a quarter of the frame width.
        const CVector2D point(300.0f, 3000.0f);
        CAsteroid* near = SpawnAsteroid(false, ASTEROID_SMALL, nullptr, &point);
        ASSERT_TRUE(near);
        EXPECT_NEAR(Distance(near->GetPosition(), point), 8.0f, 0.01f);
        harness->GetWorld().RemoveObject(piece->GetHandle());
        harness->GetWorld().RemoveObject(near->GetHandle());
        harness->GetWorld().FlushRemovals();
    }
    // Off a small rock the piece stands on it; with neither parent nor point at x = 1.
    CAsteroid* small = Spawn(false, ASTEROID_SMALL, 700, 700);
    CAsteroid* gem = SpawnAsteroid(false, ASTEROID_NORMAL_GEM, small, nullptr);
    ASSERT_TRUE(gem);
    EXPECT_EQ(gem->GetPosition().x, small->GetPosition().x);
    EXPECT_EQ(gem->GetPosition().y, small->GetPosition().y);
    EXPECT_EQ(gem->GetSizeIndex(), 0) << "one gem entry: the parent's size 1 is beyond it";
    CAsteroid* loose = SpawnAsteroid(false, ASTEROID_NORMAL_GEM, nullptr, nullptr);
    ASSERT_TRUE(loose);
    EXPECT_EQ(loose->GetPosition().x, 1.0f);
    EXPECT_GE(loose->GetPosition().y, 1.0f);
    EXPECT_LE(loose->GetPosition().y, 3999.0f);
    // Points beyond the playfield are pulled onto it.
    for (const CVector2D& outside : {CVector2D(-50, -50), CVector2D(5000, 4000)})
    {
        CAsteroid* kept = SpawnAsteroid(false, ASTEROID_NORMAL_GEM, nullptr, &outside);
        ASSERT_TRUE(kept);
        EXPECT_GE(kept->GetPosition().x, 1.0f);
        EXPECT_LE(kept->GetPosition().x, 3999.0f);
        EXPECT_GE(kept->GetPosition().y, 1.0f);
        EXPECT_LE(kept->GetPosition().y, 3999.0f);
    }
}

TEST_F(AsteroidWorld, ANodesMapBecomesAsteroidsAndIsStoredWhenLeft)
{
    Start();
    const int32_t count = GenerateAsteroidMap(Zone().m_node.asteroidMap, 1, ZONE_NODE_NORMAL, 5, false);
    ASSERT_GT(count, 5);
    Zone().m_node.asteroidCount = count;
    // Two entries without a place: they get one round the site, which they keep.
    Zone().m_node.asteroidMap[1].word &= 0xFFu;
    Zone().m_node.asteroidMap[3].word &= 0xFFu;
    PlaceSectorAsteroids();
    EXPECT_EQ(CountAsteroids(), count);
    for (int32_t i = 0; i < count; ++i)
    {
        const SAsteroidMapEntry& entry = Zone().m_node.asteroidMap[i];
        CAsteroid* asteroid = Find(entry.asteroid);
        ASSERT_TRUE(asteroid) << i;
        EXPECT_TRUE(HasAsteroidWordPosition(entry.word)) << i;
        EXPECT_EQ(static_cast<int32_t>(asteroid->GetBody().previousPosition.x), GetAsteroidWordX(entry.word)) << i;
        EXPECT_EQ(asteroid->GetAsteroidKind(), GetAsteroidWordKind(entry.word));
        EXPECT_FALSE(asteroid->IsTransient());
        EXPECT_TRUE(asteroid->IsInTree()) << "one world update filed them";
    }
    for (int32_t i : {1, 3})
    {
        const SAsteroidMapEntry& entry = Zone().m_node.asteroidMap[i];
        EXPECT_LE(std::abs(GetAsteroidWordX(entry.word) - 2000), 1600);
        EXPECT_LE(std::abs(GetAsteroidWordY(entry.word) - 2000), 1600);
    }

    // Leaving: places are kept, one pushed off the playfield is dropped.
    CAsteroid* lost = Find(Zone().m_node.asteroidMap[0].asteroid);
    lost->SetPosition(CVector2D(-40.0f, 100.0f));
    CAsteroid* moved = Find(Zone().m_node.asteroidMap[2].asteroid);
    moved->SetPosition(CVector2D(1234.5f, 2345.5f));
    Zone().m_node.StoreAsteroids(harness->GetWorld(), 4000.0f);
    EXPECT_EQ(Zone().m_node.asteroidCount, count - 1);
    EXPECT_FALSE(Zone().m_node.asteroidMap[0].IsPresent());
    EXPECT_EQ(GetAsteroidWordX(Zone().m_node.asteroidMap[2].word), 1234);
    EXPECT_EQ(GetAsteroidWordY(Zone().m_node.asteroidMap[2].word), 2345);
    for (const SAsteroidMapEntry& entry : Zone().m_node.asteroidMap)
        EXPECT_EQ(entry.asteroid, NO_OBJECT);
}

TEST_F(AsteroidWorld, DangerAndBossNodesPlaceTheirFieldsTheirOwnWay)
{
    Start();
    Zone().m_nodeKind = ZONE_NODE_DANGER;
    const int32_t count = GenerateAsteroidMap(Zone().m_node.asteroidMap, 1, ZONE_NODE_DANGER, 6, false);
    ASSERT_GT(count, 0);
    PlaceSectorAsteroids();
    EXPECT_EQ(CountAsteroids(), count);
    for (int32_t i = 0; i < count; ++i)
        EXPECT_EQ(Zone().m_node.asteroidMap[i].asteroid, NO_OBJECT) << "a danger node's asteroids are transient";

    harness->GetWorld().Clear();
    Zone().m_nodeKind = ZONE_NODE_BOSS;
    Zone().m_atBossNode = true;
    PlaceSectorAsteroids();
    EXPECT_EQ(CountAsteroids(), count);
    CAsteroid* first = Find(Zone().m_node.asteroidMap[0].asteroid);
    ASSERT_TRUE(first);
    EXPECT_FALSE(first->IsInTree()) << "no world update at the boss node";
}
