// The player ship's effects and sounds in a running world: shots leave from their
// launch points, a charged laser charges and lets go, the engine shows its flame
// and jets, the shield glows while it holds, and the gravity beam draws gems into
// the hold.

#include "core/Vector2D.h"
#include "ships/PlayerShip.h"
#include "tests/ships/ShipFixtures.h"
#include "tests/support/ships/ShipWorldHarness.h"
#include "tests/support/world/EffectScene.h"
#include "world/AsteroidKinds.h"
#include "world/EffectCache.h"
#include "world/EffectDef.h"
#include "world/ObjectFactory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace
{
int Key(int action)
{
    return CControls::DEFAULT_KEYS[action];
}

// An effect that emits without end until it is stopped; the beam's particles start
// up to 200 units ahead, so its extent is 100.
std::string Endless(const std::string& name, const std::string& more = "")
{
    return DefinitionText("EFFECT { name " + name +
                          "; maxParticles 8; maxEmitters 12; particle { appearance { type DUMMY } }"
                          " controller { type STATIC } emitter { type SIMPLE_PARTICLE; randomNumCreated -1, -1;"
                          " randomLife 1, 1; randomEmissionRate 1, 1; " +
                          more + "} }");
}

std::string ShipEffects()
{
    std::string text;
    for (const char* name : {"bolt", "missile", "trail", "shield", "edge", "hold", "lance", "charge", "full",
                             "podEngine", "revEngine", "boom", "spark"})
        text += Endless(name);
    return text + Endless("beam", "randomStartOffsetX 0, 200; ");
}

// The standard parts, a laser that charges (40 at 40 a second) and a second hull,
// whose index 1 gives it two reverse jets.
std::string EffectComponents()
{
    return StandardComponents() +
           ComponentSection("WEAPON_LASER", "laser_a",
                            "energyRequirement\t10\nfireRateSec\t5\nmaxTapSec\t8\nchargeEnergyNeeded\t40\n"
                            "maxChargeRateSec\t40\nweaponEffect\tbolt\nchargeWeaponEffect\tlance\n"
                            "chargeEffect\tcharge\nfullChargeEffect\tfull\n") +
           HullSection("hull_b");
}

// Slot 1: gun (0,0), generator, engine (0,1), battery. Slot 2: laser on hull_b with
// a shield. Slot 3: a beam at (1,0), whose cell is internal, so it works from the
// centre. Slot 0: the pod.
std::string EffectDesigns()
{
    return Design("Gunner", 1,
                  {"0, 0|WEAPON_PROJECTILE_GUN|gun_a", "1, 0|GENERATOR|generator_a", "0, 1|ENGINE|engine_a",
                   "1, 1|BATTERY|battery_a"},
                  {0}) +
           Design("Lancer", 2,
                  {"0, 0|WEAPON_LASER|laser_a", "1, 0|GENERATOR|generator_a", "0, 1|ENGINE|engine_a",
                   "1, 1|SHIELD|shield_a", "5, 5|BATTERY|battery_a"},
                  {0}, {}, "hull_b") +
           Design("Miner", 3,
                  {"1, 0|GRAVITY_BEAM|beam_a", "0, 0|GENERATOR|generator_a", "0, 1|ENGINE|engine_a",
                   "1, 1|BATTERY|battery_a"}) +
           Design("Pod", 0, {"0, 1|ENGINE|engine_a", "1, 0|GENERATOR|generator_a"});
}

// A gem or rock: a kind, mass 10, radius 5, moved by the forces on it.
class CBeamAsteroid : public CGameObject
{
public:
    CBeamAsteroid() : CGameObject(OBJECT_ASTEROID)
    {
        m_body.mass = 10;
        m_body.radius = 5.0f;
        m_body.damping = 1.0f;
        m_body.velocityLimit = 1000;
        m_body.health = 20;
    }
    int32_t GetAsteroidKind() const override { return m_kind; }
    void HoldInBeam(bool damageable, uint32_t frame) override
    {
        m_damageable = damageable;
        m_heldFrame = frame;
        ++m_holds;
    }
    bool Move() override
    {
        m_body.Integrate(4000.0f);
        return m_body.moving != 0;
    }

    int32_t m_kind = ASTEROID_NORMAL_GEM;
    bool m_damageable = true;
    uint32_t m_heldFrame = 0;
    int m_holds = 0;
};

void ExpectPoint(const CVector2D& actual, float x, float y)
{
    EXPECT_NEAR(actual.x, x, 1e-3f);
    EXPECT_NEAR(actual.y, y, 1e-3f);
}

class CShipEffectsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_harness.StartLevel());
        ASSERT_TRUE(m_harness.GetGame().GetEffectCache().LoadFromBytes(ShipEffects(), "ship effects"));
        ASSERT_NE(AttachLevelShips(m_harness.GetGame(), EffectDesigns(), EffectComponents()), nullptr);
        RegisterObjectType(OBJECT_ASTEROID, &CreateObjectOf<CBeamAsteroid>);
    }

    CPlayerShip& SpawnShip(int32_t slot, float angle = 0.0f)
    {
        m_handle = m_harness.Spawn(OBJECT_PLAYER_SHIP, 2000.0f, 2000.0f);
        CPlayerShip& ship = *m_harness.FindAs<CPlayerShip>(m_handle);
        ship.GetBody().angle = angle;
        EXPECT_TRUE(ship.ApplyConfig(slot));
        return ship;
    }

    CShipWorldHarness m_harness;
    int32_t m_handle = NO_OBJECT;
};
} // namespace

