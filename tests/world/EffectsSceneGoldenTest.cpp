// A fixed scene of effects with a fixed seed at a fixed tick, drawn as the game draws
// them (the particles with the sprite bank's planes, then the beams of the effect
// cache's update): a burst with colour, alpha and scale keys, a stream of orientated
// sprites, animated smoke, a straight beam cut at its target, lightning, homing and
// bounce beams. Exact on the software device, within the renderers' tolerance on
// OpenGL. TESS_UPDATE_GOLDENS=1 writes the picture again after an intended change.

#include "platform/D3D8Renderer.h"
#include "platform/OpenGLRenderer.h"
#include "platform/Tga.h"
#include "presentation/SpriteBank.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/ImageCompare.h"
#include "tests/support/platform/OffscreenGl.h"
#include "tests/support/platform/TestWindow.h"
#include "tests/support/world/EffectScene.h"
#include "world/EffectCache.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
constexpr int WIDTH = 256;
constexpr int HEIGHT = 192;

std::string Particles(const std::string& name, const std::string& appearance, const std::string& controller,
                      const std::string& emitter)
{
    return DefinitionText("EFFECT { name " + name + "; maxParticles 64; maxEmitters 2; particle { appearance { " +
                          appearance + " } } controller { " + controller + " } emitter { type SIMPLE_PARTICLE; " +
                          emitter + " } }");
}

std::string Laser(const std::string& name, const std::string& keys)
{
    return DefinitionText("EFFECT { name " + name +
                          "; maxParticles 0; maxEmitters 2; particle { appearance { type DUMMY } }"
                          " controller { type STATIC } emitter { type STRAIGHT_LASER; textureFile beam.tga;"
                          " blendMode additive; onTimeSec 10; startAlpha 255; " +
                          keys + " } }");
}

const std::string SCENE =
    Particles("burst",
              "type SPRITE; sprite { spriteFile fx.spr }; startFrame 4;"
              " colorKeys { numKeys 2; key0 255, 255, 255, 0; key1 255, 80, 40, 1 }"
              " alphaKeys { numKeys 2; key0 255, 0; key1 0, 1 } scaleKeys { numKeys 2; key0 1, 1, 0; key1 2.5, 2.5, 1 }",
              "type OMNI_DIRECTION; inertia 0.95",
              "randomNumCreated -1, -1; randomStartVel 40, 90; randomStartOri 0, 360; randomLife 0.4, 0.7;"
              " randomEmissionRate 0.08, 0.12; randomEmissionQty 4, 6") +
    Particles("arrows", "type ORIENTATED_SPRITE; sprite { spriteFile fx.spr }; endFrame 7",
              "type OMNI_DIRECTION; inertia 1",
              "randomNumCreated -1, -1; randomStartVel 70, 70; randomStartOri 0, 360; spreadAngle 40;"
              " randomLife 0.6, 0.6; randomEmissionRate 0.04, 0.04") +
    Particles("puffs",
              "type ANIM_SPRITE; sprite { spriteFile fx.spr }; startFrame 1; endFrame 3; randomPlayRate 5, 9;"
              " loop true; alphaKeys { numKeys 2; key0 200, 0; key1 0, 1 }",
              "type ATTRACTION; attractionPoint 0, -30; moveToAttractor true",
              "randomNumCreated -1, -1; randomStartVel 20, 40; randomStartOffsetX -20, 20; randomLife 1, 1;"
              " randomEmissionRate 0.08, 0.08") +
    Laser("beam", "beamWidth 7; maxBeamLength 200; startColor 255, 120, 90; endColor 255, 255, 120; endAlpha 120;"
                  " constCollision true; damage 1") +
    Laser("bolt", "beamWidth 4; maxBeamLength 160; startColor 140, 190, 255; lightning true; numBeams 3;"
                  " maxSegments 14; beamLength 160; damage 1") +
    Laser("seek", "beamWidth 3; maxBeamLength 200; startColor 120, 255, 140; homing true; numBeams 5;"
                  " maxSegments 12; beamLength 60; speed 300; damage 1") +
    Laser("glance", "beamWidth 3; startColor 255, 220, 90; bounce true; numBeams 4; randomStartOri -50, 50;"
                    " beamLength 40; speed 200; damage 1");

