// The ship runtime on its own (no world): what it builds from a design, its energy
// economy frame by frame, thrust, mass and damping, ammunition and drones.
//
// The standard parts (tests/ships/ShipFixtures.h) give, a frame being 1/25 s:
// generator 30/s = 1.2 a frame; engine 20/s = 0.8; gun 10/s = 0.4; missile
// launcher 5/s = 0.2; shield top-up 10/s = 0.4 up to its capacity 50; battery 100
// charging 10/s = 0.4.

#include "ships/ShipRuntime.h"
#include "tests/ships/ShipFixtures.h"
#include "world/GameObject.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
constexpr float EPS = 1e-4f;

// Standard parts plus heavy cargo and two unusual engines for the damping rules.
std::string RuntimeComponents()
{
    return StandardComponents() + ComponentSection("CARGO", "anvil_a", "", 180) +
           ComponentSection("ENGINE", "engine_loose",
                            "thrust\t500\ninertialDampening\t1.2\nemergencyBoost\t0\nmassDampingRated\t100\n"
                            "velocityLimit\t150\nenergyRequirement\t10\n",
                            20) +
           ComponentSection("ENGINE", "engine_unrated",
                            "thrust\t500\ninertialDampening\t0.8\nemergencyBoost\t0\nmassDampingRated\t0\n"
                            "velocityLimit\t150\nenergyRequirement\t10\n",
                            20);
}

// A runtime on a ship object of no world.
class CRuntimeRig
{
public:
    // Builds a design of the pods ("TYPE|ident", placed off the hull's grid unless
    // given as "x, y|TYPE|ident"), with the weapon groups.
    void Build(const std::vector<std::string>& pods, const std::vector<int>& group1 = {},
               const std::vector<int>& group2 = {})
    {
        m_database.SetStringTable(&GetFixtureStrings());
        ASSERT_TRUE(m_database.LoadComponentNodes(ParseText(RuntimeComponents()), "parts"))
            << m_database.DescribeProblems();
        std::vector<std::string> placed;
        for (size_t i = 0; i < pods.size(); ++i)
            placed.push_back(pods[i].find(',') == std::string::npos
                                 ? std::to_string(10 + i) + ", 10|" + pods[i]
                                 : pods[i]);
        ASSERT_TRUE(m_database.LoadShipConfigNodes(ParseText(Design("T", 1, placed, group1, group2)), "designs"))
            << m_database.DescribeProblems();
        ASSERT_TRUE(m_runtime.Build(*m_database.GetShipConfig(1), m_database, m_ship));
    }

    std::vector<CBatteryComponent*> Batteries() const
    {
        std::vector<CBatteryComponent*> batteries;
        for (int32_t i = 0; i < m_runtime.GetInstanceCount(); ++i)
            if (CShipComponent* part = m_runtime.GetInstance(i); part && part->GetKind() == COMPONENT_BATTERY)
                batteries.push_back(static_cast<CBatteryComponent*>(part));
        return batteries;
    }

    int CountTriggered() const
    {
        int count = 0;
        for (int32_t i = 0; i < m_runtime.GetInstanceCount(); ++i)
            if (CShipComponent* part = m_runtime.GetInstance(i); part && part->IsTriggered())
                ++count;
        return count;
    }

    CShipComponentDatabase m_database;
    CDumbObject m_ship;
    CShipRuntime m_runtime;
};

class CRuntimeTest : public testing::Test, protected CRuntimeRig
{
};

struct SEnergyCase
{
    const char* name;
    std::vector<std::string> pods;
    std::vector<float> batteries; // stored energy before the step, in pod order
    float shield;                 // shield energy before the step
    bool thrust, boost, reverse, fire;
    // After the step:
    bool thrustAfter, boostAfter, reverseAfter;
    int triggered;
    std::vector<float> batteriesAfter;
    float shieldAfter;
    float energyLeft;
};

const std::vector<std::string> GUNS4 = {"GENERATOR|generator_a",     "BATTERY|battery_a",
                                        "WEAPON_PROJECTILE_GUN|gun_a", "WEAPON_PROJECTILE_GUN|gun_a",
                                        "WEAPON_PROJECTILE_GUN|gun_a", "WEAPON_PROJECTILE_GUN|gun_a"};