TEST_F(CShipEffectsTest, AShotLeavesFromItsLaunchPointWithTheShipsHeading)
{
    CPlayerShip& ship = SpawnShip(1, 90.0f);
    auto& gun = static_cast<CGunComponent&>(*ship.GetRuntime()->GetInstance(0));
    CEffect* bolt = gun.GetWeaponEffect().Get();
    ASSERT_NE(bolt, nullptr);
    EXPECT_FALSE(bolt->IsRunning());
    m_harness.RunFrames(4); // the clock passes the 125 ms of a tap
    m_harness.ScriptKey(m_harness.GetFramesRun(), Key(0), true);
    m_harness.RunFrame();
    EXPECT_EQ(gun.GetLastShotTime(), 160u);
    EXPECT_TRUE(bolt->IsRunning());
    // (12, -8) turned by 90 degrees is (8, 12).
    ExpectPoint(bolt->GetPosition(), 2008.0f, 2012.0f);
    EXPECT_FLOAT_EQ(bolt->GetHeading(), 90.0f);
    // The effect follows the launch point as the ship moves on.
    ship.SetPosition(CVector2D(2100.0f, 2000.0f));
    m_harness.RunFrame();
    ExpectPoint(bolt->GetPosition(), 2108.0f, 2012.0f);
}

TEST_F(CShipEffectsTest, AChargedLaserChargesWhileHeldAndFiresWhenLetGo)
{
    CPlayerShip& ship = SpawnShip(2);
    auto& laser = static_cast<CGunComponent&>(*ship.GetRuntime()->GetInstance(0));
    ASSERT_TRUE(laser.IsChargeable());
    m_harness.RunFrames(4);
    m_harness.ScriptKey(m_harness.GetFramesRun(), Key(0), true);
    m_harness.RunFrame();
    EXPECT_EQ(laser.GetLastShotTime(), 160u) << "the press fires the plain shot";
    // While down it fires at the tap rate, 8 a second (again at 320 ms);
    // held from more than 250 ms on (the 7th frame after the press) 40 a second
    // charge it, 1.6 a frame, and the charge effect runs.
    m_harness.RunFrames(6);
    const uint32_t tap = laser.GetLastShotTime();
    EXPECT_EQ(tap, 320u);
    EXPECT_FLOAT_EQ(laser.m_charge, 0.0f);
    EXPECT_FALSE(laser.GetChargeEffect().IsRunning());
    m_harness.RunFrame();
    EXPECT_NEAR(laser.m_charge, 1.6f, 1e-4f);
    EXPECT_TRUE(laser.GetChargeEffect().IsRunning());
    EXPECT_FALSE(laser.GetFullChargeEffect().IsRunning());
    // 25 frames make the 40: the full-charge effect takes over from the charge effect.
    m_harness.RunFrames(24);
    EXPECT_NEAR(laser.m_charge, 40.0f, 1e-3f);
    EXPECT_TRUE(laser.IsChargeFull());
    EXPECT_TRUE(laser.GetFullChargeEffect().IsRunning());
    EXPECT_FALSE(laser.GetChargeEffect().IsRunning());
    EXPECT_EQ(laser.GetLastShotTime(), tap) << "a chargeable laser does not fire while held";
    EXPECT_FALSE(laser.GetChargeWeaponEffect().IsRunning());
    // Let go: the charged shot goes and the charge is spent.
    m_harness.ScriptKey(m_harness.GetFramesRun(), Key(0), false);
    m_harness.RunFrame();
    EXPECT_FLOAT_EQ(laser.m_charge, 0.0f);
    EXPECT_TRUE(laser.GetChargeWeaponEffect().IsRunning());
    EXPECT_FALSE(laser.GetFullChargeEffect().IsRunning());
    EXPECT_GT(laser.GetLastShotTime(), tap);
}

