#include "frontend/ScoreCode.h"

#include <cstdio>

namespace
{
// FNV-1a over the inputs, started from a key of the game's own, then mixed so that
// near scores give unlike codes.
constexpr uint64_t CODE_KEY = 0x54455353415641ULL;
constexpr uint64_t FNV_PRIME = 0x100000001B3ULL;

uint64_t MixIn(uint64_t hash, uint8_t byte)
{
    return (hash ^ byte) * FNV_PRIME;
}

uint64_t MixWord(uint64_t hash, uint32_t word)
{
    for (int i = 0; i < 4; ++i)
        hash = MixIn(hash, static_cast<uint8_t>(word >> (8 * i)));
    return hash;
}
} // namespace

uint64_t MakeScoreCode(uint32_t score, uint32_t kind, const char* pilotName)
{
    uint64_t hash = 0xCBF29CE484222325ULL ^ CODE_KEY;
    hash = MixWord(hash, score);
    hash = MixWord(hash, kind);
    for (const char* at = pilotName ? pilotName : ""; *at; ++at)
        hash = MixIn(hash, static_cast<uint8_t>(*at));
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDULL;
    hash ^= hash >> 33;
    return hash;
}

std::string FormatScoreCode(uint64_t code)
{
    char text[17];
    std::snprintf(text, sizeof(text), "%08X%08X", static_cast<unsigned>(code >> 32),
                  static_cast<unsigned>(code & 0xFFFFFFFFu));
    return text;
}
