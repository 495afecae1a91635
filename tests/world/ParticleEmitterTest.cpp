// SIMPLE_PARTICLE effects: emission counts and ranges, appearance over a particle's
// life, controllers, trails, hits, and effects that follow or lose their owner.

#include "presentation/SpriteBank.h"
#include "tests/support/world/EffectScene.h"
#include "world/EffectCache.h"
#include "world/EffectDef.h"
#include "world/Emitter.h"
#include "world/ParticleAppearance.h"
#include "world/ParticleController.h"
#include "world/SimpleParticleEmitter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

namespace
{
// A SIMPLE_PARTICLE definition: its appearance, controller and emitter keys as compact text.
std::string Effect(const std::string& name, const std::string& appearance, const std::string& controller,
                   const std::string& emitter, int maxParticles = 32, int maxEmitters = 4)
{
    return DefinitionText("EFFECT { name " + name + "; maxParticles " + std::to_string(maxParticles) +
                          "; maxEmitters " + std::to_string(maxEmitters) + "; particle { appearance { " +
                          appearance + " } } controller { " + controller +
                          " } emitter { type SIMPLE_PARTICLE; " + emitter + " } }");
}

const char* const SPRITE = "type SPRITE; sprite { spriteFile fx.spr }";
const char* const STILL = "type STATIC";

std::vector<SParticle*> Particles(const CEffect& effect)
{
    std::vector<SParticle*> list;
    for (SParticle* particle = effect.GetFirstParticle(); particle; particle = particle->next)
        list.push_back(particle);
    return list;
}

CEffect* StartAt(CEffectScene& scene, const char* name, const CVector2D& place, CGameObject* owner = nullptr,
                 bool recyclable = false)
{
    CEffect* effect = scene.Cache().SpawnEffect(name, owner, recyclable);
    EXPECT_NE(effect, nullptr) << name;
    if (!effect)
        return nullptr;
    effect->SetPosition(place);
    effect->Start();
    return effect;
}
} // namespace

TEST(ParticleEmitter, ACountOfFiveMakesFiveAndANegativeOneEmitsUntilStopped)
{
    CEffectScene scene;
    ASSERT_TRUE(scene.Load(Effect("five", "type DUMMY", STILL,
                                  "randomNumCreated 5, 5; randomLife 10, 10; randomEmissionRate 0, 0") +
                           Effect("stream", "type DUMMY", STILL,
                                  "randomNumCreated -1, -1; randomLife 10, 10; randomEmissionRate 0.04, 0.04;"
                                  " randomEmissionQty 2, 2",
                                  64)));
    CEffect* five = StartAt(scene, "five", CVector2D(100, 100));
    EXPECT_EQ(five->GetLiveParticleCount(), 5);
    EXPECT_EQ(five->GetParticlesToCreate(), 0);
    scene.RunFrames(10);
    EXPECT_EQ(five->GetLiveParticleCount(), 5);

    CEffect* stream = StartAt(scene, "stream", CVector2D(100, 100));
    EXPECT_EQ(stream->GetParticlesToCreate(), -1);
    EXPECT_EQ(stream->GetLiveParticleCount(), 2);
    // The next emission is due 40 ms after the start: the first frame comes at the
    // start's own time, and each frame after brings one.
    scene.RunFrames(5);
    EXPECT_EQ(stream->GetLiveParticleCount(), 10);
    stream->StopEmitting();
    scene.RunFrames(5);
    EXPECT_EQ(stream->GetLiveParticleCount(), 10) << "the live ones play out, no new ones";
    stream->ResumeEmitting();
    scene.RunFrames(1);
    EXPECT_EQ(stream->GetLiveParticleCount(), 12);
    // An endless count with no time between emissions makes what the pool holds, once.
    ASSERT_TRUE(scene.Load(Effect("flood", "type DUMMY", STILL,
                                  "randomNumCreated -1, -1; randomLife 10, 10; randomEmissionRate 0, 0", 16)));
    CEffect* flood = StartAt(scene, "flood", CVector2D(0, 0));
    EXPECT_EQ(flood->GetLiveParticleCount(), 16);
}

