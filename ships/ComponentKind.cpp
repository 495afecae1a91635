#include "ships/ComponentKind.h"

#include <cstring>

namespace
{
const char* const KIND_NAMES[COMPONENT_KIND_COUNT] = {
    "NONE",           "ENGINE",       "GENERATOR",      "BATTERY",        "WEAPON_PROJECTILE_GUN",
    "WEAPON_MISSILE", "ANY_WEAPON",   "HULL",           "GRAVITY_BEAM",   "SHIELD",
    "BOMB",           "STATION_WEAPON", "DRONE",        "WEAPON_LASER",   "WEAPON_PINBEAM",
    "AMMO_MISSILE",   "AMMO_BOMB",    "CARGO",          "STATION_VAC",
};

// The order in which names are tried: a text that begins with an earlier name is
// taken as that kind.
const EComponentKind KIND_MATCH_ORDER[COMPONENT_KIND_COUNT] = {
    COMPONENT_ENGINE,       COMPONENT_GENERATOR, COMPONENT_BATTERY,        COMPONENT_PROJECTILE_GUN,
    COMPONENT_MISSILE,      COMPONENT_ANY_WEAPON, COMPONENT_HULL,          COMPONENT_NONE,
    COMPONENT_GRAVITY_BEAM, COMPONENT_SHIELD,    COMPONENT_BOMB,           COMPONENT_STATION_WEAPON,
    COMPONENT_DRONE,        COMPONENT_LASER,     COMPONENT_PINBEAM,        COMPONENT_AMMO_BOMB,
    COMPONENT_AMMO_MISSILE, COMPONENT_CARGO,     COMPONENT_STATION_VAC,
};

const char* const SHAPE_NAMES[] = {"POD_NONE", "ONE", "TWO_HORIZ", "TWO_VERT", "TWO_BY_TWO"};

bool BeginsWith(const char* text, const char* name)
{
    return std::strncmp(text, name, std::strlen(name)) == 0;
}
} // namespace

bool ComponentKindFromName(const char* text, EComponentKind& kind)
{
    if (!text)
        return false;
    for (EComponentKind candidate : KIND_MATCH_ORDER)
    {
        if (BeginsWith(text, KIND_NAMES[candidate]))
        {
            kind = candidate;
            return true;
        }
    }
    return false;
}

bool PodShapeFromName(const char* text, EPodShape& shape)
{
    if (!text)
        return false;
    for (int i = 0; i < static_cast<int>(sizeof(SHAPE_NAMES) / sizeof(SHAPE_NAMES[0])); ++i)
    {
        if (BeginsWith(text, SHAPE_NAMES[i]))
        {
            shape = static_cast<EPodShape>(i);
            return true;
        }
    }
    return false;
}

const char* GetComponentKindName(int32_t kind)
{
    return IsValidComponentKind(kind) ? KIND_NAMES[kind] : KIND_NAMES[COMPONENT_NONE];
}

bool IsWeaponKind(int32_t kind)
{
    switch (kind)
    {
    case COMPONENT_PROJECTILE_GUN:
    case COMPONENT_MISSILE:
    case COMPONENT_ANY_WEAPON:
    case COMPONENT_BOMB:
    case COMPONENT_DRONE:
    case COMPONENT_LASER:
    case COMPONENT_PINBEAM:
        return true;
    default:
        return false;
    }
}
