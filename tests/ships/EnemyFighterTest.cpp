// The enemy fighter: the pilot's turning and firing, the attack's close-in and
// engagement, the one retreat, the asteroid threat, hits by kind, the queen of the
// last zone, and a whole fight against a ship.

#include "core/Random.h"
#include "ships/EnemyDrone.h"
#include "ships/EnemyFighter.h"
#include "ships/EnemyTargets.h"
#include "ships/FighterBehaviours.h"
#include "ships/FighterPilot.h"
#include "tests/ships/EnemyScene.h"
#include "tests/support/presentation/RecordedEffects.h"
#include "world/EffectCache.h"
#include "world/AsteroidKinds.h"
#include "world/EffectDef.h"
#include "world/Emitter.h"
#include "world/Game.h"
#include "world/World.h"
#include "world/ZoneNode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace
{
// A bolt flying 300 units a second along its heading that hurts by 2 what it touches.
const std::string kShot = DefinitionText(
    "EFFECT { name fighterShot; maxParticles 64; maxEmitters 32; particle { appearance { type DUMMY } }"
    " controller { type OMNI_DIRECTION; inertia 1 } emitter { type SIMPLE_PARTICLE; randomNumCreated 1, 1;"
    " randomLife 2, 2; randomStartVel 300, 300; randomStartOri 0, 0;"
    " event { type EMITTER_PARTICLE_COLLISION; randomInflictDamage 2, 2; particleRadius 4; die true } } }");

// Arm range 600, defensive range 250, engine force 400, 120 units a second; weapon 0
// fires the bolt twice a second from 10 units ahead, weapon 1 has a rate but no effect.
std::string Fighter(int32_t health = 20, const std::string& more = "")
{
    return EnemySection("ENEMY_FIGHTER",
                        "armRange 600; defensiveRange 250; engineForce 400; velocityLimit 120;"
                        " weapon0 { weaponEffect fighterShot; fireRateSec 2; offset 10, 0 }"
                        " weapon1 { fireRateSec 5; offset -10, 0 } " +
                            more,
                        health, 10, 12.0f);
}

int CountShots(const CEffectCache& cache)
{
    const CEffectDef* definition = cache.FindDefinition("fighterShot");
    int count = 0;
    for (int32_t i = 0; definition && i < definition->GetEmitter()->GetPoolSize(); ++i)
        count += definition->GetEmitter()->GetPoolEffect(i)->IsInUse() ? 1 : 0;
    return count;
}

const CEffect* FindShot(const CEffectCache& cache)
{
    const CEffectDef* definition = cache.FindDefinition("fighterShot");
    for (int32_t i = 0; definition && i < definition->GetEmitter()->GetPoolSize(); ++i)
        if (definition->GetEmitter()->GetPoolEffect(i)->IsInUse())
            return definition->GetEmitter()->GetPoolEffect(i);
    return nullptr;
}

float DistanceBetween(const CGameObject& a, const CGameObject& b)
{
    return (a.GetPosition() - b.GetPosition()).Length();
}
} // namespace