const SEnergyCase ENERGY_CASES[] = {
    // Generation pays first; what is left charges the battery at its rate.
    {"generation first", {"ENGINE|engine_a", "GENERATOR|generator_a", "BATTERY|battery_a"}, {50}, 0,
     true, false, false, false, true, false, false, 0, {50.4f}, 0, 0.0f},
    // Boost costs half the demand again: 0.8 + 0.4 takes the whole 1.2.
    {"boost", {"ENGINE|engine_a", "GENERATOR|generator_a", "BATTERY|battery_a"}, {50}, 0,
     true, true, false, false, true, true, false, 0, {50}, 0, 0.0f},
    // Without generation the batteries pay.
    {"batteries pay", {"ENGINE|engine_a", "BATTERY|battery_a"}, {50}, 0,
     true, false, false, false, true, false, false, 0, {49.2f}, 0, 0.0f},
    // A demand equal to the energy there is still thrusts.
    {"equal demand thrusts", {"ENGINE|engine_a", "BATTERY|battery_a"}, {0.8f}, 0,
     true, false, false, false, true, false, false, 0, {0}, 0, 0.0f},
    // A demand above it switches thrust and boost off and costs nothing.
    {"demand above stops", {"ENGINE|engine_a", "BATTERY|battery_a"}, {0.79f}, 0,
     true, true, false, false, false, false, false, 0, {0.79f}, 0, 0.0f},
    // Boost that cannot be covered goes off alone.
    {"boost unaffordable", {"ENGINE|engine_a", "BATTERY|battery_a"}, {1.0f}, 0,
     true, true, false, false, true, false, false, 0, {0.2f}, 0, 0.0f},
    {"reverse affordable", {"ENGINE|engine_a", "BATTERY|battery_a"}, {0.8f}, 0,
     false, false, true, false, false, false, true, 0, {0}, 0, 0.0f},
    {"reverse unaffordable", {"ENGINE|engine_a", "BATTERY|battery_a"}, {0.5f}, 0,
     false, false, true, false, false, false, false, 0, {0.5f}, 0, 0.0f},
    // A weapon fires only on strictly more than its cost, and pays anyway.
    {"weapon needs more than its cost", {"BATTERY|battery_a", "WEAPON_PROJECTILE_GUN|gun_a"}, {0.4f}, 0,
     false, false, false, true, false, false, false, 0, {0}, 0, 0.0f},
    // Four guns (1.6) on 1.2 + 0.3: three fire, and both sources end at exactly 0.
    {"group drains to zero", GUNS4, {0.3f}, 0,
     false, false, false, true, false, false, false, 3, {0}, 0, 0.0f},
    // The shield tops up by its rate from generation; the full battery takes nothing.
    {"shield tops up", {"GENERATOR|generator_a", "BATTERY|battery_a", "SHIELD|shield_a"}, {100}, 45,
     false, false, false, false, false, false, false, 0, {100}, 45.4f, 0.8f},
    // ... no further than its capacity, the battery paying.
    {"shield up to capacity", {"BATTERY|battery_a", "SHIELD|shield_a"}, {10}, 49.9f,
     false, false, false, false, false, false, false, 0, {9.9f}, 50, 0.0f},
    // ... and no further than the energy there is.
    {"shield runs the energy out", {"BATTERY|battery_a", "SHIELD|shield_a"}, {0.1f}, 0,
     false, false, false, false, false, false, false, 0, {0}, 0.1f, 0.0f},
    // A battery charges at most to its maximum; generation nothing takes is left.
    {"battery charge capped", {"GENERATOR|generator_a", "BATTERY|battery_a"}, {99.9f}, 0,
     false, false, false, false, false, false, false, 0, {100}, 0, 1.1f},
    // The pool goes back into the batteries in their order, then the one below its
    // maximum charges: 130 becomes 100 + 30, and 30 + 0.4.
    {"pool poured in order", {"ENGINE|engine_a", "GENERATOR|generator_a", "BATTERY|battery_a", "BATTERY|battery_a"},
     {30, 100}, 0, true, false, false, false, true, false, false, 0, {100, 30.4f}, 0, 0.0f},
};
} // namespace

