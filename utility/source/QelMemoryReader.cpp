#include "utility/source/QelMemoryReader.h"

#include <cstring>

void CQelMemoryReader::Open(const void* start, size_t size)
{
    m_start = static_cast<const uint8_t*>(start);
    m_current = m_start;
    m_end = m_start + size;
    m_size = size;
}

bool CQelMemoryReader::ReadInPlace(size_t count, const uint8_t*& out)
{
    // Compared as a count, never as a pointer sum that could wrap.
    if (count > GetRemaining())
        return false;
    out = m_current;
    m_current += count;
    return true;
}

bool CQelMemoryReader::Read(void* out, size_t count)
{
    const uint8_t* bytes = nullptr;
    if (!ReadInPlace(count, bytes))
        return false;
    if (count)
        std::memcpy(out, bytes, count);
    return true;
}

bool CQelMemoryReader::ReadU32(uint32_t& out)
{
    const uint8_t* bytes = nullptr;
    if (!ReadInPlace(4, bytes))
        return false;
    out = ReadLittleU32(bytes);
    return true;
}

bool CQelMemoryReader::Skip(size_t count)
{
    const uint8_t* ignored = nullptr;
    return ReadInPlace(count, ignored);
}