// The pilot turns 4 degrees a tick towards its target and fires once it faces it
// within 15 degrees: weapon 0 twice a second, weapon 1 (no effect) never.
TEST(EnemyFighter, PilotTurnsThenFiresItsArmedWeaponsAtTheirRate)
{
    CEnemyScene scene;
    ASSERT_TRUE(scene.Effects().Load(kShot));
    const int32_t ship = scene.SpawnPlayerShip(1000, 1400);
    CEnemyFighter* fighter = scene.SpawnEnemy<CEnemyFighter>(OBJECT_ENEMY_FIGHTER, 1000, 1000, Fighter());
    CFighterPilot& pilot = fighter->GetPilot();
    const CEffectCache& cache = scene.Game().GetEffectCache();

    // The ship lies at heading 90: 19 turns of 4 leave 14 degrees, the 20th fires.
    for (int turn = 1; turn <= 19; ++turn)
    {
        pilot.Engage(ship);
        pilot.Sense();
        EXPECT_NEAR(fighter->GetBody().angle, 4.0f * turn, 1e-3f);
        EXPECT_EQ(CountShots(cache), 0) << "turn " << turn;
    }
    pilot.Engage(ship);
    pilot.Sense();
    EXPECT_NEAR(fighter->GetBody().angle, 76.0f, 1e-3f) << "facing within 15: no more turning";
    EXPECT_EQ(pilot.GetMode(), PILOT_IDLE);
    ASSERT_EQ(CountShots(cache), 1);
    const CEffect* shot = FindShot(cache);
    CVector2D muzzle(10, 0);
    muzzle.Rotate(76.0f);
    muzzle += CVector2D(1000, 1000);
    EXPECT_NEAR(shot->GetPosition().x, muzzle.x, 1e-3f);
    EXPECT_NEAR(shot->GetPosition().y, muzzle.y, 1e-3f);
    EXPECT_NEAR(shot->GetHeading(), HeadingOf(CVector2D(1000, 1400) - muzzle), 1e-3f) << "aimed at the ship";
    EXPECT_EQ(fighter->GetWeapon(1).nextFire, 0u) << "weapon 1 has no effect and never fires";

    // The next shot comes 500 ms later.
    scene.AdvanceClock(12);
    pilot.Engage(ship);
    pilot.Sense();
    EXPECT_EQ(CountShots(cache), 1) << "480 ms later";
    scene.AdvanceClock(1);
    pilot.Engage(ship);
    pilot.Sense();
    EXPECT_EQ(CountShots(cache), 2) << "520 ms later";
}

// Attack wins while the nearer target is within the arm range: beyond the defensive
// range the pilot closes in along the line to it, inside it the pilot engages; out of
// the arm range the fighter wanders.
TEST(EnemyFighter, AttackClosesInThenEngages)
{
    struct SCase
    {
        float shipX;
        int behaviour;
        EPilotMode mode;
    };
    const SCase cases[] = {
        {1500, 2, PILOT_STEER},  // 500 from the fighter: close in
        {1200, 2, PILOT_ENGAGE}, // 200: engage
        {1800, 0, PILOT_STEER},  // 800: beyond the arm range, wander (drift or set off)
    };
    for (const SCase& c : cases)
    {
        CEnemyScene scene;
        const int32_t ship = scene.SpawnPlayerShip(c.shipX, 1000);
        CEnemyFighter* fighter = scene.SpawnEnemy<CEnemyFighter>(OBJECT_ENEMY_FIGHTER, 1000, 1000, Fighter());
        // The retreat's threshold, then a wanderer's chance to set off: it drifts.
        GetGameRandom().ScriptDraws({0, 1});
        fighter->Think(); // decides and starts
        fighter->Think(); // runs
        EXPECT_EQ(fighter->GetArbiter().GetCurrentIndex(), c.behaviour) << "ship at " << c.shipX;
        CFighterPilot& pilot = fighter->GetPilot();
        EXPECT_EQ(pilot.GetMode(), c.mode) << "ship at " << c.shipX;
        if (c.mode == PILOT_ENGAGE)
        {
            EXPECT_EQ(pilot.GetTarget(), ship);
        }
        if (c.behaviour == 2 && c.mode == PILOT_STEER)
        {
            EXPECT_NEAR(pilot.GetGoal().x, 1.0f, 1e-4f);
            EXPECT_EQ(pilot.GetGoalForce(), 400.0f);
        }
        EXPECT_EQ(fighter->GetContext().m_attacking, c.behaviour == 2);
    }
}

