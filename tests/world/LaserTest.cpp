// Lasers against a recording renderer: the straight beam's length and hits, its time
// on, and the homing, bounce and lightning beams with their steps, budgets and chains.

#include "tests/support/world/EffectScene.h"
#include "world/EffectCache.h"
#include "world/EffectDef.h"
#include "world/StraightLaserEmitter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{
std::string Laser(const std::string& name, const std::string& keys, int maxEmitters = 4)
{
    return DefinitionText("EFFECT { name " + name + "; maxParticles 0; maxEmitters " + std::to_string(maxEmitters) +
                          "; particle { appearance { type DUMMY } } controller { type STATIC }"
                          " emitter { type STRAIGHT_LASER; textureFile beam.tga; beamWidth 6;"
                          " startColor 255, 128, 0; endColor 0, 0, 255; startAlpha 255; endAlpha 51;"
                          " blendMode additive; " +
                          keys + " } }");
}

// A spark for the collision effects.
std::string Spark()
{
    return DefinitionText("EFFECT { name spark; maxParticles 16; maxEmitters 16;"
                          " particle { appearance { type DUMMY } } controller { type STATIC }"
                          " emitter { type SIMPLE_PARTICLE; randomNumCreated 1, 1; randomLife 5, 5 } }");
}

class LaserTest : public testing::Test
{
protected:
    CVertexRecordingRenderer& Renderer() { return m_scene.Harness().GetRenderer(); }
    const std::vector<SRecordedRibbon>& Ribbons() { return Renderer().m_ribbons; }

    // An owner of the player's side at (1000, 1000), filed by the next frame.
    void MakeOwner(ETeam team = GOOD_TEAM)
    {
        m_owner = m_scene.SpawnTarget(1000, 1000, 10, team, 100, OBJECT_PLAYER_SHIP);
    }

    CStraightLaserEffect* Fire(const char* name, float heading, bool recyclable = false)
    {
        CEffect* effect = m_scene.Cache().SpawnEffect(name, m_scene.Harness().Find(m_owner), recyclable);
        EXPECT_NE(effect, nullptr);
        if (!effect)
            return nullptr;
        effect->SetPosition(CVector2D(1000, 1000));
        effect->SetHeading(heading);
        effect->Start();
        return static_cast<CStraightLaserEffect*>(effect);
    }

    // A target with a square outline of half size 10, so a beam's contact point is its middle.
    int32_t Square(float x, float y, ETeam team = BAD_TEAM)
    {
        int32_t handle = m_scene.SpawnTarget(x, y, 15, team, 100);
        m_scene.Target(handle)->SetSquare(10.0f);
        return handle;
    }

    int CountInUse(const char* name)
    {
        const CEffectDef* definition = m_scene.Cache().FindDefinition(name);
        int count = 0;
        for (int32_t i = 0; i < definition->GetEmitter()->GetPoolSize(); ++i)
            count += definition->GetEmitter()->GetPoolEffect(i)->IsInUse() ? 1 : 0;
        return count;
    }

    CEffectScene m_scene;
    int32_t m_owner = -1;
};
} // namespace

