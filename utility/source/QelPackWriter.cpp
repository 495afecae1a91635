#include "utility/source/QelPackWriter.h"

#include "utility/source/QelCrc32.h"
#include "utility/source/QelPackArchive.h"

#include <cstring>

namespace
{
void Put16(uint8_t* at, uint32_t value)
{
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void Put32(uint8_t* at, uint32_t value)
{
    Put16(at, value);
    Put16(at + 2, value >> 16);
}
} // namespace

CPackArchiveWriter::~CPackArchiveWriter()
{
    Abandon();
}

bool CPackArchiveWriter::Open(const char* path)
{
    if (m_file.IsOpen() || !path)
        return false;
    m_inEntry = false;
    m_failed = false;
    m_entryCount = 0;
    return OpenFileByPath(m_file, path, FILE_OPEN_WRITE);
}

bool CPackArchiveWriter::Close()
{
    if (!m_file.IsOpen())
        return false;
    if (m_inEntry)
        EndEntry();
    if (m_failed)
    {
        m_file.Abandon();
        return false;
    }
    return m_file.Close();
}

void CPackArchiveWriter::Abandon()
{
    m_file.Abandon();
    m_inEntry = false;
}

bool CPackArchiveWriter::WriteHeader()
{
    uint8_t header[PACK_RECORD_HEADER_SIZE] = {};
    bool zip = m_signature == ESignature::Zip;
    std::memcpy(header, zip ? "PK\x03\x04" : "QUAR", 4);
    if (zip)
    {
        Put16(header + 4, 10);  // version needed: 1.0, stored
        Put32(header + 14, m_crc);
        Put32(header + 22, m_dataSize);
    }
    Put32(header + 18, m_dataSize);
    Put16(header + 26, static_cast<uint32_t>(m_name.size()));
    uint32_t written = 0;
    return m_file.Write(header, sizeof(header), &written) && written == sizeof(header);
}

bool CPackArchiveWriter::BeginEntry(const char* name)
{
    if (!m_file.IsOpen() || m_inEntry || m_failed || !name)
        return false;
    m_name = name;
    for (char& c : m_name)
        if (c == '\\')
            c = '/';
    if (m_name.empty() || m_name.size() > 0xFFFF)
        return false;
    m_dataSize = 0;
    m_crc = 0;
    uint32_t written = 0;
    if (!WriteHeader() || !m_file.Write(m_name.data(), static_cast<uint32_t>(m_name.size()), &written))
    {
        m_failed = true;
        return false;
    }
    m_inEntry = true;
    return true;
}

bool CPackArchiveWriter::WriteBytes(const void* data, uint32_t count)
{
    if (!m_inEntry || m_failed)
        return false;
    if (count > UINT32_MAX - m_dataSize)
    {
        m_failed = true;
        return false;
    }
    if (!m_file.Write(data, count, nullptr))
    {
        m_failed = true;
        return false;
    }
    m_dataSize += count;
    // Only ZIP headers carry the CRC; "QUAR" entries skip the work.
    if (m_signature == ESignature::Zip)
        m_crc = Crc32Update(m_crc, data, count);
    return true;
}

bool CPackArchiveWriter::WriteU32(uint32_t value)
{
    uint8_t bytes[4];
    Put32(bytes, value);
    return WriteBytes(bytes, sizeof(bytes));
}

bool CPackArchiveWriter::EndEntry()
{
    if (!m_inEntry)
        return false;
    m_inEntry = false;
    if (m_failed)
        return false;
    // Back to the entry's header to fill in its size, then on to the end again.
    int64_t back = static_cast<int64_t>(PACK_RECORD_HEADER_SIZE) + static_cast<int64_t>(m_name.size()) + m_dataSize;
    int64_t forward = back - PACK_RECORD_HEADER_SIZE;
    if (back > INT32_MAX || !m_file.Skip(static_cast<int32_t>(-back)) || !WriteHeader() ||
        !m_file.Skip(static_cast<int32_t>(forward)))
    {
        m_failed = true;
        return false;
    }
    ++m_entryCount;
    return true;
}

bool CPackArchiveWriter::WriteEntry(const char* name, const void* data, uint32_t count)
{
    return BeginEntry(name) && WriteBytes(data, count) && EndEntry();
}
