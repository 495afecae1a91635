#pragma once
// The two black squares of the station's full-screen warp: one picture file and two
// instances of it, taken down with the sequence (or with its warp entry).

#include "presentation/AnimatedSprite.h"
#include "presentation/SpriteRef.h"

class CWarpOverlay
{
public:
    // The file first: the sprites go before it.
    CSpriteRef m_file;
    CAnimatedSprite m_a; // in front of the playfield
    CAnimatedSprite m_b; // just behind the station
};