TEST(ParticleEmitter, ColourAlphaAndScaleFollowTheKeysOverTheLife)
{
    CEffectScene scene;
    ASSERT_TRUE(scene.Load(Effect("fade",
                                  std::string(SPRITE) +
                                      "; colorKeys { numKeys 2; key0 255, 255, 255, 0; key1 0, 0, 0, 1 }"
                                      " alphaKeys { numKeys 3; key0 0, 0; key1 255, 0.5; key2 55, 1 }"
                                      " scaleKeys { numKeys 2; key0 1, 2, 0; key1 3, 2, 1 }",
                                  STILL, "randomNumCreated 1, 1; randomLife 1, 1")));
    const CAppearance& appearance = *scene.Cache().FindDefinition("fade")->GetAppearance();
    // Keys read back: mid-life is mid-grey at full alpha, scale (2, 2).
    uint32_t colour = 0;
    ASSERT_TRUE(appearance.ComputeColour(0.5f, colour));
    EXPECT_EQ(colour, 0xFF808080u);
    float x = 0, y = 0;
    ASSERT_TRUE(appearance.ComputeScale(0.5f, x, y));
    EXPECT_FLOAT_EQ(x, 2.0f);
    EXPECT_FLOAT_EQ(y, 2.0f);
    EXPECT_FALSE(appearance.ComputeColour(1.0f, colour)) << "nothing changes once the life is over";

    // A live particle: 40 ms go at its creation and 40 each frame; after 11 frames
    // 520 of 1000 ms remain, f = 0.48: grey 255 x 0.52 = 132.6, alpha 255 x 0.96 = 244.8.
    CEffect* fade = StartAt(scene, "fade", CVector2D(200, 150));
    scene.RunFrames(11);
    SParticle* particle = fade->GetFirstParticle();
    ASSERT_NE(particle, nullptr);
    EXPECT_EQ(particle->remaining, 520);
    ASSERT_NE(particle->sprite, nullptr);
    EXPECT_EQ(particle->sprite->m_colour, 0xF5858585u);
    EXPECT_NEAR(particle->sprite->m_scaleX, 1.96f, 1e-4f);
    EXPECT_FLOAT_EQ(particle->sprite->m_scaleY, 2.0f);
    EXPECT_TRUE(particle->sprite->IsVisible());
    EXPECT_FLOAT_EQ(particle->sprite->m_x, 200.0f);
    EXPECT_EQ(particle->sprite->m_plane, 12);
}

TEST(ParticleEmitter, AnOrientatedSpriteShowsTheFrameOfItsHeading)
{
    CEffectScene scene;
    ASSERT_TRUE(scene.Load(Effect("arrow", "type ORIENTATED_SPRITE; sprite { spriteFile fx.spr }; endFrame 7",
                                  "type OMNI_DIRECTION",
                                  "randomNumCreated 1, 1; randomLife 5, 5; randomStartVel 10, 10")));
    const auto& orientated = static_cast<const COrientatedSpriteAppearance&>(
        *scene.Cache().FindDefinition("arrow")->GetAppearance());
    struct SCase
    {
        float heading;
        int32_t frame; // floor(((heading + 90) mod 360) / 45)
    };
    const SCase cases[] = {{0.0f, 2}, {44.0f, 2}, {45.0f, 3}, {90.0f, 4}, {269.0f, 7}, {270.0f, 0}, {300.0f, 0},
                           {359.0f, 1}};
    for (const SCase& c : cases)
        EXPECT_EQ(orientated.FrameForHeading(c.heading), c.frame) << c.heading;

    CEffect* arrow = StartAt(scene, "arrow", CVector2D(300, 300));
    ASSERT_NE(arrow->GetFirstParticle(), nullptr);
    EXPECT_EQ(arrow->GetFirstParticle()->sprite->m_frame, 2u) << "heading 0";
    arrow->Release();
    arrow = scene.Cache().SpawnEffect("arrow", nullptr, false);
    arrow->SetHeading(90.0f);
    arrow->Start();
    EXPECT_EQ(arrow->GetFirstParticle()->sprite->m_frame, 4u) << "turned with the effect to 90";
}

