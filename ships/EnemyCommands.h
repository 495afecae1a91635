#pragma once
// The console command that brings enemies into the running world until the zones
// send them: "/spawnenemy TYPE [FILE]" makes an enemy of the type (ENEMY_DRONE,
// ENEMY_FIGHTER, ... as the data files name them, or WORM for a worm of the asteroid
// field's kind) read from the file (the sample drone's and fighter's when none is
// named), 350 to 449 units from the player ship at a random
// bearing, or where "/showobject" puts objects when there is no ship. Nothing
// without a running world.

class CConsole;

void RegisterEnemyCommands(CConsole& console);