TEST(ShipRuntime, EnergyStepFollowsGenerationThenBatteriesClampedAtZero)
{
    for (const SEnergyCase& test : ENERGY_CASES)
    {
        SCOPED_TRACE(test.name);
        CRuntimeRig rig;
        std::vector<int> group1;
        for (size_t i = 0; i < test.pods.size(); ++i)
            if (test.pods[i].find("WEAPON") == 0)
                group1.push_back(static_cast<int>(i));
        rig.Build(test.pods, group1);
        CShipRuntime& runtime = rig.m_runtime;
        std::vector<CBatteryComponent*> batteries = rig.Batteries();
        ASSERT_EQ(batteries.size(), test.batteries.size());
        for (size_t i = 0; i < batteries.size(); ++i)
            batteries[i]->m_stored = test.batteries[i];
        runtime.GetShield().m_energy = test.shield;
        if (test.thrust || test.reverse)
            runtime.SetThrottle(true, test.thrust, test.boost);
        runtime.SetGroupButtons(1, test.fire, false, false);

        runtime.Step();

        const SShipControls& controls = runtime.GetControls();
        EXPECT_EQ(controls.thrust, test.thrustAfter);
        EXPECT_EQ(controls.boost, test.boostAfter);
        EXPECT_EQ(controls.reverse, test.reverseAfter);
        EXPECT_EQ(rig.CountTriggered(), test.triggered);
        for (size_t i = 0; i < batteries.size(); ++i)
            EXPECT_NEAR(batteries[i]->m_stored, test.batteriesAfter[i], EPS) << "battery " << i;
        EXPECT_NEAR(runtime.GetShield().m_energy, test.shieldAfter, EPS);
        EXPECT_NEAR(runtime.GetEnergyLeft(), test.energyLeft, EPS);
        EXPECT_GE(runtime.GetEnergyLeft(), 0.0f);
    }
}

TEST(ShipRuntime, ThrustIsTheEnginesSumDoubledByBoostAndHalvedBackwards)
{
    struct SCase
    {
        const char* name;
        int engines;
        bool engine, forward, boost;
        float force; // along +x
    } cases[] = {
        {"off", 1, false, true, false, 0.0f},
        {"thrust", 1, true, true, false, 1000.0f},
        {"boost", 1, true, true, true, 2000.0f},
        {"reverse", 1, true, false, true, -500.0f}, // boost cannot come with reverse
        {"two engines", 2, true, true, false, 2000.0f},
        {"two engines reverse", 2, true, false, false, -1000.0f},
    };
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(test.name);
        CRuntimeRig rig;
        std::vector<std::string> pods(static_cast<size_t>(test.engines), "ENGINE|engine_a");
        rig.Build(pods);
        rig.m_runtime.SetThrottle(test.engine, test.forward, test.boost);
        CVector2D force = rig.m_runtime.GetThrust(CVector2D(1.0f, 0.0f));
        EXPECT_FLOAT_EQ(force.x, test.force);
        EXPECT_FLOAT_EQ(force.y, 0.0f);
    }
}

TEST(ShipRuntime, BoostStaysOnUntilTheThrustIsLetGo)
{
    CRuntimeRig rig;
    rig.Build({"ENGINE|engine_a"});
    CShipRuntime& runtime = rig.m_runtime;
    runtime.SetThrottle(true, true, true);
    runtime.SetThrottle(true, true, false);
    EXPECT_TRUE(runtime.GetControls().boost);
    runtime.SetThrottle(true, false, false); // reverse
    EXPECT_FALSE(runtime.GetControls().boost);
    EXPECT_TRUE(runtime.GetControls().reverse);
    runtime.SetThrottle(false, true, true); // no engine: nothing
    EXPECT_FALSE(runtime.GetControls().thrust);
    EXPECT_FALSE(runtime.GetControls().reverse);
}