TEST_F(CShipEffectsTest, TheEngineFlickersWhileThrustingAndReverseJetsFireByHull)
{
    CPlayerShip& ship = SpawnShip(2); // hull_b: index 1
    ASSERT_EQ(ship.GetHullIndex(), 1);
    const CEngineFlames& flames = ship.GetFlames();
    EXPECT_EQ(flames.GetJetCount(), 2);
    CEffectCache& cache = m_harness.GetGame().GetEffectCache();
    auto findRunning = [&cache](const char* name, int nth) -> CEffect* {
        for (int32_t slot = 0; slot < CEffectCache::LIVE_SLOTS; ++slot)
        {
            CEffect* effect = cache.GetLiveEffect(slot);
            if (effect && effect->IsRunning() && !effect->IsEmittingStopped() &&
                std::string(effect->GetDefinition().GetName()) == name && nth-- == 0)
                return effect;
        }
        return nullptr;
    };

    // Thrust: the flame at engineEffectOffset (-2, 0) plus the engine cell's (-16, 0),
    // pointing backwards; at 0 ms it is full size, then its scale flips every frame
    // (40 ms >= 35).
    m_harness.SetKey(Key(4), true);
    m_harness.RunFrame();
    CEffect* flame = findRunning("TRAIL", 0);
    ASSERT_NE(flame, nullptr);
    EXPECT_FLOAT_EQ(flame->GetHeading(), 180.0f);
    EXPECT_NEAR(flame->GetPosition().x, ship.GetPosition().x - 18.0f, 1e-3f);
    EXPECT_FLOAT_EQ(flames.GetFlameScale(), 1.0f);
    m_harness.RunFrame();
    EXPECT_FLOAT_EQ(flames.GetFlameScale(), 0.5f);
    m_harness.RunFrame();
    EXPECT_FLOAT_EQ(flames.GetFlameScale(), 1.0f);
    EXPECT_EQ(findRunning("REVENGINE", 0), nullptr);

    // Reverse: the flame stops emitting, the two jets of hull 1 fire at (2, -6) and
    // (2, 6), turned -20 and 20 degrees off the heading.
    m_harness.SetKey(Key(4), false);
    m_harness.SetKey(Key(5), true);
    m_harness.RunFrame();
    EXPECT_TRUE(flame->IsEmittingStopped());
    CEffect* first = findRunning("REVENGINE", 0);
    CEffect* second = findRunning("REVENGINE", 1);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(findRunning("REVENGINE", 2), nullptr);
    const CVector2D at = ship.GetPosition();
    ExpectPoint(first->GetPosition(), at.x + 2.0f, at.y - 6.0f);
    EXPECT_FLOAT_EQ(first->GetHeading(), -20.0f);
    ExpectPoint(second->GetPosition(), at.x + 2.0f, at.y + 6.0f);
    EXPECT_FLOAT_EQ(second->GetHeading(), 20.0f);

    // Neither: everything stops emitting.
    m_harness.SetKey(Key(5), false);
    m_harness.RunFrame();
    EXPECT_EQ(findRunning("REVENGINE", 0), nullptr);
    EXPECT_EQ(findRunning("TRAIL", 0), nullptr);
}

