#pragma once
// The type id of every world object, written in data files by its upper-case name,
// and the sides they fight on.

#include <cstddef>
#include <cstdint>

enum EObjectType : int32_t
{
    OBJECT_NONE = 0,
    OBJECT_DUMB = 1,
    OBJECT_PLAYER_SHIP = 2,
    OBJECT_ASTEROID = 3,
    OBJECT_STATION = 4,
    OBJECT_ENEMY_DRONE = 5,
    OBJECT_ENEMY_FIGHTER = 6,
    OBJECT_ENEMY_MOTHERSHIP = 7,
    OBJECT_STAR_BOSS = 8,
    OBJECT_MAGMA_BOSS = 9,
    OBJECT_RAIN_BOSS = 10,
    OBJECT_TRON_BOSS = 11,
    OBJECT_DISC_BOSS = 12,
    OBJECT_MOUNTED_PART = 13, // no name in data files
    OBJECT_WORM = 14,         // no name in data files
    OBJECT_TYPE_COUNT = 15,
};

enum ETeam : uint16_t
{
    GOOD_TEAM = 0,     // player ship, station
    BAD_TEAM = 1,      // enemies
    ASTEROID_TEAM = 2,
    NO_TEAM = 3,
};

// "NONE" to "DISC_BOSS" for ids 0 to 12; an empty text for any other id.
const char* ObjectTypeName(int32_t type);
// Writes the name into the buffer (nothing for ids without a name); the buffer is
// always terminated when it has room for one character.
void ObjectTypeName(int32_t type, char* buffer, size_t size);
// The inverse, exact and case-sensitive; 0 for any other text.
EObjectType ObjectTypeFromName(const char* name);
ETeam GetTeamOfType(int32_t type);
// The draw plane the world gives a new object of the type.
uint8_t GetDefaultDrawPlane(int32_t type);
// Copies the text without its spaces (out must hold the text).
void StripSpaces(char* out, const char* in);
