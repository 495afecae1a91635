#include "world/AsteroidMap.h"

#include <cmath>

namespace
{
uint32_t ToCoordinate(float value)
{
    if (!(value > 0.0f)) // also NaN
        return 0;
    if (value >= static_cast<float>(ASTEROID_WORD_MAX_COORDINATE))
        return ASTEROID_WORD_MAX_COORDINATE;
    return static_cast<uint32_t>(value);
}
} // namespace

uint32_t MakeAsteroidWord(int32_t kind, int32_t sizeIndex)
{
    uint32_t k = static_cast<uint32_t>(kind < 0 ? 0 : (kind > 15 ? 15 : kind));
    uint32_t s = static_cast<uint32_t>(sizeIndex < 0 ? 0 : (sizeIndex > 7 ? 7 : sizeIndex));
    return ASTEROID_WORD_PRESENT | (k << 1) | (s << 5);
}

uint32_t SetAsteroidWordPosition(uint32_t word, const CVector2D& position)
{
    return (word & 0xFFu) | (ToCoordinate(position.x) << 20) | (ToCoordinate(position.y) << 8);
}