TEST(ShipRuntime, MassOverloadAndDamping)
{
    // Hull 100, engine_a 20 rated 200 and dampening 0.9; anvils 180 each.
    struct SCase
    {
        const char* name;
        std::vector<std::string> pods;
        uint32_t mass;
        float overload;
        float damping;
        int32_t limit;
    } cases[] = {
        {"within the rating", {"ENGINE|engine_a"}, 120, 0.0f, 0.9f, 200},
        // (300 - 200) / 200 = 0.5: 0.9 + 0.5 x 0.1.
        {"overloaded", {"ENGINE|engine_a", "CARGO|anvil_a"}, 300, 0.5f, 0.95f, 200},
        // (480 - 200) / 200 = 1.4 > 1: no drift control.
        {"overloaded past 1", {"ENGINE|engine_a", "CARGO|anvil_a", "CARGO|anvil_a"}, 480, 1.4f, 1.0f, 200},
        // A dampening of 1 or more is the damping however loaded.
        {"loose engine", {"ENGINE|engine_loose", "CARGO|anvil_a"}, 300, 2.0f, 1.2f, 150},
        // An engine rated for nothing gives no overload (no division by 0).
        {"unrated engine", {"ENGINE|engine_unrated", "CARGO|anvil_a"}, 300, 0.0f, 0.8f, 150},
        // Without an engine: no overload, damping 1, no speed limit.
        {"no engine", {"CARGO|anvil_a"}, 280, 0.0f, 1.0f, 0},
        // The first engine's dampening and limit, the sum of the ratings.
        {"two engines", {"ENGINE|engine_loose", "ENGINE|engine_a", "CARGO|anvil_a"}, 320, (320.0f - 300) / 300, 1.2f,
         150},
    };
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(test.name);
        CRuntimeRig rig;
        rig.Build(test.pods);
        EXPECT_EQ(rig.m_runtime.GetTotalMass(), test.mass);
        EXPECT_NEAR(rig.m_runtime.GetOverloadFactor(), test.overload, EPS);
        EXPECT_NEAR(rig.m_runtime.GetDamping(), test.damping, EPS);
        EXPECT_EQ(rig.m_runtime.GetVelocityLimit(), test.limit);
    }
}

TEST(ShipRuntime, AmmoWarningsAreWhatEachStepFinds)
{
    // Launcher 4 rounds and an ammunition pod of 6: full is 10.
    struct SCase
    {
        int32_t launcher, pod;
        bool low, empty;
    } cases[] = {
        {4, 6, false, false},
        {5, 0, false, false}, // half is not below half
        {4, 0, true, false},  // 40 %
        {0, 1, true, false},
        {0, 0, true, true},
    };
    for (const SCase& test : cases)
    {
        SCOPED_TRACE(std::to_string(test.launcher) + " + " + std::to_string(test.pod));
        CRuntimeRig rig;
        rig.Build({"WEAPON_MISSILE|missile_a", "AMMO_MISSILE|rounds_a"});
        CShipRuntime& runtime = rig.m_runtime;
        runtime.GetInstance(0)->m_ammo = test.launcher;
        runtime.GetInstance(1)->m_ammo = test.pod;
        runtime.Step();
        EXPECT_EQ(runtime.GetControls().ammoLow, test.low);
        EXPECT_EQ(runtime.GetControls().ammoEmpty, test.empty);
        // A refill puts the warnings out at the next step.
        runtime.RefillAmmo();
        EXPECT_EQ(runtime.GetInstance(0)->m_ammo, 4);
        EXPECT_EQ(runtime.GetInstance(1)->m_ammo, 6);
        runtime.Step();
        EXPECT_FALSE(runtime.GetControls().ammoLow);
        EXPECT_FALSE(runtime.GetControls().ammoEmpty);
    }
}

