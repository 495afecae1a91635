#include "world/ZoneNode.h"

#include "world/AsteroidKinds.h"
#include "world/GameObject.h"
#include "world/World.h"

bool SZoneNode::RecordAsteroid(int32_t kind, int32_t sizeIndex, const CVector2D& position, int32_t handle)
{
    if (!IsRecordableAsteroidKind(kind))
        return false;
    for (SAsteroidMapEntry& entry : asteroidMap)
    {
        if (entry.IsPresent())
            continue;
        entry.word = SetAsteroidWordPosition(MakeAsteroidWord(kind, sizeIndex), position);
        entry.asteroid = handle;
        ++asteroidCount;
        return true;
    }
    return false;
}

bool SZoneNode::ForgetAsteroid(int32_t handle)
{
    if (handle == NO_OBJECT)
        return false;
    for (SAsteroidMapEntry& entry : asteroidMap)
    {
        if (entry.asteroid != handle)
            continue;
        entry.asteroid = NO_OBJECT;
        if (entry.IsPresent())
        {
            entry.word &= ~ASTEROID_WORD_PRESENT;
            --asteroidCount;
        }
        return true;
    }
    return false;
}

void SZoneNode::StoreAsteroids(const CWorld& world, float worldWidth)
{
    for (SAsteroidMapEntry& entry : asteroidMap)
    {
        if (entry.asteroid == NO_OBJECT)
            continue;
        const CGameObject* asteroid = world.GetObject(entry.asteroid);
        entry.asteroid = NO_OBJECT;
        if (!asteroid || !entry.IsPresent())
            continue;
        const CVector2D& at = asteroid->GetPosition();
        if (at.x < 0.0f || at.y < 0.0f || at.x >= worldWidth || at.y >= worldWidth)
        {
            entry.word &= ~ASTEROID_WORD_PRESENT;
            --asteroidCount;
        }
        else
            entry.word = SetAsteroidWordPosition(entry.word, at);
    }
}

int32_t SZoneNode::CountRockValue() const
{
    int32_t value = 0;
    for (const SAsteroidMapEntry& entry : asteroidMap)
    {
        if (!entry.IsPresent())
            continue;
        const int32_t kind = GetAsteroidWordKind(entry.word);
        value += kind == ASTEROID_MEDIUM ? 1 : (kind == ASTEROID_LARGE ? 5 : 0);
    }
    return value;
}

void SZoneNode::RefreshRocksFlag()
{
    rocks = false;
    for (const SAsteroidMapEntry& entry : asteroidMap)
    {
        const int32_t kind = GetAsteroidWordKind(entry.word);
        if (entry.IsPresent() && (kind == ASTEROID_MEDIUM || kind == ASTEROID_LARGE))
            rocks = true;
    }
}

int32_t SZoneNode::CountGroups() const
{
    int32_t count = 0;
    for (const SParkedGroup& group : parked)
        count += group.used ? 1 : 0;
    return count;
}

int32_t SZoneNode::FindFreeSlot() const
{
    for (int32_t slot = 0; slot < ZONE_NODE_GROUP_SLOTS; ++slot)
        if (!parked[slot].used)
            return slot;
    return -1;
}