TEST(ParticleEmitter, AnAnimatedSpriteStepsItsFramesAtItsRate)
{
    CEffectScene scene;
    ASSERT_TRUE(scene.Load(Effect("flicker", std::string("type ANIM_SPRITE; sprite { spriteFile fx.spr }; ") +
                                                 "startFrame 1; endFrame 3; randomPlayRate 20, 20; loop true",
                                  STILL, "randomNumCreated 1, 1; randomLife 5, 5") +
                           Effect("once", std::string("type ANIM_SPRITE; sprite { spriteFile fx.spr }; ") +
                                              "startFrame 0; endFrame 1; randomPlayRate 25, 25",
                                  STILL, "randomNumCreated 1, 1; randomLife 5, 5")));
    // 20 frames a second: 50 ms a frame. Moves of 40 ms: after 40 (creation), 80, 120,
    // 160, 200 ms the frames are 1, 2, 3, 1(loop), 2.
    CEffect* flicker = StartAt(scene, "flicker", CVector2D(10, 10));
    SSpriteInstance* sprite = flicker->GetFirstParticle()->sprite;
    const uint32_t expected[] = {1, 2, 3, 1, 2};
    EXPECT_EQ(sprite->m_frame, expected[0]);
    for (int i = 1; i < 5; ++i)
    {
        scene.RunFrames(1);
        EXPECT_EQ(sprite->m_frame, expected[i]) << i;
    }
    // Without a loop it hides after its last frame (40 ms a frame: 0 then 1 then gone).
    CEffect* once = StartAt(scene, "once", CVector2D(10, 10));
    SSpriteInstance* shown = once->GetFirstParticle()->sprite;
    EXPECT_EQ(shown->m_frame, 1u);
    EXPECT_TRUE(shown->IsVisible());
    scene.RunFrames(1);
    EXPECT_FALSE(shown->IsVisible());
    EXPECT_EQ(once->GetLiveParticleCount(), 1) << "the particle lives on unseen";
}

TEST(ParticleEmitter, AScaledEmissionDrawsItsQuantityFromTheScaledBounds)
{
    CEffectScene scene;
    ASSERT_TRUE(scene.Load(Effect("burst", "type DUMMY", STILL,
                                  "randomNumCreated -1, -1; randomLife 5, 5; randomEmissionRate 10, 10;"
                                  " randomEmissionQty 1, 3")));
    CEffect* burst = scene.Cache().SpawnEffect("burst", nullptr, false);
    burst->SetEmissionScale(2.0f);
    std::set<int32_t> seen;
    for (int i = 0; i < 200; ++i)
    {
        burst->Start();
        seen.insert(burst->GetLiveParticleCount());
        burst->Stop();
    }
    // (1, 3) scaled by 2 is (2, 6): 2 to 5.
    EXPECT_EQ(seen, (std::set<int32_t>{2, 3, 4, 5}));
}

TEST(ParticleEmitter, AStartAreaIsTheEffectsOwnAroundTheMiddleOfTheRanges)
{
    CEffectScene scene;
    ASSERT_TRUE(scene.Load(Effect("area", "type DUMMY", STILL,
                                  "randomNumCreated 0, 0; randomStartOffsetX -4, 4; randomStartOffsetY 0, 20")));
    CEffect* own = scene.Cache().SpawnEffect("area", nullptr, false);
    CEffect* other = scene.Cache().SpawnEffect("area", nullptr, false);
    own->SetStartArea(10.0f);
    auto& particles = static_cast<CSimpleParticleEffect&>(*own);
    EXPECT_FLOAT_EQ(particles.GetOwnOffsetRangeX().x, -7.0f);
    EXPECT_FLOAT_EQ(particles.GetOwnOffsetRangeX().y, 7.0f);
    EXPECT_FLOAT_EQ(particles.GetOwnOffsetRangeY().x, 3.0f);
    EXPECT_FLOAT_EQ(particles.GetOwnOffsetRangeY().y, 17.0f);
    EXPECT_FLOAT_EQ(own->GetStartExtent(), 7.0f);
    EXPECT_FLOAT_EQ(other->GetStartExtent(), 10.0f) << "the definition's ranges: half of 20";
    // Speed and life ranges of its own, kept across a restart of the instance.
    own->SetStartSpeedRange(CVector2D(5, 6));
    own->SetLifeRange(CVector2D(1, 2));
    own->Release();
    CEffect* again = scene.Cache().SpawnEffect("area", nullptr, false);
    ASSERT_EQ(again, own);
    EXPECT_FLOAT_EQ(again->GetStartSpeedRange().y, 6.0f);
    EXPECT_FLOAT_EQ(again->GetLifeRange().x, 1.0f);
    EXPECT_FLOAT_EQ(other->GetLifeRange().y, 0.0f);
}

