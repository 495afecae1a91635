#pragma once
// The 16-bit (UTF-16) string of all displayed text and data-tree values.
// Its length counts the terminator: 0 is the empty string with no buffer at all,
// 1 is an empty text that still has its terminator (as read from a count of 1).

#include <cstddef>
#include <cstdint>
#include <vector>

class CFileInterface;
class CQelMemoryReader;

class CWString
{
public:
    CWString() = default;
    explicit CWString(const char16_t* text) { AssignWide(text); }
    CWString(const CWString& other) = default;
    CWString(CWString&& other) noexcept = default;
    CWString& operator=(const CWString& other) = default;
    CWString& operator=(CWString&& other) noexcept = default;
    virtual ~CWString() = default;

    void Clear() { m_units.clear(); }

    // Each byte one unit, sign-extended (0x80..0xFF give 0xFF80..0xFFFF).
    void AssignNarrow(const char* text);
    void Assign(const CWString& other) { m_units = other.m_units; }
    void CopyFrom(const CWString& other) { m_units = other.m_units; }
    // Up to the terminator.
    void AssignWide(const char16_t* text);
    // Exactly n units, then a terminator (length n + 1).
    void AssignWideN(const char16_t* units, size_t n);

    // The result's length is the old length plus the appended units; appending to
    // an empty string assigns.
    void Append(const CWString& other);
    void AppendNarrow(const char* text);
    void AppendWide(const char16_t* text);
    void AppendWideN(const char16_t* units, size_t n);

    // Terminated copies into a buffer of size elements; units above 127 become
    // spaces in the 8-bit form. False when the string is empty.
    bool ToNarrow(char* buffer, size_t size) const;
    bool CopyTo(char16_t* buffer, size_t size) const;

    // On disk: a 32-bit unit count including the terminator, then the units.
    // A count that the file cannot hold is refused before anything is allocated;
    // any failure leaves the string empty.
    bool Read(CFileInterface& file);
    bool Write(CFileInterface& file) const;
    // The same form in memory, for readers of whole buffers.
    bool Read(CQelMemoryReader& reader);
    void AppendTo(std::vector<uint8_t>& bytes) const;

    // Equal lengths and equal units with a-z folded to A-Z.
    bool EqualsNoCase(const CWString& other) const;
    // Exact and case-sensitive against 8-bit text (compared widened).
    bool EqualsNarrow(const char* text) const;
    bool operator==(const CWString& other) const { return m_units == other.m_units; }
    bool operator!=(const CWString& other) const { return m_units != other.m_units; }

    // Units including the terminator; 0 when empty.
    uint32_t GetLength() const { return static_cast<uint32_t>(m_units.size()); }
    // Units before the terminator.
    size_t GetTextLength() const { return m_units.empty() ? 0 : m_units.size() - 1; }
    bool IsEmpty() const { return m_units.empty(); }
    // The terminated text, or null when empty.
    const char16_t* GetBuffer() const { return m_units.empty() ? nullptr : m_units.data(); }
    // The terminated text, "" when empty: for callers that only display it.
    const char16_t* GetText() const { return m_units.empty() ? u"" : m_units.data(); }

private:
    std::vector<char16_t> m_units;
};
