// The player ship's gravity beam and cargo hold acting on the world's asteroids:
// gems pulled in and taken into the hold (leaving the node's map), held gems kept
// at the beam's health, rocks only slowed, and a full hold taking nothing.

#include "ships/GravityBeamComponent.h"
#include "ships/PlayerShip.h"
#include "ships/ShipRuntime.h"
#include "tests/ships/ShipFixtures.h"
#include "tests/support/ships/ShipWorldHarness.h"
#include "tests/support/world/AsteroidLevel.h"
#include "tests/support/world/EffectScene.h"
#include "world/Asteroid.h"
#include "world/AsteroidField.h"
#include "world/AsteroidKinds.h"
#include "world/EffectCache.h"

#include <gtest/gtest.h>

namespace
{
constexpr int ACTION_BEAM = 2;

class CGravityBeamGemsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        std::vector<SAsteroidDefText> defs = MakeStandardDefs();
        for (SAsteroidDefText& def : defs)
            if (def.velLimit == 0)
                def.velLimit = 200; // gems that the beam can move
        ASSERT_TRUE(m_harness.StartLevel(MakeAsteroidLevel(defs)));
        ASSERT_TRUE(AttachLevelShips(m_harness.GetGame(),
                                     Design("Miner", 1,
                                            {"0, 0|WEAPON_PROJECTILE_GUN|gun_a", "1, 0|GENERATOR|generator_a",
                                             "0, 1|ENGINE|engine_a", "1, 1|GRAVITY_BEAM|beam_a"},
                                            {0})));
        // The beam reaches 150 ahead (the half width of its effect's start offsets).
        const std::string effects =
            DefinitionText("EFFECT { name beam; maxParticles 4; maxEmitters 2;"
                           " particle { appearance { type DUMMY } } controller { type STATIC }"
                           " emitter { type SIMPLE_PARTICLE; randomNumCreated -1, -1; randomLife 10, 10;"
                           " randomEmissionRate 1, 1; randomStartOffsetX 0, 300; randomStartOffsetY 0, 0 } }") +
            DefinitionText("EFFECT { name hold; maxParticles 4; maxEmitters 12;"
                           " particle { appearance { type DUMMY } } controller { type STATIC }"
                           " emitter { type SIMPLE_PARTICLE; randomNumCreated -1, -1; randomLife 10, 10;"
                           " randomEmissionRate 1, 1 } }");
        ASSERT_TRUE(m_harness.GetGame().GetEffectCache().LoadFromBytes(effects, "beam effects"));
        m_ship = m_harness.Spawn(OBJECT_PLAYER_SHIP, 2000, 2000);
        CPlayerShip* ship = m_harness.FindAs<CPlayerShip>(m_ship);
        ASSERT_NE(ship, nullptr);
        ASSERT_TRUE(ship->ApplyConfig(1));
        m_harness.GetGame().SetPlayerShipHandle(m_ship);
    }

    CPlayerShip& Ship() { return *m_harness.FindAs<CPlayerShip>(m_ship); }
    SCargoHold& Hold() { return Ship().GetRuntime()->GetCargo(); }
    CAsteroid* Place(bool recorded, int32_t kind, float x, float y)
    {
        const CVector2D point(x, y);
        CAsteroid* asteroid = SpawnAsteroid(recorded, kind, nullptr, &point);
        if (asteroid)
        {
            // Exactly there, at rest.
            asteroid->SetPosition(point);
            asteroid->GetBody().previousPosition = point;
            asteroid->GetBody().force = CVector2D();
            asteroid->PlaceShape();
        }
        return asteroid;
    }
    void Beam(bool on) { m_harness.SetKey(CControls::DEFAULT_KEYS[ACTION_BEAM], on); }

    CShipWorldHarness m_harness;
    int32_t m_ship = NO_OBJECT;
};
} // namespace

