#pragma once
// The campaign's three gem stocks (normal, rare and very rare gems, worth 1, 2 and 3
// when spent), how they pay and how a sale refunds into them.

#include <cstdint>

enum EGemKind : int
{
    GEM_NORMAL = 0,
    GEM_RARE = 1,
    GEM_VERY_RARE = 2,
    GEM_KIND_COUNT = 3,
};

// A stock is filled to at most this many gems by refunds and deliveries; a saved value
// outside 0 to this is brought into it on loading.
constexpr int32_t GEM_STOCK_LIMIT = 100;

struct SGemStock
{
    int32_t count[GEM_KIND_COUNT] = {};

    // Takes gems one at a time until their value reaches the amount or none are left,
    // each from the largest stock (on a tie the very rare one first, then the rare
    // one). Gives min(amount, value paid): the stocks may lose up to 2 more than that.
    int32_t Spend(int32_t amount);
    // Whether some part of the cost is above 0 while its stock holds gems.
    bool CanPay(const float cost[GEM_KIND_COUNT]) const;
    // The refund of a sale: half of each amount; each stock takes what fits below the
    // limit and half of its excess passes on to the next rarer one. Each stock grows by
    // the whole part of what it takes. False (nothing changes) when every stock is full.
    bool Add(float normal, float rare, float veryRare);
    // Each stock brought into 0 to the limit.
    void Clamp();
};