TEST_F(LaserTest, AStraightBeamStopsAtItsFirstHitAndDrawsForItsTimeOn)
{
    ASSERT_TRUE(m_scene.Load(Laser("lance", "maxBeamLength 400; onTimeSec 0.2; damage 12;"
                                             " collisionEffect spark; randomStartOffsetX 20, 20") +
                             Spark()));
    MakeOwner();
    const int32_t enemy = Square(1000, 1220); // 200 beyond the beam's start at (1000, 1020)
    m_scene.RunFrames(1);
    Renderer().ClearRecords();
    CStraightLaserEffect* lance = Fire("lance", 90.0f, true);
    EXPECT_TRUE(lance->IsAlive());
    m_scene.RunFrames(8);
    // 0.2 s: the frames at 0, 40, 80, 120 and 160 ms.
    ASSERT_EQ(Ribbons().size(), 5u);
    const SRecordedRibbon& beam = Ribbons()[0];
    EXPECT_EQ(beam.segments, 1);
    ASSERT_EQ(beam.points.size(), 4u);
    EXPECT_NEAR(beam.points[0], 1000.0f, 1e-3f);
    EXPECT_NEAR(beam.points[1], 1020.0f, 1e-3f);
    EXPECT_NEAR(beam.points[2], 1000.0f, 1e-3f);
    EXPECT_NEAR(beam.points[3], 1220.0f, 1e-3f);
    EXPECT_FLOAT_EQ(beam.width, 6.0f);
    EXPECT_FLOAT_EQ(beam.startColour[0], 1.0f);
    EXPECT_FLOAT_EQ(beam.startColour[1], 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(beam.endColour[2], 1.0f);
    EXPECT_FLOAT_EQ(beam.endAlpha, 0.2f);
    EXPECT_TRUE(beam.additive);
    EXPECT_FALSE(beam.blend);
    EXPECT_FALSE(beam.quads);
    EXPECT_GE(beam.texture, 0);
    EXPECT_EQ(beam.texture,
              static_cast<CStraightLaserEmitter*>(m_scene.Cache().FindDefinition("lance")->GetEmitter())->GetTexture());
    // Hit once (tested on the first frame only), by the owner's type, kind 1.
    CTargetObject* target = m_scene.Target(enemy);
    ASSERT_EQ(target->m_hits.size(), 1u);
    EXPECT_EQ(target->m_hits[0].sourceType, OBJECT_PLAYER_SHIP);
    EXPECT_EQ(target->m_hits[0].source, m_owner);
    EXPECT_EQ(target->m_hits[0].kind, 1);
    EXPECT_EQ(target->m_hits[0].amount, 12);
    ASSERT_EQ(CountInUse("spark"), 1);
    const CEffect* spark = m_scene.Cache().FindDefinition("spark")->GetEmitter()->GetPoolEffect(0);
    EXPECT_NEAR(spark->GetPosition().y, 1220.0f, 1e-3f) << "where the beam ends";
    EXPECT_FLOAT_EQ(spark->GetHeading(), 90.0f);
    EXPECT_FALSE(lance->IsInUse()) << "a recyclable laser gives itself back when its time is over";
}

TEST_F(LaserTest, AStraightBeamSparesItsOwnSideAndTestsLateComersOnlyWhenAskedTo)
{
    ASSERT_TRUE(m_scene.Load(Laser("once", "maxBeamLength 400; onTimeSec 1; damage 3") +
                             Laser("always", "maxBeamLength 400; onTimeSec 1; damage 3; constCollision true")));
    MakeOwner();
    const int32_t friendly = Square(1150, 1000, GOOD_TEAM);
    m_scene.RunFrames(1);
    Fire("once", 0.0f);
    Fire("always", 0.0f);
    m_scene.RunFrames(1);
    EXPECT_TRUE(m_scene.Target(friendly)->m_hits.empty());
    ASSERT_GE(Ribbons().size(), 2u);
    EXPECT_NEAR(Ribbons()[0].points[2], 1400.0f, 1e-3f) << "through its own side at full length";
    // An enemy steps into both beams.
    const int32_t late = Square(1300, 1000);
    m_scene.RunFrames(3);
    // Only the beam that tests every frame finds it, on every frame: the world files
    // it before the effects run.
    EXPECT_EQ(m_scene.Target(late)->m_hits.size(), 3u);
    Renderer().ClearRecords();
    m_scene.RunFrames(1);
    ASSERT_EQ(Ribbons().size(), 2u);
    EXPECT_NEAR(Ribbons()[0].points[2], 1400.0f, 1e-3f) << "the length of its only test holds";
    EXPECT_NEAR(Ribbons()[1].points[2], 1300.0f, 1e-3f);
}

TEST_F(LaserTest, OfTwoEnemiesInLineOnlyOneIsHitAndTheBeamEndsThere)
{
    ASSERT_TRUE(m_scene.Load(Laser("lance", "maxBeamLength 400; onTimeSec 1; damage 5")));
    MakeOwner();
    const int32_t first = Square(1100, 1000);
    const int32_t second = Square(1250, 1000);
    m_scene.RunFrames(1);
    Fire("lance", 0.0f);
    m_scene.RunFrames(1);
    const size_t hitsFirst = m_scene.Target(first)->m_hits.size();
    const size_t hitsSecond = m_scene.Target(second)->m_hits.size();
    EXPECT_EQ(hitsFirst + hitsSecond, 1u);
    ASSERT_EQ(Ribbons().size(), 1u);
    EXPECT_NEAR(Ribbons()[0].points[2], hitsFirst ? 1100.0f : 1250.0f, 1e-3f);
}

TEST_F(LaserTest, ABeamWithoutItsOwnerDrawsNothing)
{
    ASSERT_TRUE(m_scene.Load(Laser("lance", "maxBeamLength 400; onTimeSec 1")));
    MakeOwner();
    m_scene.RunFrames(1);
    CStraightLaserEffect* lance = Fire("lance", 0.0f);
    m_scene.Game().GetWorld()->RemoveObject(m_owner);
    Renderer().ClearRecords();
    m_scene.RunFrames(3);
    EXPECT_TRUE(Ribbons().empty());
    EXPECT_TRUE(lance->IsInUse()) << "it runs out its time";
    m_scene.RunFrames(25);
    EXPECT_TRUE(lance->IsFinished());
}

TEST_F(LaserTest, LightningBoltsGrowWithinShrinkingBudgetsAndFade)
{
    ASSERT_TRUE(m_scene.Load(Laser("bolt", "maxBeamLength 2000; onTimeSec 10; lightning true; numBeams 3;"
                                            " maxSegments 25; beamLength 2000")));
    MakeOwner();
    m_scene.RunFrames(1);
    CStraightLaserEffect* bolt = Fire("bolt", 0.0f);
    EXPECT_TRUE(bolt->GetTargets().empty()) << "nothing of another side within reach";
    EXPECT_EQ(bolt->GetActiveBeams(), 3);
    m_scene.RunFrames(40);
    // Budgets trunc(25 x 0.85) = 21, then 17 and 14 points.
    EXPECT_EQ(bolt->GetBeam(0).points, 21);
    EXPECT_EQ(bolt->GetBeam(1).points, 17);
    EXPECT_EQ(bolt->GetBeam(2).points, 14);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(bolt->GetBeam(i).done) << i;
    // Done bolts fade by 0.9 a frame.
    const float fade = bolt->GetBeam(0).fade;
    EXPECT_LT(fade, 1.0f);
    Renderer().ClearRecords();
    m_scene.RunFrames(1);
    EXPECT_FLOAT_EQ(bolt->GetBeam(0).fade, fade * 0.9f);
    ASSERT_EQ(Ribbons().size(), 3u);
    EXPECT_TRUE(Ribbons()[0].quads) << "lightning draws in quads";
    EXPECT_EQ(Ribbons()[0].segments, 20);
    EXPECT_FLOAT_EQ(Ribbons()[0].startColour[0], bolt->GetBeam(0).fade);
    EXPECT_FLOAT_EQ(Ribbons()[0].startAlpha, 1.0f);
    // Every bolt leaves along one first segment of 20.
    EXPECT_FLOAT_EQ(Ribbons()[1].points[2], 1020.0f);
    EXPECT_FLOAT_EQ(Ribbons()[2].points[2], 1020.0f);
}

TEST_F(LaserTest, ALightningBoltThatStrikesEndsThereWhileTheOthersGoOn)
{
    ASSERT_TRUE(m_scene.Load(Laser("bolt", "maxBeamLength 600; onTimeSec 10; lightning true; numBeams 3;"
                                            " maxSegments 60; beamLength 600; damage 4")));
    MakeOwner();
    const int32_t enemy = m_scene.SpawnTarget(1200, 1000, 30, BAD_TEAM, 1000);
    const int32_t faraway = m_scene.SpawnTarget(3000, 3000, 30, BAD_TEAM, 1000);
    m_scene.RunFrames(1);
    CStraightLaserEffect* bolt = Fire("bolt", 0.0f);
    EXPECT_EQ(bolt->GetTargets(), std::vector<int32_t>{enemy}) << "only what lies within reach";
    m_scene.RunFrames(30);
    EXPECT_TRUE(m_scene.Target(faraway)->m_hits.empty());
    const std::vector<SRecordedHit>& hits = m_scene.Target(enemy)->m_hits;
    ASSERT_FALSE(hits.empty());
    EXPECT_LE(hits.size(), 3u) << "a bolt strikes once and ends";
    EXPECT_EQ(hits[0].amount, 4);
    EXPECT_EQ(hits[0].kind, 1);
}

TEST_F(LaserTest, HomingBeamsStepEvery10MillisecondsTowardsTheNearestEnemy)
{
    ASSERT_TRUE(m_scene.Load(Laser("seeker", "maxBeamLength 800; onTimeSec 10; homing true; numBeams 4")));
    MakeOwner();
    const int32_t nearEnemy = m_scene.SpawnTarget(1300, 1000, 10, BAD_TEAM, 100);
    m_scene.SpawnTarget(1500, 1000, 10, BAD_TEAM, 100);
    m_scene.SpawnTarget(1100, 1000, 10, ASTEROID_TEAM, 100, OBJECT_ASTEROID);
    m_scene.RunFrames(1);
    CStraightLaserEffect* seeker = Fire("seeker", 0.0f);
    // 200 / 25 = 8 units a step at 800 a second: 10 ms.
    EXPECT_EQ(seeker->GetStepPeriod(), 10u);
    EXPECT_EQ(seeker->GetHeldTarget(), nearEnemy) << "asteroids are no target";
    EXPECT_EQ(seeker->GetActiveBeams(), 4);
    m_scene.RunFrames(1); // the start's own time: no step yet
    EXPECT_EQ(seeker->GetBeam(0).points, 2);
    m_scene.RunFrames(1); // 40 ms: four steps
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(seeker->GetBeam(i).points, 6) << i;
}

TEST_F(LaserTest, AnEnemysHomingBeamSeeksThePlayerWhereverItIs)
{
    ASSERT_TRUE(m_scene.Load(Laser("seeker", "maxBeamLength 100; onTimeSec 10; homing true; numBeams 1")));
    const int32_t player = m_scene.SpawnTarget(3500, 3500, 10, GOOD_TEAM, 100, OBJECT_PLAYER_SHIP);
    m_scene.Game().SetPlayerShipHandle(player);
    MakeOwner(BAD_TEAM);
    m_scene.RunFrames(1);
    CStraightLaserEffect* seeker = Fire("seeker", 0.0f);
    EXPECT_EQ(seeker->GetHeldTarget(), player);
}

TEST_F(LaserTest, BounceBeamsLiveHalfASecondThenFade)
{
    ASSERT_TRUE(m_scene.Load(Laser("ricochet", "maxBeamLength 100; onTimeSec 1; bounce true; numBeams 3;"
                                                " speed 250; beamLength 60; randomStartOri -30, 30")));
    MakeOwner();
    m_scene.RunFrames(1);
    CStraightLaserEffect* ricochet = Fire("ricochet", 0.0f);
    ASSERT_EQ(ricochet->GetActiveBeams(), 3);
    // Headings -30, 0 and 30, a first step of 250 / 25 = 10.
    const float headings[] = {-30.0f, 0.0f, 30.0f};
    for (int i = 0; i < 3; ++i)
    {
        CVector2D expected;
        expected.SetFromAngle(headings[i]);
        EXPECT_NEAR(ricochet->GetBeam(i).direction.x, expected.x, 1e-5f) << i;
        EXPECT_NEAR(ricochet->GetBeam(i).direction.y, expected.y, 1e-5f) << i;
    }
    // Frames at 0 .. 480 ms move the heads 10 a frame; the beams never get longer than 60.
    m_scene.RunFrames(13);
    EXPECT_FLOAT_EQ(ricochet->GetBeam(1).fade, 1.0f);
    Renderer().ClearRecords();
    m_scene.RunFrames(1); // 520 ms: fading
    EXPECT_FLOAT_EQ(ricochet->GetBeam(1).fade, 0.8f);
    ASSERT_EQ(Ribbons().size(), 3u);
    const std::vector<float>& points = Ribbons()[1].points;
    const float length = std::hypot(points[points.size() - 2] - points[0], points.back() - points[1]);
    EXPECT_NEAR(length, 60.0f, 1.0f);
    EXPECT_FLOAT_EQ(Ribbons()[1].startColour[0], 0.8f);
    // 0.8^n falls below 0.01 at n = 21: the beams end and the laser is done.
    m_scene.RunFrames(19);
    EXPECT_EQ(ricochet->GetActiveBeams(), 3);
    m_scene.RunFrames(1);
    EXPECT_EQ(ricochet->GetActiveBeams(), 0);
    m_scene.RunFrames(1);
    EXPECT_TRUE(ricochet->IsFinished());
}

TEST_F(LaserTest, WhenEveryChainIsTakenALaserGetsNoBeams)
{
    ASSERT_TRUE(m_scene.Load(Laser("swarm", "maxBeamLength 100; onTimeSec 10; homing true; numBeams 40", 8)));
    MakeOwner();
    m_scene.RunFrames(1);
    const int beams[] = {40, 40, 40, 40, 40, 40, 10, 0};
    for (int expected : beams)
    {
        CStraightLaserEffect* laser = Fire("swarm", 0.0f);
        EXPECT_EQ(laser->GetActiveBeams(), expected);
        EXPECT_EQ(laser->IsFinished(), expected == 0) << "no beams: the start ends there";
    }
    const auto& emitter = static_cast<CStraightLaserEmitter&>(*m_scene.Cache().FindDefinition("swarm")->GetEmitter());
    EXPECT_EQ(emitter.CountFreeChains(), 0);
    // Released lasers give their chains back.
    m_scene.Cache().Reset();
    EXPECT_EQ(emitter.CountFreeChains(), CStraightLaserEmitter::CHAINS);
}

TEST_F(LaserTest, APooledLaserKeepsItsLaunchEffectUntilTheCacheIsReset)
{
    ASSERT_TRUE(m_scene.Load(Laser("lance", "maxBeamLength 100; onTimeSec 0.1; launchEffect glow", 1) +
                             DefinitionText("EFFECT { name glow; maxParticles 4; maxEmitters 4;"
                                            " particle { appearance { type DUMMY } } controller { type STATIC }"
                                            " emitter { type SIMPLE_PARTICLE; randomNumCreated 1, 1;"
                                            " randomLife 0.1, 0.1 } }")));
    MakeOwner();
    m_scene.RunFrames(1);
    CStraightLaserEffect* lance = Fire("lance", 45.0f);
    CEffect* glow = lance->GetLaunchEffect();
    ASSERT_NE(glow, nullptr);
    EXPECT_TRUE(glow->IsRunning());
    EXPECT_FLOAT_EQ(glow->GetHeading(), 45.0f);
    m_scene.RunFrames(5);
    lance->Release();
    CStraightLaserEffect* again = Fire("lance", 0.0f);
    ASSERT_EQ(again, lance);
    EXPECT_EQ(again->GetLaunchEffect(), glow) << "the same launch effect, started again";
    EXPECT_TRUE(glow->IsRunning());
    m_scene.Cache().Reset();
    EXPECT_EQ(lance->GetLaunchEffect(), nullptr);
    EXPECT_FALSE(glow->IsInUse());
}
