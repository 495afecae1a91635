// tesstool strings: makes the game's string table from our own source and shows
// what the game's reader finds in a table.
//   strings build SRC OUT     compiles a UTF-8 source into a table
//   strings get TBL ID|KEY    the text at a fixed id (0x...) or of a key, language 0
//   strings dump TBL          every entry of every language with its id

#include "core/FileBytes.h"
#include "core/StringTable.h"
#include "core/StringTableSource.h"
#include "core/StringTableWriter.h"
#include "core/Utf8Text.h"
#include "tools/tesstool/ToolCommand.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace
{
std::string Printable(const CWString& text)
{
    std::string out;
    for (char c : Utf16ToUtf8(std::u16string(text.GetText())))
        out += c == '\n' ? std::string("\\n") : std::string(1, c);
    return out;
}

int Build(const std::string& sourcePath, const std::string& outPath)
{
    std::ifstream in(sourcePath, std::ios::binary);
    if (!in)
    {
        std::fprintf(stderr, "tesstool strings: cannot read %s\n", sourcePath.c_str());
        return 1;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    CStringTableSource source;
    std::vector<std::unique_ptr<CStringTableLanguage>> languages;
    std::string error;
    if (!source.Parse(text, error) || !source.Build(languages, error))
    {
        std::fprintf(stderr, "%s: %s\n", sourcePath.c_str(), error.c_str());
        return 1;
    }
    std::vector<const CStringTableLanguage*> views;
    for (const auto& language : languages)
        views.push_back(language.get());
    if (!WriteFileBytes(outPath.c_str(), EncodeStringTable(views, source.HasSecondTexts() ? 2 : 1)))
    {
        std::fprintf(stderr, "tesstool strings: cannot write %s\n", outPath.c_str());
        return 1;
    }
    return 0;
}

bool Load(const std::string& path, CStringTable& table)
{
    if (table.Load(path.c_str()))
        return true;
    std::fprintf(stderr, "tesstool strings: %s is missing or not a string table\n", path.c_str());
    return false;
}

int Get(const std::string& path, const std::string& what)
{
    CStringTable table;
    if (!Load(path, table) || !table.SelectLanguage(0))
        return 1;
    uint32_t id = 0;
    if (what.compare(0, 2, "0x") == 0 || what.compare(0, 2, "0X") == 0)
    {
        char* end = nullptr;
        unsigned long value = std::strtoul(what.c_str() + 2, &end, 16);
        if (*end != '\0' || value > 0xFFFFFFFFul)
        {
            std::fprintf(stderr, "tesstool strings: bad id %s\n", what.c_str());
            return 2;
        }
        id = static_cast<uint32_t>(value);
    }
    else
    {
        std::u16string key;
        if (!Utf8ToUtf16(what, key) || !table.FindIdW(key.c_str(), id))
        {
            std::fprintf(stderr, "tesstool strings: no key %s\n", what.c_str());
            return 1;
        }
    }
    const CWString* text = nullptr;
    if (!table.GetText(id, text))
    {
        std::fprintf(stderr, "tesstool strings: no text at 0x%08x\n", id);
        return 1;
    }
    std::printf("%s\n", Utf16ToUtf8(text->GetText()).c_str());
    return 0;
}

int Dump(const std::string& path)
{
    CStringTable table;
    if (!Load(path, table))
        return 1;
    for (uint32_t l = 0; l < table.GetLanguageCount(); ++l)
    {
        const CStringTableLanguage* language = table.GetLanguage(l);
        std::printf("[%s]\n", Printable(language->m_name).c_str());
        for (size_t bucket = 0; bucket < STRING_TABLE_BUCKETS; ++bucket)
        {
            const std::vector<SStringTableEntry>& entries = language->m_buckets[bucket];
            for (size_t position = 0; position < entries.size(); ++position)
            {
                const SStringTableEntry& entry = entries[position];
                std::printf("0x%08x\t%s\t%s", CStringTable::MakeId(static_cast<uint8_t>(bucket), static_cast<uint32_t>(position)),
                            Printable(entry.key).c_str(), Printable(entry.text).c_str());
                if (!entry.secondText.IsEmpty())
                    std::printf("\t| %s", Printable(entry.secondText).c_str());
                std::printf("\n");
            }
        }
    }
    return 0;
}

int Run(const std::vector<std::string>& args)
{
    if (args.size() == 3 && args[0] == "build")
        return Build(args[1], args[2]);
    if (args.size() == 3 && args[0] == "get")
        return Get(args[1], args[2]);
    if (args.size() == 2 && args[0] == "dump")
        return Dump(args[1]);
    std::fprintf(stderr, "usage: tesstool strings build SRC OUT | get TBL ID|KEY | dump TBL\n");
    return 2;
}

CToolCommand s_strings("strings", "build SRC OUT | get TBL ID|KEY | dump TBL", &Run);
} // namespace
