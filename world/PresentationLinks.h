#pragma once
// The game as the sprites, paths and bodies of the presentation layer see it: the
// game clock is their clock, the world's objects (by handle) are the riders of their
// paths, and the effects they ask for start in the game's effect cache. CGame
// installs these in Init and takes them out when it goes.

class CGame;

void InstallPresentationLinks(const CGame& game);
// Puts back the presentation layer's own (still) clock and objectless riders, when
// the links are the given game's.
void RemovePresentationLinks(const CGame& game);
