#pragma once
// The level-file sections the world's own parts read: "ASTEROID_DEFS" (the asteroid
// table) and "STARFIELD" (the backdrop). Registered with the world's object types.

void RegisterWorldSections();