TEST(ParticleEmitter, TheSpreadSweepTurnsBackOnceItLeavesTheRange)
{
    CEffectScene scene;
    ASSERT_TRUE(scene.Load(Effect("fan", "type DUMMY", "type OMNI_DIRECTION",
                                  "randomNumCreated 10, 10; randomLife 5, 5; randomStartVel 100, 100;"
                                  " randomStartOri 0, 20; spreadAngle 10; useEmitterVelocity false")));
    CEffect* fan = StartAt(scene, "fan", CVector2D(500, 500));
    // The angle is taken, then moved by 10; it turns when it was found beyond an end.
    const float angles[] = {0, 10, 20, 30, 20, 10, 0, -10, 0, 10};
    std::vector<SParticle*> particles = Particles(*fan);
    ASSERT_EQ(particles.size(), 10u);
    for (size_t i = 0; i < particles.size(); ++i)
    {
        CVector2D expected;
        expected.SetFromAngle(angles[i]);
        EXPECT_NEAR(particles[i]->direction.x, expected.x, 1e-5f) << i;
        EXPECT_NEAR(particles[i]->direction.y, expected.y, 1e-5f) << i;
    }
}

TEST(ParticleEmitter, ParticlesStartTurnedByTheHeadingAndCarryTheEffectsVelocity)
{
    CEffectScene scene;
    ASSERT_TRUE(scene.Load(Effect("jet", "type DUMMY", "type OMNI_DIRECTION",
                                  "randomNumCreated 1, 1; randomLife 5, 5; randomStartVel 30, 30;"
                                  " randomStartOffsetX 10, 10")));
    CEffect* jet = scene.Cache().SpawnEffect("jet", nullptr, false);
    jet->SetPosition(CVector2D(100, 100));
    jet->SetHeading(90.0f);
    jet->SetVelocity(CVector2D(40, 0));
    jet->Start();
    SParticle* particle = jet->GetFirstParticle();
    ASSERT_NE(particle, nullptr);
    // Offset (10, 0) turned to (0, 10); velocity (0, 30) + (40, 0) = speed 50 along (0.8, 0.6);
    // the first move (40 ms) carries it 2 units on.
    EXPECT_NEAR(particle->speed, 50.0f, 1e-4f);
    EXPECT_NEAR(particle->direction.x, 0.8f, 1e-5f);
    EXPECT_NEAR(particle->direction.y, 0.6f, 1e-5f);
    EXPECT_NEAR(particle->position.x, 100.0f + 1.6f, 1e-4f);
    EXPECT_NEAR(particle->position.y, 110.0f + 1.2f, 1e-4f);
}

TEST(ParticleEmitter, OwnerRelativeParticlesFollowTheEffectAndTurnWithIt)
{
    CEffectScene scene;
    ASSERT_TRUE(scene.Load(Effect("halo", SPRITE, STILL,
                                  "randomNumCreated 1, 1; randomLife 5, 5; randomStartOffsetX 10, 10;"
                                  " ownerRelativePos true")));
    CEffect* halo = StartAt(scene, "halo", CVector2D(100, 100));
    SParticle* particle = halo->GetFirstParticle();
    ASSERT_NE(particle, nullptr);
    EXPECT_FLOAT_EQ(particle->sprite->m_x, 110.0f);
    halo->SetPosition(CVector2D(200, 50));
    halo->SetHeading(90.0f);
    scene.RunFrames(1);
    EXPECT_NEAR(particle->sprite->m_x, 200.0f, 1e-4f);
    EXPECT_NEAR(particle->sprite->m_y, 60.0f, 1e-4f);
}

