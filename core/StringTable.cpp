#include "core/StringTable.h"

#include "core/FileBytes.h"
#include "utility/source/QelCrc32.h"
#include "utility/source/QelMemoryReader.h"
#include "utility/source/QelPathResolve.h"

#include <unistd.h>

CStringTable* g_stringTable = nullptr;

namespace
{
// type 1: key and text; 2: and a second text; 3: and a fourth string.
bool ReadLanguage(CQelMemoryReader& reader, uint32_t type, CStringTableLanguage& language)
{
    if (!language.m_name.Read(reader))
        return false;
    for (size_t group = 0; group < STRING_TABLE_BUCKETS; ++group)
    {
        uint32_t count = 0;
        if (!reader.ReadU32(count))
            return false;
        for (uint32_t i = 0; i < count; ++i)
        {
            SStringTableEntry entry;
            if (!entry.key.Read(reader) || !entry.text.Read(reader))
                return false;
            if (type >= 2 && !entry.secondText.Read(reader))
                return false;
            if (type == 3 && !entry.fourth.Read(reader))
                return false;
            // The bucket comes from the key, not from the group it was stored in.
            language.m_buckets[CStringTable::GetKeyBucket(entry.key)].push_back(std::move(entry));
        }
    }
    return true;
}
} // namespace

uint8_t CStringTable::GetKeyBucket(const CWString& key)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(key.GetLength() * 2);
    for (uint32_t i = 0; i < key.GetLength(); ++i)
    {
        char16_t unit = key.GetBuffer()[i];
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return Crc32FoldByte(bytes.data(), bytes.size());
}

bool CStringTable::Load(const char* path)
{
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, bytes))
    {
        m_languages.clear();
        m_languageIndex = -1;
        bool onDisk = path && access(ResolvePathNoCase(path).c_str(), F_OK) == 0;
        m_loadError = onDisk ? "cannot be read" : "is missing from the program folder and its packs";
        return false;
    }
    if (!LoadFromMemory(bytes.data(), bytes.size()))
        return false;
    if (m_languages.empty())
    {
        m_loadError = "holds no language";
        return false;
    }
    return true;
}

bool CStringTable::LoadFromMemory(const uint8_t* bytes, size_t size)
{
    m_languages.clear();
    m_languageIndex = -1;
    m_loadError = "is damaged: it ends before its header";
    CQelMemoryReader reader;
    reader.Open(bytes, size);
    uint32_t first = 0;
    if (!reader.ReadU32(first))
        return false;
    uint32_t type = 1;
    uint32_t languageCount = first;
    if (first == STRING_TABLE_TYPED)
    {
        if (!reader.ReadU32(type) || (type != 2 && type != 3) || !reader.ReadU32(languageCount))
        {
            m_loadError = "is damaged: its header names no known form of table";
            return false;
        }
    }
    for (uint32_t i = 0; i < languageCount; ++i)
    {
        auto language = std::make_unique<CStringTableLanguage>();
        if (!ReadLanguage(reader, type, *language))
        {
            m_languages.clear();
            m_loadError = "is damaged: a text or count runs past the end of the file";
            return false;
        }
        m_languages.push_back(std::move(language));
    }
    m_loadError = "";
    return true;
}

const CStringTableLanguage* CStringTable::GetLanguage(uint32_t index) const
{
    return index < m_languages.size() ? m_languages[index].get() : nullptr;
}

bool CStringTable::SelectLanguage(uint32_t index)
{
    if (index >= m_languages.size())
        return false;
    m_languageIndex = static_cast<int>(index);
    return true;
}

bool CStringTable::FindId(const CWString& key, uint32_t& id) const
{
    if (m_languages.empty())
        return false;
    // The bucket hashes the key as written, so a key in other letter case usually
    // lands elsewhere: its own bucket first, then every other one.
    uint8_t home = GetKeyBucket(key);
    for (size_t step = 0; step < STRING_TABLE_BUCKETS; ++step)
    {
        uint8_t bucket = static_cast<uint8_t>(home + step);
        const std::vector<SStringTableEntry>& entries = m_languages.front()->m_buckets[bucket];
        for (size_t position = 0; position < entries.size(); ++position)
        {
            if (entries[position].key.EqualsNoCase(key))
            {
                id = MakeId(bucket, static_cast<uint32_t>(position));
                return true;
            }
        }
    }
    return false;
}

bool CStringTable::FindIdW(const char16_t* key, uint32_t& id) const
{
    return FindId(CWString(key), id);
}

const SStringTableEntry* CStringTable::FindEntry(uint32_t id) const
{
    if (m_languageIndex < 0)
        return nullptr;
    const std::vector<SStringTableEntry>& entries = m_languages[static_cast<size_t>(m_languageIndex)]->m_buckets[id >> 24];
    uint32_t position = id & 0xFFFFFFu;
    return position < entries.size() ? &entries[position] : nullptr;
}

bool CStringTable::GetText(uint32_t id, const CWString*& text) const
{
    const SStringTableEntry* entry = FindEntry(id);
    if (!entry)
        return false;
    text = &entry->text;
    return true;
}

bool CStringTable::GetTexts(uint32_t id, const CWString*& text, const CWString*& secondText) const
{
    const SStringTableEntry* entry = FindEntry(id);
    if (!entry)
        return false;
    text = &entry->text;
    secondText = &entry->secondText;
    return true;
}

bool LookUpStringTableText(uint32_t id, CWString& out)
{
    const CWString* text = nullptr;
    if (!g_stringTable || !g_stringTable->GetText(id, text))
        return false;
    out = *text;
    return true;
}