TEST_F(CShipEffectsTest, BoostSoundsOnceEachTimeAndFlickersLarger)
{
    CPlayerShip& ship = SpawnShip(1);
    const uint32_t first = m_harness.GetFramesRun();
    for (uint32_t round = 0; round < 2; ++round)
    {
        const uint32_t start = first + round * 20;
        m_harness.ScriptKey(start, Key(4), true);
        m_harness.ScriptKey(start + 1, Key(4), false);
        m_harness.ScriptKey(start + 9, Key(4), true); // 320 ms after: a short press
        m_harness.ScriptKey(start + 15, Key(4), false);
    }
    m_harness.RunFrames(10);
    EXPECT_TRUE(ship.GetRuntime()->GetControls().boost);
    EXPECT_EQ(ship.GetFlames().GetBoostSound().GetPlayCount(), 1u);
    EXPECT_EQ(ship.GetFlames().GetBoostSound().GetFile(), "data\\sfx\\engines\\engineBoost.wav");
    const float scale = ship.GetFlames().GetFlameScale();
    EXPECT_TRUE(scale == 0.75f || scale == 1.5f) << scale;
    m_harness.RunFrames(30);
    EXPECT_EQ(ship.GetFlames().GetBoostSound().GetPlayCount(), 2u);
}

TEST_F(CShipEffectsTest, TheEscapePodShowsOnlyItsSmallFlame)
{
    CPlayerShip& ship = SpawnShip(0);
    EXPECT_EQ(ship.GetFlames().GetJetCount(), 0);
    m_harness.SetKey(Key(4), true);
    m_harness.RunFrame();
    const CEffectDef* pod = m_harness.GetGame().GetEffectCache().FindDefinition("podEngine");
    ASSERT_NE(pod, nullptr);
    bool running = false;
    for (int32_t slot = 0; slot < CEffectCache::LIVE_SLOTS; ++slot)
    {
        CEffect* effect = m_harness.GetGame().GetEffectCache().GetLiveEffect(slot);
        running = running || (effect && effect->IsRunning() && &effect->GetDefinition() == pod);
    }
    EXPECT_TRUE(running);
    EXPECT_FALSE(ship.GetFlames().GetFlameSprite().IsVisible());
}

TEST_F(CShipEffectsTest, TheShieldEdgeShowsWhileTheShieldHolds)
{
    CPlayerShip& ship = SpawnShip(2);
    SShieldState& shield = ship.GetRuntime()->GetShield();
    ASSERT_NE(shield.m_edgeEffect.Get(), nullptr);
    m_harness.RunFrame();
    EXPECT_TRUE(shield.m_edgeEffect.IsRunning());
    EXPECT_TRUE(shield.m_raised);
    EXPECT_FALSE(shield.m_effect.IsRunning());
    ship.TakeDamage(OBJECT_ENEMY_FIGHTER, nullptr, 1, 10);
    EXPECT_FLOAT_EQ(shield.m_energy, 40.0f);
    EXPECT_NE(shield.m_effect.Get(), nullptr);
    EXPECT_TRUE(shield.m_effect.IsRunning()) << "a hit lights the shield";
    // Emptied: the edge goes out; the generator tops it up again at once, so the
    // next frame lights it once more.
    ship.TakeDamage(OBJECT_ENEMY_FIGHTER, nullptr, 1, 100);
    EXPECT_EQ(ship.GetBody().health, 150 - 60);
    EXPECT_FLOAT_EQ(shield.m_energy, 0.0f);
    shield.Follow(ship);
    EXPECT_FALSE(shield.m_edgeEffect.IsRunning());
    EXPECT_FALSE(shield.m_raised);
    m_harness.RunFrame();
    EXPECT_TRUE(shield.m_edgeEffect.IsRunning());
    // Jammed: the edge stops and stays off.
    m_harness.GetGame().GetRun().shieldJam = true;
    m_harness.RunFrames(2);
    EXPECT_FALSE(shield.m_edgeEffect.IsRunning());
}

