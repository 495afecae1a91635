#include "core/WString.h"

#include "core/TextRoutines.h"
#include "utility/source/QelFile.h"
#include "utility/source/QelMemoryReader.h"

#include <cstring>

void CWString::AssignNarrow(const char* text)
{
    m_units.clear();
    AppendNarrow(text);
}

void CWString::AssignWide(const char16_t* text)
{
    AssignWideN(text, WideLength(text));
}

void CWString::AssignWideN(const char16_t* units, size_t n)
{
    m_units.assign(units, units + n);
    m_units.push_back(0);
}

void CWString::Append(const CWString& other)
{
    if (!other.IsEmpty())
        AppendWideN(other.m_units.data(), other.GetTextLength());
}

void CWString::AppendNarrow(const char* text)
{
    if (m_units.empty())
        m_units.push_back(0);
    m_units.pop_back();
    for (; *text != 0; ++text)
        m_units.push_back(WidenChar(*text));
    m_units.push_back(0);
}

void CWString::AppendWide(const char16_t* text)
{
    AppendWideN(text, WideLength(text));
}

void CWString::AppendWideN(const char16_t* units, size_t n)
{
    if (m_units.empty())
        m_units.push_back(0);
    m_units.pop_back();
    m_units.insert(m_units.end(), units, units + n);
    m_units.push_back(0);
}

bool CWString::ToNarrow(char* buffer, size_t size) const
{
    if (IsEmpty() || size == 0)
        return false;
    NarrowText(m_units.data(), buffer, size);
    return true;
}

bool CWString::CopyTo(char16_t* buffer, size_t size) const
{
    if (IsEmpty() || size == 0)
        return false;
    CopyWide(buffer, size, m_units.data());
    return true;
}

bool CWString::Read(CQelMemoryReader& reader)
{
    m_units.clear();
    uint32_t count = 0;
    const uint8_t* units = nullptr;
    if (!reader.ReadU32(count) || count > reader.GetRemaining() / 2 ||
        !reader.ReadInPlace(static_cast<size_t>(count) * 2, units))
        return false;
    m_units.resize(count);
    for (uint32_t i = 0; i < count; ++i)
        m_units[i] = static_cast<char16_t>(units[2 * i] | units[2 * i + 1] << 8);
    // The text always ends at its last unit, whatever the file held there.
    if (count > 0)
        m_units[count - 1] = 0;
    return true;
}

bool CWString::Read(CFileInterface& file)
{
    m_units.clear();
    uint32_t count = 0;
    if (!file.ReadU32(count))
        return false;
    // Read in slices, so a count that the file cannot hold fails at its end
    // instead of allocating what it claims.
    constexpr uint32_t SLICE = 4096;
    std::vector<char16_t> units;
    uint8_t bytes[SLICE * 2];
    for (uint32_t done = 0; done < count;)
    {
        uint32_t slice = count - done < SLICE ? count - done : SLICE;
        uint32_t got = 0;
        if (!file.Read(bytes, slice * 2, &got) || got != slice * 2)
            return false;
        for (uint32_t i = 0; i < slice; ++i)
            units.push_back(static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8));
        done += slice;
    }
    if (!units.empty())
        units.back() = 0;
    m_units.swap(units);
    return true;
}

bool CWString::Write(CFileInterface& file) const
{
    std::vector<uint8_t> bytes;
    AppendTo(bytes);
    uint32_t written = 0;
    return file.Write(bytes.data(), static_cast<uint32_t>(bytes.size()), &written) && written == bytes.size();
}

void CWString::AppendTo(std::vector<uint8_t>& bytes) const
{
    uint32_t count = GetLength();
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<uint8_t>(count >> shift));
    for (char16_t unit : m_units)
    {
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
}

bool CWString::EqualsNoCase(const CWString& other) const
{
    if (m_units.size() != other.m_units.size())
        return false;
    for (size_t i = 0; i < m_units.size(); ++i)
        if (FoldUnit(m_units[i]) != FoldUnit(other.m_units[i]))
            return false;
    return true;
}

bool CWString::EqualsNarrow(const char* text) const
{
    size_t length = std::strlen(text);
    if (m_units.size() != length + 1)
        return false;
    for (size_t i = 0; i < length; ++i)
        if (m_units[i] != WidenChar(text[i]))
            return false;
    return true;
}
