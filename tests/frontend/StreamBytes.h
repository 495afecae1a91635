#pragma once
// Little-endian reads of the bytes a writer made, for tests that check a file's layout
// field by field.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

inline uint32_t LoadU32(const std::vector<uint8_t>& bytes, size_t offset)
{
    if (offset + 4 > bytes.size())
        return 0xDEADBEEF;
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
           static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

inline int32_t LoadS32(const std::vector<uint8_t>& bytes, size_t offset)
{
    return static_cast<int32_t>(LoadU32(bytes, offset));
}

inline float LoadF32(const std::vector<uint8_t>& bytes, size_t offset)
{
    const uint32_t bits = LoadU32(bytes, offset);
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

inline void StoreU32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}
