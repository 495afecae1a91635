#include "tests/support/core/StringTableFixture.h"

#include "core/StringTableSource.h"
#include "core/StringTableWriter.h"

#include <memory>
#include <vector>

bool LoadStringTableSource(const std::string& source, CStringTable& table, std::string& error)
{
    CStringTableSource parsed;
    std::vector<std::unique_ptr<CStringTableLanguage>> languages;
    if (!parsed.Parse(source, error) || !parsed.Build(languages, error))
        return false;
    std::vector<const CStringTableLanguage*> list;
    for (const auto& language : languages)
        list.push_back(language.get());
    std::vector<uint8_t> bytes = EncodeStringTable(list, parsed.HasSecondTexts() ? 2 : 1);
    if (!table.LoadFromMemory(bytes.data(), bytes.size()) || !table.SelectLanguage(0))
    {
        error = "the compiled table did not load";
        return false;
    }
    return true;
}