TEST(ShipRuntime, TakeAmmoEmptiesTheFirstPodWithRoundsFirst)
{
    CRuntimeRig rig;
    rig.Build({"AMMO_MISSILE|rounds_a", "AMMO_MISSILE|rounds_a", "WEAPON_MISSILE|missile_a"});
    CShipRuntime& runtime = rig.m_runtime;
    runtime.GetInstance(0)->m_ammo = 1;
    EXPECT_TRUE(runtime.TakeAmmo(COMPONENT_MISSILE));
    EXPECT_EQ(runtime.GetInstance(0)->m_ammo, 0);
    EXPECT_EQ(runtime.GetInstance(1)->m_ammo, 6);
    EXPECT_TRUE(runtime.TakeAmmo(COMPONENT_MISSILE));
    EXPECT_EQ(runtime.GetInstance(1)->m_ammo, 5);
    // The launcher's own rounds are not the pods'; bombs have no pod here.
    EXPECT_EQ(runtime.GetInstance(2)->m_ammo, 4);
    EXPECT_FALSE(runtime.TakeAmmo(COMPONENT_BOMB));
    EXPECT_FALSE(runtime.TakeAmmo(COMPONENT_PROJECTILE_GUN));
}

TEST(ShipRuntime, BuildFindsLaunchOffsetsShieldAndBuiltInBeam)
{
    // hull_a: (0,0) edge (12,-8); (1,0) internal; (0,1) edge (-16,0); (1,1) internal.
    CRuntimeRig rig;
    rig.Build({"0, 0|WEAPON_PROJECTILE_GUN|gun_a", "1, 0|WEAPON_MISSILE|missile_a", "-1, 1|WEAPON_PROJECTILE_GUN|gun_a",
               "1, 1|SHIELD|shield_a", "4, 4|SHIELD|shield_a", "5, 5|CARGO|cargo_a"});
    CShipRuntime& runtime = rig.m_runtime;
    auto offset = [&runtime](int pod) { return static_cast<CWeaponComponent*>(runtime.GetInstance(pod))->GetLaunchOffset(); };
    // Its own edge cell.
    EXPECT_FLOAT_EQ(offset(0).x, 12.0f);
    EXPECT_FLOAT_EQ(offset(0).y, -8.0f);
    // Internal with nothing to its right: the centre.
    EXPECT_FLOAT_EQ(offset(1).x, 0.0f);
    EXPECT_FLOAT_EQ(offset(1).y, 0.0f);
    // Off the grid, with an edge cell to its right.
    EXPECT_FLOAT_EQ(offset(2).x, -16.0f);
    EXPECT_FLOAT_EQ(offset(2).y, 0.0f);
    // The first shield is the shield; the capacity is both shields' and starts full.
    EXPECT_EQ(runtime.GetShield().m_def, &runtime.GetInstance(3)->GetDefAs<CShieldDef>());
    EXPECT_FLOAT_EQ(runtime.GetShield().m_capacity, 100.0f);
    EXPECT_FLOAT_EQ(runtime.GetShield().m_energy, 100.0f);
    EXPECT_EQ(runtime.CountCargoPods(), 1);
    // The database's first beam makes the built-in one, with no pod of its own.
    ASSERT_NE(runtime.GetBuiltInBeam(), nullptr);
    EXPECT_EQ(runtime.GetBuiltInBeam()->GetPod(), -1);
    EXPECT_EQ(runtime.GetInstanceCount(), 6);
    EXPECT_EQ(runtime.GetInstance(6), nullptr); // past the pods
}

TEST(ShipRuntime, NoBeamDefinitionMeansNoBuiltInBeam)
{
    CShipComponentDatabase database;
    database.SetStringTable(&GetFixtureStrings());
    ASSERT_TRUE(database.LoadComponentNodes(ParseText(HullSection() + ComponentSection("ENGINE", "engine_a",
                                                                                       "thrust\t1\ninertialDampening\t0.9\n"
                                                                                       "emergencyBoost\t0\nmassDampingRated\t1\n"
                                                                                       "velocityLimit\t1\nenergyRequirement\t1\n")),
                                            "parts"))
        << database.DescribeProblems();
    ASSERT_TRUE(database.LoadShipConfigNodes(ParseText(Design("T", 1, {"0, 1|ENGINE|engine_a"})), "designs"));
    CDumbObject ship;
    CShipRuntime runtime;
    ASSERT_TRUE(runtime.Build(*database.GetShipConfig(1), database, ship));
    EXPECT_EQ(runtime.GetBuiltInBeam(), nullptr);
    runtime.SetBeam(true);
    runtime.Step(); // no beam anywhere: the request goes off
    EXPECT_FALSE(runtime.GetControls().beam);
}

