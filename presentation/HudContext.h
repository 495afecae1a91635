#pragma once
// What the HUD's pieces ask of the game each frame: whether the HUD is visible,
// whether the sequence director and the game flow let it update and draw, and the
// camera's position in whole units (sprites stand in world space, so a piece fixed
// to the screen is placed at the camera plus its screen position). The HUD installs
// the game's answers at start-up; until then the HUD is hidden, may draw, and the
// camera stands at the origin.

#include <cstdint>

class CHudContext
{
public:
    virtual ~CHudContext() = default;
    virtual bool IsHudVisible() const { return false; }
    virtual bool LetsHudDraw() const { return true; }
    virtual int32_t GetCameraX() const { return 0; }
    virtual int32_t GetCameraY() const { return 0; }
};

// Null puts back the context of no game.
void InstallHudContext(const CHudContext* context);
const CHudContext& GetHudContext();

// The back buffer's size, where screen-fixed pieces are placed (640 x 480 without
// a renderer).
void GetHudScreenSize(float& width, float& height);
