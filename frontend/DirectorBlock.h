#pragma once
// The director's block of a save game, little-endian. What the director keeps across
// a save (its stage and the chats already shown), field by field in the file's order:
// 79 bytes, then the tail "V_S" (a 32-bit 4 and the tag with its NUL) and a byte of 0
// or 1 that says whether the station's strike is spent. Older saves end after the 79
// bytes; their strike is not spent.

#include <cstddef>
#include <cstdint>
#include <vector>

struct SDirectorBlock
{
    static constexpr size_t OLDER_SIZE = 79;
    static constexpr size_t SIZE = OLDER_SIZE + 9;

    int32_t stage = 3;
    int32_t step = -1;
    int32_t chatPage = -1;
    uint8_t visit[10] = {};      // visit-chat bytes 1 to 9, 11
    uint8_t boss[10] = {};       // boss-chat bytes 3 to 12
    uint8_t frontEnd[20] = {};   // front-end chat bytes 0 to 19
    int32_t lastArrivalZone = -1;
    uint8_t flight[13] = {};     // flight-chat bytes 1,3,5,7,9,11,12,13,14,15,16,18,17
    int32_t lastZone28 = -1;
    int32_t lastZone60 = -1;
    uint8_t flight28 = 0;
    uint8_t flight31 = 0;
    uint8_t strikeDone = 0;
};

// Appends the block's SIZE bytes.
void WriteDirectorBlock(const SDirectorBlock& block, std::vector<uint8_t>& out);
// False (block untouched) unless the bytes are an older block of exactly OLDER_SIZE,
// or a block of exactly SIZE whose tail holds its tag and a strike byte of 0 or 1.
bool ReadDirectorBlock(const uint8_t* data, size_t size, SDirectorBlock& block);
// The length of the director's block that ends `size` bytes: SIZE when they end in
// its tail, else OLDER_SIZE.
size_t MeasureDirectorBlock(const uint8_t* data, size_t size);
