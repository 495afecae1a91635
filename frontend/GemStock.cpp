#include "frontend/GemStock.h"

#include <algorithm>

namespace
{
constexpr float REFUND_SHARE = 0.5f;
} // namespace

int32_t SGemStock::Spend(int32_t amount)
{
    int32_t paid = 0;
    while (paid < amount)
    {
        int kind = GEM_VERY_RARE;
        for (int k = GEM_RARE; k >= GEM_NORMAL; --k)
            if (count[k] > count[kind])
                kind = k;
        if (count[kind] <= 0)
            break;
        --count[kind];
        paid += kind + 1;
    }
    return std::min(paid, amount);
}

bool SGemStock::CanPay(const float cost[GEM_KIND_COUNT]) const
{
    for (int k = 0; k < GEM_KIND_COUNT; ++k)
        if (cost[k] > 0.0f && count[k] > 0)
            return true;
    return false;
}

bool SGemStock::Add(float normal, float rare, float veryRare)
{
    if (count[GEM_NORMAL] >= GEM_STOCK_LIMIT && count[GEM_RARE] >= GEM_STOCK_LIMIT &&
        count[GEM_VERY_RARE] >= GEM_STOCK_LIMIT)
        return false;
    float amounts[GEM_KIND_COUNT] = {normal * REFUND_SHARE, rare * REFUND_SHARE, veryRare * REFUND_SHARE};
    for (int k = 0; k < GEM_KIND_COUNT; ++k)
    {
        const float room = static_cast<float>(std::max(0, GEM_STOCK_LIMIT - count[k]));
        const float taken = std::max(0.0f, std::min(amounts[k], room));
        if (k + 1 < GEM_KIND_COUNT)
            amounts[k + 1] += (amounts[k] - taken) * REFUND_SHARE;
        count[k] += static_cast<int32_t>(taken);
    }
    return true;
}

void SGemStock::Clamp()
{
    for (int32_t& stock : count)
        stock = std::clamp(stock, 0, GEM_STOCK_LIMIT);
}
