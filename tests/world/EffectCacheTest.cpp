// The effect cache: definitions by name, pools and taking back, the live table,
// event triggers (chance, delay), timed pushes, and when the cache stands still.

#include "core/Random.h"
#include "tests/support/world/EffectScene.h"
#include "world/EffectCache.h"
#include "world/EffectDef.h"
#include "world/Emitter.h"
#include "world/EmitterEvent.h"
#include "world/SimpleParticleEmitter.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
// A definition that emits without end, so an instance stays in use until released.
std::string Endless(const std::string& name, int maxEmitters, const std::string& events = "")
{
    return DefinitionText("EFFECT { name " + name + "; maxParticles 8; maxEmitters " + std::to_string(maxEmitters) +
                          "; particle { appearance { type DUMMY } } controller { type STATIC }"
                          " emitter { type SIMPLE_PARTICLE; randomNumCreated -1, -1; randomLife 10, 10;"
                          " randomEmissionRate 10, 10; " +
                          events + "} }");
}

// A definition whose one particle lives the given seconds.
std::string Single(const std::string& name, const std::string& life, const std::string& events = "")
{
    return DefinitionText("EFFECT { name " + name + "; maxParticles 4; maxEmitters 4;"
                          " particle { appearance { type DUMMY } } controller { type STATIC }"
                          " emitter { type SIMPLE_PARTICLE; randomNumCreated 1, 1; randomLife " +
                          life + ", " + life + "; " + events + "} }");
}

CEffect* FindInUse(const CEffectCache& cache, const char* name)
{
    const CEffectDef* definition = cache.FindDefinition(name);
    for (int32_t i = 0; definition && i < definition->GetEmitter()->GetPoolSize(); ++i)
        if (definition->GetEmitter()->GetPoolEffect(i)->IsInUse())
            return definition->GetEmitter()->GetPoolEffect(i);
    return nullptr;
}
} // namespace

TEST(EffectCache, NamesAreFoundInAnyCaseAndTheFirstDefinitionWins)
{
    CEffectScene scene;
    std::vector<std::string> problems =
        scene.LoadWithProblems(Endless("Spark", 2) + Endless("SPARK", 5) + DefinitionText("EFFECT_CACHE { numEffects 0 }"));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("a second effect named SPARK"), std::string::npos) << problems[0];
    ASSERT_EQ(scene.Cache().GetDefinitionCount(), 1) << "an effect list among the blocks is no effect";
    const CEffectDef* spark = scene.Cache().FindDefinition("spark");
    ASSERT_NE(spark, nullptr);
    EXPECT_STREQ(spark->GetName(), "SPARK");
    EXPECT_EQ(spark->GetEmitter()->GetPoolSize(), 2);
    EXPECT_NE(scene.Cache().SpawnEffect("sPaRk", nullptr, true), nullptr);
    EXPECT_EQ(scene.Cache().SpawnEffect("sparkle", nullptr, true), nullptr);
    EXPECT_EQ(scene.Cache().SpawnEffect("", nullptr, true), nullptr);
}

TEST(EffectCache, DefinitionsTheCacheCannotHoldAreLeftOutWithTheirReason)
{
    CEffectScene scene;
    const std::string text = DefinitionText(
        "EFFECT_A { name badEmitter; maxEmitters 1; emitter { type FOUNTAIN } }"
        "EFFECT_B { name huge; maxParticles 5000; maxEmitters 1; emitter { type SIMPLE_PARTICLE } }"
        "EFFECT_C { name many; maxParticles 1; maxEmitters 301; emitter { type SIMPLE_PARTICLE } }"
        "EFFECT_D { name negative; maxParticles -1; maxEmitters 1; emitter { type SIMPLE_PARTICLE } }"
        "EFFECT_E { name fine; maxParticles 4096; maxEmitters 300; emitter { type SIMPLE_PARTICLE_FOUNTAIN } }");
    std::vector<std::string> problems = scene.LoadWithProblems(text);
    ASSERT_EQ(problems.size(), 4u);
    EXPECT_NE(problems[0].find("emitter type \"FOUNTAIN\" is not supported"), std::string::npos) << problems[0];
    EXPECT_NE(problems[1].find("maxParticles 5000 is outside 0..4096"), std::string::npos) << problems[1];
    EXPECT_NE(problems[2].find("maxEmitters 301 is outside 0..300"), std::string::npos) << problems[2];
    EXPECT_NE(problems[3].find("maxParticles -1"), std::string::npos) << problems[3];
    // Type words match on their own length, so a longer word that begins with one counts.
    ASSERT_EQ(scene.Cache().GetDefinitionCount(), 1);
    EXPECT_NE(scene.Cache().FindDefinition("fine"), nullptr);
}