// The retreat threshold is drawn once at the first decision: draw % (start health /
// 2 + 1) + start health / 10, so 2 to 12 for a start health of 20.
TEST(EnemyFighter, RetreatThresholdFollowsTheStartHealth)
{
    const uint32_t draws[][2] = {{0, 2}, {10, 12}, {11, 2}, {7, 9}};
    for (const auto& draw : draws)
    {
        CEnemyScene scene;
        scene.SpawnPlayerShip(1200, 1000);
        CEnemyFighter* fighter = scene.SpawnEnemy<CEnemyFighter>(OBJECT_ENEMY_FIGHTER, 1000, 1000, Fighter(20));
        GetGameRandom().ScriptDraws({draw[0]});
        fighter->Think();
        auto* retreat = static_cast<CFighterRetreat*>(fighter->GetArbiter().GetBehaviour(1));
        EXPECT_EQ(retreat->GetThreshold(), static_cast<int32_t>(draw[1])) << "draw " << draw[0];
        EXPECT_EQ(fighter->GetContext().m_startHealth, 20);
    }
}

// Below its threshold while attacking among fewer allies than its allowance, the
// fighter retreats once, for 2.5 to 7.5 s, flying off against its attack direction
// at three times its engine force; then it attacks again and never retreats anew.
TEST(EnemyFighter, RetreatsOnceBelowItsThreshold)
{
    for (int32_t allies : {0, 5})
    {
        CEnemyScene scene;
        scene.SpawnPlayerShip(1200, 1000);
        GetGameRandom().ScriptDraws({4}); // allowance 4 % 10 + 1 = 5
        CEnemyFighter* fighter = scene.SpawnEnemy<CEnemyFighter>(OBJECT_ENEMY_FIGHTER, 1000, 1000, Fighter(20));
        CFighterContext& context = fighter->GetContext();
        ASSERT_EQ(context.m_retreatAllowance, 5);
        GetGameRandom().ScriptDraws({6}); // threshold 6 % 11 + 2 = 8
        fighter->Think();
        fighter->Think();
        ASSERT_EQ(fighter->GetArbiter().GetCurrentIndex(), 2);
        ASSERT_TRUE(context.m_attacking);

        fighter->GetBody().health = 7;
        scene.AdvanceClock(13);
        context.m_friendlyCount = allies;
        GetGameRandom().ScriptDraws({1000}); // retreat 1000 % 5000 + 2500 = 3500 ms
        const uint32_t decided = scene.Game().GetTime();
        fighter->Think(); // the attack is stopped
        fighter->Think(); // the retreat starts
        fighter->Think(); // and steers
        auto* retreat = static_cast<CFighterRetreat*>(fighter->GetArbiter().GetBehaviour(1));
        if (allies >= 5)
        {
            EXPECT_EQ(retreat->GetRetreatEnd(), 0u) << "enough allies stand by";
            EXPECT_EQ(fighter->GetArbiter().GetCurrentIndex(), 2);
            continue;
        }
        EXPECT_EQ(retreat->GetRetreatEnd(), decided + 3500);
        EXPECT_EQ(fighter->GetArbiter().GetCurrentIndex(), 1);
        EXPECT_EQ(fighter->GetPilot().GetMode(), PILOT_STEER);
        EXPECT_NEAR(fighter->GetPilot().GetGoal().x, -1.0f, 1e-4f) << "away from the ship";
        EXPECT_EQ(fighter->GetPilot().GetGoalForce(), 1200.0f);

        // The retreat ends; the attack comes back and stays, however low the health.
        scene.AdvanceClock(3500 / 40 + 1);
        fighter->GetBody().health = 1;
        for (int i = 0; i < 4; ++i)
        {
            fighter->Think();
            scene.AdvanceClock(13);
        }
        EXPECT_EQ(fighter->GetArbiter().GetCurrentIndex(), 2);
        EXPECT_EQ(retreat->GetRetreatEnd(), decided + 3500) << "no second retreat";
        EXPECT_EQ(retreat->GetThreshold(), 0);
        EXPECT_EQ(context.m_retreatAllowance, 0);
    }
}

