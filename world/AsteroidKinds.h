#pragma once
// The kinds of the asteroid class, as a definition's "type" names them: three rock
// sizes, six gems, the explosive rock, and special objects that share the class
// (crew sites and their crew, pods, alien stations and aliens).

#include <cstdint>

enum EAsteroidKind : int32_t
{
    ASTEROID_SMALL = 0,
    ASTEROID_MEDIUM = 1,
    ASTEROID_LARGE = 2,
    ASTEROID_NORMAL_GEM = 3,
    ASTEROID_NORMAL_GEM_LARGE = 4,
    ASTEROID_RARE_GEM = 5,
    ASTEROID_RARE_GEM_LARGE = 6,
    ASTEROID_VERY_RARE_GEM = 7,
    ASTEROID_VERY_RARE_GEM_LARGE = 8,
    ASTEROID_EXPLOSIVE = 9,
    ASTEROID_CREW_SITE = 10,
    ASTEROID_CREW_MAN = 11,
    ASTEROID_WRECK_POD = 12,
    ASTEROID_DRIVE_POD = 13,
    ASTEROID_FRIENDLY_ALIEN_STATION = 14,
    ASTEROID_BROKEN_ALIEN_STATION = 15,
    ASTEROID_FRIENDLY_ALIEN = 16,
    ASTEROID_EQUIPMENT_POD = 17,
    ASTEROID_KIND_COUNT = 18,
};

// The kind of a "type" text ("small", "normalGemLarge", ...; letter case aside), or -1.
int32_t AsteroidKindFromName(const char* name);
// The "type" text of a kind; "" for a number that is no kind.
const char* AsteroidKindName(int32_t kind);

inline bool IsRockKind(int32_t kind)
{
    return kind >= ASTEROID_SMALL && kind <= ASTEROID_LARGE;
}
inline bool IsGemKind(int32_t kind)
{
    return kind >= ASTEROID_NORMAL_GEM && kind <= ASTEROID_VERY_RARE_GEM_LARGE;
}
inline bool IsSpecialAsteroidKind(int32_t kind)
{
    return kind >= ASTEROID_CREW_SITE && kind < ASTEROID_KIND_COUNT;
}
