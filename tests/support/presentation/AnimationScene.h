#pragma once
// The animation test scene, made of the sample data (the built sprites and the
// definition sources of data-src/samples): the scout turning through five headings,
// the planet as a 2 x 2 tiled picture, and the scout's body carried round its patrol
// path, with one pod just hit (flashing) and the other shot off. Drawn through any
// renderer, it is compared with "tests/presentation/golden/animation_scene.tga".

#include "core/Vector2D.h"
#include "presentation/AnimatedSprite.h"
#include "presentation/AnimationClock.h"
#include "presentation/ObjectBody.h"
#include "presentation/RiderObjects.h"
#include "presentation/SpriteAnimSet.h"
#include "presentation/SpriteRef.h"
#include "presentation/TiledSprite.h"

#include <cstdint>
#include <string>
#include <vector>

class CRenderer;
class CSpriteBank;
class CTempDir;

// The part of the 640 x 480 back buffer that the scene covers.
constexpr int ANIMATION_SCENE_WIDTH = 256;
constexpr int ANIMATION_SCENE_HEIGHT = 192;

class CAnimationScene : private CAnimationClock, private CRiderObjects
{
public:
    static constexpr int32_t SCOUT_HANDLE = 0x01000001;
    static constexpr int TICKS = 60;

    CAnimationScene();
    ~CAnimationScene() override;
    CAnimationScene(const CAnimationScene&) = delete;
    CAnimationScene& operator=(const CAnimationScene&) = delete;

    // Loads the sample definitions into the bank and runs the scene's ticks; false
    // with a reason when the sample data cannot be read.
    bool Build(CSpriteBank& bank, std::string& error);
    // One frame through the renderer, cropped to the scene (blue, green, red, alpha).
    std::vector<uint8_t> Draw(CRenderer& renderer, CSpriteBank& bank, const CTempDir& dir);
    const CVector2D& GetScoutPosition() const { return m_scoutPosition; }

private:
    uint32_t GetGameTimeMs() const override { return m_now; }
    bool GetObjectPosition(int32_t handle, CVector2D& position) const override;
    void SetObjectPosition(int32_t handle, const CVector2D& position) override;
    void SetObjectDrawPlane(int32_t, int) override {}
    void SetObjectVisible(int32_t, bool) override {}
    bool LoadDefinitions(std::string& error);
    void Tick();

    uint32_t m_now = 0;
    CSpriteRef m_turning;
    CAnimatedSprite m_headings[5];
    CTiledSpriteDef m_planetDef;
    CTiledSprite m_planet;
    CObjectBody m_body;
    CSpriteAnimSet m_patrol;
    CVector2D m_scoutPosition;
    float m_scoutAngle = 0.0f;
};
