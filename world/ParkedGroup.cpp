#include "world/ParkedGroup.h"

#include "world/GameObject.h"

bool SParkedGroup::HasAliveEntries() const
{
    for (const SParkedEntry& entry : entries)
        if (entry.alive)
            return true;
    return false;
}

bool SParkedGroup::HasMadeObject() const
{
    for (const SParkedEntry& entry : entries)
        if (entry.alive && entry.object != NO_OBJECT)
            return true;
    return false;
}

const SParkedEntry* SParkedGroup::FindBarge() const
{
    for (const SParkedEntry& entry : entries)
        if (entry.IsBarge())
            return &entry;
    return nullptr;
}

bool SParkedGroup::IsBargeDamaged() const
{
    const SParkedEntry* barge = FindBarge();
    return barge && (barge->stateWord & BARGE_WORD_PARTS) != BARGE_WORD_PARTS;
}

int32_t SParkedGroup::FindEntry(int32_t handle) const
{
    if (handle == NO_OBJECT)
        return -1;
    for (int32_t i = 0; i < PARKED_GROUP_SIZE; ++i)
        if (entries[i].alive && entries[i].object == handle)
            return i;
    return -1;
}

void SParkedGroup::PackEntries()
{
    for (int32_t i = 0; i + 1 < PARKED_GROUP_SIZE; ++i)
    {
        if (entries[i].alive)
            continue;
        entries[i] = entries[i + 1];
        entries[i + 1].alive = 0;
        entries[i + 1].object = NO_OBJECT;
    }
}
