#include "world/AsteroidBreakup.h"

#include "core/Random.h"
#include "world/AsteroidKinds.h"

namespace
{
constexpr int32_t MAX_WORMS = 6;

void Add(SBreakup& out, int32_t kind, int count)
{
    for (int i = 0; i < count; ++i)
        out.pieces.push_back(kind);
}

// One piece of a medium or explosive rock: the gem cascade.
void ChooseGemPiece(float c, bool explosive, CRandom& random, SBreakup& out)
{
    if (static_cast<float>(random.Below(100)) < c)
        return Add(out, ASTEROID_NORMAL_GEM, 3);
    if (c * 0.5f > static_cast<float>(random.Below(100)))
        return Add(out, ASTEROID_NORMAL_GEM_LARGE, 2);
    const float rare = c * 0.4f;
    if (static_cast<float>(random.Below(100)) < rare)
        return Add(out, ASTEROID_RARE_GEM, 3);
    if (rare * 0.5f > static_cast<float>(random.Below(100)))
        return Add(out, ASTEROID_RARE_GEM_LARGE, 1);
    const float veryRare = rare * 0.4f;
    if (static_cast<float>(random.Below(100)) < veryRare)
        return Add(out, ASTEROID_VERY_RARE_GEM, 2);
    if (veryRare * 0.5f > static_cast<float>(random.Below(100)))
        return Add(out, ASTEROID_VERY_RARE_GEM_LARGE, 1);
    if (!explosive)
        Add(out, ASTEROID_SMALL, 1);
}
} // namespace

void ChooseBreakup(const SBreakupContext& context, CRandom& random, SBreakup& out)
{
    out.worm = false;
    out.pieces.clear();
    const float c = context.chanceOfGems * (context.dangerousNode ? 3.0f : 1.0f) * 100.0f;
    switch (context.kind)
    {
    case ASTEROID_SMALL:
        if (context.survival && context.difficulty > 3)
            Add(out, ASTEROID_NORMAL_GEM, 1);
        else if (random.Below(3) == 1)
        {
            static const int32_t gems[3] = {ASTEROID_NORMAL_GEM, ASTEROID_RARE_GEM, ASTEROID_VERY_RARE_GEM};
            Add(out, gems[random.Below(3)], 1);
        }
        break;
    case ASTEROID_EXPLOSIVE:
        // A zone index of 5 or more leaves no range to draw from: the draw counts as 0.
        if (random.Below(5 - context.zoneIndex) == 0 && context.wormsSpawned < MAX_WORMS)
            out.worm = true;
        [[fallthrough]];
    case ASTEROID_MEDIUM:
    {
        const int pieces = random.Below(3) + 3;
        for (int i = 0; i < pieces; ++i)
            ChooseGemPiece(c, context.kind == ASTEROID_EXPLOSIVE, random, out);
        break;
    }
    case ASTEROID_LARGE:
        Add(out, ASTEROID_MEDIUM, random.Below(3) + 2);
        break;
    default:
        break;
    }
}
