#pragma once
// The sprite test scene: every pixel format, mirroring, turning, flash, planes with
// movement factors, a welded group and a virtual-screen sprite, built in a sprite bank
// from files written into a temporary folder. Drawn through any renderer, it is
// compared with the stored picture "tests/presentation/golden/sprite_scene.tga".

#include <cstdint>
#include <vector>

class CRenderer;
class CSpriteBank;
class CTempDir;

// The part of the 640 x 480 back buffer that the scene covers.
constexpr int SPRITE_SCENE_WIDTH = 192;
constexpr int SPRITE_SCENE_HEIGHT = 144;

// Loads the scene's files and places its instances; false when a file does not load.
bool BuildSpriteScene(CSpriteBank& bank, const CTempDir& dir);
// One frame of the bank through the renderer, read back through a screenshot and
// cropped to the scene: top row first, 4 bytes a pixel (blue, green, red, alpha).
std::vector<uint8_t> DrawSpriteScene(CRenderer& renderer, CSpriteBank& bank, const CTempDir& dir);
// One frame of the bank through the renderer, read back through a screenshot and cropped
// to the top-left width x height pixels, in the same layout.
std::vector<uint8_t> DrawBankFrame(CRenderer& renderer, CSpriteBank& bank, const CTempDir& dir, int width,
                                   int height);