TEST_F(CShipEffectsTest, TheBeamDrawsAGemIntoTheHold)
{
    CPlayerShip& ship = SpawnShip(3); // heading +x
    // The beam reaches 100 ahead: circles at 100, 50 and 25 of radius 40, 32 and 28.
    int32_t gem = m_harness.Spawn(OBJECT_ASTEROID, 2100.0f, 2000.0f);
    int32_t far = m_harness.Spawn(OBJECT_ASTEROID, 2200.0f, 2000.0f);
    int32_t rock = m_harness.Spawn(OBJECT_ASTEROID, 2050.0f, 2030.0f);
    auto* rockObject = m_harness.FindAs<CBeamAsteroid>(rock);
    rockObject->m_kind = ASTEROID_MEDIUM;
    rockObject->GetBody().velocity = CVector2D(4.0f, 0.0f);
    rockObject->GetBody().moving = 1;
    m_harness.RunFrame(); // files them in the quadtree

    m_harness.SetKey(Key(2), true);
    m_harness.RunFrame();
    auto& beam = static_cast<CGravityBeamComponent&>(*ship.GetRuntime()->GetInstance(0));
    EXPECT_TRUE(beam.GetBeamEffect().IsRunning());
    auto* gemObject = m_harness.FindAs<CBeamAsteroid>(gem);
    EXPECT_EQ(beam.GetHeld(0), gem);
    EXPECT_EQ(gemObject->GetBody().health, 50);
    EXPECT_GE(gemObject->m_holds, 1);
    EXPECT_TRUE(gemObject->m_damageable) << "the beam's definition lets gems collide";
    // The moving rock was slowed by a quarter (4 -> 3) and is held; the far one not.
    EXPECT_EQ(beam.GetHeld(1), rock);
    EXPECT_EQ(m_harness.FindAs<CBeamAsteroid>(far)->m_holds, 0);

    // Pulled by 250 / 10 / 25 = 1 a tick towards the ship, the gem comes within 20
    // of the hull (16 + 5 + 20 = 41 between the centres) and is taken.
    m_harness.RunFrames(12);
    EXPECT_EQ(m_harness.Find(gem), nullptr);
    const SCargoHold& hold = ship.GetRuntime()->GetCargo();
    EXPECT_EQ(hold.m_normalGems, 1);
    EXPECT_EQ(hold.m_load, 1);
    EXPECT_EQ(beam.GetSuckSound().GetPlayCount(), 1u);
    EXPECT_NE(m_harness.Find(rock), nullptr) << "rocks are slowed, never taken";

    // Letting go stops the beam.
    m_harness.SetKey(Key(2), false);
    m_harness.RunFrame();
    EXPECT_FALSE(beam.GetBeamEffect().IsRunning());
}

TEST_F(CShipEffectsTest, WithoutABeamPodOnlyTheBossNodeHasABeam)
{
    CPlayerShip& ship = SpawnShip(1);
    CGravityBeamComponent* builtIn = ship.GetRuntime()->GetBuiltInBeam();
    ASSERT_NE(builtIn, nullptr);
    m_harness.SetKey(Key(2), true);
    m_harness.RunFrame();
    EXPECT_FALSE(ship.GetRuntime()->GetControls().beam);
    EXPECT_FALSE(builtIn->GetBeamEffect().IsRunning());
    m_harness.GetZones().m_atBossNode = true;
    m_harness.RunFrame();
    EXPECT_TRUE(ship.GetRuntime()->GetControls().beam);
    EXPECT_TRUE(builtIn->GetBeamEffect().IsRunning());
}

TEST_F(CShipEffectsTest, AFullHoldTakesNothingMore)
{
    CPlayerShip& ship = SpawnShip(3);
    SCargoHold& hold = ship.GetRuntime()->GetCargo();
    int32_t gem = m_harness.Spawn(OBJECT_ASTEROID, 2060.0f, 2000.0f);
    m_harness.RunFrame();
    // Beam on, then the hold fills: the beam goes on holding the gem but no longer
    // marks or takes it (the player ship refuses the beam itself from the next frame).
    m_harness.SetKey(Key(2), true);
    m_harness.RunFrame();
    auto& beam = static_cast<CGravityBeamComponent&>(*ship.GetRuntime()->GetInstance(0));
    ASSERT_EQ(beam.GetHeld(0), gem);
    hold.m_normalGems = hold.m_capacity;
    hold.UpdateLoad();
    auto* gemObject = m_harness.FindAs<CBeamAsteroid>(gem);
    gemObject->GetBody().health = 20;
    beam.DrawIn();
    EXPECT_EQ(gemObject->GetBody().health, 20);
    gemObject->SetPosition(ship.GetPosition() + CVector2D(30.0f, 0.0f));
    beam.DrawIn();
    EXPECT_NE(m_harness.Find(gem), nullptr);
    EXPECT_EQ(hold.m_load, hold.m_capacity);
    m_harness.RunFrame();
    EXPECT_FALSE(ship.GetRuntime()->GetControls().beam);
    EXPECT_EQ(ship.GetBeamRefusedSound().GetPlayCount(), 1u);
}
