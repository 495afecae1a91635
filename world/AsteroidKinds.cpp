#include "world/AsteroidKinds.h"

#include <strings.h>

namespace
{
const char* const kNames[ASTEROID_KIND_COUNT] = {
    "small",       "medium",          "large",       "normalGem",           "normalGemLarge",
    "rareGem",     "rareGemLarge",    "veryRareGem", "veryRareGemLarge",    "explosive",
    "crewSite",    "crewMan",         "wreckPod",    "drivePod",            "friendlyAlienStation",
    "brokenAlienStation", "friendlyAlien", "equipmentPod",
};
} // namespace

int32_t AsteroidKindFromName(const char* name)
{
    if (!name)
        return -1;
    for (int32_t kind = 0; kind < ASTEROID_KIND_COUNT; ++kind)
        if (strcasecmp(name, kNames[kind]) == 0)
            return kind;
    return -1;
}

const char* AsteroidKindName(int32_t kind)
{
    return kind >= 0 && kind < ASTEROID_KIND_COUNT ? kNames[kind] : "";
}
