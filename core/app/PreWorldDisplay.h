#pragma once
// The pre-world display: until the game world draws its own objects, the running
// game shows a few of the sample sprites (a turning ship, asteroids, sparks) so that
// the sprite bank's drawing can be seen. Goes away when the world arrives.

class CSpriteBank;

// Loads the sample sprites and places their instances; false when none could be loaded.
bool StartPreWorldDisplay(CSpriteBank& bank);
// Advances the little scene by one frame of the fixed step.
void UpdatePreWorldDisplay();
// Shows or hides the scene (hidden while the world is flown).
void SetPreWorldDisplayVisible(bool visible);
// Gives every instance and file back to the bank.
void StopPreWorldDisplay(CSpriteBank& bank);
