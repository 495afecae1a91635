#pragma once
// The localized texts of several languages, loaded once at start-up from
// "data/Tessavar_Strings.tbl". Code addresses a text by a 32-bit id found once
// from its key: the key's bucket (the CRC byte fold of its UTF-16 bytes with the
// terminator) in the top byte, its position in that bucket (file order) below.

#include "core/WString.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

constexpr const char* STRING_TABLE_PATH = "data/Tessavar_Strings.tbl";
constexpr size_t STRING_TABLE_BUCKETS = 256;
constexpr uint32_t STRING_TABLE_TYPED = 0xFFFFFFFFu; // first word of the typed form

struct SStringTableEntry
{
    CWString key;
    CWString text;
    CWString secondText; // typed tables only (a voice file for spoken lines)
    CWString fourth;     // type-3 tables only
};

class CStringTableLanguage
{
public:
    CWString m_name;
    std::vector<SStringTableEntry> m_buckets[STRING_TABLE_BUCKETS];
};

class CStringTable
{
public:
    // Reads the file through the file layer; false (and an empty table) when it
    // cannot be read, is malformed in any way, or holds no language (a game could
    // show no text from it).
    bool Load(const char* path);
    // A table of no language is valid here.
    bool LoadFromMemory(const uint8_t* bytes, size_t size);
    // Why the last load failed, as the end of a sentence that begins with the file's
    // name ("is missing ..."); empty after a load that worked.
    const char* GetLoadError() const { return m_loadError; }

    uint32_t GetLanguageCount() const { return static_cast<uint32_t>(m_languages.size()); }
    const CStringTableLanguage* GetLanguage(uint32_t index) const;
    // False, with the selection unchanged, for an index the table does not have.
    bool SelectLanguage(uint32_t index);
    // -1 before a language is selected.
    int GetLanguageIndex() const { return m_languageIndex; }

    // The key's id, always searched in language 0 (case-insensitive).
    bool FindId(const CWString& key, uint32_t& id) const;
    bool FindIdW(const char16_t* key, uint32_t& id) const;
    // The entry at the id's place in the selected language.
    bool GetText(uint32_t id, const CWString*& text) const;
    bool GetTexts(uint32_t id, const CWString*& text, const CWString*& secondText) const;

    static uint8_t GetKeyBucket(const CWString& key);
    static uint32_t MakeId(uint8_t bucket, uint32_t position) { return static_cast<uint32_t>(bucket) << 24 | position; }

private:
    const SStringTableEntry* FindEntry(uint32_t id) const;

    std::vector<std::unique_ptr<CStringTableLanguage>> m_languages;
    int m_languageIndex = -1;
    const char* m_loadError = "";
};

extern CStringTable* g_stringTable;

// Month names for file dates: the text of id through the global table.
bool LookUpStringTableText(uint32_t id, CWString& out);