TEST(EffectCache, AFullPoolTakesBackTheRecyclableEffectTakenFirst)
{
    CEffectScene scene;
    ASSERT_TRUE(scene.Load(Endless("loop", 2)));
    CEffectCache& cache = scene.Cache();
    CEffect* first = cache.SpawnEffect("loop", nullptr, true);
    ASSERT_NE(first, nullptr);
    first->Start();
    scene.RunFrames(1);
    CEffect* second = cache.SpawnEffect("loop", nullptr, true);
    ASSERT_NE(second, nullptr);
    second->Start();
    EXPECT_LT(first->GetUseStamp(), second->GetUseStamp());
    scene.RunFrames(1);

    CEffect* third = cache.SpawnEffect("loop", nullptr, true);
    EXPECT_EQ(third, first) << "the one taken first comes back";
    EXPECT_FALSE(third->IsRunning()) << "taken back and reset";
    EXPECT_EQ(third->GetLiveParticleCount(), 0);
    EXPECT_EQ(cache.CountLiveEffects(), 2);

    // Neither recyclable: nothing to give.
    third->SetRecyclable(false);
    second->SetRecyclable(false);
    EXPECT_EQ(cache.SpawnEffect("loop", nullptr, true), nullptr);
    second->Release();
    EXPECT_EQ(cache.SpawnEffect("loop", nullptr, false), second);
}

TEST(EffectCache, ATrackedSpawnWithEveryLiveSlotTakenGivesNullAndLosesNoInstance)
{
    CEffectScene scene;
    ASSERT_TRUE(scene.Load(Endless("filler", 300) + Endless("late", 1)));
    CEffectCache& cache = scene.Cache();
    for (int i = 0; i < CEffectCache::LIVE_SLOTS; ++i)
        ASSERT_NE(cache.SpawnEffect("filler", nullptr, false), nullptr) << i;
    EXPECT_EQ(cache.CountLiveEffects(), 300);
    EXPECT_EQ(cache.SpawnEffect("late", nullptr, true), nullptr);
    EXPECT_EQ(CountEffectsInUse(cache, "late"), 0) << "the instance went back to its pool";
    // Untracked and trail spawns need no slot.
    CEffect* untracked = cache.SpawnEffect("late", nullptr, false, false, true);
    ASSERT_NE(untracked, nullptr);
    EXPECT_FALSE(untracked->IsRecyclable());
    untracked->Release();
    CEffect* trail = cache.SpawnEffect("late", nullptr, false, true);
    ASSERT_NE(trail, nullptr);
    EXPECT_TRUE(trail->IsRecyclable());
}

TEST(EffectCache, RecyclableEffectsGiveThemselvesBackWhenDone)
{
    CEffectScene scene;
    ASSERT_TRUE(scene.Load(Single("blip", "0.1") + Single("kept", "0.1")));
    CEffectCache& cache = scene.Cache();
    CEffect* blip = cache.SpawnEffect("blip", nullptr, true);
    CEffect* kept = cache.SpawnEffect("kept", nullptr, false);
    ASSERT_NE(blip, nullptr);
    ASSERT_NE(kept, nullptr);
    blip->Start();
    kept->Start();
    EXPECT_EQ(blip->GetLiveParticleCount(), 1);
    // 100 ms of life: 40 go at its creation, 40 in the next frame; 20 are left, too
    // few for the frame after.
    scene.RunFrames(1);
    EXPECT_TRUE(blip->IsInUse());
    scene.RunFrames(1);
    EXPECT_FALSE(blip->IsInUse());
    EXPECT_TRUE(kept->IsInUse()) << "a kept effect waits for its caller";
    EXPECT_FALSE(kept->IsRunning());
    EXPECT_EQ(cache.CountLiveEffects(), 1);
}

TEST(EffectCache, TheChanceOfATriggerIsOneInTruncOfOneMinusItTimesAHundred)
{
    EXPECT_FALSE(CEmitterEvent::RollChance(0.0f));
    EXPECT_FALSE(CEmitterEvent::RollChance(-1.0f));
    struct SCase
    {
        float chance;
        int low, high; // runs of 5000 draws
    };
    // 0.5: one in 50 (about 100); 0.75: one in 25 (about 200); 0.875: one in 12 (about
    // 417); 0.995 leaves no whole draw (one in 0) and runs always, as 1 does.
    const SCase cases[] = {{0.5f, 60, 140}, {0.75f, 150, 250}, {0.875f, 350, 490},
                           {1.0f, 5000, 5000}, {0.995f, 5000, 5000}};
    for (const SCase& c : cases)
    {
        GetGameRandom().Seed(7);
        int runs = 0;
        for (int i = 0; i < 5000; ++i)
            runs += CEmitterEvent::RollChance(c.chance) ? 1 : 0;
        EXPECT_GE(runs, c.low) << c.chance;
        EXPECT_LE(runs, c.high) << c.chance;
    }
}