CEffect* StartEffect(CEffectScene& scene, const char* name, CGameObject* owner, float x, float y, float heading)
{
    CEffect* effect = scene.Cache().SpawnEffect(name, owner, false);
    EXPECT_NE(effect, nullptr) << name;
    if (!effect)
        return nullptr;
    effect->SetPosition(CVector2D(x, y));
    effect->SetHeading(heading);
    effect->Start();
    return effect;
}

// The scene of seed 5 after ten frames, then one frame drawn as the game draws it,
// cropped to the top-left 256 x 192 pixels (0xAARRGGBB).
std::vector<uint32_t> DrawScene(std::unique_ptr<CRenderer> renderer)
{
    CRenderer& device = *renderer;
    CEffectScene scene(5, std::move(renderer));
    if (!scene.Load(SCENE))
        return {};
    const int32_t ship = scene.SpawnTarget(20, 40, 6, GOOD_TEAM, 100);
    scene.SpawnTarget(160, 40, 12, BAD_TEAM, 1000000);
    scene.Target(scene.SpawnTarget(150, 150, 15, BAD_TEAM, 1000000))->SetSquare(10.0f);
    scene.RunFrames(1);
    CGameObject* owner = scene.Harness().Find(ship);
    StartEffect(scene, "burst", owner, 200, 60, 0);
    StartEffect(scene, "arrows", owner, 60, 130, 0);
    StartEffect(scene, "puffs", owner, 220, 170, 0);
    StartEffect(scene, "beam", owner, 20, 40, 0);
    StartEffect(scene, "bolt", owner, 20, 100, 10);
    StartEffect(scene, "seek", owner, 110, 110, 0);
    StartEffect(scene, "glance", owner, 200, 120, 200);
    scene.RunFrames(10);

    device.Tick();
    device.BeginScene();
    scene.Harness().GetSpriteBank().Render();
    scene.Cache().Update();
    device.EndScene();
    const std::string path = scene.Dir().Join("frame.tga");
    STgaImage image;
    std::vector<uint8_t> crop;
    if (!device.SaveScreenshot(path.c_str()) || !LoadTga(path.c_str(), image) || image.width < WIDTH ||
        image.height < HEIGHT)
        return {};
    for (int y = 0; y < HEIGHT; ++y)
        crop.insert(crop.end(), image.pixels.begin() + std::ptrdiff_t(y) * image.width * 4,
                    image.pixels.begin() + (std::ptrdiff_t(y) * image.width + WIDTH) * 4);
    return ArgbFromBgraBytes(crop);
}
} // namespace

TEST(EffectsSceneGolden, SoftwareDeviceDrawsTheEffectsExactly)
{
    auto renderer = std::make_unique<CD3D8Renderer>();
    ASSERT_TRUE(OpenTestWindow(*renderer));
    const std::vector<uint32_t> drawn = DrawScene(std::move(renderer));
    ASSERT_EQ(drawn.size(), size_t(WIDTH) * HEIGHT);
    EXPECT_TRUE(MatchesGolden("world", "effects_scene", WIDTH, HEIGHT, drawn));
}

TEST(EffectsSceneGolden, OpenGLRendererDrawsTheEffects)
{
    std::string reason;
    if (!UseOffscreenGl(reason))
        GTEST_SKIP() << reason;
    auto renderer = std::make_unique<COpenGLRenderer>();
    ASSERT_TRUE(OpenTestWindow(*renderer));
    const std::vector<uint32_t> drawn = DrawScene(std::move(renderer));
    uint32_t width = 0, height = 0;
    std::vector<uint32_t> golden;
    ASSERT_TRUE(
        ReadImageTga(std::string(TESS_SOURCE_DIR) + "/tests/world/golden/effects_scene.tga", width, height, golden));
    ASSERT_EQ(drawn.size(), golden.size());
    EXPECT_TRUE(IsNearRendererPicture("effects_scene", drawn, golden, width));
}
