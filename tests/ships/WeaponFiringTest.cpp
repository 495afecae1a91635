// When weapons fire: missiles and bombs by their cadence while rounds last (their
// own, then the ammunition pods'), bombs where the ship is, drones only on station
// and from their own rounds, and a weapon whose rates are 0 never.

#include "ships/PlayerShip.h"
#include "tests/ships/ShipFixtures.h"
#include "tests/support/ships/ShipWorldHarness.h"
#include "tests/support/world/EffectScene.h"
#include "world/EffectCache.h"

#include <gtest/gtest.h>

namespace
{
int Key(int action)
{
    return CControls::DEFAULT_KEYS[action];
}

std::string WeaponComponents()
{
    return StandardComponents() +
           ComponentSection("BOMB", "bomb_a", "weaponEffect\tmine\nfireRateSec\t2\nmaxTapSec\t4\nammo\t1\n") +
           ComponentSection("AMMO_BOMB", "bombs_a", "ammo\t1\n") +
           ComponentSection("DRONE", "drone_a",
                            "energyRequirement\t5\nfireRateSec\t5\nweaponEffect\tzap\nbodySprite\tdummy\nammo\t2\n") +
           ComponentSection("WEAPON_PINBEAM", "dud_a", "energyRequirement\t1\nfireRateSec\t0\nmaxTapSec\t0\n");
}

// Group 1: missile launcher (0), bomb bay (1), drone (2), dud pinbeam (3); the
// generator, battery and the two ammunition pods stand beside them.
std::string WeaponDesign()
{
    return Design("Armed", 1,
                  {"0, 0|WEAPON_MISSILE|missile_a", "7, 7|BOMB|bomb_a", "8, 8|DRONE|drone_a", "9, 9|WEAPON_PINBEAM|dud_a",
                   "1, 0|GENERATOR|generator_a", "1, 1|BATTERY|battery_a", "5, 5|AMMO_MISSILE|rounds_a",
                   "6, 6|AMMO_BOMB|bombs_a"},
                  {0, 1, 2, 3});
}

std::string Mine()
{
    return DefinitionText("EFFECT { name mine; maxParticles 8; maxEmitters 4; particle { appearance { type DUMMY } }"
                          " controller { type STATIC } emitter { type SIMPLE_PARTICLE; randomNumCreated -1, -1;"
                          " randomLife 1, 1; randomEmissionRate 1, 1 } }");
}

class CWeaponFiringTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_harness.StartLevel());
        ASSERT_TRUE(m_harness.GetGame().GetEffectCache().LoadFromBytes(Mine(), "mine"));
        ASSERT_NE(AttachLevelShips(m_harness.GetGame(), WeaponDesign(), WeaponComponents()), nullptr);
        int32_t handle = m_harness.Spawn(OBJECT_PLAYER_SHIP, 1000.0f, 1000.0f);
        m_ship = m_harness.FindAs<CPlayerShip>(handle);
        ASSERT_TRUE(m_ship->ApplyConfig(1));
    }

    CWeaponComponent& Weapon(int pod) { return static_cast<CWeaponComponent&>(*m_ship->GetRuntime()->GetInstance(pod)); }
    int32_t& Rounds(int pod) { return m_ship->GetRuntime()->GetInstance(pod)->m_ammo; }

    CShipWorldHarness m_harness;
    CPlayerShip* m_ship = nullptr;
};
} // namespace

TEST_F(CWeaponFiringTest, RoundsComeFromTheWeaponThenItsPodsAndCadenceByButton)
{
    Rounds(0) = 1; // launcher
    Rounds(1) = 1; // bomb bay
    m_harness.RunFrames(10); // 0 to 360 ms; the drone flies out meanwhile
    m_harness.ScriptKey(10, Key(0), true);
    m_harness.RunFrame(); // 400 ms: the press
    // The missile's tap and the bomb's 500 ms are both due (400 > 250, 400 > 500 not).
    EXPECT_EQ(Weapon(0).GetLastShotTime(), 400u);
    EXPECT_EQ(Rounds(0), 0);
    EXPECT_EQ(Weapon(1).GetLastShotTime(), 0u) << "a bomb waits 1000 / 2 ms";
    m_harness.RunFrames(3); // 520 ms: the bomb goes
    EXPECT_EQ(Weapon(1).GetLastShotTime(), 520u);
    EXPECT_EQ(Rounds(1), 0);
    CEffect* mine = Weapon(1).GetWeaponEffect().Get();
    ASSERT_NE(mine, nullptr);
    EXPECT_TRUE(mine->IsRunning());
    EXPECT_FLOAT_EQ(mine->GetPosition().x, m_ship->GetPosition().x) << "dropped where the ship is";
    // Held past 250 ms the launcher fires every 500 ms: at 920 ms from its pod; the
    // bomb at 1040 from its pod; then neither has a round left.
    m_harness.RunFrames(10); // to 920 ms
    EXPECT_EQ(Weapon(0).GetLastShotTime(), 920u);
    EXPECT_EQ(m_ship->GetRuntime()->GetInstance(6)->m_ammo, 5);
    m_harness.RunFrames(3); // to 1040 ms
    EXPECT_EQ(Weapon(1).GetLastShotTime(), 1040u);
    EXPECT_EQ(m_ship->GetRuntime()->GetInstance(7)->m_ammo, 0);
    m_ship->GetRuntime()->GetInstance(6)->m_ammo = 0;
    m_harness.RunFrames(20);
    EXPECT_EQ(Weapon(0).GetLastShotTime(), 920u) << "no round, no shot";
    EXPECT_EQ(Weapon(1).GetLastShotTime(), 1040u);
    EXPECT_TRUE(m_ship->GetRuntime()->GetControls().ammoEmpty);
    // A weapon whose rates are 0 never comes round.
    EXPECT_EQ(Weapon(3).GetLastShotTime(), 0u);
}

TEST_F(CWeaponFiringTest, ADroneFiresOnStationFromItsOwnRounds)
{
    auto& drone = static_cast<CDroneComponent&>(Weapon(2));
    m_harness.SetKey(Key(0), true);
    // 35 units at 1.6 a frame: on station from the 22nd frame; no shot before.
    m_harness.RunFrames(21);
    EXPECT_EQ(drone.GetState(), CDroneComponent::FLYING_OUT);
    EXPECT_EQ(drone.GetLastShotTime(), 0u);
    m_harness.RunFrames(20);
    EXPECT_EQ(drone.GetState(), CDroneComponent::ON_STATION);
    EXPECT_GT(drone.GetLastShotTime(), 0u);
    // Two rounds of its own, never the ammunition pods'.
    EXPECT_EQ(Rounds(2), 0);
    const uint32_t last = drone.GetLastShotTime();
    m_harness.RunFrames(20);
    EXPECT_EQ(drone.GetLastShotTime(), last);
    EXPECT_EQ(m_ship->GetRuntime()->GetInstance(6)->m_ammo, 6);
}