TEST_F(CGravityBeamGemsTest, GemsInTheBeamArePulledIntoTheHold)
{
    CAsteroid* gem = Place(true, ASTEROID_NORMAL_GEM, 2075, 2000);
    CAsteroid* rare = Place(true, ASTEROID_RARE_GEM, 2150, 2010);
    CAsteroid* large = Place(true, ASTEROID_NORMAL_GEM_LARGE, 2040, 1995);
    CAsteroid* far = Place(true, ASTEROID_VERY_RARE_GEM, 2600, 2000);
    ASSERT_TRUE(gem && rare && large && far);
    const int32_t gems[3] = {gem->GetHandle(), rare->GetHandle(), large->GetHandle()};
    const int32_t farHandle = far->GetHandle();
    SZoneNode& node = m_harness.GetZones().m_node;
    ASSERT_EQ(node.asteroidCount, 4);

    m_harness.RunFrames(2); // filed in the tree
    Beam(true);
    m_harness.RunFrame();
    // Held: the beam's health, kept from other asteroids' harm as the beam says.
    CAsteroid* held = m_harness.FindAs<CAsteroid>(gems[1]);
    ASSERT_TRUE(held);
    EXPECT_EQ(held->GetBody().health, 50);
    EXPECT_TRUE(held->IsDamageableByAsteroids()) << "this beam lets gems collide";

    for (int frame = 0; frame < 150 && (m_harness.Find(gems[0]) || m_harness.Find(gems[1]) ||
                                         m_harness.Find(gems[2]));
         ++frame)
        m_harness.RunFrame();
    for (int32_t handle : gems)
        EXPECT_EQ(m_harness.Find(handle), nullptr);
    // Zone 0: one gem of a small kind each, as many of a large one as there is room
    // for (at most 5).
    EXPECT_EQ(Hold().m_normalGems, 1 + 5);
    EXPECT_EQ(Hold().m_rareGems, 1);
    EXPECT_EQ(Hold().m_load, 7);
    EXPECT_EQ(node.asteroidCount, 1) << "the taken gems left the node's map";
    EXPECT_TRUE(m_harness.Find(farHandle)) << "out of the beam's reach";
}

TEST_F(CGravityBeamGemsTest, ARockIsSlowedAndAFullHoldTakesNothing)
{
    CAsteroid* rock = Place(false, ASTEROID_SMALL, 2075, 2000);
    ASSERT_TRUE(rock);
    const int32_t rockHandle = rock->GetHandle();
    m_harness.RunFrames(2);
    rock->GetBody().velocity = CVector2D(0.0f, 3.0f);
    m_harness.RunFrame(); // moving: 3 a tick, damped to 2.97
    Beam(true);
    m_harness.RunFrame();
    // One scan of a moving rock: three quarters of its speed are left, then a tick's damping.
    EXPECT_NEAR(m_harness.Find(rockHandle)->GetBody().velocity.Length(), 3.0f * 0.99f * 0.75f * 0.99f, 0.01f);
    m_harness.RunFrames(60);
    EXPECT_TRUE(m_harness.Find(rockHandle)) << "rocks are not taken in";
    EXPECT_EQ(Hold().m_load, 0);

    // With a full hold the beam refuses, and a gem in front stays where it is.
    Beam(false);
    m_harness.RunFrames(2);
    Hold().m_normalGems = Hold().m_capacity;
    Hold().UpdateLoad();
    CAsteroid* gem = Place(false, ASTEROID_NORMAL_GEM, 2075, 2030);
    const int32_t gemHandle = gem->GetHandle();
    m_harness.RunFrames(2);
    Beam(true);
    m_harness.RunFrames(40);
    ASSERT_TRUE(m_harness.Find(gemHandle));
    EXPECT_NEAR(m_harness.Find(gemHandle)->GetPosition().x, 2075.0f, 0.5f);
}

TEST_F(CGravityBeamGemsTest, ALetGoGemReturnsToItsOwnHealth)
{
    CAsteroid* gem = Place(false, ASTEROID_RARE_GEM, 2150, 2000);
    ASSERT_TRUE(gem);
    const int32_t handle = gem->GetHandle();
    m_harness.RunFrames(2);
    Beam(true);
    m_harness.RunFrame();
    ASSERT_EQ(m_harness.Find(handle)->GetBody().health, 50);
    Beam(false);
    m_harness.RunFrames(3);
    EXPECT_EQ(m_harness.Find(handle)->GetBody().health, 50) << "held within the last 5 frames";
    m_harness.RunFrames(4);
    EXPECT_EQ(m_harness.Find(handle)->GetBody().health, 3) << "back to its definition's health";
}
