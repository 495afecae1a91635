#include "utility/source/QelMemoryFile.h"

#include <algorithm>
#include <cstring>

bool CQelMemoryFile::Write(const void* buffer, uint32_t count, uint32_t* written)
{
    if (written)
        *written = 0;
    if (!buffer && count > 0)
        return false;
    if (m_position + count > m_bytes.size())
        m_bytes.resize(m_position + count);
    if (count > 0)
        std::memcpy(m_bytes.data() + m_position, buffer, count);
    m_position += count;
    if (written)
        *written = count;
    return true;
}

bool CQelMemoryFile::Read(void* buffer, uint32_t count, uint32_t* read)
{
    if (read)
        *read = 0;
    if (!buffer && count > 0)
        return false;
    const size_t taken = std::min<size_t>(count, GetRemaining());
    if (taken > 0)
        std::memcpy(buffer, m_bytes.data() + m_position, taken);
    m_position += taken;
    if (read)
        *read = static_cast<uint32_t>(taken);
    return true;
}

bool CQelMemoryFile::Rewind()
{
    m_position = 0;
    return true;
}

bool CQelMemoryFile::Skip(int32_t distance)
{
    const int64_t target = static_cast<int64_t>(m_position) + distance;
    if (target < 0 || target > static_cast<int64_t>(m_bytes.size()))
        return false;
    m_position = static_cast<size_t>(target);
    return true;
}