TEST(ParticleEmitter, AttractedParticlesHeadForThePointAndDieOnArrival)
{
    CEffectScene scene;
    ASSERT_TRUE(scene.Load(Effect("pull", "type DUMMY",
                                  "type ATTRACTION; attractionPoint 0, 0; moveToAttractor true;"
                                  " killOnArrival true; circularPlacement true; fixedDistance 50",
                                  "randomNumCreated 4, 4; randomLife 5, 5; randomStartVel 250, 250;"
                                  " randomStartOri 0, 360; useEmitterVelocity false")));
    CEffect* pull = StartAt(scene, "pull", CVector2D(400, 400));
    for (SParticle* particle : Particles(*pull))
    {
        // Made on the ring of 50, then one move of 10 towards the middle.
        const CVector2D offset = particle->position - CVector2D(400, 400);
        EXPECT_NEAR(offset.Length(), 40.0f, 1e-3f);
    }
    scene.RunFrames(4); // 30, 20, 10 and 0 units from it
    EXPECT_EQ(pull->GetLiveParticleCount(), 4);
    scene.RunFrames(2); // within 2 units of it they die
    EXPECT_EQ(pull->GetLiveParticleCount(), 0);
}

TEST(ParticleEmitter, DummyParticlesShowNothingAndStillFireTheirEvents)
{
    CEffectScene scene;
    const int32_t sprites = scene.Harness().GetSpriteBank().GetLiveInstanceCount();
    ASSERT_TRUE(scene.Load(Effect("carrier", "type DUMMY", STILL,
                                  "randomNumCreated 1, 1; randomLife 0.1, 0.1;"
                                  " event { type EMITTER_PARTICLE_EXPIRE; chanceOfTriggering 1;"
                                  " triggerEffect0 flash }") +
                           Effect("flash", SPRITE, STILL, "randomNumCreated 1, 1; randomLife 1, 1", 4)));
    EXPECT_EQ(scene.Harness().GetSpriteBank().GetLiveInstanceCount(), sprites + 4) << "only flash has sprites";
    CEffect* carrier = StartAt(scene, "carrier", CVector2D(250, 120));
    ASSERT_NE(carrier->GetFirstParticle(), nullptr);
    EXPECT_EQ(carrier->GetFirstParticle()->sprite, nullptr);
    scene.RunFrames(2);
    const CEffectDef* flash = scene.Cache().FindDefinition("flash");
    CEffect* made = flash->GetEmitter()->GetPoolEffect(0);
    ASSERT_TRUE(made->IsInUse());
    EXPECT_FLOAT_EQ(made->GetPosition().x, 250.0f);
    EXPECT_FLOAT_EQ(made->GetPosition().y, 120.0f);
    ASSERT_NE(made->GetFirstParticle(), nullptr);
    EXPECT_TRUE(made->GetFirstParticle()->sprite->IsVisible());
}