// An object on a collision course within the defensive range is engaged before the
// arbiter has its turn, but only while neither the player ship nor the station is
// within the arm range.
TEST(EnemyFighter, ShootsAnAsteroidAboutToHitItWhenNoTargetIsNear)
{
    struct SCase
    {
        float shipX;
        float rockSpeed; // along x; the rock lies 150 units to the right
        bool threat;
    };
    const SCase cases[] = {{3500, -3, true}, {1500, -3, false}, {3500, 3, false}};
    for (const SCase& c : cases)
    {
        CEnemyScene scene;
        scene.SpawnPlayerShip(c.shipX, 1000);
        CEnemyFighter* fighter = scene.SpawnEnemy<CEnemyFighter>(OBJECT_ENEMY_FIGHTER, 1000, 1000, Fighter());
        const int32_t rock = scene.Effects().SpawnTarget(1150, 1000, 20, ASTEROID_TEAM, 50);
        scene.Target(rock)->GetBody().velocity = CVector2D(c.rockSpeed, 0);
        scene.RunFrames(1);
        EXPECT_EQ(fighter->GetAsteroidThreat(), c.threat ? rock : NO_OBJECT) << "ship at " << c.shipX;
        if (c.threat)
        {
            EXPECT_EQ(fighter->GetPilot().GetTarget(), rock);
        }
    }
}

// Hits of kind 0 count double; its own type's shots do nothing. A kill scores 10
// (in survival above difficulty 1, 10 x difficulty on the survival score instead),
// starts the death effect for no owner and counts for the quick-ship goal.
TEST(EnemyFighter, HitsAndKills)
{
    CEnemyScene scene;
    CRecordedEffects effects;
    struct SCase
    {
        int32_t sourceType;
        int32_t kind;
        int32_t amount;
        int32_t health;
    };
    const SCase cases[] = {
        {OBJECT_PLAYER_SHIP, 0, 3, 14},
        {OBJECT_PLAYER_SHIP, 1, 3, 17},
        {OBJECT_ENEMY_DRONE, 2, 3, 17},
        {OBJECT_ENEMY_FIGHTER, 1, 3, 20},
    };
    for (const SCase& c : cases)
    {
        CEnemyFighter* fighter = scene.SpawnEnemy<CEnemyFighter>(OBJECT_ENEMY_FIGHTER, 2000, 2000, Fighter(20));
        EXPECT_FALSE(fighter->TakeDamage(c.sourceType, nullptr, c.kind, c.amount));
        EXPECT_EQ(fighter->GetBody().health, c.health) << "source " << c.sourceType << " kind " << c.kind;
    }

    SRunState& run = scene.Game().GetRun();
    CHarnessCampaign& campaign = scene.Harness().GetCampaign();
    CEnemyFighter* fighter =
        scene.SpawnEnemy<CEnemyFighter>(OBJECT_ENEMY_FIGHTER, 2000, 2000, Fighter(20, "deathEffect fighterDeath"));
    run.quickShip = true;
    EXPECT_TRUE(fighter->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 1, 20));
    EXPECT_EQ(campaign.m_kills, 1);
    EXPECT_EQ(campaign.m_score, 10);
    EXPECT_EQ(scene.Harness().GetGameFlow().m_quickShipFighterKills, 1);
    ASSERT_EQ(effects.Count("fighterDeath"), 1u);
    EXPECT_EQ(effects.m_requests.back().owner, NO_OBJECT);

    run.quickShip = false;
    run.survival = true;
    run.noDrops = true;
    campaign.m_difficulty = 2;
    fighter = scene.SpawnEnemy<CEnemyFighter>(OBJECT_ENEMY_FIGHTER, 2000, 2000, Fighter(20));
    EXPECT_TRUE(fighter->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 1, 20));
    EXPECT_EQ(campaign.m_kills, 2);
    EXPECT_EQ(campaign.m_score, 10) << "no points on the score";
    EXPECT_EQ(run.survivalScore, 20);
}