TEST(EffectCache, DelayedTriggersRunAtTheirTimeWithTheirPlaceAndTenAtMost)
{
    CEffectScene scene;
    const std::string later = "event { type EMITTER_START; delay 0.2; chanceOfTriggering 1; triggerEffect0 puff }";
    ASSERT_TRUE(scene.Load(Endless("starter", 12, later) + Endless("puff", 20)));
    CEffectCache& cache = scene.Cache();
    scene.RunFrames(2);
    CEffect* starter = cache.SpawnEffect("starter", nullptr, false);
    ASSERT_NE(starter, nullptr);
    starter->SetPosition(CVector2D(300, 200));
    starter->Start();
    const CEmitterEvent& event = *starter->GetEmitter().GetEvents()[0];
    EXPECT_EQ(event.CountQueued(), 1);
    // The starter moves on and is given back before its event is due; the puff still
    // comes where the start happened.
    starter->SetPosition(CVector2D(900, 900));
    starter->Release();
    scene.RunFrames(5); // 0 .. 160 ms after the start
    EXPECT_EQ(CountEffectsInUse(cache, "puff"), 0);
    scene.RunFrames(1); // 200 ms
    ASSERT_EQ(CountEffectsInUse(cache, "puff"), 1);
    EXPECT_FLOAT_EQ(FindInUse(cache, "puff")->GetPosition().x, 300.0f);
    EXPECT_FLOAT_EQ(FindInUse(cache, "puff")->GetPosition().y, 200.0f);
    EXPECT_EQ(event.CountQueued(), 0);

    // Eleven starts in one frame: the queue holds ten and drops the eleventh.
    for (int i = 0; i < 11; ++i)
    {
        CEffect* effect = cache.SpawnEffect("starter", nullptr, false);
        ASSERT_NE(effect, nullptr);
        effect->Start();
    }
    EXPECT_EQ(event.CountQueued(), CEmitterEvent::DELAY_SLOTS);
    scene.RunFrames(6);
    EXPECT_EQ(CountEffectsInUse(cache, "puff"), 11);

    // A reset drops what is queued.
    cache.SpawnEffect("starter", nullptr, false)->Start();
    EXPECT_EQ(event.CountQueued(), 1);
    cache.Reset();
    EXPECT_EQ(event.CountQueued(), 0);
    EXPECT_EQ(cache.CountLiveEffects(), 0);
    EXPECT_EQ(CountEffectsInUse(cache, "puff"), 0);
    EXPECT_EQ(cache.GetDefinitionCount(), 2) << "definitions stay";
}

TEST(EffectCache, ATimedPushGrowsToItsRadiusAndHurtsAndPushesWhatItReaches)
{
    CEffectScene scene;
    const std::string push = "event { type EMITTER_START; chanceOfTriggering 1; randomInflictDamage 7, 7;"
                             " inflictDamageRadius 100; timeToMaxRadius 2 }";
    ASSERT_TRUE(scene.Load(Single("blast", "5", push)));
    const int32_t near = scene.SpawnTarget(1040, 1000, 1, BAD_TEAM, 1000);
    const int32_t far = scene.SpawnTarget(1060, 1000, 1, BAD_TEAM, 1000);
    const int32_t ship = scene.SpawnTarget(500, 500, 10, GOOD_TEAM, 100, OBJECT_PLAYER_SHIP);
    scene.RunFrames(3);
    CEffect* blast = scene.Cache().SpawnEffect("blast", scene.Harness().Find(ship), false);
    ASSERT_NE(blast, nullptr);
    blast->SetPosition(CVector2D(1000, 1000));
    blast->Start();
    const STimedPush& taken = scene.Cache().GetTimedPushes()[0];
    ASSERT_TRUE(taken.IsActive());
    EXPECT_EQ(taken.end - taken.start, 2000u);
    EXPECT_EQ(taken.damage, 7);
    EXPECT_EQ(taken.radius, 100);
    EXPECT_EQ(taken.sourceType, OBJECT_PLAYER_SHIP);

    // Frames at 0, 40, ..., 1000 ms: the radius is t / 20, so 50 at the last.
    scene.RunFrames(26);
    CTargetObject* nearTarget = scene.Target(near);
    CTargetObject* farTarget = scene.Target(far);
    EXPECT_TRUE(farTarget->m_hits.empty()) << "60 away is beyond 50";
    // Reached once the radius passed 39 (the target's rim): at 800 ms and every frame after.
    ASSERT_EQ(nearTarget->m_hits.size(), 6u);
    EXPECT_EQ(nearTarget->m_hits[0].sourceType, OBJECT_PLAYER_SHIP);
    EXPECT_EQ(nearTarget->m_hits[0].source, -1);
    EXPECT_EQ(nearTarget->m_hits[0].kind, 2);
    EXPECT_EQ(nearTarget->m_hits[0].amount, 7);
    EXPECT_GT(nearTarget->GetBody().velocity.x, 0.0f) << "pushed away from the centre";
    EXPECT_FLOAT_EQ(nearTarget->GetBody().velocity.y, 0.0f);

    // After its end the slot is free again.
    scene.RunFrames(26);
    EXPECT_FALSE(scene.Cache().GetTimedPushes()[0].IsActive());
}

