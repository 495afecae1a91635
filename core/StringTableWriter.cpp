#include "core/StringTableWriter.h"

namespace
{
void PutU32(std::vector<uint8_t>& bytes, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<uint8_t>(value >> shift));
}
} // namespace

std::vector<uint8_t> EncodeStringTable(const std::vector<const CStringTableLanguage*>& languages, uint32_t type)
{
    std::vector<uint8_t> bytes;
    if (type != 1)
    {
        PutU32(bytes, STRING_TABLE_TYPED);
        PutU32(bytes, type);
    }
    PutU32(bytes, static_cast<uint32_t>(languages.size()));
    for (const CStringTableLanguage* language : languages)
    {
        language->m_name.AppendTo(bytes);
        for (const std::vector<SStringTableEntry>& bucket : language->m_buckets)
        {
            PutU32(bytes, static_cast<uint32_t>(bucket.size()));
            for (const SStringTableEntry& entry : bucket)
            {
                entry.key.AppendTo(bytes);
                entry.text.AppendTo(bytes);
                if (type >= 2)
                    entry.secondText.AppendTo(bytes);
                if (type == 3)
                    entry.fourth.AppendTo(bytes);
            }
        }
    }
    return bytes;
}
