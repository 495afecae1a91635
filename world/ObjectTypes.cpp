#include "world/ObjectTypes.h"

#include <cstring>

namespace
{
const char* const TYPE_NAMES[] = {
    "NONE",           "DUMB",      "PLAYER_SHIP", "ASTEROID",  "STATION",   "ENEMY_DRONE", "ENEMY_FIGHTER",
    "ENEMY_MOTHERSHIP", "STAR_BOSS", "MAGMA_BOSS", "RAIN_BOSS", "TRON_BOSS", "DISC_BOSS",
};
constexpr int32_t NAMED_TYPES = sizeof(TYPE_NAMES) / sizeof(TYPE_NAMES[0]);

// Draw planes by type id: ships 8, asteroids 5, mounted parts 9, the station,
// motherships, bosses and worms 10.
const uint8_t DEFAULT_PLANES[OBJECT_TYPE_COUNT] = {0, 0, 8, 5, 10, 8, 8, 10, 10, 10, 10, 10, 10, 9, 10};
} // namespace

const char* ObjectTypeName(int32_t type)
{
    return type >= 0 && type < NAMED_TYPES ? TYPE_NAMES[type] : "";
}

void ObjectTypeName(int32_t type, char* buffer, size_t size)
{
    if (!buffer || size == 0)
        return;
    const char* name = ObjectTypeName(type);
    std::strncpy(buffer, name, size - 1);
    buffer[size - 1] = '\0';
}

EObjectType ObjectTypeFromName(const char* name)
{
    if (!name)
        return OBJECT_NONE;
    for (int32_t type = 0; type < NAMED_TYPES; ++type)
        if (std::strcmp(name, TYPE_NAMES[type]) == 0)
            return static_cast<EObjectType>(type);
    return OBJECT_NONE;
}

ETeam GetTeamOfType(int32_t type)
{
    if (type == OBJECT_PLAYER_SHIP || type == OBJECT_STATION)
        return GOOD_TEAM;
    if (type == OBJECT_ASTEROID)
        return ASTEROID_TEAM;
    if ((type >= OBJECT_ENEMY_DRONE && type <= OBJECT_DISC_BOSS) || type == OBJECT_WORM)
        return BAD_TEAM;
    return NO_TEAM;
}

uint8_t GetDefaultDrawPlane(int32_t type)
{
    return type >= 0 && type < OBJECT_TYPE_COUNT ? DEFAULT_PLANES[type] : 0;
}

void StripSpaces(char* out, const char* in)
{
    if (!out)
        return;
    for (; in && *in; ++in)
        if (*in != ' ')
            *out++ = *in;
    *out = '\0';
}
