#pragma once
// The director's sequences by index: the file each plays, the steps its keys move
// later by when asked, and whether it covers the game (world and GUI keys stop while
// it plays), loops, or holds its last frame.

#include <cstdint>

struct SSequenceEntry
{
    const char* path;  // null: an index the game never plays
    uint32_t keyOffset;
    bool covers;
    bool loops;
    bool holds;
};

constexpr int SEQUENCE_COUNT = 27;
// The left-out screen on which no sequence is ever skipped.
constexpr int SEQUENCE_UNSKIPPABLE_SCREEN = 17;

// The entry of an index, or null outside 0..26.
const SSequenceEntry* GetSequenceEntry(int index);
// Backdrops of the front end (10 to 22) and index 1 never cover the game.
bool IsCoveringSequence(int index);
