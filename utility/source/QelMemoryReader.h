#pragma once
// Reads little-endian values from a block of memory. Every read is checked
// against the end: a read of n bytes fails, without moving, when fewer remain.

#include <cstddef>
#include <cstdint>

class CQelMemoryReader
{
public:
    void Open(const void* start, size_t size);

    bool Read(void* out, size_t count);
    bool ReadU32(uint32_t& out);
    // Gives a pointer to the next count bytes in place and moves past them.
    bool ReadInPlace(size_t count, const uint8_t*& out);
    bool Skip(size_t count);

    size_t GetRemaining() const { return static_cast<size_t>(m_end - m_current); }
    size_t GetPosition() const { return static_cast<size_t>(m_current - m_start); }
    size_t GetSize() const { return m_size; }

private:
    const uint8_t* m_start = nullptr;
    const uint8_t* m_current = nullptr;
    const uint8_t* m_end = nullptr;
    size_t m_size = 0;
};

inline uint32_t ReadLittleU32(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

inline void WriteLittleU32(uint8_t* bytes, uint32_t value)
{
    bytes[0] = static_cast<uint8_t>(value);
    bytes[1] = static_cast<uint8_t>(value >> 8);
    bytes[2] = static_cast<uint8_t>(value >> 16);
    bytes[3] = static_cast<uint8_t>(value >> 24);
}
