#pragma once
// A parked group: the enemies of one attack group waiting at a zone node, or, at the
// player's node, fighting there. Each entry is one object, made while the player is
// at the node and kept as a state word (and a place) while it is not; an entry stays
// alive until its object is destroyed. Live objects are held by handle.

#include <cstdint>

constexpr int32_t PARKED_GROUP_SIZE = 20;
constexpr int32_t ZONE_NODE_GROUP_SLOTS = 5;

// State words: bit 0 marks a mining barge (a valid word), bits 8 to 19 its 12 parts'
// alive flags, bits 20 to 31 its mining reserve.
constexpr int32_t BARGE_WORD_VALID = 0x1;
constexpr int32_t BARGE_WORD_PARTS = 0xFFF00;
constexpr int BARGE_WORD_RESERVE_SHIFT = 20;

struct SParkedEntry
{
    int32_t resource = 0;    // the record in its list
    int32_t attackGroup = 0; // the attack group it came from
    int32_t stateWord = 0;
    int32_t object = -1;     // the live object's handle (NO_OBJECT when not made)
    float x = 0.0f;          // the stored place (x above 0: placed)
    float y = 0.0f;
    uint8_t infinite = 0;    // 1: an infinite record, 0: a fixed one
    uint8_t alive = 0;

    bool IsBarge() const { return alive && (stateWord & BARGE_WORD_VALID) != 0; }
};

struct SParkedGroup
{
    bool used = false; // the slot holds a group
    SParkedEntry entries[PARKED_GROUP_SIZE];
    uint32_t number = 0;      // from the node state's group counter
    float spawnX = 0.0f;      // the spawn point: (0, 0) until searched
    float spawnY = 0.0f;
    uint32_t moveTime = 0;    // zone-clock ms from which it may move on
    int32_t previousNode = -1;

    bool HasAliveEntries() const;
    // An alive entry with a live object.
    bool HasMadeObject() const;
    // The first alive barge entry (a mining group has one), or null.
    const SParkedEntry* FindBarge() const;
    // A mining group whose barge has lost a part.
    bool IsBargeDamaged() const;
    // The alive entry holding the object's handle, or -1.
    int32_t FindEntry(int32_t handle) const;
    // One pass from the first entry to the 19th: each entry that is not alive takes
    // the content of the one after it, which becomes not alive and without object.
    void PackEntries();
};
