#pragma once
// Start-up step 25 and its teardown: the sprite bank bound to the renderer.

// Creates g_spriteBank and binds it to g_renderer; on failure gives the start-up
// message ("Error during startup - code 0x8000000d" or "... 0x8000000e").
bool StartSpriteBank(const char*& failure);
// Shuts the bank down and deletes it (nothing when there is none).
void StopSpriteBank();
// Per frame: the camera scroll (step 19) and the drawing of the planes (step 21).
void DrawSpriteBank(float scrollX, float scrollY);
