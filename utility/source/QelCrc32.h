#pragma once
// CRC-32 as ZIP and zlib compute it (reflected polynomial 0x04C11DB7, start value
// 0xFFFFFFFF, final complement). The pack index, the string table and the save
// games hash with it; the byte fold picks one of 256 buckets of a hashed table.

#include <array>
#include <cstddef>
#include <cstdint>

namespace qel_crc
{
constexpr uint32_t REFLECTED_POLYNOMIAL = 0xEDB88320u;

constexpr std::array<uint32_t, 256> MakeTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i)
    {
        uint32_t value = i;
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1u) ? (value >> 1) ^ REFLECTED_POLYNOMIAL : value >> 1;
        table[i] = value;
    }
    return table;
}

// A compile-time constant, so a CRC taken during static initialisation is right too.
inline constexpr std::array<uint32_t, 256> TABLE = MakeTable();
} // namespace qel_crc

// Continues a running CRC (pass the previous result; 0 starts afresh).
uint32_t Crc32Update(uint32_t crc, const void* bytes, size_t length);

uint32_t Crc32(const void* bytes, size_t length);

// The XOR of the four bytes of a CRC: a bucket 0..255.
uint8_t Crc32FoldByte(uint32_t crc);
// The CRC of the bytes folded to a byte.
uint8_t Crc32FoldByte(const void* bytes, size_t length);

// The XOR of the two 16-bit halves of a CRC.
uint16_t Crc32FoldWord(uint32_t crc);
uint16_t Crc32FoldWord(const void* bytes, size_t length);
