#include "utility/source/QelCrc32.h"

uint32_t Crc32Update(uint32_t crc, const void* bytes, size_t length)
{
    const auto* at = static_cast<const uint8_t*>(bytes);
    uint32_t value = ~crc;
    for (size_t i = 0; i < length; ++i)
        value = qel_crc::TABLE[(value ^ at[i]) & 0xFFu] ^ (value >> 8);
    return ~value;
}

uint32_t Crc32(const void* bytes, size_t length)
{
    return Crc32Update(0, bytes, length);
}

uint8_t Crc32FoldByte(uint32_t crc)
{
    return static_cast<uint8_t>(crc ^ (crc >> 8) ^ (crc >> 16) ^ (crc >> 24));
}

uint8_t Crc32FoldByte(const void* bytes, size_t length)
{
    return Crc32FoldByte(Crc32(bytes, length));
}

uint16_t Crc32FoldWord(uint32_t crc)
{
    return static_cast<uint16_t>(crc ^ (crc >> 16));
}

uint16_t Crc32FoldWord(const void* bytes, size_t length)
{
    return Crc32FoldWord(Crc32(bytes, length));
}
