#include "presentation/FontGlyphTable.h"

#include <cstdio>

namespace
{
class CNumberReader
{
public:
    CNumberReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    // The next decimal integer with an optional sign; false at the end or on any
    // other character. Values beyond 32 bits fail instead of wrapping.
    bool Next(int64_t& value)
    {
        while (m_at < m_size && IsBlank(m_data[m_at]))
            ++m_at;
        if (m_at >= m_size)
            return false;
        bool negative = false;
        if (m_data[m_at] == '-' || m_data[m_at] == '+')
            negative = m_data[m_at++] == '-';
        size_t digits = 0;
        int64_t magnitude = 0;
        while (m_at < m_size && m_data[m_at] >= '0' && m_data[m_at] <= '9')
        {
            magnitude = magnitude * 10 + (m_data[m_at++] - '0');
            if (magnitude > INT32_MAX + 1ll)
                return false;
            ++digits;
        }
        if (digits == 0 || (m_at < m_size && !IsBlank(m_data[m_at]) && m_data[m_at] != 0))
            return false;
        value = negative ? -magnitude : magnitude;
        return value >= INT32_MIN && value <= INT32_MAX;
    }

    size_t GetRemaining() const { return m_size - m_at; }

private:
    static bool IsBlank(uint8_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

bool Fail(std::string& reason, const char* text, uint32_t record)
{
    char buffer[96];
    std::snprintf(buffer, sizeof(buffer), "%s (record %u)", text, record);
    reason = buffer;
    return false;
}
} // namespace

bool ParseGlyphTable(const uint8_t* data, size_t size, std::vector<SFontGlyphRecord>& records, std::string& reason)
{
    records.clear();
    CNumberReader reader(data, data ? size : 0);
    int64_t count = 0;
    if (!reader.Next(count) || count < 0)
    {
        reason = "no glyph count";
        return false;
    }
    // Seven numbers and their separators take at least 14 bytes a record.
    if (count > int64_t(FONT_MAX_GLYPHS) || uint64_t(count) * 14 > reader.GetRemaining() + 1)
    {
        reason = "glyph count larger than the file holds";
        return false;
    }
    records.reserve(size_t(count));
    for (uint32_t i = 0; i < uint32_t(count); ++i)
    {
        int64_t field[7];
        for (int64_t& value : field)
            if (!reader.Next(value))
                return Fail(reason, "glyph record cut short", i);
        SFontGlyphRecord record;
        record.code = int32_t(field[0]);
        record.page = int32_t(field[1]);
        record.x = int32_t(field[2]);
        record.y = int32_t(field[3]);
        record.width = int32_t(field[4]);
        record.height = int32_t(field[5]);
        record.advance = int32_t(field[6]);
        if (record.page < 0 || record.x < 0 || record.y < 0 || record.width < 0 || record.height < 0)
            return Fail(reason, "negative page, position or size", i);
        if (record.code < 0 || record.code > 0xFFFF)
            continue;
        records.push_back(record);
    }
    return true;
}
