#pragma once
// What a destroyed asteroid breaks into, drawn from the game's generator:
//   small      in survival above difficulty 3 a normal gem; else one time in three a
//              normal, rare or very rare gem (one chance each);
//   medium     3 to 5 pieces, each a cascade: with c = chanceOfGems x b x 100 (b = 3 at
//              a dangerous node, else 1), r a fresh draw of 0 to 99 at every step:
//              r < c: 3 normal gems; else c/2 > r: 2 large normal gems; then the same
//              with c' = 0.4 c for 3 rare gems or 1 large rare gem, then c'' = 0.4 c'
//              for 2 very rare gems or 1 large very rare gem; else 1 small rock;
//   explosive  first a worm when a draw of 0 to (4 - zone) is 0 and fewer than 6
//              worms were spawned; then as medium, without the small rock;
//   large      2 to 4 medium rocks.
// Gems and the special kinds break into nothing.

#include <cstdint>
#include <vector>

class CRandom;

struct SBreakupContext
{
    int32_t kind = 0;
    float chanceOfGems = 0.0f;
    bool dangerousNode = false;
    bool survival = false;
    int32_t difficulty = 0;
    int32_t zoneIndex = 0;
    int32_t wormsSpawned = 0;
};

struct SBreakup
{
    bool worm = false;
    std::vector<int32_t> pieces; // asteroid kinds, in spawning order
};

void ChooseBreakup(const SBreakupContext& context, CRandom& random, SBreakup& out);