TEST(ShipRuntime, DronesFlyOutToTheirStationsAndHomeWhenFrozen)
{
    CShipComponentDatabase database;
    database.SetStringTable(&GetFixtureStrings());
    ASSERT_TRUE(database.LoadComponentNodes(
        ParseText(HullSection() + ComponentSection("DRONE", "drone_a",
                                                   "energyRequirement\t5\nfireRateSec\t2\nweaponEffect\tzap\n"
                                                   "bodySprite\tdummy\n")),
        "parts"));
    ASSERT_TRUE(database.LoadShipConfigNodes(
        ParseText(Design("T", 1, {"5, 5|DRONE|drone_a", "6, 5|DRONE|drone_a", "7, 5|DRONE|drone_a"}, {0, 1, 2})),
        "designs"));
    CDumbObject ship;
    ship.GetBody().angle = 90.0f; // ship space (0, -35) is world (35, 0) from the ship
    ship.SetPosition(CVector2D(500.0f, 500.0f));
    CShipRuntime runtime;
    ASSERT_TRUE(runtime.Build(*database.GetShipConfig(1), database, ship));
    auto drone = [&runtime](int pod) { return static_cast<CDroneComponent*>(runtime.GetInstance(pod)); };

    // 1.6 units a frame: 21 frames reach 33.6, the 22nd arrives.
    for (int frame = 1; frame <= 22; ++frame)
    {
        runtime.Step();
        runtime.UpdateParts();
        if (frame == 1)
        {
            EXPECT_EQ(drone(0)->GetState(), CDroneComponent::FLYING_OUT);
            EXPECT_NEAR(drone(0)->GetOffset().y, -1.6f, EPS);
            EXPECT_NEAR(drone(1)->GetOffset().y, 1.6f, EPS);
        }
        if (frame == 21)
        {
            EXPECT_NEAR(drone(0)->GetOffset().y, -33.6f, 1e-3f);
            EXPECT_EQ(drone(0)->GetState(), CDroneComponent::FLYING_OUT);
        }
    }
    EXPECT_EQ(drone(0)->GetState(), CDroneComponent::ON_STATION);
    EXPECT_FLOAT_EQ(drone(0)->GetOffset().y, -35.0f);
    EXPECT_EQ(drone(1)->GetState(), CDroneComponent::ON_STATION);
    EXPECT_FLOAT_EQ(drone(1)->GetOffset().y, 35.0f);
    // A third drone has no place beside the ship.
    EXPECT_FALSE(drone(2)->HasStation());
    EXPECT_EQ(drone(2)->GetState(), CDroneComponent::DOCKED);

    ship.GetInfo().frozen = true;
    runtime.Step();
    runtime.UpdateParts();
    EXPECT_EQ(drone(0)->GetState(), CDroneComponent::RETURNING);
    EXPECT_NEAR(drone(0)->GetOffset().y, -33.4f, 1e-3f);
    for (int frame = 0; frame < 21; ++frame)
    {
        runtime.Step();
        runtime.UpdateParts();
    }
    EXPECT_EQ(drone(0)->GetState(), CDroneComponent::DOCKED);
    EXPECT_FLOAT_EQ(drone(0)->GetOffset().y, 0.0f);
}

TEST(ShipRuntime, TheBeamHoldsTenAndHandsTheFirstEntryOver)
{
    CRuntimeRig rig;
    rig.Build({"ENGINE|engine_a"});
    CGravityBeamComponent& beam = *rig.m_runtime.GetBuiltInBeam();
    for (int32_t handle = 1; handle <= 10; ++handle)
        EXPECT_EQ(beam.TakeEntry(handle), handle - 1);
    EXPECT_EQ(beam.TakeEntry(7), 6) << "an object keeps its own entry";
    EXPECT_EQ(beam.TakeEntry(11), 0) << "all taken: the first is handed over";
    EXPECT_EQ(beam.GetHeld(0), 11);
    EXPECT_EQ(beam.GetHeld(1), 2);
    EXPECT_EQ(beam.TakeEntry(NO_OBJECT), -1);
    EXPECT_EQ(beam.GetHeld(10), NO_OBJECT);
}
