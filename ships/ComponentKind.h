#pragma once
// The kinds of ship component and the pod shapes, with the texts that data files
// and ship designs use for them.

#include <cstdint>

enum EComponentKind : int32_t
{
    COMPONENT_NONE = 0,
    COMPONENT_ENGINE = 1,
    COMPONENT_GENERATOR = 2,
    COMPONENT_BATTERY = 3,
    COMPONENT_PROJECTILE_GUN = 4,
    COMPONENT_MISSILE = 5,
    COMPONENT_ANY_WEAPON = 6, // a hull slot's requirement only
    COMPONENT_HULL = 7,
    COMPONENT_GRAVITY_BEAM = 8,
    COMPONENT_SHIELD = 9,
    COMPONENT_BOMB = 10,
    COMPONENT_STATION_WEAPON = 11,
    COMPONENT_DRONE = 12,
    COMPONENT_LASER = 13,
    COMPONENT_PINBEAM = 14,
    COMPONENT_AMMO_MISSILE = 15,
    COMPONENT_AMMO_BOMB = 16,
    COMPONENT_CARGO = 17,
    COMPONENT_STATION_VAC = 18,
};

constexpr int COMPONENT_KIND_COUNT = 19;

enum EPodShape : int32_t
{
    POD_SHAPE_NONE = 0,
    POD_SHAPE_ONE = 1,
    POD_SHAPE_TWO_HORIZ = 2,
    POD_SHAPE_TWO_VERT = 3,
    POD_SHAPE_TWO_BY_TWO = 4,
};

inline bool IsValidComponentKind(int32_t kind)
{
    return kind >= 0 && kind < COMPONENT_KIND_COUNT;
}

// A kind name matches a text that begins with it; names are tried in a fixed
// order and the first match wins. False (kind untouched) when none matches.
bool ComponentKindFromName(const char* text, EComponentKind& kind);
bool PodShapeFromName(const char* text, EPodShape& shape);

// The kind's text as data files write it; "NONE" for a value that is no kind
// (such a value can come from a damaged save).
const char* GetComponentKindName(int32_t kind);

// Guns, missiles, the any-weapon requirement, bombs, drones, lasers and pinbeams.
// False for a value that is no kind.
bool IsWeaponKind(int32_t kind);