// In survival a fighter drops 1 to 4 gems, one time in three, while its stage's
// threshold lies above the survival measure: normal, rare or very rare by a draw of
// 0 to 9 (2 : 2 : 6), the large ones from difficulty 3, the smallest above it.
TEST(EnemyFighter, SurvivalFightersDropGems)
{
    struct SCase
    {
        int32_t stage;
        int32_t measure;
        int difficulty;
        std::vector<uint32_t> draws; // chance, count, then per gem e (below difficulty 4), x, y
        std::vector<int32_t> kinds;
    };
    const SCase cases[] = {
        {0, 10, 0, {1, 2, 0, 5, 5, 3, 5, 5, 9, 5, 5}, {3, 5, 7}},
        {3, 199, 3, {4, 0, 2, 5, 5}, {6}},
        {6, 374, 4, {1, 1, 5, 5, 5, 5}, {3, 3}},
        {0, 15, 0, {1, 0, 0, 5, 5}, {}}, // the measure reached the threshold
        {7, 0, 0, {1, 0, 0, 5, 5}, {}},  // no stage of that number
        {2, 50, 0, {0, 0, 0, 5, 5}, {}}, // two in three drop nothing
    };
    for (const SCase& c : cases)
    {
        CEnemyScene scene(1, true);
        SRunState& run = scene.Game().GetRun();
        run.survival = true;
        run.survivalStage = c.stage;
        run.survivalMeasure = c.measure;
        scene.Harness().GetCampaign().m_difficulty = c.difficulty;
        CEnemyFighter* fighter = scene.SpawnEnemy<CEnemyFighter>(OBJECT_ENEMY_FIGHTER, 2000, 2000, Fighter());
        GetGameRandom().ScriptDraws(c.draws);
        fighter->Die();
        std::vector<int32_t> kinds;
        for (const auto& gem : scene.ListAsteroids())
            kinds.push_back(gem.kind);
        std::sort(kinds.begin(), kinds.end());
        EXPECT_EQ(kinds, c.kinds) << "stage " << c.stage << " measure " << c.measure;
    }
    // The no-drop flag stops them all.
    CEnemyScene scene(1, true);
    scene.Game().GetRun().survival = true;
    scene.Game().GetRun().noDrops = true;
    CEnemyFighter* fighter = scene.SpawnEnemy<CEnemyFighter>(OBJECT_ENEMY_FIGHTER, 2000, 2000, Fighter());
    GetGameRandom().ScriptDraws({1, 3, 0, 5, 5, 0, 5, 5, 0, 5, 5, 0, 5, 5});
    fighter->Die();
    EXPECT_TRUE(scene.ListAsteroids().empty());
}

// The last zone's queen: the hit that would bring her to 10 or less freezes her
// instead (once) and clears the field; frozen, only the station's strike hurts her,
// and it kills her only while the director shows chat page 54. Her death beats the
// zone's boss and scores 1000. Frozen, she does nothing.
TEST(EnemyFighter, QueenIsFrozenOnceAndDiesOnlyOnCue)
{
    CEnemyScene scene(1, true);
    scene.Harness().GetZones().m_zone = CEnemyFighter::QUEEN_ZONE;
    CHarnessDirector& director = scene.Harness().GetDirector();
    scene.SpawnPlayerShip(1200, 1000);
    CEnemyFighter* queen = scene.SpawnEnemy<CEnemyFighter>(OBJECT_ENEMY_FIGHTER, 1000, 1000, Fighter(30));
    queen->SetQueen(true);
    CEnemyDrone* drone = scene.SpawnEnemy<CEnemyDrone>(OBJECT_ENEMY_DRONE, 3800, 3800,
                                                       EnemySection("ENEMY_DRONE", "config mine"));
    const int32_t droneHandle = drone->GetHandle();

    EXPECT_FALSE(queen->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 1, 15));
    EXPECT_EQ(queen->GetBody().health, 15) << "15 left: no freeze yet";
    EXPECT_FALSE(director.m_queenFrozen);
    EXPECT_FALSE(queen->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 1, 6));
    EXPECT_EQ(queen->GetBody().health, 15) << "9 would be left: frozen instead";
    EXPECT_TRUE(director.m_queenFrozen);
    EXPECT_EQ(director.m_queenFreezeEnd, scene.Game().GetTime() + 10000);
    scene.Harness().GetWorld().FlushRemovals();
    EXPECT_EQ(scene.Harness().Find(droneHandle), nullptr) << "the other enemies went";
    EXPECT_NE(scene.Harness().Find(queen->GetHandle()), nullptr);

    queen->Think();
    EXPECT_EQ(queen->GetContext().m_startHealth, -1) << "held: no decision";

    EXPECT_FALSE(queen->TakeDamage(OBJECT_PLAYER_SHIP, nullptr, 1, 50));
    EXPECT_EQ(queen->GetBody().health, 15) << "frozen, only the strike counts";
    EXPECT_FALSE(queen->TakeDamage(0, nullptr, 3, 50));
    EXPECT_EQ(queen->GetBody().health, 1) << "not on cue: spared at 1";
    director.m_chatPage = 54;
    EXPECT_TRUE(queen->TakeDamage(0, nullptr, 3, 50));
    bool pod = false;
    for (const auto& dropped : scene.ListAsteroids())
        pod = pod || dropped.kind == ASTEROID_DRIVE_POD;
    EXPECT_TRUE(pod) << "she leaves the drive pod";
    EXPECT_TRUE(scene.Harness().GetZones().GetZoneFlag(ZONE_FLAG_BOSS_BEATEN)) << "the zone's boss is beaten";
    EXPECT_EQ(scene.Harness().GetCampaign().m_score, 1000);
}

