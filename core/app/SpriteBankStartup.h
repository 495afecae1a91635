#pragma once
// The sprite bank's start-up step and its teardown: the bank bound to the renderer.

// Creates g_spriteBank and binds it to g_renderer; on failure gives the start-up
// message ("Error during startup - code 0x8000000d" or "... 0x8000000e").
bool StartSpriteBank(const char*& failure);
// Shuts the bank down and deletes it (nothing when there is none).
void StopSpriteBank();
// Per frame: the camera scroll reaches the bank, which then draws its planes.
void DrawSpriteBank(float scrollX, float scrollY);
