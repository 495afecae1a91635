// The string table in both file forms: loading, then every language selected
// and every key of language 0 looked up again by its text.

#include "core/StringTable.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CStringTable table;
    if (!table.LoadFromMemory(data, size))
        return 0;
    const CStringTableLanguage* first = table.GetLanguage(0);
    for (uint32_t language = 0; language < table.GetLanguageCount(); ++language)
    {
        if (!table.SelectLanguage(language))
            std::abort();
        if (!first)
            continue;
        for (const auto& bucket : first->m_buckets)
        {
            for (const SStringTableEntry& entry : bucket)
            {
                uint32_t id = 0;
                const CWString* text = nullptr;
                const CWString* second = nullptr;
                if (table.FindId(entry.key, id))
                    table.GetTexts(id, text, second);
            }
        }
    }
    table.SelectLanguage(table.GetLanguageCount());
    return 0;
}