// A whole fight: the fighter closes on the ship, keeps within its ring while it
// shoots it, retreats once below its threshold, and comes back.
TEST(EnemyFighter, ClosesCirclesShootsRetreatsAndReturns)
{
    CEnemyScene scene(7);
    ASSERT_TRUE(scene.Effects().Load(kShot));
    const int32_t ship = scene.SpawnPlayerShip(2000, 2000);
    CEnemyFighter* fighter = scene.SpawnEnemy<CEnemyFighter>(OBJECT_ENEMY_FIGHTER, 2550, 2000, Fighter(40));
    const int32_t handle = fighter->GetHandle();
    CGameObject& shipObject = *scene.Harness().Find(ship);

    int frames = 0;
    while (DistanceBetween(*fighter, shipObject) > 250.0f && frames < 200)
    {
        scene.RunFrames(1);
        ++frames;
    }
    ASSERT_LT(frames, 200) << "it never closed in";

    // In its ring, firing: it stays near while the bolts land.
    float farthest = 0.0f;
    for (int i = 0; i < 150; ++i)
    {
        scene.RunFrames(1);
        farthest = std::max(farthest, DistanceBetween(*fighter, shipObject));
    }
    EXPECT_LT(farthest, 250.0f + 120.0f);
    const size_t hits = scene.Target(ship)->m_hits.size();
    EXPECT_GE(hits, 5u) << "two shots a second for six seconds";
    for (const SRecordedHit& hit : scene.Target(ship)->m_hits)
        EXPECT_EQ(hit.sourceType, OBJECT_ENEMY_FIGHTER);

    // Below its threshold it turns tail for 2.5 to 7.5 s.
    auto* retreat = static_cast<CFighterRetreat*>(fighter->GetArbiter().GetBehaviour(1));
    ASSERT_TRUE(retreat->IsThresholdDrawn());
    ASSERT_GE(retreat->GetThreshold(), 4);
    fighter->GetBody().health = 1;
    float retreatedTo = 0.0f;
    int retreatFrames = 0;
    for (int i = 0; i < 300 && scene.Find<CEnemyFighter>(handle); ++i)
    {
        scene.RunFrames(1);
        retreatedTo = std::max(retreatedTo, DistanceBetween(*fighter, shipObject));
        retreatFrames += fighter->GetArbiter().GetCurrentIndex() == 1 ? 1 : 0;
    }
    EXPECT_GT(retreatedTo, 500.0f) << "it fled";
    EXPECT_GE(retreatFrames, 2500 / 40 - 13);
    EXPECT_LE(retreatFrames, 7500 / 40 + 26);
    // ... and came back to fight.
    EXPECT_LT(DistanceBetween(*fighter, shipObject), 250.0f + 120.0f);
    EXPECT_EQ(fighter->GetArbiter().GetCurrentIndex(), 2);
}