TEST(ParticleEmitter, ATrailFollowsItsParticleAndGoesWhenTheParticleDoes)
{
    CEffectScene scene;
    ASSERT_TRUE(scene.Load(Effect("rocket", "type DUMMY", "type OMNI_DIRECTION",
                                  "randomNumCreated 1, 1; randomLife 0.4, 0.4; randomStartVel 100, 100;"
                                  " event { type EMITTER_CREATE_PARTICLE; chanceOfTriggering 1;"
                                  " triggerEffect0 smoke; trailEmitter true }") +
                           Effect("smoke", "type DUMMY", STILL,
                                  "randomNumCreated -1, -1; randomLife 0.2, 0.2; randomEmissionRate 0.04, 0.04",
                                  64)));
    CEffect* rocket = StartAt(scene, "rocket", CVector2D(100, 100));
    CEffect* smoke = rocket->GetFirstTrailChild();
    ASSERT_NE(smoke, nullptr);
    EXPECT_TRUE(smoke->IsTrailChild());
    EXPECT_FALSE(smoke->IsRunning()) << "its parent starts it";
    scene.RunFrames(3);
    SParticle* particle = rocket->GetFirstParticle();
    ASSERT_NE(particle, nullptr);
    EXPECT_TRUE(smoke->IsRunning());
    EXPECT_FLOAT_EQ(smoke->GetPosition().x, particle->position.x);
    EXPECT_FLOAT_EQ(smoke->GetHeading(), 0.0f);
    EXPECT_NEAR(smoke->GetVelocity().x, 100.0f, 1e-3f);
    EXPECT_GT(smoke->GetLiveParticleCount(), 0);
    // The rocket's particle lives 400 ms; its trail goes with it.
    scene.RunFrames(10);
    EXPECT_EQ(rocket->GetLiveParticleCount(), 0);
    EXPECT_FALSE(smoke->IsInUse());
    EXPECT_EQ(rocket->GetFirstTrailChild(), nullptr);
}

TEST(ParticleEmitter, ATrailThatWaitsForItsParticlesPlaysThemOutFirst)
{
    CEffectScene scene;
    ASSERT_TRUE(scene.Load(Effect("rocket", "type DUMMY", "type OMNI_DIRECTION",
                                  "randomNumCreated 1, 1; randomLife 0.2, 0.2; randomStartVel 100, 100;"
                                  " event { type EMITTER_CREATE_PARTICLE; chanceOfTriggering 1;"
                                  " triggerEffect0 smoke; trailEmitter true }") +
                           Effect("smoke", "type DUMMY", STILL,
                                  "randomNumCreated -1, -1; randomLife 0.3, 0.3; randomEmissionRate 0.04, 0.04;"
                                  " waitForNoParticles true",
                                  64)));
    CEffect* rocket = StartAt(scene, "rocket", CVector2D(100, 100));
    CEffect* smoke = rocket->GetFirstTrailChild();
    ASSERT_NE(smoke, nullptr);
    scene.RunFrames(5);
    ASSERT_EQ(rocket->GetLiveParticleCount(), 0) << "the rocket's particle is gone";
    EXPECT_TRUE(smoke->IsInUse());
    EXPECT_TRUE(smoke->IsTrailedParticleGone());
    const int32_t left = smoke->GetLiveParticleCount();
    EXPECT_GT(left, 0);
    scene.RunFrames(1);
    EXPECT_LE(smoke->GetLiveParticleCount(), left) << "no new particles";
    scene.RunFrames(10);
    EXPECT_FALSE(smoke->IsInUse());
}

TEST(ParticleEmitter, AHittingParticleDamagesOtherSidesAndDies)
{
    CEffectScene scene;
    ASSERT_TRUE(scene.Load(Effect("bolt", SPRITE, "type OMNI_DIRECTION",
                                  "randomNumCreated 1, 1; randomLife 2, 2; randomStartVel 500, 500;"
                                  " useEmitterVelocity false;"
                                  " event { type EMITTER_PARTICLE_COLLISION; chanceOfTriggering 1;"
                                  " randomInflictDamage 5, 5; particleRadius 4; die true }")));
    const int32_t shooter = scene.SpawnTarget(100, 300, 10, GOOD_TEAM, 100, OBJECT_PLAYER_SHIP);
    const int32_t friendAhead = scene.SpawnTarget(160, 300, 8, GOOD_TEAM, 100);
    const int32_t enemy = scene.SpawnTarget(260, 300, 8, BAD_TEAM, 100);
    scene.RunFrames(1);
    CEffect* bolt = StartAt(scene, "bolt", CVector2D(120, 300), scene.Harness().Find(shooter), true);
    scene.RunFrames(8); // 20 units a move
    EXPECT_TRUE(scene.Target(friendAhead)->m_hits.empty()) << "its own side is passed over";
    CTargetObject* hit = scene.Target(enemy);
    ASSERT_EQ(hit->m_hits.size(), 1u);
    EXPECT_EQ(hit->m_hits[0].sourceType, OBJECT_PLAYER_SHIP);
    EXPECT_EQ(hit->m_hits[0].source, shooter);
    EXPECT_EQ(hit->m_hits[0].kind, 1);
    EXPECT_EQ(hit->m_hits[0].amount, 5);
    EXPECT_FALSE(bolt->IsInUse()) << "its particle died and the recyclable effect went back";
}