TEST(EffectCache, AFullPushTableTakesTheOldestPush)
{
    CEffectScene scene;
    CEffectCache& cache = scene.Cache();
    for (int i = 0; i < CEffectCache::TIMED_PUSHES; ++i)
    {
        STimedPush& push = cache.TakeTimedPush();
        push.start = 100u + static_cast<uint32_t>(i == 7 ? 0 : 10 + i);
        push.end = push.start + 5000;
        push.sourceType = 5;
    }
    STimedPush& oldest = cache.TakeTimedPush();
    EXPECT_EQ(&oldest, &cache.GetTimedPushes()[7]);
    EXPECT_EQ(oldest.sourceType, 0);
}

TEST(EffectCache, TheCacheStandsStillUnderATextPageAndTheInGameMenu)
{
    CEffectScene scene;
    ASSERT_TRUE(scene.Load(Single("blip", "1")));
    CEffect* blip = scene.Cache().SpawnEffect("blip", nullptr, false);
    ASSERT_NE(blip, nullptr);
    blip->Start();
    const SParticle* particle = blip->GetFirstParticle();
    ASSERT_NE(particle, nullptr);
    scene.RunFrames(1);
    const uint16_t remaining = particle->remaining;
    scene.Harness().SetTextPageShowing(true);
    scene.RunFrames(3);
    EXPECT_EQ(particle->remaining, remaining);
    scene.Harness().SetTextPageShowing(false);
    scene.Harness().SetMode(GAME_MODE_IN_GAME_MENU);
    scene.RunFrames(3);
    EXPECT_EQ(particle->remaining, remaining);
    scene.Harness().SetMode(GAME_MODE_FLIGHT);
    scene.RunFrames(1);
    EXPECT_EQ(particle->remaining, remaining - 40);
}

TEST(EffectCache, NumbersThatAreNoNumbersKeepTheirDefaults)
{
    CEffectScene scene;
    std::vector<std::string> problems = scene.LoadWithProblems(DefinitionText(
        "EFFECT { name odd; maxParticles 4; maxEmitters 1; particle { appearance { type DUMMY } }"
        " controller { type OMNI_DIRECTION; inertia 1.0e300 }"
        " emitter { type SIMPLE_PARTICLE; randomStartVel 2000000, 5; placementRadius 1.0e300; randomNumCreated 2, 2;"
        " randomLife 1, 1; event { type EMITTER_START; chanceOfTriggering 1; inflictDamageRadius -1.0e300;"
        " randomInflictDamage 3, 1.0e40 } } }"));
    ASSERT_EQ(problems.size(), 5u);
    for (const std::string& line : problems)
        EXPECT_NE(line.find("within +-1e6"), std::string::npos) << line;
    const CEffectDef* odd = scene.Cache().FindDefinition("odd");
    ASSERT_NE(odd, nullptr);
    const auto& emitter = static_cast<const CSimpleParticleEmitter&>(*odd->GetEmitter());
    EXPECT_FLOAT_EQ(emitter.GetSpeedRange().x, 0.0f);
    EXPECT_FLOAT_EQ(emitter.GetPlacementRadius(), 0.0f);
    EXPECT_FALSE(emitter.GetEvents()[0]->HasDamageRange());
    EXPECT_FLOAT_EQ(emitter.GetEvents()[0]->GetDamageRadius(), 0.0f);
    CEffect* effect = scene.Cache().SpawnEffect("odd", nullptr, false);
    effect->Start();
    scene.RunFrames(2);
    EXPECT_EQ(effect->GetLiveParticleCount(), 2);
    EXPECT_FALSE(scene.Cache().GetTimedPushes()[0].IsActive());
}
