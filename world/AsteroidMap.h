#pragma once
// A zone node's asteroid map: 200 entries, each a packed word that survives leaving
// the node (and goes into saves) and, while the node is played, the handle of the
// asteroid made from it. The word:
//   bit 0        present
//   bits 1 - 4   kind (kinds 16 and 17 do not fit: they are never recorded)
//   bits 5 - 7   size index (bit 7 was always clear while sizes stayed below 4, so
//                older words read the same)
//   bits 8 - 19  y, whole world units
//   bits 20 - 31 x, whole world units (0: not placed yet)
// Positions beyond 4095 units do not fit: they are stored as 4095.

#include "core/Vector2D.h"

#include <cstdint>

constexpr int32_t ASTEROID_MAP_SIZE = 200;
constexpr uint32_t ASTEROID_WORD_PRESENT = 0x1;
constexpr int32_t ASTEROID_WORD_MAX_COORDINATE = 4095;

// Kinds the word can hold.
inline bool IsRecordableAsteroidKind(int32_t kind)
{
    return kind >= 0 && kind < 16;
}
// A present word of the kind and size index, not placed; the size is kept within
// 0 to 7 and the kind within 0 to 15.
uint32_t MakeAsteroidWord(int32_t kind, int32_t sizeIndex);
inline bool IsAsteroidWordPresent(uint32_t word)
{
    return (word & ASTEROID_WORD_PRESENT) != 0;
}
inline int32_t GetAsteroidWordKind(uint32_t word)
{
    return static_cast<int32_t>((word >> 1) & 0xF);
}
inline int32_t GetAsteroidWordSize(uint32_t word)
{
    return static_cast<int32_t>((word >> 5) & 0x7);
}
inline int32_t GetAsteroidWordX(uint32_t word)
{
    return static_cast<int32_t>(word >> 20);
}
inline int32_t GetAsteroidWordY(uint32_t word)
{
    return static_cast<int32_t>((word >> 8) & 0xFFF);
}
// Whether the word holds a place (both coordinates above 0).
inline bool HasAsteroidWordPosition(uint32_t word)
{
    return GetAsteroidWordX(word) > 0 && GetAsteroidWordY(word) > 0;
}
// The place written over bits 8 to 31, whole units (truncated) kept within 0 to 4095;
// bits 0 to 7 stay.
uint32_t SetAsteroidWordPosition(uint32_t word, const CVector2D& position);

struct SAsteroidMapEntry
{
    int32_t asteroid = -1; // the live asteroid's handle while the node is played
    uint32_t word = 0;

    bool IsPresent() const { return IsAsteroidWordPresent(word); }
};