TEST(ParticleEmitter, AnEffectWhoseOwnerWentOnKeepsItsSideAndHitsWithoutASource)
{
    CEffectScene scene;
    ASSERT_TRUE(scene.Load(Effect("mine", SPRITE, STILL,
                                  "randomNumCreated 1, 1; randomLife 10, 10;"
                                  " event { type EMITTER_PARTICLE_COLLISION; chanceOfTriggering 1;"
                                  " randomInflictDamage 9, 9; particleRadius 6 }")));
    const int32_t layer = scene.SpawnTarget(500, 500, 10, BAD_TEAM, 100);
    scene.RunFrames(1);
    CEffect* mine = StartAt(scene, "mine", CVector2D(800, 800), scene.Harness().Find(layer));
    scene.Game().GetWorld()->RemoveObject(layer);
    scene.RunFrames(2);
    ASSERT_EQ(scene.Harness().Find(layer), nullptr);
    EXPECT_EQ(mine->FindOwner(), nullptr);
    EXPECT_TRUE(mine->IsRunning());
    // Another of the owner's side passes unharmed; the player's side is hit.
    const int32_t ally = scene.SpawnTarget(805, 800, 4, BAD_TEAM, 100);
    const int32_t ship = scene.SpawnTarget(795, 800, 4, GOOD_TEAM, 100, OBJECT_PLAYER_SHIP);
    scene.RunFrames(2);
    EXPECT_TRUE(scene.Target(ally)->m_hits.empty());
    ASSERT_FALSE(scene.Target(ship)->m_hits.empty());
    EXPECT_EQ(scene.Target(ship)->m_hits[0].sourceType, OBJECT_DUMB);
    EXPECT_EQ(scene.Target(ship)->m_hits[0].source, -1);
}

TEST(ParticleEmitter, ASwarmSpreadsItsDamageOverTheTargetTable)
{
    CEffectScene scene;
    ASSERT_TRUE(scene.Load(Effect("swarm", "type DUMMY",
                                  "type TARGETED; teamToAttack BAD_TEAM; leaveAlone 0; range 500; turnRate 0.1",
                                  "randomNumCreated 4, 4; randomLife 10, 10; randomStartVel 0, 0;"
                                  " event { type EMITTER_PARTICLE_COLLISION; chanceOfTriggering 1;"
                                  " randomInflictDamage 10, 10; particleRadius 1 }")));
    const int32_t enemy = scene.SpawnTarget(600, 500, 10, BAD_TEAM, 25);
    scene.RunFrames(1);
    CEffect* swarm = StartAt(scene, "swarm", CVector2D(500, 500));
    // Each particle searched at its first move: three charge the enemy to 30; the
    // fourth finds 30 committed against 25 health and goes without.
    std::vector<SParticle*> particles = Particles(*swarm);
    ASSERT_EQ(particles.size(), 4u);
    EXPECT_EQ(particles[0]->target, enemy);
    EXPECT_EQ(particles[1]->target, enemy);
    EXPECT_EQ(particles[2]->target, enemy);
    EXPECT_EQ(particles[3]->target, 0);
    auto& table = static_cast<CTargetedController&>(*scene.Cache().FindDefinition("swarm")->GetController());
    EXPECT_EQ(table.GetTableHandle(0), enemy);
    EXPECT_EQ(table.GetTableDamage(0), 30);
    // The next frame the table starts empty; the three holders charge it again.
    scene.RunFrames(1);
    EXPECT_EQ(table.GetTableDamage(0), 30);
    EXPECT_EQ(particles[3]->target, 0);
    // Steering turns the holders towards the enemy.
    EXPECT_GT(particles[0]->direction.x, 0.0f);
}
