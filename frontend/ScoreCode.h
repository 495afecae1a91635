#pragma once
// The codes that vouch for a score: eight bytes made from the score, the kind of run
// and the pilot's name, shown as 16 upper-case hexadecimal digits beside best scores
// and handed to the score page. The same inputs always give the same code.

#include <cstdint>
#include <string>

// Kinds of run a code is made for.
enum EScoreCodeKind : uint32_t
{
    SCORE_CODE_CAMPAIGN = 0,
    SCORE_CODE_SURVIVAL_OPEN = 1,
    SCORE_CODE_SURVIVAL_TIMED = 2,
};

uint64_t MakeScoreCode(uint32_t score, uint32_t kind, const char* pilotName);
std::string FormatScoreCode(uint64_t code);
